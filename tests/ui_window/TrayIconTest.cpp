// The tray icon against a stand-in tray host on a private session bus:
// clicks arrive at the window as the callback message, the icon is the
// skin image, and without a bus there is simply no icon.

#include <cairo.h>
#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "support/FakeTrayWatcher.h"
#include "RecordingWindow.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/CTrayIcon.h"
#include "platform/ui/WindowApi.h"
#include "support/PrivateSessionBus.h"
#include "support/TestEnvironment.h"

namespace ostrel::test {
namespace {

constexpr const char* kLayout = R"(<Window size="100,100"><Control/></Window>)";

class TrayIcon : public ::testing::Test {
 protected:
  void SetUp() override {
    CMessageLoop& loop = CMessageLoop::Instance();
    loop.AttachCurrentThread();
    loop.Reset();
    loop.SetBackend(std::make_unique<CHeadlessBackend>());
    loop.UseVirtualClock(false);
    CResourceManager::GetInstance()->Release();
    CPaintManagerUI::RemoveAllImages();
    ASSERT_NE(window.Open(nullptr, 0, 0), nullptr);
  }
  void TearDown() override { CMessageLoop::Instance().Reset(); }
  bool WaitForMessages(UINT message, int count) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
      CMessageLoop::Instance().PumpPending();
      if (window.CountMessages(message) >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }
  MSG Last(UINT message) const {
    MSG out{};
    for (const MSG& m : window.messages)
      if (m.message == message) out = m;
    return out;
  }
  // A 2x1 skin image: opaque red, half-transparent green; index id "107".
  void WriteSkin() {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 2, 1);
    cairo_t* cr = cairo_create(s);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, 1, 0, 0, 1);
    cairo_rectangle(cr, 0, 0, 1, 1);
    cairo_fill(cr);
    cairo_set_source_rgba(cr, 0, 1, 0, 128 / 255.0);
    cairo_rectangle(cr, 1, 0, 1, 1);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_write_to_png(s, (skin.path() / "app.png").c_str());
    cairo_surface_destroy(s);
    std::ofstream(skin.path() / "res.xml") << R"(<Res><Image id="107" path="app.png"/></Res>)";
    CPaintManagerUI::SetResourcePath(skin.path().c_str());
    ASSERT_TRUE(CResourceManager::GetInstance()->LoadResource("res.xml"));
  }
  RecordingWindow window{kLayout};
  TempDir skin;
};

TEST_F(TrayIcon, WithoutASessionBusThereIsNoIconAndNoError) {
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
  CTrayIcon tray;
  tray.CreateTrayIcon(window.GetHWND(), 107, "Kestrane");
  EXPECT_FALSE(tray.IsCreated());
  EXPECT_FALSE(tray.IsVisible());
  EXPECT_FALSE(tray.SetTooltipText("still fine"));
  EXPECT_EQ(tray.GetTooltipText().str(), "still fine");
  tray.DeleteTrayIcon();
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

TEST_F(TrayIcon, ClicksArriveAsTheCallbackMessageWithTheMouseMessage) {
  PrivateSessionBus bus;
  if (!bus.ok()) GTEST_SKIP() << "dbus-daemon not available";
  FakeTrayWatcher watcher;
  ASSERT_TRUE(watcher.ok());
  WriteSkin();
  CTrayIcon tray;
  tray.CreateTrayIcon(window.GetHWND(), 107, "Kestrane");
  ASSERT_TRUE(tray.IsCreated());
  std::string service;
  ASSERT_TRUE(watcher.WaitForRegistration(&service));
  EXPECT_EQ(service, tray.ServiceName());

  sd_bus* host = nullptr;
  ASSERT_GE(sd_bus_open_user(&host), 0);
  struct Case {
    const char* method;
    LPARAM mouse;
  };
  const Case cases[] = {
      {"Activate", WM_LBUTTONUP}, {"ContextMenu", WM_RBUTTONUP}, {"SecondaryActivate", WM_MBUTTONUP}};
  int expected = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.method);
    sd_bus_error error = SD_BUS_ERROR_NULL;
    ASSERT_GE(sd_bus_call_method(host, service.c_str(), "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                                 c.method, &error, nullptr, "ii", 5, 6),
              0)
        << error.message;
    sd_bus_error_free(&error);
    ++expected;
    ASSERT_TRUE(WaitForMessages(UIMSG_TRAYICON, expected));
    MSG got = Last(UIMSG_TRAYICON);
    EXPECT_EQ(got.message, WM_USER + 1);
    EXPECT_EQ(got.wParam, 107u);
    EXPECT_EQ(got.lParam, c.mouse);
  }

  // The icon is the skin image, unpremultiplied, A R G B per pixel.
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  ASSERT_GE(sd_bus_get_property(host, service.c_str(), "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                                "IconPixmap", &error, &reply, "a(iiay)"),
            0)
      << error.message;
  ASSERT_GE(sd_bus_message_enter_container(reply, 'a', "(iiay)"), 0);
  ASSERT_GT(sd_bus_message_enter_container(reply, 'r', "iiay"), 0);
  int w = 0;
  int h = 0;
  ASSERT_GE(sd_bus_message_read(reply, "ii", &w, &h), 0);
  const void* bytes = nullptr;
  size_t size = 0;
  ASSERT_GE(sd_bus_message_read_array(reply, 'y', &bytes, &size), 0);
  EXPECT_EQ(w, 2);
  EXPECT_EQ(h, 1);
  ASSERT_EQ(size, 8u);
  const auto* p = static_cast<const unsigned char*>(bytes);
  EXPECT_EQ(std::vector<int>(p, p + 8), (std::vector<int>{255, 255, 0, 0, 128, 0, 255, 0}));
  sd_bus_message_unref(reply);
  sd_bus_flush_close_unref(host);
}

TEST_F(TrayIcon, AGivenCallbackMessageAndAMissingImageStillMakeAnIcon) {
  PrivateSessionBus bus;
  if (!bus.ok()) GTEST_SKIP() << "dbus-daemon not available";
  FakeTrayWatcher watcher;
  ASSERT_TRUE(watcher.ok());
  constexpr UINT kOwnMessage = WM_USER + 0x42;
  CTrayIcon tray;
  tray.CreateTrayIcon(window.GetHWND(), "no/such/icon.png", "tip", kOwnMessage);
  std::string service;
  ASSERT_TRUE(watcher.WaitForRegistration(&service));
  sd_bus* host = nullptr;
  ASSERT_GE(sd_bus_open_user(&host), 0);
  ASSERT_GE(sd_bus_call_method(host, service.c_str(), "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                               "Activate", nullptr, nullptr, "ii", 0, 0),
            0);
  EXPECT_TRUE(WaitForMessages(kOwnMessage, 1));
  EXPECT_EQ(Last(kOwnMessage).lParam, WM_LBUTTONUP);
  sd_bus_flush_close_unref(host);
  tray.DeleteTrayIcon();
  EXPECT_FALSE(tray.IsCreated());
}

}  // namespace
}  // namespace ostrel::test
