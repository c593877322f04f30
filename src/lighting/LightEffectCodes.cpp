#include "lighting/LightEffectCodes.h"

#include <array>

#include "devicelink/DeviceProtocol.h"
#include "lighting/LightTables.h"

namespace ostrel {
namespace {

using S = LightStep;

constexpr std::array<LightStep, 9> kMouseSteps = {S::kWave,          S::kSpectrum,  S::kBreathing,
                                                  S::kStatic,        S::kFlash,     S::kRunningRing,
                                                  S::kBreathingFour, S::kFlashFour, S::kOff};
constexpr std::array<LightStep, 9> kPadSteps = {S::kWave,   S::kSpectrum,    S::kBreathing,
                                                S::kStatic, S::kFlash,       S::kCustom,
                                                S::kRing,   S::kRunningRing, S::kOff};
constexpr std::array<LightStep, 28> kKeyboardSteps = {
    S::kCustom,   S::kKeyboard,      S::kKeyboard,  S::kKeyboard, S::kSpectrum, S::kKeyboard, S::kKeyboard,
    S::kKeyboard, S::kKeyboard,      S::kKeyboard,  S::kKeyboard, S::kKeyboard, S::kKeyboard, S::kKeyboard,
    S::kKeyboard, S::kKeyboard,      S::kKeyboard,  S::kKeyboard, S::kKeyboard, S::kCustom,   S::kKeyboard,
    S::kKeyboard, S::kBreathingFour, S::kFlashFour, S::kOff,      S::kCustom,   S::kFlash,    S::kKeyboard};

struct CommonCodes {
  int spectrum, breathing, staticColour, flash, off;
};
constexpr CommonCodes kKeyboardCommon = {4, 5, 6, 26, 24};
constexpr CommonCodes kOtherCommon = {1, 2, 3, 4, 8};

}  // namespace

LightStep LightEffectCodes::StepFor(int deviceType, int code) {
  if (code < 0) return S::kCustom;
  const auto pick = [code](const auto& table) {
    return static_cast<std::size_t>(code) < table.size() ? table[code] : S::kCustom;
  };
  switch (deviceType) {
    case kDeviceKeyboard:
      return pick(kKeyboardSteps);
    case kDeviceMouse:
    case kDeviceWirelessMouse:
      return pick(kMouseSteps);
    case kDeviceMousePad:
    case kDeviceHeadset:
      return pick(kPadSteps);
    default:
      return S::kOff;
  }
}

int LightEffectCodes::ThresholdTicks(int deviceType, int code, int speed) {
  const int s = ClampLevel(speed);
  if (deviceType != kDeviceKeyboard) return kSlowTimingRow[s];
  switch (code) {
    case 16:
      return 4;
    case 18:
      return 5;
    case 23:
    case 26:
    case 27:
      return kKeyboardFlashTimingRow[s];
    default:
      return kFastTimingRow[s];
  }
}

CommonEffect LightEffectCodes::CommonEffectFor(int deviceType, int code) {
  if (deviceType != kDeviceKeyboard && deviceType != kDeviceMouse && deviceType != kDeviceWirelessMouse &&
      deviceType != kDeviceMousePad && deviceType != kDeviceHeadset)
    return CommonEffect::kNone;
  const CommonCodes& c = deviceType == kDeviceKeyboard ? kKeyboardCommon : kOtherCommon;
  if (code == c.spectrum) return CommonEffect::kSpectrum;
  if (code == c.breathing) return CommonEffect::kBreathing;
  if (code == c.staticColour) return CommonEffect::kStatic;
  if (code == c.flash) return CommonEffect::kFlash;
  if (code == c.off) return CommonEffect::kOff;
  return CommonEffect::kNone;
}

int LightEffectCodes::CodeForCommonEffect(int deviceType, CommonEffect effect) {
  const CommonCodes& c = deviceType == kDeviceKeyboard ? kKeyboardCommon : kOtherCommon;
  switch (effect) {
    case CommonEffect::kSpectrum:
      return c.spectrum;
    case CommonEffect::kBreathing:
      return c.breathing;
    case CommonEffect::kStatic:
      return c.staticColour;
    case CommonEffect::kFlash:
      return c.flash;
    case CommonEffect::kOff:
      return c.off;
    case CommonEffect::kNone:
      break;
  }
  return -1;
}

}  // namespace ostrel
