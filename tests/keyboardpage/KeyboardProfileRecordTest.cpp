// The keyboard's 46-byte onboard profile record: where each zone and
// option goes, and what becomes of values the device cannot take.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "devices/KeyboardProfileRecord.h"

namespace ostrel {
namespace {

struct Input {
  LightSetting main, logo, strip;
  KeyboardSystemSettings system;
};

struct RecordCase {
  const char* name;
  std::function<void(Input&)> set;
  // Every byte not listed is 0.
  std::map<std::size_t, int> bytes;
  friend void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.name; }
};

class KeyboardRecordBuild : public ::testing::TestWithParam<RecordCase> {};

TEST_P(KeyboardRecordBuild, PutsEachValueAtItsOffset) {
  Input in;
  GetParam().set(in);
  const KeyboardProfileRecord::Bytes record =
      KeyboardProfileRecord::Build(in.main, in.logo, in.strip, in.system, 0);
  for (std::size_t i = 0; i < record.size(); ++i) {
    const auto it = GetParam().bytes.find(i);
    EXPECT_EQ(record[i], it == GetParam().bytes.end() ? 0 : it->second) << "byte " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeyboardRecordBuild,
    ::testing::Values(
        RecordCase{"MainZone",
                   [](Input& in) {
                     in.main.selectItem = 5, in.main.light = 3, in.main.speed = 1, in.main.fx = 1;
                     in.main.multiColor = 1, in.main.red = 10, in.main.green = 20, in.main.blue = 30;
                     in.main.zzccLedMode = 2, in.main.customLightModeGroupIndex = 4;
                     // Other zones' bytes of the main record are not the main zone's.
                     in.main.logoSelectItem = 9, in.main.stRed = 9;
                   },
                   {{1, 5},
                    {2, 3},
                    {3, 3},
                    {4, 1},
                    {5, 1},
                    {6, 10},
                    {7, 20},
                    {8, 30},
                    {18, 2},
                    {26, 4},
                    {29, 4},
                    {39, 4}}},
        RecordCase{"LogoZone",
                   [](Input& in) {
                     in.logo.logoSelectItem = 7, in.logo.logoLight = 2, in.logo.logoSpeed = 0,
                     in.logo.logoFx = 2;
                     in.logo.logoRed = 1, in.logo.logoGreen = 2, in.logo.logoBlue = 3,
                     in.logo.rgbDengOffOn = 1;
                     in.logo.selectItem = 9;
                   },
                   {{3, 4}, {27, 7}, {28, 2}, {29, 4}, {30, 2}, {32, 1}, {33, 2}, {34, 3}, {36, 1}, {39, 4}}},
        RecordCase{
            "StripZone",
            [](Input& in) {
              in.strip.stSelectItem = 12, in.strip.stLight = 4, in.strip.stSpeed = 4, in.strip.stFx = 1;
              in.strip.stMultiColor = 1, in.strip.stRed = 7, in.strip.stGreen = 8, in.strip.stBlue = 9;
            },
            {{3, 4}, {29, 4}, {37, 12}, {38, 4}, {39, 0}, {40, 1}, {41, 1}, {42, 7}, {43, 8}, {44, 9}}},
        RecordCase{"ModesFrom25AreSentAsZero",
                   [](Input& in) {
                     in.main.selectItem = 25, in.logo.logoSelectItem = 30, in.strip.stSelectItem = 24;
                   },
                   {{3, 4}, {29, 4}, {37, 24}, {39, 4}}},
        RecordCase{"SpeedAboveFourIsTheFastest",
                   [](Input& in) { in.main.speed = 5, in.logo.logoSpeed = 200, in.strip.stSpeed = 2; },
                   {{3, 0}, {29, 0}, {39, 2}}},
        RecordCase{"SystemOptions",
                   [](Input& in) {
                     in.system.pollingRate = 3, in.system.scanDelay = 2, in.system.wFlag = 1;
                     in.system.key6Flag = 1, in.system.winFlag = 1;
                   },
                   {{3, 4}, {19, 1}, {20, 1}, {21, 1}, {22, 3}, {25, 2}, {29, 4}, {39, 4}}},
        // A byte cut from 256 would switch a flag off; 255 is no flag value.
        RecordCase{
            "FlagsAbove255AreOn",
            [](Input& in) { in.system.wFlag = 256, in.system.key6Flag = 0x200, in.system.winFlag = 0xFFFF; },
            {{3, 4}, {19, 1}, {20, 1}, {21, 1}, {29, 4}, {39, 4}}},
        // As the option groups show them: 257 would wrap to option 1 and
        // clamp to 255, the page shows option 0.
        RecordCase{"OptionsOutsideTheGroupAreOptionZero",
                   [](Input& in) { in.system.pollingRate = 257, in.system.scanDelay = 4; },
                   {{3, 4}, {29, 4}, {39, 4}}},
        RecordCase{"RepeatSettingsStayOut",
                   [](Input& in) { in.system.repeat = 20, in.system.repeatDelay = 3; },
                   {{3, 4}, {29, 4}, {39, 4}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyboardRecordBuild, FirstByteIsTheCallersAndTheRecordIs46Bytes) {
  const auto record = KeyboardProfileRecord::Build({}, {}, {}, {}, 0x5A);
  EXPECT_EQ(record.size(), 46u);
  EXPECT_EQ(record[0], 0x5A);
}

struct SpeedCase {
  int speed;
  int stored;
  int readBack;
};

TEST(KeyboardRecordSpeed, StoredAsFourMinusSpeedAndReadBackTheSame) {
  const SpeedCase cases[] = {{0, 4, 0}, {1, 3, 1}, {2, 2, 2}, {4, 0, 4}, {5, 0, 4}, {255, 0, 4}};
  for (const SpeedCase& c : cases) {
    SCOPED_TRACE("speed " + std::to_string(c.speed));
    EXPECT_EQ(KeyboardProfileRecord::StoredSpeed(static_cast<std::uint8_t>(c.speed)), c.stored);
    EXPECT_EQ(KeyboardProfileRecord::SpeedOfStored(static_cast<std::uint8_t>(c.stored)), c.readBack);
  }
  // A device byte above 4 reads as the slowest speed, never as a wrapped one.
  EXPECT_EQ(KeyboardProfileRecord::SpeedOfStored(9), 0);
}

TEST(KeyboardRecordRead, ZonesComeBackAndOtherBytesStay) {
  LightSetting main, logo, strip;
  main.selectItem = 5, main.light = 3, main.speed = 1, main.red = 10, main.zzccLedMode = 2;
  main.customLightModeGroupIndex = 4;
  logo.logoSelectItem = 7, logo.logoSpeed = 2, logo.logoBlue = 3, logo.rgbDengOffOn = 1;
  strip.stSelectItem = 12, strip.stSpeed = 0, strip.stGreen = 8;
  const auto record = KeyboardProfileRecord::Build(main, logo, strip, {}, 0);

  LightSetting m, l, s;
  m.unused8[0] = 0x11;  // not in the record: kept
  l.logoSelectItem = 99;
  ASSERT_TRUE(KeyboardProfileRecord::ReadZones(record, m, l, s));
  EXPECT_EQ(m.selectItem, 5);
  EXPECT_EQ(m.light, 3);
  EXPECT_EQ(m.speed, 1);
  EXPECT_EQ(m.red, 10);
  EXPECT_EQ(m.zzccLedMode, 2);
  EXPECT_EQ(m.customLightModeGroupIndex, 4);
  EXPECT_EQ(m.unused8[0], 0x11);
  EXPECT_EQ(l.logoSelectItem, 7);
  EXPECT_EQ(l.logoSpeed, 2);
  EXPECT_EQ(l.logoBlue, 3);
  EXPECT_EQ(l.rgbDengOffOn, 1);
  EXPECT_EQ(s.stSelectItem, 12);
  EXPECT_EQ(s.stSpeed, 0);
  EXPECT_EQ(s.stGreen, 8);
}

TEST(KeyboardRecordRead, ForeignModesReadAsZeroAndShortRecordsAreRefused) {
  std::vector<std::uint8_t> record(46, 0);
  record[1] = 40, record[27] = 25, record[37] = 3;
  LightSetting m, l, s;
  ASSERT_TRUE(KeyboardProfileRecord::ReadZones(record, m, l, s));
  EXPECT_EQ(m.selectItem, 0);
  EXPECT_EQ(l.logoSelectItem, 0);
  EXPECT_EQ(s.stSelectItem, 3);

  LightSetting before;
  before.selectItem = 6;
  LightSetting keep = before;
  record.resize(45);
  EXPECT_FALSE(KeyboardProfileRecord::ReadZones(record, keep, l, s));
  EXPECT_EQ(keep, before);
}

}  // namespace
}  // namespace ostrel
