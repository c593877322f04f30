// The lighting runner: it sleeps until the next due step (counted with a
// clock that jumps), wakes for a settings change and stops at once.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "FakeLightClock.h"
#include "lighting/LightAnimator.h"
#include "lighting/LightingThread.h"
#include "lighting/SteadyLightClock.h"
#include "platform/os/DebugLog.h"

namespace ostrel {
namespace {

LightSetting Effect(int code, int speed) {
  LightSetting s;
  s.selectItem = static_cast<std::uint8_t>(code);
  s.light = 4;
  s.speed = static_cast<std::uint8_t>(speed);
  s.fx = 1;
  return s;
}

TEST(LightingThread, WakesAtMostOnceAGranuleAndRunsEveryDueStep) {
  struct Case {
    int speed;
    std::int64_t periodMs;  // spectrum on a mouse: 7 ticks at speed 4, 28 at speed 0
    std::uint64_t wakeups;  // timed wake-ups up to 1400 ms
    std::int64_t lastDeadline;
  };
  // Steps due more often than a granule share a wake-up; slower steps wake
  // at their own time.
  const Case cases[] = {{4, 14, 1400 / LightingThread::kWakeGranularityMs, 1420}, {0, 56, 1400 / 56, 1456}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.speed);
    test::FakeLightClock clock;
    LightAnimator mouse(2, 6);
    mouse.SetLightSetting(Effect(1, c.speed));
    LightingThread runner(mouse, clock, "MS灯光线程设定退出");
    runner.Start();
    clock.RunTo(1400);
    EXPECT_EQ(clock.TimedWakeups(), c.wakeups);  // a 1 ms polling loop: 1400
    EXPECT_EQ(runner.Passes(), c.wakeups + 1);
    EXPECT_EQ(clock.LastDeadline(), c.lastDeadline);
    // Still one step per period: the steps at 0, p, 2p … 1400.
    EXPECT_EQ(mouse.State().phase, 1400 / c.periodMs + 1);
    runner.Stop();
  }
}

TEST(LightingThread, FramesRunTheStepsWhileTheThreadWatches) {
  test::FakeLightClock clock;
  LightAnimator mouse(2, 6);
  mouse.SetLightSetting(Effect(1, 4));  // spectrum, a step every 14 ms
  LightingThread runner(mouse, clock, "MS灯光线程设定退出");
  // Without a running thread a frame leaves the picture as it is (the step
  // due at 0 has not run).
  runner.RunBeforeFrame();
  EXPECT_EQ(mouse.State().phase, 0);
  runner.Start();
  // A frame every 50 ms, each shows the state of its own time.
  for (std::int64_t t = 50; t <= 1400; t += 50) {
    clock.AdvanceTo(t);
    runner.RunBeforeFrame();
    EXPECT_EQ(mouse.State().phase, t / 14 + 1) << t;
  }
  // The thread woke about once a watch, not once a granule (70 times).
  const std::uint64_t watching = clock.TimedWakeups();
  EXPECT_LE(watching, 3 + 1400 / (LightingThread::kFrameWatchMs - 50));

  // The frames stop: a watch after the last one the thread paces the steps
  // again, and none is lost.
  clock.RunTo(2100);
  EXPECT_EQ(clock.LastDeadline(), clock.NowMs() + LightingThread::kWakeGranularityMs);
  EXPECT_GT(clock.NowMs(), 2100 - LightingThread::kWakeGranularityMs);
  EXPECT_EQ(mouse.State().phase, clock.NowMs() / 14 + 1);
  runner.Stop();
}

TEST(LightingThread, AWakeRunsAtOnceBetweenGranules) {
  test::FakeLightClock clock;
  LightAnimator mouse(2, 6);
  mouse.SetLightSetting(Effect(1, 4));
  LightingThread runner(mouse, clock, "MS灯光线程设定退出");
  runner.Start();
  clock.RunTo(50);  // passes at 0, 20, 40; asleep until 60
  ASSERT_EQ(clock.LastDeadline(), 60);
  const std::uint64_t entries = clock.SleepEntries();
  const std::uint64_t wakeups = clock.TimedWakeups();
  mouse.SetLightSetting(Effect(0, 4));  // wave
  runner.Wake();
  clock.WaitForSleep(entries + 1);
  EXPECT_EQ(clock.TimedWakeups(), wakeups);  // the pass did not wait for a deadline
  EXPECT_EQ(runner.Passes(), 4u);
  EXPECT_EQ(clock.LastDeadline(), clock.NowMs() + LightingThread::kWakeGranularityMs);
  runner.Stop();
}

TEST(LightingThread, FixedEffectsSleepUntilWokenBySettings) {
  test::FakeLightClock clock;
  LightAnimator pad(3, 15);
  pad.SetLightSetting(Effect(3, 0));  // static
  LightingThread runner(pad, clock, "MS灯光线程设定退出");
  runner.Start();
  clock.RunTo(60000);
  EXPECT_EQ(clock.TimedWakeups(), 0u);
  EXPECT_EQ(runner.Passes(), 1u);
  EXPECT_EQ(clock.LastDeadline(), kNeverDue);

  const std::uint64_t entries = clock.SleepEntries();
  pad.SetLightSetting(Effect(1, 0));  // spectrum: 56 ms a step
  runner.Wake();
  clock.WaitForSleep(entries + 1);
  EXPECT_EQ(runner.Passes(), 60000u / 56 + 2);
  EXPECT_EQ(pad.State().phase, (60000 / 56 + 1) % 192);
  runner.Stop();
}

TEST(LightingThread, PausedPagesCostNothing) {
  test::FakeLightClock clock;
  LightAnimator mouse(2, 6);
  mouse.SetLightSetting(Effect(1, 4));
  mouse.SetPaused(true);
  LightingThread runner(mouse, clock, "MS灯光线程设定退出");
  runner.Start();
  clock.RunTo(10000);
  EXPECT_EQ(runner.Passes(), 1u);
  EXPECT_EQ(clock.TimedWakeups(), 0u);
  runner.Stop();
}

TEST(LightingThread, StopsAtOnceFromAnySleepAndRestartsAlone) {
  std::vector<std::string> lines;
  std::mutex linesMutex;
  SetDebugSink([&](std::string_view line) {
    std::lock_guard lock(linesMutex);
    lines.emplace_back(line);
  });
  LightAnimator mouse(2, 6);
  mouse.SetLightSetting(Effect(3, 0));  // static: the thread sleeps without a deadline
  LightingThread runner(mouse, SteadyLightClock::Instance(), "MS灯光线程设定退出");
  runner.Start();
  runner.Start();  // the first thread ends before the second begins
  EXPECT_TRUE(runner.IsRunning());
  runner.Stop();
  EXPECT_FALSE(runner.IsRunning());
  runner.Stop();  // harmless
  SetDebugSink({});
  int exits = 0;
  for (const std::string& line : lines) exits += line == "MS灯光线程设定退出" ? 1 : 0;
  EXPECT_EQ(exits, 2);
}

}  // namespace
}  // namespace ostrel
