#pragma once
// The animation steps shared by every page, and the own steps of the mouse,
// mouse pad and headset pages. Each writes whole LED list entries from the
// page's main lighting record; none allocates.

#include <cstdint>

#include "lighting/LedColour.h"
#include "profiles/LightSetting.h"

namespace ostrel {

class LightEffectState;

class LightSteps {
 public:
  static void StepBreathing(LightEffectState& state, const LightSetting& setting);
  static void StepBreathingFour(LightEffectState& state, const LightSetting& setting);
  static void StepStatic(LightEffectState& state, const LightSetting& setting);
  static void StepSpectrum(LightEffectState& state, const LightSetting& setting);
  static void StepFlash(LightEffectState& state, const LightSetting& setting, std::int64_t nowMs);
  static void StepFlashFour(LightEffectState& state, const LightSetting& setting, std::int64_t nowMs);
  static void StepOff(LightEffectState& state);

  // Own effect 1 of the mouse, mouse pad (offset 7) and headset (offset 16,
  // or 10 in single colour).
  static void StepWave(LightEffectState& state, const LightSetting& setting, int deviceType);
  // Mouse pad and headset own effect 3.
  static void StepRing(LightEffectState& state, const LightSetting& setting);
  // Mouse own effect 2 (nine groups), mouse pad and headset own effect 2
  // (seven pairs).
  static void StepRunningRing(LightEffectState& state, const LightSetting& setting, int deviceType);

  // Puts one lit byte into an empty ring so the ring effects have something
  // to run.
  static void SeedRing(LightEffectState& state);

  // Time between two toggles of a flash at a speed.
  static std::int64_t FlashTimeMs(int speed, int unitMs);
  static std::uint8_t Bright(int level);
  static Rgb FixedColour(const LightSetting& setting) { return {setting.red, setting.green, setting.blue}; }
  static LedColour Entry(Rgb colour, std::uint8_t brightness) {
    return {colour.red, colour.green, colour.blue, brightness};
  }
  // Index steps of the colour wheel and the four colours, 0 past the end.
  static std::uint8_t NextWheelIndex(std::uint8_t index, int by);
  static std::uint8_t NextFourIndex(std::uint8_t index);
};

}  // namespace ostrel
