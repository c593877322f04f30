#include "profiles/CHs6533Profiledata.h"

#include <algorithm>
#include <cstdint>

#include "profiles/JsonFields.h"

namespace ostrel {
namespace {

struct SettingField {
  const char* key;
  std::int32_t HeadsetSettings::*field;
};

constexpr SettingField kSettingFields[] = {
    {"MagicEnable", &HeadsetSettings::magicEnable},
    {"MagicType", &HeadsetSettings::magicType},
    {"EqType", &HeadsetSettings::eqType},
    {"CustomEqSeletIndex", &HeadsetSettings::customEqSelectIndex},
    {"MicInSelect", &HeadsetSettings::micInSelect},
    {"MicInValue", &HeadsetSettings::micInValue},
    {"MicMoniterSelect", &HeadsetSettings::micMonitorSelect},
    {"MicMoniterValue", &HeadsetSettings::micMonitorValue},
};

constexpr int kCustomEqType = 13;

}  // namespace

void CHs6533Profiledata::ResetState() {
  CBasicProfiledata::ResetState();
  headsetSettings_ = {};
}

HeadsetSettings CHs6533Profiledata::ReadHeadsetSettings() {
  headsetSettings_ = {};
  const Json::Value& stages = JsonFields::Member(section_, "SystemSetStages");
  if (stages.isObject())
    for (const SettingField& f : kSettingFields)
      headsetSettings_.*f.field = static_cast<std::int32_t>(JsonFields::IntegerMember(stages, f.key));
  return headsetSettings_;
}

void CHs6533Profiledata::WriteHeadsetSettings(const HeadsetSettings& settings) {
  headsetSettings_ = settings;
  Json::Value& stages = JsonFields::ObjectMember(section_, "SystemSetStages");
  for (const SettingField& f : kSettingFields) stages[f.key] = settings.*f.field;
}

int CHs6533Profiledata::EqSlot(int eqType) {
  if (eqType == kCustomEqType) return -1;
  // Types from files may be anything; all but 1-12 fall back to the first curve.
  if (eqType <= 0 || eqType > kCustomEqType) return 1;
  return eqType;
}

std::vector<int> CHs6533Profiledata::ReadBands(const char* key, int index) {
  std::vector<int> bands(kBandCount, 0);
  if (index < 0 || index >= static_cast<int>(kMaxListEntries)) return bands;
  const auto slot = static_cast<Json::ArrayIndex>(index);
  const Json::Value& stored = JsonFields::Element(JsonFields::Member(section_, key), slot);
  if (!stored.isArray()) {
    Json::Value& created = JsonFields::ArrayElement(JsonFields::ArrayMember(section_, key), slot);
    for (int i = 0; i < kBandCount; ++i)
      JsonFields::ObjectElement(created, static_cast<Json::ArrayIndex>(i))["value"] = 0;
    return bands;
  }
  for (int i = 0; i < kBandCount; ++i)
    bands[i] = static_cast<int>(
        JsonFields::IntegerMember(JsonFields::Element(stored, static_cast<Json::ArrayIndex>(i)), "value"));
  return bands;
}

void CHs6533Profiledata::WriteBands(const char* key, int index, const std::vector<int>& values) {
  if (index < 0 || index >= static_cast<int>(kMaxListEntries)) return;
  Json::Value& bands =
      JsonFields::ArrayElement(JsonFields::ArrayMember(section_, key), static_cast<Json::ArrayIndex>(index));
  const std::size_t count = std::min<std::size_t>(values.size(), kBandCount);
  for (std::size_t i = 0; i < count; ++i)
    JsonFields::ObjectElement(bands, static_cast<Json::ArrayIndex>(i))["value"] = values[i];
}

std::vector<int> CHs6533Profiledata::ReadEqBands(int eqType) {
  const int slot = EqSlot(eqType);
  if (slot < 0) return {};
  return ReadBands("EQHzValueInfo", slot);
}

void CHs6533Profiledata::WriteEqBands(int eqType, const std::vector<int>& values) {
  const int slot = EqSlot(eqType);
  if (slot >= 0) WriteBands("EQHzValueInfo", slot, values);
}

std::vector<std::string> CHs6533Profiledata::ReadCustomEqNames() {
  std::vector<std::string> names;
  const Json::Value& list = JsonFields::Member(section_, "CustomEQNameInfo");
  if (!list.isArray()) return names;
  const Json::ArrayIndex count = std::min<Json::ArrayIndex>(list.size(), kMaxListEntries);
  for (Json::ArrayIndex i = 0; i < count; ++i) names.push_back(JsonFields::StringMember(list[i], "Name"));
  return names;
}

void CHs6533Profiledata::WriteCustomEqNames(const std::vector<std::string>& names) {
  Json::Value list(Json::arrayValue);
  const std::size_t count = std::min(names.size(), kMaxListEntries);
  for (std::size_t i = 0; i < count; ++i) {
    Json::Value entry(Json::objectValue);
    entry["Name"] = names[i];
    list.append(entry);
  }
  JsonFields::ArrayMember(section_, "CustomEQNameInfo") = list;
}

std::vector<int> CHs6533Profiledata::ReadCustomEqBands(int index) {
  return ReadBands("CustomEQHzValueInfo", index);
}

void CHs6533Profiledata::WriteCustomEqBands(int index, const std::vector<int>& values) {
  WriteBands("CustomEQHzValueInfo", index, values);
}

}  // namespace ostrel
