// The keyboard page in the program's main window, end to end against the
// simulated keyboard: the built skin, the page host's scanner and timers,
// the window's notification routes, the profile files on disk and the
// frames the device receives.
#include <gtest/gtest.h>
#include <json/json.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "controls/CDeviceKeyButtonUI.h"
#include "devices/CKeySetControlUI.h"
#include "devices/CZantroveKeyboardDevice.h"
#include "devices/FactoryKeyTable.h"
#include "devices/KeyboardProfileRecord.h"
#include "devices/KeyboardSettingControls.h"
#include "devsim/Simulator.h"
#include "lighting/CLightControlUI.h"
#include "lighting/LightFrame.h"
#include "platform/os/DebugLog.h"
#include "platform/os/KnownFolders.h"
#include "platform/ui/CComboUI.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/CSliderUI.h"
#include "platform/ui/CTabLayoutUI.h"
#include "platform/ui/UIEvents.h"
#include "platform/ui/WindowApi.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/JsonFileUtil.h"
#include "shell/CMainWnd.h"
#include "support/MessagePump.h"
#include "support/TestEnvironment.h"
#include "support/WindowStage.h"

namespace fs = std::filesystem;

namespace ostrel {
namespace {

using namespace std::chrono_literals;
using Frame = devsim::Frame;

constexpr int kStreamLedFrame = 18;

class KeyboardPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    SetProgramFolderOverride(std::string(OSTREL_KEYBOARD_APP_DIR) + "/");
    ASSERT_TRUE(stage.Begin(std::string(OSTREL_KEYBOARD_APP_DIR) + "/skin", false));
    headless = &stage.Headless();
    SetDebugSink([this](std::string_view line) {
      std::lock_guard<std::mutex> lock(linesMutex);
      lines.emplace_back(line);
    });
  }

  void TearDown() override {
    stage.End(window ? window->GetHWND() : nullptr);
    window.reset();
    SetDebugSink({});
    SetProgramFolderOverride("");
  }

  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
    return test::PumpMessagesUntil(done, limit, 2ms);
  }

  // Plugs the keyboard, opens the main window and waits until the page has
  // read the device and loaded its profile.
  void Connect() {
    devsim::DeviceOptions options;
    options.usbInterval = 0us;
    device = simulator.Plug("keyboard", options);
    ASSERT_NE(device, nullptr);
    window = std::make_unique<CMainWnd>();
    ASSERT_NE(window->Create(nullptr, "Kestrane", 0x96CA0000, 0, 0, 0, 1000, 640), nullptr);
    ASSERT_TRUE(PumpUntil([&] {
      page = dynamic_cast<CZantroveKeyboardDevice*>(window->CurrentPage());
      return page && page->IsProfileLoaded() && page->Slots().HasSlot(0);
    })) << "the keyboard page did not read the device";
  }

  CControlUI* Find(const char* name) { return window->GetPaintManager()->FindSubControlByName(page, name); }
  template <class T>
  T* FindAs(const char* name, const char* interfaceName) {
    CControlUI* control = Find(name);
    return control ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
  }
  void Notify(CControlUI* control, const char* type, WPARAM wParam = 0) {
    ASSERT_NE(control, nullptr);
    window->GetPaintManager()->SendNotify(control, type, wParam, 0);
    CMessageLoop::Instance().PumpPending();
  }
  void Select(const char* name, bool on) {
    auto* option = FindAs<COptionUI>(name, "Option");
    ASSERT_NE(option, nullptr) << name;
    option->Selected(on, true);
    CMessageLoop::Instance().PumpPending();
  }

  // Through the key panel as a user does it: the key on the key tab, the
  // media category, its third function. The function the key then has.
  KeyAction AssignMediaFunction(int key) {
    Select("key_Op_tab", true);
    Notify(page->KeyButtons()[static_cast<std::size_t>(key)], DUI_MSGTYPE_CLICK);
    CKeySetControlUI* panel = page->KeySetPanel();
    EXPECT_TRUE(panel && panel->IsEditorVisible());
    auto* function = FindAs<CComboUI>(CKeySetControlUI::kFunctionComboName, "Combo");
    auto* media = FindAs<CComboUI>("keyset_media_combo", "Combo");
    if (!function || !media) {
      ADD_FAILURE() << "the key panel's combos are missing";
      return {};
    }
    for (int i = 0; i < function->GetCount(); ++i)
      if (function->GetItemAt(i)->GetUserData() == "7") function->SelectItem(i, false, true);
    CMessageLoop::Instance().PumpPending();
    media->SelectItem(2, false, true);
    CMessageLoop::Instance().PumpPending();
    return page->Keys().Entries()[static_cast<std::size_t>(key)].current;
  }

  // Commands the device received since the log was last cleared, without
  // the lighting preview's stream.
  std::vector<Frame> Commands() {
    auto frames = device->Log().CommandFrames();
    std::erase_if(frames, [](const Frame& f) { return f[3] == kStreamLedFrame; });
    return frames;
  }
  Json::Value Section() { return JsonFileUtil::ReadJson(page->Profile().GetProfilePath())["Device"][0]; }
  std::vector<std::uint8_t> OnboardRecord() {
    const auto memory = device->State().Contents(devsim::MemoryArea::kMemory);
    return {memory.begin(), memory.begin() + 46};
  }
  int CountLines(const std::string& text) {
    std::lock_guard<std::mutex> lock(linesMutex);
    int n = 0;
    for (const std::string& line : lines) n += line == text ? 1 : 0;
    return n;
  }

  devsim::Simulator simulator;
  devsim::SimulatedDevice* device = nullptr;
  test::WindowStage stage;
  CHeadlessBackend* headless = nullptr;
  std::unique_ptr<CMainWnd> window;
  CZantroveKeyboardDevice* page = nullptr;
  std::mutex linesMutex;
  std::vector<std::string> lines;
};

TEST_F(KeyboardPageTest, ConnectingReadsTheKeyMapAndAttributesAndFindsTheSlots) {
  Connect();
  const auto keyMap = device->State().Contents(devsim::MemoryArea::kKeyMap);
  const auto attributes = device->State().Contents(devsim::MemoryArea::kKeyAttributes);
  int withSlot = 0;
  for (int key = 0; key < kKeyboardKeyCount; ++key) {
    SCOPED_TRACE("key " + std::to_string(key));
    const int led = page->KeyLedMap().at(static_cast<int>(key));
    if (!page->Slots().HasSlot(key)) {
      EXPECT_EQ(led, 0xFF);
      continue;
    }
    ++withSlot;
    const auto slot = static_cast<std::size_t>(page->Slots().Slot(key));
    const KeyAction factory = KeyboardFactoryKeyTable[key];
    EXPECT_EQ(keyMap[slot * 3], factory.type);
    EXPECT_EQ(keyMap[slot * 3 + 1], factory.p1);
    EXPECT_EQ(keyMap[slot * 3 + 2], factory.p2);
    EXPECT_EQ(led, attributes[slot]);
    EXPECT_EQ(CountLines(std::to_string(key) + "," + std::to_string(led)), 1);
  }
  // The simulated keyboard carries every factory function (the two empty
  // keys in slots of their own).
  EXPECT_EQ(withSlot, static_cast<int>(kKeyboardKeyCount));
  EXPECT_NE(page->Slots().Slot(16), page->Slots().Slot(104));

  // The key buttons are the layout's, named by their factory function.
  ASSERT_EQ(page->KeyButtons().size(), static_cast<std::size_t>(kKeyboardKeyCount));
  for (int key = 0; key < kKeyboardKeyCount; ++key) ASSERT_NE(page->KeyButtons()[key], nullptr) << key;
  EXPECT_EQ(page->KeyButtons()[0]->GetUserToolTipTitle().str(),
            CResourceManager::GetInstance()->GetText("keyboard_key_Esc").str());
  EXPECT_TRUE(page->KeyButtons()[0]->IsKeySetImageHidden());
  EXPECT_EQ(page->Keys().Size(), static_cast<std::size_t>(kKeyboardKeyCount));
}

// The picture: every key the model has lies on the keyboard's plate, none
// covers another, and a click on a key's middle selects that key. With
// OSTREL_KEYBOARD_PICTURE set to a folder the page is saved there as PNG,
// once per function tab.
TEST_F(KeyboardPageTest, TheKeysLieOnThePlateAndAClickSelectsTheKeyUnderThePointer) {
  Connect();
  ASSERT_NE(window->GetPaintManager()->RenderToImage(), nullptr);
  CControlUI* plate = Find("keyboard_device_key_light_0");
  ASSERT_NE(plate, nullptr);
  const RECT board = plate->GetPos();
  std::vector<RECT> shown;
  for (CDeviceKeyButtonUI* key : page->KeyButtons()) {
    if (!key->IsVisible()) continue;
    const RECT r = key->GetPos();
    SCOPED_TRACE(key->GetName().str());
    EXPECT_TRUE(r.left >= board.left && r.right <= board.right && r.top >= board.top &&
                r.bottom <= board.bottom);
    EXPECT_GT(r.right - r.left, 0);
    for (const RECT& other : shown)
      EXPECT_FALSE(r.left < other.right && other.left < r.right && r.top < other.bottom &&
                   other.top < r.bottom);
    shown.push_back(r);
  }
  // 104 keys, the media and the macro keys.
  EXPECT_EQ(shown.size(), 113u);

  Select("key_Op_tab", true);
  const RECT a = page->KeyButtons()[64]->GetPos();
  headless->Click(window->GetHWND(), (a.left + a.right) / 2, (a.top + a.bottom) / 2);
  ASSERT_TRUE(PumpUntil([&] { return page->GetSelectedKey() == 64; }, 2s));
  EXPECT_TRUE(page->KeySetPanel()->IsEditorVisible());

  if (const char* folder = std::getenv("OSTREL_KEYBOARD_PICTURE")) {
    for (const char* language : {"cn", "en", "th"}) {
      CResourceManager::GetInstance()->LoadLanguage((std::string("lan_") + language + ".xml").c_str());
      CResourceManager::GetInstance()->ReloadText();
      for (const char* tab : {"deng_Op_tab", "key_Op_tab", "system_Op_tab"}) {
        Select(tab, true);
        window->GetPaintManager()->RenderToImage();
        const std::string path = std::string(folder) + "/" + tab + "_" + language + ".png";
        EXPECT_TRUE(window->GetPaintManager()->SaveImage(path.c_str()));
      }
    }
  }
}

TEST_F(KeyboardPageTest, AKeyChangedInThePanelIsStoredInTheProfileAndWrittenToTheDevice) {
  Connect();
  constexpr int kKey = 43;  // Q
  const KeyAction chosen = AssignMediaFunction(kKey);
  ASSERT_EQ(chosen.type, 0x30) << "the media function was not stored";
  EXPECT_FALSE(page->KeyButtons()[kKey]->IsKeySetImageHidden());

  device->Log().Clear();
  const auto before = device->State().Contents(devsim::MemoryArea::kKeyMap);
  Notify(Find(CKeySetControlUI::kSaveToDeviceButtonName), DUI_MSGTYPE_CLICK);

  // The profile file holds the key.
  const Json::Value keyList = Section()["KeyList"];
  EXPECT_EQ(keyList[kKey]["Assignment"].asInt(), static_cast<int>(chosen.Packed()));
  CKeyboardProfiledata reread;
  reread.SetDefaultPath(page->DefaultProfilePath());
  reread.LoadProfile(page->Profile().GetProfilePath());
  EXPECT_EQ(reread.ReadKeyList()[kKey].current, chosen);

  // ReadDeviceInfo, BeginConfig, the key table in 56-byte frames, EndConfig.
  auto expected = before;
  const auto slot = static_cast<std::size_t>(page->Slots().Slot(kKey));
  expected[slot * 3] = chosen.type, expected[slot * 3 + 1] = chosen.p1, expected[slot * 3 + 2] = chosen.p2;
  EXPECT_EQ(device->State().Contents(devsim::MemoryArea::kKeyMap), expected);
  const auto frames = Commands();
  const std::size_t writes = (expected.size() + 55) / 56;
  ASSERT_EQ(frames.size(), 3 + writes);
  EXPECT_EQ(frames[0][3], 3);
  EXPECT_EQ(frames[1][3], 1);
  std::vector<std::uint8_t> written;
  for (std::size_t i = 0; i < writes; ++i) {
    const Frame& f = frames[2 + i];
    EXPECT_EQ(f[3], 9);
    EXPECT_EQ(f[5] | (f[6] << 8), static_cast<int>(i * 56));
    written.insert(written.end(), f.begin() + 8, f.begin() + 8 + f[4]);
  }
  EXPECT_EQ(written, expected);
  EXPECT_EQ(frames.back()[3], 2);
}

TEST_F(KeyboardPageTest, AKeyTheDeviceTableLacksHasNoSlotAndKeepsItsFunctionInTheProfileOnly) {
  // Before the page reads it, the device's table loses Q's factory function.
  devsim::DeviceOptions options;
  options.usbInterval = 0us;
  device = simulator.Plug("keyboard", options);
  ASSERT_NE(device, nullptr);
  const auto factoryTable = device->State().Contents(devsim::MemoryArea::kKeyMap);
  std::size_t qSlot = 0;
  while (qSlot * 3 + 2 < factoryTable.size() &&
         !(factoryTable[qSlot * 3] == 0x20 && factoryTable[qSlot * 3 + 2] == 0x14))
    ++qSlot;
  const std::uint8_t foreign[] = {0x20, 0x00, 0x99};
  ASSERT_TRUE(device->State().Write(devsim::MemoryArea::kKeyMap, qSlot * 3, foreign));
  window = std::make_unique<CMainWnd>();
  ASSERT_NE(window->Create(nullptr, "Kestrane", 0x96CA0000, 0, 0, 0, 1000, 640), nullptr);
  ASSERT_TRUE(PumpUntil([&] {
    page = dynamic_cast<CZantroveKeyboardDevice*>(window->CurrentPage());
    return page && page->IsProfileLoaded() && page->Slots().HasSlot(0);
  }));
  EXPECT_FALSE(page->Slots().HasSlot(43));
  EXPECT_EQ(page->KeyLedMap().at(43), 0xFF);

  const KeyAction chosen = AssignMediaFunction(43);
  ASSERT_EQ(chosen.type, 0x30);
  const auto before = device->State().Contents(devsim::MemoryArea::kKeyMap);
  Notify(Find(CKeySetControlUI::kSaveToDeviceButtonName), DUI_MSGTYPE_CLICK);
  EXPECT_EQ(Section()["KeyList"][43]["Assignment"].asInt(), static_cast<int>(chosen.Packed()));
  EXPECT_EQ(device->State().Contents(devsim::MemoryArea::kKeyMap), before);
}

TEST_F(KeyboardPageTest, RestoringTheDefaultsRewritesTheProfileButNeverWithNothing) {
  Connect();
  Select("polling_rate_option_2", true);
  ASSERT_EQ(Section()["SystemStages"]["PollingRate"].asInt(), 2);

  // Without a readable default profile the user's profile stays as it is.
  const std::string before = test::ReadFileBytes(page->Profile().GetProfilePath());
  SetProgramFolderOverride((test::TestRoot() / "no-program").string() + "/");
  page->LoadDefaultProfile();
  EXPECT_EQ(test::ReadFileBytes(page->Profile().GetProfilePath()), before);
  EXPECT_EQ(page->getKeyboardSettings().pollingRate, 2);

  SetProgramFolderOverride(std::string(OSTREL_KEYBOARD_APP_DIR) + "/");
  page->LoadDefaultProfile();
  EXPECT_EQ(Section()["SystemStages"]["PollingRate"].asInt(), 0);
  EXPECT_TRUE(FindAs<COptionUI>("polling_rate_option_0", "Option")->IsSelected());
  EXPECT_EQ(page->Keys().Size(), static_cast<std::size_t>(kKeyboardKeyCount));
}

struct OptionCase {
  const char* name;
  const char* control;
  bool selected;
  const char* profileKey;  // of "SystemStages"
  int profileValue;
  int recordOffset;  // -1: the onboard record is not written
  friend void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.name; }
};

class KeyboardOptions : public KeyboardPageTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(KeyboardOptions, ReachTheDeviceAndTheProfileFile) {
  Connect();
  const OptionCase& c = GetParam();
  if (!c.selected) Select(c.control, true);
  device->Log().Clear();
  const auto recordBefore = OnboardRecord();
  Select(c.control, c.selected);

  EXPECT_EQ(Section()["SystemStages"][c.profileKey].asInt(), c.profileValue);
  EXPECT_EQ(page->getKeyboardSettings(), page->Profile().GetSystemSettings());
  const auto frames = Commands();
  if (c.recordOffset < 0) {
    EXPECT_TRUE(frames.empty()) << "the repeat settings stay in the profile";
    EXPECT_EQ(OnboardRecord(), recordBefore);
    return;
  }
  // BeginConfig, WriteMemory of 46 bytes at 0, EndConfig.
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0][3], 1);
  EXPECT_EQ(frames[1][3], 6);
  EXPECT_EQ(frames[1][4], 46);
  EXPECT_EQ(frames[1][5] | (frames[1][6] << 8), 0);
  EXPECT_EQ(frames[2][3], 2);
  EXPECT_EQ(OnboardRecord()[static_cast<std::size_t>(c.recordOffset)], c.profileValue);
}

INSTANTIATE_TEST_SUITE_P(
    Options, KeyboardOptions,
    ::testing::Values(OptionCase{"PollingRate", "polling_rate_option_2", true, "PollingRate", 2, 22},
                      OptionCase{"ScanDelay", "delay_rate_option_3", true, "ScanDelay", 3, 25},
                      OptionCase{"WinLockOn", "winlockflag_option", true, "WinFlag", 1, 21},
                      OptionCase{"WinLockOff", "winlockflag_option", false, "WinFlag", 0, 21},
                      OptionCase{"WFlag", "wflag_option", true, "WFlag", 1, 19},
                      OptionCase{"SixKey", "6flag_option", true, "Key6Flag", 1, 20},
                      OptionCase{"RepeatDelay", "repeat_delay_check_2", true, "RepeatDelay", 2, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeyboardPageTest, RepeatRateAndDelayLabelAndTestField) {
  Connect();
  device->Log().Clear();
  auto* slider = FindAs<CSliderUI>(KeyboardSettingControls::kRepeatRateName, "Slider");
  ASSERT_NE(slider, nullptr);
  slider->SetValue(7);
  Notify(slider, DUI_MSGTYPE_VALUECHANGED);
  EXPECT_EQ(Section()["SystemStages"]["Repeat"].asInt(), 7);
  EXPECT_TRUE(Commands().empty());

  Select("repeat_delay_check_2", true);
  CControlUI* label = Find(KeyboardSettingControls::kRepeatDelayLabelName);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->GetText().str(),
            CResourceManager::GetInstance()->GetText("Repeat_Delay_Time").str() + "750ms");

  CControlUI* field = Find(KeyboardSettingControls::kRepeatTestName);
  ASSERT_NE(field, nullptr);
  field->SetText("aaaa");
  Notify(Find(KeyboardSettingControls::kResetRepeatName), DUI_MSGTYPE_CLICK);
  EXPECT_TRUE(field->GetText().IsEmpty());
}

TEST_F(KeyboardPageTest, TextsThePageComposesFollowALanguageSwitch) {
  Connect();
  CControlUI* label = Find(KeyboardSettingControls::kRepeatDelayLabelName);
  ASSERT_NE(label, nullptr);
  const std::string before = label->GetText().str();
  const std::string title = page->KeyButtons()[0]->GetUserToolTipText().str();
  window->SetLanguage(window->LanguageIndex() == 1 ? 2 : 1);
  const std::string translated = CResourceManager::GetInstance()->GetText("Repeat_Delay_Time").str();
  ASSERT_NE(before.rfind(translated, 0), 0u) << "the switch did not change the language";
  const int delay = (KeyboardSettingControls::ClampOption(page->getKeyboardSettings().repeatDelay) + 1) * 250;
  EXPECT_EQ(label->GetText().str(), translated + std::to_string(delay) + "ms");
  EXPECT_NE(page->KeyButtons()[0]->GetUserToolTipText().str(), title);
}

TEST_F(KeyboardPageTest, OptionsFromTheProfileOutsideTheirGroupsShowOptionZero) {
  Connect();
  KeyboardSystemSettings settings = page->getKeyboardSettings();
  settings.pollingRate = 4;
  settings.scanDelay = 300;
  settings.repeatDelay = 9;
  settings.winFlag = 256;
  page->setKeyboardSettings(settings);
  for (const char* name : {"polling_rate_option_0", "delay_rate_option_0", "repeat_delay_check_0"})
    EXPECT_TRUE(FindAs<COptionUI>(name, "Option")->IsSelected()) << name;
  EXPECT_FALSE(FindAs<COptionUI>("polling_rate_option_1", "Option")->IsSelected());
  EXPECT_TRUE(page->winLock());
  device->Log().Clear();
  ASSERT_EQ(page->WriteProfileRecord(0), 1);
  const auto record = OnboardRecord();
  EXPECT_EQ(record[22], 0);
  EXPECT_EQ(record[25], 0);
  EXPECT_EQ(record[21], 1);
}

// The lighting panel of the real page: each zone's change reaches its own
// record in the profile file and its own bytes of the onboard record.
// The logo's 15 and the St strip's 6 light buttons show their zones'
// preview; they lie outside the key panel, so a key selection never takes
// them.
TEST_F(KeyboardPageTest, TheLogoAndStLightsShowTheirZonesPreview) {
  Connect();
  LightSetting logo = page->LightSettingOfZone(1);
  logo.logoSelectItem = 4;  // static
  logo.logoLight = 4;
  logo.logoMultiColor = 0;
  logo.logoRed = 10, logo.logoGreen = 20, logo.logoBlue = 30;
  logo.rgbDengOffOn = 0;
  LightSetting strip = page->LightSettingOfZone(2);
  strip.stSelectItem = 4;
  strip.stLight = 4;
  strip.stMultiColor = 0;
  strip.stRed = 40, strip.stGreen = 50, strip.stBlue = 60;
  page->Profile().WriteLogoLightSetting(logo);
  page->Profile().WriteStLightSetting(strip);
  page->ApplyProfileLighting();

  struct Zone {
    const char* prefix;
    int count;
    LedColour colour;
  } zones[] = {{"logo_light_", 15, {10, 20, 30, 0}}, {"st_light_", 6, {40, 50, 60, 0}}};
  for (const Zone& zone : zones) {
    SCOPED_TRACE(zone.prefix);
    std::vector<CDeviceKeyButtonUI*> lights;
    for (int i = 0; i < zone.count; ++i) {
      auto* light = FindAs<CDeviceKeyButtonUI>((zone.prefix + std::to_string(i)).c_str(), "DeviceKeyButton");
      ASSERT_NE(light, nullptr) << i;
      EXPECT_NE(light->GetParent(), page->GetSelectPanel()) << i;
      lights.push_back(light);
    }
    const DWORD expected = LightFrame::PackButtonColour(zone.colour);
    EXPECT_TRUE(PumpUntil([&] {
      return std::all_of(lights.begin(), lights.end(),
                         [&](CDeviceKeyButtonUI* light) { return light->GetLightColor() == expected; });
    })) << "the zone's lights did not take its colour";
  }
}

// The lighting tab shows the three zones side by side: every column, and
// every row inside it, lies within the panel, none cut at its right edge.
TEST_F(KeyboardPageTest, TheLightingPanelsThreeZonesFitSideBySide) {
  Connect();
  Select("deng_Op_tab", true);
  window->GetPaintManager()->RenderToImage();
  CControlUI* panel = Find("LightControlItem");
  ASSERT_NE(panel, nullptr);
  const RECT area = panel->GetPos();
  std::function<void(CControlUI*, const RECT&)> inside = [&](CControlUI* control, const RECT& bounds) {
    if (!control->IsVisible()) return;
    const RECT r = control->GetPos();
    SCOPED_TRACE(control->GetName().str());
    EXPECT_GE(r.left, bounds.left);
    EXPECT_LE(r.right, bounds.right);
    // A combo's rows live in its drop-down, not in the panel.
    if (control->GetInterface("Combo")) return;
    if (auto* container = static_cast<CContainerUI*>(control->GetInterface("Container")))
      for (int i = 0; i < container->GetCount(); ++i) inside(container->GetItemAt(i), r);
  };
  int columns = 0;
  for (const char* zone : {"light_zone_layout", "LightTab1_light_zone_layout", "LightTab2_light_zone_layout"}) {
    CControlUI* column = Find(zone);
    ASSERT_NE(column, nullptr) << zone;
    EXPECT_TRUE(column->IsVisible()) << zone;
    inside(column, area);
    columns += column->GetPos().right > column->GetPos().left;
  }
  EXPECT_EQ(columns, 3);
}

TEST_F(KeyboardPageTest, LightingPanelChangesOfEachZoneAreSavedAndWrittenToTheKeyboard) {
  Connect();
  CLightControlUI* panel = page->LightPanel();
  ASSERT_NE(panel, nullptr);
  struct Case {
    const char* combo;
    int effect;
    const char* profileKey;
    std::size_t recordByte;
  } cases[] = {
      {"light_combo_modeSelect", 3, "LightInfo", KeyboardProfileRecord::kMainZone},
      {"LightTab1_light_combo_modeSelect", 2, "LogoLightInfo", KeyboardProfileRecord::kLogoZone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.combo);
    CControlUI* control = window->GetPaintManager()->FindSubControlByName(panel, c.combo);
    ASSERT_NE(control, nullptr);
    auto* combo = static_cast<CComboUI*>(control->GetInterface("Combo"));
    ASSERT_GT(combo->GetCount(), c.effect);
    combo->SelectItem(c.effect, false, false);
    Notify(combo, "itemselect");
    EXPECT_EQ(Section()[c.profileKey]["SelectItem"].asInt(), c.effect);
    EXPECT_EQ(OnboardRecord()[c.recordByte], c.effect);
  }
  // The logo change left the main zone as it was.
  EXPECT_EQ(Section()["LightInfo"]["SelectItem"].asInt(), 3);
  EXPECT_EQ(OnboardRecord()[KeyboardProfileRecord::kMainZone], 3);
}

TEST_F(KeyboardPageTest, AZoneSpeedOfOneIsStoredAsThreeAndReadBackAsOne) {
  Connect();
  // Speed in byte 2 of the record (the third of the first word).
  page->SetLightSetting(0x00010206u, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(page->Profile().GetLightSetting().speed, 1);
  ASSERT_EQ(page->WriteProfileRecord(0), 1);
  EXPECT_EQ(OnboardRecord()[1], 6);
  EXPECT_EQ(OnboardRecord()[3], 3);

  // The device's own record replaces the page's zones.
  const std::uint8_t record[] = {0, 5, 2, 1};
  ASSERT_TRUE(device->State().Write(devsim::MemoryArea::kMemory, 0, record));
  page->ReadCurrentProfile();
  EXPECT_EQ(page->MainLightSetting().selectItem, 5);
  EXPECT_EQ(page->MainLightSetting().light, 2);
  EXPECT_EQ(page->MainLightSetting().speed, 3);
}

TEST_F(KeyboardPageTest, FnCanBeChosenOnTheLightingTabButNotOnTheKeyTab) {
  Connect();
  CDeviceKeyButtonUI* fn = page->KeyButtons()[CZantroveKeyboardDevice::kFnKey];
  auto* keyTabs = FindAs<CTabLayoutUI>("device_key_function_switch", "TabLayout");
  ASSERT_NE(keyTabs, nullptr);

  Select("key_Op_tab", true);
  EXPECT_EQ(page->GetFunctionTab(), 2);
  EXPECT_EQ(keyTabs->GetCurSel(), 1);
  EXPECT_FALSE(fn->IsEnabled());
  EXPECT_TRUE(page->KeyButtons()[110]->IsEnabled());

  Select("system_Op_tab", true);
  EXPECT_FALSE(fn->IsEnabled()) << "other tabs leave the key as it was";
  EXPECT_EQ(FindAs<CTabLayoutUI>("device_function_switch", "TabLayout")->GetCurSel(), 3);

  Select("deng_Op_tab", true);
  EXPECT_EQ(page->GetFunctionTab(), 1);
  EXPECT_EQ(keyTabs->GetCurSel(), 0);
  EXPECT_TRUE(fn->IsEnabled());
}

TEST_F(KeyboardPageTest, TheReloadFlagMakesTheNextProfileReadLoadTheFileAgain) {
  Connect();
  const std::string path = page->Profile().GetProfilePath();
  auto changeFile = [&](int polling) {
    Json::Value file = JsonFileUtil::ReadJson(path);
    file["Device"][0]["SystemStages"]["PollingRate"] = polling;
    ASSERT_TRUE(JsonFileUtil::WriteJson(path, file));
  };
  const int shown = page->getKeyboardSettings().pollingRate;

  // Without the flag a profile read takes only the device's record.
  changeFile(shown == 3 ? 1 : 3);
  page->ReadCurrentProfile();
  EXPECT_EQ(page->getKeyboardSettings().pollingRate, shown);

  // The device asks for the reload; the re-read follows on its timer.
  changeFile(2);
  page->OnNotificationUsage(0x0402);
  EXPECT_TRUE(page->IsProfileReloadPending());
  ASSERT_TRUE(PumpUntil([&] { return !page->IsProfileReloadPending(); }, 3s));
  EXPECT_EQ(page->getKeyboardSettings().pollingRate, 2);
  EXPECT_TRUE(FindAs<COptionUI>("polling_rate_option_2", "Option")->IsSelected());
}

TEST_F(KeyboardPageTest, AnotherProfileChosenInTheProfilePanelShowsAndReachesTheDevice) {
  Connect();
  Select("polling_rate_option_2", true);
  const std::string first = page->Profile().GetProfilePath();
  device->Log().Clear();
  // A new profile is made from the defaults and becomes the page's.
  Notify(Find("device_add_btn"), DUI_MSGTYPE_CLICK);
  ASSERT_NE(page->Profile().GetProfilePath(), first);
  EXPECT_EQ(page->getKeyboardSettings().pollingRate, 0);
  EXPECT_TRUE(FindAs<COptionUI>("polling_rate_option_0", "Option")->IsSelected());
  EXPECT_FALSE(FindAs<COptionUI>("polling_rate_option_2", "Option")->IsSelected());
  EXPECT_EQ(OnboardRecord()[22], 0);
  // The first profile kept its own value.
  EXPECT_EQ(JsonFileUtil::ReadJson(first)["Device"][0]["SystemStages"]["PollingRate"].asInt(), 2);
}

TEST_F(KeyboardPageTest, CustomColourGroupsStoredThroughThePageAreInTheFileAndComeBack) {
  Connect();
  std::vector<CustomColor> colours(126);
  for (std::size_t i = 0; i < colours.size(); ++i)
    colours[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 7, 255};
  ASSERT_TRUE(page->StoreCustomColours(3, colours));
  page->SetProfileCustomGroup(3);
  page->SaveActiveProfile();

  CKeyboardProfiledata reread;
  reread.LoadProfile(page->Profile().GetProfilePath());
  EXPECT_EQ(reread.ReadCustomColors(3, 126), colours);
  EXPECT_EQ(reread.ReadCustomGroupIndex(), 3);

  ASSERT_EQ(page->LoadActiveProfile(), 1);
  EXPECT_EQ(page->ReadCustomColours(3, 126), colours);

  // Groups outside the profile's range are refused and leave the file alone.
  const std::string before = test::ReadFileBytes(page->Profile().GetProfilePath());
  EXPECT_FALSE(page->StoreCustomColours(-1, colours));
  EXPECT_FALSE(page->StoreCustomColours(CKeyboardProfiledata::kMaxCustomGroups, colours));
  EXPECT_TRUE(page->ReadCustomColours(CKeyboardProfiledata::kMaxCustomGroups, 126).empty());
  page->SetProfileCustomGroup(-5);
  page->SaveActiveProfile();
  EXPECT_EQ(test::ReadFileBytes(page->Profile().GetProfilePath()), before);
}

TEST(KeyboardPageWithoutProfile, StoresAndSavesNothingBeforeAProfileIsLoaded) {
  const fs::path folder = test::TestRoot() / "data";
  CZantroveKeyboardDevice page;
  page.SetDataFolder(folder.string().c_str());
  page.SetModelName("keyboard");
  page.SetProfileId("2020_01_01_00_00_00_000");
  const fs::path file = folder / "keyboard" / "2020_01_01_00_00_00_000.Json";
  fs::create_directories(file.parent_path());
  {
    std::ofstream out(file);
    out << "{\"profilename\":\"mine\",\"Device\":[{\"SystemStages\":{\"PollingRate\":2}}]}";
  }
  const std::string before = test::ReadFileBytes(file);

  EXPECT_FALSE(page.StoreCustomColours(0, {CustomColor{1, 2, 3, 4}}));
  EXPECT_TRUE(page.ReadCustomColours(0, 4).empty());
  page.SetProfilePaths();
  page.SaveActiveProfile();
  EXPECT_EQ(test::ReadFileBytes(file), before) << "an empty profile object was saved over the file";

  ASSERT_EQ(page.LoadActiveProfile(), 1);
  EXPECT_EQ(page.getKeyboardSettings().pollingRate, 2);
  EXPECT_TRUE(page.StoreCustomColours(0, {CustomColor{1, 2, 3, 4}}));
  page.SaveActiveProfile();
  EXPECT_EQ(JsonFileUtil::ReadJson(file.string())["profilename"].asString(), "mine");
}

}  // namespace
}  // namespace ostrel
