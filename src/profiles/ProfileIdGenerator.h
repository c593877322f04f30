#pragma once
// Makes the ids of profile and macro files from the local time:
// "%d_%02d_%02d_%02d_%02d_%02d_%03d" (year, month, day, hour, minute, second,
// millisecond). An id names a file, so one generator never returns the same
// id twice: a second id within the same millisecond, after the clock went
// back or while local time repeats an hour (summer time ending) gets the
// first millisecond whose local time is later than every id handed out.

#include <cstdint>
#include <string>

namespace ostrel {

class ProfileIdGenerator {
 public:
  // The id for a clock reading (milliseconds since the epoch).
  std::string Next(std::int64_t epochMillis);

 private:
  std::int64_t lastMillis_ = 0;
  std::int64_t lastWallClock_ = 0;
};

}  // namespace ostrel
