#pragma once
// The lighting panel of a device page, built from
// "XML\CustomControlXML\LightControl.xml": per zone the effect combo, the
// brightness and speed sliders, the colour edits, palette, colour button and
// presets, the multi-colour check, the direction pair, and on the keyboard's
// main zone the custom-effect and area combos. The logo and St zones carry
// the main zone's names with the prefix "LightTab1_" / "LightTab2_".
//
// Who does what:
// - The page sets it up: SetDeviceType, SetHost, the name lists
//   (SetNameLists or SetEffectList per zone), then ShowLightSetting per zone.
// - The main window routes every notification of the panel's controls to
//   HandleNotify (itemselect, valuechanged, textchanged, colorchanged,
//   selectchanged, click); the panel works out the new record and tells the
//   host, which stores, saves, applies and writes it.
// - The window sets SetSyncAllowed while two or more devices are connected.
//
// Controls are looked up inside this panel only: every page has one.

#include <cstdint>
#include <string>
#include <vector>

#include "lighting/ILightControlHost.h"
#include "lighting/LightEnableRules.h"
#include "lighting/LightNameList.h"
#include "lighting/LightZone.h"
#include "platform/ui/CHorizontalLayoutUI.h"
#include "profiles/LightSetting.h"

namespace ostrel {

class CButtonUI;
class CCheckBoxUI;
class CColorPaletteUI;
class CComboUI;
class CEditUI;
class COptionUI;
class CSliderUI;
struct TNotifyUI;

class CLightControlUI : public CHorizontalLayoutUI {
 public:
  CLightControlUI();
  ~CLightControlUI() override;

  const char* GetClass() const override { return "LightControl"; }
  void* GetInterface(const char* pstrName) override;
  // Builds the panel's layout into the control when the page's layout gave
  // it no children.
  void DoInit() override;

  // Creator for the window's control factory: "CLightControlUI" and
  // "LightControl".
  static CControlUI* CreateControl();
  static constexpr const char* kClassName = "CLightControlUI";
  static constexpr const char* kElementName = "LightControl";
  static constexpr const char* kLayoutFile = "XML\\CustomControlXML\\LightControl.xml";
  static constexpr int kComboRowHeight = 30;
  static constexpr int kDefaultMaximum = 4;
  static constexpr int kPresetCount = 8;

  // Control names (zone controls without their prefix).
  static constexpr const char* kEffectCombo = "light_combo_modeSelect";
  static constexpr const char* kBrightnessSlider = "deng_light_slider";
  static constexpr const char* kSpeedSlider = "deng_speed_slider";
  static constexpr const char* kRedEdit = "deng_edit_R";
  static constexpr const char* kGreenEdit = "deng_edit_G";
  static constexpr const char* kBlueEdit = "deng_edit_B";
  static constexpr const char* kPalette = "deng_Color_Pallet";
  static constexpr const char* kColourButton = "deng_colordp_btn";
  static constexpr const char* kPresetPrefix = "color_option_";
  static constexpr const char* kMultiColourCheck = "deng_7color_check";
  static constexpr const char* kFxlOption = "deng_FXL_check";
  static constexpr const char* kFxrOption = "deng_FXR_check";
  static constexpr const char* kCustomCombo = "light_combo_custommodeSelect";
  static constexpr const char* kAreaCombo = "light_combo_ZZCCmodeSelect";
  static constexpr const char* kLogoRgbCheck = "LightTab1_RGBdeng_check";
  static constexpr const char* kSyncButton = "deng_same_mode";
  static constexpr const char* kZoneLayout = "light_zone_layout";
  static constexpr const char* kEffectLayout = "lighteffect_layout";
  static constexpr const char* kColourLayout = "deng_color_layout";
  static constexpr const char* kSelectLayout = "deng_7colorselect_layout";
  static constexpr const char* kPaletteLayout = "colorpallet_layout";
  static constexpr const char* kBrightnessLayout = "deng_light_layout";
  static constexpr const char* kSpeedLayout = "deng_speed_layout";
  static constexpr const char* kDirectionLayout = "deng_fx_layout";
  static constexpr const char* kRgbLayout = "deng_rgb_layout";
  static constexpr const char* kCustomLayout = "lightcustom_layout";
  static constexpr const char* kCustomComboLayout = "light_combo_custommodeSelectLayout";
  static constexpr const char* kAreaComboLayout = "light_combo_ZZCCmodeSelectLayout";

  void SetHost(ILightControlHost* host) { host_ = host; }
  // The device type of the enabling rules; the logo and St zones are shown
  // on the keyboard (type 1) only.
  void SetDeviceType(int deviceType);
  int DeviceType() const { return deviceType_; }
  // Stores the flag and re-applies the enabling rules of every zone.
  void SetSyncAllowed(bool allowed);
  bool SyncAllowed() const { return syncAllowed_; }

  // Name lists. Items keep their index (the effect code); invisible ones are
  // hidden. Texts are language keys.
  void SetEffectList(LightZone zone, const std::vector<LightName>& names,
                     int brightnessMaximum = kDefaultMaximum, int speedMaximum = kDefaultMaximum);
  void SetAreaList(const std::vector<LightName>& names);
  void SetCustomList(const std::vector<LightName>& names);
  // All of the above from loaded lists.
  void SetNameLists(const LightNameList& lists);

  // Shows a zone's bytes of `record` in that zone's controls.
  void ShowLightSetting(LightZone zone, const LightSetting& record);
  // Selects the combo item quietly and applies the enabling rules.
  void SelectEffect(LightZone zone, int code);
  void ApplyEnablingRules(LightZone zone, int effect);

  // Per-control getters: -1 (combos), 0 (sliders, checks), "" (edits) or
  // 0xFF000000 (palette) for a missing control. Setters do not notify.
  int Effect(LightZone zone) const;
  int Brightness(LightZone zone) const;
  void SetBrightness(LightZone zone, int level);
  int Speed(LightZone zone) const;
  void SetSpeed(LightZone zone, int speed);
  // channel 0, 1, 2: red, green, blue.
  std::string ColourText(LightZone zone, int channel) const;
  void SetColourText(LightZone zone, int channel, const std::string& text);
  std::uint32_t PaletteColour(LightZone zone) const;
  void SetPaletteColour(LightZone zone, std::uint32_t argb);
  int MultiColour(LightZone zone) const;
  void SetMultiColour(LightZone zone, bool on);
  // 1: "deng_FXL_check", 0: "deng_FXR_check".
  int Direction(LightZone zone) const;
  void SetDirection(LightZone zone, int direction);
  int CustomGroup() const;
  void SetCustomGroup(int index);
  int Area() const;
  void SetArea(int index);
  int LogoRgb() const;
  void SetLogoRgb(bool on);
  // The background colour of "color_option_" + n, 0 when absent.
  std::uint32_t PresetColour(int n) const;

  // A notification of one of the panel's controls; false when it is not one
  // the panel handles.
  bool HandleNotify(TNotifyUI& msg);

  // The value rule of the colour edits: decimal, 0-255, empty or not a
  // number 0.
  static int ParseColourText(const std::string& text);

 private:
  CControlUI* Find(LightZone zone, const char* name) const;
  CControlUI* FindName(const std::string& name) const;
  CComboUI* ComboOf(LightZone zone, const char* name) const;
  CSliderUI* SliderOf(LightZone zone, const char* name) const;
  CEditUI* EditOf(LightZone zone, int channel) const;
  COptionUI* OptionOf(LightZone zone, const char* name) const;
  CColorPaletteUI* PaletteOf(LightZone zone) const;
  void FillCombo(CComboUI* combo, const std::vector<LightName>& names);
  void SetLayout(LightZone zone, const char* name, bool enabled);
  void ShowLayout(LightZone zone, const char* name, bool visible);
  void ShowColour(LightZone zone, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  void ApplyZoneVisibility();
  bool Contains(CControlUI* control) const;
  // The zone whose prefix `name` carries, and the name without it.
  static LightZone ZoneOf(const std::string& name, std::string* bare);

  // Handler steps: the page's record (false: no current page), and the news.
  bool Begin(LightZone zone, LightSetting* record) const;
  void Finish(LightZone zone, const LightSetting& record, LightChange change);
  void OnColourEdit(LightZone zone, int channel);
  void OnColour(LightZone zone, std::uint32_t argb, LightChange change);

  ILightControlHost* host_ = nullptr;
  int deviceType_ = 0;
  bool syncAllowed_ = false;
  // The direction pair selects exclusively within its zone of this panel.
  std::string groupName_;
  // Set while the panel writes into its own controls.
  bool updating_ = false;
};

}  // namespace ostrel
