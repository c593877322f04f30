// The main window with the device pages and a simulated mouse: plugging it
// in shows its entry and hides "No_device_Link"; unplugging brings the panel
// back. Layouts the skin lacks are the smallest the page host accepts.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "controls/CDeviceOptionUI.h"
#include "devices/CZantroveUSBDevice.h"
#include "devsim/Simulator.h"
#include "platform/os/DebugLog.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/WindowApi.h"
#include "shell/CMainWnd.h"
#include "support/MessagePump.h"
#include "support/TestEnvironment.h"
#include "support/WindowStage.h"

namespace fs = std::filesystem;

namespace ostrel {
namespace {

using namespace std::chrono_literals;

// Only what the skin does not carry yet.
void Write(const fs::path& path, const char* text) {
  if (fs::exists(path)) return;
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

class MainWndDevicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    const char* source = std::getenv("OSTREL_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    skin = test::TestRoot() / "skin";
    fs::copy(fs::path(source) / "skin", skin, fs::copy_options::recursive);
    Write(skin / "XML/CustomControlXML/MpDevicePower.xml", "<Window><MpDevicePower/></Window>");
    Write(skin / "XML/CustomControlXML/DeviceOption.xml",
          "<Window><DeviceOption width=\"120\"><Option name=\"device_select\" width=\"80\"/>"
          "<CheckBox name=\"synchro_device_select\" width=\"20\"/><Label name=\"device_select_name\"/>"
          "</DeviceOption></Window>");
    for (const char* page : {"mousedevice", "keyboarddevice", "mousepaddevice", "hs6533device"})
      Write(skin / "XML/DeviceXml" / (std::string(page) + ".xml"),
            "<Window><CZantroveUSBDevice><DeviceProfile/></CZantroveUSBDevice></Window>");

    ASSERT_TRUE(stage.Begin(skin.string(), false));
  }
  void TearDown() override {
    stage.End(window ? window->GetHWND() : nullptr);
    window.reset();
  }

  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 5s) {
    return test::PumpMessagesUntil(done, limit, 5ms);
  }
  CControlUI* Find(const char* name) { return window->GetPaintManager()->FindControl(name); }
  int VisibleEntries() {
    int n = 0;
    for (const auto& e : window->Devices().Entries())
      if (e.entry && e.entry->IsVisible()) ++n;
    return n;
  }

  fs::path skin;
  test::WindowStage stage;
  std::unique_ptr<CMainWnd> window;
};

TEST_F(MainWndDevicesTest, APluggedMouseShowsItsEntryAndUnpluggingBringsTheNoDevicePanelBack) {
  devsim::Simulator simulator;
  window = std::make_unique<CMainWnd>();
  ASSERT_NE(window->Create(nullptr, "Kestrane", 0x96CA0000, 0, 0, 0, 800, 572), nullptr);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(window->GetHWND()); }));
  ASSERT_EQ(window->Devices().Entries().size(), 4u);
  EXPECT_EQ(VisibleEntries(), 0);
  EXPECT_TRUE(Find("No_device_Link")->IsVisible());
  EXPECT_EQ(window->CurrentPage(), nullptr);

  ASSERT_NE(simulator.Plug("mouse"), nullptr);
  EXPECT_TRUE(PumpUntil([&] { return VisibleEntries() == 1; }));
  EXPECT_FALSE(Find("No_device_Link")->IsVisible());
  ASSERT_NE(window->CurrentPage(), nullptr);
  EXPECT_EQ(window->CurrentPage()->GetDeviceType(), 2);
  // The page's profile panel is the one the profile buttons reach.
  EXPECT_NE(window->CurrentProfilePanel(), nullptr);
  EXPECT_TRUE(IsWindowVisible(window->GetHWND()));

  ASSERT_TRUE(simulator.Unplug("mouse").ok);
  EXPECT_TRUE(PumpUntil([&] { return VisibleEntries() == 0; }));
  EXPECT_TRUE(Find("No_device_Link")->IsVisible());
  EXPECT_EQ(window->CurrentPage(), nullptr);
  EXPECT_EQ(window->CurrentProfilePanel(), nullptr);
}

}  // namespace
}  // namespace ostrel
