// Load and save of a keyboard profile as the keyboard page does them: the
// whole file with 126 keys and five colour groups of 126 keys each.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/os/DebugLog.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/DefaultProfileBuilder.h"
#include "profiles/JsonFileUtil.h"

namespace {

using ostrel::CKeyboardProfiledata;
using ostrel::DefaultProfileBuilder;
using ostrel::JsonFileUtil;

struct Fixture {
  Fixture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ostrel-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    folder = pattern + "/";
    // Keep the debug traces of every read out of the output and of the user's log.
    ::setenv("XDG_STATE_HOME", folder.c_str(), 1);
    ostrel::SetDebugToStderr(false);
    profilePath = folder + "2024_01_01_00_00_00_000.Json";
    defaultPath = folder + "keyboard.Json";
    Json::Value document = DefaultProfileBuilder::Keyboard();
    JsonFileUtil::WriteJson(defaultPath, document);
    document["profilename"] = "profile1";
    document["profileUUID"] = "2024_01_01_00_00_00_000";
    JsonFileUtil::WriteJson(profilePath, document);
  }
  ~Fixture() { std::filesystem::remove_all(folder); }
  std::string folder, profilePath, defaultPath;
};

Fixture& Files() {
  static Fixture fixture;
  return fixture;
}

// What the keyboard page reads when a profile becomes active.
void LoadKeyboard(CKeyboardProfiledata& profile, const std::string& path) {
  profile.LoadProfile(path);
  profile.ReadLightSetting();
  profile.ReadLogoLightSetting();
  profile.ReadStLightSetting();
  profile.ReadLightList();
  profile.ReadKeyList();
  profile.ReadSystemSettings();
  for (int group = 0; group < DefaultProfileBuilder::kCustomColorGroups; ++group)
    profile.ReadCustomColors(group, 126);
  profile.ReadCustomGroupIndex();
}

void BM_LoadKeyboardProfile(benchmark::State& state) {
  Fixture& files = Files();
  for (auto _ : state) {
    CKeyboardProfiledata profile;
    profile.SetDefaultPath(files.defaultPath);
    LoadKeyboard(profile, files.profilePath);
    benchmark::DoNotOptimize(profile.Section());
  }
}
BENCHMARK(BM_LoadKeyboardProfile)->Unit(benchmark::kMillisecond);

// One user change: a key and a colour group written, the file saved
// (read, replace the section, render, write, sync, rename).
void BM_SaveKeyboardProfile(benchmark::State& state) {
  Fixture& files = Files();
  CKeyboardProfiledata profile;
  profile.SetDefaultPath(files.defaultPath);
  profile.SetProfilePath(files.profilePath);
  LoadKeyboard(profile, files.profilePath);
  std::vector<ostrel::KeyEntry> keys = profile.ReadKeyList();
  std::vector<ostrel::CustomColor> colors = profile.ReadCustomColors(1, 126);
  int round = 0;
  for (auto _ : state) {
    keys[5].current.p2 = static_cast<std::uint8_t>(round);
    colors[7].red = static_cast<std::uint8_t>(round++);
    profile.WriteKeyList(keys);
    profile.WriteCustomColors(colors, 1);
    if (!profile.SaveProfile()) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveKeyboardProfile)->Unit(benchmark::kMillisecond);

// The same save without the disk: render only, to show where the time goes.
void BM_RenderKeyboardProfile(benchmark::State& state) {
  const Json::Value document = JsonFileUtil::ReadJson(Files().profilePath);
  for (auto _ : state) benchmark::DoNotOptimize(JsonFileUtil::RenderJson(document));
}
BENCHMARK(BM_RenderKeyboardProfile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
