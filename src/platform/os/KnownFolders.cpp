#include "platform/os/KnownFolders.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <unistd.h>

#include <filesystem>

namespace ostrel {
namespace {

std::mutex g_mutex;
std::string g_programOverride;

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

std::string Home() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/tmp";
}

std::string XdgOr(const char* variable, const char* fallbackBelowHome) {
  // Relative XDG values are invalid and ignored, as the base directory rules say.
  if (const char* value = std::getenv(variable); value && value[0] == '/') return WithSlash(value);
  return WithSlash(Home() + "/" + fallbackBelowHome);
}

}  // namespace

std::string ProgramFolder() {
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_programOverride.empty()) return g_programOverride;
  }
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return WithSlash(std::filesystem::current_path(ec).string());
  return WithSlash(exe.parent_path().string());
}

void SetProgramFolderOverride(const std::string& folder) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_programOverride = folder.empty() ? std::string() : WithSlash(folder);
}

std::string ConfigHome() { return XdgOr("XDG_CONFIG_HOME", ".config"); }
std::string StateHome() { return XdgOr("XDG_STATE_HOME", ".local/state"); }
std::string CacheHome() { return XdgOr("XDG_CACHE_HOME", ".cache"); }

std::string RuntimeDir() {
  const char* value = std::getenv("XDG_RUNTIME_DIR");
  return (value && *value) ? std::string(value) : std::string();
}

std::string ToNativePath(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

}  // namespace ostrel
