#include "devsim/Firmware.h"

#include <algorithm>
#include <array>
#include <utility>

#include "devsim/CommandFrame.h"
#include "devsim/FactoryKeyTables.h"

namespace ostrel::devsim {
namespace {

enum class Access : std::uint8_t { kControl, kQuery, kRead, kWrite };

struct CommandRule {
  CommandId id;
  Access access;
  MemoryArea area;  // unused for control and query commands
};

constexpr std::array<CommandRule, 16> kCommandRules = {{
    {CommandId::kBeginConfig, Access::kControl, MemoryArea::kMemory},
    {CommandId::kEndConfig, Access::kControl, MemoryArea::kMemory},
    {CommandId::kReadDeviceInfo, Access::kRead, MemoryArea::kDeviceInfo},
    {CommandId::kReadMemory, Access::kRead, MemoryArea::kMemory},
    {CommandId::kWriteMemory, Access::kWrite, MemoryArea::kMemory},
    {CommandId::kReadKeyMap, Access::kRead, MemoryArea::kKeyMap},
    {CommandId::kWriteKeyMap, Access::kWrite, MemoryArea::kKeyMap},
    {CommandId::kReadLedColours, Access::kRead, MemoryArea::kLedBank},
    {CommandId::kWriteLedColours, Access::kWrite, MemoryArea::kLedBank},
    {CommandId::kStreamLedFrame, Access::kWrite, MemoryArea::kLiveFrame},
    {CommandId::kWriteMacroData, Access::kWrite, MemoryArea::kMacro},
    {CommandId::kWriteShootData, Access::kWrite, MemoryArea::kShoot},
    {CommandId::kReadPowerStatus, Access::kRead, MemoryArea::kPower},
    {CommandId::kReadKeyAttributes, Access::kRead, MemoryArea::kKeyAttributes},
    {CommandId::kStartHostLighting, Access::kControl, MemoryArea::kMemory},
    {CommandId::kQueryLink, Access::kQuery, MemoryArea::kMemory},
}};

const CommandRule* FindRule(std::uint8_t id) {
  for (const CommandRule& rule : kCommandRules) {
    if (static_cast<std::uint8_t>(rule.id) == id) return &rule;
  }
  return nullptr;
}

// Factory content of the onboard profiles, one row per profile.
constexpr std::uint8_t kProfileColours[][3] = {
    {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0x00, 0x00, 0xFF}, {0xFF, 0xFF, 0xFF}};
constexpr std::uint8_t kProfileModes[] = {1, 2, 3, 4};
constexpr std::uint16_t kDpiStageSteps[] = {8, 16, 32, 64, 128};  // 400 ... 6400 DPI at 50 a step
constexpr std::uint8_t kDpiStageColours[][3] = {
    {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0x00, 0x00, 0xFF}, {0xFF, 0xFF, 0x00}, {0xFF, 0x00, 0xFF}};
constexpr std::uint8_t kStoredSpeed = 2;  // the device keeps 4 - speed
constexpr std::uint16_t kScreenWidth = 1920;
constexpr std::uint16_t kScreenHeight = 1080;

// Record sizes and strides the memory is laid out with.
constexpr std::size_t kMouseProfileStride = 128;
constexpr std::size_t kSmallProfileStride = 46;

void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutColour(std::vector<std::uint8_t>& bytes, std::size_t at, const std::uint8_t (&colour)[3]) {
  std::copy(std::begin(colour), std::end(colour), bytes.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace

Firmware::Firmware(const ModelInfo& model) : model_(model) { Reset(); }

void Firmware::Reset() {
  std::lock_guard lock(mutex_);
  deviceInfo_.assign(kDeviceInfoSize, 0);
  memory_.assign(model_.memorySize, 0);
  keyMap_.assign(static_cast<std::size_t>(model_.keyCount) * 3, 0);
  keyAttributes_.assign(model_.keyCount, 0xFF);
  ledBank_.assign(kLedBankSize, 0);
  liveFrame_.assign(kLedBankSize, 0);
  macro_.assign(static_cast<std::size_t>(model_.macroUnits) * 128, 0);
  shoot_.assign(model_.shootAreaSize, 0);
  power_.assign(kPowerRecordSize, 0);
  powerStatus_ = {model_.battery, model_.supplyState, 0};
  linkUp_ = true;
  configOpen_ = false;
  hostLightingStarts_ = 0;
  commandCounts_.clear();
  FillDeviceInfo();
  FillProfiles();
  FillKeys();
  StorePower();
  headsetLeds_.Clear();
}

void Firmware::FillDeviceInfo() {
  // Bytes the host reads: 5 key count, 6 macro units, 11 DPI step, 12-13
  // highest DPI in steps, 14-15 lowest DPI. The others carry what this
  // firmware reports about itself: type, version, profile and LED counts.
  deviceInfo_[0] = model_.deviceType;
  deviceInfo_[1] = static_cast<std::uint8_t>(model_.version >> 8);
  deviceInfo_[2] = static_cast<std::uint8_t>(model_.version & 0xFF);
  deviceInfo_[3] = model_.profileCount;
  deviceInfo_[4] = model_.ledCount;
  deviceInfo_[5] = model_.keyCount;
  deviceInfo_[6] = model_.macroUnits;
  deviceInfo_[11] = model_.dpiStep;
  Put16(deviceInfo_, 12, model_.highestDpiSteps);
  Put16(deviceInfo_, 14, model_.lowestDpi);
}

void Firmware::FillProfiles() {
  // Address 0 is the current profile number; it is also byte 0 of profile 0's
  // record, which the host always writes as 0.
  for (std::size_t p = 0; p < model_.profileCount; ++p) {
    const std::size_t colour = p % std::size(kProfileColours);
    switch (model_.records) {
      case RecordLayout::kMouse: {
        const std::size_t base = p * kMouseProfileStride;
        if (base + kMouseProfileStride > memory_.size()) return;
        memory_[base + 1] = kProfileModes[colour];
        memory_[base + 2] = 0xFF;
        memory_[base + 3] = kStoredSpeed;
        PutColour(memory_, base + 6, kProfileColours[colour]);
        memory_[base + 11] = 3;  // polling rate index
        memory_[base + 12] = 1;  // active DPI stage
        for (std::size_t i = 0; i < std::size(kDpiStageSteps); ++i) {
          const std::size_t stage = base + 14 + 9 * i;
          memory_[stage] = 1;
          memory_[stage + 1] = 1;
          Put16(memory_, stage + 2, kDpiStageSteps[i]);
          Put16(memory_, stage + 4, kDpiStageSteps[i]);
          PutColour(memory_, stage + 6, kDpiStageColours[i]);
        }
        memory_[base + 59] = 1;
        Put16(memory_, base + 60, kScreenWidth);
        Put16(memory_, base + 62, kScreenHeight);
        // Bytes 66-70: sensor data the firmware keeps, read back by the host.
        for (std::size_t i = 66; i <= 70; ++i) memory_[base + i] = static_cast<std::uint8_t>(0xA0 + i - 66);
        break;
      }
      case RecordLayout::kKeyboard: {
        const std::size_t base = p * kSmallProfileStride;
        if (base + kSmallProfileStride > memory_.size()) return;
        for (std::size_t zone : {std::size_t{1}, std::size_t{27}, std::size_t{37}}) {
          memory_[base + zone] = kProfileModes[colour];
          memory_[base + zone + 1] = 0xFF;
          memory_[base + zone + 2] = kStoredSpeed;
          PutColour(memory_, base + zone + 5, kProfileColours[colour]);
        }
        memory_[base + 36] = 1;  // logo light on
        break;
      }
      case RecordLayout::kPad: {
        const std::size_t base = p * kSmallProfileStride;
        if (base + kSmallProfileStride > memory_.size()) return;
        memory_[base + 1] = kProfileModes[colour];
        memory_[base + 2] = 0xFF;
        memory_[base + 3] = kStoredSpeed;
        memory_[base + 4] = 1;  // direction
        PutColour(memory_, base + 6, kProfileColours[colour]);
        // Bytes 9-20: device settings the host keeps as read.
        for (std::size_t i = 9; i <= 20; ++i) memory_[base + i] = static_cast<std::uint8_t>(0x30 + i);
        break;
      }
    }
  }
  memory_[0] = 0;
}

void Firmware::FillKeys() {
  std::span<const KeyTriple> factory;
  if (model_.records == RecordLayout::kMouse) factory = kMouseFactoryKeyTable;
  if (model_.records == RecordLayout::kKeyboard && model_.keyCount > 0) factory = kKeyboardFactoryKeyTable;
  for (std::size_t slot = 0; slot < model_.keyCount && slot < factory.size(); ++slot) {
    keyMap_[3 * slot] = factory[slot].type;
    keyMap_[3 * slot + 1] = factory[slot].p1;
    keyMap_[3 * slot + 2] = factory[slot].p2;
  }
  // Every keyboard key has its own LED, numbered like its slot; the last
  // slot holds no key.
  if (model_.records == RecordLayout::kKeyboard) {
    for (std::size_t slot = 0; slot < keyAttributes_.size(); ++slot) {
      const bool noKey = slot < factory.size() && factory[slot].type == 0;
      keyAttributes_[slot] = noKey ? 0xFF : static_cast<std::uint8_t>(slot);
    }
  }
}

void Firmware::StorePower() {
  power_.assign(kPowerRecordSize, 0);
  power_[0] = powerStatus_.battery;
  power_[1] = powerStatus_.supply;
  power_[3] = model_.wireless ? 1 : 0;
  power_[5] = powerStatus_.phone;
}

std::vector<std::uint8_t>& Firmware::AreaBytes(MemoryArea area) {
  return const_cast<std::vector<std::uint8_t>&>(std::as_const(*this).AreaBytes(area));
}

const std::vector<std::uint8_t>& Firmware::AreaBytes(MemoryArea area) const {
  switch (area) {
    case MemoryArea::kDeviceInfo:
      return deviceInfo_;
    case MemoryArea::kMemory:
      return memory_;
    case MemoryArea::kKeyMap:
      return keyMap_;
    case MemoryArea::kKeyAttributes:
      return keyAttributes_;
    case MemoryArea::kLedBank:
      return ledBank_;
    case MemoryArea::kLiveFrame:
      return liveFrame_;
    case MemoryArea::kMacro:
      return macro_;
    case MemoryArea::kShoot:
      return shoot_;
    case MemoryArea::kPower:
      return power_;
  }
  return memory_;
}

Frame Firmware::Refusal(const Frame& request, std::uint8_t status) {
  Frame reply = CommandFrame::ReplyTo(request, status);
  CommandFrame::StoreChecksum(reply);
  return reply;
}

Frame Firmware::HandleCommand(const Frame& request) {
  std::lock_guard lock(mutex_);
  const std::uint8_t id = CommandFrame::Command(request);
  ++commandCounts_[id];
  if (!CommandFrame::HasValidChecksum(request)) return Refusal(request, kStatusRejected);
  const CommandRule* rule = FindRule(id);
  if (rule == nullptr) return Refusal(request, kStatusInvalid);
  // A receiver whose mouse is out of reach answers only QueryLink.
  if (model_.wireless && !linkUp_ && rule->access != Access::kQuery) return Refusal(request, kStatusRejected);

  const std::size_t length = CommandFrame::Length(request);
  const std::size_t address = CommandFrame::Address(request);
  Frame reply = CommandFrame::ReplyTo(request, kStatusOk);
  switch (rule->access) {
    case Access::kControl:
      if (rule->id == CommandId::kBeginConfig) configOpen_ = true;
      if (rule->id == CommandId::kEndConfig) configOpen_ = false;
      if (rule->id == CommandId::kStartHostLighting) ++hostLightingStarts_;
      break;
    case Access::kQuery:
      reply[kDataByte] = (!model_.wireless || linkUp_) ? kLinkUp : kLinkDown;
      break;
    case Access::kRead: {
      const auto& bytes = AreaBytes(rule->area);
      if (length > kMaxPayload || address + length > bytes.size()) return Refusal(request, kStatusInvalid);
      std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(address), length, reply.begin() + kDataByte);
      break;
    }
    case Access::kWrite: {
      auto& bytes = AreaBytes(rule->area);
      if (length > kMaxPayload || address + length > bytes.size()) return Refusal(request, kStatusInvalid);
      std::copy_n(request.begin() + kDataByte, length, bytes.begin() + static_cast<std::ptrdiff_t>(address));
      break;
    }
  }
  CommandFrame::StoreChecksum(reply);
  return reply;
}

bool Firmware::HandleLedReport(std::span<const std::uint8_t> report) {
  if (model_.collections != CollectionLayout::kHeadset) return false;
  return headsetLeds_.Apply(report);
}

std::size_t Firmware::AreaSize(MemoryArea area) const {
  std::lock_guard lock(mutex_);
  return AreaBytes(area).size();
}

std::vector<std::uint8_t> Firmware::Read(MemoryArea area, std::size_t address, std::size_t length) const {
  std::lock_guard lock(mutex_);
  const auto& bytes = AreaBytes(area);
  if (address >= bytes.size()) return {};
  const std::size_t end = std::min(bytes.size(), address + length);
  return {bytes.begin() + static_cast<std::ptrdiff_t>(address),
          bytes.begin() + static_cast<std::ptrdiff_t>(end)};
}

std::vector<std::uint8_t> Firmware::Contents(MemoryArea area) const {
  std::lock_guard lock(mutex_);
  return AreaBytes(area);
}

bool Firmware::Write(MemoryArea area, std::size_t address, std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  auto& target = AreaBytes(area);
  if (address > target.size() || bytes.size() > target.size() - address) return false;
  std::copy(bytes.begin(), bytes.end(), target.begin() + static_cast<std::ptrdiff_t>(address));
  if (area == MemoryArea::kPower) {
    powerStatus_ = {power_[0], power_[1], power_[5]};
  }
  return true;
}

bool Firmware::Resize(MemoryArea area, std::size_t size) {
  if (area == MemoryArea::kDeviceInfo || size > 0x10000) return false;
  std::lock_guard lock(mutex_);
  AreaBytes(area).resize(size, 0);
  return true;
}

std::uint8_t Firmware::CurrentProfile() const {
  std::lock_guard lock(mutex_);
  return memory_.empty() ? 0 : memory_[0];
}

bool Firmware::SetCurrentProfile(std::uint8_t profile) {
  std::lock_guard lock(mutex_);
  if (profile >= model_.profileCount || memory_.empty()) return false;
  memory_[0] = profile;
  return true;
}

PowerStatus Firmware::Power() const {
  std::lock_guard lock(mutex_);
  return powerStatus_;
}

void Firmware::SetPower(const PowerStatus& power) {
  std::lock_guard lock(mutex_);
  powerStatus_ = power;
  StorePower();
}

bool Firmware::LinkUp() const {
  std::lock_guard lock(mutex_);
  return !model_.wireless || linkUp_;
}

void Firmware::SetLinkUp(bool up) {
  std::lock_guard lock(mutex_);
  linkUp_ = up;
}

bool Firmware::ConfigOpen() const {
  std::lock_guard lock(mutex_);
  return configOpen_;
}

unsigned Firmware::HostLightingStarts() const {
  std::lock_guard lock(mutex_);
  return hostLightingStarts_;
}

unsigned Firmware::CommandCount(std::uint8_t command) const {
  std::lock_guard lock(mutex_);
  const auto it = commandCounts_.find(command);
  return it == commandCounts_.end() ? 0 : it->second;
}

}  // namespace ostrel::devsim
