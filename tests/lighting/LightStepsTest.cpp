// The common steps, the ring functions and the tables, one step at a time.
#include <gtest/gtest.h>

#include <vector>

#include "lighting/LightEffectState.h"
#include "lighting/LightMath.h"
#include "lighting/LightSteps.h"
#include "lighting/LightTables.h"

namespace ostrel {
namespace {

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

TEST(LightTables, CurvesAndWheelHoldTheirValues) {
  EXPECT_EQ(kBreathingCurve[10], 10);
  EXPECT_EQ(kBreathingCurve[117], 10);
  EXPECT_EQ(kWaveCurve[48], 255);
  EXPECT_EQ(kWaveCurve[94], 24);
  EXPECT_EQ(kColourWheel[0], (Rgb{255, 1, 0}));
  EXPECT_EQ(kColourWheel[32], (Rgb{248, 255, 0}));
  EXPECT_EQ(kColourWheel[191], (Rgb{255, 0, 0}));
  EXPECT_EQ(kColourWheel[200], kColourWheel[8]);
  EXPECT_EQ(kSmallColourWheel[16], (Rgb{248, 255, 0}));
}

TEST(LightStepPhase, WrapsBothWays) {
  struct Case {
    int direction, limit, phase, delta, expected;
  } cases[] = {
      {1, 128, 0, 1, 1}, {1, 128, 127, 1, 0}, {0, 128, 0, 1, 127}, {0, 128, 5, 1, 4},
      {1, 96, 93, 3, 0}, {0, 96, 1, 3, 93},   {1, 192, 191, 1, 0}, {0, 52, 0, 1, 51},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StepPhase(c.direction, static_cast<std::uint8_t>(c.limit), static_cast<std::uint8_t>(c.phase),
                        static_cast<std::uint8_t>(c.delta)),
              c.expected)
        << c.direction << " " << c.limit << " " << c.phase;
}

TEST(LightSteps, BreathingRunsThePhaseAndStepsTheColourIndexAtEachReturn) {
  struct Case {
    int direction;
    int steps;
    int phase;
    int colourIndex;
  } cases[] = {
      {1, 1, 1, 0},   {1, 127, 127, 0}, {1, 128, 0, 16}, {1, 256, 0, 32},   {1, 128 * 12, 0, 0},
      {0, 1, 127, 0}, {0, 2, 126, 0},   {0, 128, 0, 16}, {0, 129, 127, 16},
  };
  for (const Case& c : cases) {
    LightEffectState state(3);
    const LightSetting s = Setting(2, 4, 0, c.direction, 1);
    for (int i = 0; i < c.steps; ++i) LightSteps::StepBreathing(state, s);
    EXPECT_EQ(state.phase, c.phase) << "direction " << c.direction << " steps " << c.steps;
    EXPECT_EQ(state.colourIndex, c.colourIndex) << "direction " << c.direction << " steps " << c.steps;
    const Rgb wheel = kColourWheel[state.colourIndex];
    const LedColour expected{wheel.red, wheel.green, wheel.blue, Scale(255, kBreathingCurve[state.phase])};
    for (const LedColour& led : state.Leds()) EXPECT_EQ(led, expected);
  }
}

TEST(LightSteps, BreathingInFixedColourScalesTheLevel) {
  LightEffectState state(2);
  const LightSetting s = Setting(2, 2, 0, 1, 0);
  for (int i = 0; i < 63; ++i) LightSteps::StepBreathing(state, s);
  EXPECT_EQ(state.GetLedColour(1), (LedColour{200, 100, 50, Scale(126, 255)}));
}

TEST(LightSteps, FourColoursStartOverFromAWheelColourIndex) {
  // The colour index is shared with the wheel effects; a switch from
  // breathing leaves it far past the four colours.
  LightEffectState state(1);
  state.colourIndex = 48;
  LightSteps::StepBreathingFour(state, Setting(6, 4, 0, 1, 0));
  EXPECT_EQ(state.colourIndex, 0);
  for (int i = 0; i < 127; ++i) LightSteps::StepBreathingFour(state, Setting(6, 4, 0, 1, 0));
  EXPECT_EQ(state.colourIndex, 1);
  const Rgb c = kFourColours[1];
  EXPECT_EQ(state.GetLedColour(0), (LedColour{c.red, c.green, c.blue, 0}));
}

TEST(LightSteps, SpectrumWalksTheWheel) {
  LightEffectState state(1);
  for (int i = 0; i < 191; ++i) LightSteps::StepSpectrum(state, Setting(1, 3, 0, 1, 0));
  EXPECT_EQ(state.phase, 191);
  LightSteps::StepSpectrum(state, Setting(1, 3, 0, 1, 0));
  EXPECT_EQ(state.phase, 0);
  const Rgb c = kColourWheel[0];
  EXPECT_EQ(state.GetLedColour(0), (LedColour{c.red, c.green, c.blue, 190}));
}

TEST(LightSteps, FlashTogglesOnTimeOnly) {
  LightEffectState state(2);
  const LightSetting s = Setting(4, 4, 0, 0, 0);
  struct Probe {
    std::int64_t now;
    bool on;
  } probes[] = {{0, true}, {1, true}, {5599, true}, {5600, false}, {11199, false}, {11200, true}};
  for (const Probe& p : probes) {
    LightSteps::StepFlash(state, s, p.now);
    EXPECT_EQ(state.GetLedColour(0), p.on ? (LedColour{200, 100, 50, 255}) : LedColour{}) << p.now;
  }
  EXPECT_EQ(state.colourIndex, 48);  // three toggles
}

TEST(LightSteps, FadeKeyTakes255ToZeroIn18Calls) {
  LightEffectState state;
  state.intensity[5] = 255;
  const std::vector<int> expected = {215, 175, 135, 95, 65, 35, 25, 17, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
  std::vector<int> seen;
  for (int i = 0; i < 18; ++i) {
    state.FadeKey(5);
    seen.push_back(state.intensity[5]);
  }
  EXPECT_EQ(seen, expected);
  state.FadeKey(5);
  EXPECT_EQ(state.intensity[5], 0);
  state.FadeKey(-1);  // ignored
  state.FadeKey(126);
}

TEST(LightSteps, RingRotatesAndLightsItsKeys) {
  LightEffectState state;
  state.ring[0] = 1;
  state.ring[22] = 2;
  state.RotateRing(23, 1);  // last to first
  EXPECT_EQ(state.ring[0], 2);
  EXPECT_EQ(state.ring[1], 1);
  state.RotateRing(23, 0);  // first to last
  EXPECT_EQ(state.ring[0], 1);
  EXPECT_EQ(state.ring[22], 2);
  state.RotateRing(8, 0);
  EXPECT_EQ(state.ring[7], 1);
  EXPECT_EQ(state.ring[22], 2);
  // A page with more LEDs than ring bytes lights only the ring's 23.
  state.LightRingKeys(126);
  EXPECT_EQ(state.intensity[7], 255);
  EXPECT_EQ(state.intensity[22], 255);
  EXPECT_EQ(state.intensity[23], 0);
  state.ClearEffectBuffers();
  EXPECT_EQ(state.intensity[7], 0);
  EXPECT_EQ(state.ring[22], 0);
}

TEST(LightSteps, HeadsetWaveSpacesItsLedsAndStepsByThree) {
  LightEffectState state(13);
  const LightSetting s = Setting(0, 4, 0, 1, 0);
  LightSteps::StepWave(state, s, 7);
  EXPECT_EQ(state.phase, 3);
  for (int i = 0; i < 13; ++i)
    EXPECT_EQ(state.GetLedColour(i).brightness, Scale(255, kWaveCurve[(3 + 10 * i) % 96])) << i;
  LightEffectState mouse(6);
  LightSteps::StepWave(mouse, Setting(0, 4, 0, 1, 1), 2);
  const Rgb c = kColourWheel[(2 + 7 * 5) % 192];
  EXPECT_EQ(mouse.GetLedColour(5), (LedColour{c.red, c.green, c.blue, 255}));
}

}  // namespace
}  // namespace ostrel
