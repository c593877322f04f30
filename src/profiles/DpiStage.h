#pragma once
// One DPI stage of a mouse (9 bytes on the device).

#include <array>
#include <cstdint>

namespace ostrel {

struct DpiStage {
  std::uint8_t stageActive = 0;  // "StageActive": stage enabled
  std::uint8_t stageXY = 0;      // "StageXY": X/Y linked
  std::uint16_t stageDpiX = 0;   // "StageDPIX": X resolution in DPI steps
  std::uint16_t stageDpiY = 0;   // "StageDPIY"
  std::uint8_t red = 0;          // "StageColorR"
  std::uint8_t green = 0;        // "StageColorG"
  std::uint8_t blue = 0;         // "StageColorB"

  // The device layout: resolutions little-endian in bytes 2-3 and 4-5.
  constexpr std::array<std::uint8_t, 9> ToBytes() const {
    return {stageActive,
            stageXY,
            static_cast<std::uint8_t>(stageDpiX & 0xFF),
            static_cast<std::uint8_t>(stageDpiX >> 8),
            static_cast<std::uint8_t>(stageDpiY & 0xFF),
            static_cast<std::uint8_t>(stageDpiY >> 8),
            red,
            green,
            blue};
  }

  friend bool operator==(const DpiStage&, const DpiStage&) = default;
};

}  // namespace ostrel
