#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <regex>
#include <set>

#include "ProfileTestSupport.h"
#include "profiles/JsonFileUtil.h"
#include "profiles/ProfileIdGenerator.h"
#include "profiles/StyledJsonWriter.h"
#include "support/TestEnvironment.h"

namespace ostrel {
namespace {

using test::ParseOrFail;
using test::WriteText;

// Documents whose layout our writer must reproduce byte for byte: the files
// written by earlier versions came from the library's styled writer.
const char* const kLayoutCases[] = {
    R"({"a":1,"b":[1,2,3],"c":{"d":"e"},"f":[],"g":{},"h":null,"i":true,"j":-5,"k":1.5})",
    R"([1,[2,3],{"x":[]},[],{}])",
    R"({"short":[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24]})",
    R"({"long":[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25]})",
    R"({"margin":["aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa","bbbbbbbbbbbbbbbbbbbbbbbbbbbbb","c"]})",
    R"({"margin":["aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa","bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb","c"]})",
    R"({"escapes":"quote \" backslash \\ slash / tab \t nl \n cr \r bs \b ff \f ctl \u0001 \u001f"})",
    R"({"KeyList":[{"Assignment":2097193,"DefaultAssignment":2097193},{"Assignment":0}]})",
    R"({"big":18446744073709551615,"neg":-9223372036854775808,"real":0.1,"e":1e300})",
    R"([[[[[]]]],{"a":{"b":{"c":[1,{"d":[null]}]}}}])",
    "// leading comment\n{\n  // before a\n  \"a\" : 1, // after a\n  \"b\" : [ 1, /* in array */ 2 ]\n}\n",
    "{\"arr\" : [\n 1, // one\n 2\n]}",
    R"("just a string")",
    R"(42)",
};

TEST(JsonStyledWriter, MatchesTheLibraryLayoutForAsciiText) {
  for (const char* text : kLayoutCases) {
    SCOPED_TRACE(text);
    Json::Value value;
    Json::Reader reader(Json::Features::all());
    ASSERT_TRUE(reader.parse(text, value, true));
    Json::StyledWriter library;
    StyledJsonWriter ours;
    EXPECT_EQ(ours.Write(value), library.write(value));
  }
}

TEST(JsonStyledWriter, WritesNonAsciiTextAsRawUtf8) {
  Json::Value value(Json::objectValue);
  value["profilename"] = "配置 Ünïcødé 🎮";
  const std::string text = StyledJsonWriter().Write(value);
  EXPECT_NE(text.find("\"配置 Ünïcødé 🎮\""), std::string::npos) << text;
  EXPECT_EQ(text.find("\\u"), std::string::npos);
  EXPECT_EQ(JsonFileUtil::ParseJson(text), value);
}

TEST(JsonStyledWriter, KeepsEmbeddedNulAndControlCharactersEscaped) {
  Json::Value value(std::string("a\0b\x7f", 4));
  const std::string text = StyledJsonWriter().Write(value);
  EXPECT_EQ(text, std::string("\"a\\u0000b\x7f\"\n"));
  EXPECT_EQ(JsonFileUtil::ParseJson(text), value);
}

class JsonFileUtilFiles : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string Path(const std::string& name) const { return (dir.path() / name).string(); }
};

TEST_F(JsonFileUtilFiles, WritesCrLfLinesAndOneExtraLineEnd) {
  Json::Value value(Json::objectValue);
  value["a"] = 1;
  value["b"]["c"] = "名前";
  ASSERT_TRUE(JsonFileUtil::WriteJson(Path("x.Json"), value));
  const std::string bytes = test::ReadFileBytes(Path("x.Json"));
  EXPECT_EQ(bytes, "{\r\n   \"a\" : 1,\r\n   \"b\" : {\r\n      \"c\" : \"名前\"\r\n   }\r\n}\r\n\r\n");
  EXPECT_EQ(JsonFileUtil::ReadJson(Path("x.Json")), value);
}

TEST_F(JsonFileUtilFiles, ReadsCommentsAndCrLfFiles) {
  WriteText(Path("c.Json"),
            "// saved by hand\r\n{\r\n  \"a\" : 1, /* one */\r\n  \"b\" : [1, 2]\r\n}\r\n\r\n");
  const Json::Value value = JsonFileUtil::ReadJson(Path("c.Json"));
  ASSERT_TRUE(value.isObject());
  EXPECT_EQ(value["a"].asInt(), 1);
  EXPECT_EQ(value["b"].size(), 2u);
  // Comments survive a rewrite.
  ASSERT_TRUE(JsonFileUtil::WriteJson(Path("c.Json"), value));
  EXPECT_NE(test::ReadFileBytes(Path("c.Json")).find("/* one */"), std::string::npos);
}

TEST_F(JsonFileUtilFiles, SkipsAByteOrderMark) {
  WriteText(Path("bom.json"), "\xEF\xBB\xBF{\"profilename\":\"P\"}");
  EXPECT_EQ(JsonFileUtil::ReadJson(Path("bom.json"))["profilename"].asString(), "P");
  WriteText(Path("bom-only.json"), "\xEF\xBB\xBF");
  EXPECT_TRUE(JsonFileUtil::ReadJson(Path("bom-only.json")).isNull());
}

TEST_F(JsonFileUtilFiles, UnusableFilesReadAsNull) {
  struct Case {
    const char* name;
    std::string content;
  };
  const Case cases[] = {
      {"empty", ""},
      {"truncated", "{\"Device\" : [ { \"LightInfo\" : { \"Red\" : 2"},
      {"not json", "this is not JSON at all"},
      {"binary", std::string("\x00\xff\xfe{", 4)},
      {"deep nesting", std::string(100000, '[')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteText(Path("bad.Json"), c.content);
    EXPECT_TRUE(JsonFileUtil::ReadJson(Path("bad.Json")).isNull());
  }
}

TEST_F(JsonFileUtilFiles, RefusesWhatIsNoRegularFile) {
  ASSERT_EQ(::mkfifo(Path("fifo.json").c_str(), 0600), 0);
  EXPECT_TRUE(JsonFileUtil::ReadJson(Path("fifo.json")).isNull());  // must not wait for a writer
  EXPECT_TRUE(JsonFileUtil::ReadJson(dir.path().string()).isNull());
  EXPECT_TRUE(JsonFileUtil::readjsonFile("/dev/zero").empty());
}

TEST_F(JsonFileUtilFiles, RefusesFilesAboveTheSizeLimit) {
  std::string huge = "[";
  huge.append(JsonFileUtil::kMaxFileSize, ' ');
  huge += "]";
  WriteText(Path("huge.Json"), huge);
  EXPECT_TRUE(JsonFileUtil::readjsonFile(Path("huge.Json")).empty());
}

TEST_F(JsonFileUtilFiles, TracesEveryReadAndThePathOfMissingFiles) {
  test::DebugLines debug;
  EXPECT_TRUE(JsonFileUtil::ReadJson(Path("missing.Json")).isNull());
  EXPECT_TRUE(debug.Contains("readjsonFile 错误吗：：2"));  // ENOENT
  EXPECT_TRUE(debug.Contains(Path("missing.Json")));
  debug.lines.clear();
  WriteText(Path("ok.Json"), "{}");
  EXPECT_TRUE(JsonFileUtil::ReadJson(Path("ok.Json")).isObject());
  EXPECT_TRUE(debug.Contains("readjsonFile 错误吗：：0"));
  EXPECT_FALSE(debug.Contains(Path("ok.Json")));
}

TEST(JsonProfileId, HasTheTimestampFormatAndNeverRepeats) {
  const std::regex format(R"(\d{4}_\d{2}_\d{2}_\d{2}_\d{2}_\d{2}_\d{3})");
  std::set<std::string> seen;
  std::string previous;
  for (int i = 0; i < 3000; ++i) {
    const std::string id = JsonFileUtil::NewProfileId();
    ASSERT_TRUE(std::regex_match(id, format)) << id;
    ASSERT_TRUE(JsonFileUtil::IsValidId(id)) << id;
    ASSERT_TRUE(seen.insert(id).second) << "repeated " << id;
  }
}

// Two ids that would name the same file: the same millisecond, the clock set
// back, and the hour that repeats when summer time ends.
TEST(JsonProfileId, RepeatedLocalTimesGetTheNextFreeMillisecond) {
  const char* oldTz = std::getenv("TZ");
  const std::string savedTz = oldTz ? oldTz : "";
  ::setenv("TZ", "Europe/Berlin", 1);
  ::tzset();
  std::tm utc{};
  utc.tm_year = 2026 - 1900;
  utc.tm_mon = 9;
  utc.tm_mday = 25;
  utc.tm_min = 30;
  const std::int64_t summer = static_cast<std::int64_t>(::timegm(&utc)) * 1000;  // 02:30 CEST
  const std::int64_t winter = summer + 3600 * 1000;                              // 02:30 CET

  ProfileIdGenerator generator;
  EXPECT_EQ(generator.Next(summer), "2026_10_25_02_30_00_000");
  EXPECT_EQ(generator.Next(summer), "2026_10_25_02_30_00_001");
  EXPECT_EQ(generator.Next(summer - 60000), "2026_10_25_02_30_00_002");
  EXPECT_EQ(generator.Next(winter), "2026_10_25_02_30_00_003");
  EXPECT_EQ(generator.Next(winter + 5000), "2026_10_25_02_30_05_000");

  if (oldTz)
    ::setenv("TZ", savedTz.c_str(), 1);
  else
    ::unsetenv("TZ");
  ::tzset();
}

TEST(JsonProfileId, AcceptsOnlyWhatTheIdFormatProduces) {
  struct Case {
    const char* id;
    bool valid;
  };
  const Case cases[] = {
      {"2020_03_07_14_05_09_042", true},
      {"12345", true},
      {"", false},
      {"../2020_03_07", false},
      {"..", false},
      {"/etc/passwd", false},
      {"a/b", false},
      {"2020_03_07.Json", false},
      {"2020 03", false},
      {"2020\\03", false},
      {"%2e%2e", false},
      {"abc", false},
  };
  for (const Case& c : cases) EXPECT_EQ(JsonFileUtil::IsValidId(c.id), c.valid) << c.id;
  EXPECT_TRUE(JsonFileUtil::IsValidId(std::string(JsonFileUtil::kMaxIdLength, '1')));
  EXPECT_FALSE(JsonFileUtil::IsValidId(std::string(JsonFileUtil::kMaxIdLength + 1, '1')));
  EXPECT_FALSE(
      JsonFileUtil::IsValidId(std::string("12\0"
                                          "34",
                                          5)));
}

TEST(JsonFileTitle, StripsFolderAndExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"/home/u/P.json", "P"},
      {"P.json", "P"},
      {"/a/b.c/name.tar.json", "name.tar"},
      {"/a/noext", "noext"},
      {"/a/.hidden", ".hidden"},
      {"/a/配置.json", "配置"},
      {"/a/with space(1).Json", "with space(1)"},
  };
  for (const auto& [path, title] : cases) EXPECT_EQ(JsonFileUtil::FileTitle(path), title) << path;
}

}  // namespace
}  // namespace ostrel
