#include <gtest/gtest.h>

#include <set>

#include "ProfileTestSupport.h"
#include "profiles/DeviceProfileList.h"
#include "profiles/JsonFileUtil.h"
#include "support/TestEnvironment.h"

namespace ostrel {
namespace {

using Status = ProfileOpResult::Status;
using test::ParseOrFail;
using test::WriteText;

class ProfileList : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(folder);
    WriteText(defaultPath,
              R"({"Device":[{"LightInfo":{"Red":1},"CustomEQNameInfo":[],"CustomEQHzValueInfo":[]}]})");
    list.SetDeviceType(1);
    list.SetPaths(folder.string(), defaultPath.string());
  }
  Json::Value ListFile() const { return JsonFileUtil::ReadJson(list.ListPath()); }
  Json::Value ProfileFile(int index) const {
    return JsonFileUtil::ReadJson(list.ProfilePath(list.Entries()[index].uuid));
  }
  // A list file with the given names, profile files from the default.
  void Seed(const std::vector<std::string>& names, int select = 0) {
    Json::Value doc(Json::objectValue);
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::string uuid = "2020_01_01_00_00_00_" + std::to_string(100 + i);
      Json::Value entry(Json::objectValue);
      entry["profilename"] = names[i];
      entry["profileUUID"] = uuid;
      doc["profilelist"].append(entry);
      Json::Value profile = JsonFileUtil::ReadJson(defaultPath.string());
      profile["profilename"] = names[i];
      profile["profileUUID"] = uuid;
      JsonFileUtil::WriteJson((folder / (uuid + ".Json")).string(), profile);
    }
    doc["profileselect"] = select;
    JsonFileUtil::WriteJson(list.ListPath(), doc);
    ASSERT_TRUE(list.LoadProfileList().done());
  }

  test::TempDir dir;
  std::filesystem::path folder = dir.path() / "Kestrane" / "keyboard";
  std::filesystem::path defaultPath = dir.path() / "DefaultData" / "keyboard.Json";
  DeviceProfileList list;
};

TEST_F(ProfileList, FirstStartCreatesProfile1FromTheDefault) {
  const ProfileOpResult result = list.LoadProfileList();
  ASSERT_TRUE(result.done());
  ASSERT_EQ(list.Entries().size(), 1u);
  EXPECT_EQ(list.Entries()[0].name, "profile1");
  EXPECT_TRUE(JsonFileUtil::IsValidId(list.CurrentUuid()));
  EXPECT_EQ(list.CurrentIndex(), 0);
  EXPECT_EQ(ListFile(),
            ParseOrFail(R"({"profilelist":[{"profilename":"profile1","profileUUID":")" + list.CurrentUuid() +
                        R"(","profileislink":0,"profilelinkmame":""}],"profileselect":0})"));
  Json::Value expected = JsonFileUtil::ReadJson(defaultPath.string());
  expected["profilename"] = "profile1";
  expected["profileUUID"] = list.CurrentUuid();
  EXPECT_EQ(JsonFileUtil::ReadJson(list.CurrentProfilePath()), expected);

  // A second start finds the same list.
  DeviceProfileList again;
  again.SetPaths(folder.string(), defaultPath.string());
  again.LoadProfileList();
  EXPECT_EQ(again.Entries(), list.Entries());
}

TEST_F(ProfileList, AStoredSelectionOutsideTheListSelectsTheFirst) {
  for (int select : {5, -1, 2}) {
    Seed({"a", "b"}, select);
    EXPECT_EQ(list.CurrentIndex(), 0) << select;
    EXPECT_EQ(ListFile()["profileselect"].asInt(), 0);
  }
  Seed({"a", "b"}, 1);
  EXPECT_EQ(list.CurrentIndex(), 1);
  EXPECT_EQ(list.CurrentUuid(), list.Entries()[1].uuid);
}

TEST_F(ProfileList, AddNamesTheFirstFreeNumberAndStoresItAsSelection) {
  Seed({"profile1", "Profile2"});
  const ProfileOpResult result = list.AddProfile();
  ASSERT_TRUE(result.done());
  EXPECT_EQ(result.name, "profile3");
  EXPECT_EQ(result.index, 2);
  EXPECT_EQ(list.CurrentIndex(), 0);  // the current profile stays
  EXPECT_EQ(list.StoredSelection(), 2);
  EXPECT_EQ(ListFile()["profileselect"].asInt(), 2);
  const Json::Value file = ProfileFile(2);
  EXPECT_EQ(file["profilename"].asString(), "profile3");
  EXPECT_EQ(file["profileUUID"].asString(), list.Entries()[2].uuid);
  EXPECT_EQ(file["Device"][0]["LightInfo"]["Red"].asInt(), 1);
}

TEST_F(ProfileList, AddStopsAtFiftyButCopyAndImportDoNot) {
  list.LoadProfileList();
  while (list.Entries().size() < 50) ASSERT_TRUE(list.AddProfile().done());
  std::set<std::string> uuids;
  for (const ProfileEntry& entry : list.Entries()) uuids.insert(entry.uuid);
  EXPECT_EQ(uuids.size(), 50u) << "two profiles share one file";
  EXPECT_EQ(test::FilesIn(folder).size(), 51u);  // 50 profiles and the list

  EXPECT_EQ(list.AddProfile().status, Status::kRefused);
  EXPECT_EQ(list.Entries().size(), 50u);
  EXPECT_TRUE(list.CopyProfile().done());
  const std::string source = (dir.path() / "P.json").string();
  WriteText(source, R"({"profilename":"x","profileUUID":"y","Device":[{}]})");
  EXPECT_TRUE(list.ImportProfile(source).done());
  EXPECT_EQ(list.Entries().size(), 52u);
  EXPECT_EQ(ListFile()["profilelist"].size(), 52u);
}

TEST_F(ProfileList, DeleteSelectsThePreviousProfileAndRemovesTheFile) {
  Seed({"a", "b", "c"});
  const std::string firstFile = list.CurrentProfilePath();
  ProfileOpResult result = list.DeleteProfile();
  ASSERT_TRUE(result.done());
  EXPECT_TRUE(result.reloadProfile);
  EXPECT_FALSE(std::filesystem::exists(firstFile));
  EXPECT_EQ(list.Names(), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(ListFile()["profileselect"].asInt(), 0);
  EXPECT_EQ(list.CurrentIndex(), 0);

  ASSERT_TRUE(list.SelectProfile(1));
  result = list.DeleteProfile();
  ASSERT_TRUE(result.done());
  EXPECT_EQ(result.index, 0);
  EXPECT_EQ(list.CurrentUuid(), list.Entries()[0].uuid);
  EXPECT_EQ(list.Names(), std::vector<std::string>{"b"});

  EXPECT_EQ(list.DeleteProfile().status, Status::kRefused);
  EXPECT_EQ(list.Entries().size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(list.CurrentProfilePath()));
}

TEST_F(ProfileList, CopyAppendsNameCopyAndDuplicatesTheFile) {
  Seed({"A", "A copy"});
  Json::Value changed = ProfileFile(0);
  changed["Device"][0]["LightInfo"]["Red"] = 99;
  JsonFileUtil::WriteJson(list.CurrentProfilePath(), changed);
  const ProfileOpResult result = list.CopyProfile();
  ASSERT_TRUE(result.done());
  EXPECT_EQ(result.name, "A copy copy");
  EXPECT_EQ(list.StoredSelection(), 0);
  const Json::Value copy = ProfileFile(2);
  EXPECT_EQ(copy["profilename"].asString(), "A copy copy");
  EXPECT_EQ(copy["profileUUID"].asString(), list.Entries()[2].uuid);
  EXPECT_EQ(copy["Device"], changed["Device"]);
}

TEST_F(ProfileList, ImportNamesAfterTheFileAndCountsUp) {
  Seed({"profile1"});
  const std::string source = (dir.path() / "P.json").string();
  WriteText(source,
            "{\"profilename\":\"whatever\",\"profileUUID\":\"../../"
            "etc\",\"Device\":[{\"LightInfo\":{\"Red\":5}}]}");
  for (const char* expected : {"P", "P(1)", "P(1)(2)"}) {
    const ProfileOpResult result = list.ImportProfile(source);
    ASSERT_TRUE(result.done());
    EXPECT_EQ(result.name, expected);
    const Json::Value file = ProfileFile(result.index);
    EXPECT_EQ(file["profilename"].asString(), expected);
    EXPECT_EQ(file["profileUUID"].asString(), list.Entries()[result.index].uuid);
    EXPECT_EQ(file["Device"][0]["LightInfo"]["Red"].asInt(), 5);
  }
}

TEST_F(ProfileList, ImportIgnoresFilesThatAreNoProfiles) {
  Seed({"profile1"});
  const std::pair<const char*, const char*> cases[] = {
      {"no-id.json", R"({"profilename":"x","Device":[]})"},
      {"no-name.json", R"({"profileUUID":"1","Device":[]})"},
      {"array.json", R"([{"profilename":"x","profileUUID":"1"}])"},
      {"broken.json", R"({"profilename":"x","profileUUID")"},
  };
  for (const auto& [name, content] : cases) {
    WriteText(dir.path() / name, content);
    EXPECT_EQ(list.ImportProfile((dir.path() / name).string()).status, Status::kIgnored) << name;
  }
  EXPECT_EQ(list.ImportProfile((dir.path() / "missing.json").string()).status, Status::kIgnored);
  EXPECT_EQ(list.ImportProfile("").status, Status::kRefused);
  EXPECT_EQ(list.Entries().size(), 1u);
}

TEST_F(ProfileList, ExportWritesTheProfileUnchanged) {
  Seed({"mine"});
  const std::string destination = (dir.path() / "out" / "mine.json").string();
  std::filesystem::create_directories(dir.path() / "out");
  ASSERT_TRUE(list.ExportProfile(destination).done());
  EXPECT_EQ(JsonFileUtil::ReadJson(destination), ProfileFile(0));
  EXPECT_EQ(list.ExportProfile("").status, Status::kRefused);
  EXPECT_EQ(list.ExportProfile((dir.path() / "no-folder" / "x.json").string()).status, Status::kFailed);
  std::filesystem::remove(list.CurrentProfilePath());
  EXPECT_EQ(list.ExportProfile(destination).status, Status::kFailed);
  EXPECT_TRUE(JsonFileUtil::ReadJson(destination).isObject())
      << "a failed export must not clobber the old file";
}

TEST_F(ProfileList, RenameChecksBlankAndTakenNames) {
  Seed({"alpha", "Beta"});
  struct Case {
    const char* name;
    int result;
    const char* message;
  };
  const Case cases[] = {
      {"   ", DeviceProfileList::kRenameBlank, "message_text_25"},
      {"", DeviceProfileList::kRenameBlank, "message_text_25"},
      {"BETA", DeviceProfileList::kRenameTaken, "message_text_5"},
      {"ALPHA", DeviceProfileList::kRenameDone, ""},
      {" spaced name ", DeviceProfileList::kRenameDone, ""},
  };
  const std::string uuid = list.CurrentUuid();
  for (const Case& c : cases) {
    const int result = list.RenameProfile(c.name);
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_STREQ(DeviceProfileList::RenameMessage(result), c.message);
  }
  EXPECT_EQ(list.Entries()[0].name, " spaced name ");
  EXPECT_EQ(ListFile()["profilelist"][0]["profilename"].asString(), " spaced name ");
  EXPECT_EQ(ProfileFile(0)["profilename"].asString(), " spaced name ");
  EXPECT_EQ(list.CurrentUuid(), uuid);
  EXPECT_TRUE(std::filesystem::exists(list.ProfilePath(uuid)));
}

TEST_F(ProfileList, ResetRestoresTheDefaultKeepingNameIdAndHeadsetEqualisers) {
  list.SetDeviceType(DeviceProfileList::kHeadsetDeviceType);
  Seed({"music"});
  Json::Value mine = ProfileFile(0);
  mine["Device"][0]["LightInfo"]["Red"] = 77;
  mine["Device"][0]["CustomEQNameInfo"] = ParseOrFail(R"([{"Name":"Bass"},{"Name":"Voice"}])");
  mine["Device"][0]["CustomEQHzValueInfo"] = ParseOrFail(R"([[{"value":3}],[{"value":-4}]])");
  JsonFileUtil::WriteJson(list.CurrentProfilePath(), mine);

  const ProfileOpResult result = list.ResetProfile();
  ASSERT_TRUE(result.done());
  EXPECT_TRUE(result.reloadProfile);
  const Json::Value reset = ProfileFile(0);
  EXPECT_EQ(reset["profilename"].asString(), "music");
  EXPECT_EQ(reset["profileUUID"].asString(), list.CurrentUuid());
  EXPECT_EQ(reset["Device"][0]["LightInfo"]["Red"].asInt(), 1);
  EXPECT_EQ(reset["Device"][0]["CustomEQNameInfo"], mine["Device"][0]["CustomEQNameInfo"]);
  EXPECT_EQ(reset["Device"][0]["CustomEQHzValueInfo"], mine["Device"][0]["CustomEQHzValueInfo"]);

  list.SetDeviceType(1);  // other devices get the default's (empty) lists
  ASSERT_TRUE(list.ResetProfile().done());
  EXPECT_EQ(ProfileFile(0)["Device"][0]["CustomEQNameInfo"].size(), 0u);
}

TEST(ProfileListMessages, NameTheTextsThePanelShows) {
  EXPECT_STREQ(DeviceProfileList::MacroDownloadMessage(-1), "message_text_7");
  EXPECT_STREQ(DeviceProfileList::MacroDownloadMessage(3), "message_text_16");
  EXPECT_STREQ(DeviceProfileList::MacroDownloadMessage(0), "");
  EXPECT_STREQ(DeviceProfileList::MacroDownloadMessage(-102), "");
  EXPECT_STREQ(DeviceProfileList::RenameMessage(DeviceProfileList::kRenameDone), "");
  EXPECT_STREQ(DeviceProfileList::RenameMessage(DeviceProfileList::kRenameFailed), "");
}

TEST_F(ProfileList, ResetWithoutADefaultProfileKeepsTheProfile) {
  Seed({"mine"});
  const std::string before = test::ReadFileBytes(list.CurrentProfilePath());
  std::filesystem::remove(defaultPath);
  EXPECT_EQ(list.ResetProfile().status, Status::kFailed);
  EXPECT_EQ(test::ReadFileBytes(list.CurrentProfilePath()), before);
}

TEST_F(ProfileList, KeepsOtherKeysOfTheListFile) {
  WriteText(list.ListPath(), R"({"profilelist":[{"profilename":"a","profileUUID":"1","profileislink":5}],
      "profileselect":0,"futureKey":{"x":1}})");
  list.LoadProfileList();
  list.AddProfile();
  const Json::Value file = ListFile();
  EXPECT_EQ(file["futureKey"]["x"].asInt(), 1);
  EXPECT_EQ(file["profilelist"][0]["profileislink"].asInt(), 0);
  EXPECT_EQ(file["profilelist"][0]["profilelinkmame"].asString(), "");
}

// Ids of a hostile list name files: only real ids are used, so no operation
// reads, writes or deletes anything outside the device folder.
TEST_F(ProfileList, IgnoresEntriesWhoseIdIsNoId) {
  const std::filesystem::path outside = dir.path() / "Kestrane" / "victim.Json";
  WriteText(outside, "precious");
  const std::filesystem::path absolute = dir.path() / "absolute.Json";
  WriteText(absolute, "precious");
  WriteText(folder / "2020_01_01_00_00_00_001.Json", R"({"Device":[{}]})");
  WriteText(list.ListPath(), R"({"profilelist":[
      {"profilename":"up","profileUUID":"../victim"},
      {"profilename":"abs","profileUUID":")" +
                                 absolute.string().substr(0, absolute.string().size() - 5) + R"("},
      {"profilename":"slash","profileUUID":"a/b"},
      {"profilename":"number","profileUUID":12},
      "not an entry",
      {"profilename":"good","profileUUID":"2020_01_01_00_00_00_001"},
      {"profilename":"twin","profileUUID":"2020_01_01_00_00_00_001"}],
      "profileselect":5})");
  ASSERT_TRUE(list.LoadProfileList().done());
  ASSERT_EQ(list.Names(), std::vector<std::string>{"good"});
  EXPECT_EQ(list.CurrentIndex(), 0);  // the stored selection pointed at "good"
  list.AddProfile();
  list.CopyProfile();
  list.RenameProfile("renamed");
  list.ResetProfile();
  list.DeleteProfile();
  list.DeleteProfile();
  EXPECT_EQ(test::ReadFileBytes(outside), "precious");
  EXPECT_EQ(test::ReadFileBytes(absolute), "precious");
  EXPECT_EQ(ListFile()["profilelist"].size(), 1u);
  for (const std::string& name : test::FilesIn(folder))
    EXPECT_TRUE(name == "ProfileList.ini" || JsonFileUtil::IsValidId(name.substr(0, name.size() - 5)))
        << name;
}

TEST_F(ProfileList, AnUnusableListStartsAFreshOne) {
  for (const char* content : {"", "not json", R"({"profilelist":{}})", R"({"profilelist":[]})", "[]"}) {
    WriteText(list.ListPath(), content);
    ASSERT_TRUE(list.LoadProfileList().done()) << content;
    EXPECT_EQ(list.Names(), std::vector<std::string>{"profile1"}) << content;
  }
}

}  // namespace
}  // namespace ostrel
