#include "devicelink/DeviceOperations.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace ostrel {

namespace {

void PauseAfterLightFailure() {
  std::this_thread::sleep_for(std::chrono::milliseconds(kLightFailurePauseMs));
}

}  // namespace

DeviceOperations::DeviceOperations(DeviceChannel& channel, int deviceType)
    : channel_(channel), deviceType_(deviceType) {}

bool DeviceOperations::LinkUp() { return !channel_.HasLongTimeout() || channel_.QueryLink(); }

int DeviceOperations::ReadDevice() {
  const ReadDeviceSequence* sequence = FindReadDeviceSequence(deviceType_);
  if (sequence == nullptr) return kResultNoReply;

  for (std::size_t i = 0; i < sequence->stepCount; ++i) {
    const ReadStep step = sequence->steps[i];
    if (step == ReadStep::kSetBlockLength) {
      // More keys than one block holds: the key map cannot be read.
      if (!channel_.SetBlockLength(static_cast<std::uint16_t>(info_.KeyMapLength()))) return kResultNoReply;
      continue;
    }
    if (!LinkUp()) return kResultNoReply;
    int result = kResultNoReply;
    switch (step) {
      case ReadStep::kBeginConfig:
        result = channel_.BeginConfig();
        break;
      case ReadStep::kReadDeviceInfo: {
        DeviceInfo info;
        result = channel_.ReadDeviceInfo(info.Bytes().data());
        if (result == kResultOk) info_ = info;
        break;
      }
      case ReadStep::kReadKeyMap: {
        std::array<std::uint8_t, kMaxBlockLength> keyMap{};
        result = channel_.ReadKeyMap(keyMap.data());
        if (result == kResultOk) {
          keyMap_ = keyMap;
          keyMapLength_ = channel_.BlockLength();
          keyMapRead_ = true;
        }
        break;
      }
      case ReadStep::kReadKeyAttributes: {
        std::array<std::uint8_t, kMaxBlockLength / kBytesPerKey> attributes{};
        result = channel_.ReadKeyAttributes(attributes.data());
        if (result == kResultOk) {
          keyAttributes_ = attributes;
          keyAttributeCount_ = channel_.BlockLength() / kBytesPerKey;
        }
        break;
      }
      case ReadStep::kEndConfig:
        result = channel_.EndConfig();
        break;
      case ReadStep::kSetBlockLength:
        break;
    }
    if (result != kResultOk) return result;
  }
  return kResultOk;
}

int DeviceOperations::ReadCurrentProfile() {
  channel_.SetPaused(false);
  if (!channel_.IsConnected()) return kResultNoReply;
  const auto layout = FindProfileMemory(deviceType_);
  if (!layout) return kResultNoReply;

  if (!LinkUp()) return kResultNoReply;
  std::uint8_t index = 0;
  int result = channel_.ReadMemory(&index, kCurrentProfileLength, kCurrentProfileAddress);
  if (result != kResultOk) return result;
  profileIndex_ = index;

  if (!LinkUp()) return kResultNoReply;
  std::array<std::uint8_t, kMaxProfileRecord> record{};
  const auto address = static_cast<std::uint16_t>(index * layout->readStride);
  result = channel_.ReadMemory(record.data(), layout->readLength, address);
  if (result != kResultOk) return result;
  profileRecord_ = record;
  profileRecordLength_ = layout->readLength;

  if (deviceType_ == kDeviceKeyboard && record[kKeyboardModeByte] == kPerKeyColourMode) {
    if (!LinkUp()) return kResultNoReply;
    const std::size_t length =
        std::min<std::size_t>(static_cast<std::size_t>(info_.KeyMapLength()), ledColours_.size());
    std::array<std::uint8_t, kLedBankSize> colours{};
    result = channel_.ReadLedColours(colours.data(), length, 0, kLedBankSize);
    if (result != kResultOk) return result;
    ledColours_ = colours;
    ledColourLength_ = length;
  }
  return kResultOk;
}

int DeviceOperations::RefreshDeviceInfo() {
  if (!LinkUp()) return kResultNoReply;
  DeviceInfo info;
  const int result = channel_.ReadDeviceInfo(info.Bytes().data());
  if (result == kResultOk) info_ = info;
  return result;
}

int DeviceOperations::WriteKeyMap(std::span<const std::uint8_t> keyMap) {
  int result = RefreshDeviceInfo();
  if (result != kResultOk) return result;
  // Without a key map read from this device there is no block to start
  // from, and the default block length would overwrite slots it lacks.
  if (!keyMapRead_) return kResultNoReply;

  std::array<std::uint8_t, kMaxBlockLength> block = keyMap_;
  std::memcpy(block.data(), keyMap.data(), std::min(keyMap.size(), block.size()));

  if (!LinkUp()) return kResultNoReply;
  if ((result = channel_.BeginConfig()) != kResultOk) return result;
  if (!LinkUp()) return kResultNoReply;
  if ((result = channel_.WriteKeyMap(block.data(), 0)) != kResultOk) return result;
  keyMap_ = block;
  keyMapLength_ = channel_.BlockLength();
  if (!LinkUp()) return kResultNoReply;
  return channel_.EndConfig();
}

int DeviceOperations::WriteProfileRecord(int profile, std::span<const std::uint8_t> record) {
  return WriteProfileRecord(profile, record, {});
}

int DeviceOperations::WriteProfileRecord(int profile, std::span<const std::uint8_t> record,
                                         const std::function<void()>& whileSettling) {
  bool settled = false;
  auto settle = [&] {
    if (!settled && whileSettling) whileSettling();
    settled = true;
  };
  // Whatever ends the sequence, the caller's work is done once.
  auto finish = [&](int result) {
    settle();
    return result;
  };

  const auto layout = FindProfileMemory(deviceType_);
  if (!layout || !channel_.IsConnected()) return finish(kResultNoReply);

  std::array<std::uint8_t, kMaxProfileRecord> bytes{};
  std::memcpy(bytes.data(), record.data(), std::min<std::size_t>(record.size(), layout->writeLength));
  const auto address = static_cast<std::uint16_t>(profile * layout->writeStride);

  int result;
  if (!LinkUp()) return finish(kResultNoReply);
  if ((result = channel_.BeginConfig()) != kResultOk) return finish(result);
  if (!LinkUp()) return finish(kResultNoReply);
  if ((result = channel_.WriteMemory(bytes.data(), layout->writeLength, address)) != kResultOk)
    return finish(result);
  auto lastFrame = std::chrono::steady_clock::now();
  settle();
  if (channel_.HasLongTimeout()) {
    if (!LinkUp()) return kResultNoReply;
    lastFrame = std::chrono::steady_clock::now();
  }
  return channel_.EndConfigAfter(lastFrame);
}

int DeviceOperations::WriteImage(std::span<const std::uint8_t> image, bool shooting) {
  if (!channel_.IsConnected()) return kResultNoReply;
  int first = kResultOk;
  auto note = [&first](int result) {
    if (first == kResultOk) first = result;
  };
  if (!LinkUp()) return kResultNoReply;
  note(channel_.BeginConfig());
  if (!LinkUp()) return kResultNoReply;
  note(shooting ? channel_.WriteShootData(image.data(), image.size())
                : channel_.WriteMacroData(image.data(), image.size()));
  if (!LinkUp()) return kResultNoReply;
  note(channel_.EndConfig());
  return first;
}

int DeviceOperations::WriteMacros(std::span<const std::uint8_t> image) { return WriteImage(image, false); }

int DeviceOperations::WriteShootingData(std::span<const std::uint8_t> image) {
  return WriteImage(image, true);
}

int DeviceOperations::WritePerKeyColours(std::span<const std::uint8_t, kLedBankSize> colours) {
  int result = kResultNoReply;
  if (LinkUp()) result = channel_.WriteLedColours(colours.data(), colours.size(), 0, kLedBankSize);
  if (result != kResultOk) PauseAfterLightFailure();
  return result;
}

int DeviceOperations::PushPreviewFrame(std::span<const std::uint8_t> frame) {
  // No QueryLink here: the stream sends nothing over a wireless receiver.
  const int result = channel_.StreamLedFrame(frame.data(), frame.size());
  if (result != kResultOk) PauseAfterLightFailure();
  return result;
}

int DeviceOperations::ReadPowerStatus() {
  if (!LinkUp()) return kResultNoReply;
  std::array<std::uint8_t, kPowerStatusSize> status{};
  const int result = channel_.ReadPowerStatus(status.data(), status.size(), kPowerStatusAddress);
  if (result != kResultOk) return result;
  status[kPowerWirelessByte] = channel_.HasLongTimeout() ? 1 : 0;
  powerStatus_ = status;
  return kResultOk;
}

int DeviceOperations::StartHostLighting() {
  if (deviceType_ != kDeviceKeyboard) return kResultOk;
  if (!LinkUp()) return kResultNoReply;
  return channel_.StartHostLighting();
}

}  // namespace ostrel
