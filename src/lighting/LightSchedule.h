#pragma once
// What a lighting runner drives: run every step due up to a time and tell
// when the next one is due, so the runner can sleep until then.

#include <cstdint>

namespace ostrel {

class LightSchedule {
 public:
  // A schedule catches up at most this far back. A pass that finds a step
  // due longer ago (the machine was suspended, the thread was starved)
  // resynchronises: the missed steps are dropped and the animation goes on
  // from now, instead of running thousands of steps in one pass.
  static constexpr std::int64_t kMaxCatchUpMs = 1000;

  virtual ~LightSchedule() = default;
  // Runs, in order, every step that fell due up to `nowMs` (milliseconds of
  // the runner's clock), each as at its own due time, so a runner waking
  // less often than the steps are due still gets every step of every
  // second. Returns the time of the next due step, kNeverDue when nothing
  // is due until the settings change.
  virtual std::int64_t RunDue(std::int64_t nowMs) = 0;

  // The time a step due at `dueMs` runs at in a pass at `nowMs`: its own
  // time, or now when it fell due more than kMaxCatchUpMs ago.
  static std::int64_t CatchUpTime(std::int64_t dueMs, std::int64_t nowMs) {
    return dueMs < nowMs - kMaxCatchUpMs ? nowMs : dueMs;
  }
};

}  // namespace ostrel
