#include "lighting/CLightControlUI.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/os/DebugLog.h"
#include "platform/ui/CButtonUI.h"
#include "platform/ui/CCheckBoxUI.h"
#include "platform/ui/CColorPaletteUI.h"
#include "platform/ui/CComboUI.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/CListLabelElementUI.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CSliderUI.h"
#include "platform/ui/UIEvents.h"

namespace ostrel {
namespace {

// Where a zone keeps its bytes in the record.
struct ZoneFields {
  std::uint8_t LightSetting::*effect;
  std::uint8_t LightSetting::*brightness;
  std::uint8_t LightSetting::*speed;
  std::uint8_t LightSetting::*direction;
  std::uint8_t LightSetting::*multiColour;
  std::uint8_t LightSetting::*colour[3];
};

constexpr ZoneFields kZoneFields[kLightZoneCount] = {
    {&LightSetting::selectItem,
     &LightSetting::light,
     &LightSetting::speed,
     &LightSetting::fx,
     &LightSetting::multiColor,
     {&LightSetting::red, &LightSetting::green, &LightSetting::blue}},
    {&LightSetting::logoSelectItem,
     &LightSetting::logoLight,
     &LightSetting::logoSpeed,
     &LightSetting::logoFx,
     &LightSetting::logoMultiColor,
     {&LightSetting::logoRed, &LightSetting::logoGreen, &LightSetting::logoBlue}},
    {&LightSetting::stSelectItem,
     &LightSetting::stLight,
     &LightSetting::stSpeed,
     &LightSetting::stFx,
     &LightSetting::stMultiColor,
     {&LightSetting::stRed, &LightSetting::stGreen, &LightSetting::stBlue}},
};

constexpr LightZone kZones[kLightZoneCount] = {LightZone::kMain, LightZone::kLogo, LightZone::kSt};
constexpr const char* kEditNames[3] = {CLightControlUI::kRedEdit, CLightControlUI::kGreenEdit,
                                       CLightControlUI::kBlueEdit};

const ZoneFields& FieldsOf(LightZone zone) { return kZoneFields[static_cast<int>(zone)]; }

std::uint32_t PackColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return 0xFF000000u | (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
}

struct NameQuery {
  const std::string* name;
};

CControlUI* FindByName(CControlUI* control, void* data) {
  return control->GetName() == static_cast<NameQuery*>(data)->name->c_str() ? control : nullptr;
}

std::uint8_t ToByte(int value) {
  return static_cast<std::uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

int g_panelCount = 0;

}  // namespace

CLightControlUI::CLightControlUI() : groupName_("light_direction_" + std::to_string(++g_panelCount)) {}

CLightControlUI::~CLightControlUI() = default;

void* CLightControlUI::GetInterface(const char* pstrName) {
  const CDuiString name(pstrName);
  if (name.CompareNoCase(kElementName) == 0 || name.CompareNoCase(kClassName) == 0) return this;
  return CHorizontalLayoutUI::GetInterface(pstrName);
}

CControlUI* CLightControlUI::CreateControl() { return new CLightControlUI(); }

void CLightControlUI::DoInit() {
  if (GetCount() == 0) {
    CDialogBuilder builder;
    if (!builder.Create(kLayoutFile, nullptr, nullptr, m_pManager, this))
      DebugPrintf("LightControl: layout %s could not be built", kLayoutFile);
  }
  // Each zone's direction pair is its own group, apart from other panels'.
  for (LightZone zone : kZones) {
    const std::string group = groupName_ + "_" + std::to_string(static_cast<int>(zone));
    if (COptionUI* fxl = OptionOf(zone, kFxlOption)) fxl->SetGroup(group.c_str());
    if (COptionUI* fxr = OptionOf(zone, kFxrOption)) fxr->SetGroup(group.c_str());
  }
  ApplyZoneVisibility();
}

CControlUI* CLightControlUI::FindName(const std::string& name) const {
  NameQuery query{&name};
  return const_cast<CLightControlUI*>(this)->FindControl(FindByName, &query, UIFIND_ALL);
}

CControlUI* CLightControlUI::Find(LightZone zone, const char* name) const {
  return FindName(std::string(LightZonePrefix(zone)) + name);
}

CComboUI* CLightControlUI::ComboOf(LightZone zone, const char* name) const {
  return As<CComboUI>(Find(zone, name), "Combo");
}
CSliderUI* CLightControlUI::SliderOf(LightZone zone, const char* name) const {
  return As<CSliderUI>(Find(zone, name), "Slider");
}
CEditUI* CLightControlUI::EditOf(LightZone zone, int channel) const {
  if (channel < 0 || channel > 2) return nullptr;
  return As<CEditUI>(Find(zone, kEditNames[channel]), "Edit");
}
COptionUI* CLightControlUI::OptionOf(LightZone zone, const char* name) const {
  return As<COptionUI>(Find(zone, name), "Option");
}
CColorPaletteUI* CLightControlUI::PaletteOf(LightZone zone) const {
  return As<CColorPaletteUI>(Find(zone, kPalette), "ColorPalette");
}

void CLightControlUI::SetDeviceType(int deviceType) {
  deviceType_ = deviceType;
  ApplyZoneVisibility();
  for (LightZone zone : kZones) ApplyEnablingRules(zone, Effect(zone));
}

void CLightControlUI::ApplyZoneVisibility() {
  const bool keyboard = deviceType_ == 1;
  ShowLayout(LightZone::kLogo, kZoneLayout, keyboard);
  ShowLayout(LightZone::kSt, kZoneLayout, keyboard);
}

void CLightControlUI::SetSyncAllowed(bool allowed) {
  syncAllowed_ = allowed;
  // The logo and St zones have sync buttons of their own: they follow too.
  for (LightZone zone : kZones) ApplyEnablingRules(zone, Effect(zone));
}

void CLightControlUI::FillCombo(CComboUI* combo, const std::vector<LightName>& names) {
  if (!combo) return;
  const bool wasUpdating = updating_;
  updating_ = true;
  combo->RemoveAll();
  for (const LightName& name : names) {
    auto* row = new CListLabelElementUI();
    row->SetFixedHeight(kComboRowHeight);
    row->SetResourceText(true);
    row->SetText(name.name.c_str());
    row->SetVisible(name.visible);
    combo->Add(row);
  }
  updating_ = wasUpdating;
}

void CLightControlUI::SetEffectList(LightZone zone, const std::vector<LightName>& names,
                                    int brightnessMaximum, int speedMaximum) {
  FillCombo(ComboOf(zone, kEffectCombo), names);
  if (CSliderUI* slider = SliderOf(zone, kBrightnessSlider)) {
    slider->SetMinValue(0);
    slider->SetMaxValue(brightnessMaximum);
  }
  if (CSliderUI* slider = SliderOf(zone, kSpeedSlider)) {
    slider->SetMinValue(0);
    slider->SetMaxValue(speedMaximum);
  }
}

void CLightControlUI::SetAreaList(const std::vector<LightName>& names) {
  FillCombo(ComboOf(LightZone::kMain, kAreaCombo), names);
}

void CLightControlUI::SetCustomList(const std::vector<LightName>& names) {
  FillCombo(ComboOf(LightZone::kMain, kCustomCombo), names);
}

void CLightControlUI::SetNameLists(const LightNameList& lists) {
  for (LightZone zone : kZones) SetEffectList(zone, lists.Effects(zone));
  SetAreaList(lists.AreaNames());
  SetCustomList(lists.UserNames());
}

void CLightControlUI::ShowLightSetting(LightZone zone, const LightSetting& record) {
  const ZoneFields& f = FieldsOf(zone);
  const bool wasUpdating = updating_;
  updating_ = true;
  SelectEffect(zone, record.*f.effect);
  SetBrightness(zone, record.*f.brightness);
  SetSpeed(zone, record.*f.speed);
  ShowColour(zone, record.*f.colour[0], record.*f.colour[1], record.*f.colour[2]);
  SetMultiColour(zone, record.*f.multiColour != 0);
  if (zone == LightZone::kMain) {
    SetArea(record.zzccLedMode);
    SetCustomGroup(record.customLightModeGroupIndex);
  }
  SetDirection(zone, record.*f.direction);
  if (zone == LightZone::kLogo) SetLogoRgb(record.rgbDengOffOn != 0);
  updating_ = wasUpdating;
}

void CLightControlUI::ShowColour(LightZone zone, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  const std::uint8_t values[3] = {red, green, blue};
  for (int channel = 0; channel < 3; ++channel) SetColourText(zone, channel, std::to_string(values[channel]));
  SetPaletteColour(zone, PackColour(red, green, blue));
}

void CLightControlUI::SelectEffect(LightZone zone, int code) {
  if (CComboUI* combo = ComboOf(zone, kEffectCombo)) {
    const bool wasUpdating = updating_;
    updating_ = true;
    if (combo->GetCurSel() != code) combo->SelectItem(code, false, false);
    updating_ = wasUpdating;
  }
  ApplyEnablingRules(zone, code);
}

void CLightControlUI::SetLayout(LightZone zone, const char* name, bool enabled) {
  if (CControlUI* control = Find(zone, name)) control->SetEnabled(enabled);
}

void CLightControlUI::ShowLayout(LightZone zone, const char* name, bool visible) {
  if (CControlUI* control = Find(zone, name)) control->SetVisible(visible);
}

void CLightControlUI::ApplyEnablingRules(LightZone zone, int effect) {
  // The starting state every effect begins from.
  SetLayout(zone, kEffectLayout, true);
  SetLayout(zone, kDirectionLayout, true);
  ShowLayout(zone, kDirectionLayout, true);
  ShowLayout(zone, kSpeedLayout, true);
  SetLayout(zone, kRgbLayout, true);
  ShowLayout(zone, kCustomLayout, false);
  ShowLayout(zone, kCustomComboLayout, false);
  ShowLayout(zone, kAreaComboLayout, false);
  ShowLayout(zone, kSyncButton, false);

  const LightEnableRule rule = LightEnableRules::For(deviceType_, zone, effect);
  SetLayout(zone, kMultiColourCheck, rule.multiColour);
  SetLayout(zone, kColourLayout, rule.colour);
  SetLayout(zone, kSelectLayout, rule.select);
  SetLayout(zone, kPaletteLayout, rule.palette);
  SetLayout(zone, kBrightnessLayout, rule.brightness);
  SetLayout(zone, kSpeedLayout, rule.speed);
  if (rule.speedHidden) ShowLayout(zone, kSpeedLayout, false);
  SetLayout(zone, kDirectionLayout, rule.direction);
  if (rule.directionHidden) ShowLayout(zone, kDirectionLayout, false);
  SetLayout(zone, kRgbLayout, rule.rgb);
  if (rule.areaShown) ShowLayout(zone, kAreaComboLayout, true);
  if (rule.customShown) {
    ShowLayout(zone, kCustomLayout, true);
    ShowLayout(zone, kCustomComboLayout, true);
  }
  if (rule.sync && syncAllowed_) ShowLayout(zone, kSyncButton, true);
  if (rule.fxlText) {
    if (CControlUI* fxl = Find(zone, kFxlOption)) fxl->SetText(rule.fxlText);
    if (CControlUI* fxr = Find(zone, kFxrOption)) fxr->SetText(rule.fxrText);
  }
}

int CLightControlUI::Effect(LightZone zone) const {
  const CComboUI* combo = ComboOf(zone, kEffectCombo);
  return combo ? combo->GetCurSel() : -1;
}

int CLightControlUI::Brightness(LightZone zone) const {
  const CSliderUI* slider = SliderOf(zone, kBrightnessSlider);
  return slider ? slider->GetValue() : 0;
}

void CLightControlUI::SetBrightness(LightZone zone, int level) {
  if (CSliderUI* slider = SliderOf(zone, kBrightnessSlider)) slider->SetValue(level);
}

int CLightControlUI::Speed(LightZone zone) const {
  const CSliderUI* slider = SliderOf(zone, kSpeedSlider);
  return slider ? slider->GetValue() : 0;
}

void CLightControlUI::SetSpeed(LightZone zone, int speed) {
  if (CSliderUI* slider = SliderOf(zone, kSpeedSlider)) slider->SetValue(speed);
}

std::string CLightControlUI::ColourText(LightZone zone, int channel) const {
  const CEditUI* edit = EditOf(zone, channel);
  return edit ? edit->GetText().str() : std::string();
}

void CLightControlUI::SetColourText(LightZone zone, int channel, const std::string& text) {
  if (CEditUI* edit = EditOf(zone, channel)) edit->SetText(text.c_str());
}

std::uint32_t CLightControlUI::PaletteColour(LightZone zone) const {
  const CColorPaletteUI* palette = PaletteOf(zone);
  return palette ? palette->GetSelectColor() : 0xFF000000u;
}

void CLightControlUI::SetPaletteColour(LightZone zone, std::uint32_t argb) {
  if (CColorPaletteUI* palette = PaletteOf(zone)) palette->SetSelectColor(argb);
  if (CControlUI* button = Find(zone, kColourButton)) button->SetBkColor(argb);
}

int CLightControlUI::MultiColour(LightZone zone) const {
  const COptionUI* check = OptionOf(zone, kMultiColourCheck);
  return check && check->IsSelected() ? 1 : 0;
}

void CLightControlUI::SetMultiColour(LightZone zone, bool on) {
  if (COptionUI* check = OptionOf(zone, kMultiColourCheck)) check->Selected(on, false);
}

int CLightControlUI::Direction(LightZone zone) const {
  const COptionUI* fxl = OptionOf(zone, kFxlOption);
  return fxl && fxl->IsSelected() ? 1 : 0;
}

void CLightControlUI::SetDirection(LightZone zone, int direction) {
  COptionUI* fxl = OptionOf(zone, kFxlOption);
  COptionUI* fxr = OptionOf(zone, kFxrOption);
  if (fxl) fxl->Selected(direction == 1, false);
  if (fxr) fxr->Selected(direction != 1, false);
}

int CLightControlUI::CustomGroup() const {
  const CComboUI* combo = ComboOf(LightZone::kMain, kCustomCombo);
  return combo ? combo->GetCurSel() : -1;
}

void CLightControlUI::SetCustomGroup(int index) {
  CComboUI* combo = ComboOf(LightZone::kMain, kCustomCombo);
  if (combo && combo->GetCurSel() != index) combo->SelectItem(index, false, false);
}

int CLightControlUI::Area() const {
  const CComboUI* combo = ComboOf(LightZone::kMain, kAreaCombo);
  return combo ? combo->GetCurSel() : -1;
}

void CLightControlUI::SetArea(int index) {
  CComboUI* combo = ComboOf(LightZone::kMain, kAreaCombo);
  if (combo && combo->GetCurSel() != index) combo->SelectItem(index, false, false);
}

int CLightControlUI::LogoRgb() const {
  const COptionUI* check = As<COptionUI>(FindName(kLogoRgbCheck), "Option");
  return check && check->IsSelected() ? 1 : 0;
}

void CLightControlUI::SetLogoRgb(bool on) {
  if (COptionUI* check = As<COptionUI>(FindName(kLogoRgbCheck), "Option")) check->Selected(on, false);
}

std::uint32_t CLightControlUI::PresetColour(int n) const {
  const CControlUI* button = FindName(std::string(kPresetPrefix) + std::to_string(n));
  return button ? button->GetBkColor() : 0;
}

int CLightControlUI::ParseColourText(const std::string& text) {
  if (text.empty()) return 0;
  errno = 0;
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str()) return 0;
  if (errno == ERANGE) return value < 0 ? 0 : 255;
  if (value < 0) return 0;
  if (value > 255) return 255;
  return static_cast<int>(value);
}

bool CLightControlUI::Contains(CControlUI* control) const {
  for (CControlUI* c = control; c; c = c->GetParent())
    if (c == this) return true;
  return false;
}

LightZone CLightControlUI::ZoneOf(const std::string& name, std::string* bare) {
  for (LightZone zone : {LightZone::kLogo, LightZone::kSt}) {
    const std::string prefix = LightZonePrefix(zone);
    if (name.compare(0, prefix.size(), prefix) == 0) {
      *bare = name.substr(prefix.size());
      return zone;
    }
  }
  *bare = name;
  return LightZone::kMain;
}

bool CLightControlUI::Begin(LightZone zone, LightSetting* record) const {
  return host_ && host_->CurrentLightSetting(zone, record);
}

void CLightControlUI::Finish(LightZone zone, const LightSetting& record, LightChange change) {
  host_->LightSettingChanged(zone, record, change);
}

bool CLightControlUI::HandleNotify(TNotifyUI& msg) {
  if (updating_ || !msg.pSender || !Contains(msg.pSender)) return false;
  std::string bare;
  const std::string fullName = msg.pSender->GetName().str();
  const LightZone zone = ZoneOf(fullName, &bare);
  const ZoneFields& f = FieldsOf(zone);
  const CDuiString& type = msg.sType;
  LightSetting record;

  if (type == DUI_MSGTYPE_CLICK) {
    if (bare == kSyncButton) {
      if (host_) host_->SynchroniseLightingRequested();
      return true;
    }
    if (zone == LightZone::kMain && bare.compare(0, std::strlen(kPresetPrefix), kPresetPrefix) == 0) {
      OnColour(zone, msg.pSender->GetBkColor(), LightChange::kPresetColour);
      return true;
    }
    return false;
  }

  if (type == DUI_MSGTYPE_ITEMSELECT) {
    CComboUI* combo = As<CComboUI>(msg.pSender, "Combo");
    if (!combo || combo->GetCurSel() < 0) return false;
    const int index = combo->GetCurSel();
    if (bare == kEffectCombo) {
      // The controls follow the effect even when no page takes the change.
      ApplyEnablingRules(zone, index);
      if (!Begin(zone, &record)) return true;
      record.*f.effect = ToByte(index);
      Finish(zone, record, LightChange::kEffect);
      return true;
    }
    if (zone == LightZone::kMain && (bare == kCustomCombo || bare == kAreaCombo)) {
      if (!Begin(zone, &record)) return true;
      const bool custom = bare == kCustomCombo;
      (custom ? record.customLightModeGroupIndex : record.zzccLedMode) = ToByte(index);
      Finish(zone, record, custom ? LightChange::kCustomGroup : LightChange::kArea);
      return true;
    }
    return false;
  }

  if (type == DUI_MSGTYPE_VALUECHANGED) {
    CSliderUI* slider = As<CSliderUI>(msg.pSender, "Slider");
    const bool brightness = bare == kBrightnessSlider;
    if (!slider || (!brightness && bare != kSpeedSlider)) return false;
    if (!Begin(zone, &record)) return true;
    record.*(brightness ? f.brightness : f.speed) = ToByte(slider->GetValue());
    Finish(zone, record, brightness ? LightChange::kBrightness : LightChange::kSpeed);
    return true;
  }

  if (type == DUI_MSGTYPE_TEXTCHANGED) {
    for (int channel = 0; channel < 3; ++channel) {
      if (bare == kEditNames[channel]) {
        OnColourEdit(zone, channel);
        return true;
      }
    }
    return false;
  }

  if (type == DUI_MSGTYPE_COLORCHANGED) {
    CColorPaletteUI* palette = As<CColorPaletteUI>(msg.pSender, "ColorPalette");
    if (!palette || bare != kPalette) return false;
    OnColour(zone, palette->GetSelectColor(), LightChange::kColour);
    return true;
  }

  if (type == DUI_MSGTYPE_SELECTCHANGED) {
    COptionUI* option = As<COptionUI>(msg.pSender, "Option");
    if (!option) return false;
    if (bare == kFxlOption || bare == kFxrOption) {
      // Both of the pair report a switch; the one now selected carries it.
      if (!option->IsSelected()) return true;
      if (!Begin(zone, &record)) return true;
      record.*f.direction = bare == kFxlOption ? 1 : 0;
      Finish(zone, record, LightChange::kDirection);
      return true;
    }
    if (bare == kMultiColourCheck) {
      if (!Begin(zone, &record)) return true;
      record.*f.multiColour = option->IsSelected() ? 1 : 0;
      Finish(zone, record, LightChange::kMultiColour);
      return true;
    }
    if (fullName == kLogoRgbCheck) {
      if (!Begin(LightZone::kLogo, &record)) return true;
      record.rgbDengOffOn = option->IsSelected() ? 1 : 0;
      Finish(LightZone::kLogo, record, LightChange::kLogoRgb);
      return true;
    }
    return false;
  }
  return false;
}

void CLightControlUI::OnColourEdit(LightZone zone, int channel) {
  const std::string text = ColourText(zone, channel);
  const int value = ParseColourText(text);
  const std::string shown = std::to_string(value);
  updating_ = true;
  // Out of range, empty or not a number: the edit shows what is stored.
  if (text != shown) SetColourText(zone, channel, shown);
  updating_ = false;
  LightSetting record;
  if (!Begin(zone, &record)) return;
  const ZoneFields& f = FieldsOf(zone);
  record.*f.colour[channel] = static_cast<std::uint8_t>(value);
  OnColour(zone, PackColour(record.*f.colour[0], record.*f.colour[1], record.*f.colour[2]),
           LightChange::kColour);
}

void CLightControlUI::OnColour(LightZone zone, std::uint32_t argb, LightChange change) {
  LightSetting record;
  if (!Begin(zone, &record)) return;
  const ZoneFields& f = FieldsOf(zone);
  record.*f.colour[0] = static_cast<std::uint8_t>((argb >> 16) & 0xFF);
  record.*f.colour[1] = static_cast<std::uint8_t>((argb >> 8) & 0xFF);
  record.*f.colour[2] = static_cast<std::uint8_t>(argb & 0xFF);
  // A fixed colour was chosen: the colour wheel gives way to it.
  record.*f.multiColour = 0;
  updating_ = true;
  ShowColour(zone, record.*f.colour[0], record.*f.colour[1], record.*f.colour[2]);
  SetMultiColour(zone, false);
  updating_ = false;
  Finish(zone, record, change);
}

}  // namespace ostrel
