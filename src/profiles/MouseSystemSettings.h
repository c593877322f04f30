#pragma once
// The mouse values kept in the profile: five "SystemStages" values and the
// polling rate index of "ReportStages".

#include <cstdint>

namespace ostrel {

struct MouseSystemSettings {
  std::uint16_t doubleClickTime = 0;   // "DoubleClickTime"
  std::uint16_t mouseSpeed = 0;        // "MouseSpeed"
  std::uint16_t pointerPrecision = 0;  // "PointerPrecision"
  std::uint16_t scrollPage = 0;        // "ScorllPage"
  std::uint16_t wheelScrollLines = 0;  // "WheelScorlllinse"
  std::uint16_t reportRate = 0;        // "ReportStages"."StageActive"

  friend bool operator==(const MouseSystemSettings&, const MouseSystemSettings&) = default;
};

}  // namespace ostrel
