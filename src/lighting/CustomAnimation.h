#pragma once
// The user's own animation: the steps of the profile's effect file played
// one after the other, each for its duration.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "profiles/LightEffectStep.h"

namespace ostrel {

class LightEffectState;

class CustomAnimation {
 public:
  // Replaces the steps (the only allocation) and restarts the playback.
  void SetSteps(std::vector<LightEffectStep> steps);
  const std::vector<LightEffectStep>& Steps() const { return steps_; }
  // Restarts at the first step at the next pass.
  void Restart() { started_ = false; }

  // Plays every pass due by `nowMs` into the state's LED list; `pageSpeed`
  // times the flash toggles. Returns the time the next pass is due.
  std::int64_t Run(LightEffectState& state, int pageSpeed, std::int64_t nowMs);

  std::size_t CurrentIndex() const { return index_; }
  std::uint8_t Phase() const { return phase_; }

 private:
  void Draw(LightEffectState& state, const LightEffectStep& step, int pageSpeed, std::int64_t nowMs);
  std::int64_t NextDue(const LightEffectState& state, int pageSpeed) const;

  std::vector<LightEffectStep> steps_;
  std::size_t index_ = 0;
  int passCounter_ = 0;
  std::uint8_t phase_ = 0;
  bool started_ = false;
  std::int64_t lastPassMs_ = 0;
  std::int64_t stepBeginMs_ = 0;
};

}  // namespace ostrel
