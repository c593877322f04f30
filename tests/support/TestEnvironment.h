#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace ostrel::test {

// A temporary folder removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Before each test: HOME, XDG_CONFIG_HOME, XDG_STATE_HOME, XDG_CACHE_HOME and
// XDG_RUNTIME_DIR point at new empty folders (runtime folder mode 0700).
class FreshFoldersListener : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override;
  void OnTestEnd(const ::testing::TestInfo&) override;

 private:
  std::filesystem::path root_;
};

// The root of the current test's folders (HOME is root/home and so on).
std::filesystem::path TestRoot();

// Reads a whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

}  // namespace ostrel::test
