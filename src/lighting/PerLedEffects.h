#pragma once
// The profile's per-LED modes ("LightList"): an LED with its own mode
// overrides the step's result for that LED after every pass.

#include <cstdint>
#include <span>
#include <vector>

#include "lighting/LedColour.h"
#include "profiles/LightListEntry.h"

namespace ostrel {

class PerLedEffects {
 public:
  struct LedState {
    std::uint8_t phase = 0;
    std::uint8_t wheelIndex = 0;
    std::uint8_t counter = 0;
    std::uint8_t toggle = 0;
    std::int64_t lastToggleMs = 0;
  };

  // Replaces the list (the only allocation); phases, indices and counters
  // restart at 0 and flashing LEDs come on at the first pass.
  void SetList(std::vector<LightListEntry> list, std::int64_t nowMs);
  const std::vector<LightListEntry>& List() const { return list_; }
  const LedState& State(std::size_t led) const { return states_[led]; }
  bool Empty() const { return list_.empty(); }

  // Applies the modes to `leds`, counting the passes since the last call.
  // Returns when the next pass changes something (kNeverDue when only fixed
  // modes are present: those are re-applied after every step).
  std::int64_t Run(std::span<LedColour> leds, std::int64_t nowMs);

  // Animated modes are sampled this often; the passes between are counted.
  static constexpr int kRefreshMs = 10;

 private:
  std::vector<LightListEntry> list_;
  std::vector<LedState> states_;
  std::int64_t lastPassMs_ = 0;
};

}  // namespace ostrel
