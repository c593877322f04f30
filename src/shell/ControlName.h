#pragma once
// A control name of a numbered family ("key_12", "DPI_slider_3") split at
// its last underscore: the prefix keeps the underscore, the rest is read as
// a decimal number. A name without underscore, or whose rest is not a
// number, has no number.

#include <string_view>

namespace ostrel {

struct ControlName {
  std::string_view prefix;
  int number = 0;
  bool hasNumber = false;

  static ControlName Split(std::string_view name);
};

}  // namespace ostrel
