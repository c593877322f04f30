#pragma once
// What each effect code means on each device type, its step threshold and
// its place in lighting synchronisation.

#include <cstdint>

namespace ostrel {

enum class LightStep : std::uint8_t {
  kCustom,  // the user's own animation from the profile's effect file
  kSpectrum,
  kBreathing,
  kBreathingFour,
  kStatic,
  kFlash,
  kFlashFour,
  kOff,
  kWave,         // mouse, mouse pad, headset own effect 1
  kRing,         // mouse pad, headset own effect 3
  kRunningRing,  // own effect 2
  kKeyboard,     // one of the keyboard's own main-zone effects
};

enum class CommonEffect : std::uint8_t { kNone, kSpectrum, kBreathing, kStatic, kFlash, kOff };

class LightEffectCodes {
 public:
  // Main-zone step of an effect code on a device type (1 keyboard, 2 and 6
  // mouse, 3 mouse pad, 7 headset). Codes past the tables are the user's
  // animation; an unknown device type steps nothing but off.
  static LightStep StepFor(int deviceType, int code);
  // Ticks between two steps of a stepped effect at a speed (clamped to 0-4).
  static int ThresholdTicks(int deviceType, int code, int speed);
  // The synchronisation effect a page's main effect maps to.
  static CommonEffect CommonEffectFor(int deviceType, int code);
  // The code that shows a common effect on a device type.
  static int CodeForCommonEffect(int deviceType, CommonEffect effect);
  // Speed and brightness level bytes beyond their range use the last row.
  static int ClampLevel(int value) { return value < 0 ? 0 : (value > 4 ? 4 : value); }
};

}  // namespace ostrel
