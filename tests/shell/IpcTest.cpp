// The conversation on the session bus, against a small client on a private bus.
#include <gtest/gtest.h>
#include <systemd/sd-bus.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CWindowWnd.h"
#include "platform/ui/WindowApi.h"
#include "shell/RegisteredMessages.h"
#include "shell/ShellBus.h"
#include "shell/SleepWatcher.h"
#include "support/PrivateSessionBus.h"

namespace ostrel {
namespace {

using namespace std::chrono_literals;

class RecordingWindow : public CWindowWnd {
 public:
  std::vector<MSG> seen;

 protected:
  const char* GetWindowClassName() const override { return "IpcTestWindow"; }
  LRESULT HandleMessage(UINT m, WPARAM w, LPARAM l) override {
    if (m >= 0xC000 || m == WM_POWERBROADCAST) seen.push_back(MSG{m_hWnd, m, w, l, 0});
    return CWindowWnd::HandleMessage(m, w, l);
  }
};

class IpcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(bus.ok()) << "dbus-daemon did not start";
    CMessageLoop& loop = CMessageLoop::Instance();
    loop.AttachCurrentThread();
    loop.Reset();
    loop.SetBackend(std::make_unique<CHeadlessBackend>());
    RegisteredMessages::RegisterInstanceMessage();
    RegisteredMessages::RegisterApplicationMessages();
    ASSERT_NE(window.Create(nullptr, "ipc", 0, 0), nullptr);
    ASSERT_GE(sd_bus_open_user(&client), 0);
  }
  void TearDown() override {
    sd_bus_flush_close_unref(client);
    CMessageLoop::Instance().Reset();
  }

  // Pumps the loop (and the client) until `done` or two seconds passed.
  bool WaitFor(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i) {
      while (sd_bus_process(client, nullptr) > 0) {
      }
      CMessageLoop::Instance().PumpPending();
      sd_bus_wait(client, 10'000);
    }
    return done();
  }

  // From a thread of its own, on a connection of its own (a connection
  // belongs to one thread).
  static int Call(const char* member, int w, int l) {
    sd_bus* own = nullptr;
    if (sd_bus_open_user(&own) < 0) return -1;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    int r = sd_bus_call_method(own, ShellBus::kServiceName, ShellBus::kObjectPath, ShellBus::kInterface,
                               member, &error, nullptr, "ii", w, l);
    sd_bus_error_free(&error);
    sd_bus_flush_close_unref(own);
    return r;
  }

  bool Seen(UINT message, WPARAM w, LPARAM l) const {
    for (const MSG& m : window.seen)
      if (m.message == message && m.wParam == w && m.lParam == l) return true;
    return false;
  }

  test::PrivateSessionBus bus;
  RecordingWindow window;
  sd_bus* client = nullptr;
};

TEST_F(IpcTest, TheFirstOwnsTheNameAndASecondIsTurnedAway) {
  ShellBus first;
  ASSERT_EQ(first.Open(), ShellBus::Claim::First);
  first.SetTarget(window.GetHWND());
  ASSERT_TRUE(first.Start());
  ShellBus second;
  ASSERT_EQ(second.Open(), ShellBus::Claim::Second);
  std::thread waker([&] { EXPECT_TRUE(second.WakeFirstInstance(0, 1)); });
  EXPECT_TRUE(WaitFor([&] { return Seen(RegisteredMessages::InstanceMessage(), 0, 1); }));
  waker.join();
  // Once the first is gone the name is free again.
  first.Close();
  second.Close();
  ShellBus third;
  EXPECT_EQ(third.Open(), ShellBus::Claim::First);
}

TEST_F(IpcTest, RequestsFromCompanionsArriveAsMessages) {
  ShellBus shell;
  ASSERT_EQ(shell.Open(), ShellBus::Claim::First);
  shell.SetTarget(window.GetHWND());
  ASSERT_TRUE(shell.Start());
  std::thread caller([&] {
    EXPECT_GE(Call("LightControlRequest", 1, 0), 0);
    EXPECT_GE(Call("DeviceTableRequest", 0, 0), 0);
  });
  EXPECT_TRUE(WaitFor([&] {
    return Seen(RegisteredMessages::LightControlRequestMessage(), 1, 0) &&
           Seen(RegisteredMessages::DeviceTableRequestMessage(), 0, 0);
  }));
  caller.join();
  // Wrong arguments are refused, not guessed.
  sd_bus_error error = SD_BUS_ERROR_NULL;
  std::thread bad([&] {
    EXPECT_LT(sd_bus_call_method(client, ShellBus::kServiceName, ShellBus::kObjectPath, ShellBus::kInterface,
                                 "LightControlRequest", &error, nullptr, "s", "1"),
              0);
  });
  bad.join();
  sd_bus_error_free(&error);
}

TEST_F(IpcTest, LightStateIsBroadcast) {
  ShellBus shell;
  ASSERT_EQ(shell.Open(), ShellBus::Claim::First);
  ASSERT_TRUE(shell.Start());
  std::vector<std::pair<int, int>> received;
  sd_bus_slot* slot = nullptr;
  auto onSignal = [](sd_bus_message* m, void* userdata, sd_bus_error*) -> int {
    int w = 0, l = 0;
    if (sd_bus_message_read(m, "ii", &w, &l) >= 0)
      static_cast<std::vector<std::pair<int, int>>*>(userdata)->emplace_back(w, l);
    return 0;
  };
  ASSERT_GE(sd_bus_match_signal(client, &slot, ShellBus::kServiceName, ShellBus::kObjectPath,
                                ShellBus::kInterface, "LightState", onSignal, &received),
            0);
  EXPECT_TRUE(shell.BroadcastLightState(1, 0));
  EXPECT_TRUE(WaitFor([&] { return !received.empty(); }));
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], std::make_pair(1, 0));
  sd_bus_slot_unref(slot);
}

struct Companion {
  std::uint64_t sender = 0;
  std::uint32_t kind = 0;
  std::vector<std::uint8_t> data;
  int calls = 0;
};

TEST_F(IpcTest, TheDeviceTableGoesToTheCompanion) {
  ShellBus shell;
  ASSERT_EQ(shell.Open(), ShellBus::Claim::First);
  ASSERT_TRUE(shell.Start());
  // Nobody there yet: sending changes nothing and nothing breaks.
  std::uint8_t block[1024] = {2, 0, 0, 0, 3};
  EXPECT_TRUE(shell.SendDeviceTable(window.GetHWND(), block, sizeof block));

  Companion companion;
  auto onCopyData = [](sd_bus_message* m, void* userdata, sd_bus_error*) -> int {
    auto* c = static_cast<Companion*>(userdata);
    const void* bytes = nullptr;
    std::size_t size = 0;
    if (sd_bus_message_read(m, "tu", &c->sender, &c->kind) < 0) return -EINVAL;
    if (sd_bus_message_read_array(m, 'y', &bytes, &size) < 0) return -EINVAL;
    c->data.assign(static_cast<const std::uint8_t*>(bytes), static_cast<const std::uint8_t*>(bytes) + size);
    ++c->calls;
    return sd_bus_reply_method_return(m, "");
  };
  static const sd_bus_vtable vtable[] = {
      SD_BUS_VTABLE_START(0),
      SD_BUS_METHOD("CopyData", "tuay", "", +onCopyData, SD_BUS_VTABLE_UNPRIVILEGED),
      SD_BUS_VTABLE_END,
  };
  sd_bus_slot* object = nullptr;
  ASSERT_GE(sd_bus_add_object_vtable(client, &object, ShellBus::kCompanionPath, ShellBus::kCompanionInterface,
                                     vtable, &companion),
            0);
  ASSERT_GE(sd_bus_request_name(client, ShellBus::kCompanionName, 0), 0);
  EXPECT_TRUE(shell.SendDeviceTable(window.GetHWND(), block, sizeof block));
  EXPECT_TRUE(WaitFor([&] { return companion.calls == 1; }));
  EXPECT_EQ(companion.kind, 5u);
  EXPECT_EQ(companion.sender, reinterpret_cast<std::uintptr_t>(window.GetHWND()));
  ASSERT_EQ(companion.data.size(), 1024u);
  EXPECT_EQ(companion.data[0], 2);
  EXPECT_EQ(companion.data[4], 3);
  sd_bus_slot_unref(object);
}

TEST_F(IpcTest, PrepareForSleepBecomesAPowerBroadcast) {
  SleepWatcher watcher;
  ASSERT_TRUE(watcher.Start(window.GetHWND(), SleepWatcher::Bus::Session));
  ASSERT_GE(sd_bus_request_name(client, "org.freedesktop.login1", 0), 0);
  // The match is installed asynchronously; repeat until the first arrives.
  for (int i = 0; i < 5 && !Seen(WM_POWERBROADCAST, PBT_APMSUSPEND, 0); ++i) {
    sd_bus_emit_signal(client, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep",
                       "b", 1);
    WaitFor([&] { return Seen(WM_POWERBROADCAST, PBT_APMSUSPEND, 0); });
  }
  EXPECT_TRUE(Seen(WM_POWERBROADCAST, PBT_APMSUSPEND, 0));
  sd_bus_emit_signal(client, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep",
                     "b", 0);
  EXPECT_TRUE(WaitFor([&] { return Seen(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0); }));
}

TEST(IpcNoBus, WithoutASessionBusTheShellSaysSo) {
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
  ShellBus shell;
  EXPECT_EQ(shell.Open(), ShellBus::Claim::NoBus);
  EXPECT_FALSE(shell.BroadcastLightState(1, 1));
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

}  // namespace
}  // namespace ostrel
