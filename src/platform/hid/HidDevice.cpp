#include "platform/hid/HidDevice.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/hid/HidDescriptorParser.h"
#include "platform/os/DebugLog.h"

namespace ostrel {

namespace {

std::int64_t NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

bool DeviceGoneError(int error) {
  return error == EIO || error == ENODEV || error == ENXIO || error == EPIPE || error == ECONNRESET ||
         error == ENOTCONN || error == ESHUTDOWN || error == EBADF;
}

int ConnectSocket(const std::string& path, std::string* error) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) {
    if (error) *error = "socket path too long";
    return -1;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) {
    if (error) *error = std::strerror(errno);
    return -1;
  }
  // A full backlog answers EAGAIN; the simulator accepts quickly, so a few
  // short retries are enough before giving up.
  for (int attempt = 0;; ++attempt) {
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return fd;
    if (errno == EINTR) continue;
    if (errno != EAGAIN || attempt >= 50) break;
    poll(nullptr, 0, 10);
  }
  if (error) *error = std::strerror(errno);
  close(fd);
  return -1;
}

}  // namespace

HidDevice::HidDevice(int fd, const HidInterface& iface, HidPreparsedData collection)
    : fd_(fd),
      socket_(iface.source == HidSourceKind::Virtual),
      interface_(iface),
      preparsed_(std::move(collection)) {
  attributes_.VendorID = iface.vendorId;
  attributes_.ProductID = iface.productId;
  attributes_.VersionNumber = iface.version;
  packet_.resize(HidDescriptorParser::kMaxReportBytes + 1);
}

HidDevice::~HidDevice() {
  if (fd_ >= 0) close(fd_);
}

std::unique_ptr<HidDevice> HidDevice::Open(const HidInterface& iface, HidPreparsedData collection, bool read,
                                           bool write, std::string* error) {
  int fd = -1;
  if (iface.source == HidSourceKind::Virtual) {
    fd = ConnectSocket(iface.node, error);
  } else {
    const int access = read && write ? O_RDWR : write ? O_WRONLY : O_RDONLY;
    fd = open(iface.node.c_str(), access | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && error) *error = std::strerror(errno);
  }
  if (fd < 0) return nullptr;
  return std::unique_ptr<HidDevice>(new HidDevice(fd, iface, std::move(collection)));
}

HidDevice::Result HidDevice::Wait(short events, std::int64_t deadlineMs, bool infinite, int abortFd) {
  for (;;) {
    pollfd fds[2] = {{fd_, events, 0}, {abortFd, POLLIN, 0}};
    int timeout = -1;
    if (!infinite) timeout = static_cast<int>(std::clamp<std::int64_t>(deadlineMs - NowMs(), 0, 0x7FFFFFFF));
    const int ready = poll(fds, abortFd >= 0 ? 2 : 1, timeout);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return Result::kFailed;
    }
    if (abortFd >= 0 && (fds[1].revents & POLLIN)) return Result::kAborted;
    if (fds[0].revents & events) return Result::kOk;
    if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
      gone_ = true;
      return Result::kGone;
    }
    if (ready == 0) return Result::kTimedOut;
  }
}

HidDevice::Result HidDevice::Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t timeoutMs,
                                  int abortFd, std::uint32_t& transferred) {
  transferred = 0;
  if (gone_) return Result::kGone;
  const std::uint16_t length = preparsed_.ReportByteLength(HidP_Input);
  // As with the platform the link was written for, the buffer must hold a
  // whole report of the collection.
  if (buffer == nullptr || length == 0 || count < length) {
    if (!warnedShortRead_ && length != 0)
      DebugPrintf("HID: %s: a read of %u bytes cannot hold the %u-byte input report", interface_.name.c_str(),
                  count, length);
    warnedShortRead_ = true;
    return Result::kFailed;
  }
  const bool infinite = timeoutMs == kInfinite;
  const std::int64_t deadline = NowMs() + (infinite ? 0 : timeoutMs);
  const bool numbered = preparsed_.UsesReportIds();
  for (;;) {
    const Result waited = Wait(POLLIN, deadline, infinite, abortFd);
    if (waited != Result::kOk) return waited;
    const ssize_t got = socket_ ? recv(fd_, packet_.data(), packet_.size(), MSG_DONTWAIT)
                                : read(fd_, packet_.data(), packet_.size());
    if (got < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      if (DeviceGoneError(errno)) gone_ = true;
      return gone_ ? Result::kGone : Result::kFailed;
    }
    if (got == 0) {  // end of the connection: the device went away
      gone_ = true;
      return Result::kGone;
    }
    const std::uint8_t id = numbered ? packet_[0] : 0;
    const std::uint8_t* data = numbered ? packet_.data() + 1 : packet_.data();
    const std::size_t size = numbered ? std::size_t(got) - 1 : std::size_t(got);
    // Reports of the interface's other collections belong to their own handles.
    if (preparsed_.ReportLength(HidP_Input, id) == 0) continue;
    buffer[0] = id;
    const std::size_t copied = std::min<std::size_t>(size, length - 1u);
    std::memcpy(buffer + 1, data, copied);
    std::memset(buffer + 1 + copied, 0, length - 1u - copied);
    transferred = length;
    return Result::kOk;
  }
}

std::vector<std::uint8_t> HidDevice::OutputReport(const std::uint8_t* buffer, std::uint32_t count) {
  if (buffer == nullptr || count == 0) return {};
  const std::uint8_t id = buffer[0];
  const std::uint16_t length = preparsed_.ReportLength(HidP_Output, id);
  if (length == 0) {  // no such output report in this collection
    if (!warnedUnknownReport_)
      DebugPrintf("HID: %s: this collection has no output report %u", interface_.name.c_str(), id);
    warnedUnknownReport_ = true;
    return {};
  }
  // The report goes out at its own length: id byte (0 when unnumbered, as
  // hidraw expects), then its data, zero-filled when the caller gave less.
  std::vector<std::uint8_t> report(length, 0);
  std::memcpy(report.data(), buffer, std::min<std::size_t>(count, length));
  return report;
}

HidDevice::Result HidDevice::SetOutputReport(const std::uint8_t* buffer, std::uint32_t count) {
  if (gone_) return Result::kGone;
  std::vector<std::uint8_t> report = OutputReport(buffer, count);
  if (report.empty()) return Result::kFailed;
  if (!socket_) {
    // Kernels before 5.11 do not know the request; an interrupt-pipe write
    // reaches the same device then.
    if (ioctl(fd_, HIDIOCSOUTPUT(report.size()), report.data()) >= 0) return Result::kOk;
    if (errno != ENOTTY && errno != EINVAL && errno != ENOSYS) {
      if (DeviceGoneError(errno)) gone_ = true;
      return gone_ ? Result::kGone : Result::kFailed;
    }
  }
  std::uint32_t transferred = 0;
  return Write(report.data(), static_cast<std::uint32_t>(report.size()), 5000, -1, transferred);
}

HidDevice::Result HidDevice::Write(const std::uint8_t* buffer, std::uint32_t count, std::uint32_t timeoutMs,
                                   int abortFd, std::uint32_t& transferred) {
  transferred = 0;
  if (gone_) return Result::kGone;
  const std::vector<std::uint8_t> report = OutputReport(buffer, count);
  if (report.empty()) return Result::kFailed;
  const bool infinite = timeoutMs == kInfinite;
  const std::int64_t deadline = NowMs() + (infinite ? 0 : timeoutMs);
  for (;;) {
    const Result waited = Wait(POLLOUT, deadline, infinite, abortFd);
    if (waited != Result::kOk) return waited;
    const ssize_t sent = socket_ ? send(fd_, report.data(), report.size(), MSG_DONTWAIT | MSG_NOSIGNAL)
                                 : write(fd_, report.data(), report.size());
    if (sent < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      if (DeviceGoneError(errno)) gone_ = true;
      return gone_ ? Result::kGone : Result::kFailed;
    }
    if (std::size_t(sent) != report.size()) return Result::kFailed;
    transferred = count;
    return Result::kOk;
  }
}

}  // namespace ostrel
