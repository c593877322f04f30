// The 66-byte onboard profile record of the mouse and the DPI value rules,
// as tables of cases.
#include <gtest/gtest.h>

#include <functional>

#include "devices/DpiStageRules.h"
#include "devices/FactoryKeyTable.h"
#include "devices/KeyPanelBinding.h"
#include "devices/MouseProfileRecord.h"

namespace ostrel {
namespace {

MouseRecordInput BaseInput() {
  MouseRecordInput in;
  in.light.selectItem = 3;
  in.light.light = 4;
  in.light.speed = 1;
  in.light.fx = 1;
  in.light.multiColor = 1;
  in.light.red = 0x11;
  in.light.green = 0x22;
  in.light.blue = 0x33;
  in.pollingRate = 2;
  in.activeStage = 1;
  DpiStage a{1, 1, 8, 8, 255, 0, 0};
  DpiStage b{0, 0, 0x0140, 0x0102, 0, 255, 9};
  in.stages = {a, b};
  in.screenWidth = 2560;
  in.screenHeight = 1440;
  return in;
}

struct BuildCase {
  const char* what;
  std::function<void(MouseRecordInput&)> change;
  std::vector<std::pair<std::size_t, int>> bytes;  // offset, value
};

TEST(MouseProfileRecord, BuildsTheRecordFromThePageState) {
  const BuildCase cases[] = {
      {"the layout",
       [](MouseRecordInput&) {},
       {{0, 0},     {1, 3},     {2, 4},     {3, 1},  {4, 1},    {5, 1},  {6, 0x11},  {7, 0x22},
        {8, 0x33},  {9, 0},     {10, 0},    {11, 2}, {12, 1},   {13, 0}, {14, 1},    {15, 1},
        {16, 8},    {17, 0},    {18, 8},    {19, 0}, {20, 255}, {23, 0}, {25, 0x40}, {26, 0x01},
        {27, 0x02}, {28, 0x01}, {30, 255},  {31, 9}, {32, 0},   {58, 0}, {59, 1},    {60, 0x00},
        {61, 0x0A}, {62, 0xA0}, {63, 0x05}, {64, 0}, {65, 0}}},
      {"mode 9 and up go as 0", [](MouseRecordInput& in) { in.light.selectItem = 9; }, {{1, 0}}},
      {"mode 8 is the device's own", [](MouseRecordInput& in) { in.light.selectItem = 8; }, {{1, 8}}},
      {"wireless speed counts backwards", [](MouseRecordInput& in) { in.wireless = true; }, {{3, 3}}},
      {"a speed past the range is the highest",
       [](MouseRecordInput& in) {
         in.light.speed = 200;
         in.wireless = true;
       },
       {{3, 0}}},
      {"a polling index past the range is 0", [](MouseRecordInput& in) { in.pollingRate = 7; }, {{11, 0}}},
      {"stages beyond five are not sent",
       [](MouseRecordInput& in) {
         in.stages.resize(7, DpiStage{1, 1, 99, 99, 1, 2, 3});
       },
       {{14 + 9 * 4, 1}, {59, 1}}},
      {"the first selected correction entry",
       [](MouseRecordInput& in) {
         in.correction = {{2, 4, 0, "Low"}, {8, 16, 1, "High"}, {9, 9, 1, "Later"}};
       },
       {{64, 16}, {65, 8}}},
      {"no selected correction entry",
       [](MouseRecordInput& in) {
         in.correction = {{2, 4, 0, "Low"}};
       },
       {{64, 0}, {65, 0}}},
  };
  for (const BuildCase& c : cases) {
    SCOPED_TRACE(c.what);
    MouseRecordInput in = BaseInput();
    c.change(in);
    const auto record = MouseProfileRecord::Build(in);
    for (const auto& [offset, value] : c.bytes) EXPECT_EQ(record[offset], value) << "byte " << offset;
  }
}

struct ParseCase {
  bool wireless;
  std::uint8_t speedByte;
  int speed;
};

TEST(MouseProfileRecord, ParsesWhatTheMouseReportsBack) {
  std::vector<std::uint8_t> record(71, 0);
  record[1] = 5, record[2] = 3, record[5] = 1, record[6] = 7, record[7] = 8, record[8] = 9, record[12] = 4;
  const ParseCase cases[] = {{true, 3, 1},  {true, 0, 4},  {true, 250, 0},
                             {false, 3, 3}, {false, 1, 1}, {false, 250, 4}};
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.wireless) + " " + std::to_string(c.speedByte));
    record[3] = c.speedByte;
    const auto state = MouseProfileRecord::Parse(record, c.wireless);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->speed, c.speed);
    EXPECT_EQ(state->lightMode, 5);
    EXPECT_EQ(state->brightness, 3);
    EXPECT_EQ(state->multiColour, 1);
    EXPECT_EQ(state->red + state->green + state->blue, 24);
    EXPECT_EQ(state->activeStage, 4);
  }
  EXPECT_FALSE(MouseProfileRecord::Parse(std::span<const std::uint8_t>(record.data(), 12), false));
}

TEST(MouseProfileRecord, EveryWrittenSpeedReadsBackAsItself) {
  for (bool wireless : {false, true})
    for (int speed = 0; speed <= 4; ++speed)
      EXPECT_EQ(MouseProfileRecord::SpeedFromByte(MouseProfileRecord::SpeedByte(speed, wireless), wireless),
                speed);
}

struct DpiCase {
  int dpi;
  DpiLimits limits;
  std::optional<int> steps;
};

TEST(DpiStageRules, DpiBecomesWholeStepsWithinTheLimits) {
  const DpiLimits mouse{50, 320, 100};
  const DpiCase cases[] = {
      {875, mouse, 17},      {850, mouse, 17}, {16000, mouse, 320},
      {20000, mouse, 320},   {-5, mouse, 0},   {875, {0, 320, 100}, std::nullopt},
      {875, {50, 0, 0}, 17},
  };
  for (const DpiCase& c : cases) {
    SCOPED_TRACE(c.dpi);
    EXPECT_EQ(DpiStageRules::StepsFromDpi(c.dpi, c.limits), c.steps);
  }
  EXPECT_EQ(DpiStageRules::EditValue("", mouse), 100);
  EXPECT_EQ(DpiStageRules::EditValue("40", mouse), 100);
  EXPECT_EQ(DpiStageRules::EditValue("875", mouse), 875);
  EXPECT_EQ(DpiStageRules::EditValue("99999999999999", mouse), 2147483647);
  EXPECT_EQ(DpiStageRules::DpiText(17, mouse), "850");
  EXPECT_EQ(DpiStageRules::ClampMirror(100), 200);
  EXPECT_EQ(DpiStageRules::ClampMirror(7000), 6500);
}

TEST(KeyPanelBinding, AShortOrLongKeyListIsMadeTenKeys) {
  std::vector<KeyEntry> three(3, KeyEntry{MouseFactoryKeyTable[2], MouseFactoryKeyTable[2]});
  const auto completed = KeyPanelBinding::CompleteKeyList(three);
  ASSERT_EQ(completed.size(), kMouseKeyCount);
  EXPECT_EQ(completed[2].current, MouseFactoryKeyTable[2]);
  EXPECT_EQ(completed[3].current, MouseFactoryKeyTable[3]);
  EXPECT_EQ(completed[9].defaultAction, MouseFactoryKeyTable[9]);
  EXPECT_EQ(KeyPanelBinding::CompleteKeyList(std::vector<KeyEntry>(14)).size(), kMouseKeyCount);
}

}  // namespace
}  // namespace ostrel
