#include "devices/KeyboardSettingControls.h"

#include <cctype>
#include <charconv>

#include "platform/ui/CContainerUI.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/CSliderUI.h"

namespace ostrel {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

int KeyboardSettingControls::OptionNumber(std::string_view name, std::string_view prefix) {
  if (name.size() <= prefix.size() || !EqualNoCase(name.substr(0, prefix.size()), prefix)) return -1;
  const std::string_view digits = name.substr(prefix.size());
  int number = -1;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size()) return -1;
  return number >= 0 && number < kOptionCount ? number : -1;
}

std::string KeyboardSettingControls::RepeatDelayText(int index) {
  const int clamped = ClampOption(index);
  return CResourceManager::GetInstance()->GetText(kRepeatDelayTextKey).str() +
         std::to_string((clamped + 1) * kRepeatDelayStepMs) + "ms";
}

CControlUI* KeyboardSettingControls::Find(const char* name) const {
  return page_ ? page_->FindSubControl(name) : nullptr;
}

void KeyboardSettingControls::SelectOption(const char* prefix, int index) {
  const int selected = ClampOption(index);
  for (int i = 0; i < kOptionCount; ++i) {
    const std::string name = prefix + std::to_string(i);
    if (COptionUI* option = As<COptionUI>(Find(name.c_str()), "Option"))
      option->Selected(i == selected, false);
  }
}

void KeyboardSettingControls::selectRepeatDelay(int index) {
  SelectOption(kRepeatDelayPrefix, index);
  if (CControlUI* label = Find(kRepeatDelayLabelName)) label->SetText(RepeatDelayText(index).c_str());
}

void KeyboardSettingControls::SetFlag(const char* name, bool on) {
  if (COptionUI* option = As<COptionUI>(Find(name), "Option")) option->Selected(on, false);
}

bool KeyboardSettingControls::Flag(const char* name) const {
  const COptionUI* option = As<COptionUI>(Find(name), "Option");
  return option && option->IsSelected();
}

void KeyboardSettingControls::setRepeatRate(int rate) {
  if (CSliderUI* slider = As<CSliderUI>(Find(kRepeatRateName), "Slider")) slider->SetValue(rate);
}

int KeyboardSettingControls::repeatRate() const {
  const CSliderUI* slider = As<CSliderUI>(Find(kRepeatRateName), "Slider");
  return slider ? slider->GetValue() : 0;
}

void KeyboardSettingControls::clearRepeatTest() {
  CEditUI* field = As<CEditUI>(Find(kRepeatTestName), "Edit");
  if (!field) return;
  field->SetText("");
  field->SetPromptText(CResourceManager::GetInstance()->GetText(kRepeatTestPromptKey).GetData());
}

void KeyboardSettingControls::Show(const KeyboardSystemSettings& settings) {
  SetFlag(kWinLockName, settings.winFlag != 0);
  SetFlag(kWFlagName, settings.wFlag != 0);
  SetFlag(kSixKeyName, settings.key6Flag != 0);
  setRepeatRate(settings.repeat);
  selectRepeatDelay(settings.repeatDelay);
  clearRepeatTest();
  selectPollingRate(settings.pollingRate);
  selectScanDelay(settings.scanDelay);
}

}  // namespace ostrel
