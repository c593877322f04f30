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
    framesSeen_ = false;
  }
  thread_ = std::thread([this] { Loop(); });
  running_ = true;
}

void LightingThread::Stop() {
  if (!thread_.joinable()) return;
  running_ = false;
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

void LightingThread::RunBeforeFrame() {
  if (!running_.load()) return;
  const std::int64_t now = clock_.NowMs();
  schedule_.RunDue(now);
  std::lock_guard lock(mutex_);
  framesSeen_ = true;
  lastFrameMs_ = now;
}

std::int64_t LightingThread::Deadline(std::int64_t passMs, std::int64_t nextMs) const {
  if (nextMs == kNeverDue) return kNeverDue;
  // The steps due within a granule run together in the next pass, each as
  // at its own time.
  std::int64_t deadline = std::max(nextMs, passMs + kWakeGranularityMs);
  // While frames come they run the steps; the thread looks again a watch
  // after the last one.
  if (framesSeen_ && lastFrameMs_ + kFrameWatchMs > passMs)
    deadline = std::max(deadline, lastFrameMs_ + kFrameWatchMs);
  return deadline;
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
    // Nothing due means no deadline at all.
    clock_.WaitUntil(lock, cv_, Deadline(start, next), interrupted_);
  }
  lock.unlock();
  OutputDebugString(exitText_);
}

}  // namespace ostrel
