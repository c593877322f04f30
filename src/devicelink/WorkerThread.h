#pragma once
// One worker thread with its manual-reset stop event. Stopping sets the
// event and waits up to a bound for the thread to end, writing the outcome
// to the debug output. Every worker loop of the program ends when its event
// is set (blocking reads are ended by closing their link), so a thread past
// the bound is still waited for rather than killed: killing it would leave
// its locks and its page in an unknown state.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "devicelink/StopEvent.h"

namespace ostrel {

class WorkerThread {
 public:
  enum class StopResult { kNotRunning, kSignalled, kTimedOut };

  WorkerThread() = default;
  ~WorkerThread();  // stops a running thread
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Resets the stop event and runs `body` on a new thread; a running thread
  // is stopped first, so one runs at most.
  void Start(std::function<void(const StopEvent& stop)> body);
  // Sets the stop event and waits up to `bound` for the thread.
  StopResult Stop(std::chrono::milliseconds bound = std::chrono::milliseconds(1000));
  // Sets the stop event without waiting (several workers are signalled
  // before they are waited for).
  void Signal() { stop_.Set(); }
  bool IsRunning() const { return thread_.joinable(); }
  const StopEvent& Event() const { return stop_; }

 private:
  StopEvent stop_;
  std::mutex mutex_;
  std::condition_variable ended_;
  bool finished_ = true;
  std::thread thread_;
};

}  // namespace ostrel
