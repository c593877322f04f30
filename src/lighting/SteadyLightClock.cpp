#include "lighting/SteadyLightClock.h"

#include <chrono>

#include "lighting/LightEffectState.h"

namespace ostrel {

std::int64_t SteadyLightClock::NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyLightClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                                 std::int64_t deadlineMs, const bool& interrupted) {
  if (deadlineMs == kNeverDue) {
    cv.wait(lock, [&] { return interrupted; });
    return;
  }
  const std::chrono::steady_clock::time_point deadline{std::chrono::milliseconds(deadlineMs)};
  cv.wait_until(lock, deadline, [&] { return interrupted; });
}

SteadyLightClock& SteadyLightClock::Instance() {
  static SteadyLightClock clock;
  return clock;
}

}  // namespace ostrel
