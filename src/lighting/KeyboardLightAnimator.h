#pragma once
// The keyboard page's lighting: the main zone (one LED per key, 126 keys)
// with the keyboard's own effects and the common ones, the logo zone (15
// LEDs) and the St zone (6 LEDs), key-press reactions and the per-key colour
// groups of effect 20. One schedule runs all three zones. All members are
// safe to call from the window thread, the runner, the notification reader
// and the synchronisation thread at once.

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <vector>

#include "lighting/KeyboardEffectState.h"
#include "lighting/KeyboardLightHost.h"
#include "lighting/KeyboardLightTables.h"
#include "lighting/LightEffectState.h"
#include "lighting/LightSchedule.h"
#include "lighting/LightSyncTarget.h"
#include "profiles/CustomColor.h"
#include "profiles/LightEffectStep.h"
#include "profiles/LightListEntry.h"
#include "profiles/LightSetting.h"

namespace ostrel {

class KeyboardLightAnimator : public LightSchedule, public LightSyncTarget {
 public:
  static constexpr int kCustomColoursEffect = 20;

  KeyboardLightAnimator();

  // ApplyProfileLighting: the three zone records. The logo bytes 12-21 and
  // the St bytes 22-29 are copied into the main record, which the zone steps
  // read. A changed main effect restarts the effects (and the zone phases);
  // zone changes alone do not.
  // Starting effect 20 reloads the group of byte 30 through `host` when
  // one is given.
  void ApplyLighting(const LightSetting& main, const LightSetting& logo, const LightSetting& st,
                     KeyboardLightHost* host = nullptr);
  // The main record alone (byte 0 compared as above). True when the main
  // effect started anew.
  bool SetLightSetting(const LightSetting& main);
  LightSetting GetLightSetting() const;
  void SetCustomSteps(std::vector<LightEffectStep> steps);
  void SetLightList(std::vector<LightListEntry> list, std::int64_t nowMs);
  // UI key -> device key slot (notifications) and UI key -> device LED
  // (colour downloads); both identity until the page sets them.
  void SetKeySlotMap(std::span<const int, kKeyboardKeyCount> map);
  void SetKeyLedMap(std::span<const std::uint8_t, kKeyboardKeyCount> map);
  void SetRandomSeed(std::uint32_t seed);

  void SetPaused(bool paused);
  bool IsPaused() const;

  std::int64_t RunDue(std::int64_t nowMs) override;
  bool IsSyncPaused() const override { return IsPaused(); }
  void FillSyncColour(LedColour colour) override;

  // Key event from the notification reader: usage 0x0500 + index is event
  // 1, 0x0600 + index event 2. A key-driven effect with nothing lit is not
  // due; a key event that lights something calls `wake` (the page passes
  // its runner's Wake).
  void OnDeviceKey(int deviceKeyIndex, int event);
  void SetKeyEventWake(std::function<void()> wake);
  static int RemapKey(int key);

  // Per-key colours of effect 20. The LED list takes a group's colours.
  void LoadCustomColours(std::span<const CustomColor> colours);
  // The list's colours as a group (alpha 0).
  void GetCustomColours(std::span<CustomColor, kKeyboardKeyCount> out) const;
  // The 512-byte table WriteLedColours sends; false (and nothing built)
  // unless the main effect is 20.
  bool BuildLedColourTable(std::span<std::uint8_t, 512> table) const;
  // Sends that table; 0 when the main effect is not 20, else the write's
  // result.
  int DownloadLedColours(KeyboardLightHost& host);
  void FillCustomColours(bool on, KeyboardLightHost& host);
  // The custom-effect combo chose group g: the combo and the profile's
  // current group follow.
  void SetCustomGroup(int group, KeyboardLightHost& host);
  // Shows group g, sends it and makes it the profile's current group.
  void LoadCustomGroup(int group, KeyboardLightHost& host);
  // Shows and sends the group of byte 30; the profile's current group stays.
  void ReloadCustomGroup(KeyboardLightHost& host);
  void ColourKey(int key, KeyboardLightHost& host);
  void ColourSelectedKeys(std::span<const int> keys, KeyboardLightHost& host);

  // Frame output: the keyboard only paints its buttons.
  std::size_t CopyLeds(std::span<LedColour> out) const;
  // The logo's 15 entries; with byte 21 set, entries 0-5 at brightness 0.
  void CopyLogoLeds(std::span<LedColour, kLogoLedCount> out) const;
  void CopyStLeds(std::span<LedColour, kStLedCount> out) const;

  // Runs f(main zone state, main record) under the animator's lock: the
  // page operations that step or edit the list themselves.
  template <typename F>
  void WithState(F&& f) {
    std::lock_guard lock(mutex_);
    f(main_, static_cast<const LightSetting&>(setting_));
  }

  // Direct access for tests and single-threaded use only.
  LightEffectState& State() { return main_; }
  KeyboardEffectState& Effects() { return fx_; }
  std::span<LedColour, kLogoLedCount> LogoLeds() { return logo_; }
  std::span<LedColour, kStLedCount> StLeds() { return st_; }
  void StepMain(std::int64_t nowMs);
  void StepLogo(std::int64_t nowMs);
  void StepSt(std::int64_t nowMs);
  void ResetKeyboardEffects();

 private:
  struct Zone {
    std::uint8_t code, level, speed, direction, multi;
    Rgb colour;
  };
  Zone LogoZone() const;
  Zone StZone() const;
  void StartMainEffect();
  void StepZone(const Zone& zone, bool logo, std::span<LedColour> leds, std::uint8_t& phase,
                std::span<std::uint8_t> levels, bool& up, std::int64_t nowMs);
  std::int64_t ZoneNext(const Zone& zone, std::int64_t nowMs) const;
  std::int64_t MainNext(std::int64_t nowMs) const;
  bool KeyEffectIdle() const;
  // One pass at `atMs`: every zone due (all of them when `pending`), then
  // the per-LED modes.
  void Pass(std::int64_t atMs, bool pending);

  std::uint32_t Random();
  std::uint8_t RandomColourIndex() { return static_cast<std::uint8_t>(Random() % 192); }
  void SetKey(int key, Rgb colour, std::uint8_t brightness);
  void LightFronts();
  void SpreadFronts();
  void SlideFronts();
  void MarkKeyColumn(int key, int event);
  void MarkKeyReactive(int key, int event);
  void ReactToKey(int key, int event);
  void FadingDraw(bool pathOnly);
  void InitRainbowIndices();
  void InitFlareSeeds();
  void InitFlarePhases();
  void SeedFrontsLeft();
  void SeedFrontsMiddle();
  void StepShow();
  void StepFlare(bool slow);
  void StoreAndSend(KeyboardLightHost& host, int group);

  mutable std::mutex mutex_;
  LightSetting setting_;
  int previousEffect_ = -1;
  LightEffectState main_;
  KeyboardEffectState fx_;
  std::array<LedColour, kLogoLedCount> logo_{};
  std::array<LedColour, kStLedCount> st_{};
  std::array<int, kKeyboardKeyCount> keySlotMap_{};
  std::array<std::uint8_t, kKeyboardKeyCount> keyLedMap_{};
  std::function<void()> keyEventWake_;
  bool paused_ = false;
  bool pending_ = true;
  std::int64_t nextMainMs_ = 0;
  std::int64_t nextLogoMs_ = 0;
  std::int64_t nextStMs_ = 0;
  std::int64_t nextPerLedMs_ = kNeverDue;
};

}  // namespace ostrel
