// The monitoring workers end to end: list-entry timers, the notification
// reader, the lighting threads and the stop rules.

#include <gtest/gtest.h>

#include <atomic>

#include "DeviceHostFixture.h"
#include "controls/CDeviceOptionUI.h"
#include "controls/CMpDevicePowerUI.h"
#include "devsim/Simulator.h"
#include "platform/os/DebugLog.h"
#include "platform/ui/CPaintManagerUI.h"

namespace ostrel::test {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr UINT kArrived = DevicePageHost::kDeviceArrivedMessage;
constexpr UINT kRemoved = DevicePageHost::kDeviceRemovedMessage;

long long Ms(Clock::duration d) { return std::chrono::duration_cast<milliseconds>(d).count(); }

std::vector<std::uint8_t> CommandIds(const std::vector<devsim::Frame>& frames) {
  std::vector<std::uint8_t> ids;
  for (const auto& f : frames) ids.push_back(f[3]);
  return ids;
}

class WorkersTest : public DeviceHostFixture {
 protected:
  // Plugs the model, starts scanning and waits until the page has read the
  // device (timer 1001).
  TestDevicePage* Connect(const char* model, int deviceType) {
    device = simulator.Plug(model);
    if (!device) return nullptr;
    CreateWindow();
    window->host.StartScanning();
    TestDevicePage* page = PageOfType(deviceType);
    if (!PumpUntil([&] { return window->Count(kArrived) == 2 && !page->readDeviceTimes.empty(); },
                   milliseconds(4000)))
      return nullptr;
    return page;
  }
  devsim::Simulator simulator;
  devsim::SimulatedDevice* device = nullptr;
};

TEST_F(WorkersTest, ConnectedPageReadsTheDeviceHalfASecondAfterArrivalThenStreams) {
  TestDevicePage* mouse = Connect("mouse", 2);
  ASSERT_NE(mouse, nullptr);
  const auto arrival = window->TimeOf(kArrived, 2);
  EXPECT_GE(Ms(mouse->readDeviceTimes.front() - arrival), 495);
  EXPECT_LT(Ms(mouse->readDeviceTimes.front() - arrival), 3000);
  EXPECT_EQ(mouse->readDeviceResult, 1);
  ASSERT_TRUE(PumpUntil([&] { return mouse->framesPushed >= 8; }, milliseconds(3000)));
  // The mouse's read sequence, frame for frame, then only lighting frames.
  const auto ids = CommandIds(device->Log().CommandFrames());
  ASSERT_GE(ids.size(), 6u);
  EXPECT_EQ(std::vector<std::uint8_t>(ids.begin(), ids.begin() + 4), (std::vector<std::uint8_t>{1, 3, 7, 2}));
  for (std::size_t i = 4; i < ids.size(); ++i) EXPECT_EQ(ids[i], 18) << i;
  // One frame per 50 ms period, never faster.
  std::vector<Clock::time_point> streamed;
  for (const auto& report : device->Log().FromHost())
    if (report.bytes.size() > 3 && report.bytes[3] == 18) streamed.push_back(report.time);
  ASSERT_GE(streamed.size(), 4u);
  for (std::size_t i = 1; i < streamed.size(); ++i) EXPECT_GE(Ms(streamed[i] - streamed[i - 1]), 45) << i;
  EXPECT_TRUE(mouse->LightingThreadsRunning());
  EXPECT_TRUE(window->host.EntryOf(mouse)->entry->IsConnected());
}

TEST_F(WorkersTest, UnpluggedPageStopsSendingFramesWithinOnePeriod) {
  TestDevicePage* mouse = Connect("mouse", 2);
  ASSERT_NE(mouse, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return mouse->framesPushed >= 3; }, milliseconds(2000)));
  ASSERT_TRUE(simulator.Unplug("mouse").ok);
  ASSERT_TRUE(PumpUntil([&] { return window->Count(kRemoved) == 2; }, milliseconds(1000)));
  const int pushed = mouse->framesPushed;
  PumpFor(milliseconds(200));
  EXPECT_EQ(mouse->framesPushed, pushed);
  const auto* entry = window->host.EntryOf(mouse);
  ASSERT_NE(entry, nullptr);
  EXPECT_FALSE(window->GetPaintManager()->HasTimer(entry->entry, DevicePageHost::kTimerLightFrame));
  EXPECT_FALSE(entry->entry->IsConnected());
  // A device that is gone has nothing to animate: its thread ends (the
  // next ReadDevice starts it again).
  EXPECT_FALSE(mouse->LightingThreadsRunning());
}

struct RereadCase {
  const char* model;
  int deviceType;
  long long delayMs;
};

TEST_F(WorkersTest, ProfileChangeNotificationRereadsTheProfileAfterTheTypesDelay) {
  const RereadCase cases[] = {{"mouse", 2, 500}, {"keyboard", 1, 100}};
  for (const RereadCase& c : cases) {
    SCOPED_TRACE(c.model);
    TestDevicePage* page = Connect(c.model, c.deviceType);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return page->NotificationReaderRunning(); }, milliseconds(1000)));
    PumpFor(milliseconds(50));  // the reader waits in its read
    ASSERT_TRUE(device->SwitchProfile(2));
    const auto sent = Clock::now();
    ASSERT_TRUE(PumpUntil([&] { return !page->profileReadTimes.empty(); }, milliseconds(3000)));
    const long long delay = Ms(page->profileReadTimes.front() - sent);
    EXPECT_GE(delay, c.delayMs - 5);
    EXPECT_LT(delay, c.delayMs + 390);
    EXPECT_EQ(page->Operations().ProfileIndex(), 2);
    EXPECT_TRUE(SawLine("接收到自动添加设备的同步信息要求  TEST"));
    // One re-read per notification.
    PumpFor(milliseconds(c.delayMs + 100));
    EXPECT_EQ(page->profileReadTimes.size(), 1u);
    TearDown();
    SetUp();
    simulator.UnplugAll();
  }
}

TEST_F(WorkersTest, KeyboardKeyNotificationsReachTheKeyboardPage) {
  TestDevicePage* keyboard = Connect("keyboard", 1);
  ASSERT_NE(keyboard, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return keyboard->NotificationReaderRunning(); }, milliseconds(1000)));
  PumpFor(milliseconds(50));
  ASSERT_TRUE(device->PressKey(5));
  ASSERT_TRUE(PumpUntil(
      [&] {
        std::lock_guard<std::mutex> lock(keyboard->keyMutex);
        return keyboard->deviceKeys.size() >= 2;
      },
      milliseconds(2000)));
  std::lock_guard<std::mutex> lock(keyboard->keyMutex);
  EXPECT_EQ(keyboard->deviceKeys[0], std::make_pair(1, 5));
  EXPECT_EQ(keyboard->deviceKeys[1], std::make_pair(2, 5));
}

TEST_F(WorkersTest, BlockedNotificationReaderEndsAtOnceWhenItsChannelCloses) {
  TestDevicePage* keyboard = Connect("keyboard", 1);
  ASSERT_NE(keyboard, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return keyboard->NotificationReaderRunning(); }, milliseconds(1000)));
  PumpFor(milliseconds(100));  // nothing to read: the reader is blocked
  const int before = CountLines("线程退出：：对象处于激发状态");
  keyboard->CloseNotificationChannel();
  EXPECT_FALSE(keyboard->NotificationReaderRunning());
  EXPECT_FALSE(keyboard->NotificationChannel().IsConnected());
  EXPECT_EQ(CountLines("线程退出：：对象处于激发状态"), before + 1);
  EXPECT_TRUE(SawLine("MS设备同步线程设定退出"));
  EXPECT_FALSE(SawLine("超时"));
}

TEST_F(WorkersTest, ReadingTheDeviceAgainRestartsTheLightingThread) {
  TestDevicePage* mouse = Connect("mouse", 2);
  ASSERT_NE(mouse, nullptr);
  EXPECT_EQ(CountLines("MS灯光线程设定退出"), 0);
  mouse->ReadDevice();
  // The old thread ended before the new one started: one per zone.
  EXPECT_EQ(CountLines("MS灯光线程设定退出"), 1);
  EXPECT_TRUE(mouse->LightingThreadsRunning());
}

TEST_F(WorkersTest, PowerStateIsReadAndShown) {
  TestDevicePage* mouse = Connect("mouse", 2);
  ASSERT_NE(mouse, nullptr);
  device->State().SetPower({42, 0, 0});
  mouse->SetPowerPolling(1);
  mouse->ReadPowerState();
  CPaintManagerUI* pm = window->GetPaintManager();
  CControlUI* value = pm->FindSubControlByName(mouse->GetPowerIndicator(), "device_power_value");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->GetText(), "42%");
  // A failed read leaves the indicator as it was.
  devsim::FaultSettings silent;
  silent.silent = true;
  device->SetFaults(silent);
  device->State().SetPower({10, 0, 0});
  mouse->ReadPowerState();
  EXPECT_EQ(value->GetText(), "42%");
}

TEST(Workers, StopOfAWorkerThatOverrunsItsBoundIsReportedAndStillWaitedFor) {
  std::vector<std::string> lines;
  std::mutex mutex;
  SetDebugSink([&](std::string_view line) {
    std::lock_guard<std::mutex> lock(mutex);
    lines.emplace_back(line);
  });
  std::atomic<bool> ended{false};
  WorkerThread worker;
  worker.Start([&](const StopEvent&) {
    std::this_thread::sleep_for(milliseconds(150));
    ended = true;
  });
  EXPECT_EQ(worker.Stop(milliseconds(20)), WorkerThread::StopResult::kTimedOut);
  EXPECT_TRUE(ended.load());
  EXPECT_FALSE(worker.IsRunning());
  SetDebugSink({});
  std::lock_guard<std::mutex> lock(mutex);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "线程退出：：对象处于非激发状态，超时");
}

}  // namespace
}  // namespace ostrel::test
