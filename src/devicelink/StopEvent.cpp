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

void StopEvent::Nudge() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++nudges_;
  }
  changed_.notify_all();
}

std::uint64_t StopEvent::Nudges() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return nudges_;
}

bool StopEvent::WaitUntil(std::chrono::steady_clock::time_point deadline, std::uint64_t seenNudges) const {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait_until(lock, deadline, [&] { return set_ || nudges_ != seenNudges; });
  return set_;
}

}  // namespace ostrel
