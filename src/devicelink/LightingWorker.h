#pragma once
// A page's lighting animation thread for one zone. It counts milliseconds
// while the command channel is connected and not paused (synchronisation
// drives the device then) and runs the zone's effect step each time the
// count reaches the effect's threshold. Between steps it sleeps until the
// threshold comes; with nothing to step it looks again every kIdleRecheck.
// A changed effect or speed wakes it at once (Wake). A disconnected page
// costs one pass per 100 ms, a paused one likewise.

#include <chrono>
#include <functional>
#include <string>

#include "devicelink/WorkerThread.h"

namespace ostrel {

class LightingWorker {
 public:
  struct Hooks {
    std::function<bool()> connected;
    std::function<bool()> paused;
    // Milliseconds between steps of the current effect and speed; 0 or less
    // when the current effect has no timed step.
    std::function<int()> threshold;
    std::function<void()> step;
  };

  static constexpr std::chrono::milliseconds kStopPoll{1};
  static constexpr std::chrono::milliseconds kDisconnectedPause{100};
  static constexpr std::chrono::milliseconds kPausedRecheck{100};
  static constexpr std::chrono::milliseconds kIdleRecheck{1000};

  LightingWorker() = default;
  ~LightingWorker() { Stop(); }
  LightingWorker(const LightingWorker&) = delete;
  LightingWorker& operator=(const LightingWorker&) = delete;

  // A running thread is stopped first: one thread per zone at any time.
  // `exitText` is logged when the thread ends.
  void Start(Hooks hooks, std::string exitText);
  WorkerThread::StopResult Stop();
  void Signal() { worker_.Signal(); }
  // The effect or its speed changed: take the new threshold now.
  void Wake() { worker_.Nudge(); }
  bool IsRunning() const { return worker_.IsRunning(); }

 private:
  static void Run(const StopEvent& stop, const Hooks& hooks, const std::string& exitText);

  WorkerThread worker_;
};

}  // namespace ostrel
