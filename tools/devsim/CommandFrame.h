#pragma once
// Building and checking 64-byte frames of the vendor protocol.

#include <cstdint>
#include <span>

#include "devsim/Protocol.h"

namespace ostrel::devsim {

class CommandFrame {
 public:
  // Sum of bytes 3-63 (the checksum bytes are not part of it), low 16 bits.
  static std::uint16_t Checksum(const Frame& frame);
  static void StoreChecksum(Frame& frame);
  static bool HasValidChecksum(const Frame& frame);

  static std::uint8_t Command(const Frame& frame) { return frame[kCommandByte]; }
  static std::uint8_t Length(const Frame& frame) { return frame[kLengthByte]; }
  static std::uint16_t Address(const Frame& frame) {
    return static_cast<std::uint16_t>(frame[kAddressLow] | (frame[kAddressHigh] << 8));
  }

  // A request as the host builds it (report id, command, length, address,
  // payload, checksum); used by the tools and tests that talk to a model.
  static Frame Request(std::uint8_t command, std::uint8_t length = 0, std::uint16_t address = 0,
                       std::span<const std::uint8_t> payload = {});

  // The reply skeleton for a request: report id 4, the request's command,
  // length and address echoed, the given status. The checksum is stored by
  // the caller once the data is in place.
  static Frame ReplyTo(const Frame& request, std::uint8_t status);
};

}  // namespace ostrel::devsim
