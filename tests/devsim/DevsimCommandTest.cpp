// The answers of the firmware models to each command of the vendor protocol,
// seen through a raw connection as the host sees them.
#include <gtest/gtest.h>

#include <numeric>

#include "DevsimFixture.h"
#include "devsim/CommandFrame.h"
#include "devsim/FactoryKeyTables.h"

namespace ostrel::devsim {
namespace {

using test::MakeRequest;

std::uint16_t Get16(const Frame& frame, std::size_t at) {
  return static_cast<std::uint16_t>(frame[at] | (frame[at + 1] << 8));
}

class DevsimCommands : public test::DevsimFixture {};

TEST(DevsimFrame, ChecksumCoversBytesThreeToEnd) {
  // Command 1 alone sums to 1: the frame starts 04 01 00 01.
  const Frame begin = CommandFrame::Request(1);
  EXPECT_EQ(begin[0], 4);
  EXPECT_EQ(begin[1], 1);
  EXPECT_EQ(begin[2], 0);
  EXPECT_EQ(begin[3], 1);
  Frame big{};
  big[3] = 0x34;
  for (std::size_t i = 8; i < 64; ++i) big[i] = 0xFF;  // 0x34 + 56 * 0xFF = 0x37FC
  big[1] = 0xAA;                                       // checksum bytes are not summed
  EXPECT_EQ(CommandFrame::Checksum(big), 0x37FC);
  CommandFrame::StoreChecksum(big);
  EXPECT_EQ(big[1], 0xFC);
  EXPECT_EQ(big[2], 0x37);
  EXPECT_EQ(MakeRequest(6, 56, 0x1234, std::vector<std::uint8_t>(56, 0xFF)),
            CommandFrame::Request(6, 56, 0x1234, std::vector<std::uint8_t>(56, 0xFF)));
}

struct InfoCase {
  const char* model;
  std::uint8_t deviceType;
  std::uint8_t keyCount;
  std::uint8_t macroUnits;
  std::uint8_t dpiStep;
  std::uint16_t highestSteps;
  std::uint16_t lowestDpi;
};

void PrintTo(const InfoCase& c, std::ostream* out) { *out << c.model; }

class DevsimDeviceInfo : public test::DevsimFixture, public ::testing::WithParamInterface<InfoCase> {};

TEST_P(DevsimDeviceInfo, OneFrameOf34BytesWithTheModelsLimits) {
  const InfoCase& c = GetParam();
  ASSERT_NE(PlugAndConnect(c.model), nullptr);
  const auto reply = client_->Exchange(MakeRequest(3, 34, 0));
  ASSERT_TRUE(reply);
  const Frame& r = *reply;
  EXPECT_EQ(r[0], 4);
  EXPECT_EQ(r[3], 3);
  EXPECT_EQ(r[4], 34);
  EXPECT_NE(r[7], 0xFF);
  EXPECT_NE(r[7], 0xFE);
  EXPECT_TRUE(CommandFrame::HasValidChecksum(r));
  EXPECT_EQ(r[8 + 0], c.deviceType);
  EXPECT_EQ(r[8 + 5], c.keyCount);
  EXPECT_EQ(r[8 + 6], c.macroUnits);
  EXPECT_EQ(r[8 + 11], c.dpiStep);
  EXPECT_EQ(Get16(r, 8 + 12), c.highestSteps);
  EXPECT_EQ(Get16(r, 8 + 14), c.lowestDpi);
  // Bytes past the record stay clear.
  EXPECT_TRUE(std::all_of(r.begin() + 8 + 34, r.end(), [](std::uint8_t b) { return b == 0; }));
}

INSTANTIATE_TEST_SUITE_P(Models, DevsimDeviceInfo,
                         ::testing::Values(InfoCase{"keyboard", 1, 126, 64, 0, 0, 0},
                                           InfoCase{"mouse", 2, 10, 32, 50, 320, 100},
                                           InfoCase{"receiver", 6, 10, 32, 50, 320, 100},
                                           InfoCase{"mousepad", 3, 0, 0, 0, 0, 0},
                                           InfoCase{"headset", 7, 0, 0, 0, 0, 0}),
                         [](const auto& info) { return std::string(info.param.model); });

TEST_F(DevsimCommands, MouseProfileRecordRoundTripsInTwoFramesEach) {
  SimulatedDevice* mouse = PlugAndConnect("mouse");
  ASSERT_NE(mouse, nullptr);
  const auto before = client_->ReadArea(5, 128, 71);
  ASSERT_TRUE(before);
  std::vector<std::uint8_t> record(66);
  std::iota(record.begin(), record.end(), std::uint8_t{0x40});
  record[0] = 0;
  ASSERT_TRUE(client_->WriteArea(6, 128, record));

  // 66 bytes at 128 went out as 56 at 128 and 10 at 184.
  const auto frames = mouse->Log().CommandFrames();
  ASSERT_GE(frames.size(), 2u);
  const Frame& last = frames.back();
  const Frame& first = frames[frames.size() - 2];
  EXPECT_EQ(first[4], 56);
  EXPECT_EQ(Get16(first, 5), 128);
  EXPECT_EQ(last[4], 10);
  EXPECT_EQ(Get16(last, 5), 184);

  const auto after = client_->ReadArea(5, 128, 71);
  ASSERT_TRUE(after);
  EXPECT_TRUE(std::equal(record.begin(), record.end(), after->begin()));
  // The five bytes the host only reads keep what the firmware had there.
  EXPECT_TRUE(std::equal(before->begin() + 66, before->end(), after->begin() + 66));
  EXPECT_EQ(mouse->State().Read(MemoryArea::kMemory, 128, 66), record);
}

TEST_F(DevsimCommands, FactoryRecordsAreWhereTheHostReadsThem) {
  SimulatedDevice* mouse = PlugAndConnect("mouse");
  ASSERT_NE(mouse, nullptr);
  ASSERT_TRUE(mouse->State().SetCurrentProfile(2));
  const auto current = client_->ReadArea(5, 0, 1);
  ASSERT_TRUE(current);
  EXPECT_EQ((*current)[0], 2);
  const auto record = client_->ReadArea(5, 2 * 128, 71);
  ASSERT_TRUE(record);
  EXPECT_EQ((*record)[3], 2) << "speed as the device keeps it (4 - 2)";
  EXPECT_EQ((*record)[59], 1);
  EXPECT_EQ((*record)[14 + 2], 8) << "stage 0 is 8 steps of 50 DPI";
  EXPECT_EQ((*record)[14 + 9 + 2], 16);
}

TEST_F(DevsimCommands, KeyboardKeyMapIsTheFactoryTableInChunks) {
  SimulatedDevice* keyboard = PlugAndConnect("keyboard");
  ASSERT_NE(keyboard, nullptr);
  const auto map = client_->ReadArea(7, 0, 126 * 3);
  ASSERT_TRUE(map);
  EXPECT_EQ(keyboard->Log().CommandFrames().size(), 7u) << "378 bytes = 6 x 56 + 42";
  for (std::size_t slot = 0; slot < 126; ++slot) {
    const KeyTriple& key = kKeyboardFactoryKeyTable[slot];
    EXPECT_EQ((*map)[3 * slot], key.type) << slot;
    EXPECT_EQ((*map)[3 * slot + 1], key.p1) << slot;
    EXPECT_EQ((*map)[3 * slot + 2], key.p2) << slot;
  }
  // A few rows the program's key model relies on.
  EXPECT_EQ((*map)[0 * 3 + 2], 0x29);    // Esc
  EXPECT_EQ((*map)[111 * 3], 0xA0);      // Fn
  EXPECT_EQ((*map)[120 * 3 + 1], 0xA2);  // M1

  std::vector<std::uint8_t> edited = *map;
  edited[3 * 5] = 0x70;  // slot 5 becomes macro 2
  edited[3 * 5 + 1] = 2;
  edited[3 * 5 + 2] = 1;
  ASSERT_TRUE(client_->WriteArea(9, 0, edited));
  EXPECT_EQ(keyboard->State().Contents(MemoryArea::kKeyMap), edited);

  std::uint8_t status = 0;
  EXPECT_FALSE(client_->ReadArea(7, 126 * 3, 3, &status));
  EXPECT_EQ(status, 0xFF);
}

TEST_F(DevsimCommands, MouseKeyMapAndKeyboardAttributes) {
  ASSERT_NE(PlugAndConnect("mouse"), nullptr);
  const auto map = client_->ReadArea(7, 0, 30);
  ASSERT_TRUE(map);
  for (std::size_t slot = 0; slot < kMouseFactoryKeyTable.size(); ++slot) {
    EXPECT_EQ((*map)[3 * slot], kMouseFactoryKeyTable[slot].type);
    EXPECT_EQ((*map)[3 * slot + 1], kMouseFactoryKeyTable[slot].p1);
    EXPECT_EQ((*map)[3 * slot + 2], kMouseFactoryKeyTable[slot].p2);
  }

  ASSERT_NE(PlugAndConnect("keyboard"), nullptr);
  const auto attributes = client_->ReadArea(27, 0, 126);
  ASSERT_TRUE(attributes);
  EXPECT_EQ((*attributes)[0], 0);
  EXPECT_EQ((*attributes)[96], 96);
  EXPECT_EQ((*attributes)[125], 0xFF) << "the slot without a key has no LED";
}

TEST_F(DevsimCommands, StateSetByTheTestIsWhatTheHostReads) {
  SimulatedDevice* keyboard = PlugAndConnect("keyboard");
  ASSERT_NE(keyboard, nullptr);
  // A keyboard with 170 keys: the largest key map a 512-byte block holds.
  const std::uint8_t keys[] = {170};
  ASSERT_TRUE(keyboard->State().Write(MemoryArea::kDeviceInfo, 5, keys));
  ASSERT_TRUE(keyboard->State().Resize(MemoryArea::kKeyMap, 510));
  std::vector<std::uint8_t> map(510);
  std::iota(map.begin(), map.end(), std::uint8_t{0});
  ASSERT_TRUE(keyboard->State().Write(MemoryArea::kKeyMap, 0, map));
  const auto info = client_->ReadArea(3, 0, 34);
  ASSERT_TRUE(info);
  EXPECT_EQ((*info)[5], 170);
  EXPECT_EQ(client_->ReadArea(7, 0, 510), map);

  EXPECT_FALSE(keyboard->State().Write(MemoryArea::kKeyMap, 509, std::vector<std::uint8_t>(2)));
  EXPECT_FALSE(keyboard->State().Resize(MemoryArea::kDeviceInfo, 40));
  EXPECT_FALSE(keyboard->State().SetCurrentProfile(4));
  ASSERT_TRUE(keyboard->State().SetCurrentProfile(3));
  EXPECT_EQ(client_->ReadArea(5, 0, 1), std::vector<std::uint8_t>{3});

  keyboard->State().Reset();
  EXPECT_EQ(keyboard->State().AreaSize(MemoryArea::kKeyMap), 378u);
  EXPECT_EQ(keyboard->State().CurrentProfile(), 0);
}

TEST_F(DevsimCommands, LedBankWholeWriteAndPartialReadBack) {
  SimulatedDevice* keyboard = PlugAndConnect("keyboard");
  ASSERT_NE(keyboard, nullptr);
  std::vector<std::uint8_t> bank(512);
  for (std::size_t i = 0; i < bank.size(); ++i) bank[i] = static_cast<std::uint8_t>(i * 7);
  ASSERT_TRUE(client_->WriteArea(11, 0, bank));
  const auto colours = client_->ReadArea(10, 0, 126 * 3);
  ASSERT_TRUE(colours);
  EXPECT_TRUE(std::equal(colours->begin(), colours->end(), bank.begin()));
  EXPECT_EQ(keyboard->State().Contents(MemoryArea::kLedBank), bank);

  // Bank 1 (address 512) is not there.
  std::uint8_t status = 0;
  EXPECT_FALSE(client_->WriteArea(11, 512, std::vector<std::uint8_t>(3, 1), &status));
  EXPECT_EQ(status, 0xFF);

  // The live stream lands in its own area, not in the bank.
  const std::vector<std::uint8_t> frame(18, 0x55);
  ASSERT_TRUE(client_->WriteArea(18, 0, frame));
  EXPECT_EQ(keyboard->State().Read(MemoryArea::kLiveFrame, 0, 18), frame);
  EXPECT_EQ(keyboard->State().Contents(MemoryArea::kLedBank), bank);
}

TEST_F(DevsimCommands, MacroAndShootingAreasTakeTheirImages) {
  SimulatedDevice* mouse = PlugAndConnect("mouse");
  ASSERT_NE(mouse, nullptr);
  std::vector<std::uint8_t> shoot(2920, 0x11);
  ASSERT_TRUE(client_->WriteArea(23, 0, shoot));
  EXPECT_EQ(mouse->State().Read(MemoryArea::kShoot, 0, 2920), shoot);

  std::vector<std::uint8_t> macros(32 * 128, 0x22);
  ASSERT_TRUE(client_->WriteArea(21, 0, macros));
  EXPECT_EQ(mouse->State().Contents(MemoryArea::kMacro), macros);
  std::uint8_t status = 0;
  EXPECT_FALSE(client_->WriteArea(21, 32 * 128, std::vector<std::uint8_t>(4, 0), &status))
      << "one byte past the macro area";
  EXPECT_EQ(status, 0xFF);
}

TEST_F(DevsimCommands, ControlCommandsAndPowerStatus) {
  SimulatedDevice* receiver = PlugAndConnect("receiver");
  ASSERT_NE(receiver, nullptr);
  auto reply = client_->Exchange(MakeRequest(1));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[3], 1);
  EXPECT_TRUE(receiver->State().ConfigOpen());
  ASSERT_TRUE(client_->Exchange(MakeRequest(2)));
  EXPECT_FALSE(receiver->State().ConfigOpen());
  ASSERT_TRUE(client_->Exchange(MakeRequest(28)));
  EXPECT_EQ(receiver->State().HostLightingStarts(), 1u);

  receiver->State().SetPower({42, 1, 0});
  const auto power = client_->ReadArea(26, 0, 6);
  ASSERT_TRUE(power);
  EXPECT_EQ(*power, (std::vector<std::uint8_t>{42, 1, 0, 1, 0, 0}));
}

TEST_F(DevsimCommands, QueryLinkFollowsTheReceiversLink) {
  SimulatedDevice* receiver = PlugAndConnect("receiver");
  ASSERT_NE(receiver, nullptr);
  auto reply = client_->Exchange(MakeRequest(0xAA));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[3], 0xAA);
  EXPECT_EQ((*reply)[8], 0xFF);

  receiver->State().SetLinkUp(false);
  reply = client_->Exchange(MakeRequest(0xAA));
  ASSERT_TRUE(reply);
  EXPECT_NE((*reply)[7], 0xFF);
  EXPECT_NE((*reply)[8], 0xFF);
  // With the mouse out of reach the receiver refuses everything else.
  reply = client_->Exchange(MakeRequest(3, 34, 0));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[7], 0xFE);

  receiver->State().SetLinkUp(true);
  reply = client_->Exchange(MakeRequest(3, 34, 0));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[8 + 5], 10);

  ASSERT_NE(PlugAndConnect("mouse"), nullptr);
  reply = client_->Exchange(MakeRequest(0xAA));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[8], 0xFF) << "a wired mouse is always linked";
}

struct StatusCase {
  const char* what;
  Frame request;
  std::uint8_t status;
};

TEST_F(DevsimCommands, RequestsOutsideTheDeviceGetErrorStatus) {
  SimulatedDevice* mouse = PlugAndConnect("mouse");
  ASSERT_NE(mouse, nullptr);
  Frame badChecksum = MakeRequest(6, 1, 200, std::vector<std::uint8_t>{9});
  badChecksum[1] ^= 0x01;
  const StatusCase cases[] = {
      {"read past memory", MakeRequest(5, 8, 508), 0xFF},
      {"read starting past memory", MakeRequest(5, 1, 0xF000), 0xFF},
      {"write past memory", MakeRequest(6, 2, 511, std::vector<std::uint8_t>{1, 2}), 0xFF},
      {"more than 56 bytes", MakeRequest(5, 57, 0), 0xFF},
      {"key map past key count", MakeRequest(7, 4, 28), 0xFF},
      {"device info past 34 bytes", MakeRequest(3, 2, 33), 0xFF},
      {"power record past its end", MakeRequest(26, 6, 4), 0xFF},
      {"unknown command", MakeRequest(0x55), 0xFF},
      {"bad checksum", badChecksum, 0xFE},
  };
  for (const StatusCase& c : cases) {
    SCOPED_TRACE(c.what);
    const auto reply = client_->Exchange(c.request);
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[3], c.request[3]);
    EXPECT_EQ((*reply)[7], c.status);
  }
  EXPECT_EQ(mouse->State().Read(MemoryArea::kMemory, 200, 1)[0], 0) << "a refused write changes nothing";
  // The last byte of memory is still in reach.
  const auto reply = client_->Exchange(MakeRequest(5, 4, 508));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[7], kStatusOk);
}

TEST_F(DevsimCommands, ReportsTheDeviceDoesNotUnderstandAreDropped) {
  SimulatedDevice* keyboard = PlugAndConnect("keyboard");
  ASSERT_NE(keyboard, nullptr);
  const Frame frame = MakeRequest(3, 34, 0);
  ASSERT_TRUE(client_->Send(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 32)));  // short frame
  ASSERT_TRUE(client_->Send(std::vector<std::uint8_t>{1, 0x02}));  // keyboard LED output report
  ASSERT_TRUE(client_->Send(std::vector<std::uint8_t>{0x77, 1, 2, 3}));
  // The first answer is the one to the next real frame.
  const auto reply = client_->Exchange(MakeRequest(5, 1, 0));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[3], 5);
  EXPECT_EQ(keyboard->Log().CountFromHost(), 4u) << "every report is recorded, understood or not";
  EXPECT_EQ(keyboard->Log().ReplyFrames().size(), 1u);
}

}  // namespace
}  // namespace ostrel::devsim
