#pragma once
// The names that fill the lighting panel's combos, read from the JSON files:
// "default_light.json" in the default data folder (effect names and their
// visibility per model number, the area names of the keyboard's effect 17,
// the logo and St effect names) and "tavix_light.config" in the device's
// data folder (the user's custom effect names). An absent file or key
// leaves the list empty. Names are language keys.

#include <string>
#include <vector>

#include "lighting/LightZone.h"

namespace ostrel {

struct LightName {
  std::string name;
  bool visible = true;
};

class LightNameList {
 public:
  static constexpr const char* kDefaultFileName = "default_light.json";
  static constexpr const char* kUserFileName = "tavix_light.config";

  // Reads the default file of `defaultDataFolder` for `modelNumber`; the
  // previous lists are dropped first. False when the file is absent or not JSON.
  bool LoadDefaults(const std::string& defaultDataFolder, int modelNumber);
  // Reads the custom effect names of `deviceDataFolder` for `modelNumber`.
  bool LoadUserNames(const std::string& deviceDataFolder, int modelNumber);

  // The effect names of a zone, item index = effect code.
  const std::vector<LightName>& Effects(LightZone zone) const;
  const std::vector<LightName>& AreaNames() const { return areas_; }
  const std::vector<LightName>& UserNames() const { return user_; }

 private:
  std::vector<LightName> effects_[kLightZoneCount];
  std::vector<LightName> areas_;
  std::vector<LightName> user_;
};

}  // namespace ostrel
