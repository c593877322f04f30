#include "profiles/CBasicProfiledata.h"

#include <algorithm>
#include <cstdint>

#include "profiles/DataFolders.h"
#include "profiles/JsonFields.h"
#include "profiles/JsonFileUtil.h"

namespace ostrel {
namespace {

// How the keys of a light object map to the bytes of the lighting record.
struct LightKeyField {
  const char* key;
  std::uint8_t LightSetting::*field;
  bool readAsBool;
};

constexpr LightKeyField kMainLightFields[] = {
    {"SelectItem", &LightSetting::selectItem, false},
    {"Light", &LightSetting::light, false},
    {"Speed", &LightSetting::speed, false},
    {"Fx", &LightSetting::fx, false},
    {"MultiColor", &LightSetting::multiColor, true},
    {"Red", &LightSetting::red, false},
    {"Green", &LightSetting::green, false},
    {"Blue", &LightSetting::blue, false},
    {"ZZCCLedMode", &LightSetting::zzccLedMode, false},
    {"CustomLightModeGroupIndex", &LightSetting::customLightModeGroupIndex, false},
};

constexpr LightKeyField kLogoLightFields[] = {
    {"SelectItem", &LightSetting::logoSelectItem, false}, {"Light", &LightSetting::logoLight, false},
    {"Speed", &LightSetting::logoSpeed, false},           {"Fx", &LightSetting::logoFx, false},
    {"MultiColor", &LightSetting::logoMultiColor, false}, {"Red", &LightSetting::logoRed, false},
    {"Green", &LightSetting::logoGreen, false},           {"Blue", &LightSetting::logoBlue, false},
    {"RGBdengoffon", &LightSetting::rgbDengOffOn, false},
};

constexpr LightKeyField kStLightFields[] = {
    {"SelectItem", &LightSetting::stSelectItem, false}, {"Light", &LightSetting::stLight, false},
    {"Speed", &LightSetting::stSpeed, false},           {"Fx", &LightSetting::stFx, false},
    {"MultiColor", &LightSetting::stMultiColor, false}, {"Red", &LightSetting::stRed, false},
    {"Green", &LightSetting::stGreen, false},           {"Blue", &LightSetting::stBlue, false},
};

template <std::size_t N>
bool ReadLightObject(const Json::Value& object, const LightKeyField (&fields)[N], LightSetting& setting) {
  if (!object.isObject()) return false;
  for (const LightKeyField& f : fields) {
    const std::int64_t value = JsonFields::IntegerMember(object, f.key);
    setting.*f.field = f.readAsBool ? (value != 0 ? 1 : 0) : static_cast<std::uint8_t>(value);
  }
  return true;
}

template <std::size_t N>
void WriteLightObject(Json::Value& object, const LightKeyField (&fields)[N], const LightSetting& setting) {
  for (const LightKeyField& f : fields) object[f.key] = static_cast<int>(setting.*f.field);
}

struct ByteField {
  const char* key;
  std::uint8_t LightListEntry::*field;
  bool readAsBool;
};

constexpr ByteField kLightListFields[] = {
    {"LEDREGMode", &LightListEntry::ledRegMode, false},
    {"LEDBrightness", &LightListEntry::ledBrightness, false},
    {"LEDSpeed", &LightListEntry::ledSpeed, false},
    {"LEDDirection", &LightListEntry::ledDirection, true},
    {"LEDMultiColor", &LightListEntry::ledMultiColor, true},
    {"red", &LightListEntry::red, false},
    {"green", &LightListEntry::green, false},
    {"blue", &LightListEntry::blue, false},
};

struct StepField {
  const char* key;
  std::uint8_t LightEffectStep::*field;
};

constexpr StepField kEffectStepFields[] = {
    {"LEDREGMode", &LightEffectStep::ledRegMode},
    {"LEDBrightness", &LightEffectStep::ledBrightness},
    {"LEDSpeed", &LightEffectStep::ledSpeed},
    {"LEDDirection", &LightEffectStep::ledDirection},
    {"LEDMultiColor", &LightEffectStep::ledMultiColor},
    {"red", &LightEffectStep::red},
    {"green", &LightEffectStep::green},
    {"blue", &LightEffectStep::blue},
};

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

void CBasicProfiledata::SetProfilePath(const std::string& path) {
  if (!path.empty()) profilePath_ = path;
}

void CBasicProfiledata::SetDefaultPath(const std::string& path) {
  if (!path.empty()) defaultPath_ = path;
}

void CBasicProfiledata::ResetState() {
  mainLight_ = logoLight_ = stLight_ = zeroLight_ = LightSetting{};
  lightList_.clear();
  section_ = Json::Value();
  lightEffects_.clear();
  lightConfiguration_ = Json::Value();
  keyList_.clear();
  deviceIndex_ = 0;
}

const Json::Value& CBasicProfiledata::LoadProfile(const std::string& path) {
  Json::Value file = JsonFileUtil::ReadJson(path);
  const Json::Value& stored = JsonFields::Element(JsonFields::Member(file, "Device"), Index());
  if (stored.isObject()) {
    section_ = stored;
    return section_;
  }
  // No usable section: take the default profile's and store it in the file.
  const Json::Value defaults = JsonFileUtil::ReadJson(defaultPath_);
  const Json::Value& fallback = JsonFields::Element(JsonFields::Member(defaults, "Device"), Index());
  if (!fallback.isObject()) {
    // Without a default there is nothing to repair with; keep the file as it is.
    section_ = Json::Value(Json::objectValue);
    return section_;
  }
  section_ = fallback;
  // Loading the default profile itself (a page restoring its defaults) never writes DefaultData.
  if (path == defaultPath_) return section_;
  if (!file.isObject()) file = Json::Value(Json::objectValue);
  JsonFields::ArrayMember(file, "Device")[Index()] = section_;
  JsonFileUtil::WriteJson(path, file);
  return section_;
}

bool CBasicProfiledata::SaveProfile() {
  if (profilePath_.empty()) return false;
  return SaveSection(section_, profilePath_);
}

bool CBasicProfiledata::SaveSection(const Json::Value& section, const std::string& path) {
  Json::Value file = JsonFileUtil::ReadJson(path);
  if (!file.isObject()) file = Json::Value(Json::objectValue);
  JsonFields::ArrayMember(file, "Device")[Index()] = section;
  return JsonFileUtil::WriteJson(path, file);
}

bool CBasicProfiledata::WriteDocument(const Json::Value& document, const std::string& path) {
  return JsonFileUtil::WriteJson(path, document);
}

LightSetting CBasicProfiledata::ReadLightSetting() {
  LightSetting setting;
  mainLight_ = ReadLightObject(JsonFields::Member(section_, "LightInfo"), kMainLightFields, setting)
                   ? setting
                   : zeroLight_;
  return mainLight_;
}

LightSetting CBasicProfiledata::ReadLogoLightSetting() {
  LightSetting setting;
  logoLight_ = ReadLightObject(JsonFields::Member(section_, "LogoLightInfo"), kLogoLightFields, setting)
                   ? setting
                   : zeroLight_;
  return logoLight_;
}

LightSetting CBasicProfiledata::ReadStLightSetting() {
  LightSetting setting;
  stLight_ = ReadLightObject(JsonFields::Member(section_, "StLightInfo"), kStLightFields, setting)
                 ? setting
                 : zeroLight_;
  return stLight_;
}

void CBasicProfiledata::WriteLightSetting(const LightSetting& setting) {
  mainLight_ = setting;
  WriteLightObject(JsonFields::ObjectMember(section_, "LightInfo"), kMainLightFields, setting);
}

void CBasicProfiledata::WriteLogoLightSetting(const LightSetting& setting) {
  logoLight_ = setting;
  WriteLightObject(JsonFields::ObjectMember(section_, "LogoLightInfo"), kLogoLightFields, setting);
}

void CBasicProfiledata::WriteStLightSetting(const LightSetting& setting) {
  stLight_ = setting;
  WriteLightObject(JsonFields::ObjectMember(section_, "StLightInfo"), kStLightFields, setting);
}

const std::vector<LightListEntry>& CBasicProfiledata::ReadLightList() {
  lightList_.clear();
  const Json::Value& list = JsonFields::Member(section_, "LightList");
  if (!list.isArray()) return lightList_;
  const Json::ArrayIndex count = std::min<Json::ArrayIndex>(list.size(), kMaxListEntries);
  lightList_.reserve(count);
  for (Json::ArrayIndex i = 0; i < count; ++i) {
    const Json::Value& element = list[i];
    LightListEntry entry;
    if (element.isObject()) {
      for (const ByteField& f : kLightListFields) {
        const std::int64_t value = JsonFields::IntegerMember(element, f.key);
        entry.*f.field = f.readAsBool ? (value != 0 ? 1 : 0) : static_cast<std::uint8_t>(value);
      }
      entry.present = 1;
    }
    lightList_.push_back(entry);
  }
  return lightList_;
}

bool CBasicProfiledata::LoadLightConfiguration() {
  lightConfiguration_ = JsonFileUtil::ReadJson(lightConfigPath_);
  return !lightConfiguration_.isNull();
}

const std::vector<LightEffectStep>& CBasicProfiledata::ReadLightEffects() {
  lightEffects_.clear();
  if (lightConfiguration_.isNull()) return lightEffects_;
  const Json::Value& entries =
      JsonFields::Element(JsonFields::Member(lightConfiguration_, "LightInfo"), Index());
  const std::string guid =
      JsonFields::StringMember(JsonFields::Element(entries, mainLight_.selectItem), "Guid");
  // The id becomes a file name: anything but a real id could reach outside the folders.
  if (!JsonFileUtil::IsValidId(guid)) return lightEffects_;
  Json::Value effect;
  for (const std::string& folder : {FolderOf(lightConfigPath_), DataFolders::DefaultDataFolder()}) {
    if (folder.empty()) continue;
    effect = JsonFileUtil::ReadJson(folder + guid + ".light");
    if (!effect.isNull()) break;
  }
  const Json::Value& list = JsonFields::Member(effect, "LEDEffectList");
  if (!list.isArray()) return lightEffects_;
  const Json::ArrayIndex count = std::min<Json::ArrayIndex>(list.size(), kMaxEffectSteps);
  lightEffects_.reserve(count);
  for (Json::ArrayIndex i = 0; i < count; ++i) {
    const Json::Value& element = list[i];
    LightEffectStep step;
    for (const StepField& f : kEffectStepFields)
      step.*f.field = static_cast<std::uint8_t>(JsonFields::IntegerMember(element, f.key));
    step.time = static_cast<std::int32_t>(JsonFields::IntegerMember(element, "Time"));
    step.cycle = static_cast<std::int32_t>(JsonFields::IntegerMember(element, "Cyle"));
    lightEffects_.push_back(step);
  }
  return lightEffects_;
}

const std::vector<KeyEntry>& CBasicProfiledata::ReadKeyList() {
  keyList_.clear();
  const Json::Value& list = JsonFields::Member(section_, "KeyList");
  if (!list.isArray()) return keyList_;
  const Json::ArrayIndex count = std::min<Json::ArrayIndex>(list.size(), kMaxListEntries);
  keyList_.reserve(count);
  for (Json::ArrayIndex i = 0; i < count; ++i) {
    const Json::Value& element = list[i];
    const auto keyId = static_cast<std::uint16_t>(i);
    keyList_.push_back(
        {KeyAction::FromPacked(JsonFields::IntegerMember(element, "Assignment"), keyId),
         KeyAction::FromPacked(JsonFields::IntegerMember(element, "DefaultAssignment"), keyId)});
  }
  return keyList_;
}

void CBasicProfiledata::WriteKeyList(const std::vector<KeyEntry>& keys) {
  // A copy first: callers may pass the list ReadKeyList returned.
  keyList_ = std::vector<KeyEntry>(keys.begin(), keys.begin() + std::min(keys.size(), kMaxListEntries));
  Json::Value& list = JsonFields::ArrayMember(section_, "KeyList");
  for (std::size_t i = 0; i < keyList_.size(); ++i)
    JsonFields::ObjectElement(list, static_cast<Json::ArrayIndex>(i))["Assignment"] =
        keyList_[i].current.Packed();
}

}  // namespace ostrel
