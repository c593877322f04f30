#include "devsim/FrameLog.h"

#include <algorithm>

namespace ostrel::devsim {
namespace {

std::vector<Frame> FramesOf(const std::deque<LoggedReport>& reports, LoggedReport::Direction direction) {
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
    std::lock_guard lock(listenerMutex_);
    if (listener_) listener_(report);
  }
  {
    std::lock_guard lock(mutex_);
    ++(report.direction == LoggedReport::Direction::kFromHost ? fromHost_ : toHost_);
    reports_.push_back(std::move(report));
    if (capacity_ != 0 && reports_.size() > capacity_) reports_.pop_front();
  }
  changed_.notify_all();
}

void FrameLog::Clear() {
  std::lock_guard lock(mutex_);
  reports_.clear();
  fromHost_ = toHost_ = 0;
}

void FrameLog::SetCapacity(std::size_t reports) {
  std::lock_guard lock(mutex_);
  capacity_ = reports;
  while (capacity_ != 0 && reports_.size() > capacity_) reports_.pop_front();
}

void FrameLog::SetListener(Listener listener) {
  std::lock_guard lock(listenerMutex_);
  listener_ = std::move(listener);
}

std::vector<LoggedReport> FrameLog::All() const {
  std::lock_guard lock(mutex_);
  return {reports_.begin(), reports_.end()};
}

std::vector<LoggedReport> FrameLog::Select(LoggedReport::Direction direction) const {
  std::lock_guard lock(mutex_);
  std::vector<LoggedReport> out;
  std::copy_if(reports_.begin(), reports_.end(), std::back_inserter(out),
               [&](const LoggedReport& r) { return r.direction == direction; });
  return out;
}

std::vector<LoggedReport> FrameLog::FromHost() const { return Select(LoggedReport::Direction::kFromHost); }
std::vector<LoggedReport> FrameLog::ToHost() const { return Select(LoggedReport::Direction::kToHost); }

std::vector<Frame> FrameLog::CommandFrames() const {
  std::lock_guard lock(mutex_);
  return FramesOf(reports_, LoggedReport::Direction::kFromHost);
}

std::vector<Frame> FrameLog::ReplyFrames() const {
  std::lock_guard lock(mutex_);
  return FramesOf(reports_, LoggedReport::Direction::kToHost);
}

std::size_t FrameLog::CountFromHost() const {
  std::lock_guard lock(mutex_);
  return fromHost_;
}

std::size_t FrameLog::CountToHost() const {
  std::lock_guard lock(mutex_);
  return toHost_;
}

bool FrameLog::WaitFor(const std::size_t& counter, std::size_t count,
                       std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, timeout, [&] { return counter >= count; });
}

bool FrameLog::WaitForFromHost(std::size_t count, std::chrono::milliseconds timeout) const {
  return WaitFor(fromHost_, count, timeout);
}

bool FrameLog::WaitForToHost(std::size_t count, std::chrono::milliseconds timeout) const {
  return WaitFor(toHost_, count, timeout);
}

}  // namespace ostrel::devsim
