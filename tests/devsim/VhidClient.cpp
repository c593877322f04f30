#include "VhidClient.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace ostrel::devsim::test {

Frame MakeRequest(std::uint8_t command, std::uint8_t length, std::uint16_t address,
                  std::span<const std::uint8_t> payload) {
  Frame frame{};
  frame[0] = 4;
  frame[3] = command;
  frame[4] = length;
  frame[5] = static_cast<std::uint8_t>(address);
  frame[6] = static_cast<std::uint8_t>(address >> 8);
  for (std::size_t i = 0; i < payload.size() && i < 56; ++i) frame[8 + i] = payload[i];
  unsigned sum = 0;
  for (std::size_t i = 3; i < 64; ++i) sum += frame[i];
  frame[1] = static_cast<std::uint8_t>(sum);
  frame[2] = static_cast<std::uint8_t>(sum >> 8);
  return frame;
}

VhidClient::VhidClient(const std::string& socketPath) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (socketPath.size() >= sizeof address.sun_path) return;
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  fd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd_);
    fd_ = -1;
  }
}

VhidClient::~VhidClient() {
  if (fd_ >= 0) ::close(fd_);
}

bool VhidClient::Send(std::span<const std::uint8_t> report) {
  if (fd_ < 0) return false;
  return ::send(fd_, report.data(), report.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(report.size());
}

VhidClient::ReadStatus VhidClient::Receive(std::vector<std::uint8_t>& report,
                                           std::chrono::milliseconds timeout) {
  if (fd_ < 0) return ReadStatus::kClosed;
  pollfd fd{fd_, POLLIN, 0};
  const int ready = ::poll(&fd, 1, static_cast<int>(timeout.count()));
  if (ready == 0) return ReadStatus::kTimeout;
  if (ready < 0) return ReadStatus::kClosed;
  report.resize(4096);
  const ssize_t received = ::recv(fd_, report.data(), report.size(), 0);
  if (received <= 0) return ReadStatus::kClosed;
  report.resize(static_cast<std::size_t>(received));
  return ReadStatus::kReport;
}

std::optional<std::vector<std::uint8_t>> VhidClient::Next(std::chrono::milliseconds timeout) {
  std::vector<std::uint8_t> report;
  if (Receive(report, timeout) != ReadStatus::kReport) return std::nullopt;
  return report;
}

std::optional<Frame> VhidClient::NextFrame(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() < 0) return std::nullopt;
    auto report = Next(left);
    if (!report) return std::nullopt;
    if (report->size() == 64 && (*report)[0] == 4) {
      Frame frame;
      std::copy(report->begin(), report->end(), frame.begin());
      return frame;
    }
  }
}

std::optional<Frame> VhidClient::Exchange(const Frame& request, std::chrono::milliseconds timeout) {
  if (!Send(request)) return std::nullopt;
  return NextFrame(timeout);
}

std::optional<std::vector<std::uint8_t>> VhidClient::ReadArea(std::uint8_t command, std::uint16_t address,
                                                              std::size_t length,
                                                              std::uint8_t* failedStatus) {
  std::vector<std::uint8_t> out;
  for (std::size_t p = 0; p < length; p += 56) {
    const std::size_t n = std::min<std::size_t>(56, length - p);
    auto reply =
        Exchange(MakeRequest(command, static_cast<std::uint8_t>(n), static_cast<std::uint16_t>(address + p)));
    if (!reply || (*reply)[3] != command) return std::nullopt;
    if ((*reply)[7] == 0xFF || (*reply)[7] == 0xFE) {
      if (failedStatus != nullptr) *failedStatus = (*reply)[7];
      return std::nullopt;
    }
    out.insert(out.end(), reply->begin() + 8, reply->begin() + 8 + static_cast<std::ptrdiff_t>(n));
  }
  return out;
}

bool VhidClient::WriteArea(std::uint8_t command, std::uint16_t address, std::span<const std::uint8_t> data,
                           std::uint8_t* failedStatus) {
  for (std::size_t p = 0; p < data.size(); p += 56) {
    const std::size_t n = std::min<std::size_t>(56, data.size() - p);
    auto reply = Exchange(MakeRequest(command, static_cast<std::uint8_t>(n),
                                      static_cast<std::uint16_t>(address + p), data.subspan(p, n)));
    if (!reply || (*reply)[3] != command) return false;
    if ((*reply)[7] == 0xFF || (*reply)[7] == 0xFE) {
      if (failedStatus != nullptr) *failedStatus = (*reply)[7];
      return false;
    }
  }
  return true;
}

bool VhidClient::WaitForClose(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::vector<std::uint8_t> report;
  while (std::chrono::steady_clock::now() < deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (Receive(report, left) == ReadStatus::kClosed) return true;
  }
  return false;
}

}  // namespace ostrel::devsim::test
