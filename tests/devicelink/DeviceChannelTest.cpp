// The frame exchange: padding, the command-id check with its single extra
// read, time-outs, aborts, unplugging and the frame log.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <future>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "PeerFixture.h"
#include "devicelink/CommandFrame.h"
#include "platform/os/DebugLog.h"

namespace ostrel::test {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Collects the debug stream for the lifetime of the object.
class LogCapture {
 public:
  LogCapture() {
    SetDebugSink([this](std::string_view line) {
      std::lock_guard<std::mutex> lock(mutex_);
      lines_.emplace_back(line);
    });
  }
  ~LogCapture() { SetDebugSink({}); }
  std::vector<std::string> Lines() {
    std::lock_guard<std::mutex> lock(mutex_);
    return lines_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> lines_;
};

Bytes Frame(std::uint8_t command, std::uint8_t marker = 0) {
  Bytes frame(64, 0);
  frame[0] = 4;
  frame[3] = command;
  frame[8] = marker;
  return frame;
}

using DeviceChannelTest = PeerFixture;

TEST_F(DeviceChannelTest, ShortRequestGoesOutAsWholeFrameAndLongOneIsCut) {
  const std::uint8_t shortRequest[8] = {4, 0x37, 0x00, 5, 2, 0x10, 0x00, 0};
  std::array<std::uint8_t, 64> reply{};
  std::uint32_t bytesRead = 99;
  EXPECT_EQ(channel_.Exchange(shortRequest, sizeof(shortRequest), reply.data(), reply.size(), &bytesRead), 1);
  EXPECT_EQ(bytesRead, 64u);

  std::vector<std::uint8_t> longRequest(100, 0x5A);
  longRequest[0] = 4;
  longRequest[3] = 6;
  EXPECT_EQ(channel_.Exchange(longRequest.data(), longRequest.size(), reply.data(), reply.size(), nullptr),
            1);

  const auto sent = Sent();
  ASSERT_EQ(sent.size(), 2u);
  Bytes expected(64, 0);
  std::copy(std::begin(shortRequest), std::end(shortRequest), expected.begin());
  EXPECT_EQ(sent[0], expected);
  EXPECT_EQ(sent[1], Bytes(longRequest.begin(), longRequest.begin() + 64));
}

TEST_F(DeviceChannelTest, NotConnectedSendsNothingAndReturnsZero) {
  channel_.SetConnected(false);
  const auto request = Frame(1);
  std::array<std::uint8_t, 64> reply{};
  reply.fill(0xEE);
  std::uint32_t bytesRead = 7;
  EXPECT_EQ(channel_.Exchange(request.data(), request.size(), reply.data(), reply.size(), &bytesRead), 0);
  EXPECT_EQ(bytesRead, 0u);
  EXPECT_EQ(channel_.QuickExchange(request.data(), request.size(), reply.data(), reply.size(), nullptr), 0);
  EXPECT_EQ(channel_.BeginConfig(), 0);
  EXPECT_FALSE(channel_.QueryLink());
  EXPECT_FALSE(channel_.IsBusy());
  EXPECT_EQ(reply[0], 0xEE);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(Sent().empty());
}

// A reply to another command (or stale data) gets one more read; what is
// still not the answer after it is never handed to the caller.
struct SecondReadCase {
  const char* name;
  std::vector<std::uint8_t> replyIds;  // command ids of the replies the device sends
  int expected;
  std::uint8_t expectedMarker;  // reply byte 8 in the caller's buffer
  friend void PrintTo(const SecondReadCase& c, std::ostream* os) { *os << c.name; }
};

class DeviceChannelSecondReadTest : public PeerFixture,
                                    public ::testing::WithParamInterface<SecondReadCase> {};

TEST_P(DeviceChannelSecondReadTest, OnlyTheRequestsOwnReplyIsTheAnswer) {
  const auto& param = GetParam();
  peer_.SetScript([&](const Bytes& request, int) {
    std::vector<PeerReply> replies;
    std::uint8_t marker = 1;
    for (std::uint8_t id : param.replyIds) {
      Bytes header = request;
      header[3] = id;
      replies.push_back({ScriptedPeer::ReplyTo(header, 1, {marker++})});
    }
    return replies;
  });
  const auto request = Frame(5);
  std::array<std::uint8_t, 64> reply{};
  reply.fill(0xEE);
  EXPECT_EQ(channel_.Exchange(request.data(), request.size(), reply.data(), reply.size(), nullptr),
            param.expected);
  EXPECT_EQ(reply[8], param.expectedMarker);
  if (param.expected == 1) {
    EXPECT_EQ(reply[3], 5);
  }
}

INSTANTIATE_TEST_SUITE_P(DeviceChannelReplies, DeviceChannelSecondReadTest,
                         ::testing::Values(SecondReadCase{"RightFirst", {5, 9}, 1, 1},
                                           SecondReadCase{"WrongThenRight", {9, 5}, 1, 2},
                                           SecondReadCase{"WrongTwice", {9, 7, 5}, 0, 0xEE},
                                           SecondReadCase{"WrongThenSilent", {9}, 0, 0xEE}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceChannelTest, SilentDeviceTimesOutAfterOneSecond) {
  peer_.SetScript([](const Bytes&, int) { return std::vector<PeerReply>{}; });
  const auto request = Frame(3);
  std::array<std::uint8_t, 64> reply{};
  const auto start = Clock::now();
  EXPECT_EQ(channel_.Exchange(request.data(), request.size(), reply.data(), reply.size(), nullptr), 0);
  const double elapsed = SecondsSince(start);
  EXPECT_GE(elapsed, 0.95);
  EXPECT_LT(elapsed, 2.5);  // one read only: a failed read is not repeated
  EXPECT_FALSE(channel_.IsBusy());
}

TEST_F(DeviceChannelTest, LongTimeoutWaitsFiveSecondsButQuickExchangeKeepsOne) {
  peer_.SetScript([](const Bytes&, int) { return std::vector<PeerReply>{}; });
  channel_.SetLongTimeout(true);
  const auto request = Frame(3);
  std::array<std::uint8_t, 64> reply{};

  auto start = Clock::now();
  EXPECT_EQ(channel_.QuickExchange(request.data(), request.size(), reply.data(), reply.size(), nullptr), 0);
  double elapsed = SecondsSince(start);
  EXPECT_GE(elapsed, 0.95);
  EXPECT_LT(elapsed, 2.5);

  start = Clock::now();
  EXPECT_EQ(channel_.Exchange(request.data(), request.size(), reply.data(), reply.size(), nullptr), 0);
  elapsed = SecondsSince(start);
  EXPECT_GE(elapsed, 4.9);
  EXPECT_LT(elapsed, 8.0);
}

TEST_F(DeviceChannelTest, LateReplyNeverLandsInTheCallersBuffer) {
  peer_.SetScript([](const Bytes& request, int index) {
    // The first request is answered only after the time-out.
    return std::vector<PeerReply>{{ScriptedPeer::ReplyTo(request, 1, {0x77}), index == 0 ? 1300 : 0}};
  });
  auto buffer = std::make_unique<std::array<std::uint8_t, 64>>();
  buffer->fill(0xEE);
  const auto first = Frame(3);
  EXPECT_EQ(channel_.Exchange(first.data(), first.size(), buffer->data(), buffer->size(), nullptr), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  for (std::uint8_t b : *buffer) ASSERT_EQ(b, 0xEE);
  buffer.reset();

  // The stale reply of command 3 is still queued: the next command skips it.
  std::array<std::uint8_t, 64> reply{};
  const auto second = Frame(5);
  EXPECT_EQ(channel_.Exchange(second.data(), second.size(), reply.data(), reply.size(), nullptr), 1);
  EXPECT_EQ(reply[3], 5);
}

TEST_F(DeviceChannelTest, DisconnectReleasesABlockedReadAtOnce) {
  peer_.SetScript([](const Bytes&, int) { return std::vector<PeerReply>{}; });
  channel_.SetLongTimeout(true);
  auto exchange = std::async(std::launch::async, [&] {
    const auto request = Frame(3);
    std::array<std::uint8_t, 64> reply{};
    return channel_.Exchange(request.data(), request.size(), reply.data(), reply.size(), nullptr);
  });
  ASSERT_TRUE(peer_.WaitForRequests(1, 2000));
  EXPECT_TRUE(channel_.IsBusy());
  const auto start = Clock::now();
  channel_.Disconnect();
  ASSERT_EQ(exchange.wait_for(std::chrono::seconds(3)), std::future_status::ready);
  EXPECT_LT(SecondsSince(start), 0.5);
  EXPECT_EQ(exchange.get(), 0);
  EXPECT_FALSE(channel_.IsConnected());
  EXPECT_FALSE(channel_.IsBusy());
}

TEST_F(DeviceChannelTest, UnplugMidTransferEndsTheReadAndFailsTheNextWrite) {
  peer_.SetScript([](const Bytes&, int) { return std::vector<PeerReply>{}; });
  channel_.SetLongTimeout(true);
  auto exchange = std::async(std::launch::async, [&] {
    const auto request = Frame(6);
    std::array<std::uint8_t, 64> reply{};
    return channel_.Exchange(request.data(), request.size(), reply.data(), reply.size(), nullptr);
  });
  ASSERT_TRUE(peer_.WaitForRequests(1, 2000));
  const auto start = Clock::now();
  peer_.Unplug();
  ASSERT_EQ(exchange.wait_for(std::chrono::seconds(3)), std::future_status::ready);
  EXPECT_LT(SecondsSince(start), 1.0);
  EXPECT_EQ(exchange.get(), 0);

  const auto request = Frame(1);
  std::array<std::uint8_t, 64> reply{};
  EXPECT_EQ(channel_.Exchange(request.data(), request.size(), reply.data(), reply.size(), nullptr), -1);
  EXPECT_EQ(channel_.WriteMemory(reply.data(), 10, 0), -1);
}

// Reports shorter or longer than a frame from a misbehaving device.
TEST_F(DeviceChannelTest, ShortAndOversizedRepliesStayWithinTheFrame) {
  peer_.SetScript([](const Bytes& request, int index) {
    Bytes reply = ScriptedPeer::ReplyTo(request, 1, Bytes(56, 0x44));
    if (index == 0) reply.resize(10);
    if (index == 1) reply.resize(200, 0x55);
    if (index == 2) reply.resize(3);  // too short to carry a command id
    return std::vector<PeerReply>{{reply}};
  });
  struct Guarded {
    std::array<std::uint8_t, 64> reply;
    std::array<std::uint8_t, 16> guard;
  } buffer{};
  buffer.guard.fill(0xC3);

  std::uint32_t bytesRead = 0;
  auto request = Frame(5);
  EXPECT_EQ(channel_.Exchange(request.data(), request.size(), buffer.reply.data(), 64, &bytesRead), 1);
  EXPECT_GE(bytesRead, 10u);
  EXPECT_LE(bytesRead, 64u);
  EXPECT_EQ(buffer.reply[8], 0x44);
  EXPECT_EQ(buffer.reply[10], 0);  // past the short report: cleared, not stale

  const int oversized =
      channel_.Exchange(request.data(), request.size(), buffer.reply.data(), 64, &bytesRead);
  EXPECT_TRUE(oversized == 1 || oversized == 0);
  EXPECT_LE(bytesRead, 64u);

  request = Frame(7);
  EXPECT_EQ(channel_.Exchange(request.data(), request.size(), buffer.reply.data(), 64, &bytesRead), 0);
  for (std::uint8_t b : buffer.guard) EXPECT_EQ(b, 0xC3);
}

TEST_F(DeviceChannelTest, LogsRequestAndReplyAsFrameDumps) {
  peer_.SetScript([](const Bytes& request, int) {
    return std::vector<PeerReply>{{ScriptedPeer::ReplyTo(request, 1, {0xAB, 0xCD})}};
  });
  LogCapture log;
  const auto request = Frame(5, 0x11);
  std::array<std::uint8_t, 64> reply{};
  ASSERT_EQ(channel_.Exchange(request.data(), request.size(), reply.data(), reply.size(), nullptr), 1);

  const auto lines = log.Lines();
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0], "命令");
  EXPECT_EQ(lines[1], FormatFrameLine(request.data(), 32));
  EXPECT_EQ(lines[2], FormatFrameLine(request.data() + 32, 32));
  EXPECT_EQ(lines[3], "返回");
  EXPECT_EQ(lines[4], FormatFrameLine(reply.data(), 32));
  EXPECT_EQ(lines[5], FormatFrameLine(reply.data() + 32, 32));
  EXPECT_NE(lines[4].find("ab cd"), std::string::npos);

  // The lighting stream's exchange is not logged.
  EXPECT_EQ(channel_.QuickExchange(request.data(), request.size(), reply.data(), reply.size(), nullptr), 1);
  EXPECT_EQ(log.Lines().size(), 6u);
}

TEST_F(DeviceChannelTest, QuickExchangeReadsOnce) {
  peer_.SetScript([](const Bytes& request, int) {
    Bytes other = request;
    other[3] = 9;
    return std::vector<PeerReply>{{ScriptedPeer::ReplyTo(other, 1)}, {ScriptedPeer::ReplyTo(request, 1)}};
  });
  const auto request = Frame(18);
  std::array<std::uint8_t, 64> reply{};
  EXPECT_EQ(channel_.QuickExchange(request.data(), request.size(), reply.data(), reply.size(), nullptr), 0);
}

// Shooting data takes no command lock, so two exchanges can overlap: the
// channel stays busy until the last of them ends.
TEST_F(DeviceChannelTest, BusyLastsUntilTheLastOverlappingExchangeEnds) {
  peer_.SetScript([](const Bytes& request, int) {
    const int delay = request[3] == 23 ? 200 : 500;
    return std::vector<PeerReply>{{ScriptedPeer::ReplyTo(request, 1), delay}};
  });
  auto shoot = std::async(std::launch::async, [&] {
    const Bytes data(10, 1);
    return channel_.WriteShootData(data.data(), data.size());
  });
  ASSERT_TRUE(peer_.WaitForRequests(1, 2000));
  // Let the shooting frame's read take the link first: a read of the other
  // thread would take its reply, and that is a different story.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  auto read = std::async(std::launch::async, [&] {
    Bytes out(4);
    return channel_.ReadMemory(out.data(), out.size(), 0);
  });
  EXPECT_EQ(shoot.get(), 1);
  ASSERT_TRUE(peer_.WaitForRequests(2, 2000));
  EXPECT_TRUE(channel_.IsBusy());
  EXPECT_EQ(read.get(), 1);
  EXPECT_FALSE(channel_.IsBusy());
}

// Commands of several threads share the command lock frame by frame: every
// reply reaches the thread that asked.
TEST_F(DeviceChannelTest, ConcurrentCommandsKeepTheirReplies) {
  Bytes memory(1024);
  for (std::size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<std::uint8_t>(i * 13 + i / 256);
  peer_.SetMemory(5, 0, memory);
  auto reader = [&](std::uint16_t base) {
    for (int round = 0; round < 20; ++round) {
      Bytes out(120);
      if (channel_.ReadMemory(out.data(), out.size(), base) != 1) return false;
      if (out != Bytes(memory.begin() + base, memory.begin() + base + 120)) return false;
    }
    return true;
  };
  auto first = std::async(std::launch::async, reader, 0);
  auto second = std::async(std::launch::async, reader, 500);
  EXPECT_TRUE(first.get());
  EXPECT_TRUE(second.get());
}

struct BlockLengthCase {
  std::uint16_t length;
  bool accepted;
  std::uint16_t after;
  friend void PrintTo(const BlockLengthCase& c, std::ostream* os) { *os << c.length; }
};

class DeviceChannelBlockLengthTest : public ::testing::TestWithParam<BlockLengthCase> {};

TEST_P(DeviceChannelBlockLengthTest, RefusesLengthsAboveOneBlock) {
  DeviceChannel channel;
  ASSERT_TRUE(channel.SetBlockLength(300));
  EXPECT_EQ(channel.SetBlockLength(GetParam().length), GetParam().accepted);
  EXPECT_EQ(channel.BlockLength(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(DeviceChannelLengths, DeviceChannelBlockLengthTest,
                         ::testing::Values(BlockLengthCase{513, false, 300},
                                           BlockLengthCase{0xFFFF, false, 300},
                                           BlockLengthCase{512, true, 512}, BlockLengthCase{0, true, 0},
                                           BlockLengthCase{510, true, 510}));

TEST(DeviceChannelDefaultsTest, StartsDisconnectedWithOneBlockAndFullChunks) {
  DeviceChannel channel;
  EXPECT_FALSE(channel.IsConnected());
  EXPECT_FALSE(channel.IsBusy());
  EXPECT_FALSE(channel.IsPaused());
  EXPECT_FALSE(channel.HasLongTimeout());
  EXPECT_EQ(channel.BlockLength(), 512);
  EXPECT_EQ(channel.ChunkSize(), 56);
  EXPECT_EQ(channel.TimeoutMs(), 1000u);
  channel.SetLongTimeout(true);
  EXPECT_EQ(channel.TimeoutMs(), 5000u);
  channel.SetChunkSize(200);
  EXPECT_EQ(channel.ChunkSize(), 56);
  channel.SetChunkSize(0);
  EXPECT_EQ(channel.ChunkSize(), 1);
}

}  // namespace
}  // namespace ostrel::test
