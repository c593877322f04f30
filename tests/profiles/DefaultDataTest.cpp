// The installed default profiles: what a user gets on first start.
#include <gtest/gtest.h>

#include <algorithm>

#include "ProfileTestSupport.h"
#include "profiles/CHs6533Profiledata.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/CMouseProfiledata.h"
#include "profiles/DefaultProfileBuilder.h"
#include "profiles/JsonFileUtil.h"
#include "support/TestEnvironment.h"

namespace ostrel {
namespace {

using Builder = DefaultProfileBuilder;

class ProfileDefaultData : public ::testing::Test {
 protected:
  // Loads the installed default of a model as a profile file; a file that
  // needed repair would be rewritten, so the bytes must stay as they were.
  void Load(CBasicProfiledata& profile, const char* model) {
    const std::string installed =
        test::ReadFileBytes(test::SourceDefaultData() / (std::string(model) + ".Json"));
    ASSERT_FALSE(installed.empty()) << model;
    const std::string path = (dir.path() / "2024_01_01_00_00_00_000.Json").string();
    test::WriteText(path, installed);
    profile.SetDefaultPath((dir.path() / "no-default.Json").string());
    profile.SetProfilePath(path);
    ASSERT_TRUE(profile.LoadProfile(path).isObject());
    EXPECT_TRUE(test::ReadFileBytes(path) == installed) << model << " needed a repair";
    loaded = profile.Section();
  }
  // Reading must not have to add anything to the section either.
  void ExpectUnchanged(const CBasicProfiledata& profile) { EXPECT_EQ(profile.Section(), loaded); }

  test::TempDir dir;
  Json::Value loaded;
};

TEST_F(ProfileDefaultData, InstalledFilesAreWhatTheBuilderMakes) {
  for (const char* model :
       {Builder::kKeyboardName, Builder::kMouseName, Builder::kMousePadName, Builder::kHeadsetName}) {
    // (compared as a flag: the files are too long to print)
    EXPECT_TRUE(test::ReadFileBytes(test::SourceDefaultData() / (std::string(model) + ".Json")) ==
                JsonFileUtil::RenderJson(Builder::ForModel(model)))
        << model << ": run ostrel_make_default_data DefaultData";
  }
  EXPECT_TRUE(Builder::ForModel("toaster").isNull());
}

TEST_F(ProfileDefaultData, TheRunnableTreeHasTheSameFiles) {
  const std::filesystem::path installed = std::filesystem::path(OSTREL_PROFILES_APP_DIR) / "DefaultData";
  for (const std::string& name : test::FilesIn(test::SourceDefaultData()))
    EXPECT_TRUE(test::ReadFileBytes(installed / name) ==
                test::ReadFileBytes(test::SourceDefaultData() / name))
        << name;
}

TEST_F(ProfileDefaultData, KeyboardHas126FactoryKeysAndItsColourGroups) {
  CKeyboardProfiledata profile;
  Load(profile, Builder::kKeyboardName);
  const std::vector<KeyEntry> keys = profile.ReadKeyList();
  ASSERT_EQ(keys.size(), 126u);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].defaultAction, Builder::kKeyboardFactoryKeys[i]) << i;
    EXPECT_EQ(keys[i].current, keys[i].defaultAction) << i;
  }
  // A few keys spelled out: Esc, the first media key, Fn, M1, the last key.
  const std::pair<int, int> packed[] = {{0, 0x200029},   {17, 0x309201},  {84, 0x200200}, {111, 0xA00100},
                                        {120, 0xD0A201}, {124, 0xD0A205}, {125, 0}};
  for (const auto& [key, value] : packed) EXPECT_EQ(keys[key].defaultAction.Packed(), value) << key;

  const std::vector<LightListEntry> leds = profile.ReadLightList();
  EXPECT_EQ(leds.size(), 126u);
  EXPECT_TRUE(std::all_of(leds.begin(), leds.end(), [](const LightListEntry& e) { return e.present == 0; }));
  EXPECT_EQ(profile.ReadLightSetting().selectItem, 4);
  EXPECT_EQ(profile.ReadLogoLightSetting().rgbDengOffOn, 1);
  EXPECT_EQ(profile.ReadStLightSetting().stLight, 4);
  EXPECT_EQ(profile.ReadSystemSettings().repeatDelay, 1);
  EXPECT_EQ(profile.ReadCustomGroupIndex(), 0);
  for (int group = 0; group < Builder::kCustomColorGroups; ++group) {
    const std::vector<CustomColor> colors = profile.ReadCustomColors(group, 126);
    EXPECT_TRUE(std::all_of(colors.begin(), colors.end(), [](const CustomColor& c) {
      return c.alpha == 255;
    })) << group;
  }
  ExpectUnchanged(profile);
}

TEST_F(ProfileDefaultData, MouseHasTenKeysFiveStagesAndCorrectionPresets) {
  CMouseProfiledata profile;
  Load(profile, Builder::kMouseName);
  const std::vector<KeyEntry> keys = profile.ReadKeyList();
  ASSERT_EQ(keys.size(), 10u);
  for (std::size_t i = 0; i < keys.size(); ++i)
    EXPECT_EQ(keys[i].defaultAction, Builder::kMouseFactoryKeys[i]);
  EXPECT_EQ(keys[0].current.Packed(), 0x100100);  // left button
  EXPECT_EQ(keys[9].current.Packed(), 0x169001);

  const std::vector<DpiStage> stages = profile.ReadDpiStages();
  ASSERT_EQ(stages.size(), 5u);
  for (std::size_t i = 1; i < stages.size(); ++i) EXPECT_GT(stages[i].stageDpiX, stages[i - 1].stageDpiX);
  EXPECT_TRUE(
      std::all_of(stages.begin(), stages.end(), [](const DpiStage& s) { return s.stageActive == 1; }));
  EXPECT_LT(profile.GetActiveStage(), 5);

  const std::vector<CorrectEntry> presets = profile.ReadCorrectInfo();
  ASSERT_FALSE(presets.empty());
  EXPECT_EQ(std::count_if(presets.begin(), presets.end(),
                          [](const CorrectEntry& c) { return c.correctSelect != 0; }),
            1);
  const MouseSystemSettings system = profile.ReadSystemSettings();
  EXPECT_EQ(system.doubleClickTime, 500);
  EXPECT_EQ(system.wheelScrollLines, 3);
  EXPECT_EQ(profile.ReadLightList().size(), 6u);
  ExpectUnchanged(profile);
}

TEST_F(ProfileDefaultData, HeadsetHasTheTwelveEqualiserCurves) {
  CHs6533Profiledata profile;
  Load(profile, Builder::kHeadsetName);
  for (int type = 1; type <= 12; ++type)
    EXPECT_EQ(profile.ReadEqBands(type), std::vector<int>(std::begin(Builder::kEqPresets[type - 1]),
                                                          std::end(Builder::kEqPresets[type - 1])))
        << type;
  EXPECT_EQ(profile.ReadEqBands(6)[2], -13);
  const HeadsetSettings settings = profile.ReadHeadsetSettings();
  EXPECT_GE(settings.eqType, 1);
  EXPECT_LE(settings.eqType, 12);
  EXPECT_TRUE(profile.ReadCustomEqNames().empty());
  EXPECT_EQ(profile.ReadLightList().size(), 13u);
  ExpectUnchanged(profile);
}

TEST_F(ProfileDefaultData, MousePadHasOnlyItsLighting) {
  CBasicProfiledata profile;
  Load(profile, Builder::kMousePadName);
  EXPECT_EQ(profile.ReadLightList().size(), 15u);
  EXPECT_EQ(profile.ReadLightSetting().light, 4);
  EXPECT_EQ(loaded.getMemberNames(), (std::vector<std::string>{"LightInfo", "LightList"}));
}

}  // namespace
}  // namespace ostrel
