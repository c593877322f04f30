#pragma once
// A colour of the effect tables: red, green, blue.

#include <cstdint>

namespace ostrel {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  friend bool operator==(const Rgb&, const Rgb&) = default;
};

}  // namespace ostrel
