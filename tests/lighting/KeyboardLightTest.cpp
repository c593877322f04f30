// The keyboard's own effects, zones, key reactions and per-key colours.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "lighting/KeyboardLightAnimator.h"
#include "lighting/LightMath.h"
#include "lighting/LightTables.h"

namespace ostrel {
namespace {

LightSetting Main(int effect, int multi = 0, Rgb colour = {200, 100, 50}) {
  LightSetting s;
  s.selectItem = static_cast<std::uint8_t>(effect);
  s.light = 4;
  s.speed = 4;
  s.fx = 1;
  s.multiColor = static_cast<std::uint8_t>(multi);
  s.red = colour.red;
  s.green = colour.green;
  s.blue = colour.blue;
  s.logoSelectItem = 5;  // zones off unless a test lights them
  s.stSelectItem = 5;
  return s;
}

class RecordingHost : public KeyboardLightHost {
 public:
  int group = -1;
  bool longTimeout = false;
  std::vector<std::vector<std::uint8_t>> writes;
  std::vector<std::pair<int, std::vector<CustomColor>>> stores;

  int SelectedCustomGroup() const override { return group; }
  bool HasLongTimeout() const override { return longTimeout; }
  int WriteLedColours(const std::uint8_t* frame, std::size_t length) override {
    writes.emplace_back(frame, frame + length);
    return 1;
  }
  void StoreCustomColours(int g, std::span<const CustomColor> colours) override {
    stores.emplace_back(g, std::vector<CustomColor>(colours.begin(), colours.end()));
  }
  void ReadCustomColours(int g, std::span<CustomColor> out) override {
    reads.push_back(g);
    for (std::size_t k = 0; k < out.size(); ++k)
      out[k] = {static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(k), 0, 0};
  }
  void SelectCustomGroup(int g) override {
    group = g;
    comboSelections.push_back(g);
  }
  void SetProfileCustomGroup(int g) override { profileGroup = g; }
  std::vector<int> reads;
  std::vector<int> comboSelections;
  int profileGroup = -1;
};

TEST(KeyboardLight, RemapKeyExchangesTheTopRightKeys) {
  struct Case {
    int key, expected;
  } cases[] = {{17, 20}, {20, 17},  {18, 19},   {19, 18},  {15, 15},  {0, 0},
               {77, 77}, {16, 126}, {126, 126}, {-1, 126}, {124, 126}};
  for (const Case& c : cases) EXPECT_EQ(KeyboardLightAnimator::RemapKey(c.key), c.expected) << c.key;
}

TEST(KeyboardLight, KeyPressesReactUnderEffectSevenOnly) {
  KeyboardLightAnimator kb;
  kb.SetLightSetting(Main(7));
  kb.OnDeviceKey(30, 1);
  EXPECT_EQ(kb.State().intensity[30], 255);
  EXPECT_EQ(kb.Effects().reactive[30], 2);
  kb.StepMain(0);
  EXPECT_EQ(kb.State().intensity[30], 250);
  EXPECT_EQ(kb.State().GetLedColour(30), (LedColour{200, 100, 50, Scale(255, 250)}));
  for (int i = 0; i < 49; ++i) kb.StepMain(0);
  EXPECT_EQ(kb.State().intensity[30], 5);
  kb.StepMain(0);
  EXPECT_EQ(kb.State().intensity[30], 0);
  EXPECT_EQ(kb.Effects().reactive[30], 0);

  KeyboardLightAnimator breathing;
  breathing.SetLightSetting(Main(5));
  breathing.OnDeviceKey(30, 1);
  breathing.OnDeviceKey(30, 2);
  EXPECT_EQ(breathing.State().intensity[30], 0);
  EXPECT_EQ(breathing.Effects().reactive[30], 0);
}

// Reactive effects with nothing lit sleep until a key lights something.
TEST(KeyboardLight, KeyEffectsSleepUntilAKeyEvent) {
  for (int effect : {7, 8, 9}) {
    KeyboardLightAnimator kb;
    int wakes = 0;
    kb.SetKeyEventWake([&] { ++wakes; });
    kb.SetLightSetting(Main(effect));
    EXPECT_EQ(kb.RunDue(0), kNeverDue) << effect;
    kb.OnDeviceKey(50, 1);
    EXPECT_EQ(wakes, 1) << effect;
    EXPECT_EQ(kb.RunDue(1), 1 + 2 * kTickMs) << effect;
    EXPECT_NE(kb.State().GetLedColour(50).brightness, 0) << effect;
    std::int64_t now = 1;
    std::int64_t due = 0;
    for (int i = 0; i < 400 && due != kNeverDue; ++i) due = kb.RunDue(now += 2 * kTickMs);
    EXPECT_EQ(due, kNeverDue) << effect;  // faded out: asleep again
    EXPECT_EQ(kb.State().GetLedColour(50).brightness, 0) << effect;
  }
  KeyboardLightAnimator other;
  int wakes = 0;
  other.SetKeyEventWake([&] { ++wakes; });
  other.SetLightSetting(Main(5));
  other.OnDeviceKey(50, 1);
  EXPECT_EQ(wakes, 0);
}

TEST(KeyboardLight, DeviceKeysGoThroughTheSlotMap) {
  KeyboardLightAnimator kb;
  std::array<int, kKeyboardKeyCount> slots{};
  for (int k = 0; k < kKeyboardKeyCount; ++k) slots[k] = k + 1;  // key k is slot k + 1
  kb.SetKeySlotMap(slots);
  kb.SetLightSetting(Main(7));
  kb.OnDeviceKey(41, 2);
  EXPECT_EQ(kb.State().intensity[40], 255);
  EXPECT_EQ(kb.State().intensity[41], 0);
  kb.OnDeviceKey(0, 1);   // no key has slot 0
  kb.OnDeviceKey(41, 3);  // not a key event
  EXPECT_EQ(kb.State().intensity[0], 0);
}

TEST(KeyboardLight, RippleStartsAtThePressedKey) {
  KeyboardLightAnimator kb;
  kb.SetLightSetting(Main(8));
  kb.OnDeviceKey(50, 1);  // grid column 9, row 2
  kb.StepMain(0);
  EXPECT_EQ(kb.State().intensity[50], 215);
  EXPECT_EQ(kb.State().intensity[29], 0);
  kb.StepMain(0);
  // One step on, the fronts reach the four neighbours: columns 8 and 10 of
  // the same row, rows 1 and 3 of the same column.
  for (int key : {49, 51, 29, 71}) EXPECT_EQ(kb.State().intensity[key], 215) << key;
  EXPECT_EQ(kb.State().intensity[28], 0);
  EXPECT_EQ(kb.State().intensity[50], 175);
}

TEST(KeyboardLight, KeysOutsideTheGridNeverLightInGridEffects) {
  for (int effect : {1, 5, 12}) {
    KeyboardLightAnimator kb;
    kb.SetLightSetting(Main(effect, 1));
    for (int i = 0; i < 300; ++i) kb.StepMain(i);
    EXPECT_EQ(kb.State().GetLedColour(16), LedColour{}) << effect;
    EXPECT_EQ(kb.State().GetLedColour(55), LedColour{}) << effect;
    EXPECT_NE(kb.State().GetLedColour(0).brightness, 0) << effect;
  }
}

TEST(KeyboardLight, EffectStartSeedsItsState) {
  KeyboardLightAnimator kb;
  kb.SetLightSetting(Main(1));
  const std::vector<int> firstIndices(kb.Effects().colourIndex.begin(), kb.Effects().colourIndex.begin() + 7);
  EXPECT_EQ(firstIndices, (std::vector<int>{33, 66, 99, 132, 165, 6, 39}));

  kb.SetLightSetting(Main(15));
  // Key 84 sits at extended column 0, row 5.
  EXPECT_EQ(kb.State().intensity[84], kSeedTable[5]);
  EXPECT_EQ(kb.Effects().colourIndex[84], 0);
  EXPECT_EQ(kb.Effects().colourIndex[0], 14);

  kb.SetLightSetting(Main(21));
  // Column 0: 192 - 35 × 6 = -18, +193 = 175 at row 5.
  EXPECT_EQ(kb.Effects().counter[84], 175);
  kb.SetLightSetting(Main(13));
  EXPECT_EQ(kb.Effects().lu[9], 64);
  kb.SetLightSetting(Main(16));
  EXPECT_EQ(kb.Effects().rd[1], 1);
  EXPECT_EQ(kb.Effects().lu[9], 0);
}

TEST(KeyboardLight, MainEffectChangeResetsTheZonesButZoneChangesDoNot) {
  KeyboardLightAnimator kb;
  LightSetting main = Main(1);
  LightSetting logo;
  logo.logoSelectItem = 0;
  logo.logoLight = 4;
  logo.logoSpeed = 4;
  LightSetting st;
  kb.ApplyLighting(main, logo, st);
  for (int i = 0; i < 10; ++i) {
    kb.StepMain(i);
    kb.StepLogo(i);
  }
  EXPECT_EQ(kb.State().phase, 10);
  EXPECT_EQ(kb.Effects().logoPhase, 10);
  logo.logoSelectItem = 1;
  kb.ApplyLighting(main, logo, st);
  EXPECT_EQ(kb.State().phase, 10);
  EXPECT_EQ(kb.Effects().logoPhase, 10);
  EXPECT_EQ(kb.GetLightSetting().logoSelectItem, 1);
  kb.ApplyLighting(Main(12), logo, st);
  EXPECT_EQ(kb.State().phase, 0);
  EXPECT_EQ(kb.Effects().logoPhase, 0);
}

// The bounce marker dwells one step on each end before turning.
TEST(KeyboardLight, BounceDwellsAtEachEnd) {
  KeyboardLightAnimator kb;
  LightSetting st;
  st.stSelectItem = 2;
  st.stLight = 4;
  kb.ApplyLighting(Main(24), LightSetting{}, st);
  std::vector<int> positions;
  for (int i = 0; i < 14; ++i) {
    kb.StepSt(0);
    positions.push_back(kb.Effects().stPhase);
    EXPECT_EQ(kb.Effects().stLevels[kb.Effects().stPhase], 254);
  }
  EXPECT_EQ(positions, (std::vector<int>{1, 2, 3, 4, 5, 5, 4, 3, 2, 1, 0, 0, 1, 2}));
  // Behind the marker the levels decay.
  EXPECT_EQ(kb.Effects().stLevels[1], 214);
  // Each LED shows its level before the marker moves on to it.
  EXPECT_EQ(kb.StLeds()[1].brightness, Scale(255, 214));
  EXPECT_EQ(kb.StLeds()[2].brightness, Scale(255, 64));
}

TEST(KeyboardLight, LogoRgbSwitchDarkensItsFirstSixLeds) {
  KeyboardLightAnimator kb;
  LightSetting logo;
  logo.logoSelectItem = 4;
  logo.logoLight = 4;
  logo.logoMultiColor = 1;
  logo.rgbDengOffOn = 1;
  kb.ApplyLighting(Main(24), logo, LightSetting{});
  kb.RunDue(0);
  std::array<LedColour, kLogoLedCount> out{};
  kb.CopyLogoLeds(out);
  EXPECT_EQ(out[5].brightness, 0);
  EXPECT_EQ(out[6].brightness, 255);
  const Rgb c = kSmallColourWheel[5 + 4 * 6];
  EXPECT_EQ(out[6].red, c.red);
}

TEST(KeyboardLight, PerKeyColoursNeedEffectTwenty) {
  RecordingHost host;
  host.group = 2;
  KeyboardLightAnimator kb;
  kb.SetLightSetting(Main(5));
  const std::vector<int> keys = {3, 4};
  kb.ColourKey(3, host);
  kb.ColourSelectedKeys(keys, host);
  EXPECT_EQ(kb.DownloadLedColours(host), 0);
  std::array<std::uint8_t, 512> table{};
  EXPECT_FALSE(kb.BuildLedColourTable(table));
  EXPECT_TRUE(host.writes.empty());
  EXPECT_TRUE(host.stores.empty());
  EXPECT_EQ(kb.State().GetLedColour(3).red, 0);
}

TEST(KeyboardLight, SelectedKeysWithoutAGroupColourOnlyTheFirst) {
  RecordingHost host;
  KeyboardLightAnimator kb;
  kb.SetLightSetting(Main(20, 0, {1, 2, 3}));
  const std::vector<int> keys = {200, 7, 8, 9};
  kb.ColourSelectedKeys(keys, host);
  EXPECT_EQ(kb.State().GetLedColour(7), (LedColour{1, 2, 3, 0}));
  EXPECT_EQ(kb.State().GetLedColour(8), LedColour{});
  EXPECT_TRUE(host.writes.empty());
  EXPECT_TRUE(host.stores.empty());
}

TEST(KeyboardLight, SelectedKeysWithAGroupAreSentAndStored) {
  RecordingHost host;
  host.group = 1;
  KeyboardLightAnimator kb;
  std::array<std::uint8_t, kKeyboardKeyCount> ledMap{};
  for (int k = 0; k < kKeyboardKeyCount; ++k) ledMap[k] = static_cast<std::uint8_t>(k + 40);
  ledMap[9] = 255;   // a key without LED
  ledMap[10] = 170;  // the last LED: its blue byte has no room
  kb.SetKeyLedMap(ledMap);
  kb.SetLightSetting(Main(20, 0, {1, 2, 3}));
  const std::vector<int> keys = {8, 9, 10, 18, 126};
  kb.ColourSelectedKeys(keys, host);
  ASSERT_EQ(host.writes.size(), 1u);
  const auto& frame = host.writes[0];
  ASSERT_EQ(frame.size(), 512u);
  EXPECT_EQ(frame[3 * 48], 1);
  EXPECT_EQ(frame[3 * 48 + 2], 3);
  EXPECT_EQ(frame[3 * 18 + 1], 2);  // keys 17-20 use their own LED
  EXPECT_EQ(frame[3 * 58], 0);
  EXPECT_EQ(frame[510], 1);
  EXPECT_EQ(frame[511], 2);
  ASSERT_EQ(host.stores.size(), 1u);
  EXPECT_EQ(host.stores[0].first, 1);
  EXPECT_EQ(host.stores[0].second.size(), 126u);
  EXPECT_EQ(host.stores[0].second[9], (CustomColor{1, 2, 3, 0}));
  EXPECT_EQ(host.stores[0].second[11], CustomColor{});

  host.longTimeout = true;
  kb.ColourKey(11, host);
  EXPECT_EQ(host.writes.size(), 1u);  // not over a wireless link
  EXPECT_EQ(host.stores.size(), 2u);
}

TEST(KeyboardLight, CustomGroupShowsAtTheZoneBrightness) {
  RecordingHost host;
  KeyboardLightAnimator kb;
  kb.SetLightSetting(Main(20, 0, {9, 8, 7}));
  std::vector<CustomColor> group(126, CustomColor{50, 60, 70, 0});
  kb.LoadCustomColours(group);
  EXPECT_EQ(kb.RunDue(0), kNeverDue);
  EXPECT_EQ(kb.State().GetLedColour(100), (LedColour{50, 60, 70, 255}));
  kb.FillCustomColours(true, host);
  EXPECT_EQ(kb.State().GetLedColour(100), (LedColour{9, 8, 7, 255}));
  EXPECT_EQ(host.writes.size(), 1u);
  EXPECT_TRUE(host.stores.empty());  // no group selected
}

TEST(KeyboardLight, StartingEffectTwentyReloadsTheStoredGroup) {
  RecordingHost host;
  LightSetting main = Main(20);
  main.customLightModeGroupIndex = 3;
  KeyboardLightAnimator kb;
  kb.ApplyLighting(main, main, main, &host);
  EXPECT_EQ(host.reads, (std::vector<int>{3}));
  EXPECT_EQ(host.comboSelections, (std::vector<int>{3}));
  EXPECT_EQ(host.profileGroup, -1);  // a reload leaves the profile's group
  ASSERT_EQ(host.writes.size(), 1u);
  EXPECT_EQ(host.writes[0][3 * 40 + 1], 40);  // key 40: green = its number
  EXPECT_EQ(kb.State().GetLedColour(40), (LedColour{3, 40, 0, 0}));
  kb.ApplyLighting(main, main, main, &host);  // same effect: nothing reloads
  EXPECT_EQ(host.reads.size(), 1u);

  kb.LoadCustomGroup(5, host);
  EXPECT_EQ(host.profileGroup, 5);
  EXPECT_EQ(host.writes.size(), 2u);
  EXPECT_EQ(kb.State().GetLedColour(2).red, 5);
}

TEST(KeyboardLight, SweepFadesBehindItsRow) {
  KeyboardLightAnimator kb;
  kb.SetLightSetting(Main(27));
  kb.StepMain(0);  // row 1: 0, 26, 27, 50, 51
  EXPECT_EQ(kb.State().intensity[0], 250);
  EXPECT_EQ(kb.Effects().colourIndex[0], 3);
  EXPECT_EQ(kb.State().GetLedColour(0), (LedColour{200, 100, 50, Scale(255, 250)}));
  kb.StepMain(0);  // row 2 relights 27, 50, 51
  EXPECT_EQ(kb.State().intensity[0], 245);
  EXPECT_EQ(kb.State().intensity[27], 250);
}

TEST(KeyboardLight, StepsAtTheKeyboardThresholds) {
  KeyboardLightAnimator kb;
  LightSetting s = Main(12);
  s.speed = 0;
  kb.ApplyLighting(s, LightSetting{}, LightSetting{});
  // Main zone 6 ticks; the logo and St zones run wave 0 at speed 0: 6 ticks.
  EXPECT_EQ(kb.RunDue(0), 6 * kTickMs);
  s = kb.GetLightSetting();
  s.selectItem = 24;
  kb.SetLightSetting(s);
  EXPECT_EQ(kb.RunDue(1), 1 + 6 * kTickMs);  // only the zones remain
  LightSetting offZones = s;
  offZones.logoSelectItem = 5;
  offZones.stSelectItem = 5;
  kb.SetLightSetting(offZones);
  EXPECT_EQ(kb.RunDue(2), kNeverDue);
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

// The main zone's flash and the logo's flash share one toggle: when the
// main zone turns off, the logo turns off with it.
TEST(KeyboardLight, FlashingZonesShareOneToggle) {
  KeyboardLightAnimator kb;
  LightSetting main = Main(26);  // 7 × 200 ms at speed 4
  LightSetting logo;
  logo.logoSelectItem = 3;  // 28 × 100 ms at speed 0
  logo.logoLight = 4;
  logo.logoRed = 255;
  LightSetting st;
  st.stSelectItem = 5;
  kb.ApplyLighting(main, logo, st);
  EXPECT_EQ(kb.RunDue(0), 1400);
  EXPECT_EQ(kb.LogoLeds()[0], (LedColour{255, 0, 0, 255}));
  EXPECT_EQ(kb.State().GetLedColour(0), (LedColour{200, 100, 50, 255}));
  kb.RunDue(1400);
  EXPECT_EQ(kb.State().GetLedColour(0), LedColour{});
  EXPECT_EQ(kb.LogoLeds()[0], LedColour{});
}

}  // namespace
}  // namespace ostrel

namespace ostrel {
namespace {

// The self-running keyboard effects keep lighting keys step after step
// (the fronts re-seed themselves, the flares restart).
TEST(KeyboardLight, SelfRunningEffectsKeepGoing) {
  for (int effect : {10, 13, 14, 15, 16, 21, 27}) {
    KeyboardLightAnimator kb;
    kb.SetLightSetting(Main(effect));
    int darkSteps = 0;
    for (int i = 0; i < 3000; ++i) {
      kb.StepMain(i);
      int lit = 0;
      for (const LedColour& c : kb.State().Leds()) lit += c.brightness != 0 ? 1 : 0;
      darkSteps = lit == 0 ? darkSteps + 1 : 0;
      ASSERT_LT(darkSteps, 60) << "effect " << effect << " went dark at step " << i;
    }
  }
}

TEST(KeyboardLight, ShowRunsThroughItsStagesAndStartsOver) {
  KeyboardLightAnimator kb;
  kb.SetLightSetting(Main(14));
  std::vector<int> stages = {0};
  for (int i = 0; i < 400 && stages.size() < 6; ++i) {
    kb.StepMain(i);
    if (kb.Effects().stage != stages.back()) stages.push_back(kb.Effects().stage);
  }
  EXPECT_EQ(stages, (std::vector<int>{0, 1, 2, 3, 4, 0}));
}

}  // namespace
}  // namespace ostrel
