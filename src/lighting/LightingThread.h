#pragma once
// A page's lighting thread: runs the schedule's due steps and sleeps until
// the next one is due, at most once a wake granularity, or until a settings
// change wakes it. Stopping ends it at once, from any sleep.
//
// Whoever shows the state runs the steps first: the frame timer calls
// RunBeforeFrame, so every frame shows the state of its own time, and while
// frames keep coming the thread itself only looks now and then whether they
// have stopped. Either way every step runs, each as at its own due time.

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
  // steps due within a granule run together in one pass, and the schedule
  // still runs every step. (A page whose frames run the steps shows the
  // state of the frame's own time.)
  static constexpr std::int64_t kWakeGranularityMs = 20;
  // How long after the last frame the thread takes the steps over again.
  // Five frame periods: well inside the schedule's one-second catch-up.
  static constexpr std::int64_t kFrameWatchMs = 250;
  ~LightingThread();
  LightingThread(const LightingThread&) = delete;
  LightingThread& operator=(const LightingThread&) = delete;

  // A running thread is stopped first, so only one runs at any time.
  void Start();
  void Stop();
  // The settings changed: run the schedule again now.
  void Wake();
  // A frame is about to be drawn from the schedule's state: runs the due
  // steps on the caller's thread. Does nothing while the thread is stopped,
  // so a stopped page keeps its picture.
  void RunBeforeFrame();
  bool IsRunning() const { return running_.load(); }
  // How many times the thread ran the schedule (frames not counted).
  std::uint64_t Passes() const { return passes_.load(); }

 private:
  void Loop();
  // When the thread runs the schedule next, after a pass at `passMs` that
  // found the next step due at `nextMs`; mutex_ held.
  std::int64_t Deadline(std::int64_t passMs, std::int64_t nextMs) const;

  LightSchedule& schedule_;
  LightClock& clock_;
  const std::string exitText_;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool stop_ = false;
  bool interrupted_ = false;
  bool framesSeen_ = false;
  std::int64_t lastFrameMs_ = 0;
  std::atomic<bool> running_{false};
  std::atomic<std::uint64_t> passes_{0};
  std::thread thread_;
};

}  // namespace ostrel
