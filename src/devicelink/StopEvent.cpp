#include "devicelink/StopEvent.h"

namespace ostrel {

void StopEvent::Set() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    set_ = true;
  }
  changed_.notify_all();
}

void StopEvent::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  set_ = false;
}

bool StopEvent::IsSet() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return set_;
}

bool StopEvent::Wait(std::chrono::milliseconds timeout) const {
  return WaitUntil(std::chrono::steady_clock::now() + timeout);
}

bool StopEvent::WaitUntil(std::chrono::steady_clock::time_point deadline) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_until(lock, deadline, [this] { return set_; });
}

}  // namespace ostrel
