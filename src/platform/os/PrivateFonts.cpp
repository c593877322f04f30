#include "platform/os/PrivateFonts.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/os/DebugLog.h"

namespace ostrel {
namespace {

std::mutex g_mutex;
std::vector<std::pair<PrivateFontHandle, std::string>> g_fonts;
PrivateFontHandle g_nextHandle = 1;
std::atomic<std::uint64_t> g_generation{0};

bool HasUsableFace(const std::string& path) {
  int count = 0;
  FcPattern* pattern =
      FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(path.c_str()), 0, nullptr, &count);
  if (pattern == nullptr) return false;
  FcPatternDestroy(pattern);
  return true;
}

}  // namespace

PrivateFontHandle AddPrivateFont(const std::string& path) {
  std::lock_guard<std::mutex> lock(g_mutex);
  if (!FcInit()) return 0;
  if (!HasUsableFace(path)) return 0;
  if (!FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(path.c_str()))) return 0;
  PrivateFontHandle handle = g_nextHandle++;
  g_fonts.emplace_back(handle, path);
  ++g_generation;
  return handle;
}

bool RemovePrivateFont(PrivateFontHandle handle) {
  std::lock_guard<std::mutex> lock(g_mutex);
  auto it = std::find_if(g_fonts.begin(), g_fonts.end(), [&](const auto& f) { return f.first == handle; });
  if (it == g_fonts.end()) return false;
  g_fonts.erase(it);
  // fontconfig can only clear every application font: put back the others.
  FcConfigAppFontClear(nullptr);
  for (const auto& [other, path] : g_fonts) {
    if (!FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(path.c_str()))) {
      DebugPrintf("font %s could not be registered again", path.c_str());
    }
  }
  ++g_generation;
  return true;
}

std::uint64_t PrivateFontGeneration() { return g_generation; }

}  // namespace ostrel
