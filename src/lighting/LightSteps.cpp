#include "lighting/LightSteps.h"

#include <array>

#include "devicelink/DeviceProtocol.h"
#include "lighting/LightEffectCodes.h"
#include "lighting/LightEffectState.h"
#include "lighting/LightMath.h"
#include "lighting/LightTables.h"

namespace ostrel {
namespace {

// Mouse running ring: nine groups of up to three LEDs (255 ends a group).
constexpr std::array<std::array<std::uint8_t, 3>, 9> kMouseRingGroups = {{{0, 18, 255},
                                                                          {1, 17, 255},
                                                                          {2, 16, 255},
                                                                          {3, 15, 255},
                                                                          {4, 14, 255},
                                                                          {5, 13, 255},
                                                                          {6, 12, 255},
                                                                          {7, 9, 11},
                                                                          {8, 9, 10}}};
// Mouse pad and headset running ring: seven pairs.
constexpr std::array<std::array<std::uint8_t, 3>, 7> kPadRingGroups = {
    {{1, 14, 255}, {2, 13, 255}, {3, 12, 255}, {4, 11, 255}, {5, 10, 255}, {6, 9, 255}, {7, 8, 255}}};

Rgb WheelAt(std::uint8_t index) { return kColourWheel[index]; }

}  // namespace

std::uint8_t LightSteps::Bright(int level) { return kBrightnessTable[LightEffectCodes::ClampLevel(level)]; }

std::int64_t LightSteps::FlashTimeMs(int speed, int unitMs) {
  return static_cast<std::int64_t>(kSlowTimingRow[LightEffectCodes::ClampLevel(speed)]) * unitMs;
}

std::uint8_t LightSteps::NextWheelIndex(std::uint8_t index, int by) {
  const int next = index + by;
  return next >= 192 ? 0 : static_cast<std::uint8_t>(next);
}

std::uint8_t LightSteps::NextFourIndex(std::uint8_t index) {
  // The colour index is shared with the wheel steps, so it may arrive here
  // far past the four colours.
  return index >= 3 ? 0 : static_cast<std::uint8_t>(index + 1);
}

void LightSteps::StepBreathing(LightEffectState& state, const LightSetting& setting) {
  state.phase = StepPhase(setting.fx, 128, state.phase, 1);
  if (state.phase == 0) state.colourIndex = NextWheelIndex(state.colourIndex, 16);
  const Rgb colour = setting.multiColor ? WheelAt(state.colourIndex) : FixedColour(setting);
  state.FillAll(Entry(colour, Scale(kBreathingCurve[state.phase & 127], Bright(setting.light))));
}

void LightSteps::StepBreathingFour(LightEffectState& state, const LightSetting& setting) {
  if (state.colourIndex > 3) state.colourIndex = 0;
  state.phase = StepPhase(setting.fx, 128, state.phase, 1);
  if (state.phase == 0) state.colourIndex = NextFourIndex(state.colourIndex);
  state.FillAll(Entry(kFourColours[state.colourIndex],
                      Scale(kBreathingCurve[state.phase & 127], Bright(setting.light))));
}

void LightSteps::StepStatic(LightEffectState& state, const LightSetting& setting) {
  state.FillAll(Entry(FixedColour(setting), Bright(setting.light)));
}

void LightSteps::StepSpectrum(LightEffectState& state, const LightSetting& setting) {
  state.phase = StepPhase(setting.fx, 192, state.phase, 1);
  state.FillAll(Entry(WheelAt(state.phase), Bright(setting.light)));
}

void LightSteps::StepFlash(LightEffectState& state, const LightSetting& setting, std::int64_t nowMs) {
  if (nowMs - state.lastToggleMs >= FlashTimeMs(setting.speed, kFlashToggleUnitMs)) {
    state.toggle = state.toggle ? 0 : 1;
    state.lastToggleMs = nowMs;
    state.colourIndex = NextWheelIndex(state.colourIndex, 16);
  }
  if (!state.toggle) return state.FillAll({});
  const Rgb colour = setting.multiColor ? WheelAt(state.colourIndex) : FixedColour(setting);
  state.FillAll(Entry(colour, Bright(setting.light)));
}

void LightSteps::StepFlashFour(LightEffectState& state, const LightSetting& setting, std::int64_t nowMs) {
  if (state.colourIndex > 3) state.colourIndex = 0;
  if (nowMs - state.lastToggleMs >= FlashTimeMs(setting.speed, kFlashToggleUnitMs)) {
    state.toggle = state.toggle ? 0 : 1;
    state.lastToggleMs = nowMs;
    state.colourIndex = NextFourIndex(state.colourIndex);
  }
  if (!state.toggle) return state.FillAll({});
  state.FillAll(Entry(kFourColours[state.colourIndex], Bright(setting.light)));
}

void LightSteps::StepOff(LightEffectState& state) { state.FillAll({}); }

void LightSteps::StepWave(LightEffectState& state, const LightSetting& setting, int deviceType) {
  const bool headset = deviceType == kDeviceHeadset;
  const std::uint8_t bright = Bright(setting.light);
  auto leds = state.Leds();
  if (setting.multiColor) {
    state.phase = StepPhase(setting.fx, 192, state.phase, 1);
    const int start = state.phase + 1;
    const int offset = headset ? 16 : 7;
    for (std::size_t i = 0; i < leds.size(); ++i)
      leds[i] =
          Entry(WheelAt(static_cast<std::uint8_t>((start + static_cast<int>(i) * offset) % 192)), bright);
    return;
  }
  state.phase = StepPhase(setting.fx, 96, state.phase, headset ? 3 : 1);
  // A phase left over from a wheel effect may lie past the wave curve.
  if (state.phase >= 96) state.phase = 0;
  const int start = headset ? state.phase : state.phase + 1;
  const int offset = headset ? 10 : 7;
  const Rgb colour = FixedColour(setting);
  for (std::size_t i = 0; i < leds.size(); ++i)
    leds[i] = Entry(colour, Scale(bright, kWaveCurve[(start + static_cast<int>(i) * offset) % 96]));
}

void LightSteps::SeedRing(LightEffectState& state) {
  for (std::uint8_t b : state.ring)
    if (b != 0) return;
  state.ring[0] = 1;
}

void LightSteps::StepRing(LightEffectState& state, const LightSetting& setting) {
  state.phase = StepPhase(setting.fx, 192, state.phase, 1);
  const int count = state.LedCount();
  if (++state.stepCounter % 2 == 0) {
    state.LightRingKeys(count);
    state.RotateRing(LightEffectState::kRingSize, setting.fx);
  }
  if (count == 0) return;
  const std::uint8_t bright = Bright(setting.light);
  const int leading = setting.fx ? 0 : count - 1;
  const bool keep = leading < LightEffectState::kIntensityCount && state.intensity[leading] != 0;
  auto leds = state.Leds();
  for (int i = 0; i < count && i < LightEffectState::kIntensityCount; ++i) {
    state.FadeKey(i);
    Rgb colour{leds[i].red, leds[i].green, leds[i].blue};
    if (!keep) {
      if (setting.multiColor) {
        state.phase = static_cast<std::uint8_t>(state.phase + 12);
        colour = WheelAt(state.phase >= 192 ? static_cast<std::uint8_t>(state.phase - 192) : state.phase);
      } else {
        colour = FixedColour(setting);
      }
    }
    leds[i] = Entry(colour, Scale(bright, state.intensity[i]));
  }
}

void LightSteps::StepRunningRing(LightEffectState& state, const LightSetting& setting, int deviceType) {
  const bool mouse = deviceType == kDeviceMouse || deviceType == kDeviceWirelessMouse;
  state.phase = StepPhase(setting.fx, 192, state.phase, 1);
  const int count = state.LedCount();
  if (mouse) {
    state.LightRingKeys(9);
    state.RotateRing(LightEffectState::kRingSize, setting.fx);
  } else if (++state.stepCounter % 2 == 0) {
    state.LightRingKeys(count);
    state.RotateRing(8, setting.fx ? 0 : 1);
  }
  const std::uint8_t bright = Bright(setting.light);
  auto leds = state.Leds();
  const auto paint = [&](const auto& groups) {
    const int groupCount = static_cast<int>(groups.size());
    const int leading = setting.fx ? 0 : groupCount - 1;
    // Only the pads keep the present colour behind a lit leading group.
    const bool keep = !mouse && state.intensity[leading] != 0;
    for (int g = 0; g < groupCount; ++g) {
      state.FadeKey(g);
      const auto& members = groups[g];
      Rgb colour = FixedColour(setting);
      if (keep) {
        const int first = members[0];
        if (first < count) colour = {leds[first].red, leds[first].green, leds[first].blue};
      } else if (setting.multiColor) {
        state.phase = static_cast<std::uint8_t>(state.phase + 12);
        colour = WheelAt(state.phase >= 192 ? static_cast<std::uint8_t>(state.phase - 192) : state.phase);
      }
      const LedColour entry = Entry(colour, Scale(bright, state.intensity[g]));
      for (std::uint8_t led : members)
        if (led != 255 && led < count) leds[led] = entry;
    }
  };
  if (mouse)
    paint(kMouseRingGroups);
  else
    paint(kPadRingGroups);
}

}  // namespace ostrel
