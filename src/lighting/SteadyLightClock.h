#pragma once
// The monotonic clock of the machine, in milliseconds.

#include "lighting/LightClock.h"

namespace ostrel {

class SteadyLightClock : public LightClock {
 public:
  std::int64_t NowMs() override;
  void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, std::int64_t deadlineMs,
                 const bool& interrupted) override;
  // One clock serves every runner.
  static SteadyLightClock& Instance();
};

}  // namespace ostrel
