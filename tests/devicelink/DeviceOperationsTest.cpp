// The page-operation sequences: which commands go out in which order per
// device type, where the profile records live, the QueryLink gating of a
// wireless mouse and what is kept of the data read.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "PeerFixture.h"
#include "devicelink/DeviceOperations.h"

namespace ostrel::test {
namespace {

using Ids = std::vector<std::uint8_t>;
constexpr std::uint8_t QL = 0xAA;

Bytes Pattern(std::size_t length, std::uint8_t seed = 1) {
  Bytes bytes(length);
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 5);
  return bytes;
}

Bytes InfoRecord(int keyCount, int macroUnits = 16) {
  Bytes info(34, 0);
  info[5] = static_cast<std::uint8_t>(keyCount);
  info[6] = static_cast<std::uint8_t>(macroUnits);
  info[11] = 50;
  info[12] = 0x82;  // 130 steps
  info[14] = 0x64;  // 100 DPI
  return info;
}

class DeviceOperationsTest : public PeerFixture {
 protected:
  void Use(int deviceType) {
    channel_.SetLongTimeout(deviceType == kDeviceWirelessMouse);
    operations_ = std::make_unique<DeviceOperations>(channel_, deviceType);
  }
  // Answers as the memory model does, but QueryLink number `downAt` (0 is
  // the first) reports the link down.
  void LinkDownAt(int downAt) {
    auto queries = std::make_shared<int>(0);
    peer_.SetScript([this, downAt, queries](const Bytes& request, int) {
      if (request[3] == QL) {
        const bool up = (*queries)++ != downAt;
        return std::vector<PeerReply>{
            {ScriptedPeer::ReplyTo(request, 1, {static_cast<std::uint8_t>(up ? 0xFF : 0)})}};
      }
      return std::vector<PeerReply>{peer_.MemoryReply(request)};
    });
  }
  // Replies to frame number `index` (0 is the first) with the status.
  void StatusAt(int failing, std::uint8_t status) {
    peer_.SetScript([this, failing, status](const Bytes& request, int index) {
      PeerReply reply = peer_.MemoryReply(request);
      if (index == failing) reply.bytes[7] = status;
      return std::vector<PeerReply>{reply};
    });
  }
  // Command ids with runs of one multi-frame command collapsed.
  Ids Commands() {
    Ids ids;
    for (std::uint8_t id : CommandIds()) {
      if (!ids.empty() && ids.back() == id && id != QL) continue;
      ids.push_back(id);
    }
    return ids;
  }

  std::unique_ptr<DeviceOperations> operations_;
};

struct ReadDeviceCase {
  const char* name;
  int deviceType;
  int keyCount;
  int expected;
  Ids commands;
  int keyMapFrames;
  friend void PrintTo(const ReadDeviceCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceOperationsReadDeviceTest : public DeviceOperationsTest,
                                       public ::testing::WithParamInterface<ReadDeviceCase> {};

TEST_P(DeviceOperationsReadDeviceTest, RunsTheTypesSequence) {
  const auto& c = GetParam();
  Use(c.deviceType);
  peer_.SetMemory(3, 0, InfoRecord(c.keyCount));
  const Bytes keyMap = Pattern(c.keyCount * 3, 3);
  const Bytes attributes = Pattern(c.keyCount, 200);
  peer_.SetMemory(7, 0, keyMap);
  peer_.SetMemory(27, 0, attributes);

  EXPECT_EQ(operations_->ReadDevice(), c.expected);
  EXPECT_EQ(Commands(), c.commands);
  int keyMapFrames = 0;
  for (std::uint8_t id : CommandIds()) keyMapFrames += id == 7;
  EXPECT_EQ(keyMapFrames, c.keyMapFrames);

  if (c.expected != 1) return;
  EXPECT_EQ(Bytes(operations_->Info().Bytes().begin(), operations_->Info().Bytes().end()),
            InfoRecord(c.keyCount));
  if (c.keyMapFrames > 0) {
    EXPECT_EQ(channel_.BlockLength(), c.keyCount * 3);
    EXPECT_EQ(Bytes(operations_->KeyMap().begin(), operations_->KeyMap().end()), keyMap);
  }
  if (c.deviceType == kDeviceKeyboard) {
    EXPECT_EQ(Bytes(operations_->KeyAttributes().begin(), operations_->KeyAttributes().end()), attributes);
  }
}

INSTANTIATE_TEST_SUITE_P(
    DeviceOperationsTypes, DeviceOperationsReadDeviceTest,
    ::testing::Values(ReadDeviceCase{"Mouse", kDeviceMouse, 10, 1, {1, 3, 7, 2}, 1},
                      ReadDeviceCase{"MouseFullBlock", kDeviceMouse, 170, 1, {1, 3, 7, 2}, 10},
                      ReadDeviceCase{"Keyboard", kDeviceKeyboard, 104, 1, {1, 3, 7, 27, 2}, 6},
                      ReadDeviceCase{"KeyboardTooManyKeys", kDeviceKeyboard, 171, 0, {1, 3}, 0},
                      ReadDeviceCase{"MouseTooManyKeys", kDeviceMouse, 200, 0, {1, 3}, 0},
                      ReadDeviceCase{"KeyboardNoKeys", kDeviceKeyboard, 0, 1, {1, 3, 2}, 0},
                      ReadDeviceCase{"MousePad", kDeviceMousePad, 10, 1, {1, 3, 2}, 0},
                      ReadDeviceCase{
                          "WirelessMouse", kDeviceWirelessMouse, 10, 1, {QL, 1, QL, 3, QL, 7, QL, 2}, 1},
                      ReadDeviceCase{"HeadsetHasNothingToRead", kDeviceHeadset, 10, 0, {}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceOperationsTest, RefusedBlockLengthKeepsTheOldLength) {
  Use(kDeviceKeyboard);
  ASSERT_TRUE(channel_.SetBlockLength(300));
  peer_.SetMemory(3, 0, InfoRecord(171));
  EXPECT_EQ(operations_->ReadDevice(), 0);
  EXPECT_EQ(channel_.BlockLength(), 300);
  EXPECT_TRUE(operations_->KeyMap().empty());
}

TEST_F(DeviceOperationsTest, FailingCommandEndsTheRead) {
  Use(kDeviceKeyboard);
  peer_.SetMemory(3, 0, InfoRecord(40));
  StatusAt(2, 0xFE);  // the first key map frame
  EXPECT_EQ(operations_->ReadDevice(), -103);
  EXPECT_EQ(Commands(), (Ids{1, 3, 7}));
  EXPECT_TRUE(operations_->KeyMap().empty());
}

// A wireless mouse asks before every command; a link that goes down ends
// the sequence right there.
struct GatingCase {
  const char* name;
  int downAt;
  Ids commands;
  friend void PrintTo(const GatingCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceOperationsGatingTest : public DeviceOperationsTest,
                                   public ::testing::WithParamInterface<GatingCase> {};

TEST_P(DeviceOperationsGatingTest, LinkDownStopsTheReadThere) {
  Use(kDeviceWirelessMouse);
  peer_.SetMemory(3, 0, InfoRecord(10));
  LinkDownAt(GetParam().downAt);
  EXPECT_EQ(operations_->ReadDevice(), 0);
  EXPECT_EQ(Commands(), GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(DeviceOperationsQueries, DeviceOperationsGatingTest,
                         ::testing::Values(GatingCase{"BeforeBeginConfig", 0, {QL}},
                                           GatingCase{"BeforeDeviceInfo", 1, {QL, 1, QL}},
                                           GatingCase{"BeforeKeyMap", 2, {QL, 1, QL, 3, QL}},
                                           GatingCase{"BeforeEndConfig", 3, {QL, 1, QL, 3, QL, 7, QL}}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ProfileCase {
  const char* name;
  int deviceType;
  int profile;
  int readAddress;
  int readLength;
  int writeAddress;
  int writeLength;
  friend void PrintTo(const ProfileCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceOperationsProfileTest : public DeviceOperationsTest,
                                    public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(DeviceOperationsProfileTest, ReadsTheCurrentProfilesRecord) {
  const auto& c = GetParam();
  Use(c.deviceType);
  channel_.SetPaused(true);
  peer_.SetMemory(5, 0, {static_cast<std::uint8_t>(c.profile)});
  Bytes record = Pattern(c.readLength, 11);
  record[0] = static_cast<std::uint8_t>(c.profile);  // record 0 starts at the index byte
  record[1] = 3;                                     // not the per-key colour mode
  peer_.SetMemory(5, static_cast<std::uint16_t>(c.readAddress), record);

  ASSERT_EQ(operations_->ReadCurrentProfile(), 1);
  EXPECT_FALSE(channel_.IsPaused());
  EXPECT_EQ(operations_->ProfileIndex(), c.profile);
  EXPECT_EQ(Bytes(operations_->ProfileRecord().begin(), operations_->ProfileRecord().end()), record);

  const auto sent = Sent();
  std::vector<Bytes> reads;
  for (const auto& f : sent) {
    if (f[3] == 5) reads.push_back(f);
  }
  ASSERT_GE(reads.size(), 2u);
  EXPECT_EQ(reads[0][4], 1);
  EXPECT_EQ(Address(reads[0]), 0);
  EXPECT_EQ(Address(reads[1]), c.readAddress);
  int total = 0;
  for (std::size_t i = 1; i < reads.size(); ++i) total += reads[i][4];
  EXPECT_EQ(total, c.readLength);
}

TEST_P(DeviceOperationsProfileTest, WritesTheRecordAtTheTypesAddress) {
  const auto& c = GetParam();
  Use(c.deviceType);
  const Bytes record = Pattern(c.writeLength, 21);
  ASSERT_EQ(operations_->WriteProfileRecord(c.profile, record), 1);
  if (c.deviceType == kDeviceWirelessMouse) {
    EXPECT_EQ(Commands(), (Ids{QL, 1, QL, 6, QL, 2}));
  } else {
    EXPECT_EQ(Commands(), (Ids{1, 6, 2}));
  }
  EXPECT_EQ(peer_.Memory(5, static_cast<std::uint16_t>(c.writeAddress), c.writeLength), record);
  // Nothing past the record is touched.
  EXPECT_EQ(peer_.Memory(5, static_cast<std::uint16_t>(c.writeAddress + c.writeLength), 1), Bytes{0});
}

INSTANTIATE_TEST_SUITE_P(DeviceOperationsTypes, DeviceOperationsProfileTest,
                         ::testing::Values(ProfileCase{"Mouse", kDeviceMouse, 2, 256, 71, 256, 66},
                                           ProfileCase{"WirelessMouse", kDeviceWirelessMouse, 1, 128, 71, 128,
                                                       66},
                                           ProfileCase{"Keyboard", kDeviceKeyboard, 3, 138, 46, 138, 46},
                                           ProfileCase{"MousePad", kDeviceMousePad, 2, 92, 46, 128, 21},
                                           ProfileCase{"Headset", kDeviceHeadset, 1, 46, 46, 64, 21},
                                           ProfileCase{"ProfileZero", kDeviceMouse, 0, 0, 71, 0, 66}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceOperationsTest, ShortProfileRecordIsPaddedWithZeros) {
  Use(kDeviceMouse);
  peer_.SetMemory(5, 0, Bytes(66, 0xEE));
  ASSERT_EQ(operations_->WriteProfileRecord(0, Bytes{1, 2, 3}), 1);
  Bytes expected(66, 0);
  expected[0] = 1, expected[1] = 2, expected[2] = 3;
  EXPECT_EQ(peer_.Memory(5, 0, 66), expected);
}

TEST_F(DeviceOperationsTest, KeyboardInPerKeyModeAlsoReadsItsColours) {
  Use(kDeviceKeyboard);
  peer_.SetMemory(3, 0, InfoRecord(104));
  ASSERT_EQ(operations_->RefreshDeviceInfo(), 1);
  peer_.SetMemory(5, 0, {1});
  Bytes record(46, 0);
  record[1] = 20;
  peer_.SetMemory(5, 46, record);
  const Bytes colours = Pattern(312, 7);
  peer_.SetMemory(10, 0, colours);

  ASSERT_EQ(operations_->ReadCurrentProfile(), 1);
  EXPECT_EQ(Commands(), (Ids{3, 5, 10}));
  EXPECT_EQ(Bytes(operations_->LedColours().begin(), operations_->LedColours().end()), colours);

  // Another mode: no colour read.
  record[1] = 19;
  peer_.SetMemory(5, 46, record);
  ASSERT_EQ(operations_->ReadCurrentProfile(), 1);
  EXPECT_EQ(Commands(), (Ids{3, 5, 10, 5}));
}

TEST_F(DeviceOperationsTest, ProfileReadStopsAtTheFirstFailure) {
  Use(kDeviceMouse);
  StatusAt(0, 0xFF);
  EXPECT_EQ(operations_->ReadCurrentProfile(), -102);
  EXPECT_EQ(CommandIds(), (Ids{5}));
}

TEST_F(DeviceOperationsTest, KeyMapWriteRereadsInfoThenWritesBlockZero) {
  Use(kDeviceMouse);
  peer_.SetMemory(3, 0, InfoRecord(10));
  const Bytes original = Pattern(30, 1);
  peer_.SetMemory(7, 0, original);
  ASSERT_EQ(operations_->ReadDevice(), 1);
  peer_.SetMemory(7, 0, Bytes(30, 0));

  // The new assignments cover the first two keys; the rest comes from the
  // table read before.
  const Bytes changed{9, 9, 9, 8, 8, 8};
  ASSERT_EQ(operations_->WriteKeyMap(changed), 1);
  Bytes expected = original;
  std::copy(changed.begin(), changed.end(), expected.begin());
  EXPECT_EQ(peer_.Memory(7, 0, 30), expected);
  EXPECT_EQ(Commands(), (Ids{1, 3, 7, 2, 3, 1, 9, 2}));
}

TEST_F(DeviceOperationsTest, KeyMapWriteEndsWhenDeviceInfoFails) {
  Use(kDeviceKeyboard);
  StatusAt(0, 0xFF);
  EXPECT_EQ(operations_->WriteKeyMap(Pattern(30)), -102);
  EXPECT_EQ(CommandIds(), (Ids{3}));
}

TEST_F(DeviceOperationsTest, WirelessKeyMapWriteAsksBeforeEveryCommand) {
  Use(kDeviceWirelessMouse);
  peer_.SetMemory(3, 0, InfoRecord(10));
  ASSERT_EQ(operations_->ReadDevice(), 1);
  const std::size_t readFrames = Sent().size();
  ASSERT_EQ(operations_->WriteKeyMap(Pattern(30)), 1);
  Ids written;
  const auto sent = Sent();
  for (std::size_t i = readFrames; i < sent.size(); ++i) written.push_back(sent[i][3]);
  EXPECT_EQ(written, (Ids{QL, 3, QL, 1, QL, 9, QL, 2}));
}

// A block length of its default (512) is not this device's key map: nothing
// is written before the map was read.
TEST_F(DeviceOperationsTest, KeyMapWriteNeedsAKeyMapReadFirst) {
  Use(kDeviceMouse);
  peer_.SetMemory(3, 0, InfoRecord(10));
  EXPECT_EQ(operations_->WriteKeyMap(Pattern(30)), 0);
  EXPECT_EQ(CommandIds(), Ids{3});
}

// Macro and shooting images: the three commands go out whatever their
// answers; the result is the first failure.
struct ImageCase {
  const char* name;
  bool shooting;
  int failingFrame;
  int expected;
  friend void PrintTo(const ImageCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceOperationsImageTest : public DeviceOperationsTest,
                                  public ::testing::WithParamInterface<ImageCase> {};

TEST_P(DeviceOperationsImageTest, SendsAllThreeCommands) {
  const auto& c = GetParam();
  Use(kDeviceMouse);
  channel_.SetChunkSize(40);  // shooting frames stay at 56 bytes
  if (c.failingFrame >= 0) StatusAt(c.failingFrame, 0xFF);
  const Bytes image = Pattern(100, 4);
  EXPECT_EQ(c.shooting ? operations_->WriteShootingData(image) : operations_->WriteMacros(image), c.expected);
  const std::uint8_t id = c.shooting ? 23 : 21;
  EXPECT_EQ(Commands(), (Ids{1, id, 2}));
  const auto sent = Sent();
  EXPECT_EQ(sent[1][4], c.shooting ? 56 : 40);
  if (c.failingFrame < 0) {
    EXPECT_EQ(peer_.Memory(id, 0, image.size()), image);
  }
}

INSTANTIATE_TEST_SUITE_P(DeviceOperationsImages, DeviceOperationsImageTest,
                         ::testing::Values(ImageCase{"Macros", false, -1, 1},
                                           ImageCase{"MacrosBeginConfigFails", false, 0, -102},
                                           ImageCase{"Shooting", true, -1, 1},
                                           ImageCase{"ShootingBeginConfigFails", true, 0, -102}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceOperationsTest, WirelessMacroWriteStopsWhenTheLinkDrops) {
  Use(kDeviceWirelessMouse);
  LinkDownAt(1);
  EXPECT_EQ(operations_->WriteMacros(Pattern(60)), 0);
  EXPECT_EQ(Commands(), (Ids{QL, 1, QL}));
}

TEST_F(DeviceOperationsTest, PerKeyColoursWriteTheWholeBankUnderFailurePause) {
  Use(kDeviceKeyboard);
  std::array<std::uint8_t, 512> colours{};
  for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = static_cast<std::uint8_t>(i);
  ASSERT_EQ(operations_->WritePerKeyColours(colours), 1);
  EXPECT_EQ(CommandIds(), Ids(10, 11));
  EXPECT_EQ(peer_.Memory(10, 0, 512), Bytes(colours.begin(), colours.end()));

  StatusAt(10, 0xFE);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(operations_->WritePerKeyColours(colours), -103);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(190));
}

TEST_F(DeviceOperationsTest, PreviewFrameStreamsWiredAndStaysHomeWireless) {
  Use(kDeviceMousePad);
  const Bytes frame = Pattern(15 * 3);
  ASSERT_EQ(operations_->PushPreviewFrame(frame), 1);
  EXPECT_EQ(CommandIds(), Ids{18});
  EXPECT_EQ(peer_.Memory(18, 0, frame.size()), frame);

  Use(kDeviceWirelessMouse);
  ASSERT_EQ(operations_->PushPreviewFrame(frame), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(CommandIds(), Ids{18});
}

struct PowerCase {
  const char* name;
  int deviceType;
  Ids commands;
  std::uint8_t wirelessByte;
  friend void PrintTo(const PowerCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceOperationsPowerTest : public DeviceOperationsTest,
                                  public ::testing::WithParamInterface<PowerCase> {};

TEST_P(DeviceOperationsPowerTest, ReadsSixBytesAndMarksWireless) {
  Use(GetParam().deviceType);
  peer_.SetMemory(26, 0, {75, 1, 9, 9, 9, 2});
  ASSERT_EQ(operations_->ReadPowerStatus(), 1);
  EXPECT_EQ(Commands(), GetParam().commands);
  const auto& status = operations_->PowerStatus();
  EXPECT_EQ(Bytes(status.begin(), status.end()), (Bytes{75, 1, 9, GetParam().wirelessByte, 9, 2}));
  EXPECT_EQ(Sent().back()[4], 6);
}

INSTANTIATE_TEST_SUITE_P(DeviceOperationsTypes, DeviceOperationsPowerTest,
                         ::testing::Values(PowerCase{"Wired", kDeviceMousePad, {26}, 0},
                                           PowerCase{"Wireless", kDeviceWirelessMouse, {QL, 26}, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceOperationsTest, HostLightingIsStartedOnlyOnAKeyboard) {
  Use(kDeviceMouse);
  EXPECT_EQ(operations_->StartHostLighting(), 1);
  Use(kDeviceKeyboard);
  EXPECT_EQ(operations_->StartHostLighting(), 1);
  EXPECT_EQ(CommandIds(), Ids{28});
}

// Without a connection nothing is sent and every operation reports 0.
TEST_F(DeviceOperationsTest, DisconnectedChannelSendsNothing) {
  for (int type : {kDeviceKeyboard, kDeviceMouse, kDeviceMousePad, kDeviceHeadset}) {
    SCOPED_TRACE(type);
    Use(type);
    channel_.SetConnected(false);
    channel_.SetPaused(true);
    std::array<std::uint8_t, 512> colours{};
    EXPECT_EQ(operations_->ReadDevice(), 0);
    EXPECT_EQ(operations_->ReadCurrentProfile(), 0);
    EXPECT_FALSE(channel_.IsPaused());
    EXPECT_EQ(operations_->WriteKeyMap(Pattern(30)), 0);
    EXPECT_EQ(operations_->WriteProfileRecord(0, Pattern(66)), 0);
    EXPECT_EQ(operations_->WriteMacros(Pattern(66)), 0);
    EXPECT_EQ(operations_->WriteShootingData(Pattern(66)), 0);
    EXPECT_EQ(operations_->ReadPowerStatus(), 0);
    EXPECT_EQ(operations_->RefreshDeviceInfo(), 0);
    if (type == kDeviceKeyboard) {
      EXPECT_EQ(operations_->StartHostLighting(), 0);
      EXPECT_EQ(operations_->WritePerKeyColours(colours), 0);
    }
  }
  EXPECT_TRUE(Sent().empty());
}

}  // namespace
}  // namespace ostrel::test
