#pragma once
// The list of a device's profiles ("ProfileList.ini" in the device folder, a
// JSON document) and the operations on whole profiles: first start, add,
// delete, copy, import, export, reset, rename and select. The profile panel
// of a device page is a thin layer over this class: it shows Entries() in its
// combo box and shows the messages the results name.
//
// Entries whose "profileUUID" is not a valid id are ignored (and dropped from
// the file at the next write): the id becomes a file name, and no operation
// may reach a file outside the device folder. Duplicate ids are ignored too,
// so that deleting one entry can never delete another one's file.

#include <json/json.h>

#include <string>
#include <vector>

#include "profiles/ProfileEntry.h"
#include "profiles/ProfileOpResult.h"

namespace ostrel {

class DeviceProfileList {
 public:
  void SetDeviceType(int deviceType) { deviceType_ = deviceType; }
  int DeviceType() const { return deviceType_; }
  // The device folder (a trailing '/' is added when missing) and the
  // device's default profile file.
  void SetPaths(const std::string& appDataFolder, const std::string& defaultProfilePath);

  // Reads the list; on first start (no usable list) creates "profile1" from
  // the default profile. Then selects the stored selection (index 0 when it
  // is outside the list).
  ProfileOpResult LoadProfileList();

  // Selects a profile, stores the selection and writes the list.
  bool SelectProfile(int index);
  // The profile the panel shows as selected and the page works with; -1 before loading.
  int CurrentIndex() const { return current_; }
  const std::string& CurrentUuid() const { return currentUuid_; }
  // The current profile's name (what the panel's name edit shows); empty before loading.
  std::string CurrentName() const { return HasEntry(current_) ? entries_[current_].name : std::string(); }
  std::string CurrentProfilePath() const;
  // "profileselect" as last written.
  int StoredSelection() const { return storedSelect_; }

  const std::vector<ProfileEntry>& Entries() const { return entries_; }
  std::vector<std::string> Names() const;
  std::string ListPath() const { return folder_ + kListFileName; }
  std::string ProfilePath(const std::string& uuid) const { return folder_ + uuid + ".Json"; }

  // A new profile "profileN" from the default profile. Refused at
  // kMaxAddedProfiles. The new entry becomes the stored selection; the
  // current profile stays.
  ProfileOpResult AddProfile();
  // Deletes the current profile and its file; the one before it (or the
  // first) becomes current. Refused for the last profile.
  ProfileOpResult DeleteProfile();
  // A copy of the current profile named "<name> copy". Not limited.
  ProfileOpResult CopyProfile();
  // A new profile from a profile file chosen by the user, named after the
  // file. Ignored unless the file is a JSON object with "profilename" and
  // "profileUUID". Not limited.
  ProfileOpResult ImportProfile(const std::string& sourcePath);
  // The current profile's file, unchanged, to the chosen path.
  ProfileOpResult ExportProfile(const std::string& destinationPath);
  // The current profile back to the default profile, keeping its name and id
  // (and, on a headset, the user's custom equalisers). The panel asks
  // kResetQuestion first.
  ProfileOpResult ResetProfile();

  // Renames the current profile: kRenameDone, kRenameTaken (another profile
  // has the name, ignoring case), kRenameBlank (only white space) or
  // kRenameFailed (nothing selected, or the list could not be written).
  int RenameProfile(const std::string& name);
  // The message the panel shows for a rename result (empty for none).
  static const char* RenameMessage(int result);

  static constexpr int kRenameFailed = -1;
  static constexpr int kRenameTaken = 0;
  static constexpr int kRenameDone = 1;
  static constexpr int kRenameBlank = 2;

  // After a switch or a reset the page downloads the macros: -1 shows
  // "message_text_7", a positive result "message_text_16" (a format taking
  // that number), anything else nothing.
  static const char* MacroDownloadMessage(int downloadResult);

  static constexpr int kMaxAddedProfiles = 50;
  // A change of the combo selection switches after this timer, restarted on
  // every change, so that quick changes cause one switch.
  static constexpr int kSwitchTimerId = 1055;
  static constexpr int kSwitchDelayMs = 400;
  static constexpr int kHeadsetDeviceType = 7;
  static constexpr const char* kListFileName = "ProfileList.ini";
  static constexpr const char* kResetQuestion = "message_text_22";
  static constexpr const char* kNameTakenMessage = "message_text_5";
  static constexpr const char* kNameBlankMessage = "message_text_25";
  // The file dialogs of import and export.
  static constexpr const char* kFileFilterDescription = "Profile Files(*.json)";
  static constexpr const char* kFileFilterPattern = "*.json;";

 private:
  bool WriteList();
  std::string NewUniqueId() const;
  // Writes `document` (a template or another profile) as the profile file of
  // `uuid`, with its name and id set.
  bool WriteProfileFile(Json::Value document, const ProfileEntry& entry);
  ProfileOpResult Appended(const ProfileEntry& entry, const Json::Value& source);
  bool HasEntry(int index) const { return index >= 0 && index < static_cast<int>(entries_.size()); }

  int deviceType_ = 0;
  std::string folder_;
  std::string defaultProfilePath_;
  std::vector<ProfileEntry> entries_;
  int storedSelect_ = 0;
  int current_ = -1;
  std::string currentUuid_;
};

}  // namespace ostrel
