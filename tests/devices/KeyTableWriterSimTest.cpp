// The key list written to simulated devices over a private vhid directory:
// the slots found in the key table read from the device, then every frame
// of the download and the device's key table afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "devicelink/DeviceChannel.h"
#include "devicelink/DeviceOperations.h"
#include "devicelink/HidLink.h"
#include "devices/FactoryKeyTable.h"
#include "devices/KeySlotMap.h"
#include "devices/KeyTableWriter.h"
#include "devsim/Simulator.h"

namespace ostrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

KeyAction A(std::uint8_t type, std::uint8_t p1, std::uint8_t p2) { return MakeAction(type, p1, p2); }

std::string FindVendorInterface(std::uint16_t vendorId, std::uint16_t productId) {
  HidLink discovery;
  if (!discovery.Enumerate()) return {};
  while (const char* path = discovery.NextPath()) {
    HidLink probe;
    if (!probe.Open(path, true, false, true, false)) continue;
    if (probe.Attributes().VendorID == vendorId && probe.Attributes().ProductID == productId &&
        probe.Caps().UsagePage == 0xFF1C) {
      return path;
    }
  }
  return {};
}

struct Model {
  const char* name;
  std::span<const KeyAction> factory;
  int noSlot;
  friend void PrintTo(const Model& m, std::ostream* os) { *os << m.name; }
};

class KeyTableWriterSim : public ::testing::TestWithParam<Model> {
 protected:
  void SetUp() override {
    devsim::DeviceOptions options;
    options.usbInterval = std::chrono::microseconds(0);
    device_ = simulator_.Plug(GetParam().name, options);
    ASSERT_NE(device_, nullptr);
    const auto& info = device_->Model();
    const std::string path = FindVendorInterface(info.vendorId, info.productId);
    ASSERT_FALSE(path.empty());
    ASSERT_TRUE(channel_.Connect(path, info.deviceType == kDeviceWirelessMouse));
    operations_ = std::make_unique<DeviceOperations>(channel_, info.deviceType);
    keys_.clear();
    for (const KeyAction& a : GetParam().factory) keys_.push_back({a, a});
    slots_ = std::make_unique<KeySlotMap>(keys_.size(), GetParam().noSlot);
  }
  void TearDown() override { channel_.Disconnect(); }

  // Reads the device as the page does and finds the slots.
  void ReadDevice() {
    ASSERT_EQ(operations_->ReadDevice(), kResultOk);
    slots_->FindSlots(operations_->KeyMap(), GetParam().factory);
    device_->Log().Clear();
  }

  std::vector<devsim::Frame> Commands(bool withQueryLink = false) {
    auto frames = device_->Log().CommandFrames();
    if (!withQueryLink) std::erase_if(frames, [](const auto& f) { return f[3] == 0xAA; });
    return frames;
  }

  devsim::Simulator simulator_;
  devsim::SimulatedDevice* device_ = nullptr;
  DeviceChannel channel_;
  std::unique_ptr<DeviceOperations> operations_;
  std::vector<KeyEntry> keys_;
  std::unique_ptr<KeySlotMap> slots_;
};

TEST_P(KeyTableWriterSim, WritesThreeBytesPerKeyFrameForFrame) {
  ReadDevice();
  const Bytes before = device_->State().Contents(devsim::MemoryArea::kKeyMap);
  // Assignments at the first, a middle and the last key.
  const std::size_t last = keys_.size() - 1;
  keys_[0].current = A(0x12, 0x21, 0xFD);
  keys_[keys_.size() / 2].current = A(0x20, 0x01, 0x06);
  keys_[last].current = A(0x70, 3, 0x02);

  ASSERT_EQ(KeyTableWriter::WriteKeyTable(*operations_, keys_, *slots_), kResultOk);

  Bytes expected = before;
  for (std::size_t key : {std::size_t{0}, keys_.size() / 2, last}) {
    const auto s = static_cast<std::size_t>(slots_->Slot(key)) * 3;
    expected[s] = keys_[key].current.type, expected[s + 1] = keys_[key].current.p1,
    expected[s + 2] = keys_[key].current.p2;
  }
  EXPECT_EQ(device_->State().Contents(devsim::MemoryArea::kKeyMap), expected);

  // ReadDeviceInfo, BeginConfig, WriteKeyMap in 56-byte frames, EndConfig.
  const auto frames = Commands();
  const std::size_t length = expected.size();
  const std::size_t writes = (length + 55) / 56;
  ASSERT_EQ(frames.size(), 3 + writes);
  EXPECT_EQ(frames[0][3], 3);
  EXPECT_EQ(frames[1][3], 1);
  Bytes written;
  for (std::size_t i = 0; i < writes; ++i) {
    const auto& f = frames[2 + i];
    SCOPED_TRACE("frame " + std::to_string(i));
    EXPECT_EQ(f[3], 9);
    EXPECT_EQ(f[4], std::min<std::size_t>(56, length - i * 56));
    EXPECT_EQ(f[5] | (f[6] << 8), static_cast<int>(i * 56));
    written.insert(written.end(), f.begin() + 8, f.begin() + 8 + f[4]);
  }
  EXPECT_EQ(written, expected);
  EXPECT_EQ(frames.back()[3], 2);
  EXPECT_FALSE(device_->State().ConfigOpen());

  // On the receiver every command is preceded by QueryLink.
  if (device_->Model().deviceType == kDeviceWirelessMouse) {
    const auto all = Commands(true);
    ASSERT_EQ(all.size(), 2 * frames.size() - writes + 1);
    EXPECT_EQ(all[0][3], 0xAA);
    EXPECT_EQ(all[2][3], 0xAA);
  }
}

TEST_P(KeyTableWriterSim, FailedWriteLeavesTheDeviceAndTheKeyList) {
  ReadDevice();
  const Bytes before = device_->State().Contents(devsim::MemoryArea::kKeyMap);
  keys_[1].current = A(0x20, 0x00, 0x04);
  const auto keysBefore = keys_;
  devsim::FaultSettings faults;
  faults.statusError = 0xFF;
  faults.statusErrorCommand = 9;
  device_->SetFaults(faults);
  EXPECT_EQ(KeyTableWriter::WriteKeyTable(*operations_, keys_, *slots_), kResultStatusFailed);
  EXPECT_EQ(device_->State().Contents(devsim::MemoryArea::kKeyMap), before);
  EXPECT_EQ(keys_, keysBefore);
  // The sequence ended at the refused frame: no EndConfig.
  EXPECT_EQ(Commands().back()[3], 9);
}

TEST_P(KeyTableWriterSim, NothingIsSentWithoutAKeyTableRead) {
  keys_[0].current = A(0x20, 0x00, 0x04);
  EXPECT_EQ(KeyTableWriter::WriteKeyTable(*operations_, keys_, *slots_), kResultNoReply);
  EXPECT_TRUE(device_->Log().CommandFrames().empty());
}

TEST_P(KeyTableWriterSim, DisconnectedChannelSendsNothing) {
  ReadDevice();
  channel_.Disconnect();
  EXPECT_EQ(KeyTableWriter::WriteKeyTable(*operations_, keys_, *slots_), kResultNoReply);
  EXPECT_TRUE(device_->Log().CommandFrames().empty());
}

INSTANTIATE_TEST_SUITE_P(KeyDevices, KeyTableWriterSim,
                         ::testing::Values(Model{"keyboard", KeyboardFactoryKeyTable, kKeyboardNoSlot},
                                           Model{"mouse", MouseFactoryKeyTable, kMouseNoSlot},
                                           Model{"receiver", MouseFactoryKeyTable, kMouseNoSlot}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace ostrel
