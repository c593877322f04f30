#include "ProfileTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "platform/os/DebugLog.h"

namespace ostrel::test {

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

Json::Value ParseOrFail(const std::string& text) {
  Json::Value value;
  Json::Reader reader;
  EXPECT_TRUE(reader.parse(text, value)) << text.substr(0, 200);
  return value;
}

std::filesystem::path SourceDefaultData() {
  const char* source = std::getenv("OSTREL_SOURCE_DIR");
  return std::filesystem::path(source && *source ? source : OSTREL_PROFILES_SOURCE_DIR) / "DefaultData";
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

DebugLines::DebugLines() {
  SetDebugSink([this](std::string_view line) { lines.emplace_back(line); });
}

DebugLines::~DebugLines() { SetDebugSink({}); }

bool DebugLines::Contains(const std::string& text) const {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

}  // namespace ostrel::test
