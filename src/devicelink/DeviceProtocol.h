#pragma once
// The vendor command protocol as data: frame layout, command ids, result
// codes, time-outs and the onboard memory map of each device type.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace ostrel {

// Frame layout: 64 bytes both ways, report id 4.
inline constexpr std::size_t kFrameSize = 64;
inline constexpr std::uint8_t kReportId = 4;
inline constexpr std::size_t kChecksumLow = 1;
inline constexpr std::size_t kChecksumHigh = 2;
inline constexpr std::size_t kCommandByte = 3;
inline constexpr std::size_t kLengthByte = 4;
inline constexpr std::size_t kAddressLow = 5;
inline constexpr std::size_t kAddressHigh = 6;
inline constexpr std::size_t kStatusByte = 7;
inline constexpr std::size_t kPayloadOffset = 8;
inline constexpr std::size_t kMaxPayload = kFrameSize - kPayloadOffset;  // 56
// The checksum covers bytes 3 to 63.
inline constexpr std::size_t kChecksumFirst = kCommandByte;

inline constexpr std::uint8_t kStatusFailed = 0xFF;
inline constexpr std::uint8_t kStatusRejected = 0xFE;
// QueryLink: reply byte 8 is 0xFF while the wireless link is up.
inline constexpr std::uint8_t kLinkUp = 0xFF;

// Channel defaults.
inline constexpr std::uint16_t kMaxBlockLength = 512;
inline constexpr std::uint8_t kDefaultChunkSize = 56;
inline constexpr std::uint32_t kShortTimeoutMs = 1000;
inline constexpr std::uint32_t kLongTimeoutMs = 5000;
inline constexpr std::uint32_t kEndConfigDelayMs = 10;
inline constexpr std::uint32_t kLightFailurePauseMs = 200;
// Key map blocks are addressed in units of the largest block.
inline constexpr std::uint32_t kKeyMapBlockStride = 512;

// Command ids (frame byte 3).
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

// Results of the device operations.
inline constexpr int kResultOk = 1;
inline constexpr int kResultNoReply = 0;  // also: not connected
inline constexpr int kResultWriteFailed = -1;
inline constexpr int kResultStatusFailed = -102;    // reply status 0xFF
inline constexpr int kResultStatusRejected = -103;  // reply status 0xFE
inline constexpr int kResultBadBlockIndex = -201;

// Device type codes of the catalogue.
inline constexpr int kDeviceKeyboard = 1;
inline constexpr int kDeviceMouse = 2;
inline constexpr int kDeviceMousePad = 3;
inline constexpr int kDeviceWirelessMouse = 6;
inline constexpr int kDeviceHeadset = 7;

// Device information record (reply of command 3).
inline constexpr std::size_t kDeviceInfoSize = 34;

// Power status record read by the power polling.
inline constexpr std::size_t kPowerStatusSize = 6;
inline constexpr std::uint16_t kPowerStatusAddress = 0;
inline constexpr std::size_t kPowerWirelessByte = 3;

// LED colour tables: bank 0 of 512 bytes, 3 bytes (red, green, blue) per LED.
inline constexpr std::uint32_t kLedBankSize = 512;
inline constexpr std::size_t kBytesPerLed = 3;
inline constexpr std::size_t kBytesPerKey = 3;

// The keyboard's profile record keeps the main zone's lighting mode in byte
// 1; mode 20 means per-key colours, which live in the LED colour table.
inline constexpr std::size_t kKeyboardModeByte = 1;
inline constexpr std::uint8_t kPerKeyColourMode = 20;

// Where each device type keeps its current profile index and its onboard
// profile records.
struct ProfileMemoryLayout {
  int deviceType;
  std::uint16_t readLength;
  std::uint16_t readStride;
  std::uint16_t writeLength;
  std::uint16_t writeStride;
};

inline constexpr std::uint16_t kCurrentProfileAddress = 0;
inline constexpr std::uint16_t kCurrentProfileLength = 1;
inline constexpr std::size_t kMaxProfileRecord = 71;

inline constexpr std::array<ProfileMemoryLayout, 5> kProfileMemory{{
    {kDeviceMouse, 71, 128, 66, 128},
    {kDeviceWirelessMouse, 71, 128, 66, 128},
    {kDeviceKeyboard, 46, 46, 46, 46},
    {kDeviceMousePad, 46, 46, 21, 64},
    {kDeviceHeadset, 46, 46, 21, 64},
}};

constexpr std::optional<ProfileMemoryLayout> FindProfileMemory(int deviceType) {
  for (const auto& row : kProfileMemory) {
    if (row.deviceType == deviceType) return row;
  }
  return std::nullopt;
}

// The read-device sequence of each device type: the steps in order. A
// wireless mouse additionally asks QueryLink before every step.
enum class ReadStep : std::uint8_t {
  kBeginConfig,
  kReadDeviceInfo,
  kSetBlockLength,  // key count x 3 from the device information
  kReadKeyMap,
  kReadKeyAttributes,
  kEndConfig,
};

struct ReadDeviceSequence {
  int deviceType;
  std::size_t stepCount;
  std::array<ReadStep, 6> steps;
};

inline constexpr std::array<ReadDeviceSequence, 4> kReadDeviceSequences{{
    {kDeviceMouse,
     5,
     {ReadStep::kBeginConfig, ReadStep::kReadDeviceInfo, ReadStep::kSetBlockLength, ReadStep::kReadKeyMap,
      ReadStep::kEndConfig}},
    {kDeviceWirelessMouse,
     5,
     {ReadStep::kBeginConfig, ReadStep::kReadDeviceInfo, ReadStep::kSetBlockLength, ReadStep::kReadKeyMap,
      ReadStep::kEndConfig}},
    {kDeviceKeyboard,
     6,
     {ReadStep::kBeginConfig, ReadStep::kReadDeviceInfo, ReadStep::kSetBlockLength, ReadStep::kReadKeyMap,
      ReadStep::kReadKeyAttributes, ReadStep::kEndConfig}},
    {kDeviceMousePad, 3, {ReadStep::kBeginConfig, ReadStep::kReadDeviceInfo, ReadStep::kEndConfig}},
}};

constexpr const ReadDeviceSequence* FindReadDeviceSequence(int deviceType) {
  for (const auto& row : kReadDeviceSequences) {
    if (row.deviceType == deviceType) return &row;
  }
  return nullptr;
}

}  // namespace ostrel
