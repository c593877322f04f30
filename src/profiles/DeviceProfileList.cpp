#include "profiles/DeviceProfileList.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

#include "platform/os/DebugLog.h"
#include "profiles/AtomicFile.h"
#include "profiles/JsonFields.h"
#include "profiles/JsonFileUtil.h"
#include "profiles/ProfileNames.h"

namespace ostrel {
namespace {

using Status = ProfileOpResult::Status;

ProfileOpResult Result(Status status, int index = -1, std::string name = {}) {
  ProfileOpResult result;
  result.status = status;
  result.index = index;
  result.name = std::move(name);
  return result;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

}  // namespace

void DeviceProfileList::SetPaths(const std::string& appDataFolder, const std::string& defaultProfilePath) {
  folder_ = appDataFolder;
  if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
  defaultProfilePath_ = defaultProfilePath;
}

std::vector<std::string> DeviceProfileList::Names() const {
  std::vector<std::string> names;
  names.reserve(entries_.size());
  for (const ProfileEntry& entry : entries_) names.push_back(entry.name);
  return names;
}

std::string DeviceProfileList::CurrentProfilePath() const {
  return currentUuid_.empty() ? std::string() : ProfilePath(currentUuid_);
}

ProfileOpResult DeviceProfileList::LoadProfileList() {
  entries_.clear();
  current_ = -1;
  currentUuid_.clear();
  if (folder_.empty()) return Result(Status::kFailed);
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  AtomicFile::RemoveStaleTemporaries(folder_);
  const Json::Value list = JsonFileUtil::ReadJson(ListPath());
  const Json::Value& stored = JsonFields::Member(list, "profilelist");
  const std::int64_t storedIndex = JsonFields::IntegerMember(list, "profileselect");
  int select = 0;
  std::set<std::string> seen;
  if (stored.isArray()) {
    for (Json::ArrayIndex i = 0; i < stored.size(); ++i) {
      ProfileEntry entry{JsonFields::StringMember(stored[i], "profilename"),
                         JsonFields::StringMember(stored[i], "profileUUID")};
      if (!JsonFileUtil::IsValidId(entry.uuid) || !seen.insert(entry.uuid).second) {
        DebugPrintf("ProfileList: entry %u ignored (id \"%s\")", i, entry.uuid.c_str());
        continue;
      }
      if (static_cast<std::int64_t>(i) == storedIndex) select = static_cast<int>(entries_.size());
      entries_.push_back(std::move(entry));
    }
  }
  ProfileOpResult result = Result(Status::kDone);
  if (entries_.empty()) {
    // First start (or a list that cannot be used): one profile from the defaults.
    const ProfileEntry first{"profile1", NewUniqueId()};
    entries_.push_back(first);
    storedSelect_ = 0;
    const bool written = WriteProfileFile(JsonFileUtil::ReadJson(defaultProfilePath_), first) && WriteList();
    if (!written) result.status = Status::kFailed;
    select = 0;
  }
  SelectProfile(select);
  result.index = current_;
  result.name = entries_[current_].name;
  result.reloadProfile = true;
  return result;
}

bool DeviceProfileList::SelectProfile(int index) {
  if (!HasEntry(index)) return false;
  current_ = index;
  currentUuid_ = entries_[index].uuid;
  storedSelect_ = index;
  WriteList();
  return true;
}

bool DeviceProfileList::WriteList() {
  // Keep what other versions may have stored beside the list.
  Json::Value document = JsonFileUtil::ReadJson(ListPath());
  if (!document.isObject()) document = Json::Value(Json::objectValue);
  Json::Value list(Json::arrayValue);
  for (const ProfileEntry& entry : entries_) {
    Json::Value element(Json::objectValue);
    element["profilename"] = entry.name;
    element["profileUUID"] = entry.uuid;
    element["profileislink"] = 0;
    element["profilelinkmame"] = "";
    list.append(std::move(element));
  }
  document["profilelist"] = std::move(list);
  document["profileselect"] = storedSelect_;
  return JsonFileUtil::WriteJson(ListPath(), document);
}

std::string DeviceProfileList::NewUniqueId() const {
  for (;;) {
    std::string id = JsonFileUtil::NewProfileId();
    bool used = FileExists(ProfilePath(id));
    for (const ProfileEntry& entry : entries_) used = used || entry.uuid == id;
    if (!used) return id;
  }
}

bool DeviceProfileList::WriteProfileFile(Json::Value document, const ProfileEntry& entry) {
  if (!document.isObject()) document = Json::Value(Json::objectValue);
  document["profilename"] = entry.name;
  document["profileUUID"] = entry.uuid;
  return JsonFileUtil::WriteJson(ProfilePath(entry.uuid), document);
}

ProfileOpResult DeviceProfileList::Appended(const ProfileEntry& entry, const Json::Value& source) {
  // The file first: the list never names a profile whose file was not written.
  if (!WriteProfileFile(source, entry)) return Result(Status::kFailed);
  entries_.push_back(entry);
  if (!WriteList()) {
    entries_.pop_back();
    std::remove(ProfilePath(entry.uuid).c_str());
    return Result(Status::kFailed);
  }
  return Result(Status::kDone, static_cast<int>(entries_.size()) - 1, entry.name);
}

ProfileOpResult DeviceProfileList::AddProfile() {
  if (static_cast<int>(entries_.size()) >= kMaxAddedProfiles) return Result(Status::kRefused);
  const ProfileEntry entry{ProfileNames::NewProfileName(Names()), NewUniqueId()};
  const int previousSelect = storedSelect_;
  storedSelect_ = static_cast<int>(entries_.size());
  ProfileOpResult result = Appended(entry, JsonFileUtil::ReadJson(defaultProfilePath_));
  if (!result.done()) storedSelect_ = previousSelect;
  return result;
}

ProfileOpResult DeviceProfileList::DeleteProfile() {
  if (!HasEntry(current_) || entries_.size() < 2) return Result(Status::kRefused);
  const int deleted = current_;
  const int next = deleted > 0 ? deleted - 1 : 0;
  const std::vector<ProfileEntry> before = entries_;
  const int previousSelect = storedSelect_;
  entries_.erase(entries_.begin() + deleted);
  storedSelect_ = next;
  // The list first: should it fail, the profile is still there with its file.
  if (!WriteList()) {
    entries_ = before;
    storedSelect_ = previousSelect;
    return Result(Status::kFailed);
  }
  std::remove(ProfilePath(before[deleted].uuid).c_str());
  current_ = next;
  currentUuid_ = entries_[next].uuid;
  ProfileOpResult result = Result(Status::kDone, next, entries_[next].name);
  result.reloadProfile = true;
  return result;
}

ProfileOpResult DeviceProfileList::CopyProfile() {
  if (!HasEntry(current_)) return Result(Status::kRefused);
  const ProfileEntry entry{ProfileNames::CopyName(Names(), entries_[current_].name), NewUniqueId()};
  return Appended(entry, JsonFileUtil::ReadJson(ProfilePath(entries_[current_].uuid)));
}

ProfileOpResult DeviceProfileList::ImportProfile(const std::string& sourcePath) {
  if (sourcePath.empty()) return Result(Status::kRefused);
  const Json::Value source = JsonFileUtil::ReadJson(sourcePath);
  if (!source.isObject() || !source.isMember("profilename") || !source.isMember("profileUUID"))
    return Result(Status::kIgnored);
  const ProfileEntry entry{ProfileNames::ImportName(Names(), JsonFileUtil::FileTitle(sourcePath)),
                           NewUniqueId()};
  return Appended(entry, source);
}

ProfileOpResult DeviceProfileList::ExportProfile(const std::string& destinationPath) {
  if (destinationPath.empty() || !HasEntry(current_)) return Result(Status::kRefused);
  const Json::Value profile = JsonFileUtil::ReadJson(ProfilePath(entries_[current_].uuid));
  if (profile.isNull()) return Result(Status::kFailed);
  if (!JsonFileUtil::WriteJson(destinationPath, profile)) return Result(Status::kFailed);
  return Result(Status::kDone, current_, entries_[current_].name);
}

ProfileOpResult DeviceProfileList::ResetProfile() {
  if (!HasEntry(current_)) return Result(Status::kRefused);
  const ProfileEntry& entry = entries_[current_];
  Json::Value defaults = JsonFileUtil::ReadJson(defaultProfilePath_);
  // Without the default profile a reset would only destroy the user's settings.
  if (!JsonFields::Element(JsonFields::Member(defaults, "Device"), 0).isObject())
    return Result(Status::kFailed);
  if (deviceType_ == kHeadsetDeviceType) {
    const Json::Value current = JsonFileUtil::ReadJson(ProfilePath(entry.uuid));
    const Json::Value& section = JsonFields::Element(JsonFields::Member(current, "Device"), 0);
    Json::Value& target = defaults["Device"][0];
    for (const char* key : {"CustomEQNameInfo", "CustomEQHzValueInfo"}) {
      const Json::Value& kept = JsonFields::Member(section, key);
      if (!kept.isNull()) target[key] = kept;
    }
  }
  if (!WriteProfileFile(defaults, entry)) return Result(Status::kFailed);
  ProfileOpResult result = Result(Status::kDone, current_, entry.name);
  result.reloadProfile = true;
  return result;
}

int DeviceProfileList::RenameProfile(const std::string& name) {
  if (ProfileNames::IsBlank(name)) return kRenameBlank;
  if (!HasEntry(current_)) return kRenameFailed;
  for (int i = 0; i < static_cast<int>(entries_.size()); ++i)
    if (i != current_ && ProfileNames::EqualsIgnoreCase(entries_[i].name, name)) return kRenameTaken;
  const std::string previous = entries_[current_].name;
  entries_[current_].name = name;
  if (!WriteList()) {
    entries_[current_].name = previous;
    return kRenameFailed;
  }
  // The name inside the profile file is informative; an unreadable file is
  // left alone rather than replaced by a name-only document.
  const std::string path = ProfilePath(entries_[current_].uuid);
  Json::Value profile = JsonFileUtil::ReadJson(path);
  if (profile.isObject()) {
    profile["profilename"] = name;
    JsonFileUtil::WriteJson(path, profile);
  }
  return kRenameDone;
}

const char* DeviceProfileList::RenameMessage(int result) {
  switch (result) {
    case kRenameTaken:
      return kNameTakenMessage;
    case kRenameBlank:
      return kNameBlankMessage;
    default:
      return "";
  }
}

const char* DeviceProfileList::MacroDownloadMessage(int downloadResult) {
  if (downloadResult == -1) return "message_text_7";
  if (downloadResult > 0) return "message_text_16";
  return "";
}

}  // namespace ostrel
