#pragma once
// The keyboard's "SystemStages" values.

#include <cstdint>

namespace ostrel {

struct KeyboardSystemSettings {
  std::uint16_t repeat = 0;       // "Repeat": key repeat rate
  std::uint16_t repeatDelay = 0;  // "RepeatDelay": repeat delay option
  std::uint16_t key6Flag = 0;     // "Key6Flag": six-key rollover
  std::uint16_t pollingRate = 0;  // "PollingRate": polling rate option
  std::uint16_t wFlag = 0;        // "WFlag"
  std::uint16_t winFlag = 0;      // "WinFlag": Windows-key lock
  std::uint16_t scanDelay = 0;    // "ScanDelay": scan delay option

  friend bool operator==(const KeyboardSystemSettings&, const KeyboardSystemSettings&) = default;
};

}  // namespace ostrel
