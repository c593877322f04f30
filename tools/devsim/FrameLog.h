#pragma once
// Every report a simulated device received or sent, for tests to inspect.
// Thread-safe: the device's server thread adds, any thread reads.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
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
  using Listener = std::function<void(const LoggedReport& report)>;

  void Add(LoggedReport report);
  // Forgets the reports and restarts the counts.
  void Clear();
  // Keeps only the newest `reports` (0 = all, the default), so that a
  // simulator left running does not grow without end. The counts still
  // count every report.
  void SetCapacity(std::size_t reports);
  // Called for every report as it is added, on the adding thread; an empty
  // function removes it.
  void SetListener(Listener listener);

  std::vector<LoggedReport> All() const;
  std::vector<LoggedReport> FromHost() const;
  std::vector<LoggedReport> ToHost() const;
  // The 64-byte command frames (report id 4) received from the host.
  std::vector<Frame> CommandFrames() const;
  // The 64-byte frames (report id 4) sent to the host.
  std::vector<Frame> ReplyFrames() const;
  // Reports added since the start or the last Clear.
  std::size_t CountFromHost() const;
  std::size_t CountToHost() const;

  // Bounded waits for the server thread to catch up; false on time-out.
  bool WaitForFromHost(std::size_t count, std::chrono::milliseconds timeout) const;
  bool WaitForToHost(std::size_t count, std::chrono::milliseconds timeout) const;

 private:
  std::vector<LoggedReport> Select(LoggedReport::Direction direction) const;
  bool WaitFor(const std::size_t& counter, std::size_t count, std::chrono::milliseconds timeout) const;

  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::deque<LoggedReport> reports_;
  std::size_t capacity_ = 0;
  std::size_t fromHost_ = 0;
  std::size_t toHost_ = 0;
  std::mutex listenerMutex_;
  Listener listener_;
};

}  // namespace ostrel::devsim
