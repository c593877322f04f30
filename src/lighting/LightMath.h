#pragma once
// The two stepping rules of the effects and the brightness scaling, in the
// 8-bit arithmetic the effects are defined with.

#include <cstdint>

namespace ostrel {

// Forward: phase + delta below the limit, else 0. Backward: phase - delta
// below the limit, else limit - delta (stepping back from 0 wraps).
constexpr std::uint8_t StepPhase(int direction, std::uint8_t limit, std::uint8_t phase, std::uint8_t delta) {
  if (direction != 0) {
    const auto next = static_cast<std::uint8_t>(phase + delta);
    return next < limit ? next : 0;
  }
  const auto next = static_cast<std::uint8_t>(phase - delta);
  return next < limit ? next : static_cast<std::uint8_t>(limit - delta);
}

// Forward: index + 1, or 0 at the limit. Backward: index - 1, or limit - 1.
constexpr std::uint8_t StepIndex(bool forward, std::uint8_t limit, std::uint8_t index) {
  if (forward) {
    const auto next = static_cast<std::uint8_t>(index + 1);
    return next < limit ? next : 0;
  }
  const auto next = static_cast<std::uint8_t>(index - 1);
  return next < limit ? next : static_cast<std::uint8_t>(limit - 1);
}

// a × b ÷ 256: a brightness scaled by a curve value.
constexpr std::uint8_t Scale(unsigned a, unsigned b) { return static_cast<std::uint8_t>((a * b) >> 8); }

static_assert(StepPhase(0, 128, 0, 1) == 127 && StepPhase(1, 128, 127, 1) == 0);
static_assert(StepPhase(0, 96, 0, 3) == 93 && StepPhase(1, 96, 93, 3) == 0);
static_assert(StepIndex(false, 48, 0) == 47 && StepIndex(true, 48, 47) == 0);

}  // namespace ostrel
