#pragma once
// Small file helpers shared by the profile tests.

#include <json/json.h>

#include <filesystem>
#include <string>
#include <vector>

namespace ostrel::test {

void WriteText(const std::filesystem::path& path, const std::string& text);
// Parses JSON text; fails the test on a parse error.
Json::Value ParseOrFail(const std::string& text);
// The repository's DefaultData folder.
std::filesystem::path SourceDefaultData();
// Every file name in a folder (sorted).
std::vector<std::string> FilesIn(const std::filesystem::path& folder);

// Collects the debug lines written while it lives.
class DebugLines {
 public:
  DebugLines();
  ~DebugLines();
  bool Contains(const std::string& text) const;
  std::vector<std::string> lines;
};

}  // namespace ostrel::test
