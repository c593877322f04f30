#pragma once
// The folders of the profile files. Each path ends with '/'.
//   AppDataFolder        $XDG_CONFIG_HOME/Kestrane/ (created on first use)
//   device folder        AppDataFolder + device data folder name + '/'
//   DefaultDataFolder    the program folder + "DefaultData/" (read-only templates)

#include <string>

namespace ostrel {

class DataFolders {
 public:
  static std::string AppDataFolder();
  static std::string DefaultDataFolder();
  // Creates the folder (and AppDataFolder) when missing; errors are ignored
  // here and show up when a file in it cannot be written.
  static std::string DeviceAppDataFolder(const std::string& deviceFolderName);
  // The default profile of a device: DefaultDataFolder + name + ".Json".
  static std::string DefaultProfilePath(const std::string& deviceFolderName);

  static constexpr const char* kProductName = "Kestrane";
};

}  // namespace ostrel
