#include "platform/os/StatusNotifierItem.h"

#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "support/FakeTrayWatcher.h"
#include "support/PrivateSessionBus.h"

namespace ostrel {
namespace {

using namespace std::chrono_literals;

using test::FakeTrayWatcher;

struct Clicks {
  std::mutex mutex;
  std::condition_variable cv;
  std::vector<std::pair<StatusNotifierItem::Click, std::pair<int, int>>> seen;
  StatusNotifierItem::ClickHandler Handler() {
    return [this](StatusNotifierItem::Click click, int x, int y) {
      std::lock_guard<std::mutex> lock(mutex);
      seen.push_back({click, {x, y}});
      cv.notify_all();
    };
  }
  bool WaitFor(std::size_t count) {
    std::unique_lock<std::mutex> lock(mutex);
    return cv.wait_for(lock, 5s, [&] { return seen.size() >= count; });
  }
};

StatusNotifierItem::Pixmap TwoByTwo() {
  StatusNotifierItem::Pixmap icon;
  icon.width = icon.height = 2;
  icon.argb.assign(16, 0xFF);
  return icon;
}

TEST(StatusNotifierItem, WithoutSessionBusThereIsNoIconAndNoError) {
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
  StatusNotifierItem item;
  EXPECT_FALSE(item.Create("Kestrane", "Kestrane", TwoByTwo(), "Kestrane", {}));
  EXPECT_FALSE(item.IsCreated());
  item.SetToolTip("still fine");
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

TEST(StatusNotifierItem, RegistersAndDeliversClicks) {
  test::PrivateSessionBus bus;
  if (!bus.ok()) GTEST_SKIP() << "dbus-daemon not available";
  FakeTrayWatcher watcher;
  ASSERT_TRUE(watcher.ok());

  Clicks clicks;
  StatusNotifierItem item;
  ASSERT_TRUE(item.Create("Kestrane", "Kestrane", TwoByTwo(), "Kestrane", clicks.Handler()));
  std::string service;
  ASSERT_TRUE(watcher.WaitForRegistration(&service));
  EXPECT_EQ(service, item.ServiceName());
  EXPECT_TRUE(item.IsRegistered());

  sd_bus* client = nullptr;
  ASSERT_GE(sd_bus_open_user(&client), 0);
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  ASSERT_GE(sd_bus_get_property(client, service.c_str(), "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                                "ToolTip", &error, &reply, "(sa(iiay)ss)"),
            0)
      << error.message;
  const char* iconName = nullptr;
  const char* title = nullptr;
  const char* text = nullptr;
  ASSERT_GE(sd_bus_message_enter_container(reply, 'r', "sa(iiay)ss"), 0);
  ASSERT_GE(sd_bus_message_read(reply, "s", &iconName), 0);
  ASSERT_GE(sd_bus_message_skip(reply, "a(iiay)"), 0);
  ASSERT_GE(sd_bus_message_read(reply, "ss", &title, &text), 0);
  EXPECT_STREQ(title, "Kestrane");
  sd_bus_message_unref(reply);
  reply = nullptr;

  ASSERT_GE(sd_bus_call_method(client, service.c_str(), "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                               "Activate", &error, nullptr, "ii", 10, 20),
            0);
  ASSERT_GE(sd_bus_call_method(client, service.c_str(), "/StatusNotifierItem", "org.kde.StatusNotifierItem",
                               "ContextMenu", &error, nullptr, "ii", 30, 40),
            0);
  ASSERT_TRUE(clicks.WaitFor(2));
  EXPECT_EQ(clicks.seen[0].first, StatusNotifierItem::Click::Activate);
  EXPECT_EQ(clicks.seen[0].second, std::make_pair(10, 20));
  EXPECT_EQ(clicks.seen[1].first, StatusNotifierItem::Click::ContextMenu);
  sd_bus_error_free(&error);
  sd_bus_flush_close_unref(client);

  item.Destroy();
  EXPECT_FALSE(item.IsCreated());
}

TEST(StatusNotifierItem, RegistersWhenTheTrayHostStartsLater) {
  test::PrivateSessionBus bus;
  if (!bus.ok()) GTEST_SKIP() << "dbus-daemon not available";
  StatusNotifierItem item;
  ASSERT_TRUE(item.Create("Kestrane", "Kestrane", TwoByTwo(), "Kestrane", {}));
  EXPECT_FALSE(item.IsRegistered());
  FakeTrayWatcher watcher;
  ASSERT_TRUE(watcher.ok());
  std::string service;
  ASSERT_TRUE(watcher.WaitForRegistration(&service));
  EXPECT_EQ(service, item.ServiceName());
}

}  // namespace
}  // namespace ostrel
