#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/os/KnownFolders.h"
#include "profiles/DataFolders.h"
#include "support/TestEnvironment.h"

namespace ostrel {
namespace {

TEST(ProfileFolders, LiveBelowTheConfigFolderAndBesideTheProgram) {
  const std::string config = std::getenv("XDG_CONFIG_HOME");
  EXPECT_EQ(DataFolders::AppDataFolder(), config + "/Kestrane/");
  EXPECT_TRUE(std::filesystem::is_directory(config + "/Kestrane"));
  EXPECT_EQ(DataFolders::DeviceAppDataFolder("keyboard"), config + "/Kestrane/keyboard/");
  EXPECT_TRUE(std::filesystem::is_directory(config + "/Kestrane/keyboard"));

  SetProgramFolderOverride("/opt/ostrel");
  EXPECT_EQ(DataFolders::DefaultDataFolder(), "/opt/ostrel/DefaultData/");
  EXPECT_EQ(DataFolders::DefaultProfilePath("mouse"), "/opt/ostrel/DefaultData/mouse.Json");
  SetProgramFolderOverride("");
}

}  // namespace
}  // namespace ostrel
