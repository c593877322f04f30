#include "shell/WorkerTable.h"

#include "platform/os/DebugLog.h"

namespace ostrel {

bool WorkerTable::Stop::IsSet() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return set_;
}

bool WorkerTable::Stop::WaitFor(std::chrono::milliseconds timeout) const {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, timeout, [this] { return set_; });
}

WorkerTable::~WorkerTable() { StopAll(); }

bool WorkerTable::Start(int slot, Worker worker) {
  if (slot < 0 || slot >= kSlots || !worker || slots_[slot].thread.joinable()) return false;
  auto stop = std::make_shared<Stop>();
  slots_[slot].stop = stop;
  slots_[slot].thread = std::thread([stop, worker = std::move(worker)] {
    worker(*stop);
    std::lock_guard<std::mutex> lock(stop->mutex_);
    stop->finished_ = true;
    stop->changed_.notify_all();
  });
  return true;
}

bool WorkerTable::IsRunning(int slot) const {
  if (slot < 0 || slot >= kSlots || !slots_[slot].stop) return false;
  std::lock_guard<std::mutex> lock(slots_[slot].stop->mutex_);
  return slots_[slot].thread.joinable() && !slots_[slot].stop->finished_;
}

int WorkerTable::StopAll(std::chrono::milliseconds timeout) {
  for (Slot& slot : slots_) {
    if (!slot.stop) continue;
    std::lock_guard<std::mutex> lock(slot.stop->mutex_);
    slot.stop->set_ = true;
    slot.stop->changed_.notify_all();
  }
  int overran = 0;
  for (Slot& slot : slots_) {
    if (!slot.thread.joinable()) continue;
    bool finished;
    {
      std::unique_lock<std::mutex> lock(slot.stop->mutex_);
      finished = slot.stop->changed_.wait_for(lock, timeout, [&] { return slot.stop->finished_; });
    }
    if (finished) {
      slot.thread.join();
    } else {
      OutputDebugString("所有对象处于非激发状态，超时");
      slot.thread.detach();
      ++overran;
    }
    slot.stop.reset();
  }
  return overran;
}

}  // namespace ostrel
