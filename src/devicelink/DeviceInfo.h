#pragma once
// The device information record (34 bytes, command 3) and the fields the
// host uses of it.

#include <array>
#include <cstdint>

#include "devicelink/DeviceProtocol.h"

namespace ostrel {

class DeviceInfo {
 public:
  DeviceInfo() = default;
  explicit DeviceInfo(const std::array<std::uint8_t, kDeviceInfoSize>& bytes) : bytes_(bytes) {}

  // Number of key slots; the key map is key count x 3 bytes.
  int KeyCount() const { return bytes_[5]; }
  // Size of the macro area in bytes (the record counts units of 128).
  int MacroAreaBytes() const { return bytes_[6] * 128; }
  // DPI stage values count in steps of this many DPI.
  int DpiStep() const { return bytes_[11]; }
  int HighestDpiSteps() const { return bytes_[12] | (bytes_[13] << 8); }
  int LowestDpi() const { return bytes_[14] | (bytes_[15] << 8); }
  int KeyMapLength() const { return KeyCount() * static_cast<int>(kBytesPerKey); }

  const std::array<std::uint8_t, kDeviceInfoSize>& Bytes() const { return bytes_; }
  std::array<std::uint8_t, kDeviceInfoSize>& Bytes() { return bytes_; }

 private:
  std::array<std::uint8_t, kDeviceInfoSize> bytes_{};
};

}  // namespace ostrel
