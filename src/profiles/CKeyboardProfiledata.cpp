#include "profiles/CKeyboardProfiledata.h"

#include <algorithm>
#include <cstdint>

#include "profiles/JsonFields.h"

namespace ostrel {
namespace {

struct SettingField {
  const char* key;
  std::uint16_t KeyboardSystemSettings::*field;
};

constexpr SettingField kSystemFields[] = {
    {"Repeat", &KeyboardSystemSettings::repeat},       {"RepeatDelay", &KeyboardSystemSettings::repeatDelay},
    {"Key6Flag", &KeyboardSystemSettings::key6Flag},   {"PollingRate", &KeyboardSystemSettings::pollingRate},
    {"WFlag", &KeyboardSystemSettings::wFlag},         {"WinFlag", &KeyboardSystemSettings::winFlag},
    {"ScanDelay", &KeyboardSystemSettings::scanDelay},
};

struct ColorField {
  const char* key;
  std::uint8_t CustomColor::*field;
};

constexpr ColorField kColorFields[] = {
    {"Red", &CustomColor::red},
    {"Green", &CustomColor::green},
    {"Blue", &CustomColor::blue},
    {"Alpha", &CustomColor::alpha},
};

void WriteColor(Json::Value& object, const CustomColor& color) {
  for (const ColorField& f : kColorFields) object[f.key] = static_cast<int>(color.*f.field);
}

}  // namespace

void CKeyboardProfiledata::ResetState() {
  CBasicProfiledata::ResetState();
  systemSettings_ = {};
  customColors_.clear();
  customGroupIndex_ = 0;
}

KeyboardSystemSettings CKeyboardProfiledata::ReadSystemSettings() {
  systemSettings_ = {};
  const Json::Value& stages = JsonFields::Member(section_, "SystemStages");
  if (stages.isObject())
    for (const SettingField& f : kSystemFields)
      systemSettings_.*f.field = static_cast<std::uint16_t>(JsonFields::IntegerMember(stages, f.key));
  return systemSettings_;
}

void CKeyboardProfiledata::WriteSystemSettings(const KeyboardSystemSettings& settings) {
  systemSettings_ = settings;
  Json::Value& stages = JsonFields::ObjectMember(section_, "SystemStages");
  for (const SettingField& f : kSystemFields) stages[f.key] = static_cast<int>(settings.*f.field);
}

const std::vector<CustomColor>& CKeyboardProfiledata::ReadCustomColors(int group, int count) {
  const auto n = static_cast<std::size_t>(std::clamp(count, 0, static_cast<int>(kMaxListEntries)));
  customColors_.assign(n, CustomColor{});
  if (group < 0 || group >= kMaxCustomGroups) return customColors_;
  Json::Value& groups =
      JsonFields::ArrayMember(JsonFields::ObjectMember(section_, "CustomLightMode"), "LightColorInfo");
  Json::Value& colors = JsonFields::ArrayElement(groups, static_cast<Json::ArrayIndex>(group));
  for (std::size_t j = 0; j < n; ++j) {
    const auto index = static_cast<Json::ArrayIndex>(j);
    if (index >= colors.size() || !colors[index].isObject()) {
      WriteColor(JsonFields::ObjectElement(colors, index), CustomColor{});
      continue;
    }
    const Json::Value& element = colors[index];
    for (const ColorField& f : kColorFields)
      customColors_[j].*f.field = static_cast<std::uint8_t>(JsonFields::IntegerMember(element, f.key));
  }
  return customColors_;
}

void CKeyboardProfiledata::WriteCustomColors(const std::vector<CustomColor>& colors, int group) {
  // A copy first: callers may pass the list ReadCustomColors returned.
  customColors_ =
      std::vector<CustomColor>(colors.begin(), colors.begin() + std::min(colors.size(), kMaxListEntries));
  if (group < 0 || group >= kMaxCustomGroups) return;
  Json::Value& groups =
      JsonFields::ArrayMember(JsonFields::ObjectMember(section_, "CustomLightMode"), "LightColorInfo");
  Json::Value& list = JsonFields::ArrayElement(groups, static_cast<Json::ArrayIndex>(group));
  for (std::size_t i = 0; i < customColors_.size(); ++i)
    WriteColor(JsonFields::ObjectElement(list, static_cast<Json::ArrayIndex>(i)), customColors_[i]);
}

int CKeyboardProfiledata::ReadCustomGroupIndex() {
  customGroupIndex_ = static_cast<int>(JsonFields::IntegerMember(
      JsonFields::Member(section_, "CustomLightMode"), "CustomLightModeGroupIndex"));
  return customGroupIndex_;
}

void CKeyboardProfiledata::WriteCustomGroupIndex(int index) {
  customGroupIndex_ = index;
  JsonFields::ObjectMember(section_, "CustomLightMode")["CustomLightModeGroupIndex"] = index;
}

}  // namespace ostrel
