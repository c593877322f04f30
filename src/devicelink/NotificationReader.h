#pragma once
// The notification reader of a page: a thread that waits for input reports
// on the page's notification channel (the consumer-control collection) and
// hands the first button usage of each report to the page. Its read has no
// time-out; closing the channel's link ends it at once, so the owner
// signals the reader, closes the link, then waits (Stop).

#include <cstdint>
#include <functional>

#include "devicelink/DeviceChannel.h"
#include "devicelink/WorkerThread.h"

namespace ostrel {

class NotificationReader {
 public:
  using UsageCallback = std::function<void(std::uint16_t usage)>;

  static constexpr std::chrono::milliseconds kStopPoll{1};
  // While the channel is closed, or after a failed read (an unplugged link
  // fails every read at once), the reader looks again this much later
  // instead of every millisecond.
  static constexpr std::chrono::milliseconds kIdlePause{20};

  NotificationReader() = default;
  ~NotificationReader() { Stop(); }
  NotificationReader(const NotificationReader&) = delete;
  NotificationReader& operator=(const NotificationReader&) = delete;

  void Start(DeviceChannel& channel, UsageCallback onUsage);
  // Sets the stop event and waits (1000 ms bound) for the thread.
  WorkerThread::StopResult Stop();
  void Signal() { worker_.Signal(); }
  bool IsRunning() const { return worker_.IsRunning(); }

 private:
  static void Run(const StopEvent& stop, DeviceChannel& channel, const UsageCallback& onUsage);

  WorkerThread worker_;
};

}  // namespace ostrel
