// The lighting of the device pages end to end: the window's page host, the
// real lighting panel in each page and simulated devices. The frame output
// on the wire, the panel's changes reaching the page, the device and the
// profile, synchronisation across the pages and the keyboard's per-key
// colours.

#include <gtest/gtest.h>

#include <vector>

#include "LightWireFixture.h"
#include "controls/CDeviceKeyButtonUI.h"
#include "devicelink/DeviceProtocol.h"
#include "lighting/CLightControlUI.h"
#include "lighting/LightMath.h"
#include "platform/ui/CButtonUI.h"
#include "platform/ui/CColorPaletteUI.h"
#include "platform/ui/CComboUI.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CSliderUI.h"

namespace ostrel::test {
namespace {

using std::chrono::milliseconds;
using Bytes = std::vector<std::uint8_t>;

LightSetting Record(int effect, int level, int speed, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  LightSetting s;
  s.selectItem = static_cast<std::uint8_t>(effect);
  s.light = static_cast<std::uint8_t>(level);
  s.speed = static_cast<std::uint8_t>(speed);
  s.red = r;
  s.green = g;
  s.blue = b;
  return s;
}

// StreamLedFrame reports the device received, in order.
std::vector<devsim::LoggedReport> Streamed(devsim::SimulatedDevice& device) {
  std::vector<devsim::LoggedReport> frames;
  for (const auto& report : device.Log().FromHost())
    if (report.bytes.size() > 8 && report.bytes[0] == 4 && report.bytes[3] == 18) frames.push_back(report);
  return frames;
}

TEST_F(LightWireTest, MousePageStreamsItsFrameEveryPeriodWithTheColoursTimesTheBrightness) {
  ASSERT_TRUE(Connect({"mouse"}));
  WiredPage* mouse = PageOfType(kDeviceMouse);
  ASSERT_NE(mouse, nullptr);
  ASSERT_TRUE(mouse->CommitLightSetting(LightZone::kMain, Record(3, 3, 0, 200, 100, 50)));
  PumpFor(milliseconds(60));  // a frame of the old effect may be under way
  devices["mouse"]->Log().Clear();
  ASSERT_TRUE(PumpUntil([&] { return Streamed(*devices["mouse"]).size() >= 6; }, milliseconds(3000)));
  const auto frames = Streamed(*devices["mouse"]);
  // Level 3 is brightness 190: every colour byte x 190 / 256, six LEDs.
  Bytes expected;
  for (int led = 0; led < 6; ++led)
    for (std::uint8_t v : {200, 100, 50}) expected.push_back(Scale(v, 190));
  for (std::size_t i = 0; i < frames.size(); ++i) {
    EXPECT_EQ(frames[i].bytes[4], 18) << i;
    EXPECT_EQ(Bytes(frames[i].bytes.begin() + 8, frames[i].bytes.begin() + 26), expected) << i;
    if (i > 0) {
      EXPECT_GE(frames[i].time - frames[i - 1].time, milliseconds(45)) << i;
    }
  }
  // The page's LED buttons show the same colour.
  ASSERT_NE(mouse->LedButtons()[0], nullptr);
  EXPECT_EQ(mouse->LedButtons()[0]->GetLightColor(), 200u | 50u << 8 | 100u << 16);
  EXPECT_EQ(mouse->LedButtons()[0]->GetLightLevel(), 190);
  // Host lighting off: nothing more reaches the device.
  window->host.SetHostLighting(false);
  PumpFor(milliseconds(60));
  devices["mouse"]->Log().Clear();
  PumpFor(milliseconds(200));
  EXPECT_TRUE(Streamed(*devices["mouse"]).empty());
}

TEST_F(LightWireTest, NameListsReachEveryPagesPanelThroughTheBase) {
  ASSERT_TRUE(Connect({"mouse", "keyboard"}));
  struct Case {
    int type;
    int effects;  // names of the model's effect codes
    int custom;   // the user's custom effect names
  } cases[] = {{kDeviceMouse, 9, 1}, {kDeviceKeyboard, 28, 2}};
  for (const Case& c : cases) {
    WiredPage* page = PageOfType(c.type);
    ASSERT_NE(page, nullptr);
    auto* effects =
        static_cast<CComboUI*>(PanelControl(*page, "light_combo_modeSelect")->GetInterface("Combo"));
    EXPECT_EQ(effects->GetCount(), c.effects) << c.type;
    auto* custom =
        static_cast<CComboUI*>(PanelControl(*page, "light_combo_custommodeSelect")->GetInterface("Combo"));
    EXPECT_EQ(custom->GetCount(), c.custom) << c.type;
    EXPECT_EQ(page->MacroNameList(), (std::vector<std::string>{"reload", "jump"}));
  }
  auto* logo = static_cast<CComboUI*>(
      PanelControl(*PageOfType(kDeviceKeyboard), "LightTab1_light_combo_modeSelect")->GetInterface("Combo"));
  EXPECT_EQ(logo->GetCount(), 6);
}

TEST_F(LightWireTest, PanelChangesReachThePageTheDeviceAndTheProfile) {
  ASSERT_TRUE(Connect({"mouse", "keyboard"}));
  WiredPage* mouse = PageOfType(kDeviceMouse);
  WiredPage* keyboard = PageOfType(kDeviceKeyboard);
  LightSetting start = Record(2, 4, 2, 1, 2, 3);
  start.multiColor = 1;
  mouse->LoadRecords(start);

  // The effect combo: the record, the preview, the profile and the device.
  auto* combo = static_cast<CComboUI*>(PanelControl(*mouse, "light_combo_modeSelect")->GetInterface("Combo"));
  combo->SelectItem(3, false, false);
  const int writes = mouse->recordWrites, saves = mouse->saves;
  ASSERT_TRUE(Notify(*mouse, combo, "itemselect"));
  EXPECT_EQ(mouse->profile[0].selectItem, 3);
  EXPECT_EQ(mouse->Animator()->GetLightSetting().selectItem, 3);
  EXPECT_EQ(mouse->recordWrites, writes + 1);
  EXPECT_EQ(mouse->saves, saves + 1);
  EXPECT_GE(devices["mouse"]->State().CommandCount(static_cast<std::uint8_t>(CommandId::kWriteMemory)), 1u);

  // The colour edits are clamped and rewritten when they lose the focus.
  struct EditCase {
    const char* typed;
    const char* shown;
    std::uint8_t stored;
  } edits[] = {{"300", "255", 255}, {"", "0", 0}, {"77", "77", 77}};
  for (const EditCase& e : edits) {
    CControlUI* edit = PanelControl(*mouse, "deng_edit_R");
    edit->SetText(e.typed);
    ASSERT_TRUE(Notify(*mouse, edit, "killfocus")) << e.typed;
    EXPECT_EQ(edit->GetText().str(), e.shown);
    EXPECT_EQ(mouse->profile[0].red, e.stored) << e.typed;
  }

  // A palette colour or a preset turns multi-colour off.
  mouse->LoadRecords(start);
  auto* palette =
      static_cast<CColorPaletteUI*>(PanelControl(*mouse, "deng_Color_Pallet")->GetInterface("ColorPalette"));
  palette->SetSelectColor(0xFF102030);
  ASSERT_TRUE(Notify(*mouse, palette, "colorchanged"));
  EXPECT_EQ(mouse->profile[0].multiColor, 0);
  EXPECT_EQ(mouse->profile[0].red, 0x10);
  EXPECT_EQ(mouse->profile[0].blue, 0x30);
  EXPECT_EQ(mouse->Animator()->GetLightSetting().green, 0x20);

  // The keyboard's logo zone keeps its own record.
  const LightSetting mainBefore = keyboard->LightSettingOfZone(0);
  CControlUI* logoGreen = PanelControl(*keyboard, "LightTab1_deng_edit_G");
  logoGreen->SetText("12");
  ASSERT_TRUE(Notify(*keyboard, logoGreen, "killfocus"));
  EXPECT_EQ(keyboard->profile[1].logoGreen, 12);
  EXPECT_EQ(keyboard->LightSettingOfZone(0), mainBefore);
  EXPECT_EQ(keyboard->KeyboardAnimator()->GetLightSetting().logoGreen, 12);

  // Not a lighting control: the page's own.
  CButtonUI other;
  other.SetName("macro_btn_save");
  EXPECT_FALSE(Notify(*mouse, &other, "click"));
}

TEST_F(LightWireTest, SynchronisingFromAMouseInBreathingSetsKeyboardsToFiveAndOtherPagesToTwo) {
  ASSERT_TRUE(Connect({"mouse", "keyboard"}));
  WiredPage* mouse = PageOfType(kDeviceMouse);
  WiredPage* keyboard = PageOfType(kDeviceKeyboard);
  ASSERT_TRUE(mouse->CommitLightSetting(LightZone::kMain, Record(2, 4, 4, 0, 255, 0)));
  const int keyboardWrites = keyboard->recordWrites;
  CControlUI* sync = PanelControl(*mouse, "deng_same_mode");
  ASSERT_EQ(window->host.ConnectedCount(), 2);
  ASSERT_TRUE(Shown(*mouse, "deng_same_mode"));
  ASSERT_TRUE(Notify(*mouse, sync, "click"));

  EXPECT_EQ(keyboard->profile[0].selectItem, 5);
  EXPECT_EQ(mouse->profile[0].selectItem, 2);
  EXPECT_EQ(keyboard->profile[0].green, 255);  // the source's parameters
  EXPECT_EQ(keyboard->recordWrites, keyboardWrites + 1);
  EXPECT_TRUE(keyboard->IsLightingPaused());
  EXPECT_TRUE(mouse->IsLightingPaused());
  EXPECT_EQ(window->host.Synchronisation().Effect(), CommonEffect::kBreathing);
  // The keyboard's panel shows its new effect.
  auto* keyboardCombo =
      static_cast<CComboUI*>(PanelControl(*keyboard, "light_combo_modeSelect")->GetInterface("Combo"));
  EXPECT_EQ(keyboardCombo->GetCurSel(), 5);
  // The synchronisation thread breathes green into both pages; the mouse
  // streams it.
  std::array<LedColour, 126> leds{};
  ASSERT_TRUE(PumpUntil(
      [&] {
        keyboard->CopyLeds(leds);
        return leds[0].green == 255 && leds[0].brightness > 0 && leds[125] == leds[0];
      },
      milliseconds(3000)));
  ASSERT_TRUE(PumpUntil(
      [&] {
        const Bytes live = devices["mouse"]->State().Contents(devsim::MemoryArea::kLiveFrame);
        return live.size() >= 18 && live[1] > 0 && live[0] == 0 && live[2] == 0;
      },
      milliseconds(3000)));

  // The mouse's own brightness takes it out; the keyboard stays in.
  auto* slider = static_cast<CSliderUI*>(PanelControl(*mouse, "deng_light_slider")->GetInterface("Slider"));
  slider->SetValue(2);
  ASSERT_TRUE(Notify(*mouse, slider, "valuechanged"));
  EXPECT_FALSE(mouse->IsLightingPaused());
  EXPECT_TRUE(keyboard->IsLightingPaused());
  EXPECT_EQ(mouse->profile[0].light, 2);
}

TEST_F(LightWireTest, SynchronisationIgnoresEffectsWithoutACommonEffect) {
  ASSERT_TRUE(Connect({"mouse", "keyboard"}));
  WiredPage* mouse = PageOfType(kDeviceMouse);
  WiredPage* keyboard = PageOfType(kDeviceKeyboard);
  struct Case {
    WiredPage* source;
    int effect;
  } cases[] = {{keyboard, 7}, {mouse, 0}, {mouse, 6}};
  for (const Case& c : cases) {
    c.source->LoadRecords(Record(c.effect, 4, 4, 9, 9, 9));
    const LightSetting other = (c.source == mouse ? keyboard : mouse)->LightSettingOfZone(0);
    EXPECT_FALSE(window->host.SynchroniseLighting(*c.source)) << c.effect;
    EXPECT_FALSE(mouse->IsLightingPaused());
    EXPECT_FALSE(keyboard->IsLightingPaused());
    EXPECT_EQ((c.source == mouse ? keyboard : mouse)->LightSettingOfZone(0), other);
  }
}

TEST_F(LightWireTest, SyncButtonIsOfferedOnlyWhileTwoDevicesAreConnected) {
  ASSERT_TRUE(Connect({"mouse"}));
  WiredPage* mouse = PageOfType(kDeviceMouse);
  ASSERT_TRUE(mouse->CommitLightSetting(LightZone::kMain, Record(2, 4, 4, 0, 0, 255)));
  EXPECT_FALSE(Shown(*mouse, "deng_same_mode"));
  EXPECT_FALSE(window->host.SynchroniseLighting(*mouse));

  devices["keyboard"] = simulator.Plug("keyboard");
  ASSERT_TRUE(PumpUntil([&] { return window->host.ConnectedCount() == 2; }, milliseconds(3000)));
  EXPECT_TRUE(Shown(*mouse, "deng_same_mode"));
  // An effect without synchronisation hides it again.
  mouse->LoadRecords(Record(0, 4, 4, 0, 0, 255));
  EXPECT_FALSE(Shown(*mouse, "deng_same_mode"));
  mouse->LoadRecords(Record(2, 4, 4, 0, 0, 255));
  ASSERT_TRUE(window->host.SynchroniseLighting(*mouse));
  EXPECT_TRUE(mouse->IsLightingPaused());

  // One device left: no button, and the page has its own lighting back.
  ASSERT_TRUE(simulator.Unplug("keyboard").ok);
  ASSERT_TRUE(PumpUntil([&] { return window->host.ConnectedCount() == 1; }, milliseconds(3000)));
  EXPECT_FALSE(Shown(*mouse, "deng_same_mode"));
  EXPECT_FALSE(mouse->IsLightingPaused());
  EXPECT_FALSE(mouse->Animator()->IsPaused());
}

class KeyboardColoursTest : public LightWireTest {
 protected:
  // Effect 20 with group 1 stored (key 0 blue, key 1 white) and red as the
  // fixed colour.
  void StartCustomColours() {
    ASSERT_TRUE(Connect({"keyboard"}));
    keyboard = PageOfType(kDeviceKeyboard);
    ASSERT_NE(keyboard, nullptr);
    keyboard->groups[1] = {{0, 0, 255, 0}, {255, 255, 255, 0}};
    LightSetting custom = Record(20, 4, 0, 255, 0, 0);
    custom.customLightModeGroupIndex = 1;
    ASSERT_TRUE(keyboard->CommitLightSetting(LightZone::kMain, custom));
  }
  Bytes Bank() const { return devices.at("keyboard")->State().Contents(devsim::MemoryArea::kLedBank); }
  Bytes Led(int led) const {
    const Bytes bank = Bank();
    return Bytes(bank.begin() + 3 * led, bank.begin() + 3 * led + 3);
  }
  CDeviceKeyButtonUI* Key(int n) const { return keyboard->KeyButtons()[static_cast<std::size_t>(n)]; }

  WiredPage* keyboard = nullptr;
};

TEST_F(KeyboardColoursTest, StartingEffectTwentyShowsAndWritesTheGroupOfByteThirty) {
  StartCustomColours();
  EXPECT_EQ(Led(0), (Bytes{0, 0, 255}));
  EXPECT_EQ(Led(1), (Bytes{255, 255, 255}));
  EXPECT_EQ(Led(2), (Bytes{0, 0, 0}));
  auto* custom =
      static_cast<CComboUI*>(PanelControl(*keyboard, "light_combo_custommodeSelect")->GetInterface("Combo"));
  EXPECT_EQ(custom->GetCurSel(), 1);
  // The keyboard runs its effect itself: its page streams nothing.
  PumpFor(milliseconds(150));
  EXPECT_TRUE(Streamed(*devices["keyboard"]).empty());
}

TEST_F(KeyboardColoursTest, KeysClickedOrSelectedOnTheLightingTabTakeTheFixedColour) {
  StartCustomColours();
  // A click on a key of the lighting tab.
  ASSERT_EQ(keyboard->GetFunctionTab(), 1);
  ASSERT_TRUE(Notify(*keyboard, Key(3), "click"));
  EXPECT_EQ(Led(3), (Bytes{255, 0, 0}));
  ASSERT_GE(keyboard->groups[1].size(), 4u);
  EXPECT_EQ(keyboard->groups[1][3], (CustomColor{255, 0, 0, 0}));
  EXPECT_EQ(keyboard->groups[1][0], (CustomColor{0, 0, 255, 0}));
  // The rubber band over keys 5 and 6.
  Key(5)->SetSelected(true);
  Key(6)->SetSelected(true);
  CControlUI* picture = keyboard->GetSelectPanel();
  ASSERT_NE(picture, nullptr);
  ASSERT_EQ(picture->GetName().str(), "keyboard_device_key_light_0");
  ASSERT_TRUE(Notify(*keyboard, picture, "click_select_end"));
  EXPECT_EQ(Led(5), (Bytes{255, 0, 0}));
  EXPECT_EQ(Led(6), (Bytes{255, 0, 0}));
  EXPECT_EQ(Led(4), (Bytes{0, 0, 0}));
  EXPECT_EQ(keyboard->groups[1][6], (CustomColor{255, 0, 0, 0}));
  // On another tab a key click is only a key click.
  keyboard->SelectFunctionTab(2);
  EXPECT_FALSE(Notify(*keyboard, Key(8), "click"));
  EXPECT_EQ(Led(8), (Bytes{0, 0, 0}));
}

TEST_F(KeyboardColoursTest, FillButtonsColourEveryKeyAndTheCustomComboSwitchesGroups) {
  StartCustomColours();
  CButtonUI off, bright;
  off.SetName("custom_off_color_btn");
  bright.SetName("custom_bright_color_btn");
  const int saves = keyboard->saves;
  ASSERT_TRUE(Notify(*keyboard, &bright, "click"));
  for (int led : {0, 1, 60, 125}) EXPECT_EQ(Led(led), (Bytes{255, 0, 0})) << led;
  EXPECT_EQ(keyboard->groups[1][60], (CustomColor{255, 0, 0, 0}));
  EXPECT_GT(keyboard->saves, saves);
  ASSERT_TRUE(Notify(*keyboard, &off, "click"));
  EXPECT_EQ(Led(60), (Bytes{0, 0, 0}));

  // The custom-effect combo: group 0 becomes the profile's current group,
  // byte 30, and is shown and written.
  keyboard->groups[0] = {{0, 255, 0, 0}};
  auto* custom =
      static_cast<CComboUI*>(PanelControl(*keyboard, "light_combo_custommodeSelect")->GetInterface("Combo"));
  custom->SelectItem(0, false, false);
  ASSERT_TRUE(Notify(*keyboard, custom, "itemselect"));
  EXPECT_EQ(keyboard->currentGroup, 0);
  EXPECT_EQ(keyboard->profile[0].customLightModeGroupIndex, 0);
  EXPECT_EQ(Led(0), (Bytes{0, 255, 0}));
  EXPECT_EQ(Led(1), (Bytes{0, 0, 0}));
}

TEST_F(KeyboardColoursTest, OutsideEffectTwentyTheKeysWriteNothing) {
  ASSERT_TRUE(Connect({"keyboard"}));
  keyboard = PageOfType(kDeviceKeyboard);
  ASSERT_TRUE(keyboard->CommitLightSetting(LightZone::kMain, Record(6, 4, 0, 255, 0, 0)));
  const unsigned written =
      devices["keyboard"]->State().CommandCount(static_cast<std::uint8_t>(CommandId::kWriteLedColours));
  CButtonUI bright;
  bright.SetName("custom_bright_color_btn");
  Notify(*keyboard, &bright, "click");
  Notify(*keyboard, Key(3), "click");
  EXPECT_EQ(devices["keyboard"]->State().CommandCount(static_cast<std::uint8_t>(CommandId::kWriteLedColours)),
            written);
  EXPECT_TRUE(keyboard->groups.empty());
}

TEST_F(LightWireTest, KeyPressesReportedByTheKeyboardLightItsReactiveEffect) {
  ASSERT_TRUE(Connect({"keyboard"}));
  WiredPage* keyboard = PageOfType(kDeviceKeyboard);
  ASSERT_TRUE(keyboard->CommitLightSetting(LightZone::kMain, Record(7, 4, 4, 255, 0, 0)));
  ASSERT_TRUE(PumpUntil([&] { return keyboard->NotificationReaderRunning(); }, milliseconds(2000)));
  PumpFor(milliseconds(50));
  std::array<LedColour, 126> leds{};
  keyboard->CopyLeds(leds);
  EXPECT_EQ(leds[5].brightness, 0);
  ASSERT_TRUE(devices["keyboard"]->PressKey(5));
  // The key lights at once and fades away step by step.
  ASSERT_TRUE(PumpUntil(
      [&] {
        keyboard->CopyLeds(leds);
        return leds[5].brightness > 0;
      },
      milliseconds(2000)));
  EXPECT_EQ(leds[5].red, 255);
  EXPECT_EQ(leds[6].brightness, 0);
  ASSERT_TRUE(PumpUntil(
      [&] {
        keyboard->CopyLeds(leds);
        return leds[5].brightness == 0;
      },
      milliseconds(3000)));
}

}  // namespace
}  // namespace ostrel::test
