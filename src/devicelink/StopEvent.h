#pragma once
// A manual-reset event: once set it stays set until Reset. Waiting on it
// with a deadline is how the workers sleep, so setting it ends any sleep at
// once.

#include <chrono>
#include <condition_variable>
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

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  bool set_ = false;
};

}  // namespace ostrel
