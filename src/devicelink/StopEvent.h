#pragma once
// A manual-reset event: once set it stays set until Reset. Waiting on it
// with a deadline is how the workers sleep, so setting it ends any sleep at
// once. A nudge ends the current sleeps early without setting the event
// (a worker's settings changed).

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace ostrel {

class StopEvent {
 public:
  void Set();
  void Reset();
  bool IsSet() const;
  // True when the event is (or becomes) set within `timeout`.
  bool Wait(std::chrono::milliseconds timeout) const;
  bool WaitUntil(std::chrono::steady_clock::time_point deadline) const;
  void Nudge();
  // Nudges so far; a wait given a count returns early once it changed, so
  // a nudge between reading the count and waiting is not lost.
  std::uint64_t Nudges() const;
  bool WaitUntil(std::chrono::steady_clock::time_point deadline, std::uint64_t seenNudges) const;

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool set_ = false;
  std::uint64_t nudges_ = 0;
};

}  // namespace ostrel
