#include "profiles/DataFolders.h"

#include <filesystem>
#include <system_error>

#include "platform/os/KnownFolders.h"

namespace ostrel {

std::string DataFolders::AppDataFolder() {
  const std::string folder = ConfigHome() + kProductName + "/";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return folder;
}

std::string DataFolders::DefaultDataFolder() { return ProgramFolder() + "DefaultData/"; }

std::string DataFolders::DeviceAppDataFolder(const std::string& deviceFolderName) {
  const std::string folder = AppDataFolder() + deviceFolderName + "/";
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return folder;
}

std::string DataFolders::DefaultProfilePath(const std::string& deviceFolderName) {
  return DefaultDataFolder() + deviceFolderName + ".Json";
}

}  // namespace ostrel
