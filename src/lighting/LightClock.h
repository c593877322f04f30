#pragma once
// The clock a lighting runner reads and sleeps on. Tests give the runner a
// clock of their own that moves only when they say.

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace ostrel {

class LightClock {
 public:
  virtual ~LightClock() = default;
  virtual std::int64_t NowMs() = 0;
  // Sleeps on `cv` (`lock` held on entry and on return) until the clock
  // reaches `deadlineMs` (kNeverDue: no deadline) or `interrupted` is true.
  // `interrupted` is only written under `lock`, and every writer notifies
  // `cv`.
  virtual void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv,
                         std::int64_t deadlineMs, const bool& interrupted) = 0;
};

}  // namespace ostrel
