#pragma once
// The vendor protocol as the firmware sees it: one 64-byte output report per
// command, one 64-byte input report per reply, report id 4 first.

#include <array>
#include <cstdint>

namespace ostrel::devsim {

using Frame = std::array<std::uint8_t, 64>;

inline constexpr std::size_t kFrameSize = 64;
inline constexpr std::size_t kMaxPayload = 56;  // frame bytes 8-63
inline constexpr std::size_t kDeviceInfoSize = 34;

inline constexpr std::uint8_t kKeyboardReportId = 1;
inline constexpr std::uint8_t kSecondReportId = 2;
inline constexpr std::uint8_t kConsumerReportId = 3;
inline constexpr std::uint8_t kVendorReportId = 4;
inline constexpr std::uint8_t kHeadsetLedReportId = 0xFF;
inline constexpr std::size_t kHeadsetLedReportSize = 17;

// Frame byte positions.
inline constexpr std::size_t kChecksumLow = 1;
inline constexpr std::size_t kChecksumHigh = 2;
inline constexpr std::size_t kCommandByte = 3;
inline constexpr std::size_t kLengthByte = 4;
inline constexpr std::size_t kAddressLow = 5;
inline constexpr std::size_t kAddressHigh = 6;
inline constexpr std::size_t kStatusByte = 7;
inline constexpr std::size_t kDataByte = 8;

// Reply status (byte 7). The host treats 0xFF and 0xFE as errors.
inline constexpr std::uint8_t kStatusOk = 0x01;
inline constexpr std::uint8_t kStatusInvalid = 0xFF;   // outside the device's areas, bad length, unknown id
inline constexpr std::uint8_t kStatusRejected = 0xFE;  // bad checksum, mouse out of reach of the receiver

// QueryLink reply byte 8.
inline constexpr std::uint8_t kLinkUp = 0xFF;
inline constexpr std::uint8_t kLinkDown = 0x00;

enum class CommandId : std::uint8_t {
  kBeginConfig = 1,
  kEndConfig = 2,
  kReadDeviceInfo = 3,
  kReadMemory = 5,
  kWriteMemory = 6,
  kReadKeyMap = 7,
  kWriteKeyMap = 9,
  kReadLedColours = 10,
  kWriteLedColours = 11,
  kStreamLedFrame = 18,
  kWriteMacroData = 21,
  kWriteShootData = 23,
  kReadPowerStatus = 26,
  kReadKeyAttributes = 27,
  kStartHostLighting = 28,
  kQueryLink = 0xAA,
};

// Notification usages on the consumer collection.
inline constexpr std::uint16_t kUsageProfileChanged = 0x0401;
inline constexpr std::uint16_t kUsageProfileReload = 0x0402;
inline constexpr std::uint16_t kUsageKeyEvent1 = 0x0500;  // + device key slot
inline constexpr std::uint16_t kUsageKeyEvent2 = 0x0600;  // + device key slot
inline constexpr std::uint16_t kHighestNotificationUsage = 0x06FF;

}  // namespace ostrel::devsim
