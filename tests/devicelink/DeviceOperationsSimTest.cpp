// The page-operation sequences against the device simulator over real
// virtual HID sockets: every frame checked byte for byte, and the
// simulator's fault modes.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "VendorInterface.h"
#include "devicelink/DeviceChannel.h"
#include "devicelink/DeviceOperations.h"
#include "devsim/Simulator.h"

namespace ostrel::test {
namespace {

using devsim::FaultSettings;
using devsim::MemoryArea;
using devsim::SimulatedDevice;
using devsim::Simulator;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

struct PlannedFrame {
  std::uint8_t id;
  int length;
  int address;
};

// Commands of a sequence with their total lengths, cut into the frames the
// protocol prescribes (56 bytes each, increasing addresses).
std::vector<PlannedFrame> Plan(std::initializer_list<std::pair<std::uint8_t, int>> commands, int base = 0) {
  std::vector<PlannedFrame> frames;
  for (const auto& [id, total] : commands) {
    if (total == 0) frames.push_back({id, 0, 0});
    for (int p = 0; p < total; p += 56) frames.push_back({id, std::min(56, total - p), base + p});
  }
  return frames;
}

int Sum(const devsim::Frame& frame) {
  int sum = 0;
  for (std::size_t i = 3; i < 64; ++i) sum += frame[i];
  return sum & 0xFFFF;
}

void ExpectFrames(const std::vector<devsim::Frame>& sent, const std::vector<PlannedFrame>& plan) {
  ASSERT_EQ(sent.size(), plan.size());
  for (std::size_t i = 0; i < sent.size(); ++i) {
    SCOPED_TRACE("frame " + std::to_string(i));
    const auto& f = sent[i];
    EXPECT_EQ(f[0], 4);
    EXPECT_EQ(f[1] | (f[2] << 8), Sum(f));
    EXPECT_EQ(f[3], plan[i].id);
    EXPECT_EQ(f[4], plan[i].length);
    EXPECT_EQ(f[5] | (f[6] << 8), plan[i].address);
    EXPECT_EQ(f[7], 0);
    // Reads and control frames carry no payload.
    for (std::size_t k = 8; k < 64; ++k) ASSERT_EQ(f[k], 0) << "byte " << k;
  }
}

class SimFixture : public ::testing::Test {
 protected:
  // Plugs the model with no USB delay and connects a channel to it.
  SimulatedDevice* Connect(const char* model, std::uint16_t usagePage = 0xFF1C) {
    devsim::DeviceOptions options;
    options.usbInterval = std::chrono::microseconds(0);
    device_ = simulator_.Plug(model, options);
    if (device_ == nullptr) return nullptr;
    const auto& info = device_->Model();
    const std::string path = FindVendorInterface(info.vendorId, info.productId, usagePage);
    if (path.empty() || !channel_.Connect(path, info.deviceType == kDeviceWirelessMouse)) return nullptr;
    operations_ = std::make_unique<DeviceOperations>(channel_, info.deviceType);
    return device_;
  }
  void TearDown() override { channel_.Disconnect(); }

  Bytes Contents(MemoryArea area) { return device_->State().Contents(area); }

  Simulator simulator_;
  SimulatedDevice* device_ = nullptr;
  DeviceChannel channel_;
  std::unique_ptr<DeviceOperations> operations_;
};

using DeviceOperationsSimTest = SimFixture;

struct SimReadCase {
  const char* name;
  const char* model;
  std::vector<PlannedFrame> frames;
  friend void PrintTo(const SimReadCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceOperationsSimReadTest : public SimFixture, public ::testing::WithParamInterface<SimReadCase> {};

TEST_P(DeviceOperationsSimReadTest, ReadDeviceFrameForFrame) {
  ASSERT_NE(Connect(GetParam().model), nullptr);
  ASSERT_EQ(operations_->ReadDevice(), 1);
  ExpectFrames(device_->Log().CommandFrames(), GetParam().frames);

  const auto& info = operations_->Info().Bytes();
  EXPECT_EQ(Bytes(info.begin(), info.end()), Contents(MemoryArea::kDeviceInfo));
  EXPECT_EQ(operations_->Info().KeyCount(), device_->Model().keyCount);
  const auto keyMap = operations_->KeyMap();
  if (!keyMap.empty()) {
    EXPECT_EQ(Bytes(keyMap.begin(), keyMap.end()), Contents(MemoryArea::kKeyMap));
  }
  if (device_->Model().deviceType == kDeviceKeyboard) {
    const auto attributes = operations_->KeyAttributes();
    EXPECT_EQ(Bytes(attributes.begin(), attributes.end()), Contents(MemoryArea::kKeyAttributes));
  }
  EXPECT_FALSE(device_->State().ConfigOpen());
}

const std::vector<PlannedFrame> kReceiverRead = [] {
  std::vector<PlannedFrame> frames;
  for (const auto& f : Plan({{1, 0}, {3, 34}, {7, 30}, {2, 0}})) {
    frames.push_back({0xAA, 0, 0});
    frames.push_back(f);
  }
  return frames;
}();

INSTANTIATE_TEST_SUITE_P(
    DeviceOperationsSimModels, DeviceOperationsSimReadTest,
    ::testing::Values(SimReadCase{"Mouse", "mouse", Plan({{1, 0}, {3, 34}, {7, 30}, {2, 0}})},
                      SimReadCase{"Keyboard", "keyboard",
                                  Plan({{1, 0}, {3, 34}, {7, 378}, {27, 126}, {2, 0}})},
                      SimReadCase{"MousePad", "mousepad", Plan({{1, 0}, {3, 34}, {2, 0}})},
                      SimReadCase{"Receiver", "receiver", kReceiverRead}),
    [](const auto& info) { return std::string(info.param.name); });

struct SimProfileCase {
  const char* name;
  const char* model;
  std::uint16_t usagePage;
  int stride;
  int length;
  friend void PrintTo(const SimProfileCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceOperationsSimProfileTest : public SimFixture,
                                       public ::testing::WithParamInterface<SimProfileCase> {};

TEST_P(DeviceOperationsSimProfileTest, ReadsTheRecordTheDeviceHolds) {
  const auto& c = GetParam();
  ASSERT_NE(Connect(c.model, c.usagePage), nullptr);
  ASSERT_TRUE(device_->State().SetCurrentProfile(2));
  ASSERT_EQ(operations_->ReadCurrentProfile(), 1);
  EXPECT_EQ(operations_->ProfileIndex(), 2);
  const auto record = operations_->ProfileRecord();
  EXPECT_EQ(Bytes(record.begin(), record.end()),
            device_->State().Read(MemoryArea::kMemory, 2 * c.stride, c.length));
  auto plan = Plan({{5, 1}});
  for (const auto& f : Plan({{5, c.length}}, 2 * c.stride)) plan.push_back(f);
  auto sent = device_->Log().CommandFrames();
  std::erase_if(sent, [](const auto& f) { return f[3] == 0xAA; });
  ExpectFrames(sent, plan);
}

INSTANTIATE_TEST_SUITE_P(DeviceOperationsSimModels, DeviceOperationsSimProfileTest,
                         ::testing::Values(SimProfileCase{"Mouse", "mouse", 0xFF1C, 128, 71},
                                           SimProfileCase{"Receiver", "receiver", 0xFF1C, 128, 71},
                                           SimProfileCase{"Keyboard", "keyboard", 0xFF1C, 46, 46},
                                           SimProfileCase{"MousePad", "mousepad", 0xFF1C, 46, 46},
                                           SimProfileCase{"Headset", "headset", 0x000C, 46, 46}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceOperationsSimTest, WritesReachTheDevice) {
  ASSERT_NE(Connect("keyboard"), nullptr);
  ASSERT_EQ(operations_->ReadDevice(), 1);

  Bytes record(46);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<std::uint8_t>(i + 1);
  ASSERT_EQ(operations_->WriteProfileRecord(1, record), 1);
  EXPECT_EQ(device_->State().Read(MemoryArea::kMemory, 46, 46), record);

  Bytes keyMap(Contents(MemoryArea::kKeyMap));
  keyMap[0] = 0x20, keyMap[1] = 0, keyMap[2] = 0x04;
  ASSERT_EQ(operations_->WriteKeyMap(keyMap), 1);
  EXPECT_EQ(Contents(MemoryArea::kKeyMap), keyMap);

  std::array<std::uint8_t, 512> colours{};
  for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = static_cast<std::uint8_t>(i * 3);
  ASSERT_EQ(operations_->WritePerKeyColours(colours), 1);
  EXPECT_EQ(Contents(MemoryArea::kLedBank), Bytes(colours.begin(), colours.end()));

  const Bytes macros(300, 0x5A);
  ASSERT_EQ(operations_->WriteMacros(macros), 1);
  EXPECT_EQ(device_->State().Read(MemoryArea::kMacro, 0, 300), macros);
  EXPECT_EQ(operations_->StartHostLighting(), 1);
  EXPECT_EQ(device_->State().HostLightingStarts(), 1u);
  EXPECT_FALSE(device_->State().ConfigOpen());
}

TEST_F(DeviceOperationsSimTest, StaleRepliesAreSkipped) {
  ASSERT_NE(Connect("keyboard"), nullptr);
  FaultSettings faults;
  faults.otherIdFirst = true;
  device_->SetFaults(faults);
  ASSERT_EQ(operations_->ReadDevice(), 1);
  const auto keyMap = operations_->KeyMap();
  EXPECT_EQ(Bytes(keyMap.begin(), keyMap.end()), Contents(MemoryArea::kKeyMap));
}

TEST_F(DeviceOperationsSimTest, GarbageBeforeTheReply) {
  ASSERT_NE(Connect("mouse"), nullptr);
  // Garbage with another id, then a report too short to carry one: each
  // costs the exchange its one extra read.
  Bytes garbage(64);
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 37 + 11);
  garbage[0] = 4;
  garbage[3] = 0x99;
  ASSERT_TRUE(device_->SendInputReport(garbage));
  ASSERT_EQ(channel_.BeginConfig(), 1);

  ASSERT_TRUE(device_->SendInputReport({4, 0x01}));
  ASSERT_EQ(channel_.BeginConfig(), 1);

  // An oversized report and a stale one: two wrong answers in a row are not
  // the answer; the real reply is then skipped by the next command.
  Bytes oversized(200, 0x33);
  oversized[0] = 4;
  ASSERT_TRUE(device_->SendInputReport(oversized));
  ASSERT_TRUE(device_->SendInputReport(garbage));
  std::array<std::uint8_t, 34> info{};
  EXPECT_EQ(channel_.ReadDeviceInfo(info.data()), 0);
  EXPECT_EQ(channel_.EndConfig(), 1);
  EXPECT_FALSE(device_->State().ConfigOpen());
}

struct SimFaultCase {
  const char* name;
  FaultSettings faults;
  int expected;
  std::size_t framesSent;
  friend void PrintTo(const SimFaultCase& c, std::ostream* os) { *os << c.name; }
};

FaultSettings Faults(void (*set)(FaultSettings&)) {
  FaultSettings faults;
  set(faults);
  return faults;
}

class DeviceOperationsSimFaultTest : public SimFixture, public ::testing::WithParamInterface<SimFaultCase> {};

TEST_P(DeviceOperationsSimFaultTest, KeyboardReadEndsAsTheDeviceFails) {
  ASSERT_NE(Connect("keyboard"), nullptr);
  device_->SetFaults(GetParam().faults);
  const auto start = Clock::now();
  EXPECT_EQ(operations_->ReadDevice(), GetParam().expected);
  // Bounded: at most one silent frame's two reads.
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2500));
  EXPECT_EQ(device_->Log().CommandFrames().size(), GetParam().framesSent);
}

INSTANTIATE_TEST_SUITE_P(
    DeviceOperationsSimFaults, DeviceOperationsSimFaultTest,
    ::testing::Values(SimFaultCase{"Silent", Faults([](FaultSettings& f) { f.silent = true; }), 0, 1},
                      SimFaultCase{"RejectedSecondKeyMapFrame", Faults([](FaultSettings& f) {
                                     f.statusError = 0xFE;
                                     f.statusErrorCommand = 7;
                                     f.statusErrorFrame = 2;
                                   }),
                                   -103, 4},
                      SimFaultCase{"FailedDeviceInfo", Faults([](FaultSettings& f) {
                                     f.statusError = 0xFF;
                                     f.statusErrorCommand = 3;
                                   }),
                                   -102, 2},
                      SimFaultCase{"ThirdReplyLost", Faults([](FaultSettings& f) { f.dropEvery = 3; }), 0, 3},
                      SimFaultCase{"UnpluggedAtThirdFrame",
                                   Faults([](FaultSettings& f) { f.unplugAfterFrames = 3; }), 0, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceOperationsSimTest, UnplugMidTransferFailsLaterWrites) {
  ASSERT_NE(Connect("keyboard"), nullptr);
  FaultSettings faults;
  faults.unplugAfterFrames = 4;
  device_->SetFaults(faults);
  const Bytes record(46, 1);
  EXPECT_EQ(operations_->WriteProfileRecord(0, record), 1);  // three frames
  EXPECT_EQ(operations_->WriteProfileRecord(0, record), 0);  // the fourth is never answered
  EXPECT_EQ(channel_.BeginConfig(), -1);
}

TEST_F(DeviceOperationsSimTest, ReceiverOutOfReachSendsOnlyTheQuery) {
  ASSERT_NE(Connect("receiver"), nullptr);
  device_->State().SetLinkUp(false);
  EXPECT_EQ(operations_->ReadDevice(), 0);
  EXPECT_EQ(operations_->ReadCurrentProfile(), 0);
  EXPECT_EQ(operations_->ReadPowerStatus(), 0);
  const auto sent = device_->Log().CommandFrames();
  ASSERT_EQ(sent.size(), 3u);
  for (const auto& f : sent) EXPECT_EQ(f[3], 0xAA);
}

}  // namespace
}  // namespace ostrel::test
