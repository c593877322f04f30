#pragma once
// The mouse's profile section: the base's lighting and keys, the DPI stages,
// the pointer and polling values and the correction presets.

#include <vector>

#include "profiles/CBasicProfiledata.h"
#include "profiles/CorrectEntry.h"
#include "profiles/DpiStage.h"
#include "profiles/MouseSystemSettings.h"

namespace ostrel {

class CMouseProfiledata : public CBasicProfiledata {
 public:
  void ResetState() override;

  // "DPIStages": the stages of the file are merged into the kept list
  // position by position; positions beyond the file's count keep their
  // values. Without "DPIStages" the list and the active stage stay as they are.
  const std::vector<DpiStage>& ReadDpiStages();
  // Replaces the list and writes one "StageDPIs" element per stage.
  void WriteDpiStages(const std::vector<DpiStage>& stages);
  int GetActiveStage() const { return activeStage_; }
  // Also writes "DPIStages"."StageActive".
  void SetActiveStage(int stage);

  // "SystemStages" and "ReportStages"; all zero without "SystemStages".
  MouseSystemSettings ReadSystemSettings();
  void WriteSystemSettings(const MouseSystemSettings& settings);

  // "CorrectInfo" (read only).
  const std::vector<CorrectEntry>& ReadCorrectInfo();

  const std::vector<DpiStage>& GetDpiStages() const { return dpiStages_; }
  const MouseSystemSettings& GetSystemSettings() const { return systemSettings_; }
  const std::vector<CorrectEntry>& GetCorrectInfo() const { return correctInfo_; }

 private:
  std::vector<DpiStage> dpiStages_;
  int activeStage_ = 0;
  MouseSystemSettings systemSettings_;
  std::vector<CorrectEntry> correctInfo_;
};

}  // namespace ostrel
