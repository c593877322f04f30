#pragma once
// The device section ("Device"[0]) of a device's active profile, in memory,
// with the readers and writers that turn it into the records a device page
// works with. The mouse pad uses this class itself; the keyboard, mouse and
// headset classes add their own values. Writers change only the section;
// SaveProfile writes it back to the profile file.

#include <json/json.h>

#include <cstddef>
#include <string>
#include <vector>

#include "profiles/KeyEntry.h"
#include "profiles/LightEffectStep.h"
#include "profiles/LightListEntry.h"
#include "profiles/LightSetting.h"

namespace ostrel {

class CBasicProfiledata {
 public:
  CBasicProfiledata() = default;
  virtual ~CBasicProfiledata() = default;

  // The setters of the two profile paths ignore an empty string.
  void SetProfilePath(const std::string& path);
  const std::string& GetProfilePath() const { return profilePath_; }
  void SetDefaultPath(const std::string& path);
  const std::string& GetDefaultPath() const { return defaultPath_; }
  void SetLightConfigPath(const std::string& path) { lightConfigPath_ = path; }
  const std::string& GetLightConfigPath() const { return lightConfigPath_; }
  void SetDeviceIndex(int index) { deviceIndex_ = index < 0 ? 0 : index; }
  int GetDeviceIndex() const { return deviceIndex_; }

  // Back to the state of a new object (paths kept).
  virtual void ResetState();

  // Reads the file's section for this device. A file without one (missing,
  // unreadable, or with no usable "Device" element) is repaired from the
  // device's default profile and written back. The section is kept.
  const Json::Value& LoadProfile(const std::string& path);
  // The section of the last load, with the writers' changes.
  const Json::Value& Section() const { return section_; }

  // Writes the section into the profile file. False when the file could not
  // be written (the old file is then untouched).
  virtual bool SaveProfile();
  // file = the file at `path` (or a new document); file["Device"][index] = section.
  virtual bool SaveSection(const Json::Value& section, const std::string& path);
  virtual bool WriteDocument(const Json::Value& document, const std::string& path);

  // The three views of the lighting record: "LightInfo" (main zone),
  // "LogoLightInfo" and "StLightInfo". A missing object reads as all zeros.
  LightSetting ReadLightSetting();
  LightSetting ReadLogoLightSetting();
  LightSetting ReadStLightSetting();
  void WriteLightSetting(const LightSetting& setting);
  void WriteLogoLightSetting(const LightSetting& setting);
  void WriteStLightSetting(const LightSetting& setting);

  // "LightList": one entry per element; a null element gives a zero entry
  // whose present byte is 0.
  const std::vector<LightListEntry>& ReadLightList();

  // The light configuration file of the device (its effect names and ids).
  bool LoadLightConfiguration();
  const Json::Value& LightConfiguration() const { return lightConfiguration_; }
  // The steps of the effect the main zone's mode names in the light
  // configuration, from "<Guid>.light" in the device folder (the folder of
  // the light configuration) or else in DefaultData. Empty when there is none
  // or the id is not a valid one.
  const std::vector<LightEffectStep>& ReadLightEffects();

  // The copies the readers and writers keep.
  const LightSetting& GetLightSetting() const { return mainLight_; }
  const LightSetting& GetLogoLightSetting() const { return logoLight_; }
  const LightSetting& GetStLightSetting() const { return stLight_; }
  const std::vector<LightListEntry>& GetLightList() const { return lightList_; }
  const std::vector<LightEffectStep>& GetLightEffects() const { return lightEffects_; }
  const std::vector<KeyEntry>& GetKeyList() const { return keyList_; }

  // "KeyList": the current and default function of each key, the key id of
  // both halves being the key's index.
  const std::vector<KeyEntry>& ReadKeyList();
  // Writes only each key's "Assignment"; "DefaultAssignment" stays.
  void WriteKeyList(const std::vector<KeyEntry>& keys);

  // Upper bound of every list read from or written to a profile: the devices
  // have at most a few hundred keys or LEDs, and a hostile file must not make
  // the program build huge arrays.
  static constexpr std::size_t kMaxListEntries = 1024;
  static constexpr std::size_t kMaxEffectSteps = 4096;

 protected:
  Json::ArrayIndex Index() const { return static_cast<Json::ArrayIndex>(deviceIndex_); }

  std::string profilePath_;
  std::string defaultPath_;
  LightSetting mainLight_;
  LightSetting logoLight_;
  LightSetting stLight_;
  LightSetting zeroLight_;
  std::vector<LightListEntry> lightList_;
  Json::Value section_;
  std::string lightConfigPath_;
  std::vector<LightEffectStep> lightEffects_;
  Json::Value lightConfiguration_;
  std::vector<KeyEntry> keyList_;
  int deviceIndex_ = 0;
};

}  // namespace ostrel
