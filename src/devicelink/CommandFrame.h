#pragma once
// One 64-byte request frame of the vendor protocol: report id 4, command id,
// this frame's length and address, payload, and the checksum of bytes 3-63.

#include <array>
#include <cstddef>
#include <cstdint>

#include "devicelink/DeviceProtocol.h"

namespace ostrel {

class CommandFrame {
 public:
  // A cleared frame for the command; length and address of this frame.
  CommandFrame(CommandId command, std::uint8_t length = 0, std::uint16_t address = 0);

  // Copies up to 56 payload bytes from byte 8 on; the rest stays 0.
  void SetPayload(const std::uint8_t* data, std::size_t count);

  // Stores the checksum in bytes 1-2. Call after the last change.
  void Seal();

  // The unsigned sum of bytes 3-63, low 16 bits (bytes 1-2 are not summed).
  static std::uint16_t Checksum(const std::uint8_t* frame);

  const std::uint8_t* data() const { return bytes_.data(); }
  std::uint8_t* data() { return bytes_.data(); }
  static constexpr std::size_t size() { return kFrameSize; }
  std::uint8_t operator[](std::size_t i) const { return bytes_[i]; }

 private:
  std::array<std::uint8_t, kFrameSize> bytes_{};
};

}  // namespace ostrel
