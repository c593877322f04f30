#pragma once
// One open top-level collection of a HID interface: the platform handle
// behind an open link. Reads deliver only the collection's own input
// reports, report id first (0 when the interface does not number its
// reports) and padded to the collection's input report length; writes send
// a report at its real length. Waits use poll with an abort descriptor, so
// a transfer is never left pending after a call returns.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/hid/HidInterface.h"
#include "platform/hid/HidPreparsedData.h"
#include "platform/hid/HidTypes.h"

namespace ostrel {

class HidDevice {
 public:
  enum class Result { kOk, kTimedOut, kAborted, kFailed, kGone };
  static constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

  // Opens the node of the interface for the given collection. Null on
  // failure, with the reason in `error`.
  static std::unique_ptr<HidDevice> Open(const HidInterface& iface, HidPreparsedData collection, bool read,
                                         bool write, std::string* error);
  ~HidDevice();
  HidDevice(const HidDevice&) = delete;
  HidDevice& operator=(const HidDevice&) = delete;

  const HidPreparsedData& Preparsed() const { return preparsed_; }
  const HIDD_ATTRIBUTES& Attributes() const { return attributes_; }
  const HidInterface& Interface() const { return interface_; }
  bool IsGone() const { return gone_; }

  // `abortFd` (an eventfd, or -1) ends the wait when it becomes readable.
  Result Read(std::uint8_t* buffer, std::uint32_t count, std::uint32_t timeoutMs, int abortFd,
              std::uint32_t& transferred);
  Result Write(const std::uint8_t* buffer, std::uint32_t count, std::uint32_t timeoutMs, int abortFd,
               std::uint32_t& transferred);
  // An output report sent the way a SET_REPORT request sends it (the
  // control pipe on hidraw; a packet like any other on a virtual interface).
  Result SetOutputReport(const std::uint8_t* buffer, std::uint32_t count);

 private:
  HidDevice(int fd, const HidInterface& iface, HidPreparsedData collection);
  // Waits for `events` on the node; kOk when they are there.
  Result Wait(short events, std::int64_t deadlineMs, bool infinite, int abortFd);
  // The report at its real length; empty when the collection has no such output report.
  std::vector<std::uint8_t> OutputReport(const std::uint8_t* buffer, std::uint32_t count);

  int fd_ = -1;
  bool socket_ = false;
  bool gone_ = false;
  // Misuse is logged once, not at every call of a polling loop.
  bool warnedShortRead_ = false;
  bool warnedUnknownReport_ = false;
  HidInterface interface_;
  HidPreparsedData preparsed_;
  HIDD_ATTRIBUTES attributes_;
  std::vector<std::uint8_t> packet_;
};

}  // namespace ostrel
