#include <gtest/gtest.h>

#include "profiles/ProfileNames.h"
#include "profiles/ProfileTabs.h"

namespace ostrel {
namespace {

TEST(ProfileNames, CompareIgnoringCaseBeyondAscii) {
  struct Case {
    const char* a;
    const char* b;
    bool equal;
  };
  const Case cases[] = {
      {"Profile1", "pROFILE1", true},
      {"ÄÖÜ straße", "äöü STRASSE", false},
      {"ÄÖÜ", "äöü", true},
      {"ΣΟΦΙΑ", "σοφια", true},
      {"Профиль", "профиль", true},
      {"配置", "配置", true},
      {"profile1", "profile1 ", false},
      {"", "", true},
      {"a", "", false},
      {"\xff", "\xfe", false},
      {"\xff", "\xff", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ProfileNames::EqualsIgnoreCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
}

TEST(ProfileNames, BlankMeansOnlyWhiteSpace) {
  EXPECT_TRUE(ProfileNames::IsBlank(""));
  EXPECT_TRUE(ProfileNames::IsBlank("   "));
  EXPECT_TRUE(ProfileNames::IsBlank(" \t\r\n"));
  EXPECT_TRUE(ProfileNames::IsBlank("\u3000\u00a0"));
  EXPECT_FALSE(ProfileNames::IsBlank(" a "));
  EXPECT_FALSE(ProfileNames::IsBlank("配"));
}

TEST(ProfileNames, NewNamesSkipTakenOnes) {
  EXPECT_EQ(ProfileNames::NewProfileName({}), "profile1");
  EXPECT_EQ(ProfileNames::NewProfileName({"profile1", "Profile2"}), "profile3");
  EXPECT_EQ(ProfileNames::NewProfileName({"PROFILE2"}), "profile1");
  EXPECT_EQ(ProfileNames::CopyName({"A"}, "A"), "A copy");
  EXPECT_EQ(ProfileNames::CopyName({"A", "a COPY"}, "A"), "A copy copy");
  EXPECT_EQ(ProfileNames::ImportName({}, "P"), "P");
  EXPECT_EQ(ProfileNames::ImportName({"P"}, "P"), "P(1)");
  EXPECT_EQ(ProfileNames::ImportName({"P", "P(1)"}, "P"), "P(1)(2)");
  EXPECT_EQ(ProfileNames::ImportName({"p", "p(1)", "P(1)(2)"}, "P"), "P(1)(2)(3)");
}

TEST(ProfileTabsByDeviceType, HideAndShowTheTabsOfEachType) {
  using V = ProfileTabs::Visibility;
  const V u = V::kUnchanged, h = V::kHidden, s = V::kShown;
  struct Case {
    int type;
    std::array<V, 8> tabs;  // deng, key, macro, system, cursor, voice, magic, virtual
  };
  const Case cases[] = {
      {1, {u, u, u, u, h, u, u, u}}, {2, {u, u, u, u, u, u, u, u}}, {3, {u, h, h, h, h, u, u, u}},
      {4, {u, h, h, u, h, u, u, u}}, {5, {u, h, h, h, h, u, u, u}}, {6, {u, u, u, u, u, u, u, u}},
      {7, {u, h, h, h, h, s, s, s}}, {0, {u, u, u, u, u, u, u, u}},
  };
  for (const Case& c : cases) EXPECT_EQ(ProfileTabs::VisibilityFor(c.type), c.tabs) << "type " << c.type;
}

TEST(ProfileTabsByDeviceType, SelectExactlyOneTab) {
  const auto three = ProfileTabs::SelectionFor(3);
  for (std::size_t i = 0; i < ProfileTabs::kTabCount; ++i) EXPECT_EQ(three[i], std::optional<bool>(i == 2));
  EXPECT_STREQ(ProfileTabs::kTabNames[2], "macro_Op_tab");
  for (int other : {0, 9, -1}) {
    const auto none = ProfileTabs::SelectionFor(other);
    for (std::size_t i = 0; i + 1 < ProfileTabs::kTabCount; ++i)
      EXPECT_EQ(none[i], std::optional<bool>(false));
    EXPECT_FALSE(none[7].has_value()) << "\"Virtual7.1_Op_tab\" keeps its state";
  }
}

}  // namespace
}  // namespace ostrel
