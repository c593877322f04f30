// The device-list entry, the power indicator and the skin pieces they load.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "ControlsTestWindow.h"
#include "controls/CDeviceOptionUI.h"
#include "controls/CMpDevicePowerUI.h"
#include "platform/ui/CCheckBoxUI.h"
#include "platform/ui/CLabelUI.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CProgressUI.h"
#include "platform/ui/CTabLayoutUI.h"

namespace ostrel::test {
namespace {

// ---- CDeviceOptionUI ----------------------------------------------------

// Two entries built from the skin's entry layout, and the tab layout they switch.
constexpr const char* kDeviceStrip = R"(<Window size="400,300"><VerticalLayout>
    <HorizontalLayout name="device_select_layout" height="84">
      <Include source="XML\CustomControlXML\DeviceOption.xml"/>
      <Include source="XML\CustomControlXML\DeviceOption.xml"/>
    </HorizontalLayout>
    <TabLayout name="device_switch"><Control name="page_0"/><Control name="page_1"/></TabLayout>
  </VerticalLayout></Window>)";

class ControlsDeviceOption : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    ASSERT_NE(w.CreateShown(), nullptr);
    auto* strip = w.FindAs<CContainerUI>("device_select_layout");
    ASSERT_NE(strip, nullptr);
    ASSERT_EQ(strip->GetCount(), 2);
    for (int i = 0; i < 2; ++i) {
      entries[i] = static_cast<CDeviceOptionUI*>(strip->GetItemAt(i)->GetInterface("DeviceOption"));
      ASSERT_NE(entries[i], nullptr);
      ASSERT_NE(entries[i]->GetSelectOption(), nullptr);
      ASSERT_NE(entries[i]->GetSynchroCheck(), nullptr);
      ASSERT_NE(entries[i]->GetNameLabel(), nullptr);
    }
  }
  POINT CentreOf(CControlUI* c) {
    RECT r = c->GetPos();
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  ControlsTestWindow w{kDeviceStrip};
  CDeviceOptionUI* entries[2] = {};
};

TEST_F(ControlsDeviceOption, IconsFollowTheDeviceTypeAndRole) {
  CDeviceOptionUI* e = entries[0];
  EXPECT_EQ(e->GetNormalIcon(), "common/device_ico/unknow_device_normal.png") << "an entry starts unknown";
  struct Case {
    int type;
    int role;
    const char* base;  // null: the icons stay as they were
    const char* tip;
  };
  const Case cases[] = {
      {1, 0, "kb_device", "kb_device_name_text"},
      {1, 7, "kb_device", "kb_device_name_text"},
      {2, 0, "ms_device", "ms_device_name_text"},
      {3, 0, "hard_mp_device", "hard_mp_device_name_text"},
      {3, 1, "soft_mp_device", "soft_mp_device_name_text"},
      {3, 2, nullptr, nullptr},
      {4, 0, "hd_device", "hd_device_name_text"},
      {7, 3, "hd_device", "hd_device_name_text"},
      {5, 0, "hub_device", "hub_device_name_text"},
      {6, 0, "unknow_device", "unknow_device_name_text"},
      {0, 0, "unknow_device", "unknow_device_name_text"},
  };
  std::string lastBase = "unknow_device";
  std::string lastTip = "unknow_device_name_text";
  for (const Case& c : cases) {
    e->SetDeviceType(c.type, c.role);
    if (c.base) {
      lastBase = c.base;
      lastTip = c.tip;
    }
    std::string prefix = "common/device_ico/" + lastBase;
    EXPECT_EQ(e->GetNormalIcon(), prefix + "_normal.png") << c.type << "/" << c.role;
    EXPECT_EQ(e->GetSelectedIcon(), prefix + "_selected.png") << c.type << "/" << c.role;
    EXPECT_EQ(e->GetSynchroNormalIcon(), prefix + "_synchro_normal.png") << c.type << "/" << c.role;
    EXPECT_EQ(e->GetSynchroSelectedIcon(), prefix + "_synchro_selected.png") << c.type << "/" << c.role;
    EXPECT_EQ(e->GetSelectOption()->GetNormalImage(), prefix + "_normal.png") << c.type << "/" << c.role;
    EXPECT_EQ(e->GetSelectOption()->GetSelectedImage(), prefix + "_selected.png") << c.type << "/" << c.role;
    EXPECT_EQ(e->GetSelectOption()->GetToolTip(), lastTip) << c.type << "/" << c.role;
  }
}

TEST_F(ControlsDeviceOption, TheSynchroCheckBoxSwitchesToTheSynchroPair) {
  CDeviceOptionUI* e = entries[0];
  e->SetDeviceType(2, 0);
  COptionUI* option = e->GetSelectOption();
  Click(w, CentreOf(e->GetSynchroCheck()).x, CentreOf(e->GetSynchroCheck()).y);
  ASSERT_TRUE(e->IsSynchroSelected());
  EXPECT_EQ(option->GetNormalImage(), "common/device_ico/ms_device_synchro_normal.png");
  EXPECT_EQ(option->GetSelectedImage(), "common/device_ico/ms_device_synchro_selected.png");
  e->SetDeviceType(1, 0);
  EXPECT_EQ(option->GetNormalImage(), "common/device_ico/kb_device_synchro_normal.png");
  Click(w, CentreOf(e->GetSynchroCheck()).x, CentreOf(e->GetSynchroCheck()).y);
  EXPECT_FALSE(e->IsSynchroSelected());
  EXPECT_EQ(option->GetNormalImage(), "common/device_ico/kb_device_normal.png");
  e->SetSynchroSelected(true);
  EXPECT_EQ(option->GetSelectedImage(), "common/device_ico/kb_device_synchro_selected.png");
  e->SetSynchroVisible(false);
  EXPECT_FALSE(e->GetSynchroCheck()->IsVisible());
}

TEST_F(ControlsDeviceOption, TheOptionShowsItsPageAndTheEntriesSelectExclusively) {
  for (int i = 0; i < 2; ++i) {
    entries[i]->SetTabBinding("device_switch", i, "tab_header_device");
    entries[i]->SetDeviceName(i == 0 ? "mouse" : "keyboard");
    entries[i]->SetPowerIndex("device_power_switch", i);
  }
  EXPECT_EQ(entries[1]->GetNameLabel()->GetText(), "keyboard");
  EXPECT_EQ(entries[1]->GetBindTabLayoutName(), "device_switch");
  EXPECT_EQ(entries[1]->GetBindTabIndex(), 1);
  EXPECT_EQ(entries[1]->GetPowerIndex(), 1);
  auto* tabs = w.FindAs<CTabLayoutUI>("device_switch");
  POINT p = CentreOf(entries[1]->GetSelectOption());
  Click(w, p.x, p.y);
  EXPECT_EQ(tabs->GetCurSel(), 1);
  EXPECT_TRUE(entries[1]->IsDeviceSelected());
  p = CentreOf(entries[0]->GetSelectOption());
  Click(w, p.x, p.y);
  EXPECT_EQ(tabs->GetCurSel(), 0);
  EXPECT_TRUE(entries[0]->IsDeviceSelected());
  EXPECT_FALSE(entries[1]->IsDeviceSelected());
  w.GetPaintManager()->RenderToImage();
  EXPECT_EQ(entries[0]->GetNameLabel()->GetTextColor(), CDeviceOptionUI::kSelectedNameColor);
  EXPECT_EQ(entries[1]->GetNameLabel()->GetTextColor(), CDeviceOptionUI::kNameColor) << "unselected quietly";
  EXPECT_GE(w.Count("selectchanged", "device_select"), 2);
}

TEST_F(ControlsDeviceOption, ActivatingRaisesSelectchangedAndTimersReachThePage) {
  entries[0]->SetName("entry_0");
  entries[0]->Activate();
  EXPECT_EQ(w.Count("selectchanged", "entry_0"), 1);

  std::vector<UINT> fired;
  entries[0]->SetTimerHandler([&](UINT id) { fired.push_back(id); });
  w.GetPaintManager()->SetTimer(entries[0], 1001, 500);
  w.GetPaintManager()->SetTimer(entries[0], 1005, 5000);
  Advance(5000);
  EXPECT_EQ(fired, (std::vector<UINT>{1001, 1005})) << "each timer fires once: the page re-arms it";
  EXPECT_FALSE(w.GetPaintManager()->HasTimer(entries[0], 1001));

  entries[0]->SetConnected(true);
  EXPECT_TRUE(entries[0]->IsConnected());
  EXPECT_TRUE(entries[0]->IsVisible());
  entries[0]->SetConnected(false);
  EXPECT_FALSE(entries[0]->IsVisible());
}

// ---- CMpDevicePowerUI ---------------------------------------------------

class ControlsMpDevicePower : public ControlsTest {
 protected:
  void Open(int type) {
    w = std::make_unique<ControlsTestWindow>(
        R"(<Window size="300,40"><HorizontalLayout name="device_power_switch">
        <Include source="XML\CustomControlXML\MpDevicePower.xml"/></HorizontalLayout></Window>)");
    ASSERT_NE(w->CreateShown(), nullptr);
    auto* holder = w->FindAs<CContainerUI>("device_power_switch");
    ASSERT_EQ(holder->GetCount(), 1);
    power = static_cast<CMpDevicePowerUI*>(holder->GetItemAt(0)->GetInterface("MpDevicePower"));
    ASSERT_NE(power, nullptr);
    power->SetDeviceType(type, 0);
  }
  bool Update(std::vector<std::uint8_t> record, bool polling = true) {
    return power->UpdatePowerStatus(record, polling);
  }
  CControlUI* C(const char* name) { return w->Find(name); }
  CProgressUI* Bar() { return static_cast<CProgressUI*>(C("device_Power_progress")); }
  std::unique_ptr<ControlsTestWindow> w;
  CMpDevicePowerUI* power = nullptr;
};

TEST_F(ControlsMpDevicePower, SeventyFivePercentShowsItsTextAndABarOf25) {
  Open(2);
  EXPECT_FALSE(C("device_power_Layout")->IsVisible()) << "hidden until a record arrives";
  ASSERT_TRUE(Update({75, 0, 0, 0, 0, 0}));
  EXPECT_EQ(C("device_power_value")->GetText(), "75%");
  EXPECT_EQ(Bar()->GetValue(), 25);
  EXPECT_TRUE(Bar()->IsVisible());
  EXPECT_EQ(C("device_power_status")->GetBkImage(), "file='power/powered.png'");
  EXPECT_TRUE(C("device_power_Layout")->IsVisible());
}

TEST_F(ControlsMpDevicePower, SupplyStateAndLinkChooseIconBarAndWirelessMark) {
  struct Case {
    const char* what;
    int type;
    std::uint8_t supply;
    std::uint8_t wireless;
    bool barVisible;
    const char* icon;
    bool markVisible;
  };
  const Case cases[] = {
      {"mouse on battery", 2, 0, 0, true, "file='power/powered.png'", false},
      {"mouse charging by cable", 2, 1, 0, true, "file='power/powering.png'", false},
      {"wireless mouse charging", 2, 1, 1, false, "file='power/wuxian_powering.png'", true},
      {"wireless mouse plain power", 2, 2, 1, true, "file='power/power.png'", true},
      {"keyboard never shows the mark", 1, 0, 1, true, "file='power/powered.png'", false},
  };
  for (const Case& c : cases) {
    Open(c.type);
    Update({50, c.supply, 0, c.wireless, 0, 0});
    EXPECT_EQ(Bar()->IsVisible(), c.barVisible) << c.what;
    EXPECT_EQ(C("device_power_status")->GetBkImage(), c.icon) << c.what;
    EXPECT_EQ(C("device_wuxian_logo")->IsVisible(), c.markVisible) << c.what;
  }
}

TEST_F(ControlsMpDevicePower, AnUnknownSupplyStateLeavesBarAndIconAsTheyWere) {
  Open(2);
  Update({40, 1, 0, 1, 0, 0});
  Update({30, 9, 0, 1, 0, 0});
  EXPECT_EQ(C("device_power_value")->GetText(), "30%");
  EXPECT_FALSE(Bar()->IsVisible());
  EXPECT_EQ(C("device_power_status")->GetBkImage(), "file='power/wuxian_powering.png'");
}

TEST_F(ControlsMpDevicePower, AChargingPadShowsThePhoneOnIt) {
  struct Case {
    std::uint8_t code;
    const char* text;
  };
  const Case cases[] = {{1, "Phone_type_iphone"},    {2, "Phone_type_samsung"},
                        {3, "Phone_type_other"},     {0, "Phone_type_no_device"},
                        {4, "Phone_type_no_device"}, {255, "Phone_type_no_device"}};
  Open(3);
  for (const Case& c : cases) {
    Update({100, 1, 0, 0, 0, c.code});
    EXPECT_TRUE(C("device_phone_type")->IsVisible()) << int(c.code);
    EXPECT_EQ(C("device_phone_type")->GetToolTip(), c.text) << int(c.code);
    EXPECT_EQ(C("device_phone_type")->GetBkImage(), std::string("file='power/") + c.text + ".png'")
        << int(c.code);
  }
  Open(2);
  Update({100, 1, 0, 0, 0, 1});
  EXPECT_EQ(C("device_phone_type")->GetToolTip(), "Phone_type_no_device")
      << "only a mouse pad reports phones";
}

TEST_F(ControlsMpDevicePower, BadRecordsAndPollingOff) {
  Open(2);
  Update({60, 0, 0, 0, 0, 0});
  EXPECT_FALSE(Update({10, 0, 0}));
  EXPECT_EQ(C("device_power_value")->GetText(), "60%") << "a short record changes nothing";
  Update({250, 0, 0, 0, 0, 0});
  EXPECT_EQ(C("device_power_value")->GetText(), "100%");
  EXPECT_EQ(Bar()->GetValue(), 0);
  Update({20, 0, 0, 0, 0, 0}, false);
  EXPECT_FALSE(C("device_power_Layout")->IsVisible());
}

TEST_F(ControlsMpDevicePower, ActivatingRaisesSelectchanged) {
  Open(2);
  power->SetName("power_0");
  power->Activate();
  EXPECT_EQ(w->Count("selectchanged", "power_0"), 1);
}

// ---- Skin ---------------------------------------------------------------

TEST(ControlsSkin, EveryDeviceIconAndEveryPowerImageIsRendered) {
  std::vector<std::string> files;
  for (const char* base : {"kb_device", "ms_device", "hard_mp_device", "soft_mp_device", "hd_device",
                           "hub_device", "unknow_device"})
    for (const char* state : {"_normal", "_selected", "_synchro_normal", "_synchro_selected"})
      files.push_back(std::string("common/device_ico/") + base + state + ".png");
  for (const char* name : {"powered", "powering", "wuxian_powering", "power", "Phone_type_iphone",
                           "Phone_type_samsung", "Phone_type_other", "Phone_type_no_device"})
    files.push_back(std::string("power/") + name + ".png");
  for (const char* name :
       {"common/power/battery_frame.png", "common/power/wireless.png", "common/synchro_normal.png",
        "common/synchro_selected.png", "common/delete_normal.png", "common/delete_hot.png",
        "common/record/record_blink.png", "common/key/key_light.png"})
    files.push_back(name);
  for (const std::string& f : files) {
    std::filesystem::path png = std::string(OSTREL_CONTROLS_APP_DIR) + "/skin/" + f;
    EXPECT_TRUE(std::filesystem::exists(png)) << png;
    std::filesystem::path svg = std::string(OSTREL_CONTROLS_SOURCE_DIR) + "/skin/" + f;
    svg.replace_extension(".svg");
    EXPECT_TRUE(std::filesystem::exists(svg)) << svg;
  }
}

}  // namespace
}  // namespace ostrel::test
