#pragma once
// What a lighting runner drives: run every step due at a time and tell when
// the next one is due, so the runner can sleep until then.

#include <cstdint>

namespace ostrel {

class LightSchedule {
 public:
  virtual ~LightSchedule() = default;
  // Runs what is due at `nowMs` (milliseconds of the runner's clock) and
  // returns the time of the next due step, kNeverDue when nothing is due
  // until the settings change.
  virtual std::int64_t RunDue(std::int64_t nowMs) = 0;
};

}  // namespace ostrel
