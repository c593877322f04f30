#include "devicelink/CommandFrame.h"

#include <algorithm>
#include <cstring>

namespace ostrel {

CommandFrame::CommandFrame(CommandId command, std::uint8_t length, std::uint16_t address) {
  bytes_[0] = kReportId;
  bytes_[kCommandByte] = static_cast<std::uint8_t>(command);
  bytes_[kLengthByte] = length;
  bytes_[kAddressLow] = static_cast<std::uint8_t>(address & 0xFF);
  bytes_[kAddressHigh] = static_cast<std::uint8_t>(address >> 8);
  bytes_[kStatusByte] = 0;
}

void CommandFrame::SetPayload(const std::uint8_t* data, std::size_t count) {
  std::fill(bytes_.begin() + kPayloadOffset, bytes_.end(), 0);
  if (data != nullptr && count > 0) {
    std::memcpy(bytes_.data() + kPayloadOffset, data, std::min(count, kMaxPayload));
  }
}

void CommandFrame::Seal() {
  const std::uint16_t sum = Checksum(bytes_.data());
  bytes_[kChecksumLow] = static_cast<std::uint8_t>(sum & 0xFF);
  bytes_[kChecksumHigh] = static_cast<std::uint8_t>(sum >> 8);
}

std::uint16_t CommandFrame::Checksum(const std::uint8_t* frame) {
  std::uint32_t sum = 0;
  for (std::size_t i = kChecksumFirst; i < kFrameSize; ++i) sum += frame[i];
  return static_cast<std::uint16_t>(sum & 0xFFFF);
}

}  // namespace ostrel
