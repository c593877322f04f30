#include "profiles/ProfileIdGenerator.h"

#include <cstdio>
#include <ctime>

namespace ostrel {
namespace {

// The local wall-clock time of an instant, in milliseconds as if it were
// UTC. The id is a function of this value alone.
std::int64_t WallClockMillis(std::int64_t millis, std::tm& local) {
  const std::time_t seconds = static_cast<std::time_t>(millis / 1000);
  ::localtime_r(&seconds, &local);
  std::tm copy = local;
  return static_cast<std::int64_t>(::timegm(&copy)) * 1000 + millis % 1000;
}

}  // namespace

std::string ProfileIdGenerator::Next(std::int64_t epochMillis) {
  std::int64_t millis = epochMillis > lastMillis_ ? epochMillis : lastMillis_ + 1;
  std::tm local{};
  std::int64_t wallClock = WallClockMillis(millis, local);
  while (wallClock <= lastWallClock_) {
    millis += lastWallClock_ - wallClock + 1;
    wallClock = WallClockMillis(millis, local);
  }
  lastMillis_ = millis;
  lastWallClock_ = wallClock;
  char text[64];
  std::snprintf(text, sizeof text, "%d_%02d_%02d_%02d_%02d_%02d_%03d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis % 1000));
  return text;
}

}  // namespace ostrel
