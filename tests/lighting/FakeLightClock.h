#pragma once
// A clock that jumps: a runner asking to sleep until a time at or before the
// limit the test set finds the clock there at once; past the limit it
// blocks until the test moves the limit or the runner is stopped or woken.

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "lighting/LightClock.h"

namespace ostrel::test {

class FakeLightClock : public LightClock {
 public:
  std::int64_t NowMs() override;
  void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, std::int64_t deadlineMs,
                 const bool& interrupted) override;

  // Lets the runner's time run up to `limitMs` and returns once the runner
  // sleeps past it.
  void RunTo(std::int64_t limitMs);
  // RunTo, then the clock reads `ms` (the runner sleeps past it): the time
  // for another thread's work, such as a frame.
  void AdvanceTo(std::int64_t ms);
  // Returns once the runner sleeps past the limit after at least `entries`
  // sleeps in all.
  void WaitForSleep(std::uint64_t entries);

  // Sleeps that ended because their time came (timer wake-ups).
  std::uint64_t TimedWakeups();
  std::uint64_t SleepEntries();
  std::int64_t LastDeadline();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::int64_t now_ = 0;
  std::int64_t limit_ = 0;
  std::int64_t lastDeadline_ = 0;
  bool blocked_ = false;
  std::uint64_t wakeups_ = 0;
  std::uint64_t entries_ = 0;
  std::mutex* runnerMutex_ = nullptr;
  std::condition_variable* runnerCv_ = nullptr;
};

}  // namespace ostrel::test
