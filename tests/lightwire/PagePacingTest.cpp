// The page base's lighting on pages of every device type, driven by a clock
// the test moves: the page's one thread wakes at most once a granule and
// only while its animator has a step due, settings changes run at once, and
// the frame the page streams to the simulated device is the state the
// engine reaches stepping on time for that device type (wave, ring, running
// ring, the per-LED pass).

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "FakeLightClock.h"
#include "WiredPage.h"
#include "devicelink/DeviceProtocol.h"
#include "devicelink/HidLink.h"
#include "devsim/Simulator.h"
#include "lighting/LightAnimator.h"
#include "lighting/LightMath.h"
#include "lighting/LightingThread.h"

namespace ostrel::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string PathOf(const std::string& marker) {
  HidLink link;
  link.Enumerate();
  while (const char* p = link.NextPath())
    if (std::string(p).find(marker) != std::string::npos) return p;
  return {};
}

LightSetting Effect(int code, int speed, bool multi, int direction = 1) {
  LightSetting s;
  s.selectItem = static_cast<std::uint8_t>(code);
  s.light = 4;
  s.speed = static_cast<std::uint8_t>(speed);
  s.fx = static_cast<std::uint8_t>(direction);
  s.multiColor = multi ? 1 : 0;
  s.red = 250;
  s.green = 120;
  s.blue = 10;
  return s;
}

LightListEntry PerLed(int mode, int speed) {
  LightListEntry e;
  e.ledRegMode = static_cast<std::uint8_t>(mode);
  e.ledBrightness = 4;
  e.ledSpeed = static_cast<std::uint8_t>(speed);
  e.ledMultiColor = 1;
  e.present = 1;
  return e;
}

struct PageCase {
  const char* what;
  const char* model;
  const char* commandPath;
  int deviceType;
  int ledCount;
  LightSetting record;
  std::vector<LightListEntry> perLed;
};

std::vector<PageCase> Cases() {
  std::vector<LightListEntry> perLed(15);
  perLed[2] = PerLed(0, 2);  // breathing
  perLed[5] = PerLed(3, 4);  // colour wheel
  perLed[9] = PerLed(4, 0);  // off
  return {
      {"mouse wave", "mouse", "&col04#mouse#", kDeviceMouse, 6, Effect(0, 4, true), {}},
      {"mouse running ring", "mouse", "&col04#mouse#", kDeviceMouse, 6, Effect(5, 3, false), {}},
      {"pad ring", "mousepad", "&col04#mousepad#", kDeviceMousePad, 15, Effect(6, 4, true, 0), {}},
      {"pad per-LED pass", "mousepad", "&col04#mousepad#", kDeviceMousePad, 15, Effect(3, 0, false), perLed},
      {"headset wave", "headset", "mi_03#headset#", kDeviceHeadset, 13, Effect(0, 2, false), {}},
      {"headset running ring", "headset", "mi_03#headset#", kDeviceHeadset, 13, Effect(7, 4, true), {}},
  };
}

class PagePacing : public ::testing::Test {
 protected:
  // A page of the case's type, connected to its simulated device, on the
  // test's clock.
  void MakePage(const PageCase& c) {
    if (!plugged.count(c.model)) plugged[c.model] = simulator.Plug(c.model);
    device = plugged[c.model];
    ASSERT_NE(device, nullptr);
    page.reset();
    clock = std::make_unique<FakeLightClock>();
    page = std::make_unique<WiredPage>();
    DeviceCatalogueRow row;
    row.deviceType = static_cast<std::uint16_t>(c.deviceType);
    page->SetLedCount(c.ledCount);
    page->SetInterfaceRow(row);
    page->SetLightClock(*clock);
    ASSERT_TRUE(page->CommandChannel().Connect(PathOf(c.commandPath), false));
  }
  void TearDown() override {
    if (page) page->StopWorkers();
    page.reset();
    simulator.UnplugAll();
  }

  devsim::Simulator simulator;
  std::map<std::string, devsim::SimulatedDevice*> plugged;
  devsim::SimulatedDevice* device = nullptr;
  // Made before the page and gone after it: the page's thread sleeps on it.
  std::unique_ptr<FakeLightClock> clock = std::make_unique<FakeLightClock>();
  std::unique_ptr<WiredPage> page;
};

TEST_F(PagePacing, EachTypesPageWakesAtMostOnceAGranuleAndStreamsTheFrameOfStepsOnTime) {
  constexpr std::int64_t kLimit = 700;
  for (const PageCase& c : Cases()) {
    SCOPED_TRACE(c.what);
    MakePage(c);
    if (HasFatalFailure()) return;
    page->LoadRecords(c.record);
    if (!c.perLed.empty()) page->SetPerLedList(c.perLed);
    page->StartLightingThreads();
    clock->RunTo(kLimit);

    // The engine's own animator of the type, run at every due time up to
    // the page thread's last pass.
    const std::int64_t lastPass = clock->NowMs();
    LightAnimator twin(c.deviceType, c.ledCount);
    twin.SetLightSetting(c.record);
    if (!c.perLed.empty()) twin.SetLightList(c.perLed, 0);
    std::uint64_t dueTimes = 0;
    for (std::int64_t due = twin.RunDue(0); due <= kLimit; due = twin.RunDue(due)) ++dueTimes;
    EXPECT_GT(dueTimes, 10u);
    // At most one wake-up a granule, never more than there are due times:
    // a 1 ms loop would wake 700 times, one wake per due step up to 100.
    EXPECT_LE(clock->TimedWakeups(), static_cast<std::uint64_t>(kLimit / LightingThread::kWakeGranularityMs));
    EXPECT_LE(clock->TimedWakeups(), dueTimes);
    EXPECT_GT(lastPass, kLimit - LightingThread::kWakeGranularityMs - 56);
    LightAnimator onTime(c.deviceType, c.ledCount);
    onTime.SetLightSetting(c.record);
    if (!c.perLed.empty()) onTime.SetLightList(c.perLed, 0);
    for (std::int64_t due = onTime.RunDue(0); due <= lastPass; due = onTime.RunDue(due)) {
    }

    page->PushLightFrame();
    std::array<std::uint8_t, 512> expected{};
    const std::size_t length = onTime.BuildStreamFrame(expected);
    ASSERT_EQ(length, static_cast<std::size_t>(3 * c.ledCount));
    const Bytes live = device->State().Contents(devsim::MemoryArea::kLiveFrame);
    ASSERT_GE(live.size(), length);
    EXPECT_EQ(Bytes(live.begin(), live.begin() + static_cast<long>(length)),
              Bytes(expected.begin(), expected.begin() + static_cast<long>(length)));
  }
}

TEST_F(PagePacing, ChangedRecordsRetimeTheThreadAtOnceAndFixedEffectsSleepUntilTheNextChange) {
  MakePage(Cases()[0]);
  page->LoadRecords(Effect(1, 0, false));  // spectrum at speed 0: a step every 56 ms
  page->StartLightingThreads();
  clock->RunTo(100);
  EXPECT_EQ(clock->TimedWakeups(), 1u);  // at 56
  EXPECT_EQ(clock->LastDeadline(), 112);

  // Speed 4: the change runs a step at once (at 56) and the next is due 14 ms
  // later, not at 112. The thread then wakes a granule apart, at 76 and 96
  // (the steps due at 70 and 84), and sleeps until 116 (98 is due).
  std::uint64_t entries = clock->SleepEntries();
  const std::uint64_t beforeChange = clock->TimedWakeups();
  const std::uint8_t phaseBefore = page->Animator()->State().phase;
  page->LoadRecords(Effect(1, 4, false));
  clock->WaitForSleep(entries + 3);
  EXPECT_EQ(clock->TimedWakeups(), beforeChange + 2);
  EXPECT_EQ(clock->NowMs(), 96);
  EXPECT_EQ(clock->LastDeadline(), 116);
  EXPECT_EQ(page->Animator()->State().phase, phaseBefore + 3);

  // Static: drawn once, then no wake-up however long the clock runs.
  entries = clock->SleepEntries();
  page->LoadRecords(Effect(3, 0, false));
  clock->WaitForSleep(entries + 1);
  const std::uint64_t wakeups = clock->TimedWakeups();
  clock->RunTo(600000);
  EXPECT_EQ(clock->TimedWakeups(), wakeups);
  EXPECT_EQ(clock->LastDeadline(), kNeverDue);

  // Paused for synchronisation: its own steps stop.
  page->LoadRecords(Effect(1, 4, false));
  entries = clock->SleepEntries();
  page->SetLightingPaused(true);
  clock->WaitForSleep(entries + 1);
  const std::uint64_t paused = clock->TimedWakeups();
  clock->RunTo(700000);
  EXPECT_EQ(clock->TimedWakeups(), paused);
  EXPECT_TRUE(page->CommandChannel().IsPaused());
}

TEST_F(PagePacing, TheKeyboardRunsItsThreeZonesOnOneThread) {
  devsim::SimulatedDevice* keyboard = simulator.Plug("keyboard");
  ASSERT_NE(keyboard, nullptr);
  page = std::make_unique<WiredPage>();
  DeviceCatalogueRow row;
  row.deviceType = kDeviceKeyboard;
  page->SetLedCount(126);
  page->SetInterfaceRow(row);
  page->SetLightClock(*clock);
  ASSERT_NE(page->KeyboardAnimator(), nullptr);
  EXPECT_EQ(page->Animator(), nullptr);
  EXPECT_STREQ(page->LightingExitText(), "KB灯光线程设定退出");
  LightSetting main = Effect(6, 0, false);  // static keys: nothing due on the main zone
  LightSetting logo;
  logo.logoSelectItem = 1;  // breathing logo
  logo.logoLight = 4;
  logo.logoSpeed = 4;
  logo.logoRed = 255;
  page->LoadRecords(main);
  page->SetLightSettingZone2(logo.selectItem | logo.light << 8 | logo.speed << 16 | logo.fx << 24, 0, 0,
                             static_cast<std::uint32_t>(logo.logoSelectItem) | logo.logoLight << 8 |
                                 logo.logoSpeed << 16 | logo.logoFx << 24,
                             static_cast<std::uint32_t>(logo.logoMultiColor) | logo.logoRed << 8, 0, 0, 0, 0);
  page->StartLightingThreads();
  clock->RunTo(400);
  // The logo zone at speed 4 steps every 4 ms: the one thread wakes once a
  // granule for it alone, and runs its 101 steps (0, 4 … 400).
  EXPECT_EQ(clock->TimedWakeups(), static_cast<std::uint64_t>(400 / LightingThread::kWakeGranularityMs));
  std::uint8_t phase = 0;
  for (int step = 0; step < 101; ++step) phase = StepIndex(false, 128, phase);
  EXPECT_EQ(page->KeyboardAnimator()->Effects().logoPhase, phase);
  std::array<LedColour, 15> logoLeds{};
  page->KeyboardAnimator()->CopyLogoLeds(logoLeds);
  EXPECT_EQ(logoLeds[0].red, 255);
  EXPECT_GT(logoLeds[0].brightness, 0);
}

}  // namespace
}  // namespace ostrel::test
