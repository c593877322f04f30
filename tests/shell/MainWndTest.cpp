// The main window on the headless backend with the program's own skin.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/os/DebugLog.h"
#include "platform/ui/CContainerUI.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMenuWnd.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CTabLayoutUI.h"
#include "platform/ui/MenuCmd.h"
#include "platform/ui/WindowApi.h"
#include "shell/CMainWnd.h"
#include "shell/RegisteredMessages.h"
#include "shell/SkinObserver.h"
#include "support/WindowStage.h"

namespace ostrel {
namespace {

class MainWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    SetDebugSink([this](std::string_view line) { lines.emplace_back(line); });
    const char* source = std::getenv("OSTREL_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    ASSERT_TRUE(stage.Begin(std::string(source) + "/skin", true));
    headless = &stage.Headless();
  }

  void TearDown() override {
    stage.End(window ? window->GetHWND() : nullptr);
    window.reset();
    SetDebugSink({});
  }

  // Creates the window as the entry point does and lets "windowinit" and the
  // fitting timer run.
  void Start(RECT monitor = {0, 0, 1920, 1080}) {
    headless->SetMonitorRect(monitor);
    window = std::make_unique<CMainWnd>();
    ASSERT_NE(window->Create(nullptr, "Kestrane", 0x96CA0000, 0, 0, 0, 800, 572), nullptr);
    window->CenterWindow();
    Pump();
    CMessageLoop::Instance().AdvanceClock(150);
    Pump();
  }

  void Pump() { CMessageLoop::Instance().PumpPending(); }
  SIZE WindowSize() {
    RECT r{};
    GetWindowRect(window->GetHWND(), &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
  }
  CControlUI* Find(const char* name) { return window->GetPaintManager()->FindControl(name); }
  bool Logged(const std::string& text) {
    for (const auto& l : lines)
      if (l.find(text) != std::string::npos) return true;
    return false;
  }

  test::WindowStage stage;
  CHeadlessBackend* headless = nullptr;
  std::unique_ptr<CMainWnd> window;
  std::vector<std::string> lines;
};

TEST_F(MainWndTest, StartsWithTheTitleBarAndTheNoDevicePanel) {
  Start();
  EXPECT_TRUE(Logged("InitWindow"));
  EXPECT_TRUE(IsWindowVisible(window->GetHWND()));
  EXPECT_EQ(CMainWnd::MainWindowHandle(), window->GetHWND());
  for (const char* name : {"closebtn", "maxbtn", "restorebtn", "minbtn", "skinbtn", "gamemodebtn", "cloudbtn",
                           "smarteyesbtn", "setbtn", "device_select_layout", "device_select_prev",
                           "device_select_next", "control_light_status", "device_switch"})
    EXPECT_NE(Find(name), nullptr) << name;
  ASSERT_NE(Find("No_device_Link"), nullptr);
  EXPECT_TRUE(Find("No_device_Link")->IsVisible());
}

struct FitCase {
  const char* what;
  RECT monitor;
  int dpi;
  SIZE size;
};

TEST_F(MainWndTest, FitsTheWindowToItsMonitor) {
  const FitCase cases[] = {
      {"large screen", {0, 0, 1920, 1080}, 144, {1500, 960}},
      {"small screen", {0, 0, 1366, 768}, 96, {1000, 640}},
      {"exactly 1500 x 960 is not larger", {0, 0, 1500, 960}, 96, {1000, 640}},
      {"wide but low", {0, 0, 2560, 900}, 96, {1000, 640}},
  };
  for (const FitCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CMainWnd::DpiForMonitor(c.monitor), c.dpi);
    Start(c.monitor);
    EXPECT_EQ(window->CurrentDpi(), c.dpi);
    SIZE size = WindowSize();
    EXPECT_EQ(size.cx, c.size.cx);
    EXPECT_EQ(size.cy, c.size.cy);
    DestroyWindow(window->GetHWND());
    window.reset();
  }
}

TEST_F(MainWndTest, DisplayChangeRefitsToTheNewMonitor) {
  Start({0, 0, 1366, 768});
  ASSERT_EQ(WindowSize().cx, 1000);
  headless->SetMonitorRect({0, 0, 2560, 1440});
  SendMessage(window->GetHWND(), WM_DISPLAYCHANGE, 32, 0);
  Pump();
  EXPECT_EQ(WindowSize().cx, 1500);
  EXPECT_EQ(WindowSize().cy, 960);
}

TEST_F(MainWndTest, DpiChangeTakesTheSuggestedRectangle) {
  Start({0, 0, 1366, 768});
  RECT suggested{100, 50, 1600, 1010};
  SendMessage(window->GetHWND(), WM_DPICHANGED, MAKELPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(window->CurrentDpi(), 144);
  EXPECT_EQ(window->GetPaintManager()->GetDPIObj()->GetDPI(), 144);
  EXPECT_EQ(WindowSize().cx, 1500);
  EXPECT_EQ(WindowSize().cy, 960);
}

TEST_F(MainWndTest, InstanceMessageBringsAHiddenWindowBack) {
  Start();
  ShowWindow(window->GetHWND(), SW_HIDE);
  PostMessage(window->GetHWND(), RegisteredMessages::InstanceMessage(), 0, 1);
  Pump();
  EXPECT_TRUE(IsWindowVisible(window->GetHWND()));
  EXPECT_EQ(headless->ForegroundWindow(), window->GetHWND());
  EXPECT_TRUE(Logged("软件标示 "));
}

TEST_F(MainWndTest, LightControlRequestOnlyWithWParamOne) {
  Start();
  HWND h = window->GetHWND();
  UINT request = RegisteredMessages::LightControlRequestMessage();
  SendMessage(h, request, 2, 0);
  EXPECT_TRUE(window->IsLightControlled());
  SendMessage(h, request, 1, 0);
  EXPECT_FALSE(window->IsLightControlled());
  EXPECT_EQ(Find("control_light_status")->GetRawText().str(), "不控制灯光");
  SendMessage(h, request, 1, 1);
  EXPECT_TRUE(window->IsLightControlled());
  EXPECT_EQ(Find("control_light_status")->GetRawText().str(), "控制灯光");
}

TEST_F(MainWndTest, LightStatusButtonToggles) {
  Start();
  CControlUI* status = Find("control_light_status");
  ASSERT_NE(status, nullptr);
  window->GetPaintManager()->SendNotify(status, "click");
  EXPECT_FALSE(window->IsLightControlled());
  EXPECT_EQ(status->GetRawText().str(), "控制灯光");
  window->GetPaintManager()->SendNotify(status, "click");
  EXPECT_TRUE(window->IsLightControlled());
  EXPECT_EQ(status->GetRawText().str(), "不控制灯光");
}

TEST_F(MainWndTest, NothingButPowerIsHandledWhileSuspended) {
  Start({0, 0, 1366, 768});
  HWND h = window->GetHWND();
  SendMessage(h, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  EXPECT_FALSE(CMainWnd::IsRunning());
  headless->SetMonitorRect({0, 0, 2560, 1440});
  SendMessage(h, WM_DISPLAYCHANGE, 32, 0);
  EXPECT_EQ(WindowSize().cx, 1000);
  SendMessage(h, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
  EXPECT_TRUE(CMainWnd::IsRunning());
  SendMessage(h, WM_DISPLAYCHANGE, 32, 0);
  EXPECT_EQ(WindowSize().cx, 1500);
}

TEST_F(MainWndTest, CloseButtonWithoutTrayClosesTheWindow) {
  // Without a tray icon a hidden window could only come back by a second
  // start, so the close button ends the program instead.
  Start();
  ASSERT_FALSE(window->IsTrayIconShown());
  window->GetPaintManager()->SendNotify(Find("closebtn"), "click");
  Pump();
  EXPECT_FALSE(IsWindow(window->GetHWND()));
  EXPECT_TRUE(Logged("退出测试"));
  EXPECT_TRUE(CMessageLoop::Instance().QuitPosted());
}

TEST_F(MainWndTest, NoDeviceOkHidesTheWindow) {
  Start();
  window->GetPaintManager()->SendNotify(Find("nodevice_ok_btn"), "click");
  Pump();
  EXPECT_TRUE(IsWindow(window->GetHWND()));
  EXPECT_FALSE(IsWindowVisible(window->GetHWND()));
}

TEST_F(MainWndTest, ProfileComboStartsItsOneShotTimer) {
  Start();
  CControlUI* combo = Find("control_light_status");  // any control named like the combo will do
  combo->SetName("device_profile_combo");
  window->GetPaintManager()->SendNotify(combo, "itemselect", 1, 0);
  EXPECT_TRUE(CMessageLoop::Instance().HasTimer(window->GetHWND(), CMainWnd::kProfileSwitchTimer));
  CMessageLoop::Instance().AdvanceClock(450);
  EXPECT_FALSE(CMessageLoop::Instance().HasTimer(window->GetHWND(), CMainWnd::kProfileSwitchTimer));
}

// Device-list entries as the device pages add them: an entry per model in
// "device_select_layout", shown while its device is connected, with the
// option "device_select" bound to the page's place in "device_switch".
class MainWndDeviceListTest : public MainWndTest {
 protected:
  // After the entries and pages the skin's page layouts gave the window
  // (hidden: no device is connected).
  void AddEntries(int count) {
    auto* layout = static_cast<CContainerUI*>(Find("device_select_layout"));
    ASSERT_NE(layout, nullptr);
    first = layout->GetCount();
    tabFirst = static_cast<CContainerUI*>(Find("device_switch"))->GetCount();
    for (int i = 0; i < count; ++i) {
      std::string xml = "<HorizontalLayout name=\"entry_" + std::to_string(i) +
                        "\" width=\"80\" visible=\"false\"><Option name=\"device_select\" group=\"devices\" "
                        "bindtablayoutname=\"device_switch\" bindtabindex=\"" +
                        std::to_string(Tab(i)) + "\"/></HorizontalLayout>";
      CDialogBuilder builder;
      ASSERT_NE(builder.Create(xml.c_str(), nullptr, nullptr, window->GetPaintManager(), layout), nullptr);
      auto* tab = static_cast<CContainerUI*>(Find("device_switch"));
      tab->Add(new CContainerUI);
    }
  }
  CControlUI* Entry(int i) { return Find(("entry_" + std::to_string(i)).c_str()); }
  COptionUI* Option(int i) {
    return static_cast<COptionUI*>(
        window->GetPaintManager()->FindSubControlByName(Entry(i), "device_select"));
  }
  void Connect(int i) { Entry(i)->SetVisible(true); }
  int Shown() { return static_cast<CTabLayoutUI*>(Find("device_switch"))->GetCurSel(); }
  // The window's entry index and the page index of the test's entry i.
  int At(int i) const { return first + i; }
  int Tab(int i) const { return tabFirst + i; }
  int first = 0;
  int tabFirst = 2;
  void Click(const char* name) {
    CControlUI* c = Find(name);
    ASSERT_NE(c, nullptr) << name;
    window->GetPaintManager()->SendNotify(c, "click");
  }
};

TEST_F(MainWndDeviceListTest, PreviousAndNextWalkTheConnectedEntries) {
  Start();
  AddEntries(4);
  Connect(0);
  Connect(2);
  Connect(3);
  window->SelectDevice(At(2), true);
  EXPECT_FALSE(Find("No_device_Link")->IsVisible());
  EXPECT_EQ(Shown(), Tab(2));
  Click("device_select_next");
  EXPECT_TRUE(Option(3)->IsSelected());
  EXPECT_EQ(Shown(), Tab(3));
  Click("device_select_next");  // the last stays
  EXPECT_TRUE(Option(3)->IsSelected());
  Click("device_select_prev");
  EXPECT_TRUE(Option(2)->IsSelected());
  Click("device_select_prev");  // entry 1 is not connected: skipped
  EXPECT_TRUE(Option(0)->IsSelected());
  EXPECT_EQ(Shown(), Tab(0));
  Click("device_select_prev");  // the first stays
  EXPECT_TRUE(Option(0)->IsSelected());
}

TEST_F(MainWndDeviceListTest, HidingTheShownEntrySelectsAnotherOrTheNoDevicePanel) {
  Start();
  AddEntries(2);
  Connect(0);
  Connect(1);
  window->SelectDevice(At(1), true);
  window->HideDeviceEntry(At(1));
  EXPECT_TRUE(Option(0)->IsSelected());
  EXPECT_EQ(Shown(), Tab(0));
  EXPECT_FALSE(Find("No_device_Link")->IsVisible());
  window->HideDeviceEntry(At(0));
  EXPECT_TRUE(Find("No_device_Link")->IsVisible());
  EXPECT_EQ(Shown(), 1);
}

TEST_F(MainWndDeviceListTest, WithoutDevicesTheDeviceButtonsDoNothing) {
  Start();
  AddEntries(2);
  Click("device_select_next");
  Click("device_select_prev");
  EXPECT_FALSE(Option(0)->IsSelected());
  EXPECT_FALSE(Option(1)->IsSelected());
  EXPECT_TRUE(Find("No_device_Link")->IsVisible());
}

TEST_F(MainWndTest, TrayClickHidesAShownWindowAndBringsAHiddenOneBackFitted) {
  Start({0, 0, 1366, 768});
  HWND h = window->GetHWND();
  PostMessage(h, CMainWnd::kTrayMessage, 0, WM_LBUTTONUP);
  Pump();
  EXPECT_FALSE(IsWindowVisible(h));
  // Meanwhile the window moved to a larger screen.
  headless->SetMonitorRect({0, 0, 2560, 1440});
  PostMessage(h, CMainWnd::kTrayMessage, 0, WM_LBUTTONUP);
  Pump();
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_EQ(WindowSize().cx, 1500);
  EXPECT_EQ(headless->ForegroundWindow(), h);
  // A minimised window counts as hidden: the click restores it.
  ShowWindow(h, SW_MINIMIZE);
  PostMessage(h, CMainWnd::kTrayMessage, 0, WM_LBUTTONUP);
  Pump();
  EXPECT_TRUE(IsWindowVisible(h));
  EXPECT_FALSE(IsIconic(h));
}

TEST_F(MainWndTest, TrayRightClickOpensTheMenuAfterItsTimer) {
  Start();
  HWND h = window->GetHWND();
  PostMessage(h, CMainWnd::kTrayMessage, 0, WM_RBUTTONUP);
  Pump();
  EXPECT_TRUE(CMessageLoop::Instance().HasTimer(h, CMainWnd::kTrayMenuTimer));
  EXPECT_EQ(CMenuWnd::GetOpenMenu(), nullptr);
  CMessageLoop::Instance().AdvanceClock(20);
  EXPECT_FALSE(CMessageLoop::Instance().HasTimer(h, CMainWnd::kTrayMenuTimer));
  CMenuWnd* menu = CMenuWnd::GetOpenMenu();
  ASSERT_NE(menu, nullptr);
  for (const char* item : {"setwnd_menu", "about_menu", "exit"})
    EXPECT_NE(menu->GetPaintManager()->FindControl(item), nullptr) << item;
  CMenuWnd::DestroyMenu();
}

TEST_F(MainWndTest, MenuExitEndsTheProgramAndOtherCommandsDoNot) {
  Start();
  HWND h = window->GetHWND();
  PostMessage(h, WM_MENUCLICK, reinterpret_cast<WPARAM>(NewMenuCmd("setwnd_menu", "", "", false)), 0);
  PostMessage(h, WM_MENUCLICK, reinterpret_cast<WPARAM>(NewMenuCmd("redio_later_ignore_time", "", "", false)),
              0);
  Pump();
  EXPECT_TRUE(IsWindow(h));
  PostMessage(h, WM_MENUCLICK, reinterpret_cast<WPARAM>(NewMenuCmd("exit", "", "", false)), 0);
  Pump();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_TRUE(CMessageLoop::Instance().QuitPosted());
}

TEST_F(MainWndTest, ElementNamesCreateTheProgramsClassesOrNothing) {
  Start();
  std::unique_ptr<CControlUI> ring(window->CreateControl("circleprogress"));
  ASSERT_NE(ring, nullptr);
  EXPECT_NE(ring->GetInterface("CircleProgress"), nullptr);
  // A panel whose layout file is missing, and a name nobody knows.
  EXPECT_EQ(window->CreateControl("VirtualSetControlUI"), nullptr);
  EXPECT_EQ(window->CreateControl("Button"), nullptr);
  EXPECT_EQ(window->CreateControl(nullptr), nullptr);
}

TEST_F(MainWndTest, SkinChangesReachTheRootUntilTheWindowGoes) {
  Start();
  SkinChangedParam colour;
  colour.bColor = true;
  colour.bkcolor = 0xFF224466;
  SkinObserver::Instance().Publish(colour);
  EXPECT_EQ(Find("root")->GetBkColor(), 0xFF224466u);
  EXPECT_TRUE(Find("root")->GetBkImage().IsEmpty());
  SkinChangedParam picture;
  picture.bgimage = "skins/skin_1.png";
  SkinObserver::Instance().Publish(picture);
  EXPECT_EQ(Find("root")->GetBkImage().str(), "skins/skin_1.png");
  // A window that is gone no longer hears about changes.
  DestroyWindow(window->GetHWND());
  window.reset();
  SkinObserver::Instance().Publish(colour);
}

TEST(MainWndDeviceTable, BlockCarriesTheHeaderAndTheModelRows) {
  auto block = CMainWnd::BuildDeviceTable();
  auto u32 = [&](std::size_t i) {
    return static_cast<std::uint32_t>(block[i * 4]) | static_cast<std::uint32_t>(block[i * 4 + 1]) << 8 |
           static_cast<std::uint32_t>(block[i * 4 + 2]) << 16 |
           static_cast<std::uint32_t>(block[i * 4 + 3]) << 24;
  };
  const std::uint32_t expected[] = {2, 3, 0, 2, 4, 0x320F, 0x1000, 2, 0x320F, 0x511E, 1, 0, 0, 3, 0, 0, 7};
  for (std::size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(u32(i), expected[i]) << "value " << i;
  for (std::size_t i = std::size(expected); i < 256; ++i) ASSERT_EQ(u32(i), 0u) << "value " << i;
}

}  // namespace
}  // namespace ostrel
