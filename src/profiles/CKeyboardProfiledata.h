#pragma once
// The keyboard's profile section: the base's lighting and keys, the
// "SystemStages" values and the per-key custom colour groups.

#include <vector>

#include "profiles/CBasicProfiledata.h"
#include "profiles/CustomColor.h"
#include "profiles/KeyboardSystemSettings.h"

namespace ostrel {

class CKeyboardProfiledata : public CBasicProfiledata {
 public:
  void ResetState() override;

  // A missing "SystemStages" reads as zeros.
  KeyboardSystemSettings ReadSystemSettings();
  void WriteSystemSettings(const KeyboardSystemSettings& settings);

  // `count` colours of group `group` of "CustomLightMode"."LightColorInfo".
  // A group or colour that does not exist yet is created as zeros in the
  // section (and so in the file at the next save) and read as zeros.
  const std::vector<CustomColor>& ReadCustomColors(int group, int count);
  void WriteCustomColors(const std::vector<CustomColor>& colors, int group);

  int ReadCustomGroupIndex();
  void WriteCustomGroupIndex(int index);

  const KeyboardSystemSettings& GetSystemSettings() const { return systemSettings_; }
  const std::vector<CustomColor>& GetCustomColors() const { return customColors_; }
  int GetCustomGroupIndex() const { return customGroupIndex_; }

  // Groups beyond this are refused: the index comes from files.
  static constexpr int kMaxCustomGroups = 256;

 private:
  KeyboardSystemSettings systemSettings_;
  std::vector<CustomColor> customColors_;
  int customGroupIndex_ = 0;
};

}  // namespace ostrel
