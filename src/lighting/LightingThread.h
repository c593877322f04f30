#pragma once
// A page's lighting thread: runs the schedule's due steps and sleeps until
// the next one is due, at most once a wake granularity, or until a settings
// change wakes it. Stopping ends it at once, from any sleep.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "lighting/LightClock.h"
#include "lighting/LightSchedule.h"

namespace ostrel {

class LightingThread {
 public:
  // `exitText` is logged when the thread ends ("MS灯光线程设定退出" on the
  // mouse, mouse pad and headset pages, "KB灯光线程设定退出" on the keyboard,
  // "同步灯光线程设定退出" for synchronisation).
  LightingThread(LightSchedule& schedule, LightClock& clock, std::string exitText);

  // The shortest time between two timed passes. A wake-up costs far more
  // than the steps it runs (the keyboard's zones are due every 4 ms), so the
  // steps due within a granule run together in one pass. 20 ms is well
  // under the 50 ms between two frames: every frame shows a state at most
  // one granule old, and the schedule still runs every step.
  static constexpr std::int64_t kWakeGranularityMs = 20;
  ~LightingThread();
  LightingThread(const LightingThread&) = delete;
  LightingThread& operator=(const LightingThread&) = delete;

  // A running thread is stopped first, so only one runs at any time.
  void Start();
  void Stop();
  // The settings changed: run the schedule again now.
  void Wake();
  bool IsRunning() const { return thread_.joinable(); }
  // How many times the schedule ran.
  std::uint64_t Passes() const { return passes_.load(); }

 private:
  void Loop();

  LightSchedule& schedule_;
  LightClock& clock_;
  const std::string exitText_;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool stop_ = false;
  bool interrupted_ = false;
  std::atomic<std::uint64_t> passes_{0};
  std::thread thread_;
};

}  // namespace ostrel
