#include "lighting/LightingThread.h"

#include <algorithm>
#include <utility>

#include "lighting/LightEffectState.h"
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
    const std::int64_t start = clock_.NowMs();
    const std::int64_t next = schedule_.RunDue(start);
    passes_.fetch_add(1);
    lock.lock();
    if (interrupted_) continue;
    // The steps due within a granule run together in the next pass, each as
    // at its own time; nothing due means no deadline at all.
    const std::int64_t deadline = next == kNeverDue ? kNeverDue : std::max(next, start + kWakeGranularityMs);
    clock_.WaitUntil(lock, cv_, deadline, interrupted_);
  }
  lock.unlock();
  OutputDebugString(exitText_);
}

}  // namespace ostrel
