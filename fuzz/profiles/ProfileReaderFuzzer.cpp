// Feeds arbitrary bytes to the JSON reader, the profile readers and writers
// of every device type and the profile list, as a profile file or list file
// from disk would. Also checks that what the writer renders reads back equal.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/os/DebugLog.h"
#include "profiles/CHs6533Profiledata.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/CMouseProfiledata.h"
#include "profiles/DeviceProfileList.h"
#include "profiles/JsonFileUtil.h"
#include "profiles/StyledJsonWriter.h"

namespace {

std::string WorkFolder() {
  // tmpfs when there is one: the list operations sync what they write.
  std::string pattern =
      std::filesystem::exists("/dev/shm") ? "/dev/shm/ostrel-fuzz-XXXXXX" : "/tmp/ostrel-fuzz-XXXXXX";
  if (!::mkdtemp(pattern.data())) std::abort();
  // The traces of every read go to this folder's log, not the user's, and not to the terminal.
  ::setenv("XDG_STATE_HOME", pattern.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
  ostrel::SetDebugToStderr(false);
  return pattern + "/";
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void ReadEverything(ostrel::CKeyboardProfiledata& keyboard, ostrel::CMouseProfiledata& mouse,
                    ostrel::CHs6533Profiledata& headset) {
  keyboard.ReadLightSetting();
  keyboard.ReadLogoLightSetting();
  keyboard.ReadStLightSetting();
  keyboard.ReadLightList();
  const auto keys = keyboard.ReadKeyList();
  keyboard.WriteKeyList(keys);
  keyboard.ReadSystemSettings();
  const int group = keyboard.ReadCustomGroupIndex();
  keyboard.WriteCustomColors(keyboard.ReadCustomColors(group, 126), group);

  mouse.ReadDpiStages();
  mouse.WriteDpiStages(mouse.ReadDpiStages());
  mouse.ReadSystemSettings();
  mouse.ReadCorrectInfo();

  const ostrel::HeadsetSettings settings = headset.ReadHeadsetSettings();
  headset.WriteEqBands(settings.eqType, headset.ReadEqBands(settings.eqType));
  headset.WriteCustomEqBands(settings.customEqSelectIndex,
                             headset.ReadCustomEqBands(settings.customEqSelectIndex));
  headset.WriteCustomEqNames(headset.ReadCustomEqNames());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string folder = WorkFolder();
  const std::string text(reinterpret_cast<const char*>(data), size);

  const Json::Value parsed = ostrel::JsonFileUtil::ParseJson(text);
  if (!parsed.isNull()) {
    const Json::Value again = ostrel::JsonFileUtil::ParseJson(ostrel::JsonFileUtil::RenderJson(parsed));
    if (!(again == parsed)) {
      std::fprintf(stderr, "rendered document reads back different\n");
      std::abort();
    }
  }

  const std::string profilePath = folder + "2020_01_01_00_00_00_000.Json";
  WriteFile(profilePath, text);
  ostrel::CKeyboardProfiledata keyboard;
  ostrel::CMouseProfiledata mouse;
  ostrel::CHs6533Profiledata headset;
  for (ostrel::CBasicProfiledata* profile :
       {static_cast<ostrel::CBasicProfiledata*>(&keyboard), static_cast<ostrel::CBasicProfiledata*>(&mouse),
        static_cast<ostrel::CBasicProfiledata*>(&headset)}) {
    profile->SetDefaultPath(folder + "no-default.Json");
    profile->SetLightConfigPath(profilePath);  // the same bytes as a light configuration
    profile->LoadProfile(profilePath);
    profile->LoadLightConfiguration();
  }
  ReadEverything(keyboard, mouse, headset);
  keyboard.ReadLightEffects();
  ostrel::StyledJsonWriter().Write(keyboard.Section());

  // The same bytes as a profile list: loading must keep to valid ids.
  const std::string deviceFolder = folder + "device/";
  std::filesystem::remove_all(deviceFolder);
  std::filesystem::create_directories(deviceFolder);
  WriteFile(deviceFolder + "ProfileList.ini", text);
  ostrel::DeviceProfileList list;
  list.SetPaths(deviceFolder, folder + "no-default.Json");
  list.LoadProfileList();
  for (const ostrel::ProfileEntry& entry : list.Entries())
    if (!ostrel::JsonFileUtil::IsValidId(entry.uuid)) std::abort();
  return 0;
}
