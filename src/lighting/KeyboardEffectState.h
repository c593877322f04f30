#pragma once
// The keyboard page's effect state beyond the common effect scratch: zone
// phases, per-key colour indices, reactions and counters, the four wave
// fronts and the bounce levels of the logo and St zones.

#include <array>
#include <cstdint>

#include "lighting/KeyboardLightTables.h"

namespace ostrel {

struct KeyboardEffectState {
  std::uint8_t logoPhase = 0;
  std::uint8_t stPhase = 0;
  std::uint8_t stage = 0;  // effects 13 and 14
  std::array<std::uint8_t, kKeyboardKeyCount> colourIndex{};
  std::array<std::uint8_t, kKeyboardKeyCount> reactive{};  // 0 idle, 1 rising, 2 falling
  std::array<std::uint8_t, kKeyboardKeyCount> counter{};   // effect 21
  // One byte per grid column, bit j for grid row j.
  std::array<std::uint8_t, kGridColumns> lu{};
  std::array<std::uint8_t, kGridColumns> ru{};
  std::array<std::uint8_t, kGridColumns> rd{};
  std::array<std::uint8_t, kGridColumns> ld{};
  std::array<std::uint8_t, kLogoLedCount> logoLevels{};
  std::array<std::uint8_t, kStLedCount> stLevels{};
  bool logoBounceUp = true;
  bool stBounceUp = true;
  std::uint32_t random = 0x2545F491u;  // xorshift state of the random effects
};

}  // namespace ostrel
