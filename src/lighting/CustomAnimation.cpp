#include "lighting/CustomAnimation.h"

#include <algorithm>
#include <utility>

#include "lighting/LightEffectCodes.h"
#include "lighting/LightEffectState.h"
#include "lighting/LightMath.h"
#include "lighting/LightSteps.h"
#include "lighting/LightTables.h"

namespace ostrel {
namespace {

enum StepType : std::uint8_t { kBreathing = 0, kStatic = 1, kFlash = 2, kWave = 4, kWheel = 5 };

// Passes between two frames of a step type; 0 for types drawn on time only
// (flash) or never.
int ThresholdPasses(const LightEffectStep& step) {
  const int s = LightEffectCodes::ClampLevel(step.ledSpeed);
  switch (step.ledRegMode) {
    case kBreathing:
    case kStatic:
    case kWave:
      return kSlowTimingRow[s];
    case kWheel:
      return kFastTimingRow[s];
    default:
      return 0;
  }
}

std::uint8_t PhaseLimit(const LightEffectStep& step) {
  return step.ledRegMode == kBreathing || step.ledRegMode == kFlash ? 128 : 192;
}

std::int64_t DurationMs(const LightEffectStep& step) { return std::max<std::int64_t>(step.time, kTickMs); }

}  // namespace

void CustomAnimation::SetSteps(std::vector<LightEffectStep> steps) {
  steps_ = std::move(steps);
  started_ = false;
}

std::int64_t CustomAnimation::Run(LightEffectState& state, int pageSpeed, std::int64_t nowMs) {
  if (steps_.empty()) {
    LightSteps::StepOff(state);
    return kNeverDue;
  }
  if (!started_) {
    started_ = true;
    index_ = 0;
    passCounter_ = 0;
    phase_ = 0;
    lastPassMs_ = nowMs;
    stepBeginMs_ = nowMs;
    Draw(state, steps_[0], pageSpeed, nowMs);
    return NextDue(state, pageSpeed);
  }
  if (index_ >= steps_.size()) index_ = 0;
  const LightEffectStep& step = steps_[index_];
  const std::int64_t passes = (nowMs - lastPassMs_) / kTickMs;
  lastPassMs_ += passes * kTickMs;
  const int threshold = ThresholdPasses(step);
  if (step.ledRegMode == kFlash) {
    Draw(state, step, pageSpeed, nowMs);
  } else if (threshold > 0 && passes > 0) {
    passCounter_ += static_cast<int>(std::min<std::int64_t>(passes, 1 << 20));
    if (passCounter_ >= threshold) {
      const int advance = passCounter_ / threshold;
      passCounter_ %= threshold;
      const std::uint8_t limit = PhaseLimit(step);
      phase_ = static_cast<std::uint8_t>((phase_ + advance) % limit);
      Draw(state, step, pageSpeed, nowMs);
    }
  }
  if (nowMs - stepBeginMs_ >= DurationMs(step)) {
    index_ = (index_ + 1) % steps_.size();
    stepBeginMs_ = nowMs;
    passCounter_ = 0;
  }
  return NextDue(state, pageSpeed);
}

std::int64_t CustomAnimation::NextDue(const LightEffectState& state, int pageSpeed) const {
  const LightEffectStep& step = steps_[index_];
  std::int64_t due = stepBeginMs_ + DurationMs(step);
  const int threshold = ThresholdPasses(step);
  if (step.ledRegMode == kFlash)
    due = std::min(due, state.lastToggleMs + LightSteps::FlashTimeMs(pageSpeed, kFlashToggleUnitMs));
  else if (threshold > 0)
    due = std::min(due, lastPassMs_ + static_cast<std::int64_t>(threshold - passCounter_) * kTickMs);
  return due;
}

void CustomAnimation::Draw(LightEffectState& state, const LightEffectStep& step, int pageSpeed,
                           std::int64_t nowMs) {
  const std::uint8_t bright = LightSteps::Bright(step.ledBrightness);
  const Rgb fixed{step.red, step.green, step.blue};
  auto leds = state.Leds();
  switch (step.ledRegMode) {
    case kBreathing: {
      if (phase_ == 0 && step.ledMultiColor)
        state.colourIndex = LightSteps::NextWheelIndex(state.colourIndex, 16);
      const Rgb colour = step.ledMultiColor ? kColourWheel[state.colourIndex] : fixed;
      state.FillAll(LightSteps::Entry(colour, Scale(bright, kBreathingCurve[phase_ & 127])));
      break;
    }
    case kStatic:
      state.FillAll(LightSteps::Entry(fixed, bright));
      break;
    case kFlash: {
      if (nowMs - state.lastToggleMs >= LightSteps::FlashTimeMs(pageSpeed, kFlashToggleUnitMs)) {
        state.toggle = state.toggle ? 0 : 1;
        state.lastToggleMs = nowMs;
        state.colourIndex = LightSteps::NextWheelIndex(state.colourIndex, 16);
      }
      const Rgb colour = step.ledMultiColor ? kColourWheel[state.colourIndex] : fixed;
      state.FillAll(state.toggle ? LightSteps::Entry(colour, bright) : LedColour{});
      break;
    }
    case kWave: {
      const int p = phase_ % 192;
      const int start = step.ledDirection ? 191 - p : p + 1;
      for (std::size_t i = 0; i < leds.size(); ++i) {
        const int n = static_cast<int>(i);
        if (step.ledMultiColor)
          leds[i] = LightSteps::Entry(kColourWheel[(start + 12 * n) % 192], bright);
        else
          leds[i] = LightSteps::Entry(fixed, Scale(bright, kWaveCurve[(start + 12 * (n + 1)) % 96]));
      }
      break;
    }
    case kWheel:
      state.FillAll(LightSteps::Entry(kColourWheel[phase_ % 192], bright));
      break;
    default:
      break;  // other types draw nothing
  }
}

}  // namespace ostrel
