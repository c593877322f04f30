// The mouse page end to end: the page built from the skin, notifications
// through the main window's routing tables, a simulated mouse (wired or on
// the receiver) and the profile file on disk.
#include <gtest/gtest.h>
#include <json/json.h>

#include <algorithm>
#include <ostream>

#include "MousePageFixture.h"
#include "controls/CDeviceKeyButtonUI.h"
#include "devices/CKeySetControlUI.h"
#include "devices/FactoryKeyTable.h"
#include "lighting/CLightControlUI.h"
#include "platform/ui/CCheckBoxUI.h"
#include "platform/ui/CComboUI.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CSliderUI.h"
#include "profiles/JsonFileUtil.h"

namespace ostrel::test {
namespace {

constexpr std::uint8_t kBeginConfig = 1, kEndConfig = 2, kWriteMemory = 6, kWriteKeyMap = 9,
                       kQueryLink = 0xAA;

Json::Value DeviceSection(const std::string& text) { return JsonFileUtil::ParseJson(text)["Device"][0]; }

int StoredStageX(const std::string& file, int stage) {
  return DeviceSection(file)["DPIStages"]["StageDPIs"][stage]["StageDPIX"].asInt();
}

std::vector<std::uint8_t> CommandIds(const std::vector<devsim::Frame>& frames) {
  std::vector<std::uint8_t> ids;
  for (const auto& f : frames) ids.push_back(f[3]);
  return ids;
}

TEST_F(MousePageTest, TheLayoutGivesThePageItsTenKeysSixLightsAndPanels) {
  BuildPage(kDeviceMouse);
  ASSERT_FALSE(HasFailure());
  ASSERT_EQ(page->KeyButtons().size(), kMouseKeyCount);
  for (std::size_t i = 0; i < kMouseKeyCount; ++i) {
    ASSERT_NE(page->KeyButtons()[i], nullptr) << "key " << i;
    // Every key sits on the picture with room to click it.
    const RECT r = page->KeyButtons()[i]->GetPos();
    EXPECT_GE(r.right - r.left, 12) << "key " << i;
  }
  ASSERT_EQ(page->LedButtons().size(), 6u);
  for (auto* led : page->LedButtons()) EXPECT_NE(led, nullptr);
  EXPECT_NE(page->KeyPanel().Panel(), nullptr);
  EXPECT_NE(Find("MacroControlItem"), nullptr);
  EXPECT_NE(Find("ShootControlItem"), nullptr);
  EXPECT_NE(Find("DeviceProfileItem"), nullptr);
  EXPECT_NE(Find("LightControlItem"), nullptr);
}

// ---- DPI stages ----

struct EditCase {
  const char* typed;
  int steps;
  const char* shown;
};

TEST_F(MousePageTest, ADpiEditBecomesWholeStepsWithinTheMouseLimits) {
  Connect("mouse");
  ASSERT_FALSE(HasFailure());
  ASSERT_EQ(page->Limits().step, 50);
  const EditCase cases[] = {
      {"875", 17, "850"},       // rounded down to whole steps of 50
      {"40", 2, "100"},         // raised to the lowest DPI (100)
      {"", 2, "100"},           // empty counts as 0, then the lowest DPI
      {"99999", 320, "16000"},  // kept within the highest steps the mouse reports
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.typed);
    ClearLog();
    EditAndLeave("DPI_edit_1", c.typed);
    EXPECT_EQ(TextOf("DPI_edit_1"), c.shown);
    ASSERT_GE(page->getStages().size(), 2u);
    EXPECT_EQ(page->getStages()[1].stageDpiX, c.steps);
    // Onboard profile 0, stage 1's X in bytes 14 + 9 + 2 and 3.
    const auto record = DeviceRecord();
    EXPECT_EQ(record[25] | (record[26] << 8), c.steps);
    EXPECT_EQ(StoredStageX(ProfileFileText(), 1), c.steps);
    EXPECT_EQ(CommandIds(Commands()),
              (std::vector<std::uint8_t>{kBeginConfig, kWriteMemory, kWriteMemory, kEndConfig}));
  }
}

TEST_F(MousePageTest, WithoutTheDpiStepAnEditIsNotTakenAndNothingDividesByZero) {
  BuildPage(kDeviceMouse);
  ASSERT_FALSE(HasFailure());
  page->LoadActiveProfile();
  page->RefreshControls();
  const int before = page->getStages()[1].stageDpiX;
  EditAndLeave("DPI_edit_1", "875");
  EXPECT_EQ(page->getStages()[1].stageDpiX, before);
  EXPECT_EQ(StoredStageX(ProfileFileText(), 1), before);
}

TEST_F(MousePageTest, TheLastEnabledStageCannotBeSwitchedOff) {
  Connect("mouse");
  ASSERT_FALSE(HasFailure());
  auto check = [this](int i) {
    return static_cast<CCheckBoxUI*>(Find(("DPI_enable_check_" + std::to_string(i)).c_str()));
  };
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(check(i)->GetCheck()) << "the default profile enables every stage";

  for (int i = 4; i >= 1; --i) ClickOn(("DPI_enable_check_" + std::to_string(i)).c_str());
  for (int i = 1; i < 5; ++i) {
    EXPECT_FALSE(check(i)->GetCheck());
    EXPECT_TRUE(check(i)->IsEnabled());
    EXPECT_FALSE(Find(("DPI_layout_" + std::to_string(i)).c_str())->IsEnabled());
    EXPECT_EQ(page->getStages()[static_cast<std::size_t>(i)].stageActive, 0);
  }
  EXPECT_TRUE(check(0)->GetCheck());
  EXPECT_FALSE(check(0)->IsEnabled());
  // Even when the check is told directly, stage 0 stays on.
  page->OnStageCheckChanged(0, false);
  EXPECT_TRUE(check(0)->GetCheck());
  EXPECT_EQ(page->getStages()[0].stageActive, 1);
  EXPECT_EQ(DeviceRecord()[14], 1);
  EXPECT_EQ(DeviceRecord()[14 + 9], 0);

  ClickOn("DPI_enable_check_2");
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(check(i)->IsEnabled()) << i;
  EXPECT_EQ(DeviceRecord()[14 + 18], 1);
  EXPECT_EQ(DeviceSection(ProfileFileText())["DPIStages"]["StageDPIs"][2]["StageActive"].asInt(), 1);
}

TEST_F(MousePageTest, TheStageChecksShowWhatTheProfileStores) {
  Connect("mouse");
  ASSERT_FALSE(HasFailure());
  std::vector<DpiStage> stages = page->getStages();
  stages[3].stageActive = 0;
  page->setStages(stages);
  page->SaveActiveProfile();
  page->LoadActiveProfile();
  page->RefreshControls();
  EXPECT_FALSE(static_cast<CCheckBoxUI*>(Find("DPI_enable_check_3"))->GetCheck());
  EXPECT_TRUE(static_cast<CCheckBoxUI*>(Find("DPI_enable_check_2"))->GetCheck());
}

TEST_F(MousePageTest, AStageSliderBeyondTheListGrowsItWithZeroStages) {
  Connect("mouse");
  ASSERT_FALSE(HasFailure());
  page->setStages({page->getStages()[0], page->getStages()[1]});
  auto* slider = static_cast<CSliderUI*>(Find("DPI_slider_3"));
  slider->SetValue(40);
  page->OnStageSliderReleased(3);
  ASSERT_EQ(page->getStages().size(), 4u);
  EXPECT_EQ(page->getStages()[2], DpiStage{});
  DpiStage expected;
  expected.stageDpiX = 40;
  EXPECT_EQ(page->getStages()[3], expected);
  EXPECT_EQ(TextOf("DPI_edit_3"), "2000");
}

// A layout may carry the alternative DPI controls: they only mirror each
// other, and neither the profile nor the mouse hears of them.
TEST_F(MousePageTest, TheAlternativeDpiControlsOnlyMirrorEachOther) {
  Connect("mouse");
  ASSERT_FALSE(HasFailure());
  CDialogBuilder builder;
  ASSERT_NE(builder.Create(R"(<HorizontalLayout height="30">)"
                           R"(<Slider name="tavix_DPI_slider_2" width="200" min="0" max="8000"/>)"
                           R"(<Edit name="tavix_DPI_edit_2" width="80"/></HorizontalLayout>)",
                           nullptr, nullptr, window.GetPaintManager(), page),
            nullptr);
  Pump();
  const std::string fileBefore = ProfileFileText();
  ClearLog();

  auto* slider = static_cast<CSliderUI*>(Find("tavix_DPI_slider_2"));
  ASSERT_NE(slider, nullptr);
  slider->SetValue(3100);
  window.GetPaintManager()->SendNotify(slider, "movevaluechanged");
  Pump();
  EXPECT_EQ(TextOf("tavix_DPI_edit_2"), "3100");

  struct Case {
    const char* typed;
    int shown;
  } cases[] = {{"100", 200}, {"9000", 6500}, {"1234", 1234}, {"", 200}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    EditAndLeave("tavix_DPI_edit_2", c.typed);
    EXPECT_EQ(TextOf("tavix_DPI_edit_2"), std::to_string(c.shown));
    EXPECT_EQ(slider->GetValue(), c.shown);
  }
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(ProfileFileText(), fileBefore);
}

// ---- Polling rate and the receiver ----

TEST_F(MousePageTest, APollingRateChangeRewritesOnboardProfileZero) {
  Connect("mouse");
  ASSERT_FALSE(HasFailure());
  ClickOn("polling_rate_option_3");
  const auto frames = Commands();
  ASSERT_EQ(CommandIds(frames),
            (std::vector<std::uint8_t>{kBeginConfig, kWriteMemory, kWriteMemory, kEndConfig}));
  // 66 bytes at address 0: 56 and 10.
  EXPECT_EQ(frames[1][4], 56);
  EXPECT_EQ(frames[1][5] | (frames[1][6] << 8), 0);
  EXPECT_EQ(frames[2][4], 10);
  const auto record = DeviceRecord();
  EXPECT_EQ(record[11], 3);
  EXPECT_EQ(record[59], 1);
  EXPECT_EQ(DeviceSection(ProfileFileText())["ReportStages"]["StageActive"].asInt(), 3);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(
        static_cast<COptionUI*>(Find(("polling_rate_option_" + std::to_string(i)).c_str()))->IsSelected(),
        i == 3);
}

TEST_F(MousePageTest, RestoringTheDefaultsRewritesTheProfileButNeverWithNothing) {
  Connect("mouse");
  ASSERT_FALSE(HasFailure());
  ClickOn("polling_rate_option_3");
  ASSERT_EQ(DeviceSection(ProfileFileText())["ReportStages"]["StageActive"].asInt(), 3);

  // Without a readable default profile the user's profile stays as it is.
  const std::string defaults = page->Profile().GetDefaultPath();
  const std::string before = ProfileFileText();
  page->Profile().SetDefaultPath(defaults + ".missing");
  page->LoadDefaultProfile();
  EXPECT_EQ(ProfileFileText(), before);
  EXPECT_EQ(page->Profile().GetKeyList().size(), kMouseKeyCount);

  // With it, the defaults replace the user's settings in the file.
  page->Profile().SetDefaultPath(defaults);
  page->LoadDefaultProfile();
  EXPECT_NE(DeviceSection(ProfileFileText())["ReportStages"]["StageActive"].asInt(), 3);
}

TEST_F(MousePageTest, OnTheReceiverWithTheLinkDownNothingFollowsQueryLink) {
  Connect("receiver");
  ASSERT_FALSE(HasFailure());
  const auto before = DeviceRecord();
  device->State().SetLinkUp(false);
  ClearLog();
  ClickOn("polling_rate_option_2");
  EXPECT_EQ(CommandIds(Commands()), std::vector<std::uint8_t>{kQueryLink});
  EXPECT_EQ(DeviceRecord(), before);
  // The profile keeps the change: the file does not depend on the link.
  EXPECT_EQ(DeviceSection(ProfileFileText())["ReportStages"]["StageActive"].asInt(), 2);

  device->State().SetLinkUp(true);
  ClearLog();
  ClickOn("polling_rate_option_1");
  EXPECT_EQ(CommandIds(Commands()),
            (std::vector<std::uint8_t>{kQueryLink, kBeginConfig, kQueryLink, kWriteMemory, kWriteMemory,
                                       kQueryLink, kEndConfig}));
  EXPECT_EQ(DeviceRecord()[11], 1);
}

// ---- Pointer settings ----

TEST_F(MousePageTest, PointerSettingsGoToTheProfileAndNeverToTheMouse) {
  Connect("mouse");
  ASSERT_FALSE(HasFailure());
  page->SelectFunctionTab(5);
  Pump();
  auto* speed = static_cast<CSliderUI*>(Find("pointer_speed_slider"));
  auto* lines = static_cast<CSliderUI*>(Find("scroll_speed_slider"));
  auto* click = static_cast<CSliderUI*>(Find("double_click_slider"));
  ASSERT_TRUE(speed && lines && click);
  EXPECT_EQ(speed->GetValue(), 10);  // the default profile's
  speed->SetValue(14);
  window.GetPaintManager()->SendNotify(speed, "valuechanged");
  lines->SetValue(7);
  window.GetPaintManager()->SendNotify(lines, "valuechanged");
  click->SetValue(650);
  window.GetPaintManager()->SendNotify(click, "valuechanged");
  ClickOn("pointer_precision_check");
  ClickOn("scrolls_page_check");
  Pump();
  const Json::Value system = DeviceSection(ProfileFileText())["SystemStages"];
  EXPECT_EQ(system["MouseSpeed"].asInt(), 14);
  EXPECT_EQ(system["WheelScorlllinse"].asInt(), 7);
  EXPECT_EQ(system["DoubleClickTime"].asInt(), 650);
  EXPECT_EQ(system["PointerPrecision"].asInt(), 0);  // was on
  EXPECT_EQ(system["ScorllPage"].asInt(), 1);
  EXPECT_TRUE(Commands().empty());
  EXPECT_EQ(page->scrollLines(), 7);
  EXPECT_TRUE(page->scrollByPage());
}

// ---- Lighting in the record ----

struct SpeedCase {
  const char* model;
  int speed;
  int written;
  friend void PrintTo(const SpeedCase& c, std::ostream* os) { *os << c.model << " speed " << c.speed; }
};

class MousePageSpeed : public MousePageTest, public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(MousePageSpeed, EffectSpeedIsMirroredOnTheReceiverBothWays) {
  const SpeedCase& c = GetParam();
  Connect(c.model);
  ASSERT_FALSE(HasFailure());
  LightSetting light = page->Profile().GetLightSetting();
  light.speed = static_cast<std::uint8_t>(c.speed);
  page->Profile().WriteLightSetting(light);
  ASSERT_EQ(page->WriteProfileRecord(0), 1);
  EXPECT_EQ(DeviceRecord()[3], c.written);
  // The profile says otherwise now; reading the mouse gives back its speed.
  light.speed = 2;
  page->Profile().WriteLightSetting(light);
  page->ReadCurrentProfile();
  EXPECT_EQ(page->Profile().GetLightSetting().speed, std::min(c.speed, 4));
}

INSTANTIATE_TEST_SUITE_P(Models, MousePageSpeed,
                         ::testing::Values(SpeedCase{"receiver", 1, 3}, SpeedCase{"receiver", 4, 0},
                                           SpeedCase{"receiver", 9, 0}, SpeedCase{"mouse", 1, 1},
                                           SpeedCase{"mouse", 9, 4}));

TEST_F(MousePageTest, LightingModesOfNineAndUpGoToTheMouseAsZeroAndStayInTheProfile) {
  Connect("mouse");
  ASSERT_FALSE(HasFailure());
  for (int mode : {9, 12, 8, 0}) {
    SCOPED_TRACE(mode);
    LightSetting light = page->Profile().GetLightSetting();
    light.selectItem = static_cast<std::uint8_t>(mode);
    page->Profile().WriteLightSetting(light);
    ASSERT_EQ(page->WriteProfileRecord(0), 1);
    EXPECT_EQ(DeviceRecord()[1], mode >= 9 ? 0 : mode);
    page->ReadCurrentProfile();
    EXPECT_EQ(page->Profile().GetLightSetting().selectItem, mode);
    EXPECT_EQ(DeviceSection(ProfileFileText())["LightInfo"]["SelectItem"].asInt(), mode);
    EXPECT_EQ(page->MainLightSetting().selectItem, mode);
  }
}

// The lighting panel of the real page: a change goes through the page's
// own profile record and onboard record, as every other setting does.
TEST_F(MousePageTest, ALightingPanelChangeIsSavedInTheFileAndWrittenToTheMouse) {
  Connect("mouse");
  ASSERT_FALSE(HasFailure());
  CLightControlUI* panel = page->LightPanel();
  ASSERT_NE(panel, nullptr);
  auto* combo = static_cast<CComboUI*>(
      window.GetPaintManager()->FindSubControlByName(panel, "light_combo_modeSelect")->GetInterface("Combo"));
  ASSERT_NE(combo, nullptr);
  struct Case {
    int mode;
    int onDevice;  // modes of 9 and up go to the mouse as 0
  } cases[] = {{3, 3}, {1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    ASSERT_GT(combo->GetCount(), c.mode);
    combo->SelectItem(c.mode, false, false);
    window.GetPaintManager()->SendNotify(combo, "itemselect");
    Pump();
    EXPECT_EQ(page->MainLightSetting().selectItem, c.mode);
    EXPECT_EQ(page->Profile().GetLightSetting().selectItem, c.mode);
    EXPECT_EQ(DeviceSection(ProfileFileText())["LightInfo"]["SelectItem"].asInt(), c.mode);
    EXPECT_EQ(DeviceRecord()[1], c.onDevice);
  }
}

// ---- Keys ----

class MousePageKeys : public MousePageTest {
 protected:
  void ConnectOnKeyTab() {
    Connect("mouse");
    if (page) page->SelectFunctionTab(2);
    Pump();
  }
  // Picks a mouse button for the key shown in the panel.
  void PickMouseButton(int item) {
    auto* function = static_cast<CComboUI*>(Find(CKeySetControlUI::kFunctionComboName));
    ASSERT_NE(function, nullptr);
    for (int i = 0; i < function->GetCount(); ++i)
      if (function->GetItemAt(i)->GetUserData() == "1") function->SelectItem(i);
    Pump();
    auto* buttons = static_cast<CComboUI*>(Find("keyset_mousekey_combo"));
    ASSERT_NE(buttons, nullptr);
    buttons->SelectItem(item);
    Pump();
  }
  KeyAction Current(int key) const {
    return page->KeyPanel().Keys().Entries()[static_cast<std::size_t>(key)].current;
  }
  int StoredAssignment(const std::string& file, int key) {
    return DeviceSection(file)["KeyList"][key]["Assignment"].asInt();
  }
  std::vector<std::uint8_t> DeviceSlot(int key) {
    const int slot = page->KeyPanel().Slots().Slot(static_cast<std::size_t>(key));
    return device->State().Read(devsim::MemoryArea::kKeyMap, static_cast<std::size_t>(slot) * 3, 3);
  }
};

TEST_F(MousePageKeys, AKeyChangedInThePanelIsStoredAndWrittenToTheMouse) {
  ConnectOnKeyTab();
  ASSERT_FALSE(HasFailure());
  ASSERT_TRUE(page->KeyPanel().Slots().HasSlot(4));
  page->showKey(4);  // the window's "key_4" click
  Pump();
  EXPECT_TRUE(page->KeyPanel().Panel()->IsEditorVisible());
  PickMouseButton(1);  // middle
  EXPECT_EQ(Current(4), MouseFactoryKeyTable[2]);
  EXPECT_EQ(page->Profile().GetKeyList()[4].current, MouseFactoryKeyTable[2]);
  // The key list shows the new function.
  EXPECT_EQ(std::string(page->KeyButtons()[4]->GetUserToolTipText().GetData()), "Middle Button");

  ClearLog();
  ClickOn(CKeySetControlUI::kSaveToDeviceButtonName);
  EXPECT_EQ(StoredAssignment(ProfileFileText(), 4), MouseFactoryKeyTable[2].Packed());
  EXPECT_EQ(DeviceSlot(4), (std::vector<std::uint8_t>{0x10, 0x04, 0x00}));
  const auto ids = CommandIds(Commands());
  EXPECT_NE(std::find(ids.begin(), ids.end(), kWriteKeyMap), ids.end());
  EXPECT_TRUE(messages.empty());
}

TEST_F(MousePageKeys, TakingTheLeftButtonFromTheOnlyKeyThatHasItIsRefused) {
  ConnectOnKeyTab();
  ASSERT_FALSE(HasFailure());
  const std::string fileBefore = ProfileFileText();
  page->showKey(0);
  Pump();
  PickMouseButton(2);  // right
  EXPECT_EQ(messages, std::vector<std::string>{"message_text_6"});
  EXPECT_EQ(Current(0), MouseFactoryKeyTable[0]);
  EXPECT_EQ(page->Profile().GetKeyList()[0].current, MouseFactoryKeyTable[0]);
  EXPECT_EQ(ProfileFileText(), fileBefore);
  EXPECT_TRUE(Commands().empty());

  // Once another key has the left button, key 0 may give it up.
  messages.clear();
  page->showKey(3);
  Pump();
  PickMouseButton(0);
  page->showKey(0);
  Pump();
  PickMouseButton(2);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(Current(0), MouseFactoryKeyTable[1]);
}

TEST_F(MousePageKeys, AShortKeyListInTheFileIsCompletedWithTheFactoryFunctions) {
  Connect("mouse");
  ASSERT_FALSE(HasFailure());
  Json::Value file = JsonFileUtil::ReadJson(page->Profile().GetProfilePath());
  Json::Value& keys = file["Device"][0]["KeyList"];
  keys.resize(3);
  keys[1]["Assignment"] = MouseFactoryKeyTable[2].Packed();
  ASSERT_TRUE(JsonFileUtil::WriteJson(page->Profile().GetProfilePath(), file));
  page->LoadActiveProfile();
  const auto& entries = page->KeyPanel().Keys().Entries();
  ASSERT_EQ(entries.size(), kMouseKeyCount);
  EXPECT_EQ(entries[1].current, MouseFactoryKeyTable[2]);
  for (std::size_t i = 3; i < kMouseKeyCount; ++i) {
    EXPECT_EQ(entries[i].current, MouseFactoryKeyTable[i]) << i;
    EXPECT_EQ(entries[i].defaultAction, MouseFactoryKeyTable[i]) << i;
  }
  page->RefreshControls();
  EXPECT_FALSE(std::string(page->KeyButtons()[9]->GetUserToolTipTitle().GetData()).empty());
}

}  // namespace
}  // namespace ostrel::test
