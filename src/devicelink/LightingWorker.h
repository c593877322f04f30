#pragma once
// A page's lighting animation thread for one zone. It counts milliseconds
// while the command channel is connected and not paused (synchronisation
// drives the device then) and runs the zone's effect step each time the
// count reaches the effect's threshold. Between steps it sleeps until the
// threshold comes (looking again at least every kRecheck, so a changed
// effect or speed is picked up); a disconnected page costs one pass per
// 100 ms.

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
  static constexpr std::chrono::milliseconds kRecheck{100};

  LightingWorker() = default;
  ~LightingWorker() { Stop(); }
  LightingWorker(const LightingWorker&) = delete;
  LightingWorker& operator=(const LightingWorker&) = delete;

  // A running thread is stopped first: one thread per zone at any time.
  // `exitText` is logged when the thread ends.
  void Start(Hooks hooks, std::string exitText);
  WorkerThread::StopResult Stop();
  void Signal() { worker_.Signal(); }
  bool IsRunning() const { return worker_.IsRunning(); }

 private:
  static void Run(const StopEvent& stop, const Hooks& hooks, const std::string& exitText);

  WorkerThread worker_;
};

}  // namespace ostrel
