#include "devicelink/DeviceChannel.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "devicelink/CommandFrame.h"
#include "platform/os/DebugLog.h"

namespace ostrel {

DeviceChannel::DeviceChannel() = default;

DeviceChannel::~DeviceChannel() {
  connected_.store(false);
  link_.Close();
}

bool DeviceChannel::SetBlockLength(std::uint16_t length) {
  if (length > kMaxBlockLength) return false;
  blockLength_.store(length);
  return true;
}

void DeviceChannel::SetChunkSize(std::uint8_t size) {
  chunkSize_.store(std::clamp<std::uint8_t>(size, 1, static_cast<std::uint8_t>(kMaxPayload)));
}

bool DeviceChannel::Connect(const std::string& path, bool longTimeout) {
  std::lock_guard<std::recursive_mutex> lock(transportLock_);
  if (connected_.load()) return true;
  if (!link_.Open(path, true, true, true, false)) return false;
  longTimeout_.store(longTimeout);
  connected_.store(true);
  return true;
}

void DeviceChannel::Disconnect() {
  // No transport lock: the thread blocked in a transfer holds it, and Close
  // is what releases that thread.
  connected_.store(false);
  link_.Close();
}

int DeviceChannel::Transact(const std::uint8_t* request, std::size_t requestLength, std::uint8_t* reply,
                            std::size_t replyLength, std::uint32_t* bytesRead, std::uint32_t timeoutMs,
                            bool secondRead, std::uint8_t* receivedCopy) {
  std::array<std::uint8_t, kFrameSize> report{};
  std::memcpy(report.data(), request, std::min(requestLength, kFrameSize));

  {
    std::lock_guard<std::recursive_mutex> lock(transportLock_);
    if (!link_.Write(static_cast<std::uint32_t>(report.size()), report.data(), timeoutMs)) {
      return kResultWriteFailed;
    }
  }

  std::lock_guard<std::recursive_mutex> lock(transportLock_);
  const std::size_t readLength = std::min(replyLength, kFrameSize);
  const int reads = secondRead ? 2 : 1;
  bool answered = false;
  for (int attempt = 0; attempt < reads && !answered; ++attempt) {
    received_.fill(0);
    receivedCount_ = 0;
    if (!link_.Read(static_cast<std::uint32_t>(readLength), received_.data(), timeoutMs, &receivedCount_)) {
      break;
    }
    // A reply to another command, or stale data, is not the answer.
    answered = receivedCount_ > kCommandByte && received_[kCommandByte] == report[kCommandByte];
  }
  if (receivedCopy != nullptr) std::memcpy(receivedCopy, received_.data(), received_.size());
  if (!answered) return kResultNoReply;
  if (readLength > 0) std::memcpy(reply, received_.data(), readLength);
  if (bytesRead != nullptr) *bytesRead = receivedCount_;
  return kResultOk;
}

int DeviceChannel::Exchange(const std::uint8_t* request, std::size_t requestLength, std::uint8_t* reply,
                            std::size_t replyLength, std::uint32_t* bytesRead) {
  busy_.fetch_add(1);
  if (bytesRead != nullptr) *bytesRead = 0;
  int result = kResultNoReply;
  if (connected_.load()) {
    std::array<std::uint8_t, kFrameSize> report{};
    std::memcpy(report.data(), request, std::min(requestLength, kFrameSize));
    LogFrame("命令", report.data(), report.size());
    std::array<std::uint8_t, kFrameSize> received{};
    result = Transact(report.data(), report.size(), reply, replyLength, bytesRead, TimeoutMs(), true,
                      received.data());
    if (result != kResultWriteFailed) LogFrame("返回", received.data(), received.size());
  }
  busy_.fetch_sub(1);
  return result;
}

int DeviceChannel::QuickExchange(const std::uint8_t* request, std::size_t requestLength, std::uint8_t* reply,
                                 std::size_t replyLength, std::uint32_t* bytesRead) {
  if (bytesRead != nullptr) *bytesRead = 0;
  if (!connected_.load()) return kResultNoReply;
  return Transact(request, requestLength, reply, replyLength, bytesRead, kShortTimeoutMs, false, nullptr);
}

int DeviceChannel::CheckStatus(const std::uint8_t* reply) {
  if (reply[kStatusByte] == kStatusFailed) return kResultStatusFailed;
  if (reply[kStatusByte] == kStatusRejected) return kResultStatusRejected;
  return kResultOk;
}

int DeviceChannel::SendFrame(CommandId command, Guard guard, std::uint8_t length, std::uint16_t address,
                             const std::uint8_t* payload, std::uint8_t* reply) {
  CommandFrame frame(command, length, address);
  if (payload != nullptr) frame.SetPayload(payload, length);
  frame.Seal();

  std::fill(reply, reply + kFrameSize, 0);
  int result = kResultNoReply;
  switch (guard) {
    case Guard::kCommand: {
      std::lock_guard<std::recursive_mutex> lock(commandLock_);
      result = Exchange(frame.data(), frame.size(), reply, kFrameSize, nullptr);
      break;
    }
    case Guard::kLight: {
      std::lock_guard<std::recursive_mutex> lock(lightLock_);
      result = Exchange(frame.data(), frame.size(), reply, kFrameSize, nullptr);
      break;
    }
    case Guard::kNone:
      result = Exchange(frame.data(), frame.size(), reply, kFrameSize, nullptr);
      break;
  }
  if (result != kResultOk) return result;
  return CheckStatus(reply);
}

int DeviceChannel::Transfer(CommandId command, Guard guard, std::size_t total, std::uint32_t base,
                            std::size_t chunk, const std::uint8_t* data, std::uint8_t* out) {
  std::array<std::uint8_t, kFrameSize> reply{};
  for (std::size_t p = 0; p < total; p += chunk) {
    const std::size_t n = p + chunk < total ? chunk : total - p;
    const auto address = static_cast<std::uint16_t>((base + p) & 0xFFFF);
    const int result = SendFrame(command, guard, static_cast<std::uint8_t>(n), address,
                                 data != nullptr ? data + p : nullptr, reply.data());
    if (result != kResultOk) return result;
    if (out != nullptr) std::memcpy(out + p, reply.data() + kPayloadOffset, n);
  }
  return kResultOk;
}

int DeviceChannel::BeginConfig() {
  std::array<std::uint8_t, kFrameSize> reply{};
  return SendFrame(CommandId::kBeginConfig, Guard::kCommand, 0, 0, nullptr, reply.data());
}

int DeviceChannel::EndConfig() {
  // The device needs a moment after the last configuration frame.
  std::this_thread::sleep_for(std::chrono::milliseconds(kEndConfigDelayMs));
  std::array<std::uint8_t, kFrameSize> reply{};
  return SendFrame(CommandId::kEndConfig, Guard::kCommand, 0, 0, nullptr, reply.data());
}

int DeviceChannel::EndConfigAfter(std::chrono::steady_clock::time_point lastFrame) {
  std::this_thread::sleep_until(lastFrame + std::chrono::milliseconds(kEndConfigDelayMs));
  std::array<std::uint8_t, kFrameSize> reply{};
  return SendFrame(CommandId::kEndConfig, Guard::kCommand, 0, 0, nullptr, reply.data());
}

int DeviceChannel::StartHostLighting() {
  std::array<std::uint8_t, kFrameSize> reply{};
  return SendFrame(CommandId::kStartHostLighting, Guard::kCommand, 0, 0, nullptr, reply.data());
}

bool DeviceChannel::QueryLink() {
  std::array<std::uint8_t, kFrameSize> reply{};
  return SendFrame(CommandId::kQueryLink, Guard::kCommand, 0, 0, nullptr, reply.data()) == kResultOk &&
         reply[kPayloadOffset] == kLinkUp;
}

int DeviceChannel::ReadDeviceInfo(std::uint8_t* info) {
  std::array<std::uint8_t, kDeviceInfoSize> record{};
  const int result = Transfer(CommandId::kReadDeviceInfo, Guard::kCommand, record.size(), 0, ChunkSize(),
                              nullptr, record.data());
  if (result == kResultOk) std::memcpy(info, record.data(), record.size());
  return result;
}

int DeviceChannel::ReadMemory(std::uint8_t* out, std::size_t length, std::uint16_t address) {
  return Transfer(CommandId::kReadMemory, Guard::kCommand, length, address, ChunkSize(), nullptr, out);
}

int DeviceChannel::WriteMemory(const std::uint8_t* data, std::size_t length, std::uint16_t address) {
  return Transfer(CommandId::kWriteMemory, Guard::kCommand, length, address, ChunkSize(), data, nullptr);
}

int DeviceChannel::ReadKeyMap(std::uint8_t* out) {
  return Transfer(CommandId::kReadKeyMap, Guard::kCommand, BlockLength(), 0, ChunkSize(), nullptr, out);
}

int DeviceChannel::WriteKeyMap(const std::uint8_t* data, int blockIndex) {
  if (blockIndex != 0) return kResultBadBlockIndex;
  const auto base = static_cast<std::uint32_t>(blockIndex) * kKeyMapBlockStride;
  return Transfer(CommandId::kWriteKeyMap, Guard::kCommand, BlockLength(), base, ChunkSize(), data, nullptr);
}

int DeviceChannel::ReadKeyAttributes(std::uint8_t* out) {
  return Transfer(CommandId::kReadKeyAttributes, Guard::kCommand, BlockLength() / kBytesPerKey, 0,
                  ChunkSize(), nullptr, out);
}

int DeviceChannel::ReadLedColours(std::uint8_t* out, std::size_t length, std::uint32_t bank,
                                  std::uint32_t bankSize) {
  return Transfer(CommandId::kReadLedColours, Guard::kCommand, length, bank * bankSize, ChunkSize(), nullptr,
                  out);
}

int DeviceChannel::WriteLedColours(const std::uint8_t* data, std::size_t length, std::uint32_t bank,
                                   std::uint32_t bankSize) {
  return Transfer(CommandId::kWriteLedColours, Guard::kLight, length, bank * bankSize, ChunkSize(), data,
                  nullptr);
}

int DeviceChannel::StreamLedFrame(const std::uint8_t* data, std::size_t length) {
  const std::size_t chunk = ChunkSize();
  std::array<std::uint8_t, kFrameSize> reply{};
  for (std::size_t p = 0; p < length; p += chunk) {
    const std::size_t n = p + chunk < length ? chunk : length - p;
    // A configuration exchange is running: the next animation step will
    // bring a fresh frame anyway.
    if (IsBusy()) {
      OutputDebugString("放弃灯光数据");
      continue;
    }
    // Over a wireless receiver the stream would crowd out configuration.
    if (HasLongTimeout()) continue;

    CommandFrame frame(CommandId::kStreamLedFrame, static_cast<std::uint8_t>(n),
                       static_cast<std::uint16_t>(p & 0xFFFF));
    frame.SetPayload(data + p, n);
    frame.Seal();
    int result;
    {
      std::lock_guard<std::recursive_mutex> lock(lightLock_);
      result = QuickExchange(frame.data(), frame.size(), reply.data(), reply.size(), nullptr);
    }
    if (result != kResultOk) return result;
    result = CheckStatus(reply.data());
    if (result != kResultOk) return result;
  }
  return kResultOk;
}

int DeviceChannel::WriteMacroData(const std::uint8_t* data, std::size_t length) {
  return Transfer(CommandId::kWriteMacroData, Guard::kCommand, length, 0, ChunkSize(), data, nullptr);
}

int DeviceChannel::WriteShootData(const std::uint8_t* data, std::size_t length) {
  return Transfer(CommandId::kWriteShootData, Guard::kNone, length, 0, kMaxPayload, data, nullptr);
}

int DeviceChannel::ReadPowerStatus(std::uint8_t* out, std::size_t length, std::uint16_t address) {
  const std::size_t n = std::min(length, kMaxPayload);
  std::array<std::uint8_t, kFrameSize> reply{};
  const int result = SendFrame(CommandId::kReadPowerStatus, Guard::kCommand, static_cast<std::uint8_t>(n),
                               address, nullptr, reply.data());
  if (result == kResultOk && n > 0) std::memcpy(out, reply.data() + kPayloadOffset, n);
  return result;
}

}  // namespace ostrel
