#pragma once
// What the lighting panel needs from the current device page: the page's
// record of a zone to start a change from, and the news of a changed record.
// The page stores it (SetLightSetting / Zone2 / Zone3), saves the profile,
// applies it to its animator and writes its profile record.

#include "lighting/LightZone.h"
#include "profiles/LightSetting.h"

namespace ostrel {

// What a change touched; the page needs it for the steps that differ.
enum class LightChange {
  kEffect,
  kBrightness,
  kSpeed,
  kDirection,
  kMultiColour,
  kColour,        // an edit or the palette
  kPresetColour,  // a "color_option_" button
  kCustomGroup,   // byte 30: the page also selects the stored custom group
  kArea,          // byte 11
  kLogoRgb,       // byte 21
};

// Whether a change takes the page out of lighting synchronisation (clears
// its paused flag). Presets, the custom group and the area leave it.
inline constexpr bool LeavesSynchronisation(LightChange change) {
  return change != LightChange::kPresetColour && change != LightChange::kCustomGroup &&
         change != LightChange::kArea;
}

class ILightControlHost {
 public:
  virtual ~ILightControlHost() = default;
  // The current page's record of the zone; false when there is no current
  // (selected and connected) page, and then the change is dropped.
  virtual bool CurrentLightSetting(LightZone zone, LightSetting* record) = 0;
  // The record of the zone after a change in the panel.
  virtual void LightSettingChanged(LightZone zone, const LightSetting& record, LightChange change) = 0;
  // "deng_same_mode": synchronise every connected device's lighting.
  virtual void SynchroniseLightingRequested() = 0;
};

}  // namespace ostrel
