#include "devicelink/WorkerThread.h"

#include "platform/os/DebugLog.h"

namespace ostrel {

WorkerThread::~WorkerThread() {
  if (IsRunning()) Stop();
}

void WorkerThread::Start(std::function<void(const StopEvent& stop)> body) {
  if (IsRunning()) Stop();
  stop_.Reset();
  {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = false;
  }
  thread_ = std::thread([this, body = std::move(body)] {
    body(stop_);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      finished_ = true;
    }
    ended_.notify_all();
  });
}

WorkerThread::StopResult WorkerThread::Stop(std::chrono::milliseconds bound) {
  if (!IsRunning()) return StopResult::kNotRunning;
  stop_.Set();
  bool inTime;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    inTime = ended_.wait_for(lock, bound, [this] { return finished_; });
  }
  if (inTime)
    OutputDebugString("线程退出：：对象处于激发状态\n");
  else
    OutputDebugString("线程退出：：对象处于非激发状态，超时\n");
  thread_.join();
  return inTime ? StopResult::kSignalled : StopResult::kTimedOut;
}

}  // namespace ostrel
