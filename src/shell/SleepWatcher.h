#pragma once
// Suspend and resume from logind: PrepareForSleep(true) before the system
// sleeps, PrepareForSleep(false) after it woke. They reach the target
// window as WM_POWERBROADCAST with PBT_APMSUSPEND and PBT_APMRESUMEAUTOMATIC.
// Without a system bus nothing is watched and the program runs on.

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/ui/UIDefs.h"

struct sd_bus;
struct sd_bus_slot;

namespace ostrel {

class SleepWatcher {
 public:
  enum class Bus { System, Session };  // Session: tests on a private bus

  SleepWatcher();
  ~SleepWatcher();
  SleepWatcher(const SleepWatcher&) = delete;
  SleepWatcher& operator=(const SleepWatcher&) = delete;

  bool Start(HWND target, Bus bus = Bus::System);
  void Stop();
  // True once the match is installed on the bus.
  bool IsWatching() const { return thread_.joinable(); }

 private:
  friend struct SleepWatcherCallbacks;
  void Run();

  std::mutex mutex_;
  sd_bus* bus_ = nullptr;
  sd_bus_slot* matchSlot_ = nullptr;
  std::atomic<HWND> target_{nullptr};
  int wakeFd_ = -1;
  std::thread thread_;
};

}  // namespace ostrel
