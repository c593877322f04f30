#pragma once
// The headset's profile section: the base's lighting, the "SystemSetStages"
// values, the band gains of the fixed equaliser curves and the user's custom
// curves with their names.

#include <string>
#include <vector>

#include "profiles/CBasicProfiledata.h"
#include "profiles/HeadsetSettings.h"

namespace ostrel {

class CHs6533Profiledata : public CBasicProfiledata {
 public:
  void ResetState() override;

  HeadsetSettings ReadHeadsetSettings();
  void WriteHeadsetSettings(const HeadsetSettings& settings);

  // The "EQHzValueInfo" slot of an equaliser type: 1 for type 0 (and for
  // types outside 0-13), none (-1) for 13, the custom curve; the type itself
  // otherwise.
  static int EqSlot(int eqType);

  // The ten gains of a fixed curve; empty for a type without a slot. A slot
  // that does not exist yet is created as zeros in the section.
  std::vector<int> ReadEqBands(int eqType);
  // Sets the gains from the first ten values; nothing for a type without slot.
  void WriteEqBands(int eqType, const std::vector<int>& values);

  std::vector<std::string> ReadCustomEqNames();
  // Replaces the whole "CustomEQNameInfo" array.
  void WriteCustomEqNames(const std::vector<std::string>& names);

  // The gains of custom curve `index` ("CustomEQHzValueInfo"[index]); an
  // index out of 0..kMaxListEntries-1 reads as zeros and writes nothing.
  std::vector<int> ReadCustomEqBands(int index);
  void WriteCustomEqBands(int index, const std::vector<int>& values);

  const HeadsetSettings& GetHeadsetSettings() const { return headsetSettings_; }

  static constexpr int kBandCount = 10;

 private:
  std::vector<int> ReadBands(const char* key, int index);
  void WriteBands(const char* key, int index, const std::vector<int>& values);

  HeadsetSettings headsetSettings_;
};

}  // namespace ostrel
