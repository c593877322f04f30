#include "FakeLightClock.h"

#include <algorithm>

#include "lighting/LightEffectState.h"

namespace ostrel::test {

std::int64_t FakeLightClock::NowMs() {
  std::lock_guard lock(mutex_);
  return now_;
}

void FakeLightClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                               std::int64_t deadlineMs, const bool& interrupted) {
  {
    std::lock_guard own(mutex_);
    runnerMutex_ = lock.mutex();
    runnerCv_ = &cv;
    ++entries_;
    lastDeadline_ = deadlineMs;
  }
  while (!interrupted) {
    {
      std::lock_guard own(mutex_);
      if (deadlineMs != kNeverDue && deadlineMs <= limit_) {
        now_ = std::max(now_, deadlineMs);
        ++wakeups_;
        blocked_ = false;
        return;
      }
      blocked_ = true;
    }
    changed_.notify_all();
    cv.wait(lock);
    std::lock_guard own(mutex_);
    blocked_ = false;
  }
}

void FakeLightClock::RunTo(std::int64_t limitMs) {
  std::uint64_t entries;
  std::mutex* runnerMutex;
  std::condition_variable* runnerCv;
  {
    std::lock_guard own(mutex_);
    entries = entries_;
    runnerMutex = runnerMutex_;
    runnerCv = runnerCv_;
  }
  if (runnerMutex != nullptr) {
    std::lock_guard runner(*runnerMutex);
    {
      std::lock_guard own(mutex_);
      limit_ = limitMs;
      blocked_ = false;
    }
    runnerCv->notify_all();
  } else {
    std::lock_guard own(mutex_);
    limit_ = limitMs;
  }
  WaitForSleep(entries == 0 ? 1 : entries);
}

void FakeLightClock::AdvanceTo(std::int64_t ms) {
  RunTo(ms);
  std::lock_guard own(mutex_);
  now_ = std::max(now_, ms);
}

void FakeLightClock::WaitForSleep(std::uint64_t entries) {
  std::unique_lock own(mutex_);
  changed_.wait(own, [&] { return blocked_ && entries_ >= entries; });
}

std::uint64_t FakeLightClock::TimedWakeups() {
  std::lock_guard own(mutex_);
  return wakeups_;
}

std::uint64_t FakeLightClock::SleepEntries() {
  std::lock_guard own(mutex_);
  return entries_;
}

std::int64_t FakeLightClock::LastDeadline() {
  std::lock_guard own(mutex_);
  return lastDeadline_;
}

}  // namespace ostrel::test
