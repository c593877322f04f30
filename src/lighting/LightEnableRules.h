#pragma once
// Which controls of a lighting zone an effect enables, by device type and
// zone: one table per kind of page, rows of effect ranges, the fallback row
// for every other effect.

#include <cstdint>

#include "lighting/LightZone.h"

namespace ostrel {

struct LightEnableRule {
  bool multiColour = false;  // "deng_7color_check"
  bool colour = false;       // "deng_color_layout"
  bool select = false;       // "deng_7colorselect_layout"
  bool palette = false;      // "colorpallet_layout"
  bool brightness = false;   // "deng_light_layout"
  bool speed = false;        // "deng_speed_layout"
  bool direction = false;    // "deng_fx_layout"
  bool rgb = false;          // "deng_rgb_layout"
  bool sync = false;         // "deng_same_mode" shown when synchronisation is allowed
  bool speedHidden = false;
  bool directionHidden = false;
  bool areaShown = false;    // "light_combo_ZZCCmodeSelectLayout"
  bool customShown = false;  // "lightcustom_layout" and "light_combo_custommodeSelectLayout"
  // Text keys of the direction pair; null leaves the layout's texts.
  const char* fxlText = nullptr;
  const char* fxrText = nullptr;

  friend bool operator==(const LightEnableRule&, const LightEnableRule&) = default;
};

class LightEnableRules {
 public:
  static LightEnableRule For(int deviceType, LightZone zone, int effect);

  static constexpr const char* kLeftToRightText = "light_set_left_to_right_text";
  static constexpr const char* kRightToLeftText = "light_set_right_to_left_text";
};

}  // namespace ostrel
