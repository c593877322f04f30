#include "devsim/FrameLog.h"

#include <algorithm>

namespace ostrel::devsim {
namespace {

std::vector<Frame> FramesOf(const std::vector<LoggedReport>& reports, LoggedReport::Direction direction) {
  std::vector<Frame> frames;
  for (const LoggedReport& report : reports) {
    if (report.direction != direction || report.bytes.size() != kFrameSize ||
        report.bytes[0] != kVendorReportId) {
      continue;
    }
    Frame frame;
    std::copy(report.bytes.begin(), report.bytes.end(), frame.begin());
    frames.push_back(frame);
  }
  return frames;
}

}  // namespace

void FrameLog::Add(LoggedReport report) {
  {
    std::lock_guard lock(mutex_);
    reports_.push_back(std::move(report));
  }
  changed_.notify_all();
}

void FrameLog::Clear() {
  std::lock_guard lock(mutex_);
  reports_.clear();
}

std::vector<LoggedReport> FrameLog::All() const {
  std::lock_guard lock(mutex_);
  return reports_;
}

std::vector<LoggedReport> FrameLog::FromHost() const {
  std::lock_guard lock(mutex_);
  std::vector<LoggedReport> out;
  std::copy_if(reports_.begin(), reports_.end(), std::back_inserter(out),
               [](const LoggedReport& r) { return r.direction == LoggedReport::Direction::kFromHost; });
  return out;
}

std::vector<LoggedReport> FrameLog::ToHost() const {
  std::lock_guard lock(mutex_);
  std::vector<LoggedReport> out;
  std::copy_if(reports_.begin(), reports_.end(), std::back_inserter(out),
               [](const LoggedReport& r) { return r.direction == LoggedReport::Direction::kToHost; });
  return out;
}

std::vector<Frame> FrameLog::CommandFrames() const {
  std::lock_guard lock(mutex_);
  return FramesOf(reports_, LoggedReport::Direction::kFromHost);
}

std::vector<Frame> FrameLog::ReplyFrames() const {
  std::lock_guard lock(mutex_);
  return FramesOf(reports_, LoggedReport::Direction::kToHost);
}

std::size_t FrameLog::CountLocked(LoggedReport::Direction direction) const {
  return static_cast<std::size_t>(std::count_if(
      reports_.begin(), reports_.end(), [&](const LoggedReport& r) { return r.direction == direction; }));
}

std::size_t FrameLog::CountFromHost() const {
  std::lock_guard lock(mutex_);
  return CountLocked(LoggedReport::Direction::kFromHost);
}

std::size_t FrameLog::CountToHost() const {
  std::lock_guard lock(mutex_);
  return CountLocked(LoggedReport::Direction::kToHost);
}

bool FrameLog::WaitFor(LoggedReport::Direction direction, std::size_t count,
                       std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return CountLocked(direction) >= count; });
}

bool FrameLog::WaitForFromHost(std::size_t count, std::chrono::milliseconds timeout) const {
  return WaitFor(LoggedReport::Direction::kFromHost, count, timeout);
}

bool FrameLog::WaitForToHost(std::size_t count, std::chrono::milliseconds timeout) const {
  return WaitFor(LoggedReport::Direction::kToHost, count, timeout);
}

}  // namespace ostrel::devsim
