// The pages' lighting as their runner drives it: which step each effect code
// runs, when it is due, the own steps, custom animations, per-LED modes,
// synchronisation and the frame the device receives.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "lighting/LightAnimator.h"
#include "lighting/LightFrame.h"
#include "lighting/LightMath.h"
#include "lighting/LightSyncAnimator.h"
#include "lighting/LightTables.h"

namespace ostrel {
namespace {

constexpr int kMouse = 2;
constexpr int kPad = 3;
constexpr int kHeadset = 7;

LightSetting Setting(int effect, int level, int speed, int direction, int multi,
                     Rgb colour = {200, 100, 50}) {
  LightSetting s;
  s.selectItem = static_cast<std::uint8_t>(effect);
  s.light = static_cast<std::uint8_t>(level);
  s.speed = static_cast<std::uint8_t>(speed);
  s.fx = static_cast<std::uint8_t>(direction);
  s.multiColor = static_cast<std::uint8_t>(multi);
  s.red = colour.red;
  s.green = colour.green;
  s.blue = colour.blue;
  return s;
}

TEST(LightEffectCodes, MapEveryDeviceTypesCodes) {
  struct Case {
    int type, code;
    LightStep step;
  } cases[] = {
      {2, 0, LightStep::kWave},      {2, 5, LightStep::kRunningRing},    {6, 7, LightStep::kFlashFour},
      {2, 9, LightStep::kCustom},    {2, 200, LightStep::kCustom},       {3, 5, LightStep::kCustom},
      {3, 6, LightStep::kRing},      {7, 7, LightStep::kRunningRing},    {7, 8, LightStep::kOff},
      {1, 0, LightStep::kCustom},    {1, 4, LightStep::kSpectrum},       {1, 5, LightStep::kKeyboard},
      {1, 19, LightStep::kCustom},   {1, 22, LightStep::kBreathingFour}, {1, 26, LightStep::kFlash},
      {1, 27, LightStep::kKeyboard}, {1, 28, LightStep::kCustom},        {5, 1, LightStep::kOff},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LightEffectCodes::StepFor(c.type, c.code), c.step) << c.type << "/" << c.code;
}

TEST(LightEffectCodes, ThresholdsBySpeed) {
  struct Case {
    int type, code, speed, ticks;
  } cases[] = {
      {2, 1, 0, 28}, {2, 1, 4, 7},  {3, 6, 2, 18},  {1, 4, 0, 6},   {1, 4, 4, 2}, {1, 16, 0, 4},
      {1, 18, 4, 5}, {1, 26, 0, 0}, {1, 27, 1, 28}, {1, 23, 4, 13}, {2, 1, 9, 7},
  };
  for (const Case& c : cases)
    EXPECT_EQ(LightEffectCodes::ThresholdTicks(c.type, c.code, c.speed), c.ticks)
        << c.type << "/" << c.code << "/" << c.speed;
}

TEST(LightEffectCodes, SynchronisationMapsToEachTypesCode) {
  EXPECT_EQ(LightEffectCodes::CommonEffectFor(1, 7), CommonEffect::kNone);
  EXPECT_EQ(LightEffectCodes::CommonEffectFor(2, 2), CommonEffect::kBreathing);
  EXPECT_EQ(LightEffectCodes::CodeForCommonEffect(1, CommonEffect::kBreathing), 5);
  EXPECT_EQ(LightEffectCodes::CodeForCommonEffect(3, CommonEffect::kBreathing), 2);
  EXPECT_EQ(LightEffectCodes::CommonEffectFor(1, 26), CommonEffect::kFlash);
  EXPECT_EQ(LightEffectCodes::CodeForCommonEffect(7, CommonEffect::kOff), 8);
}

TEST(LightSync, PagesTakeTheirOwnCodeOfTheCommonEffect) {
  LightSetting out;
  out.selectItem = 99;
  EXPECT_FALSE(LightSyncAnimator::PageRecord(1, Setting(7, 4, 0, 0, 0), 2, out));  // keyboard reactive
  EXPECT_EQ(out.selectItem, 99);
  const LightSetting mouse = Setting(2, 3, 1, 1, 1, {1, 2, 3});
  struct Case {
    int type, code;
  } cases[] = {{1, 5}, {2, 2}, {3, 2}, {6, 2}, {7, 2}};
  for (const Case& c : cases) {
    ASSERT_TRUE(LightSyncAnimator::PageRecord(2, mouse, c.type, out));
    LightSetting expected = mouse;
    expected.selectItem = static_cast<std::uint8_t>(c.code);
    EXPECT_EQ(out, expected) << c.type;
  }
  ASSERT_TRUE(LightSyncAnimator::PageRecord(1, Setting(26, 4, 0, 0, 0), 3, out));
  EXPECT_EQ(out.selectItem, 4);  // keyboard flash -> pad flash
}

// Calls the schedule every millisecond, as a polling loop would, and counts
// the steps (phase changes) the spectrum made.
TEST(LightAnimator, SpectrumStepsAtItsThresholdBySpeed) {
  for (int speed = 0; speed <= 4; ++speed) {
    LightAnimator mouse(kMouse, 6);
    mouse.SetLightSetting(Setting(1, 4, speed, 1, 0));
    const int periodMs = kSlowTimingRow[speed] * kTickMs;
    int steps = 0;
    std::uint8_t last = 255;
    std::int64_t due = 0;
    for (std::int64_t now = 0; now < 20 * periodMs; ++now) {
      due = mouse.RunDue(now);
      if (mouse.State().phase != last) {
        ++steps;
        last = mouse.State().phase;
        EXPECT_EQ(now % periodMs, 0) << "speed " << speed;
      }
    }
    EXPECT_EQ(steps, 20) << "speed " << speed;
    EXPECT_EQ(due, 20 * periodMs);
  }
}

TEST(LightAnimator, FlashAtSpeedZeroHoldsFiveAndAHalfSeconds) {
  LightAnimator pad(kPad, 15);
  pad.SetLightSetting(Setting(4, 4, 0, 0, 0, {10, 20, 30}));
  EXPECT_EQ(pad.RunDue(1000), 6600);  // the next toggle, not the next tick
  EXPECT_EQ(pad.GetLedColour(14), (LedColour{10, 20, 30, 255}));
  for (std::int64_t now = 1001; now < 6600; now += 7) pad.RunDue(now);
  EXPECT_EQ(pad.GetLedColour(0).brightness, 255);
  EXPECT_EQ(pad.RunDue(6600), 12200);
  EXPECT_EQ(pad.GetLedColour(0), LedColour{});
  pad.RunDue(12199);
  EXPECT_EQ(pad.GetLedColour(0), LedColour{});
  pad.RunDue(12200);
  EXPECT_EQ(pad.GetLedColour(0).brightness, 255);
}

TEST(LightAnimator, FixedEffectsAreDueOnlyAfterAChange) {
  LightAnimator headset(kHeadset, 13);
  headset.SetLightSetting(Setting(3, 2, 0, 0, 0));
  EXPECT_EQ(headset.RunDue(0), kNeverDue);
  EXPECT_EQ(headset.GetLedColour(12), (LedColour{200, 100, 50, 126}));
  headset.SetLightSetting(Setting(8, 2, 0, 0, 0));
  EXPECT_EQ(headset.RunDue(5), kNeverDue);
  EXPECT_EQ(headset.GetLedColour(12), LedColour{});
}

TEST(LightAnimator, PausedPagesLeaveTheirLedsToSynchronisation) {
  LightAnimator mouse(kMouse, 6);
  LightAnimator pad(kPad, 15);
  mouse.SetLightSetting(Setting(1, 4, 4, 1, 0));
  pad.SetLightSetting(Setting(1, 4, 4, 1, 0));
  mouse.SetPaused(true);
  EXPECT_EQ(mouse.RunDue(0), kNeverDue);

  LightSyncAnimator sync;
  sync.SetTargets({&mouse, &pad});
  sync.SetCommonEffect(CommonEffect::kStatic, Setting(3, 3, 0, 0, 0, {1, 2, 3}));
  EXPECT_EQ(sync.RunDue(0), kNeverDue);
  EXPECT_EQ(mouse.GetLedColour(5), (LedColour{1, 2, 3, 190}));
  EXPECT_EQ(pad.GetLedColour(0), LedColour{});
  // A page that joins later gets the frame at the next pass.
  pad.SetPaused(true);
  sync.RunDue(1);
  EXPECT_EQ(pad.GetLedColour(14), (LedColour{1, 2, 3, 190}));

  sync.SetCommonEffect(CommonEffect::kBreathing, Setting(2, 4, 4, 1, 1));
  EXPECT_EQ(sync.RunDue(10), 10 + 7 * kTickMs);
  EXPECT_EQ(sync.Phase(), 1);
  EXPECT_EQ(sync.ColourIndex(), 16);  // the phase is below 2
  sync.RunDue(24);
  EXPECT_EQ(sync.ColourIndex(), 16);

  mouse.SetPaused(false);
  pad.SetPaused(false);
  EXPECT_EQ(sync.RunDue(100), kNeverDue);
}

// Mouse running ring with six LEDs: the lit byte runs through groups 0-8 but
// only LEDs 0-5 exist; the others of each group are skipped.
TEST(LightAnimator, RunningRingOnASixLedMouseLightsOnlyItsLeds) {
  LightAnimator mouse(kMouse, 6);
  mouse.SetLightSetting(Setting(5, 4, 4, 1, 0, {0, 0, 255}));
  std::vector<int> brightest;
  for (int step = 0; step < 9; ++step) {
    mouse.RunStep(LightStep::kRunningRing, 0);
    int best = -1;
    int bestValue = 0;
    for (int i = 0; i < 6; ++i)
      if (mouse.GetLedColour(i).brightness > bestValue) {
        bestValue = mouse.GetLedColour(i).brightness;
        best = i;
      }
    brightest.push_back(bestValue == Scale(255, 215) ? best : -1);
  }
  EXPECT_EQ(brightest, (std::vector<int>{0, 1, 2, 3, 4, 5, -1, -1, -1}));
  EXPECT_EQ(mouse.LedCount(), 6);
  EXPECT_EQ(mouse.GetLedColour(0).blue, 255);
}

// The lit ring byte moves one position every second step; once the leading
// LED has faded every LED has taken the fixed colour, and in the next round
// each lights in turn.
TEST(LightAnimator, PadRingLightsItsLedsInTurn) {
  LightAnimator pad(kPad, 15);
  pad.SetLightSetting(Setting(6, 4, 4, 1, 0, {0, 255, 0}));
  for (int step = 0; step < 46; ++step) pad.RunStep(LightStep::kRing, 0);
  std::vector<int> order;
  for (int step = 0; step < 46; ++step) {
    pad.RunStep(LightStep::kRing, 0);
    for (int i = 0; i < 15; ++i) {
      const LedColour c = pad.GetLedColour(i);
      if (c.brightness == Scale(255, 215) && c.green == 255 && (order.empty() || order.back() != i))
        order.push_back(i);
    }
  }
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
}

TEST(LightAnimator, EmptyCustomAnimationTurnsTheLedsOff) {
  LightAnimator mouse(kMouse, 6);
  mouse.SetLedColour(3, {9, 9, 9, 9});
  mouse.SetLightSetting(Setting(9, 4, 0, 0, 0));
  EXPECT_EQ(mouse.RunDue(0), kNeverDue);
  EXPECT_EQ(mouse.GetLedColour(3), LedColour{});
}

LightEffectStep CustomStep(int type, int speed, Rgb colour, int timeMs) {
  LightEffectStep step;
  step.ledRegMode = static_cast<std::uint8_t>(type);
  step.ledBrightness = 4;
  step.ledSpeed = static_cast<std::uint8_t>(speed);
  step.red = colour.red;
  step.green = colour.green;
  step.blue = colour.blue;
  step.time = timeMs;
  return step;
}

TEST(LightAnimator, CustomAnimationPlaysEachStepForItsDuration) {
  LightAnimator pad(kPad, 15);
  pad.SetLightSetting(Setting(9, 4, 0, 0, 0));
  pad.SetCustomSteps({CustomStep(1, 4, {255, 0, 0}, 100), CustomStep(1, 4, {0, 0, 255}, 60)});
  std::int64_t due = pad.RunDue(0);
  EXPECT_EQ(pad.GetLedColour(0), (LedColour{255, 0, 0, 255}));
  std::vector<std::int64_t> switches;
  int colour = 0;
  for (std::int64_t now = 1; now <= 400; ++now) {
    if (now < due) continue;
    due = pad.RunDue(now);
    const int c = pad.GetLedColour(0).blue ? 1 : 0;
    if (c != colour) {
      switches.push_back(now);
      colour = c;
    }
  }
  // Red from 0, blue 100 ms later (drawn at its first frame, 7 ticks on),
  // red again 60 ms after that.
  ASSERT_GE(switches.size(), 3u);
  EXPECT_EQ(switches[0], 100 + 7 * kTickMs);
  EXPECT_EQ(switches[1], 160 + 7 * kTickMs);
}

TEST(LightAnimator, CustomWheelStepAdvancesItsPhaseEveryThreshold) {
  LightAnimator mouse(kMouse, 6);
  mouse.SetLightSetting(Setting(10, 4, 0, 0, 0));
  mouse.SetCustomSteps({CustomStep(5, 0, {}, 100000)});
  mouse.RunDue(0);
  for (std::int64_t now = 1; now <= 6 * kTickMs * 10; ++now) mouse.RunDue(now);
  EXPECT_EQ(mouse.State().custom.Phase(), 10);
  const Rgb c = kColourWheel[10];
  EXPECT_EQ(mouse.GetLedColour(2), (LedColour{c.red, c.green, c.blue, 255}));
}

LightListEntry PerLed(int mode, int speed, Rgb colour, int multi = 0) {
  LightListEntry e;
  e.ledRegMode = static_cast<std::uint8_t>(mode);
  e.ledBrightness = 4;
  e.ledSpeed = static_cast<std::uint8_t>(speed);
  e.ledMultiColor = static_cast<std::uint8_t>(multi);
  e.red = colour.red;
  e.green = colour.green;
  e.blue = colour.blue;
  e.present = 1;
  return e;
}

TEST(LightAnimator, PerLedModesOverrideTheStepOnPadsOnly) {
  const std::vector<LightListEntry> list = {PerLed(5, 0, {}), PerLed(1, 0, {0, 255, 0}), PerLed(4, 0, {}),
                                            PerLed(2, 4, {0, 0, 9})};
  LightAnimator pad(kPad, 15);
  pad.SetLightSetting(Setting(3, 4, 0, 0, 0, {255, 0, 0}));
  pad.SetLightList(list, 0);
  EXPECT_EQ(pad.RunDue(0), 1400);  // the flashing LED's next toggle
  EXPECT_EQ(pad.GetLedColour(0), (LedColour{255, 0, 0, 255}));
  EXPECT_EQ(pad.GetLedColour(1), (LedColour{0, 255, 0, 255}));
  EXPECT_EQ(pad.GetLedColour(2), LedColour{});
  EXPECT_EQ(pad.GetLedColour(3), (LedColour{0, 0, 9, 255}));
  pad.RunDue(1400);
  EXPECT_EQ(pad.GetLedColour(3), LedColour{});
  EXPECT_EQ(pad.GetLedColour(1), (LedColour{0, 255, 0, 255}));

  LightAnimator mouse(kMouse, 6);
  mouse.SetLightSetting(Setting(3, 4, 0, 0, 0, {255, 0, 0}));
  mouse.SetLightList(list, 0);
  mouse.RunDue(0);
  EXPECT_EQ(mouse.GetLedColour(1), (LedColour{255, 0, 0, 255}));
}

// The animated per-LED modes count passes; sampling them rarely must give
// what a pass every tick gives.
TEST(LightAnimator, PerLedAnimationsCountPassesWhenSampledRarely) {
  const std::vector<LightListEntry> list = {PerLed(0, 1, {}, 1), PerLed(3, 4, {}), PerLed(0, 4, {7, 7, 7})};
  LightAnimator everyTick(kHeadset, 13);
  LightAnimator rarely(kHeadset, 13);
  for (LightAnimator* a : {&everyTick, &rarely}) {
    a->SetLightSetting(Setting(8, 4, 0, 0, 0));
    a->SetLightList(list, 0);
  }
  for (std::int64_t now = 0; now <= 2000; now += kTickMs) everyTick.RunDue(now);
  for (std::int64_t now = 0; now <= 2000; now += 170) rarely.RunDue(now);
  rarely.RunDue(2000);
  for (int i = 0; i < 3; ++i) {
    const auto& a = everyTick.State().perLed.State(i);
    const auto& b = rarely.State().perLed.State(i);
    EXPECT_EQ(a.phase, b.phase) << i;
    EXPECT_EQ(a.wheelIndex, b.wheelIndex) << i;
    EXPECT_EQ(a.counter, b.counter) << i;
    EXPECT_EQ(everyTick.GetLedColour(i), rarely.GetLedColour(i)) << i;
  }
  // 1000 passes at speed 1: a cycle of 26 positions, 38 cycles.
  EXPECT_EQ(everyTick.State().perLed.State(0).wheelIndex, 38);
  EXPECT_EQ(everyTick.State().perLed.State(1).wheelIndex, 1000 / 7);
}

TEST(LightFrame, StreamsColourTimesBrightness) {
  std::vector<LedColour> leds = {{255, 128, 0, 255}, {200, 100, 50, 128}, {10, 20, 30, 0}};
  std::array<std::uint8_t, 512> frame{};
  frame.fill(0xEE);
  EXPECT_EQ(LightFrame::BuildStreamFrame(leds, frame), 9u);
  const std::uint8_t expected[] = {254, 127, 0, 100, 50, 25, 0, 0, 0, 0};
  for (std::size_t i = 0; i < sizeof expected; ++i) EXPECT_EQ(frame[i], expected[i]) << i;
  EXPECT_EQ(LightFrame::PackButtonColour({0x11, 0x22, 0x33, 0}), 0x223311u);
}

TEST(LightFrame, SkipsLed126AndStopsAtTheFrameEnd) {
  std::vector<LedColour> leds(171, LedColour{255, 255, 255, 255});
  std::array<std::uint8_t, 512> frame{};
  EXPECT_EQ(LightFrame::BuildStreamFrame(leds, frame), 512u);
  EXPECT_EQ(frame[377], 254);
  EXPECT_EQ(frame[378], 0);
  EXPECT_EQ(frame[380], 0);
  EXPECT_EQ(frame[381], 254);
  EXPECT_EQ(frame[511], 254);  // LED 170's green; its blue has no room
}

}  // namespace
}  // namespace ostrel
