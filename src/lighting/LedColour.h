#pragma once
// One entry of a page's LED colour list: the colour and the brightness the
// output multiplies it by.

#include <cstdint>

#include "lighting/Rgb.h"

namespace ostrel {

struct LedColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t brightness = 0;

  friend bool operator==(const LedColour&, const LedColour&) = default;
};
static_assert(sizeof(LedColour) == 4);

}  // namespace ostrel
