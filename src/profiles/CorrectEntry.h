#pragma once
// One mouse correction preset of "CorrectInfo".

#include <cstdint>
#include <string>

namespace ostrel {

struct CorrectEntry {
  std::uint8_t correctPixThresh = 0;  // "CorrectPixThresh"
  std::uint8_t correctMinSq = 0;      // "CorrectMinSq"
  std::uint8_t correctSelect = 0;     // "CorrectSelect"
  std::string correctName;            // "CorrectName"

  friend bool operator==(const CorrectEntry&, const CorrectEntry&) = default;
};

}  // namespace ostrel
