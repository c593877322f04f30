#include "lighting/LightNameList.h"

#include "platform/os/DebugLog.h"
#include "profiles/JsonFileUtil.h"

namespace ostrel {
namespace {

std::string InFolder(const std::string& folder, const char* file) {
  if (folder.empty() || folder.back() == '/') return folder + file;
  return folder + "/" + file;
}

// document[key][modelNumber][j]."LightName" (and ."visible", true when absent).
std::vector<LightName> ReadNames(const Json::Value& document, const char* key, int modelNumber) {
  std::vector<LightName> names;
  if (!document.isObject() || modelNumber < 0) return names;
  const Json::Value& models = document[key];
  if (!models.isArray() || static_cast<Json::ArrayIndex>(modelNumber) >= models.size()) return names;
  const Json::Value& list = models[static_cast<Json::ArrayIndex>(modelNumber)];
  if (!list.isArray()) return names;
  for (const Json::Value& entry : list) {
    LightName name;
    if (entry.isObject()) {
      const Json::Value& text = entry["LightName"];
      if (text.isString()) name.name = text.asString();
      const Json::Value& visible = entry["visible"];
      if (visible.isBool())
        name.visible = visible.asBool();
      else if (visible.isIntegral())
        name.visible = visible.asInt() != 0;
    }
    // An entry without a name keeps its place: the index is the effect code.
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace

bool LightNameList::LoadDefaults(const std::string& defaultDataFolder, int modelNumber) {
  for (auto& list : effects_) list.clear();
  areas_.clear();
  const std::string path = InFolder(defaultDataFolder, kDefaultFileName);
  const Json::Value document = JsonFileUtil::ReadJson(path);
  if (!document.isObject()) {
    DebugPrintf("LightNameList: %s could not be read", path.c_str());
    return false;
  }
  effects_[static_cast<int>(LightZone::kMain)] = ReadNames(document, "DefaultLightName", modelNumber);
  effects_[static_cast<int>(LightZone::kLogo)] = ReadNames(document, "LightTab1LightName", modelNumber);
  effects_[static_cast<int>(LightZone::kSt)] = ReadNames(document, "LightTab2LightName", modelNumber);
  areas_ = ReadNames(document, "AreaLightName", modelNumber);
  return true;
}

bool LightNameList::LoadUserNames(const std::string& deviceDataFolder, int modelNumber) {
  user_.clear();
  const Json::Value document = JsonFileUtil::ReadJson(InFolder(deviceDataFolder, kUserFileName));
  if (!document.isObject()) return false;
  user_ = ReadNames(document, "LightInfo", modelNumber);
  return true;
}

const std::vector<LightName>& LightNameList::Effects(LightZone zone) const {
  const int index = static_cast<int>(zone);
  return effects_[index >= 0 && index < kLightZoneCount ? index : 0];
}

}  // namespace ostrel
