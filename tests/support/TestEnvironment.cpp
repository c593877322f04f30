#include "support/TestEnvironment.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace ostrel::test {
namespace {
std::filesystem::path g_root;

std::filesystem::path MakeTemp(const char* prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}
}  // namespace

TempDir::TempDir() : path_(MakeTemp("ostrel-tmp-")) {}
TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void FreshFoldersListener::OnTestStart(const ::testing::TestInfo&) {
  root_ = MakeTemp("ostrel-test-");
  g_root = root_;
  const std::pair<const char*, const char*> folders[] = {
      {"HOME", "home"},
      {"XDG_CONFIG_HOME", "config"},
      {"XDG_STATE_HOME", "state"},
      {"XDG_CACHE_HOME", "cache"},
      {"XDG_RUNTIME_DIR", "runtime"},
  };
  for (const auto& [variable, name] : folders) {
    auto dir = root_ / name;
    std::filesystem::create_directories(dir);
    ::chmod(dir.c_str(), 0700);
    ::setenv(variable, dir.c_str(), 1);
  }
}

void FreshFoldersListener::OnTestEnd(const ::testing::TestInfo&) {
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
  g_root.clear();
}

std::filesystem::path TestRoot() { return g_root; }

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

}  // namespace ostrel::test
