// A save must never lose the previous file: not when the write fails, and not
// when the process dies in the middle of it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "ProfileTestSupport.h"
#include "profiles/AtomicFile.h"
#include "profiles/JsonFileUtil.h"
#include "support/TestEnvironment.h"

namespace ostrel {
namespace {

// A profile-sized document whose every value says which version it is.
Json::Value Version(int version, int keys) {
  Json::Value doc(Json::objectValue);
  doc["profilename"] = "version " + std::to_string(version);
  for (int i = 0; i < keys; ++i) {
    Json::Value key(Json::objectValue);
    key["Assignment"] = version;
    key["DefaultAssignment"] = version;
    doc["Device"][0]["KeyList"].append(key);
  }
  return doc;
}

class ProfileAtomicSave : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string path = (dir.path() / "profile.Json").string();
};

TEST_F(ProfileAtomicSave, KilledWhileSavingLeavesTheOldOrTheNewFile) {
  const Json::Value a = Version(1, 3000);
  const Json::Value b = Version(2, 3000);
  ASSERT_TRUE(JsonFileUtil::WriteJson(path, a));
  for (int round = 0; round < 24; ++round) {
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
      for (int i = 0;; ++i) JsonFileUtil::WriteJson(path, (i % 2) ? a : b);
    }
    // Kill at a different moment each round, from right away to well into the loop.
    std::this_thread::sleep_for(std::chrono::microseconds(round * 700));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const Json::Value left = JsonFileUtil::ReadJson(path);
    ASSERT_TRUE(left == a || left == b)
        << "round " << round << ": broken file, " << test::ReadFileBytes(path).size() << " bytes";
  }
}

TEST_F(ProfileAtomicSave, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
  const Json::Value old = Version(1, 10);
  ASSERT_TRUE(JsonFileUtil::WriteJson(path, old));
  const std::string before = test::ReadFileBytes(path);
  // A file size limit makes the write fail halfway, like a full disk.
  const pid_t child = ::fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{1000, 1000};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::_exit(JsonFileUtil::WriteJson(path, Version(2, 1000)) ? 1 : 0);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was reported as success";
  EXPECT_EQ(test::ReadFileBytes(path), before);
  EXPECT_EQ(test::FilesIn(dir.path()), std::vector<std::string>{"profile.Json"});
}

TEST_F(ProfileAtomicSave, StaleTemporaryFilesOfDeadProcessesAreRemoved) {
  const pid_t child = ::fork();
  ASSERT_NE(child, -1);
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);  // a process id that no longer runs
  const std::string marker(AtomicFile::kTempMarker);
  const std::string stale = marker + "ProfileList.ini." + std::to_string(child) + "-0-00000000";
  const std::string live = marker + "x.Json." + std::to_string(::getppid()) + "-0-00000000";
  const std::string mine = marker + "y.Json." + std::to_string(::getpid()) + "-3-00000000";
  for (const std::string& name : {stale, live, mine, std::string("other.Json")})
    test::WriteText(dir.path() / name, "x");
  EXPECT_EQ(AtomicFile::RemoveStaleTemporaries(dir.path().string()), 1);
  EXPECT_EQ(test::FilesIn(dir.path()), (std::vector<std::string>{live, mine, "other.Json"}));
}

TEST_F(ProfileAtomicSave, ASymbolicLinkStaysALink) {
  std::filesystem::create_directory(dir.path() / "elsewhere");
  const auto target = dir.path() / "elsewhere" / "real.Json";
  ASSERT_TRUE(JsonFileUtil::WriteJson(target.string(), Version(1, 1)));
  std::filesystem::create_symlink(target, path);
  ASSERT_TRUE(JsonFileUtil::WriteJson(path, Version(2, 1)));
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  EXPECT_EQ(JsonFileUtil::ReadJson(target.string()), Version(2, 1));
}

TEST_F(ProfileAtomicSave, RefusesPathsThatCannotHoldTheFile) {
  EXPECT_FALSE(JsonFileUtil::WriteJson((dir.path() / "no-such-folder" / "x.Json").string(), Version(1, 1)));
  std::filesystem::create_directory(dir.path() / "folder.Json");
  EXPECT_FALSE(JsonFileUtil::WriteJson((dir.path() / "folder.Json").string(), Version(1, 1)));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.Json"));
  EXPECT_FALSE(AtomicFile::Write("", "x"));
}

TEST_F(ProfileAtomicSave, KeepsThePermissionsOfTheReplacedFile) {
  ASSERT_TRUE(JsonFileUtil::WriteJson(path, Version(1, 1)));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(JsonFileUtil::WriteJson(path, Version(2, 1)));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(JsonFileUtil::ReadJson(path), Version(2, 1));
}

}  // namespace
}  // namespace ostrel
