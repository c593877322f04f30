#include "devsim/CommandFrame.h"

#include <algorithm>

namespace ostrel::devsim {

std::uint16_t CommandFrame::Checksum(const Frame& frame) {
  std::uint32_t sum = 0;
  for (std::size_t i = kCommandByte; i < kFrameSize; ++i) sum += frame[i];
  return static_cast<std::uint16_t>(sum & 0xFFFF);
}

void CommandFrame::StoreChecksum(Frame& frame) {
  const std::uint16_t sum = Checksum(frame);
  frame[kChecksumLow] = static_cast<std::uint8_t>(sum & 0xFF);
  frame[kChecksumHigh] = static_cast<std::uint8_t>(sum >> 8);
}

bool CommandFrame::HasValidChecksum(const Frame& frame) {
  const std::uint16_t sum = Checksum(frame);
  return frame[kChecksumLow] == (sum & 0xFF) && frame[kChecksumHigh] == (sum >> 8);
}

Frame CommandFrame::Request(std::uint8_t command, std::uint8_t length, std::uint16_t address,
                            std::span<const std::uint8_t> payload) {
  Frame frame{};
  frame[0] = kVendorReportId;
  frame[kCommandByte] = command;
  frame[kLengthByte] = length;
  frame[kAddressLow] = static_cast<std::uint8_t>(address & 0xFF);
  frame[kAddressHigh] = static_cast<std::uint8_t>(address >> 8);
  std::copy_n(payload.begin(), std::min(payload.size(), kMaxPayload), frame.begin() + kDataByte);
  StoreChecksum(frame);
  return frame;
}

Frame CommandFrame::ReplyTo(const Frame& request, std::uint8_t status) {
  Frame reply{};
  reply[0] = kVendorReportId;
  reply[kCommandByte] = request[kCommandByte];
  reply[kLengthByte] = request[kLengthByte];
  reply[kAddressLow] = request[kAddressLow];
  reply[kAddressHigh] = request[kAddressHigh];
  reply[kStatusByte] = status;
  return reply;
}

}  // namespace ostrel::devsim
