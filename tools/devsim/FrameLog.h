#pragma once
// Every report a simulated device received or sent, for tests to inspect.
// Thread-safe: the device's server thread adds, any thread reads.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "devsim/Protocol.h"

namespace ostrel::devsim {

struct LoggedReport {
  enum class Direction : std::uint8_t { kFromHost, kToHost };
  Direction direction;
  std::uint64_t connection;  // 0 for input reports (they go to every connection)
  std::chrono::steady_clock::time_point time;
  std::vector<std::uint8_t> bytes;
};

class FrameLog {
 public:
  void Add(LoggedReport report);
  void Clear();

  std::vector<LoggedReport> All() const;
  std::vector<LoggedReport> FromHost() const;
  std::vector<LoggedReport> ToHost() const;
  // The 64-byte command frames (report id 4) received from the host.
  std::vector<Frame> CommandFrames() const;
  // The 64-byte frames (report id 4) sent to the host.
  std::vector<Frame> ReplyFrames() const;
  std::size_t CountFromHost() const;
  std::size_t CountToHost() const;

  // Bounded waits for the server thread to catch up; false on time-out.
  bool WaitForFromHost(std::size_t count, std::chrono::milliseconds timeout) const;
  bool WaitForToHost(std::size_t count, std::chrono::milliseconds timeout) const;

 private:
  std::size_t CountLocked(LoggedReport::Direction direction) const;
  bool WaitFor(LoggedReport::Direction direction, std::size_t count, std::chrono::milliseconds timeout) const;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<LoggedReport> reports_;
};

}  // namespace ostrel::devsim
