#pragma once
// One element of a profile's per-LED "LightList" (12 bytes).

#include <cstdint>

namespace ostrel {

struct LightListEntry {
  std::uint8_t ledRegMode = 0;     // "LEDREGMode"
  std::uint8_t ledBrightness = 0;  // "LEDBrightness"
  std::uint8_t ledSpeed = 0;       // "LEDSpeed"
  std::uint8_t ledDirection = 0;   // "LEDDirection" (0/1)
  std::uint8_t ledMultiColor = 0;  // "LEDMultiColor" (0/1)
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t reserved8 = 0;
  std::uint8_t reserved9 = 0;
  std::uint8_t present = 0;  // 1 when the element is an object, 0 for null
  std::uint8_t reserved11 = 0;

  friend bool operator==(const LightListEntry&, const LightListEntry&) = default;
};
static_assert(sizeof(LightListEntry) == 12);

}  // namespace ostrel
