// The device page base: control binding, LED list, frame building, tabs,
// lighting records and the effect helpers.

#include <gtest/gtest.h>

#include "DeviceHostFixture.h"
#include "controls/CDeviceKeyButtonUI.h"
#include "controls/CSelectPanelUI.h"
#include "devicelink/DeviceCatalogue.h"
#include "devsim/Simulator.h"
#include "platform/ui/CTabLayoutUI.h"

namespace ostrel::test {
namespace {

using std::chrono::milliseconds;

// A page with a select panel holding the given (name, user data) buttons.
std::unique_ptr<TestDevicePage> MakePage(int keys, int leds,
                                         const std::vector<std::pair<const char*, const char*>>& buttons) {
  auto page = std::make_unique<TestDevicePage>();
  auto* panel = new CSelectPanelUI;
  for (const auto& [name, userData] : buttons) {
    auto* button = new CDeviceKeyButtonUI;
    button->SetName(name);
    button->SetUserData(userData);
    panel->Add(button);
  }
  page->Add(panel);
  page->SetLayoutName("XML\\DeviceXml\\mousedevice.xml");
  page->SetKeyCount(keys);
  page->SetLedCount(leds);
  return page;
}

TEST(DevicePage, InitPageBindsKeyAndLightButtonsByNumber) {
  auto page = MakePage(6, 10,
                       {{"key_3", "light_7"},
                        {"key_9", "light_2"},    // key out of range, light bound
                        {"key_x", "light_10"},   // no number; light out of range
                        {"key", "light"},        // no "_": matches nothing
                        {"light_0_4", "key_1"},  // prefixes must be "key_" and "light_"
                        {"key_0", ""}});
  page->InitPage();
  const auto& keys = page->KeyButtons();
  const auto& leds = page->LedButtons();
  ASSERT_EQ(keys.size(), 6u);
  ASSERT_EQ(leds.size(), 10u);
  auto* panel = page->GetSelectPanel();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(keys[3], panel->GetItemAt(0));
  EXPECT_EQ(leds[7], panel->GetItemAt(0));
  EXPECT_EQ(leds[2], panel->GetItemAt(1));
  EXPECT_EQ(keys[0], panel->GetItemAt(5));
  // A key name in the user data binds no key.
  EXPECT_EQ(keys[1], nullptr);
  int boundKeys = 0, boundLeds = 0;
  for (auto* k : keys) boundKeys += k != nullptr;
  for (auto* l : leds) boundLeds += l != nullptr;
  EXPECT_EQ(boundKeys, 2);
  EXPECT_EQ(boundLeds, 2);
  // Bound LED buttons start white at full brightness.
  EXPECT_TRUE(leds[7]->IsLightTintOn());
  EXPECT_EQ(leds[7]->GetLightColor(), 0xFFFFFFu);
  EXPECT_EQ(leds[7]->GetLightLevel(), 255);
}

TEST(DevicePage, InitPageWithoutLayoutNameClearsEverySize) {
  auto page = MakePage(6, 10, {{"key_3", "light_7"}});
  page->SetLayoutName("");
  page->InitPage();
  EXPECT_EQ(page->GetKeyCount(), 0);
  EXPECT_EQ(page->GetLedCount(), 0);
  EXPECT_TRUE(page->KeyButtons().empty());
  EXPECT_TRUE(page->LedButtons().empty());
}

TEST(DevicePage, SetLedCountClearsAndResizesOnlyOnChange) {
  auto page = MakePage(0, 10, {{"a_0", "light_4"}});
  page->InitPage();
  page->SetLedColour(4, {1, 2, 3, 4});
  // Same count: the colours are cleared, the buttons stay.
  page->SetLedCount(10);
  EXPECT_EQ(page->GetLedColour(4), LedColour{});
  EXPECT_NE(page->LedButtons()[4], nullptr);
  // Another count resizes the lists.
  page->SetLedColour(4, {1, 2, 3, 4});
  page->SetLedCount(20);
  EXPECT_EQ(page->LedButtons().size(), 20u);
  EXPECT_EQ(page->LightState().LedCount(), 20);
  EXPECT_EQ(page->GetLedColour(4), LedColour{});
}

TEST(DevicePage, LedColourAccessIgnoresIndicesOutsideTheList) {
  auto page = MakePage(0, 6, {});
  const LedColour red{255, 0, 0, 200};
  for (int index : {-1, 6, 1000}) {
    page->SetLedColour(index, red);
    EXPECT_EQ(page->GetLedColour(index), LedColour{}) << index;
  }
  page->SetLedColour(5, red);
  EXPECT_EQ(page->GetLedColour(5), red);
}

TEST(DevicePage, PushLightFrameScalesByBrightnessAndSkipsLed126) {
  auto page = MakePage(0, 130, {{"b_1", "light_1"}});
  page->InitPage();
  for (int i = 0; i < 130; ++i) page->SetLedColour(i, {200, 100, 50, 128});
  page->PushLightFrame();  // not connected: the frame is built, the send fails
  const auto& frame = page->LastFrame();
  EXPECT_EQ(frame[0], 100);  // 200 x 128 / 256
  EXPECT_EQ(frame[1], 50);
  EXPECT_EQ(frame[2], 25);
  EXPECT_EQ(frame[375], 100);  // LED 125
  EXPECT_EQ(frame[378], 0);    // LED 126 stays dark
  EXPECT_EQ(frame[379], 0);
  EXPECT_EQ(frame[380], 0);
  EXPECT_EQ(frame[381], 100);  // LED 127
  // The visible button takes red | blue << 8 | green << 16 and the brightness.
  EXPECT_EQ(page->LedButtons()[1]->GetLightColor(), 200u | 50u << 8 | 100u << 16);
  EXPECT_EQ(page->LedButtons()[1]->GetLightLevel(), 128);

  // Host lighting off: nothing changes.
  page->SetHostLighting(false);
  page->SetLedColour(0, {0, 0, 0, 0});
  page->PushLightFrame();
  EXPECT_EQ(page->LastFrame()[0], 100);
}

// The path of a simulated device's collection.
std::string PathOf(const std::string& marker) {
  HidLink link;
  link.Enumerate();
  while (const char* p = link.NextPath())
    if (std::string(p).find(marker) != std::string::npos) return p;
  return {};
}

TEST(DevicePage, PushLightFrameStreamsLedCountTripletsUnlessTheLinkIsWireless) {
  devsim::Simulator simulator;
  struct Case {
    const char* model;
    bool longTimeout;
    std::size_t streamed;
  } cases[] = {{"mouse", false, 1}, {"receiver", true, 0}};
  for (const Case& c : cases) {
    auto* device = simulator.Plug(c.model);
    ASSERT_NE(device, nullptr);
    auto page = MakePage(0, 6, {});
    ASSERT_TRUE(
        page->CommandChannel().Connect(PathOf(std::string("&col04#") + c.model + "#"), c.longTimeout));
    page->SetLedColour(0, {255, 255, 255, 255});
    page->PushLightFrame();
    std::size_t frames = 0;
    for (const auto& frame : device->Log().CommandFrames()) {
      if (frame[3] != 18) continue;
      ++frames;
      EXPECT_EQ(frame[4], 18);  // six LEDs, three bytes each
      EXPECT_EQ(frame[8], 254);
    }
    EXPECT_EQ(frames, c.streamed) << c.model;
  }
}

struct TabCase {
  int deviceType;
  int kind;
  int functionPage;
  int keyPage;  // -1: left as it was (2 in these cases)
};

TEST(DevicePage, SelectFunctionTabFollowsItsTable) {
  const TabCase cases[] = {
      {2, 2, 0, 1},  {2, 6, 0, 1},  {2, 3, 1, -1}, {2, 8, 1, -1}, {2, 4, 3, -1},
      {1, 4, 3, -1}, {3, 4, 0, 2},  // mouse pad: kind 4 behaves as kind 7
      {7, 4, 0, 2},  {2, 5, 2, -1}, {2, 7, 0, 2},  {2, 1, 0, 0},  {2, 99, 0, 0},
  };
  for (const TabCase& c : cases) {
    auto page = std::make_unique<TestDevicePage>();
    auto* function = new CTabLayoutUI;
    function->SetName("device_function_switch");
    auto* keyFunction = new CTabLayoutUI;
    keyFunction->SetName("device_key_function_switch");
    for (int i = 0; i < 4; ++i) function->Add(new CControlUI);
    for (int i = 0; i < 3; ++i) keyFunction->Add(new CControlUI);
    page->Add(function);
    page->Add(keyFunction);
    CPaintManagerUI pm;
    page->SetManager(&pm, nullptr, false);
    DeviceCatalogueRow row;
    row.deviceType = static_cast<std::uint16_t>(c.deviceType);
    page->SetInterfaceRow(row);
    function->SelectItem(2, false);
    keyFunction->SelectItem(2, false);
    page->SelectFunctionTab(c.kind);
    EXPECT_EQ(page->GetFunctionTab(), c.kind);
    EXPECT_EQ(function->GetCurSel(), c.functionPage) << "type " << c.deviceType << " kind " << c.kind;
    EXPECT_EQ(keyFunction->GetCurSel(), c.keyPage < 0 ? 2 : c.keyPage)
        << "type " << c.deviceType << " kind " << c.kind;
    page->SetManager(nullptr, nullptr, false);
  }
}

TEST(DevicePage, LightSettingWordsFillTheThirtyOneBytesInOrder) {
  TestDevicePage page;
  page.SetLightSetting(0x04030201, 0x08070605, 0x0C0B0A09, 0x100F0E0D, 0x14131211, 0x18171615, 0x1C1B1A19,
                       0x1E1D, 0x1F);
  const LightSetting& s = page.MainLightSetting();
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&s);
  for (int i = 0; i < 31; ++i) EXPECT_EQ(bytes[i], i + 1) << i;
  page.SetLightSettingZone3(7, 0, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(page.LightSettingOfZone(2).selectItem, 7);
  EXPECT_EQ(page.LightSettingOfZone(1).selectItem, 0);
}

struct StepCase {
  bool forward;
  std::uint8_t limit, value, delta, expected;
};

TEST(DevicePage, PhaseAndIndexSteppingWrap) {
  const StepCase phases[] = {
      {true, 128, 0, 1, 1},  {true, 128, 127, 1, 0},  {true, 96, 94, 3, 0},
      {false, 128, 5, 1, 4}, {false, 128, 0, 1, 127}, {false, 96, 1, 3, 93},
  };
  for (const StepCase& c : phases)
    EXPECT_EQ(CZantroveUSBDevice::StepPhase(c.forward, c.limit, c.value, c.delta), c.expected)
        << int(c.value) << (c.forward ? " forward" : " back");
  const StepCase indices[] = {
      {true, 4, 2, 0, 3}, {true, 4, 3, 0, 0}, {false, 4, 0, 0, 3}, {false, 4, 2, 0, 1}, {false, 4, 9, 0, 3}};
  for (const StepCase& c : indices)
    EXPECT_EQ(CZantroveUSBDevice::StepIndex(c.forward, c.limit, c.value), c.expected) << int(c.value);
}

TEST(DevicePage, BaseOperationsAnswerHarmlessly) {
  TestDevicePage page;
  EXPECT_EQ(page.ApplyProfileLighting(), 0);
  EXPECT_EQ(page.LoadActiveProfile(), 0);
  EXPECT_EQ(page.WriteKeyTable(0, {}), 0);
  EXPECT_EQ(page.DownloadKeys(0), 0);
  EXPECT_EQ(page.DownloadMacros(0), 0);
  EXPECT_EQ(page.WriteProfileRecord(0), 0);
  EXPECT_EQ(page.DownloadLedColours(), 0);
  CDuiString path = "x";
  page.GetProfilePath(path);
  EXPECT_TRUE(path.IsEmpty());
  page.ReadPowerState();  // not connected: nothing read, nothing shown
  page.showKey(4);
  EXPECT_EQ(page.GetSelectedKey(), 4);
  page.SetModelNumber(3);
  EXPECT_EQ(page.GetModelNumber(), 3);
  page.SetKeyLedMap({{1, 2}});
  EXPECT_EQ(page.KeyLedMap().at(1), 2);
  EXPECT_STREQ(page.GetClass(), "ZantroveUSBDevice");
  EXPECT_EQ(page.GetInterface("ZantroveUSBDevice"), &page);
  EXPECT_NE(page.GetInterface("Container"), nullptr);
}

TEST(DevicePage, InterfaceRowGivesTypeAndRole) {
  TestDevicePage page;
  page.SetInterfaceRow(DeviceCatalogue::Row(1));
  EXPECT_EQ(page.GetDeviceType(), 1);
  EXPECT_EQ(page.GetRole(), 0xFF);
  EXPECT_TRUE(DeviceCatalogue::RowsEqual(page.GetInterfaceRow(), DeviceCatalogue::Row(1)));
}

TEST(DevicePage, HostLightingStartsOnlyOnAKeyboard) {
  devsim::Simulator simulator;
  auto* keyboard = simulator.Plug("keyboard");
  auto* mouse = simulator.Plug("mouse");
  ASSERT_NE(keyboard, nullptr);
  ASSERT_NE(mouse, nullptr);
  struct Case {
    devsim::SimulatedDevice* device;
    std::size_t row;
    int starts;
  } cases[] = {{keyboard, 0, 1}, {mouse, 2, 0}};
  for (const Case& c : cases) {
    TestDevicePage page;
    page.SetInterfaceRow(DeviceCatalogue::Row(c.row));
    HidLink link;
    ASSERT_TRUE(link.Enumerate());
    std::string path;
    while (const char* p = link.NextPath())
      if (std::string(p).find("&col04#" + c.device->Name() + "#") != std::string::npos) path = p;
    ASSERT_TRUE(page.CommandChannel().Connect(path, false));
    page.SetHostLighting(false);
    page.SetHostLighting(true);
    EXPECT_EQ(c.device->State().HostLightingStarts(), static_cast<unsigned>(c.starts)) << c.device->Name();
    EXPECT_TRUE(page.IsHostLighting());
  }
}

}  // namespace
}  // namespace ostrel::test
