#include "lighting/PerLedEffects.h"

#include <algorithm>
#include <utility>

#include "lighting/LightEffectCodes.h"
#include "lighting/LightEffectState.h"
#include "lighting/LightMath.h"
#include "lighting/LightSteps.h"
#include "lighting/LightTables.h"

namespace ostrel {
namespace {

enum Mode : std::uint8_t { kBreathing = 0, kStatic = 1, kFlash = 2, kWheel = 3, kOff = 4 };

Rgb ColourOf(const LightListEntry& entry, std::uint8_t wheelIndex) {
  if (entry.ledMultiColor) return kColourWheel[wheelIndex];
  return {entry.red, entry.green, entry.blue};
}

std::uint8_t WrapWheel(int index) { return static_cast<std::uint8_t>(index % 192); }

}  // namespace

void PerLedEffects::SetList(std::vector<LightListEntry> list, std::int64_t nowMs) {
  list_ = std::move(list);
  states_.assign(list_.size(), LedState{0, 0, 0, 0, kLongAgoMs});
  lastPassMs_ = nowMs;
}

std::int64_t PerLedEffects::Run(std::span<LedColour> leds, std::int64_t nowMs) {
  const std::int64_t passes = std::max<std::int64_t>((nowMs - lastPassMs_) / kTickMs, 0);
  lastPassMs_ += passes * kTickMs;
  std::int64_t due = kNeverDue;
  const std::size_t n = std::min(list_.size(), leds.size());
  for (std::size_t i = 0; i < n; ++i) {
    const LightListEntry& e = list_[i];
    LedState& s = states_[i];
    const int speed = LightEffectCodes::ClampLevel(e.ledSpeed);
    const std::uint8_t bright = LightSteps::Bright(e.ledBrightness);
    switch (e.ledRegMode) {
      case kBreathing: {
        if (!e.present) break;
        // The phase moves by speed + 4 a pass and restarts at 0 from 128 on:
        // a cycle of `states` positions, counted here for all passes at once.
        const int step = speed + 4;
        const int states = 127 / step + 1;
        const std::int64_t position = s.phase / step + passes;
        s.phase = static_cast<std::uint8_t>((position % states) * step);
        s.wheelIndex = WrapWheel(static_cast<int>((s.wheelIndex + position / states) % 192));
        leds[i] = LightSteps::Entry(ColourOf(e, s.wheelIndex), Scale(bright, kBreathingCurve[s.phase]));
        due = std::min(due, nowMs + kRefreshMs);
        break;
      }
      case kStatic:
        leds[i] = LightSteps::Entry({e.red, e.green, e.blue}, bright);
        break;
      case kFlash: {
        const std::int64_t flashMs = LightSteps::FlashTimeMs(speed, kFlashToggleUnitMs);
        if (nowMs - s.lastToggleMs >= flashMs) {
          s.toggle = s.toggle ? 0 : 1;
          s.lastToggleMs = nowMs;
          s.wheelIndex = LightSteps::NextWheelIndex(s.wheelIndex, 14);
        }
        leds[i] = s.toggle ? LightSteps::Entry(ColourOf(e, s.wheelIndex), bright) : LedColour{};
        due = std::min(due, s.lastToggleMs + flashMs);
        break;
      }
      case kWheel: {
        if (!e.present) break;
        const int threshold = kSlowTimingRow[speed];
        const std::int64_t count = s.counter + passes;
        s.counter = static_cast<std::uint8_t>(count % threshold);
        s.wheelIndex = WrapWheel(static_cast<int>((s.wheelIndex + count / threshold) % 192));
        leds[i] = LightSteps::Entry(kColourWheel[s.wheelIndex], bright);
        due = std::min(due, nowMs + kRefreshMs);
        break;
      }
      case kOff:
        leds[i] = {};
        break;
      default:
        break;  // no own mode: the step's result stays
    }
  }
  return due;
}

}  // namespace ostrel
