#include "lighting/LightingThread.h"

#include <utility>

#include "platform/os/DebugLog.h"

namespace ostrel {

LightingThread::LightingThread(LightSchedule& schedule, LightClock& clock, std::string exitText)
    : schedule_(schedule), clock_(clock), exitText_(std::move(exitText)) {}

LightingThread::~LightingThread() { Stop(); }

void LightingThread::Start() {
  Stop();
  {
    std::lock_guard lock(mutex_);
    stop_ = false;
    interrupted_ = false;
  }
  thread_ = std::thread([this] { Loop(); });
}

void LightingThread::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    interrupted_ = true;
  }
  cv_.notify_all();
  thread_.join();
  OutputDebugString("线程退出：：对象处于激发状态\n");
}

void LightingThread::Wake() {
  {
    std::lock_guard lock(mutex_);
    interrupted_ = true;
  }
  cv_.notify_all();
}

void LightingThread::Loop() {
  std::unique_lock lock(mutex_);
  while (!stop_) {
    interrupted_ = false;
    lock.unlock();
    const std::int64_t next = schedule_.RunDue(clock_.NowMs());
    passes_.fetch_add(1);
    lock.lock();
    if (interrupted_) continue;
    clock_.WaitUntil(lock, cv_, next, interrupted_);
  }
  lock.unlock();
  OutputDebugString(exitText_);
}

}  // namespace ostrel
