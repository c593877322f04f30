#pragma once
// The 31-byte lighting record of a page's zone. One layout serves the three
// zones (main, logo, strip); a zone uses only its own bytes. The profile stores
// it as the "LightInfo", "LogoLightInfo" and "StLightInfo" objects. Plain data:
// the lighting code owns what the bytes mean.

#include <cstdint>
#include <type_traits>

namespace ostrel {

struct LightSetting {
  std::uint8_t selectItem = 0;  // 0: main zone effect code
  std::uint8_t light = 0;       // 1: brightness level 0-4
  std::uint8_t speed = 0;       // 2: speed 0-4
  std::uint8_t fx = 0;          // 3: direction
  std::uint8_t multiColor = 0;  // 4: colour wheel instead of the fixed colour
  std::uint8_t red = 0;         // 5
  std::uint8_t green = 0;       // 6
  std::uint8_t blue = 0;        // 7
  std::uint8_t unused8[3] = {0, 0, 0};
  std::uint8_t zzccLedMode = 0;     // 11: area sub-mode (keyboard)
  std::uint8_t logoSelectItem = 0;  // 12
  std::uint8_t logoLight = 0;       // 13
  std::uint8_t logoSpeed = 0;       // 14
  std::uint8_t logoFx = 0;          // 15
  std::uint8_t logoMultiColor = 0;  // 16
  std::uint8_t logoRed = 0;         // 17
  std::uint8_t logoGreen = 0;       // 18
  std::uint8_t logoBlue = 0;        // 19
  std::uint8_t unused20 = 0;
  std::uint8_t rgbDengOffOn = 0;               // 21: logo RGB on/off
  std::uint8_t stSelectItem = 0;               // 22
  std::uint8_t stLight = 0;                    // 23
  std::uint8_t stSpeed = 0;                    // 24
  std::uint8_t stFx = 0;                       // 25
  std::uint8_t stMultiColor = 0;               // 26
  std::uint8_t stRed = 0;                      // 27
  std::uint8_t stGreen = 0;                    // 28
  std::uint8_t stBlue = 0;                     // 29
  std::uint8_t customLightModeGroupIndex = 0;  // 30: custom colour group (keyboard)

  friend bool operator==(const LightSetting&, const LightSetting&) = default;
};
// Byte i of the record is the i-th member: it may be copied to and from the
// devices' 31 bytes as it is.
static_assert(sizeof(LightSetting) == 31 && std::is_standard_layout_v<LightSetting> &&
              std::is_trivially_copyable_v<LightSetting>);

}  // namespace ostrel
