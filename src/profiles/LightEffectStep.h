#pragma once
// One step of a ".light" effect file's "LEDEffectList" (40 bytes).

#include <cstdint>

namespace ostrel {

struct LightEffectStep {
  std::uint8_t ledRegMode = 0;     // "LEDREGMode"
  std::uint8_t ledBrightness = 0;  // "LEDBrightness"
  std::uint8_t ledSpeed = 0;       // "LEDSpeed"
  std::uint8_t ledDirection = 0;   // "LEDDirection"
  std::uint8_t ledMultiColor = 0;  // "LEDMultiColor"
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t reserved[24] = {};
  std::int32_t time = 0;   // "Time"
  std::int32_t cycle = 0;  // "Cyle"

  friend bool operator==(const LightEffectStep&, const LightEffectStep&) = default;
};
static_assert(sizeof(LightEffectStep) == 40);

}  // namespace ostrel
