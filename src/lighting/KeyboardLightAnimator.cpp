#include "lighting/KeyboardLightAnimator.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "devicelink/DeviceProtocol.h"
#include "lighting/LightEffectCodes.h"
#include "lighting/LightMath.h"
#include "lighting/LightSteps.h"
#include "lighting/LightTables.h"

namespace ostrel {
namespace {

constexpr std::uint8_t kAllRows = 0xFF;

// Main-zone effects that draw the same frame until the settings change.
bool IsFixedMainEffect(int code) { return code == 6 || code == 17 || code == 20 || code == 24; }
bool IsFlashMainEffect(int code) { return code == 23 || code == 26; }

std::uint8_t DecayBounce(std::uint8_t v) {
  if (v >= 128) return v - 40;
  if (v >= 64) return v - 30;
  if (v >= 32) return v - 20;
  if (v >= 16) return v - 10;
  if (v >= 8) return v - 5;
  if (v >= 1) return v - 1;
  return 0;
}

}  // namespace

KeyboardLightAnimator::KeyboardLightAnimator() : main_(kKeyboardKeyCount) {
  for (int k = 0; k < kKeyboardKeyCount; ++k) {
    keySlotMap_[k] = k;
    keyLedMap_[k] = static_cast<std::uint8_t>(k);
  }
}

// ---- settings -------------------------------------------------------------

void KeyboardLightAnimator::ApplyLighting(const LightSetting& main, const LightSetting& logo,
                                          const LightSetting& st, KeyboardLightHost* host) {
  LightSetting merged = main;
  merged.logoSelectItem = logo.logoSelectItem;
  merged.logoLight = logo.logoLight;
  merged.logoSpeed = logo.logoSpeed;
  merged.logoFx = logo.logoFx;
  merged.logoMultiColor = logo.logoMultiColor;
  merged.logoRed = logo.logoRed;
  merged.logoGreen = logo.logoGreen;
  merged.logoBlue = logo.logoBlue;
  merged.unused20 = logo.unused20;
  merged.rgbDengOffOn = logo.rgbDengOffOn;
  merged.stSelectItem = st.stSelectItem;
  merged.stLight = st.stLight;
  merged.stSpeed = st.stSpeed;
  merged.stFx = st.stFx;
  merged.stMultiColor = st.stMultiColor;
  merged.stRed = st.stRed;
  merged.stGreen = st.stGreen;
  merged.stBlue = st.stBlue;
  if (SetLightSetting(merged) && merged.selectItem == kCustomColoursEffect && host != nullptr)
    ReloadCustomGroup(*host);
}

bool KeyboardLightAnimator::SetLightSetting(const LightSetting& main) {
  std::lock_guard lock(mutex_);
  setting_ = main;
  pending_ = true;
  if (main.selectItem == previousEffect_) return false;
  previousEffect_ = main.selectItem;
  StartMainEffect();
  return true;
}

LightSetting KeyboardLightAnimator::GetLightSetting() const {
  std::lock_guard lock(mutex_);
  return setting_;
}

void KeyboardLightAnimator::SetCustomSteps(std::vector<LightEffectStep> steps) {
  std::lock_guard lock(mutex_);
  main_.custom.SetSteps(std::move(steps));
  pending_ = true;
}

void KeyboardLightAnimator::SetLightList(std::vector<LightListEntry> list, std::int64_t nowMs) {
  std::lock_guard lock(mutex_);
  main_.perLed.SetList(std::move(list), nowMs);
  pending_ = true;
}

void KeyboardLightAnimator::SetKeySlotMap(std::span<const int, kKeyboardKeyCount> map) {
  std::lock_guard lock(mutex_);
  std::copy(map.begin(), map.end(), keySlotMap_.begin());
}

void KeyboardLightAnimator::SetKeyLedMap(std::span<const std::uint8_t, kKeyboardKeyCount> map) {
  std::lock_guard lock(mutex_);
  std::copy(map.begin(), map.end(), keyLedMap_.begin());
}

void KeyboardLightAnimator::SetRandomSeed(std::uint32_t seed) {
  std::lock_guard lock(mutex_);
  fx_.random = seed == 0 ? 1 : seed;
}

void KeyboardLightAnimator::SetPaused(bool paused) {
  std::lock_guard lock(mutex_);
  paused_ = paused;
  pending_ = true;
}

bool KeyboardLightAnimator::IsPaused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

void KeyboardLightAnimator::StartMainEffect() {
  ResetKeyboardEffects();
  // Keys outside the grid-based effects must not keep the last effect's
  // colours.
  main_.FillAll({});
  main_.custom.Restart();
  switch (setting_.selectItem) {
    case 13:
      SeedFrontsMiddle();
      break;
    case 15:
      InitFlareSeeds();
      break;
    case 16:
      SeedFrontsLeft();
      break;
    case 21:
      InitFlarePhases();
      break;
    default:
      // Effect 20 also reloads its group: the page does that with
      // LoadCustomColours.
      InitRainbowIndices();
      break;
  }
}

// ---- effect state -----------------------------------------------------------

void KeyboardLightAnimator::ResetKeyboardEffects() {
  main_.phase = 0;
  fx_.logoPhase = 0;
  fx_.stPhase = 0;
  fx_.stage = 0;
  fx_.logoBounceUp = true;
  fx_.stBounceUp = true;
  main_.intensity.fill(0);
  fx_.reactive.fill(0);
  fx_.logoLevels.fill(0);
  fx_.stLevels.fill(0);
  fx_.lu.fill(0);
  fx_.ru.fill(0);
  fx_.rd.fill(0);
  fx_.ld.fill(0);
}

void KeyboardLightAnimator::InitRainbowIndices() {
  int s = 0;
  for (int k = 0; k < kKeyboardKeyCount; ++k) {
    s = s >= 160 ? s + 33 - 192 : s + 33;
    fx_.colourIndex[k] = static_cast<std::uint8_t>(s);
  }
}

void KeyboardLightAnimator::InitFlareSeeds() {
  for (int c = 0; c < kGridColumns; ++c)
    for (int j = 0; j < kExtendedGridRows; ++j) {
      const int key = kExtendedGrid[c][j];
      if (key >= kKeyboardKeyCount) continue;
      main_.intensity[key] = kSeedTable[6 * c + j];
      fx_.colourIndex[key] = static_cast<std::uint8_t>(7 * c);
    }
}

void KeyboardLightAnimator::InitFlarePhases() {
  for (int c = 0; c < kGridColumns; ++c) {
    int v = 192 - 8 * c;
    for (int j = 0; j < kExtendedGridRows; ++j) {
      v -= 35;
      if (v < 0) v += 193;
      const int key = kExtendedGrid[c][j];
      if (key >= kKeyboardKeyCount) continue;
      fx_.counter[key] = static_cast<std::uint8_t>(v);
      fx_.colourIndex[key] = static_cast<std::uint8_t>(7 * c);
    }
  }
}

void KeyboardLightAnimator::SeedFrontsLeft() {
  fx_.lu[1] |= 1;
  fx_.ru[1] |= 1;
  fx_.rd[1] |= 1;
  fx_.ld[1] |= 1;
}

void KeyboardLightAnimator::SeedFrontsMiddle() {
  fx_.lu[9] |= 64;
  fx_.ru[9] |= 64;
  fx_.rd[9] |= 64;
  fx_.ld[9] |= 64;
}

std::uint32_t KeyboardLightAnimator::Random() {
  std::uint32_t x = fx_.random;
  x ^= x << 13;
  x ^= x >> 17;
  x ^= x << 5;
  fx_.random = x;
  return x;
}

int KeyboardLightAnimator::RemapKey(int key) {
  if (key < 0 || key > kKeyboardKeyCount) return kNoKey;
  return kRemappedKey[static_cast<std::size_t>(key)];
}

void KeyboardLightAnimator::SetKey(int key, Rgb colour, std::uint8_t brightness) {
  main_.SetLedColour(key, LightSteps::Entry(colour, brightness));
}

// ---- wave fronts ------------------------------------------------------------

void KeyboardLightAnimator::LightFronts() {
  for (int c = 0; c < kGridColumns; ++c) {
    const std::uint8_t bits = fx_.lu[c] | fx_.ru[c] | fx_.rd[c] | fx_.ld[c];
    for (int j = 0; j < kGridRows; ++j) {
      if (!(bits & (1u << j))) continue;
      const int key = kKeyGrid[c][j];
      if (key == kNoKey) continue;
      main_.intensity[key] = 255;
      if (setting_.multiColor) fx_.colourIndex[key] = RandomColourIndex();
    }
  }
}

void KeyboardLightAnimator::SpreadFronts() {
  auto& lu = fx_.lu;
  auto& ld = fx_.ld;
  auto& ru = fx_.ru;
  auto& rd = fx_.rd;
  lu[0] >>= 1;
  ld[0] = static_cast<std::uint8_t>(ld[0] << 1);
  for (int c = 1; c < kGridColumns; ++c) {
    lu[c - 1] |= lu[c];
    lu[c] >>= 1;
    ld[c - 1] |= ld[c];
    ld[c] = static_cast<std::uint8_t>(ld[c] << 1);
  }
  ru[22] >>= 1;
  rd[22] = static_cast<std::uint8_t>(rd[22] << 1);
  for (int c = 21; c >= 0; --c) {
    ru[c + 1] |= ru[c];
    ru[c] >>= 1;
    rd[c + 1] |= rd[c];
    rd[c] = static_cast<std::uint8_t>(rd[c] << 1);
  }
}

void KeyboardLightAnimator::SlideFronts() {
  fx_.lu.fill(0);
  fx_.rd.fill(0);
  for (int c = 0; c < kGridColumns - 1; ++c) fx_.ld[c] = fx_.ld[c + 1];
  fx_.ld[22] = 0;
  for (int c = kGridColumns - 1; c > 0; --c) fx_.ru[c] = fx_.ru[c - 1];
  fx_.ru[0] = 0;
}

void KeyboardLightAnimator::MarkKeyColumn(int key, int event) {
  if (event != 1) return;
  for (int c = 0; c < kGridColumns; ++c)
    for (int j = 0; j < kGridRows; ++j)
      if (kKeyGrid[c][j] == key && key != kNoKey) {
        const auto bit = static_cast<std::uint8_t>(1u << j);
        fx_.lu[c] |= bit;
        fx_.ru[c] |= bit;
        fx_.rd[c] |= bit;
        fx_.ld[c] |= bit;
        return;
      }
}

void KeyboardLightAnimator::MarkKeyReactive(int key, int event) {
  if (key < 0 || key >= kKeyboardKeyCount) return;
  fx_.reactive[key] = static_cast<std::uint8_t>(event);
  main_.intensity[key] = 255;
}

// ---- key presses --------------------------------------------------------------

void KeyboardLightAnimator::ReactToKey(int key, int event) {
  switch (setting_.selectItem) {
    case 7:
      return MarkKeyReactive(key, event);
    case 8:
    case 9:
      return MarkKeyColumn(key, event);
    default:
      return;
  }
}

void KeyboardLightAnimator::OnDeviceKey(int deviceKeyIndex, int event) {
  if (event != 1 && event != 2) return;
  std::function<void()> wake;
  {
    std::lock_guard lock(mutex_);
    const int code = setting_.selectItem;
    if (code != 7 && code != 8 && code != 9) return;
    for (int key = 0; key < kKeyboardKeyCount; ++key) {
      if (keySlotMap_[key] != deviceKeyIndex) continue;
      ReactToKey(key, 1);
      ReactToKey(key, 2);
      // The step that draws the reaction is due now.
      nextMainMs_ = std::numeric_limits<std::int64_t>::min();
      wake = keyEventWake_;
      break;
    }
  }
  if (wake) wake();
}

void KeyboardLightAnimator::SetKeyEventWake(std::function<void()> wake) {
  std::lock_guard lock(mutex_);
  keyEventWake_ = std::move(wake);
}

bool KeyboardLightAnimator::KeyEffectIdle() const {
  const int code = setting_.selectItem;
  if (code != 7 && code != 8 && code != 9) return false;
  for (int k = 0; k < kKeyboardKeyCount; ++k)
    if (main_.intensity[k] != 0 || fx_.reactive[k] != 0) return false;
  if (code == 7) return true;
  for (int c = 0; c < kGridColumns; ++c)
    if (fx_.lu[c] | fx_.ru[c] | fx_.rd[c] | fx_.ld[c]) return false;
  return true;
}

// ---- main zone ----------------------------------------------------------------

void KeyboardLightAnimator::FadingDraw(bool pathOnly) {
  const std::uint8_t bright = LightSteps::Bright(setting_.light);
  const Rgb fixed = LightSteps::FixedColour(setting_);
  const auto draw = [&](int key) {
    main_.FadeKey(key);
    const Rgb colour = setting_.multiColor ? kColourWheel[fx_.colourIndex[key]] : fixed;
    SetKey(key, colour, Scale(bright, main_.intensity[key]));
  };
  if (pathOnly) {
    for (std::uint8_t key : kKeyPath)
      if (key != kNoKey) draw(key);
  } else {
    for (int key = 0; key < kKeyboardKeyCount; ++key) draw(key);
  }
}

void KeyboardLightAnimator::StepShow() {
  std::uint8_t& p = main_.phase;
  const auto light = [&](int key) {
    if (key >= kKeyboardKeyCount) return;
    main_.intensity[key] = 255;
    if (setting_.multiColor) fx_.colourIndex[key] = RandomColourIndex();
  };
  switch (fx_.stage) {
    case 0:
      if (p < kShowRows.size())
        for (std::uint8_t key : kShowRows[p]) light(key);
      if (++p >= 20) {
        p = 0;
        fx_.stage = 1;
      }
      break;
    case 1:
      if (p < 31) {
        for (std::uint8_t key : kShowPairs[p % 16]) light(key);
        ++p;
      } else if (main_.intensity[72] == 0) {
        fx_.stage = 2;
        p = 0;
      }
      break;
    case 2:
      MarkKeyColumn(50, 1);
      fx_.stage = 3;
      break;
    case 3:
      LightFronts();
      SpreadFronts();
      if (main_.intensity[117] != 0) fx_.stage = 4;
      break;
    default:
      if (main_.intensity[117] == 0) {
        fx_.stage = 0;
        p = 0;
      }
      break;
  }
}

void KeyboardLightAnimator::StepFlare(bool slow) {
  const std::uint8_t bright = LightSteps::Bright(setting_.light);
  const Rgb fixed = LightSteps::FixedColour(setting_);
  for (std::uint8_t key : kKeyPath) {
    if (key == kNoKey) continue;
    std::uint8_t& counter = slow ? fx_.counter[key] : main_.intensity[key];
    const int next = counter + (slow ? 1 : 2);
    if (next >= 192) {
      counter = 0;
      fx_.colourIndex[key] = RandomColourIndex();
    } else {
      counter = static_cast<std::uint8_t>(next);
    }
    const Rgb colour = setting_.multiColor ? kColourWheel[fx_.colourIndex[key]] : fixed;
    SetKey(key, colour, Scale(bright, kFlareCurve[counter]));
  }
}

void KeyboardLightAnimator::StepMain(std::int64_t nowMs) {
  const LightSetting& s = setting_;
  const std::uint8_t bright = LightSteps::Bright(s.light);
  const Rgb fixed = LightSteps::FixedColour(s);
  std::uint8_t& phase = main_.phase;
  const auto columns = [&](auto colourOf) {
    for (int c = 0; c < kGridColumns; ++c)
      for (std::uint8_t key : kKeyGrid[c])
        if (key != kNoKey) main_.SetLedColour(key, colourOf(c));
  };
  switch (s.selectItem) {
    case 1:
      if (s.multiColor) {
        phase = StepPhase(s.fx, 192, phase, 1);
        const int v = (phase + 1) % 192;
        columns([&](int c) { return LightSteps::Entry(kColourWheel[(v + 7 * c) % 192], bright); });
      } else {
        phase = StepPhase(s.fx, 96, phase, 1);
        if (phase >= 96) phase = 0;
        const int v = (phase + 1) % 96;
        columns([&](int c) { return LightSteps::Entry(fixed, Scale(bright, kWaveCurve[(v + 7 * c) % 96])); });
      }
      break;
    case 2:
      if (s.multiColor) {
        phase = StepPhase(s.fx, 192, phase, 1);
        columns([&](int c) { return LightSteps::Entry(kColourWheel[(phase + 2 * c) % 192], bright); });
      } else {
        phase = StepPhase(s.fx, 96, phase, 1);
        if (phase >= 96) phase = 0;
        columns(
            [&](int c) { return LightSteps::Entry(fixed, Scale(bright, kFlareCurve[(phase + c) % 96])); });
      }
      break;
    case 3: {
      const bool multi = s.multiColor;
      phase = StepPhase(s.fx, multi ? 192 : 96, phase, 1);
      if (!multi && phase >= 96) phase = 0;
      int n = 0;
      for (std::uint8_t key : kKeyPath) {
        if (key == kNoKey) continue;
        if (multi)
          SetKey(key, kColourWheel[(phase + 5 * n) % 192], bright);
        else
          SetKey(key, fixed, Scale(bright, kWaveCurve[(phase + 5 * n) % 96]));
        ++n;
      }
      break;
    }
    case 4:
      LightSteps::StepSpectrum(main_, s);
      break;
    case 5: {
      phase = StepPhase(s.fx, 128, phase, 1);
      if (phase == 0) main_.colourIndex = LightSteps::NextWheelIndex(main_.colourIndex, 16);
      const std::uint8_t b = Scale(bright, kBreathingCurve[phase & 127]);
      if (s.multiColor)
        columns([&](int c) { return LightSteps::Entry(kColourWheel[(7 * c) % 192], b); });
      else
        main_.FillAll(LightSteps::Entry(fixed, b));
      break;
    }
    case 6:
      if (s.multiColor) {
        for (int r = 0; r < static_cast<int>(kRingTable.size()); ++r)
          for (std::uint8_t key : kRingTable[r]) {
            if (key == kNoKey) continue;
            const int remapped = RemapKey(key);
            if (remapped != kNoKey) SetKey(remapped, kColourWheel[110 - 10 * r], bright);
          }
      } else {
        main_.FillAll(LightSteps::Entry(fixed, bright));
      }
      break;
    case 7:
      for (int key = 0; key < kKeyboardKeyCount; ++key) {
        std::uint8_t& v = main_.intensity[key];
        if (fx_.reactive[key] == 1) {
          v = static_cast<std::uint8_t>(std::min(v + 15, 255));
        } else if (fx_.reactive[key] == 2) {
          if (v > 5) {
            v -= 5;
          } else {
            v = 0;
            fx_.reactive[key] = 0;
          }
        }
        const Rgb colour = s.multiColor ? kColourWheel[fx_.colourIndex[key]] : fixed;
        SetKey(key, colour, Scale(bright, v));
      }
      break;
    case 8:
      LightFronts();
      SpreadFronts();
      FadingDraw(false);
      break;
    case 9:
      LightFronts();
      SlideFronts();
      FadingDraw(false);
      break;
    case 10:
      for (int i = 0; i < 6; ++i) {
        const int key = kAlternateKeyPath[Random() % 104];
        main_.intensity[key] = 255;
        fx_.colourIndex[key] = RandomColourIndex();
      }
      FadingDraw(false);
      break;
    case 11:
      for (int key = 0; key < kKeyboardKeyCount; ++key) {
        fx_.colourIndex[key] = LightSteps::NextWheelIndex(fx_.colourIndex[key], 1);
        SetKey(key, kColourWheel[fx_.colourIndex[key]], bright);
      }
      break;
    case 12: {
      phase = StepPhase(s.fx, 192, phase, 1);
      const int v = (phase + 1) % 192;
      for (int c = 0; c < kGridColumns; ++c)
        for (int r = 0; r < kGridRows; ++r)
          if (kKeyGrid[c][r] != kNoKey) SetKey(kKeyGrid[c][r], kColourWheel[(v + 30 * r) % 192], bright);
      break;
    }
    case 13: {
      const std::uint8_t m = fx_.lu[9] | fx_.ru[9] | fx_.rd[9] | fx_.ld[9];
      const std::uint8_t bit = m == 1 ? 1 : (m == 64 ? 64 : 0);
      fx_.lu[9] |= bit;
      fx_.ru[9] |= bit;
      fx_.rd[9] |= bit;
      fx_.ld[9] |= bit;
      if (fx_.stage > 1) {
        fx_.stage = 0;
        LightFronts();
        SpreadFronts();
      }
      ++fx_.stage;
      FadingDraw(false);
      break;
    }
    case 14:
      StepShow();
      FadingDraw(false);
      break;
    case 15:
      StepFlare(false);
      break;
    case 16: {
      if ((fx_.lu[1] | fx_.ru[1] | fx_.rd[1] | fx_.ld[1]) == 1) {
        fx_.lu[1] |= 1;
        fx_.ru[1] |= 1;
        fx_.rd[1] |= 1;
        fx_.ld[1] |= 1;
      }
      if ((fx_.lu[22] | fx_.ru[22] | fx_.rd[22] | fx_.ld[22]) == 64) {
        fx_.lu[22] |= 64;
        fx_.ru[22] |= 64;
        fx_.rd[22] |= 64;
        fx_.ld[22] |= 64;
      }
      LightFronts();
      SpreadFronts();
      FadingDraw(true);
      break;
    }
    case 17: {
      const std::uint8_t entry = s.zzccLedMode == 1   ? 25
                                 : s.zzccLedMode == 2 ? 70
                                 : s.zzccLedMode == 3 ? 95
                                                      : 174;
      phase = entry;
      main_.FillAll(LightSteps::Entry(kColourWheel[entry], bright));
      break;
    }
    case 18:
      phase = StepPhase(s.fx, 192, phase, 1);
      for (int r = 0; r < static_cast<int>(kRingTable.size()); ++r)
        for (std::uint8_t key : kRingTable[r]) {
          if (key == kNoKey) continue;
          const int remapped = RemapKey(key);
          if (remapped != kNoKey) SetKey(remapped, kColourWheel[(phase + 7 * (r + 1)) % 192], bright);
        }
      break;
    case 20:
      for (LedColour& e : main_.Leds()) e.brightness = bright;
      break;
    case 21:
      StepFlare(true);
      break;
    case 22:
      LightSteps::StepBreathingFour(main_, s);
      break;
    case 23:
      LightSteps::StepFlashFour(main_, s, nowMs);
      break;
    case 24:
      LightSteps::StepOff(main_);
      break;
    case 26:
      LightSteps::StepFlash(main_, s, nowMs);
      break;
    case 27: {
      phase = StepPhase(s.fx, 52, phase, 1);
      if (phase < kSweepTable.size())
        for (std::uint8_t key : kSweepTable[phase])
          if (key != kNoKey) {
            main_.intensity[key] = 255;
            fx_.colourIndex[key] = 0;
          }
      for (int key = 0; key < kKeyboardKeyCount; ++key) {
        std::uint8_t& v = main_.intensity[key];
        if (v != 0) v = v >= 5 ? v - 5 : 0;
        if (fx_.colourIndex[key] != 255)
          fx_.colourIndex[key] = static_cast<std::uint8_t>(std::min(fx_.colourIndex[key] + 3, 255));
        if (s.multiColor)
          SetKey(key, kColourWheel[fx_.colourIndex[key]], bright);
        else
          SetKey(key, fixed, Scale(bright, v));
      }
      break;
    }
    default:
      main_.custom.Run(main_, s.speed, nowMs);
      break;
  }
}

// ---- logo and St zones -----------------------------------------------------------

KeyboardLightAnimator::Zone KeyboardLightAnimator::LogoZone() const {
  const LightSetting& s = setting_;
  return {s.logoSelectItem, s.logoLight,      s.logoSpeed,
          s.logoFx,         s.logoMultiColor, {s.logoRed, s.logoGreen, s.logoBlue}};
}

KeyboardLightAnimator::Zone KeyboardLightAnimator::StZone() const {
  const LightSetting& s = setting_;
  return {s.stSelectItem, s.stLight, s.stSpeed, s.stFx, s.stMultiColor, {s.stRed, s.stGreen, s.stBlue}};
}

void KeyboardLightAnimator::StepZone(const Zone& zone, bool logo, std::span<LedColour> leds,
                                     std::uint8_t& phase, std::span<std::uint8_t> levels, bool& up,
                                     std::int64_t nowMs) {
  const std::uint8_t bright = LightSteps::Bright(zone.level);
  const int n = static_cast<int>(leds.size());
  const auto colourOf = [&](int i, int spacing) {
    return zone.multi ? kSmallColourWheel[(5 + spacing * i) % 128] : zone.colour;
  };
  switch (zone.code) {
    case 0: {
      const bool forward = logo ? zone.direction == 0 : zone.direction != 0;
      if (zone.multi) {
        phase = StepIndex(forward, 128, phase);
        const int v = (phase + 1) % 128;
        for (int i = 0; i < n; ++i) leds[i] = LightSteps::Entry(kSmallColourWheel[(v + 8 * i) % 128], bright);
      } else {
        const std::uint8_t limit = logo ? 128 : 48;
        if (phase >= limit) phase = 0;
        phase = StepIndex(forward, limit, phase);
        const int v = (phase + 1) % limit;
        // The logo's positions 96-127 lie past the 96-entry wave curve and
        // start it again.
        for (int i = 0; i < n; ++i)
          leds[i] = LightSteps::Entry(zone.colour, Scale(bright, kWaveCurve[((v + 5 * i) % limit) % 96]));
      }
      break;
    }
    case 1: {
      phase = StepIndex(zone.direction != 0, 128, phase);
      const std::uint8_t b = Scale(bright, kBreathingCurve[(phase + 1) % 128]);
      for (int i = 0; i < n; ++i) leds[i] = LightSteps::Entry(colourOf(i, 8), b);
      break;
    }
    case 2: {
      for (int i = 0; i < n; ++i) {
        if (levels[i] < 255) levels[i] = DecayBounce(levels[i]);
        leds[i] = LightSteps::Entry(colourOf(i, 8), Scale(bright, levels[i]));
      }
      if (phase >= n) phase = static_cast<std::uint8_t>(n - 1);
      if (up) {
        if (phase + 1 > n - 1)
          up = false;
        else
          ++phase;
      } else {
        if (phase > 0)
          --phase;
        else
          up = true;
      }
      levels[phase] = 254;
      break;
    }
    case 3: {
      if (nowMs - main_.lastToggleMs >= LightSteps::FlashTimeMs(zone.speed, kZoneFlashToggleUnitMs)) {
        main_.toggle = main_.toggle ? 0 : 1;
        main_.lastToggleMs = nowMs;
      }
      for (int i = 0; i < n; ++i)
        leds[i] = main_.toggle ? LightSteps::Entry(colourOf(i, 8), bright) : LedColour{};
      break;
    }
    case 4:
      for (int i = 0; i < n; ++i) leds[i] = LightSteps::Entry(colourOf(i, 4), bright);
      break;
    case 5:
      std::fill(leds.begin(), leds.end(), LedColour{});
      break;
    default:
      break;  // no such zone effect: the zone keeps its last frame
  }
}

void KeyboardLightAnimator::StepLogo(std::int64_t nowMs) {
  StepZone(LogoZone(), true, logo_, fx_.logoPhase, fx_.logoLevels, fx_.logoBounceUp, nowMs);
}

void KeyboardLightAnimator::StepSt(std::int64_t nowMs) {
  StepZone(StZone(), false, st_, fx_.stPhase, fx_.stLevels, fx_.stBounceUp, nowMs);
}

std::int64_t KeyboardLightAnimator::ZoneNext(const Zone& zone, std::int64_t nowMs) const {
  const std::int64_t period =
      static_cast<std::int64_t>(kFastTimingRow[LightEffectCodes::ClampLevel(zone.speed)]) * kTickMs;
  switch (zone.code) {
    case 3:
      return std::max(nowMs + period,
                      main_.lastToggleMs + LightSteps::FlashTimeMs(zone.speed, kZoneFlashToggleUnitMs));
    case 0:
    case 1:
    case 2:
      return nowMs + period;
    default:
      return kNeverDue;
  }
}

std::int64_t KeyboardLightAnimator::MainNext(std::int64_t nowMs) const {
  const int code = setting_.selectItem;
  const std::int64_t period =
      static_cast<std::int64_t>(
          std::max(LightEffectCodes::ThresholdTicks(kDeviceKeyboard, code, setting_.speed), 1)) *
      kTickMs;
  if (IsFixedMainEffect(code) || KeyEffectIdle()) return kNeverDue;
  if (IsFlashMainEffect(code))
    return std::max(nowMs + period,
                    main_.lastToggleMs + LightSteps::FlashTimeMs(setting_.speed, kFlashToggleUnitMs));
  return nowMs + period;
}

void KeyboardLightAnimator::Pass(std::int64_t atMs, bool pending) {
  const bool custom = LightEffectCodes::StepFor(kDeviceKeyboard, setting_.selectItem) == LightStep::kCustom;
  const bool mainFlashes = IsFlashMainEffect(setting_.selectItem);
  const bool logoFlashes = LogoZone().code == 3;
  const bool stFlashes = StZone().code == 3;
  // The flash steps of all three zones share one toggle: a toggle by one
  // redraws the other flashing zones in the same pass.
  bool mainDue = pending || atMs >= nextMainMs_;
  bool logoDue = pending || atMs >= nextLogoMs_;
  bool stDue = pending || atMs >= nextStMs_;
  for (int round = 0; round < 2; ++round) {
    const std::uint8_t toggle = main_.toggle;
    if (custom) {
      // The animation counts its own passes and times its own steps.
      if (round == 0) nextMainMs_ = main_.custom.Run(main_, setting_.speed, atMs);
    } else if (mainDue) {
      StepMain(atMs);
      nextMainMs_ = MainNext(atMs);
    }
    if (logoDue) {
      StepLogo(atMs);
      nextLogoMs_ = ZoneNext(LogoZone(), atMs);
    }
    if (stDue) {
      StepSt(atMs);
      nextStMs_ = ZoneNext(StZone(), atMs);
    }
    if (main_.toggle == toggle) break;
    mainDue = mainFlashes;
    logoDue = logoFlashes;
    stDue = stFlashes;
  }
  nextPerLedMs_ = main_.perLed.Run(main_.Leds(), atMs);
}

std::int64_t KeyboardLightAnimator::RunDue(std::int64_t nowMs) {
  std::lock_guard lock(mutex_);
  if (paused_) return kNeverDue;
  if (pending_) {
    pending_ = false;
    Pass(nowMs, true);
  }
  // Every pass due by now, in order, each at its own time: the zones' steps
  // and the per-LED passes interleave exactly as they would on time.
  for (;;) {
    const std::int64_t due = std::min({nextMainMs_, nextLogoMs_, nextStMs_, nextPerLedMs_});
    if (due > nowMs) return due;
    Pass(CatchUpTime(due, nowMs), false);
  }
}

void KeyboardLightAnimator::FillSyncColour(LedColour colour) {
  std::lock_guard lock(mutex_);
  main_.FillAll(colour);
}

// ---- per-key colours ------------------------------------------------------------

void KeyboardLightAnimator::LoadCustomColours(std::span<const CustomColor> colours) {
  std::lock_guard lock(mutex_);
  auto leds = main_.Leds();
  const std::size_t n = std::min(colours.size(), leds.size());
  for (std::size_t k = 0; k < n; ++k) {
    leds[k].red = colours[k].red;
    leds[k].green = colours[k].green;
    leds[k].blue = colours[k].blue;
  }
  pending_ = true;
}

void KeyboardLightAnimator::GetCustomColours(std::span<CustomColor, kKeyboardKeyCount> out) const {
  std::lock_guard lock(mutex_);
  const auto leds = main_.Leds();
  for (std::size_t k = 0; k < out.size(); ++k)
    out[k] = k < leds.size() ? CustomColor{leds[k].red, leds[k].green, leds[k].blue, 0} : CustomColor{};
}

bool KeyboardLightAnimator::BuildLedColourTable(std::span<std::uint8_t, 512> table) const {
  std::lock_guard lock(mutex_);
  if (setting_.selectItem != kCustomColoursEffect) return false;
  std::fill(table.begin(), table.end(), 0);
  const auto leds = main_.Leds();
  for (int k = 0; k < static_cast<int>(leds.size()); ++k) {
    const int led = (k >= 17 && k <= 20) ? k : keyLedMap_[k];
    if (led == 255 || led * 3 > 512) continue;
    const std::uint8_t bytes[3] = {leds[k].red, leds[k].green, leds[k].blue};
    // LED 170 would put its blue byte past the table: it is dropped.
    for (int i = 0; i < 3; ++i)
      if (3 * led + i < 512) table[3 * led + i] = bytes[i];
  }
  return true;
}

int KeyboardLightAnimator::DownloadLedColours(KeyboardLightHost& host) {
  std::array<std::uint8_t, 512> table{};
  if (!BuildLedColourTable(table)) return 0;
  return host.WriteLedColours(table.data(), table.size());
}

void KeyboardLightAnimator::StoreAndSend(KeyboardLightHost& host, int group) {
  if (!host.HasLongTimeout()) DownloadLedColours(host);
  std::array<CustomColor, kKeyboardKeyCount> colours{};
  GetCustomColours(colours);
  host.StoreCustomColours(group, colours);
}

void KeyboardLightAnimator::FillCustomColours(bool on, KeyboardLightHost& host) {
  {
    std::lock_guard lock(mutex_);
    for (LedColour& e : main_.Leds()) {
      e.red = on ? setting_.red : 0;
      e.green = on ? setting_.green : 0;
      e.blue = on ? setting_.blue : 0;
    }
    pending_ = true;
  }
  DownloadLedColours(host);
  const int group = host.SelectedCustomGroup();
  if (group != -1) {
    std::array<CustomColor, kKeyboardKeyCount> colours{};
    GetCustomColours(colours);
    host.StoreCustomColours(group, colours);
  }
}

void KeyboardLightAnimator::SetCustomGroup(int group, KeyboardLightHost& host) {
  host.SelectCustomGroup(group);
  host.SetProfileCustomGroup(group);
}

void KeyboardLightAnimator::LoadCustomGroup(int group, KeyboardLightHost& host) {
  host.SelectCustomGroup(group);
  std::array<CustomColor, kKeyboardKeyCount> colours{};
  host.ReadCustomColours(group, colours);
  LoadCustomColours(colours);
  DownloadLedColours(host);
  host.SetProfileCustomGroup(group);
}

void KeyboardLightAnimator::ReloadCustomGroup(KeyboardLightHost& host) {
  const int group = GetLightSetting().customLightModeGroupIndex;
  std::array<CustomColor, kKeyboardKeyCount> colours{};
  host.ReadCustomColours(group, colours);
  LoadCustomColours(colours);
  host.SelectCustomGroup(group);
  DownloadLedColours(host);
}

void KeyboardLightAnimator::ColourKey(int key, KeyboardLightHost& host) {
  {
    std::lock_guard lock(mutex_);
    if (setting_.selectItem != kCustomColoursEffect || key < 0 || key >= main_.LedCount()) return;
    LedColour& e = main_.Leds()[key];
    e.red = setting_.red;
    e.green = setting_.green;
    e.blue = setting_.blue;
  }
  const int group = host.SelectedCustomGroup();
  if (group == -1) return;
  StoreAndSend(host, group);
}

void KeyboardLightAnimator::ColourSelectedKeys(std::span<const int> keys, KeyboardLightHost& host) {
  if (keys.empty()) return;
  const int group = host.SelectedCustomGroup();
  {
    std::lock_guard lock(mutex_);
    if (setting_.selectItem != kCustomColoursEffect) return;
    for (int key : keys) {
      if (key < 0 || key >= main_.LedCount()) continue;
      LedColour& e = main_.Leds()[key];
      e.red = setting_.red;
      e.green = setting_.green;
      e.blue = setting_.blue;
      // Without a group there is nowhere to keep the colours: only the first
      // key shows the choice.
      if (group == -1) return;
    }
  }
  if (group == -1) return;
  StoreAndSend(host, group);
}

// ---- output -----------------------------------------------------------------------

std::size_t KeyboardLightAnimator::CopyLeds(std::span<LedColour> out) const {
  std::lock_guard lock(mutex_);
  const auto leds = main_.Leds();
  const std::size_t n = std::min(out.size(), leds.size());
  std::copy_n(leds.begin(), n, out.begin());
  return n;
}

void KeyboardLightAnimator::CopyLogoLeds(std::span<LedColour, kLogoLedCount> out) const {
  std::lock_guard lock(mutex_);
  std::copy(logo_.begin(), logo_.end(), out.begin());
  if (setting_.rgbDengOffOn == 1)
    for (int i = 0; i < 6; ++i) out[i].brightness = 0;
}

void KeyboardLightAnimator::CopyStLeds(std::span<LedColour, kStLedCount> out) const {
  std::lock_guard lock(mutex_);
  std::copy(st_.begin(), st_.end(), out.begin());
}

}  // namespace ostrel
