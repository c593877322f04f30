#include "profiles/CMouseProfiledata.h"

#include <algorithm>
#include <cstdint>

#include "profiles/JsonFields.h"

namespace ostrel {
namespace {

struct StageByteField {
  const char* key;
  std::uint8_t DpiStage::*field;
};

constexpr StageByteField kStageByteFields[] = {
    {"StageActive", &DpiStage::stageActive}, {"StageXY", &DpiStage::stageXY},
    {"StageColorR", &DpiStage::red},         {"StageColorG", &DpiStage::green},
    {"StageColorB", &DpiStage::blue},
};

struct StageWordField {
  const char* key;
  std::uint16_t DpiStage::*field;
};

constexpr StageWordField kStageWordFields[] = {
    {"StageDPIX", &DpiStage::stageDpiX},
    {"StageDPIY", &DpiStage::stageDpiY},
};

struct SettingField {
  const char* key;
  std::uint16_t MouseSystemSettings::*field;
};

constexpr SettingField kSystemFields[] = {
    {"DoubleClickTime", &MouseSystemSettings::doubleClickTime},
    {"MouseSpeed", &MouseSystemSettings::mouseSpeed},
    {"PointerPrecision", &MouseSystemSettings::pointerPrecision},
    {"ScorllPage", &MouseSystemSettings::scrollPage},
    {"WheelScorlllinse", &MouseSystemSettings::wheelScrollLines},
};

}  // namespace

void CMouseProfiledata::ResetState() {
  CBasicProfiledata::ResetState();
  dpiStages_.clear();
  activeStage_ = 0;
  systemSettings_ = {};
  correctInfo_.clear();
}

const std::vector<DpiStage>& CMouseProfiledata::ReadDpiStages() {
  const Json::Value& dpi = JsonFields::Member(section_, "DPIStages");
  if (!dpi.isObject()) return dpiStages_;
  activeStage_ = static_cast<int>(JsonFields::IntegerMember(dpi, "StageActive"));
  const Json::Value& list = JsonFields::Member(dpi, "StageDPIs");
  if (!list.isArray()) return dpiStages_;
  const Json::ArrayIndex count = std::min<Json::ArrayIndex>(list.size(), kMaxListEntries);
  for (Json::ArrayIndex i = 0; i < count; ++i) {
    const Json::Value& element = list[i];
    DpiStage stage;
    for (const StageByteField& f : kStageByteFields)
      stage.*f.field = static_cast<std::uint8_t>(JsonFields::IntegerMember(element, f.key));
    for (const StageWordField& f : kStageWordFields)
      stage.*f.field = static_cast<std::uint16_t>(JsonFields::IntegerMember(element, f.key));
    if (i < dpiStages_.size())
      dpiStages_[i] = stage;
    else
      dpiStages_.push_back(stage);
  }
  return dpiStages_;
}

void CMouseProfiledata::WriteDpiStages(const std::vector<DpiStage>& stages) {
  // A copy first: callers may pass the list ReadDpiStages returned.
  dpiStages_ =
      std::vector<DpiStage>(stages.begin(), stages.begin() + std::min(stages.size(), kMaxListEntries));
  Json::Value& list = JsonFields::ArrayMember(JsonFields::ObjectMember(section_, "DPIStages"), "StageDPIs");
  for (std::size_t i = 0; i < dpiStages_.size(); ++i) {
    Json::Value& element = JsonFields::ObjectElement(list, static_cast<Json::ArrayIndex>(i));
    for (const StageByteField& f : kStageByteFields)
      element[f.key] = static_cast<int>(dpiStages_[i].*f.field);
    for (const StageWordField& f : kStageWordFields)
      element[f.key] = static_cast<int>(dpiStages_[i].*f.field);
  }
  list.resize(static_cast<Json::ArrayIndex>(dpiStages_.size()));
}

void CMouseProfiledata::SetActiveStage(int stage) {
  activeStage_ = stage;
  JsonFields::ObjectMember(section_, "DPIStages")["StageActive"] = stage;
}

MouseSystemSettings CMouseProfiledata::ReadSystemSettings() {
  systemSettings_ = {};
  const Json::Value& stages = JsonFields::Member(section_, "SystemStages");
  if (!stages.isObject()) return systemSettings_;
  for (const SettingField& f : kSystemFields)
    systemSettings_.*f.field = static_cast<std::uint16_t>(JsonFields::IntegerMember(stages, f.key));
  systemSettings_.reportRate = static_cast<std::uint16_t>(
      JsonFields::IntegerMember(JsonFields::Member(section_, "ReportStages"), "StageActive"));
  return systemSettings_;
}

void CMouseProfiledata::WriteSystemSettings(const MouseSystemSettings& settings) {
  systemSettings_ = settings;
  Json::Value& stages = JsonFields::ObjectMember(section_, "SystemStages");
  for (const SettingField& f : kSystemFields) stages[f.key] = static_cast<int>(settings.*f.field);
  JsonFields::ObjectMember(section_, "ReportStages")["StageActive"] = static_cast<int>(settings.reportRate);
}

const std::vector<CorrectEntry>& CMouseProfiledata::ReadCorrectInfo() {
  correctInfo_.clear();
  const Json::Value& list = JsonFields::Member(section_, "CorrectInfo");
  if (!list.isArray()) return correctInfo_;
  const Json::ArrayIndex count = std::min<Json::ArrayIndex>(list.size(), kMaxListEntries);
  for (Json::ArrayIndex i = 0; i < count; ++i) {
    const Json::Value& element = list[i];
    correctInfo_.push_back({static_cast<std::uint8_t>(JsonFields::IntegerMember(element, "CorrectPixThresh")),
                            static_cast<std::uint8_t>(JsonFields::IntegerMember(element, "CorrectMinSq")),
                            static_cast<std::uint8_t>(JsonFields::IntegerMember(element, "CorrectSelect")),
                            JsonFields::StringMember(element, "CorrectName")});
  }
  return correctInfo_;
}

}  // namespace ostrel
