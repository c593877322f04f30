#include <gtest/gtest.h>

#include "ProfileTestSupport.h"
#include "platform/os/KnownFolders.h"
#include "profiles/CBasicProfiledata.h"
#include "profiles/CHs6533Profiledata.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/CMouseProfiledata.h"
#include "profiles/JsonFileUtil.h"
#include "support/TestEnvironment.h"

namespace ostrel {
namespace {

using test::ParseOrFail;
using test::WriteText;

class ProfileData : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(
        defaultPath,
        R"({"Device":[{"LightInfo":{"SelectItem":3,"Red":9},"KeyList":[{"Assignment":1,"DefaultAssignment":1}]}]})");
  }
  // Loads a section given as JSON text through a profile file.
  template <class Profile>
  void LoadSection(Profile& profile, const std::string& sectionJson) {
    WriteText(profilePath, "{\"Device\":[" + sectionJson + "]}");
    profile.SetDefaultPath(defaultPath);
    profile.SetProfilePath(profilePath);
    profile.LoadProfile(profilePath);
  }
  Json::Value SavedSection() { return JsonFileUtil::ReadJson(profilePath)["Device"][0]; }

  test::TempDir dir;
  std::string defaultPath = (dir.path() / "default.Json").string();
  std::string profilePath = (dir.path() / "2020_01_01_00_00_00_000.Json").string();
};

TEST_F(ProfileData, RepairsAFileWithoutASectionFromTheDefaultProfile) {
  const Json::Value defaultSection = JsonFileUtil::ReadJson(defaultPath)["Device"][0];
  struct Case {
    const char* name;
    const char* content;  // nullptr: no file
    bool keepsName;
  };
  const Case cases[] = {
      {"missing file", nullptr, false},
      {"empty file", "", false},
      {"truncated", R"({"profilename":"x","Device":[{"Light)", false},
      {"not an object", "[1,2,3]", false},
      {"no Device", R"({"profilename":"mine"})", true},
      {"empty Device", R"({"profilename":"mine","Device":[]})", true},
      {"Device not an array", R"({"profilename":"mine","Device":"text"})", true},
      {"section not an object", R"({"profilename":"mine","Device":[5]})", true},
      {"null section", R"({"profilename":"mine","Device":[null]})", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(profilePath);
    if (c.content) WriteText(profilePath, c.content);
    CBasicProfiledata profile;
    profile.SetDefaultPath(defaultPath);
    EXPECT_EQ(profile.LoadProfile(profilePath), defaultSection);
    const Json::Value file = JsonFileUtil::ReadJson(profilePath);
    EXPECT_EQ(file["Device"][0], defaultSection);
    if (c.keepsName) {
      EXPECT_EQ(file["profilename"].asString(), "mine");
    }
  }
}

TEST_F(ProfileData, LoadingAGoodFileDoesNotRewriteIt) {
  WriteText(profilePath, "{\"profilename\":\"p\",\"Device\":[{\"LightInfo\":{\"Red\":1}}]}");
  CBasicProfiledata profile;
  profile.SetDefaultPath(defaultPath);
  EXPECT_EQ(profile.LoadProfile(profilePath)["LightInfo"]["Red"].asInt(), 1);
  EXPECT_EQ(test::ReadFileBytes(profilePath),
            "{\"profilename\":\"p\",\"Device\":[{\"LightInfo\":{\"Red\":1}}]}");
}

TEST_F(ProfileData, WithoutADefaultProfileNothingIsWritten) {
  WriteText(profilePath, "garbage");
  CBasicProfiledata profile;
  profile.SetDefaultPath((dir.path() / "none.Json").string());
  EXPECT_TRUE(profile.LoadProfile(profilePath).isObject());
  EXPECT_EQ(test::ReadFileBytes(profilePath), "garbage");
}

TEST_F(ProfileData, LoadingTheDefaultProfileNeverWritesIt) {
  WriteText(defaultPath, R"({"profilename":"broken default"})");
  CBasicProfiledata profile;
  profile.SetDefaultPath(defaultPath);
  profile.LoadProfile(defaultPath);
  EXPECT_EQ(test::ReadFileBytes(defaultPath), R"({"profilename":"broken default"})");
}

TEST_F(ProfileData, HugeArraysAreReadUpToTheListLimit) {
  std::string keys = R"({"KeyList":[)";
  for (int i = 0; i < 100000; ++i) keys += (i ? "," : "") + std::string(R"({"Assignment":1})");
  keys += R"(],"LightList":[)" + std::string(50000 * 5, ' ') + "null";
  for (int i = 1; i < 50000; ++i) keys += ",null";
  keys += "]}";
  CKeyboardProfiledata profile;
  LoadSection(profile, keys);
  EXPECT_EQ(profile.ReadKeyList().size(), CBasicProfiledata::kMaxListEntries);
  EXPECT_EQ(profile.ReadLightList().size(), CBasicProfiledata::kMaxListEntries);
  std::vector<KeyEntry> many(200000);
  profile.WriteKeyList(many);
  EXPECT_EQ(profile.Section()["KeyList"].size(), 100000u);  // the stored list does not grow
}

TEST_F(ProfileData, SavingCreatesTheFileAndKeepsOtherKeys) {
  CBasicProfiledata profile;
  profile.SetProfilePath(profilePath);
  profile.SetProfilePath("");  // ignored
  EXPECT_EQ(profile.GetProfilePath(), profilePath);
  LightSetting light;
  light.red = 7;
  profile.WriteLightSetting(light);
  ASSERT_TRUE(profile.SaveProfile());
  EXPECT_EQ(JsonFileUtil::ReadJson(profilePath), ParseOrFail(R"({"Device":[{"LightInfo":{
      "SelectItem":0,"Light":0,"Speed":0,"Fx":0,"MultiColor":0,"Red":7,"Green":0,"Blue":0,
      "ZZCCLedMode":0,"CustomLightModeGroupIndex":0}}]})"));

  WriteText(profilePath, R"({"profilename":"keep","extra":[1,2],"Device":[{"old":1}]})");
  ASSERT_TRUE(profile.SaveProfile());
  const Json::Value file = JsonFileUtil::ReadJson(profilePath);
  EXPECT_EQ(file["profilename"].asString(), "keep");
  EXPECT_EQ(file["extra"].size(), 2u);
  EXPECT_FALSE(file["Device"][0].isMember("old"));
  EXPECT_EQ(file["Device"][0]["LightInfo"]["Red"].asInt(), 7);
}

TEST_F(ProfileData, KeyListPacksTypeP1P2AndKeepsTheDefaults) {
  CKeyboardProfiledata profile;
  LoadSection(profile, R"({"KeyList":[
      {"Assignment":2097217,"DefaultAssignment":2097193},
      {"Assignment":1048832},
      "not an object",
      {"Assignment":"text","DefaultAssignment":true}]})");
  const std::vector<KeyEntry> keys = profile.ReadKeyList();
  ASSERT_EQ(keys.size(), 4u);
  EXPECT_EQ(keys[0].current.type, 0x20);
  EXPECT_EQ(keys[0].current.p1, 0);
  EXPECT_EQ(keys[0].current.p2, 65);
  EXPECT_EQ(keys[0].defaultAction.p2, 0x29);
  EXPECT_EQ(keys[1].current, (KeyAction{0, 0x10, 0x01, 0x00, 0}));
  for (std::size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].current.keyId, i);
    EXPECT_EQ(keys[i].defaultAction.keyId, i);
  }
  EXPECT_EQ(keys[3].current.Packed(), 0);
  EXPECT_EQ(keys[3].defaultAction.Packed(), 1);

  std::vector<KeyEntry> changed = keys;
  changed[0].current = KeyAction{0, 0x70, 2, 1, 0};
  changed[1].defaultAction = KeyAction{0, 0x55, 5, 5, 0};  // never written
  profile.WriteKeyList(changed);
  ASSERT_TRUE(profile.SaveProfile());
  const Json::Value list = SavedSection()["KeyList"];
  EXPECT_EQ(list[0]["Assignment"].asInt(), 0x700201);
  EXPECT_EQ(list[0]["DefaultAssignment"].asInt(), 2097193);
  EXPECT_FALSE(list[1].isMember("DefaultAssignment"));
  EXPECT_TRUE(list[2].isObject());
  EXPECT_EQ(list[3]["DefaultAssignment"], Json::Value(true));
}

TEST_F(ProfileData, LightViewsMapTheirKeysToTheirBytes) {
  CKeyboardProfiledata profile;
  LoadSection(profile, R"({
      "LightInfo":{"SelectItem":20,"Light":4,"Speed":1,"Fx":1,"MultiColor":7,"Red":300,"Green":2.9,"Blue":true,
                   "ZZCCLedMode":3,"CustomLightModeGroupIndex":2},
      "LogoLightInfo":{"SelectItem":5,"MultiColor":7,"Red":1,"RGBdengoffon":1},
      "StLightInfo":"wrong type"})");
  const LightSetting main = profile.ReadLightSetting();
  EXPECT_EQ(main.selectItem, 20);
  EXPECT_EQ(main.multiColor, 1);  // read as a flag
  EXPECT_EQ(main.red, 300 & 0xFF);
  EXPECT_EQ(main.green, 2);
  EXPECT_EQ(main.blue, 1);
  EXPECT_EQ(main.zzccLedMode, 3);
  EXPECT_EQ(main.customLightModeGroupIndex, 2);
  EXPECT_EQ(main.logoSelectItem, 0);  // a view fills only its own bytes
  const LightSetting logo = profile.ReadLogoLightSetting();
  EXPECT_EQ(logo.logoSelectItem, 5);
  EXPECT_EQ(logo.logoMultiColor, 7);
  EXPECT_EQ(logo.rgbDengOffOn, 1);
  EXPECT_EQ(logo.selectItem, 0);
  EXPECT_EQ(profile.ReadStLightSetting(), LightSetting{});

  LightSetting st;
  st.stSelectItem = 4;
  st.stBlue = 200;
  st.stMultiColor = 9;
  profile.WriteStLightSetting(st);
  ASSERT_TRUE(profile.SaveProfile());
  CKeyboardProfiledata reloaded;
  reloaded.LoadProfile(profilePath);
  EXPECT_EQ(reloaded.ReadStLightSetting(), st);
  EXPECT_EQ(reloaded.ReadLightSetting(), main);
}

TEST_F(ProfileData, LightListMarksNullEntriesAsAbsent) {
  CBasicProfiledata profile;
  LoadSection(profile,
              R"({"LightList":[null,{"LEDREGMode":2,"LEDDirection":5,"red":10,"green":20,"blue":30},7]})");
  const std::vector<LightListEntry> list = profile.ReadLightList();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], LightListEntry{});
  EXPECT_EQ(list[0].present, 0);
  EXPECT_EQ(list[1].ledRegMode, 2);
  EXPECT_EQ(list[1].ledDirection, 1);
  EXPECT_EQ(list[1].blue, 30);
  EXPECT_EQ(list[1].present, 1);
  EXPECT_EQ(list[2].present, 0);
}

TEST_F(ProfileData, CustomColorsOfANewGroupAreCreatedAsZeros) {
  CKeyboardProfiledata profile;
  LoadSection(profile, R"({"CustomLightMode":{"CustomLightModeGroupIndex":1,"LightColorInfo":[
      [{"Red":1,"Green":2,"Blue":3,"Alpha":4},null]]}})");
  EXPECT_EQ(profile.ReadCustomGroupIndex(), 1);
  const std::vector<CustomColor> first = profile.ReadCustomColors(0, 3);
  ASSERT_EQ(first.size(), 3u);
  EXPECT_EQ(first[0], (CustomColor{1, 2, 3, 4}));
  EXPECT_EQ(first[1], CustomColor{});
  EXPECT_EQ(profile.ReadCustomColors(2, 4), std::vector<CustomColor>(4));
  ASSERT_TRUE(profile.SaveProfile());
  const Json::Value groups = SavedSection()["CustomLightMode"]["LightColorInfo"];
  ASSERT_EQ(groups.size(), 3u);
  EXPECT_EQ(groups[0].size(), 3u);
  ASSERT_EQ(groups[2].size(), 4u);
  for (const Json::Value& color : groups[2])
    EXPECT_EQ(color, ParseOrFail(R"({"Red":0,"Green":0,"Blue":0,"Alpha":0})"));

  profile.WriteCustomColors({{9, 8, 7, 6}}, 2);
  EXPECT_EQ(profile.ReadCustomColors(2, 2)[0], (CustomColor{9, 8, 7, 6}));
}

TEST_F(ProfileData, HostileGroupAndEqIndexesBuildNoHugeArrays) {
  CKeyboardProfiledata keyboard;
  LoadSection(keyboard, "{}");
  EXPECT_EQ(keyboard.ReadCustomColors(2000000000, 3).size(), 3u);
  EXPECT_EQ(keyboard.ReadCustomColors(-1, 3).size(), 3u);
  EXPECT_EQ(keyboard.ReadCustomColors(0, 2000000000).size(), CBasicProfiledata::kMaxListEntries);
  keyboard.WriteCustomColors({{1, 1, 1, 1}}, 2000000000);
  EXPECT_LE(keyboard.Section()["CustomLightMode"]["LightColorInfo"].size(), 1u);

  CHs6533Profiledata headset;
  LoadSection(headset, "{}");
  EXPECT_EQ(headset.ReadCustomEqBands(2000000000), std::vector<int>(10));
  headset.WriteCustomEqBands(-5, {1, 2, 3});
  headset.WriteCustomEqBands(2000000000, {1, 2, 3});
  EXPECT_FALSE(headset.Section().isMember("CustomEQHzValueInfo"));
}

TEST_F(ProfileData, EqTypesMapToTheirSlots) {
  const std::pair<int, int> slots[] = {{0, 1}, {1, 1}, {5, 5}, {12, 12}, {13, -1}, {14, 1}, {-3, 1}, {99, 1}};
  for (const auto& [type, slot] : slots) EXPECT_EQ(CHs6533Profiledata::EqSlot(type), slot) << type;

  CHs6533Profiledata profile;
  LoadSection(profile, R"({"EQHzValueInfo":[null,[{"value":1},{"value":2},{"value":3},{"value":4},{"value":5},
      {"value":6},{"value":7},{"value":8},{"value":9},{"value":-10}]]})");
  const std::vector<int> slot1 = {1, 2, 3, 4, 5, 6, 7, 8, 9, -10};
  EXPECT_EQ(profile.ReadEqBands(0), slot1);
  EXPECT_EQ(profile.ReadEqBands(14), slot1);
  EXPECT_TRUE(profile.ReadEqBands(13).empty());
  const Json::Value before = profile.Section();
  profile.WriteEqBands(13, {5, 5, 5});
  EXPECT_EQ(profile.Section(), before);

  // A slot that is missing reads as zeros and is created.
  EXPECT_EQ(profile.ReadEqBands(6), std::vector<int>(10));
  ASSERT_EQ(profile.Section()["EQHzValueInfo"][6].size(), 10u);
  profile.WriteEqBands(6, {7, 14, -13, -6, -1, 8, 13, 7, 2, 6, 99});
  EXPECT_EQ(profile.ReadEqBands(6), (std::vector<int>{7, 14, -13, -6, -1, 8, 13, 7, 2, 6}));
}

TEST_F(ProfileData, CustomEqNamesAndBandsRoundTrip) {
  CHs6533Profiledata profile;
  LoadSection(profile, R"({"CustomEQNameInfo":[{"Name":"Old"},{"Name":"Older"}]})");
  EXPECT_EQ(profile.ReadCustomEqNames(), (std::vector<std::string>{"Old", "Older"}));
  profile.WriteCustomEqNames({"Bässe"});
  profile.WriteCustomEqBands(0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  ASSERT_TRUE(profile.SaveProfile());
  CHs6533Profiledata reloaded;
  reloaded.LoadProfile(profilePath);
  EXPECT_EQ(reloaded.ReadCustomEqNames(), std::vector<std::string>{"Bässe"});
  EXPECT_EQ(reloaded.ReadCustomEqBands(0), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

TEST_F(ProfileData, HeadsetSettingsReadAsInt32InOrder) {
  CHs6533Profiledata profile;
  LoadSection(profile,
              R"({"SystemSetStages":{"MagicEnable":1,"MagicType":3,"EqType":13,"CustomEqSeletIndex":2,
      "MicInSelect":1,"MicInValue":-28,"MicMoniterSelect":0,"MicMoniterValue":4294967297}})");
  const HeadsetSettings settings = profile.ReadHeadsetSettings();
  EXPECT_EQ(settings, (HeadsetSettings{1, 3, 13, 2, 1, -28, 0, 1}));
  LoadSection(profile, R"({"SystemSetStages":[1,2]})");
  EXPECT_EQ(profile.ReadHeadsetSettings(), HeadsetSettings{});
}

TEST_F(ProfileData, DpiStagesMergeIntoTheKeptList) {
  auto stages = [](int count, int base) {
    std::string json = R"({"DPIStages":{"StageActive":)" + std::to_string(count - 1) + R"(,"StageDPIs":[)";
    for (int i = 0; i < count; ++i)
      json += (i ? "," : "") + std::string(R"({"StageActive":1,"StageXY":0,"StageDPIX":)") +
              std::to_string(base + i) +
              R"(,"StageDPIY":70000,"StageColorR":1,"StageColorG":2,"StageColorB":3})";
    return json + "]}}";
  };
  CMouseProfiledata profile;
  LoadSection(profile, stages(6, 100));
  ASSERT_EQ(profile.ReadDpiStages().size(), 6u);
  EXPECT_EQ(profile.GetActiveStage(), 5);
  EXPECT_EQ(profile.ReadDpiStages()[0].stageDpiY, 70000 & 0xFFFF);

  LoadSection(profile, stages(4, 200));
  const std::vector<DpiStage> merged = profile.ReadDpiStages();
  ASSERT_EQ(merged.size(), 6u);
  EXPECT_EQ(merged[3].stageDpiX, 203);
  EXPECT_EQ(merged[4].stageDpiX, 104);  // kept from the earlier profile
  EXPECT_EQ(merged[5].stageDpiX, 105);
  EXPECT_EQ(profile.GetActiveStage(), 3);

  LoadSection(profile, R"({"LightInfo":{}})");  // no "DPIStages": nothing changes
  EXPECT_EQ(profile.ReadDpiStages().size(), 6u);
  EXPECT_EQ(profile.GetActiveStage(), 3);

  profile.WriteDpiStages({{1, 1, 16, 16, 0, 255, 0}, {0, 1, 0x1234, 32, 0, 0, 255}});
  profile.SetActiveStage(1);
  ASSERT_TRUE(profile.SaveProfile());
  const Json::Value saved = SavedSection()["DPIStages"];
  EXPECT_EQ(saved["StageActive"].asInt(), 1);
  ASSERT_EQ(saved["StageDPIs"].size(), 2u);
  EXPECT_EQ(saved["StageDPIs"][1]["StageDPIX"].asInt(), 0x1234);
  EXPECT_EQ((DpiStage{0, 1, 0x1234, 32, 4, 5, 6}.ToBytes()),
            (std::array<std::uint8_t, 9>{0, 1, 0x34, 0x12, 32, 0, 4, 5, 6}));
}

TEST_F(ProfileData, SystemSettingsReadAsZerosWithoutTheirObject) {
  CMouseProfiledata mouse;
  LoadSection(mouse, R"({"ReportStages":{"StageActive":3}})");
  EXPECT_EQ(mouse.ReadSystemSettings(), MouseSystemSettings{});  // "ReportStages" needs "SystemStages"
  LoadSection(mouse,
              R"({"SystemStages":{"DoubleClickTime":500,"MouseSpeed":10,"PointerPrecision":1,"ScorllPage":1,
      "WheelScorlllinse":3},"ReportStages":{"StageActive":3}})");
  EXPECT_EQ(mouse.ReadSystemSettings(), (MouseSystemSettings{500, 10, 1, 1, 3, 3}));
  mouse.WriteSystemSettings({1, 2, 3, 4, 5, 6});
  EXPECT_EQ(mouse.Section()["ReportStages"]["StageActive"].asInt(), 6);
  EXPECT_EQ(mouse.Section()["SystemStages"]["WheelScorlllinse"].asInt(), 5);

  CKeyboardProfiledata keyboard;
  LoadSection(keyboard,
              R"({"SystemStages":{"Repeat":65537,"RepeatDelay":2,"Key6Flag":1,"PollingRate":3,"WFlag":1,
      "WinFlag":1,"ScanDelay":2}})");
  EXPECT_EQ(keyboard.ReadSystemSettings(), (KeyboardSystemSettings{1, 2, 1, 3, 1, 1, 2}));
  LoadSection(keyboard, "{}");
  EXPECT_EQ(keyboard.ReadSystemSettings(), KeyboardSystemSettings{});
}

TEST_F(ProfileData, CorrectionPresetsAreRead) {
  CMouseProfiledata mouse;
  LoadSection(
      mouse,
      R"({"CorrectInfo":[{"CorrectPixThresh":4,"CorrectMinSq":8,"CorrectSelect":1,"CorrectName":"Mid"},5]})");
  const std::vector<CorrectEntry> presets = mouse.ReadCorrectInfo();
  ASSERT_EQ(presets.size(), 2u);
  EXPECT_EQ(presets[0], (CorrectEntry{4, 8, 1, "Mid"}));
  EXPECT_EQ(presets[1], CorrectEntry{});
}

// Every member that should be an object or array holds something else: every
// reader gives zeros or nothing, every writer repairs the shape, nothing throws.
TEST_F(ProfileData, WrongTypesEverywhereReadAsMissing) {
  const char* const sections[] = {
      R"({"LightInfo":"x","LogoLightInfo":1,"StLightInfo":[],"LightList":{},"KeyList":"x","SystemStages":[1],
          "CustomLightMode":5,"DPIStages":"x","ReportStages":[],"CorrectInfo":{},"SystemSetStages":true,
          "EQHzValueInfo":"x","CustomEQNameInfo":7,"CustomEQHzValueInfo":{"a":1}})",
      R"({"CustomLightMode":{"LightColorInfo":"x"},"DPIStages":{"StageDPIs":"x"},"EQHzValueInfo":[1,"x",{}],
          "CustomEQHzValueInfo":[[1,2]],"KeyList":[[1],null]})",
      R"({"CustomLightMode":{"LightColorInfo":[[1,"x",[]]]},"DPIStages":{"StageDPIs":[1,"x"]}})",
  };
  for (const char* section : sections) {
    SCOPED_TRACE(section);
    CKeyboardProfiledata keyboard;
    LoadSection(keyboard, section);
    EXPECT_EQ(keyboard.ReadLightSetting(), LightSetting{});
    EXPECT_EQ(keyboard.ReadLogoLightSetting(), LightSetting{});
    keyboard.ReadLightList();
    for (const KeyEntry& key : keyboard.ReadKeyList()) EXPECT_EQ(key.current.Packed(), 0);
    EXPECT_EQ(keyboard.ReadSystemSettings(), KeyboardSystemSettings{});
    EXPECT_EQ(keyboard.ReadCustomColors(0, 3), std::vector<CustomColor>(3));
    keyboard.WriteCustomColors({{1, 2, 3, 4}}, 0);
    keyboard.WriteKeyList({{{0, 1, 2, 3, 0}, {}}});
    keyboard.WriteLightSetting(LightSetting{});
    keyboard.WriteSystemSettings({});
    keyboard.WriteCustomGroupIndex(1);
    EXPECT_TRUE(keyboard.SaveProfile());

    CMouseProfiledata mouse;
    LoadSection(mouse, section);
    for (const DpiStage& stage : mouse.ReadDpiStages()) EXPECT_EQ(stage, DpiStage{});
    EXPECT_EQ(mouse.ReadSystemSettings(), MouseSystemSettings{});
    EXPECT_TRUE(mouse.ReadCorrectInfo().empty());
    mouse.WriteDpiStages({{1, 1, 2, 2, 3, 3, 3}});
    mouse.SetActiveStage(0);
    mouse.WriteSystemSettings({});
    EXPECT_TRUE(mouse.SaveProfile());

    CHs6533Profiledata headset;
    LoadSection(headset, section);
    EXPECT_EQ(headset.ReadHeadsetSettings(), HeadsetSettings{});
    EXPECT_EQ(headset.ReadEqBands(2), std::vector<int>(10));
    EXPECT_EQ(headset.ReadCustomEqBands(0), std::vector<int>(10));
    for (const std::string& name : headset.ReadCustomEqNames()) EXPECT_EQ(name, "");
    headset.WriteEqBands(3, {1, 2});
    headset.WriteCustomEqBands(0, {1});
    headset.WriteCustomEqNames({"a"});
    headset.WriteHeadsetSettings({});
    EXPECT_TRUE(headset.SaveProfile());
  }
}

class ProfileLightEffects : public ProfileData {
 protected:
  void SetUp() override {
    ProfileData::SetUp();
    SetProgramFolderOverride((dir.path() / "program").string());
    std::filesystem::create_directories(deviceFolder);
  }
  void TearDown() override { SetProgramFolderOverride(""); }
  void WriteConfiguration(const std::string& guidForMode2) {
    WriteText(deviceFolder / "tavix_light.config",
              R"({"LightInfo":[[{"Guid":"1"},{"Guid":"2"},{"Guid":")" + guidForMode2 + R"("}]]})");
  }
  std::vector<LightEffectStep> Effects() {
    CBasicProfiledata profile;
    LoadSection(profile, R"({"LightInfo":{"SelectItem":2}})");
    profile.SetLightConfigPath((deviceFolder / "tavix_light.config").string());
    profile.LoadLightConfiguration();
    profile.ReadLightSetting();
    return profile.ReadLightEffects();
  }
  static std::string EffectFile(int red) {
    return R"({"LEDEffectList":[{"LEDREGMode":1,"LEDBrightness":4,"LEDSpeed":2,"LEDDirection":1,"LEDMultiColor":0,
        "red":)" +
           std::to_string(red) + R"(,"green":2,"blue":3,"Time":1500,"Cyle":-1},null]})";
  }
  std::filesystem::path deviceFolder = dir.path() / "config" / "Kestrane" / "keyboard";
};

TEST_F(ProfileLightEffects, AreLookedUpInTheDeviceFolderThenInDefaultData) {
  WriteConfiguration("2021_05_05_10_00_00_001");
  WriteText(dir.path() / "program" / "DefaultData" / "2021_05_05_10_00_00_001.light", EffectFile(200));
  std::vector<LightEffectStep> steps = Effects();
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].red, 200);
  EXPECT_EQ(steps[0].time, 1500);
  EXPECT_EQ(steps[0].cycle, -1);
  EXPECT_EQ(steps[1], LightEffectStep{});

  WriteText(deviceFolder / "2021_05_05_10_00_00_001.light", EffectFile(100));
  steps = Effects();
  ASSERT_FALSE(steps.empty());
  EXPECT_EQ(steps[0].red, 100);
}

TEST_F(ProfileLightEffects, IgnoreIdsThatAreNoIds) {
  // Files an id with a path in it would reach if it were used as a name.
  WriteText(dir.path() / "evil.light", EffectFile(66));
  WriteText(deviceFolder / "x" / "y.light", EffectFile(66));
  WriteText("/tmp/ostrel-profile-test-evil.light", EffectFile(66));
  for (const std::string guid :
       {"../../../evil", "x/y", "/tmp/ostrel-profile-test-evil", "", "2021_05_05 "}) {
    SCOPED_TRACE(guid);
    WriteConfiguration(guid);
    EXPECT_TRUE(Effects().empty());
  }
  std::filesystem::remove("/tmp/ostrel-profile-test-evil.light");
}

TEST_F(ProfileLightEffects, NoConfigurationMeansNoEffect) {
  EXPECT_TRUE(Effects().empty());
  WriteText(deviceFolder / "tavix_light.config", R"({"LightInfo":[[{"Guid":5}]]})");
  EXPECT_TRUE(Effects().empty());
}

}  // namespace
}  // namespace ostrel
