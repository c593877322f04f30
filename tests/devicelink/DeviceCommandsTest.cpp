// The command set: frame building and checksums, chunking, locks' effects,
// status codes per frame, QueryLink and the lighting stream.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <future>
#include <numeric>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "PeerFixture.h"
#include "devicelink/CommandFrame.h"
#include "platform/os/DebugLog.h"

namespace ostrel::test {
namespace {

Bytes Pattern(std::size_t length, std::uint8_t seed = 1) {
  Bytes bytes(length);
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
  return bytes;
}

// ---- Frame building ----

struct ChecksumCase {
  const char* name;
  CommandId command;
  std::uint8_t length;
  std::uint16_t address;
  Bytes payload;
  std::uint8_t low;
  std::uint8_t high;
  friend void PrintTo(const ChecksumCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceCommandsChecksumTest : public ::testing::TestWithParam<ChecksumCase> {};

TEST_P(DeviceCommandsChecksumTest, SumsBytesThreeToSixtyThree) {
  const auto& c = GetParam();
  CommandFrame frame(c.command, c.length, c.address);
  frame.SetPayload(c.payload.data(), c.payload.size());
  frame.Seal();
  EXPECT_EQ(frame[0], 4);
  EXPECT_EQ(frame[1], c.low);
  EXPECT_EQ(frame[2], c.high);
  EXPECT_EQ(frame[3], static_cast<std::uint8_t>(c.command));
  EXPECT_EQ(frame[7], 0);
  // Resealing does not feed the checksum bytes into the sum.
  frame.Seal();
  EXPECT_EQ(frame[1], c.low);
  EXPECT_EQ(frame[2], c.high);
}

// 0xAA + 17 x 0xFF + 0x9B = 0x1234. The largest possible sum of 61 bytes is
// 61 x 255 = 0x3CC3, so the 16-bit truncation never drops anything.
INSTANTIATE_TEST_SUITE_P(
    DeviceCommandsFrames, DeviceCommandsChecksumTest,
    ::testing::Values(ChecksumCase{"BeginConfig", CommandId::kBeginConfig, 0, 0, {}, 0x01, 0x00},
                      ChecksumCase{"LengthAndAddress", CommandId::kWriteMemory, 10, 0x01B8, {}, 0xC9, 0x00},
                      ChecksumCase{"Sum1234", CommandId::kQueryLink, 0, 0,
                                   [] {
                                     Bytes p(17, 0xFF);
                                     p.push_back(0x9B);
                                     return p;
                                   }(),
                                   0x34, 0x12},
                      ChecksumCase{"FullPayload", CommandId::kQueryLink, 0xFF, 0xFFFF, Bytes(56, 0xFF), 0x6F,
                                   0x3B}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeviceCommandsFrameTest, PayloadBeyondFiftySixBytesIsCut) {
  CommandFrame frame(CommandId::kWriteMemory, 56, 0);
  const Bytes data = Pattern(80);
  frame.SetPayload(data.data(), data.size());
  EXPECT_EQ(frame[63], data[55]);
  EXPECT_EQ(CommandFrame::Checksum(frame.data()),
            static_cast<std::uint16_t>(6 + 56 + std::accumulate(data.begin(), data.begin() + 56, 0)));
}

// ---- Commands over the scripted device ----

using DeviceCommandsTest = PeerFixture;

struct ControlCase {
  const char* name;
  int (*run)(DeviceChannel&);
  std::uint8_t id;
  std::uint8_t length;
  friend void PrintTo(const ControlCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceCommandsControlTest : public PeerFixture, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(DeviceCommandsControlTest, SendsOneSealedFrame) {
  EXPECT_EQ(GetParam().run(channel_), 1);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 1u);
  const Bytes& frame = sent[0];
  ASSERT_EQ(frame.size(), 64u);
  EXPECT_EQ(frame[0], 4);
  EXPECT_EQ(frame[3], GetParam().id);
  EXPECT_EQ(frame[4], GetParam().length);
  EXPECT_EQ(Address(frame), 0);
  EXPECT_EQ(frame[7], 0);
  EXPECT_EQ(frame[1] | (frame[2] << 8), CommandFrame::Checksum(frame.data()));
}

INSTANTIATE_TEST_SUITE_P(
    DeviceCommandsCommands, DeviceCommandsControlTest,
    ::testing::Values(
        ControlCase{"BeginConfig", [](DeviceChannel& c) { return c.BeginConfig(); }, 1, 0},
        ControlCase{"EndConfig", [](DeviceChannel& c) { return c.EndConfig(); }, 2, 0},
        ControlCase{"StartHostLighting", [](DeviceChannel& c) { return c.StartHostLighting(); }, 28, 0},
        ControlCase{"QueryLink", [](DeviceChannel& c) { return c.QueryLink() ? 1 : 0; }, 0xAA, 0},
        ControlCase{"ReadDeviceInfo",
                    [](DeviceChannel& c) {
                      std::array<std::uint8_t, 34> info{};
                      return c.ReadDeviceInfo(info.data());
                    },
                    3, 34},
        ControlCase{"ReadPowerStatus",
                    [](DeviceChannel& c) {
                      std::array<std::uint8_t, 6> status{};
                      return c.ReadPowerStatus(status.data(), status.size(), 0);
                    },
                    26, 6}),
    [](const auto& info) { return std::string(info.param.name); });

// (length, address) of every frame a transfer is cut into.
using FramePlan = std::vector<std::pair<int, int>>;

struct ChunkCase {
  const char* name;
  std::uint8_t id;
  int (*run)(DeviceChannel&, const Bytes&);
  std::size_t dataLength;
  FramePlan plan;
  friend void PrintTo(const ChunkCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceCommandsChunkTest : public PeerFixture, public ::testing::WithParamInterface<ChunkCase> {};

TEST_P(DeviceCommandsChunkTest, CutsTransfersIntoFrames) {
  const auto& c = GetParam();
  const Bytes data = Pattern(c.dataLength);
  EXPECT_EQ(c.run(channel_, data), 1);
  const auto sent = Sent();
  ASSERT_EQ(sent.size(), c.plan.size());
  std::size_t offset = 0;
  for (std::size_t i = 0; i < sent.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(sent[i][3], c.id);
    EXPECT_EQ(sent[i][4], c.plan[i].first);
    EXPECT_EQ(Address(sent[i]), c.plan[i].second);
    EXPECT_EQ(sent[i][1] | (sent[i][2] << 8), CommandFrame::Checksum(sent[i].data()));
    const std::size_t n = static_cast<std::size_t>(c.plan[i].first);
    const bool isWrite = c.id == 6 || c.id == 9 || c.id == 11 || c.id == 18 || c.id == 21 || c.id == 23;
    if (isWrite) {
      EXPECT_EQ(Bytes(sent[i].begin() + 8, sent[i].begin() + 8 + n),
                Bytes(data.begin() + offset, data.begin() + offset + n));
    }
    // Bytes past the payload are 0.
    for (std::size_t k = 8 + (isWrite ? n : 0); k < 64; ++k) EXPECT_EQ(sent[i][k], 0) << k;
    offset += n;
  }
}

INSTANTIATE_TEST_SUITE_P(
    DeviceCommandsTransfers, DeviceCommandsChunkTest,
    ::testing::Values(
        ChunkCase{"WriteMemory66At128",
                  6,
                  [](DeviceChannel& c, const Bytes& d) { return c.WriteMemory(d.data(), 66, 128); },
                  66,
                  {{56, 128}, {10, 184}}},
        ChunkCase{"ReadMemoryExactlyTwoFrames",
                  5,
                  [](DeviceChannel& c, const Bytes&) {
                    Bytes out(112);
                    return c.ReadMemory(out.data(), out.size(), 0);
                  },
                  0,
                  {{56, 0}, {56, 56}}},
        ChunkCase{"ReadMemoryAddressWraps",
                  5,
                  [](DeviceChannel& c, const Bytes&) {
                    Bytes out(60);
                    return c.ReadMemory(out.data(), out.size(), 0xFFF0);
                  },
                  0,
                  {{56, 0xFFF0}, {4, 0x0028}}},
        ChunkCase{"ReadKeyMapBlockLengthZero",
                  7,
                  [](DeviceChannel& c, const Bytes&) {
                    c.SetBlockLength(0);
                    std::array<std::uint8_t, 512> out{};
                    return c.ReadKeyMap(out.data());
                  },
                  0,
                  {}},
        ChunkCase{"ReadKeyMap120",
                  7,
                  [](DeviceChannel& c, const Bytes&) {
                    c.SetBlockLength(120);
                    std::array<std::uint8_t, 512> out{};
                    return c.ReadKeyMap(out.data());
                  },
                  0,
                  {{56, 0}, {56, 56}, {8, 112}}},
        ChunkCase{"WriteKeyMap120",
                  9,
                  [](DeviceChannel& c, const Bytes& d) {
                    c.SetBlockLength(120);
                    return c.WriteKeyMap(d.data(), 0);
                  },
                  120,
                  {{56, 0}, {56, 56}, {8, 112}}},
        ChunkCase{"ReadKeyAttributesThirdOfBlock",
                  27,
                  [](DeviceChannel& c, const Bytes&) {
                    c.SetBlockLength(300);
                    std::array<std::uint8_t, 171> out{};
                    return c.ReadKeyAttributes(out.data());
                  },
                  0,
                  {{56, 0}, {44, 56}}},
        ChunkCase{"ReadLedColoursBankOne",
                  10,
                  [](DeviceChannel& c, const Bytes&) {
                    Bytes out(60);
                    return c.ReadLedColours(out.data(), out.size(), 1, 512);
                  },
                  0,
                  {{56, 512}, {4, 568}}},
        ChunkCase{"WriteLedColoursWholeBank",
                  11,
                  [](DeviceChannel& c, const Bytes& d) { return c.WriteLedColours(d.data(), 512, 0, 512); },
                  512,
                  {{56, 0},
                   {56, 56},
                   {56, 112},
                   {56, 168},
                   {56, 224},
                   {56, 280},
                   {56, 336},
                   {56, 392},
                   {56, 448},
                   {8, 504}}},
        ChunkCase{"WriteMacroData57",
                  21,
                  [](DeviceChannel& c, const Bytes& d) { return c.WriteMacroData(d.data(), 57); },
                  57,
                  {{56, 0}, {1, 56}}},
        ChunkCase{"WriteShootDataIgnoresChunkSize",
                  23,
                  [](DeviceChannel& c, const Bytes& d) {
                    c.SetChunkSize(20);
                    return c.WriteShootData(d.data(), 60);
                  },
                  60,
                  {{56, 0}, {4, 56}}},
        ChunkCase{"WriteMemoryFollowsChunkSize",
                  6,
                  [](DeviceChannel& c, const Bytes& d) {
                    c.SetChunkSize(20);
                    return c.WriteMemory(d.data(), 46, 46);
                  },
                  46,
                  {{20, 46}, {20, 66}, {6, 86}}},
        ChunkCase{"StreamLedFrame",
                  18,
                  [](DeviceChannel& c, const Bytes& d) { return c.StreamLedFrame(d.data(), 60); },
                  60,
                  {{56, 0}, {4, 56}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceCommandsTest, ReadsAssembleWhatTheDeviceHolds) {
  const Bytes memory = Pattern(71, 9);
  peer_.SetMemory(5, 256, memory);
  Bytes out(71, 0);
  ASSERT_EQ(channel_.ReadMemory(out.data(), out.size(), 256), 1);
  EXPECT_EQ(out, memory);

  const Bytes written = Pattern(66, 3);
  ASSERT_EQ(channel_.WriteMemory(written.data(), written.size(), 128), 1);
  EXPECT_EQ(peer_.Memory(5, 128, 66), written);

  const Bytes keyMap = Pattern(510, 4);
  peer_.SetMemory(7, 0, keyMap);
  ASSERT_TRUE(channel_.SetBlockLength(510));
  std::array<std::uint8_t, 512> keys{};
  keys.fill(0xEE);
  ASSERT_EQ(channel_.ReadKeyMap(keys.data()), 1);
  EXPECT_EQ(Bytes(keys.begin(), keys.begin() + 510), keyMap);
  EXPECT_EQ(keys[510], 0xEE);  // only block length bytes are filled
}

// Each frame is checked: the first failing one ends the transfer with its
// code, and what was sent before stays on the device.
struct StatusCase {
  const char* name;
  int failingFrame;
  std::uint8_t status;
  int expected;
  std::size_t framesSent;
  friend void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceCommandsStatusTest : public PeerFixture, public ::testing::WithParamInterface<StatusCase> {};

TEST_P(DeviceCommandsStatusTest, FirstFailingFrameEndsTheWrite) {
  const auto& c = GetParam();
  peer_.SetScript([&](const Bytes& request, int index) {
    PeerReply reply = peer_.MemoryReply(request);
    if (index == c.failingFrame) reply.bytes[7] = c.status;
    return std::vector<PeerReply>{reply};
  });
  const Bytes data = Pattern(150);
  EXPECT_EQ(channel_.WriteMemory(data.data(), data.size(), 0), c.expected);
  EXPECT_EQ(Sent().size(), c.framesSent);
  EXPECT_EQ(peer_.Memory(5, 0, 56), Bytes(data.begin(), data.begin() + 56));
}

INSTANTIATE_TEST_SUITE_P(DeviceCommandsStatuses, DeviceCommandsStatusTest,
                         ::testing::Values(StatusCase{"RejectedInSecondFrame", 1, 0xFE, -103, 2},
                                           StatusCase{"FailedInSecondFrame", 1, 0xFF, -102, 2},
                                           StatusCase{"OtherStatusIsSuccess", 1, 0x00, 1, 3},
                                           StatusCase{"RejectedInLastFrame", 2, 0xFE, -103, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceCommandsTest, DeviceInfoIsCopiedOnlyWhenRead) {
  peer_.SetMemory(3, 0, Pattern(34, 2));
  std::array<std::uint8_t, 34> info{};
  ASSERT_EQ(channel_.ReadDeviceInfo(info.data()), 1);
  EXPECT_EQ(Bytes(info.begin(), info.end()), Pattern(34, 2));

  peer_.SetScript([](const Bytes& request, int) {
    return std::vector<PeerReply>{{ScriptedPeer::ReplyTo(request, 0xFF, Bytes(34, 0x99))}};
  });
  info.fill(0xEE);
  EXPECT_EQ(channel_.ReadDeviceInfo(info.data()), -102);
  EXPECT_EQ(info[0], 0xEE);
}

// The device needs a pause after the last configuration frame.
TEST_F(DeviceCommandsTest, EndConfigWaitsBeforeItsFrame) {
  for (bool connected : {true, false}) {
    channel_.SetConnected(connected);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(channel_.EndConfig(), connected ? 1 : 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(10));
  }
  EXPECT_EQ(Sent().size(), 1u);
}

TEST_F(DeviceCommandsTest, KeyMapBlockOtherThanZeroIsRefusedWithoutTraffic) {
  const Bytes data = Pattern(512);
  EXPECT_EQ(channel_.WriteKeyMap(data.data(), 1), -201);
  EXPECT_EQ(channel_.WriteKeyMap(data.data(), -1), -201);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_TRUE(Sent().empty());
}

TEST_F(DeviceCommandsTest, PowerStatusCopiesTheRequestedBytes) {
  peer_.SetMemory(26, 4, {80, 1, 0, 0, 0, 2, 0x77});
  std::array<std::uint8_t, 8> status{};
  status.fill(0xEE);
  ASSERT_EQ(channel_.ReadPowerStatus(status.data(), 6, 4), 1);
  EXPECT_EQ(Bytes(status.begin(), status.begin() + 7), (Bytes{80, 1, 0, 0, 0, 2, 0xEE}));
  EXPECT_EQ(Address(Sent()[0]), 4);
}

struct QueryLinkCase {
  const char* name;
  std::uint8_t status;
  std::uint8_t byte8;
  bool silent;
  bool expected;
  friend void PrintTo(const QueryLinkCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceCommandsQueryLinkTest : public PeerFixture,
                                    public ::testing::WithParamInterface<QueryLinkCase> {};

TEST_P(DeviceCommandsQueryLinkTest, TrueOnlyForALinkUpAnswer) {
  const auto& c = GetParam();
  peer_.SetScript([&](const Bytes& request, int) {
    if (c.silent) return std::vector<PeerReply>{};
    return std::vector<PeerReply>{{ScriptedPeer::ReplyTo(request, c.status, {c.byte8})}};
  });
  EXPECT_EQ(channel_.QueryLink(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(DeviceCommandsAnswers, DeviceCommandsQueryLinkTest,
                         ::testing::Values(QueryLinkCase{"LinkUp", 0x01, 0xFF, false, true},
                                           QueryLinkCase{"LinkDown", 0x01, 0x00, false, false},
                                           QueryLinkCase{"AlmostUp", 0x01, 0xFE, false, false},
                                           QueryLinkCase{"StatusRejected", 0xFE, 0xFF, false, false},
                                           QueryLinkCase{"StatusFailed", 0xFF, 0xFF, false, false},
                                           QueryLinkCase{"Silent", 0, 0, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The lighting stream ----

class LogLines {
 public:
  LogLines() {
    SetDebugSink([this](std::string_view line) {
      std::lock_guard<std::mutex> lock(mutex_);
      lines_.emplace_back(line);
    });
  }
  ~LogLines() { SetDebugSink({}); }
  int Count(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(std::count(lines_.begin(), lines_.end(), text));
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> lines_;
};

TEST_F(DeviceCommandsTest, StreamDropsItsFramesWhileAnExchangeRuns) {
  // The configuration read is answered late, keeping the channel busy.
  peer_.SetScript([&](const Bytes& request, int) {
    const int delay = request[3] == 5 ? 400 : 0;
    return std::vector<PeerReply>{{peer_.MemoryReply(request).bytes, delay}};
  });
  LogLines log;
  auto read = std::async(std::launch::async, [&] {
    Bytes out(10);
    return channel_.ReadMemory(out.data(), out.size(), 0);
  });
  ASSERT_TRUE(peer_.WaitForRequests(1, 2000));
  ASSERT_TRUE(channel_.IsBusy());
  const Bytes frame = Pattern(126 * 3);  // 7 frames
  EXPECT_EQ(channel_.StreamLedFrame(frame.data(), frame.size()), 1);
  EXPECT_EQ(log.Count("放弃灯光数据"), 7);
  EXPECT_EQ(read.get(), 1);
  EXPECT_EQ(Sent().size(), 1u);

  // Idle again: the stream goes out.
  EXPECT_EQ(channel_.StreamLedFrame(frame.data(), frame.size()), 1);
  EXPECT_EQ(Sent().size(), 8u);
  EXPECT_EQ(peer_.Memory(18, 0, frame.size()), frame);
}

TEST_F(DeviceCommandsTest, StreamSendsNothingOverAWirelessReceiver) {
  channel_.SetLongTimeout(true);
  const Bytes frame = Pattern(30);
  EXPECT_EQ(channel_.StreamLedFrame(frame.data(), frame.size()), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_TRUE(Sent().empty());
}

TEST_F(DeviceCommandsTest, StreamReportsTheFailingFrame) {
  peer_.SetScript([&](const Bytes& request, int index) {
    PeerReply reply = peer_.MemoryReply(request);
    if (index == 1) reply.bytes[7] = 0xFE;
    return std::vector<PeerReply>{reply};
  });
  const Bytes frame = Pattern(170);
  EXPECT_EQ(channel_.StreamLedFrame(frame.data(), frame.size()), -103);
  EXPECT_EQ(Sent().size(), 2u);
}

// Shooting data takes no lock of its own: it goes out while another thread
// holds the command lock.
TEST_F(DeviceCommandsTest, ShootDataDoesNotWaitForTheCommandLock) {
  channel_.LockCommand();
  auto write = std::async(std::launch::async, [&] {
    const Bytes data = Pattern(20);
    return channel_.WriteShootData(data.data(), data.size());
  });
  const bool done = write.wait_for(std::chrono::seconds(2)) == std::future_status::ready;
  channel_.UnlockCommand();
  ASSERT_TRUE(done);
  EXPECT_EQ(write.get(), 1);
}

TEST_F(DeviceCommandsTest, LedWriteUsesTheLightLockNotTheCommandLock) {
  channel_.LockCommand();
  auto write = std::async(std::launch::async, [&] {
    const Bytes data = Pattern(512);
    return channel_.WriteLedColours(data.data(), 512, 0, 512);
  });
  const bool done = write.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
  channel_.UnlockCommand();
  ASSERT_TRUE(done);
  EXPECT_EQ(write.get(), 1);

  channel_.LockLight();
  auto blocked = std::async(std::launch::async, [&] {
    const Bytes data = Pattern(10);
    return channel_.WriteLedColours(data.data(), 10, 0, 512);
  });
  EXPECT_EQ(blocked.wait_for(std::chrono::milliseconds(150)), std::future_status::timeout);
  channel_.UnlockLight();
  EXPECT_EQ(blocked.get(), 1);
}

}  // namespace
}  // namespace ostrel::test
