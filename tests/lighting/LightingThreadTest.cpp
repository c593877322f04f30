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

TEST(LightingThread, SleepsUntilEachDueStep) {
  test::FakeLightClock clock;
  LightAnimator mouse(2, 6);
  mouse.SetLightSetting(Effect(1, 4));  // spectrum, a step every 7 ticks
  LightingThread runner(mouse, clock, "MS灯光线程设定退出");
  runner.Start();
  clock.RunTo(1400);
  // One pass at 0, then one wake-up per step: 1400 / 14 ms. A 1 ms polling
  // loop would have made 1400 passes.
  EXPECT_EQ(clock.TimedWakeups(), 100u);
  EXPECT_EQ(runner.Passes(), 101u);
  EXPECT_EQ(clock.LastDeadline(), 1414);
  EXPECT_EQ(mouse.State().phase, 101);
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
