#pragma once
// A host end of a virtual HID interface for the tests: a raw SOCK_SEQPACKET
// connection, one packet per report, with bounded waits.

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "devsim/Protocol.h"

namespace ostrel::devsim::test {

// A request frame built the way the host builds one, with its own checksum
// code so that a fault in the simulator's is not mirrored here.
Frame MakeRequest(std::uint8_t command, std::uint8_t length = 0, std::uint16_t address = 0,
                  std::span<const std::uint8_t> payload = {});

class VhidClient {
 public:
  enum class ReadStatus { kReport, kTimeout, kClosed };

  explicit VhidClient(const std::string& socketPath);
  ~VhidClient();
  VhidClient(const VhidClient&) = delete;
  VhidClient& operator=(const VhidClient&) = delete;

  bool Connected() const { return fd_ >= 0; }
  bool Send(std::span<const std::uint8_t> report);
  ReadStatus Receive(std::vector<std::uint8_t>& report, std::chrono::milliseconds timeout);
  // The next report, or nothing on time-out or end of file.
  std::optional<std::vector<std::uint8_t>> Next(std::chrono::milliseconds timeout = std::chrono::seconds(2));
  // The next 64-byte report with id 4, skipping other reports.
  std::optional<Frame> NextFrame(std::chrono::milliseconds timeout = std::chrono::seconds(2));
  // Sends a request and returns the next frame.
  std::optional<Frame> Exchange(const Frame& request,
                                std::chrono::milliseconds timeout = std::chrono::seconds(2));
  // Multi-frame read as the host does it: 56 bytes a frame at rising addresses.
  std::optional<std::vector<std::uint8_t>> ReadArea(std::uint8_t command, std::uint16_t address,
                                                    std::size_t length, std::uint8_t* failedStatus = nullptr);
  // Multi-frame write; false when a frame is not answered with success.
  bool WriteArea(std::uint8_t command, std::uint16_t address, std::span<const std::uint8_t> data,
                 std::uint8_t* failedStatus = nullptr);
  // True when the simulator closed the connection (end of file) in time.
  bool WaitForClose(std::chrono::milliseconds timeout = std::chrono::seconds(2));

 private:
  int fd_ = -1;
};

}  // namespace ostrel::devsim::test
