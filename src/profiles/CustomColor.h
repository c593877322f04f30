#pragma once
// One per-key colour of a keyboard's custom colour group.

#include <cstdint>

namespace ostrel {

struct CustomColor {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t alpha = 0;

  friend bool operator==(const CustomColor&, const CustomColor&) = default;
};

}  // namespace ostrel
