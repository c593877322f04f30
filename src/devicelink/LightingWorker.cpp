#include "devicelink/LightingWorker.h"

#include <algorithm>

#include "platform/os/DebugLog.h"

namespace ostrel {

void LightingWorker::Start(Hooks hooks, std::string exitText) {
  worker_.Start([hooks = std::move(hooks), exitText = std::move(exitText)](const StopEvent& stop) {
    Run(stop, hooks, exitText);
  });
}

WorkerThread::StopResult LightingWorker::Stop() { return worker_.Stop(); }

void LightingWorker::Run(const StopEvent& stop, const Hooks& hooks, const std::string& exitText) {
  using Clock = std::chrono::steady_clock;
  using std::chrono::milliseconds;
  // Milliseconds counted towards the next step; time spent disconnected or
  // paused does not count.
  milliseconds counted{0};
  Clock::time_point last = Clock::now();
  milliseconds pause = kStopPoll;
  while (!stop.Wait(pause)) {
    const Clock::time_point now = Clock::now();
    const milliseconds passed = std::chrono::duration_cast<milliseconds>(now - last);
    if (!hooks.connected || !hooks.connected()) {
      last = now;
      pause = kDisconnectedPause;
      continue;
    }
    if (hooks.paused && hooks.paused()) {
      last = now;
      pause = kRecheck;
      continue;
    }
    // Whole milliseconds only; the remainder is kept for the next pass.
    counted += passed;
    last += passed;
    const int threshold = hooks.threshold ? hooks.threshold() : 0;
    if (threshold <= 0) {
      counted = milliseconds{0};
      pause = kRecheck;
      continue;
    }
    if (counted >= milliseconds(threshold)) {
      if (hooks.step) hooks.step();
      counted = milliseconds{0};
      pause = std::min<milliseconds>(milliseconds(threshold), kRecheck);
    } else {
      pause = std::min<milliseconds>(milliseconds(threshold) - counted, kRecheck);
    }
    pause = std::max(pause, kStopPoll);
  }
  OutputDebugString(exitText);
}

}  // namespace ostrel
