// Catching up: a schedule run late, once for many due steps, ends in the
// same state as one run at every due time; a long stall resynchronises
// instead of replaying every missed step.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <tuple>
#include <vector>

#include "devicelink/DeviceProtocol.h"
#include "lighting/KeyboardLightAnimator.h"
#include "lighting/LightAnimator.h"
#include "lighting/LightSyncAnimator.h"
#include "lighting/LightingThread.h"

namespace ostrel {
namespace {

constexpr std::int64_t kSpanMs = 6000;

LightSetting Effect(int code, int speed, int multi, int direction = 1) {
  LightSetting s;
  s.selectItem = static_cast<std::uint8_t>(code);
  s.light = 4;
  s.speed = static_cast<std::uint8_t>(speed);
  s.fx = static_cast<std::uint8_t>(direction);
  s.multiColor = static_cast<std::uint8_t>(multi);
  s.red = 250;
  s.green = 120;
  s.blue = 10;
  return s;
}

LightListEntry PerLed(int mode, int speed, int multi) {
  LightListEntry e;
  e.ledRegMode = static_cast<std::uint8_t>(mode);
  e.ledBrightness = 4;
  e.ledSpeed = static_cast<std::uint8_t>(speed);
  e.ledMultiColor = static_cast<std::uint8_t>(multi);
  e.red = 30;
  e.present = 1;
  return e;
}

LightEffectStep CustomStep(int mode, int speed, int multi, int timeMs) {
  LightEffectStep s;
  s.ledRegMode = static_cast<std::uint8_t>(mode);
  s.ledBrightness = 4;
  s.ledSpeed = static_cast<std::uint8_t>(speed);
  s.ledMultiColor = static_cast<std::uint8_t>(multi);
  s.green = 200;
  s.time = timeMs;
  return s;
}

// Pass times of a late runner: the thread's own pacing (a pass a granule)
// and an irregular one with gaps up to just under the catch-up bound.
std::vector<std::int64_t> GranulePasses() {
  std::vector<std::int64_t> t;
  for (std::int64_t at = 0; at < kSpanMs; at += LightingThread::kWakeGranularityMs) t.push_back(at);
  return t;
}

std::vector<std::int64_t> IrregularPasses() {
  std::vector<std::int64_t> t;
  const std::array<std::int64_t, 7> gaps = {1, 37, 150, 999, 3, 433, 61};
  std::int64_t at = 0;
  for (std::size_t i = 0; at < kSpanMs; ++i, at += gaps[i % gaps.size()]) t.push_back(at);
  return t;
}

// Runs at every due time up to the span's end.
template <typename A>
void RunOnTime(A& a) {
  for (std::int64_t due = a.RunDue(0); due <= kSpanMs; due = a.RunDue(due)) {
  }
}

template <typename A>
void RunAt(A& a, const std::vector<std::int64_t>& passes) {
  for (std::int64_t at : passes) a.RunDue(at);
  a.RunDue(kSpanMs);
}

struct Snapshot {
  std::vector<LedColour> leds;
  std::uint8_t phase, colourIndex, toggle;
  std::uint32_t stepCounter;
  std::array<std::uint8_t, LightEffectState::kIntensityCount> intensity;
  std::array<std::uint8_t, LightEffectState::kRingSize> ring;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(LightEffectState& s) {
  auto leds = s.Leds();
  return {{leds.begin(), leds.end()}, s.phase, s.colourIndex, s.toggle, s.stepCounter, s.intensity, s.ring};
}

struct PageCase {
  const char* what;
  int deviceType;
  int ledCount;
  LightSetting setting;
  std::vector<LightListEntry> perLed;
  std::vector<LightEffectStep> custom;
};

std::vector<PageCase> PageCases() {
  std::vector<LightListEntry> perLed(15);
  perLed[1] = PerLed(0, 2, 1);  // breathing
  perLed[4] = PerLed(2, 4, 1);  // flash
  perLed[6] = PerLed(3, 4, 1);  // colour wheel
  perLed[9] = PerLed(1, 0, 0);  // fixed
  const std::vector<LightEffectStep> custom = {CustomStep(0, 4, 1, 700), CustomStep(2, 0, 1, 1700),
                                               CustomStep(4, 3, 1, 450), CustomStep(5, 4, 0, 333)};
  return {
      {"mouse breathing", kDeviceMouse, 6, Effect(2, 4, 1), {}, {}},
      {"mouse spectrum", kDeviceMouse, 6, Effect(1, 4, 1), {}, {}},
      {"mouse flash", kDeviceMouse, 6, Effect(4, 4, 1), {}, {}},
      {"mouse four-colour flash", kDeviceMouse, 6, Effect(7, 3, 0), {}, {}},
      {"mouse wave", kDeviceMouse, 6, Effect(0, 4, 1), {}, {}},
      {"mouse running ring", kDeviceMouse, 19, Effect(5, 3, 1), {}, {}},
      {"pad ring", kDeviceMousePad, 15, Effect(6, 4, 1, 0), {}, {}},
      {"pad running ring", kDeviceMousePad, 15, Effect(7, 4, 0), {}, {}},
      {"headset wave", kDeviceHeadset, 13, Effect(0, 2, 0), {}, {}},
      {"pad per-LED pass over a ring", kDeviceMousePad, 15, Effect(6, 2, 1), perLed, {}},
      {"pad per-LED pass over static", kDeviceMousePad, 15, Effect(3, 0, 0), perLed, {}},
      {"pad custom animation", kDeviceMousePad, 15, Effect(5, 2, 0), {}, custom},
  };
}

void Prepare(LightAnimator& a, const PageCase& c) {
  a.SetLightSetting(c.setting);
  if (!c.perLed.empty()) a.SetLightList(c.perLed, 0);
  if (!c.custom.empty()) a.SetCustomSteps(c.custom);
}

TEST(LightCatchUp, LatePassesEndInTheStateOfPassesOnTime) {
  for (const PageCase& c : PageCases()) {
    SCOPED_TRACE(c.what);
    LightAnimator onTime(c.deviceType, c.ledCount);
    Prepare(onTime, c);
    RunOnTime(onTime);
    const Snapshot expected = Take(onTime.State());
    for (const auto& passes : {GranulePasses(), IrregularPasses()}) {
      LightAnimator late(c.deviceType, c.ledCount);
      Prepare(late, c);
      RunAt(late, passes);
      EXPECT_TRUE(Take(late.State()) == expected);
    }
  }
}

struct KeyboardCase {
  const char* what;
  LightSetting main, logo, st;
};

LightSetting Zones(int logoCode, int stCode, int speed) {
  LightSetting s;
  s.logoSelectItem = static_cast<std::uint8_t>(logoCode);
  s.logoLight = 4;
  s.logoSpeed = static_cast<std::uint8_t>(speed);
  s.logoMultiColor = 1;
  s.stSelectItem = static_cast<std::uint8_t>(stCode);
  s.stLight = 4;
  s.stSpeed = static_cast<std::uint8_t>(speed);
  s.stRed = 90;
  return s;
}

TEST(LightCatchUp, KeyboardZonesCatchUpToTheStateOnTime) {
  const std::vector<KeyboardCase> cases = {
      {"column wave, logo wave, St bounce", Effect(1, 4, 1), Zones(0, 2, 4), Zones(0, 2, 4)},
      {"ring, breathing logo, St wave", Effect(18, 3, 1), Zones(1, 0, 3), Zones(1, 0, 3)},
      {"shared flash toggle", Effect(26, 4, 1), Zones(3, 3, 2), Zones(3, 3, 2)},
      {"sweep, spectrum keys", Effect(27, 4, 0), Zones(3, 1, 4), Zones(3, 1, 4)},
      {"spectrum main", Effect(4, 4, 1), Zones(2, 3, 1), Zones(2, 3, 1)},
  };
  for (const KeyboardCase& c : cases) {
    SCOPED_TRACE(c.what);
    const auto take = [](KeyboardLightAnimator& k) {
      std::array<LedColour, kLogoLedCount> logo{};
      std::array<LedColour, kStLedCount> st{};
      k.CopyLogoLeds(logo);
      k.CopyStLeds(st);
      return std::tuple(Take(k.State()), logo, st);
    };
    KeyboardLightAnimator onTime;
    onTime.ApplyLighting(c.main, c.logo, c.st);
    RunOnTime(onTime);
    const auto expected = take(onTime);
    for (const auto& passes : {GranulePasses(), IrregularPasses()}) {
      KeyboardLightAnimator late;
      late.ApplyLighting(c.main, c.logo, c.st);
      RunAt(late, passes);
      EXPECT_TRUE(take(late) == expected);
    }
  }
}

TEST(LightCatchUp, SynchronisationCatchesUpToTheStateOnTime) {
  const CommonEffect effects[] = {CommonEffect::kBreathing, CommonEffect::kSpectrum, CommonEffect::kFlash};
  for (CommonEffect effect : effects) {
    SCOPED_TRACE(static_cast<int>(effect));
    const auto run = [effect](const std::vector<std::int64_t>* passes) {
      LightAnimator page(kDeviceMouse, 6);
      page.SetPaused(true);
      LightSyncAnimator sync;
      sync.SetTargets({&page});
      sync.SetCommonEffect(effect, Effect(0, 4, 1));
      if (passes)
        RunAt(sync, *passes);
      else
        RunOnTime(sync);
      return std::tuple(Take(page.State()).leds, sync.Phase(), sync.ColourIndex());
    };
    const auto expected = run(nullptr);
    for (const auto& passes : {GranulePasses(), IrregularPasses()}) EXPECT_TRUE(run(&passes) == expected);
  }
}

TEST(LightCatchUp, EveryDueStepRunsAndALongStallResynchronises) {
  // Pad ring at speed 4: a step every 7 ticks (14 ms); the ring counts its steps.
  LightAnimator pad(kDeviceMousePad, 15);
  pad.SetLightSetting(Effect(6, 4, 1));
  EXPECT_EQ(pad.RunDue(0), 14);
  EXPECT_EQ(pad.State().stepCounter, 1u);
  // One late pass runs the 70 steps due at 14 … 980, timed from their own
  // due times: the next is due at 994, not 980 + 14.
  EXPECT_EQ(pad.RunDue(985), 994);
  EXPECT_EQ(pad.State().stepCounter, 71u);

  // A suspend: the step due at 994 is far past the catch-up bound. One
  // step runs now and the animation goes on from now.
  const std::int64_t resumed = 994 + 3'600'000;
  EXPECT_EQ(pad.RunDue(resumed), resumed + 14);
  EXPECT_EQ(pad.State().stepCounter, 72u);

  // A gap just inside the bound is caught up in full.
  const std::int64_t late = resumed + LightSchedule::kMaxCatchUpMs;
  pad.RunDue(late);
  EXPECT_EQ(pad.State().stepCounter, 72u + LightSchedule::kMaxCatchUpMs / 14);
}

TEST(LightCatchUp, ASettingsChangeStepsAtOnceAndStaticOrPausedPagesAreNeverDue) {
  LightAnimator mouse(kDeviceMouse, 6);
  mouse.SetLightSetting(Effect(1, 0, 1));  // spectrum, 56 ms a step
  EXPECT_EQ(mouse.RunDue(0), 56);
  mouse.SetLightSetting(Effect(1, 4, 1));
  EXPECT_EQ(mouse.RunDue(30), 44);  // the new speed runs at once, not at 56
  EXPECT_EQ(mouse.State().phase, 2);

  mouse.SetLightSetting(Effect(3, 0, 0));  // static
  EXPECT_EQ(mouse.RunDue(40), kNeverDue);
  EXPECT_EQ(mouse.RunDue(400000), kNeverDue);
  mouse.SetLightSetting(Effect(1, 4, 1));
  mouse.SetPaused(true);
  EXPECT_EQ(mouse.RunDue(400001), kNeverDue);
  const std::uint8_t phase = mouse.State().phase;
  EXPECT_EQ(mouse.RunDue(900000), kNeverDue);
  EXPECT_EQ(mouse.State().phase, phase);
}

}  // namespace
}  // namespace ostrel
