// Building an action from the panel's controls and showing one in them.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "devicelink/DeviceProtocol.h"
#include "devices/KeyAssignment.h"

namespace ostrel {
namespace {

using C = FunctionCategory;

KeyAction A(std::uint8_t type, std::uint8_t p1, std::uint8_t p2) { return MakeAction(type, p1, p2); }

const KeyAction kDefault = A(0x10, 0x02, 0x00);  // right button
const KeyAction kStart = A(0x13, 0x01, 0x00);    // current before the build

struct BuildCase {
  const char* name;
  KeyPanelControls controls;
  KeyAction expected;
  friend void PrintTo(const BuildCase& c, std::ostream* os) { *os << c.name; }
};

KeyPanelControls Category(C category) {
  KeyPanelControls c;
  c.category = static_cast<int>(category);
  return c;
}

KeyPanelControls Wheel(int direction, std::string count, std::string delay = "0", std::string speed = "0") {
  KeyPanelControls c = Category(C::kVerticalScroll);
  c.wheelDirectionItem = direction;
  c.wheelCount = std::move(count);
  c.wheelDelay = std::move(delay);
  c.wheelSpeed = std::move(speed);
  return c;
}

KeyPanelControls Swing(int direction, std::string count, std::string delay = "0", std::string speed = "0") {
  KeyPanelControls c = Category(C::kHorizontalScroll);
  c.swingDirectionItem = direction;
  c.swingCount = std::move(count);
  c.swingDelay = std::move(delay);
  c.swingSpeed = std::move(speed);
  return c;
}

template <typename F>
KeyPanelControls With(C category, F set) {
  KeyPanelControls c = Category(category);
  set(c);
  return c;
}

class KeyAssignmentBuild : public ::testing::TestWithParam<BuildCase> {};

TEST_P(KeyAssignmentBuild, BuildsTheAction) {
  KeyAssignment model;
  model.setMacroNames({"one", "two", "three"});
  model.setAssignment({kStart, kDefault});
  const KeyEntry built = model.buildAssignment(GetParam().controls);
  EXPECT_EQ(built.current, GetParam().expected);
  EXPECT_EQ(built.defaultAction, kDefault);
  EXPECT_EQ(model.current(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    KeyCategories, KeyAssignmentBuild,
    ::testing::Values(
        BuildCase{"WheelDown3", Wheel(1, "3"), A(0x12, 0x00, 0xFD)},
        BuildCase{"WheelDown0IsMinus128", Wheel(1, "0"), A(0x12, 0x00, 0x80)},
        BuildCase{"WheelUp5WithTiming", Wheel(0, "5", "2", "9"), A(0x12, 0x29, 0x05)},
        BuildCase{"WheelTimingMaskedToNibbles", Wheel(0, "1", "17", "31"), A(0x12, 0x1F, 0x01)},
        BuildCase{"WheelCountStaysOutOfTheDirectionBit", Wheel(0, "200"), A(0x12, 0x00, 0x7F)},
        BuildCase{"WheelNoDirectionIsUp", Wheel(-1, "4"), A(0x12, 0x00, 0x04)},
        BuildCase{"SwingRight3", Swing(1, "3"), A(0x11, 0x00, 0x83)},
        BuildCase{"SwingLeft3", Swing(0, "3", "15", "1"), A(0x11, 0xF1, 0x03)},
        BuildCase{"SwingRightCountClamped", Swing(1, "300"), A(0x11, 0x00, 0xFF)},
        BuildCase{"NonNumericEditsReadZero", Swing(1, "abc", "x", ""), A(0x11, 0x00, 0x80)},
        BuildCase{"RapidFire",
                  With(C::kRapidFire, [](auto& c) { c.fireInterval = "80", c.fireCount = " 3"; }),
                  A(0x14, 80, 3)},
        BuildCase{"MouseButtonRow", With(C::kMouseButton, [](auto& c) { c.mouseKeyItem = 2; }),
                  A(0x10, 0x02, 0)},
        BuildCase{"MouseButtonNoRowKeepsCurrent", With(C::kMouseButton, [](auto& c) { c.mouseKeyItem = -1; }),
                  kStart},
        BuildCase{"DpiRow", With(C::kDpi, [](auto& c) { c.dpiItem = 2; }), A(0x13, 0x03, 0)},
        BuildCase{"MediaRow", With(C::kMedia, [](auto& c) { c.mediaItem = 8; }), A(0x30, 0x23, 0x02)},
        BuildCase{"SystemRow", With(C::kSystemPower, [](auto& c) { c.systemItem = 1; }), A(0x40, 0x02, 0)},
        BuildCase{"ShortcutCtrlC", With(C::kShortcut, [](auto& c) { c.shortcutItem = 4; }),
                  A(0x20, 0x01, 0x06)},
        BuildCase{"ShortcutPastTheTableKeepsCurrent",
                  With(C::kShortcut, [](auto& c) { c.shortcutItem = 11; }), kStart},
        BuildCase{"MacroPlayMode", With(C::kMacro, [](auto& c) { c.macroItem = 1, c.macroModeItem = 2; }),
                  A(0x70, 1, 2)},
        BuildCase{"MacroNoPlayMode", With(C::kMacro, [](auto& c) { c.macroItem = 0; }), A(0x70, 0, 0xFF)},
        BuildCase{"MacroRepeat",
                  With(C::kMacro, [](auto& c) { c.macroItem = 2, c.macroModeItem = 4, c.macroRepeat = "7"; }),
                  A(0x71, 2, 7)},
        BuildCase{"MacroNoneSelectedKeepsCurrent", With(C::kMacro, [](auto& c) { c.macroModeItem = 1; }),
                  kStart},
        BuildCase{"MacroPastTheListKeepsCurrent", With(C::kMacro, [](auto& c) { c.macroItem = 3; }), kStart},
        BuildCase{"Gun", With(C::kGunPreset, [](auto& c) { c.gunItem = 3; }), A(0x72, 3, 0)},
        BuildCase{"DefaultCategory", Category(C::kDefault), kDefault},
        BuildCase{"NoCategory", KeyPanelControls{}, kDefault},
        BuildCase{"UnknownCategory", With(C::kDefault, [](auto& c) { c.category = 12; }), kDefault}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyAssignmentBuildKeyboard, ModifierOptionsAreLeftHandAndAnEmptyFieldClearsTheKey) {
  struct Case {
    int option;
    const char* keyText;
    KeyAction expected;
  };
  const Case cases[] = {
      {0, "C", A(0x20, 0x00, 0x06)}, {1, "C", A(0x20, 0x01, 0x06)}, {2, "C", A(0x20, 0x02, 0x06)},
      {3, "C", A(0x20, 0x04, 0x06)}, {4, "C", A(0x20, 0x08, 0x06)}, {-1, "C", A(0x20, 0x00, 0x06)},
      {1, "", A(0x20, 0x01, 0x00)},  {7, "C", A(0x20, 0x00, 0x06)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.option) + " " + c.keyText);
    KeyAssignment model;
    // The key comes from capture: the current action holds its usage.
    model.setAssignment({A(0x20, 0x10, 0x06), kDefault});
    KeyPanelControls controls = Category(C::kKeyboardKey);
    controls.modifierOption = c.option;
    controls.keyText = c.keyText;
    EXPECT_EQ(model.buildAssignment(controls).current, c.expected);
  }
}

TEST(KeyAssignmentBuild, ParseDecimalReadsLeadingDigits) {
  const std::pair<const char*, int> cases[] = {
      {"12", 12}, {"  7x", 7}, {"-3", -3}, {"+4", 4},
      {"", 0},    {"abc", 0},  {"9 9", 9}, {"99999999999999", 2147483647}};
  for (const auto& [text, value] : cases) EXPECT_EQ(KeyAssignment::ParseDecimal(text), value) << text;
}

// --- Showing -----------------------------------------------------------

struct ShowCase {
  const char* name;
  KeyAction action;
  C category;  // kNone: editor hidden
  std::function<void(const KeyPanelView&)> check;
  friend void PrintTo(const ShowCase& c, std::ostream* os) { *os << c.name; }
};

class KeyAssignmentShow : public ::testing::TestWithParam<ShowCase> {};

TEST_P(KeyAssignmentShow, SelectsCategoryAndControls) {
  KeyAssignment model;
  model.setDeviceType(kDeviceMouse);
  model.setMacroNames({"one", "two"});
  const KeyPanelView view = model.setAssignment({GetParam().action, A(0x10, 0x01, 0x00)});
  EXPECT_EQ(view.category, GetParam().category);
  EXPECT_EQ(view.editorVisible, GetParam().category != C::kNone);
  if (GetParam().check) GetParam().check(view);
}

template <typename T>
std::optional<T> Opt(T v) {
  return v;
}

INSTANTIATE_TEST_SUITE_P(KeyActions, KeyAssignmentShow,
                         ::
                             testing::
                                 Values(
                                     ShowCase{"NoneIsDefault", A(0x00, 0, 0), C::kDefault, {}},
                                     ShowCase{"WheelDown3", A(0x12, 0x29, 0xFD), C::kVerticalScroll,
                                              [](const KeyPanelView& v) {
                                                EXPECT_EQ(v.wheelDirectionItem, Opt(1));
                                                EXPECT_EQ(v.wheelCount, Opt(3));
                                                EXPECT_EQ(v.wheelDelay, Opt(2));
                                                EXPECT_EQ(v.wheelSpeed, Opt(9));
                                              }},
                                     ShowCase{"WheelDown0ShowsAs128", A(0x12, 0, 0x80), C::kVerticalScroll,
                                              [](const KeyPanelView& v) {
                                                EXPECT_EQ(v.wheelDirectionItem, Opt(1));
                                                EXPECT_EQ(v.wheelCount, Opt(128));
                                              }},
                                     ShowCase{"WheelUp", A(0x12, 0, 0x05), C::kVerticalScroll,
                                              [](const KeyPanelView& v) {
                                                EXPECT_EQ(v.wheelDirectionItem, Opt(0));
                                                EXPECT_EQ(v.wheelCount, Opt(5));
                                              }},
                                     ShowCase{"SwingRight3", A(0x11, 0xF1, 0x83), C::kHorizontalScroll,
                                              [](const KeyPanelView& v) {
                                                EXPECT_EQ(v.swingDirectionItem, Opt(1));
                                                EXPECT_EQ(v.swingCount, Opt(3));
                                                EXPECT_EQ(v.swingDelay, Opt(15));
                                                EXPECT_EQ(v.swingSpeed, Opt(1));
                                              }},
                                     ShowCase{
                                         "MouseButtonRow", A(0x10, 0x08, 0), C::kMouseButton,
                                         [](const KeyPanelView& v) { EXPECT_EQ(v.mouseKeyItem, Opt(4)); }},
                                     ShowCase{
                                         "MouseButtonNotInTable", A(0x10, 0x03, 0), C::kMouseButton,
                                         [](const KeyPanelView& v) { EXPECT_EQ(v.mouseKeyItem, Opt(-1)); }},
                                     ShowCase{"Consumer", A(0x30, 0x8A, 0x01), C::kMedia,
                                              [](const KeyPanelView& v) { EXPECT_EQ(v.mediaItem, Opt(17)); }},
                                     ShowCase{"RapidFire", A(0x14, 0x50, 0x02), C::kRapidFire,
                                              [](const KeyPanelView& v) {
                                                EXPECT_EQ(v.fireInterval, Opt(0x50));
                                                EXPECT_EQ(v.fireCount, Opt(2));
                                              }},
                                     ShowCase{
                                         "ShortcutShowsAsCtrlPlusKey", A(0x20, 0x01, 0x06), C::kKeyboardKey,
                                         [](const KeyPanelView& v) {
                                           EXPECT_EQ(v.modifierOption, Opt(1));
                                           EXPECT_EQ(v.keyNameKey, Opt(std::string_view("keyboard_key_C")));
                                         }},
                                     ShowCase{
                                         "RightCtrlShowsAsCtrl", A(0x20, 0x10, 0x04), C::kKeyboardKey,
                                         [](const KeyPanelView& v) { EXPECT_EQ(v.modifierOption, Opt(1)); }},
                                     ShowCase{"RightWinShowsAsWin", A(0x20, 0x80, 0x00), C::kKeyboardKey,
                                              [](const KeyPanelView& v) {
                                                EXPECT_EQ(v.modifierOption, Opt(4));
                                                EXPECT_EQ(v.keyNameKey, Opt(std::string_view()));
                                              }},
                                     ShowCase{"TwoModifiersShowAsNone", A(0x20, 0x03, 0x06), C::kKeyboardKey,
                                              [](const KeyPanelView& v) {
                                                EXPECT_EQ(v.modifierOption, Opt(0));
                                                EXPECT_EQ(v.keyNameKey,
                                                          Opt(std::string_view("keyboard_key_C")));
                                              }},
                                     ShowCase{"PlainKey", A(0x20, 0x00, 0x58), C::kKeyboardKey,
                                              [](const KeyPanelView& v) {
                                                EXPECT_EQ(v.modifierOption, Opt(0));
                                                EXPECT_EQ(v.keyNameKey,
                                                          Opt(std::string_view("keyboard_key_Num Enter")));
                                              }},
                                     ShowCase{
                                         "HighModifiersAreShortcuts", A(0x20, 0x81, 0x06), C::kShortcut,
                                         [](const KeyPanelView& v) { EXPECT_EQ(v.shortcutItem, Opt(-1)); }},
                                     ShowCase{
                                         "MacroPlayMode", A(0x70, 1, 3), C::kMacro,
                                         [](const KeyPanelView& v) {
                                           EXPECT_EQ(v.macroItem, Opt(1));
                                           EXPECT_EQ(v.macroModeItem, Opt(3));
                                           EXPECT_EQ(v.macroCycleVisible, Opt(false));
                                         }},
                                     ShowCase{"MacroNumberAtTheEndOfTheList", A(0x70, 2, 0), C::kMacro,
                                              [](const KeyPanelView& v) {
                                                EXPECT_EQ(v.macroItem, Opt(-1));
                                                EXPECT_EQ(v.macroModeItem, Opt(-1));
                                              }},
                                     ShowCase{"MacroRepeat", A(0x71, 0, 9), C::kMacro,
                                              [](const KeyPanelView& v) {
                                                EXPECT_EQ(v.macroItem, Opt(0));
                                                EXPECT_EQ(v.macroModeItem, Opt(4));
                                                EXPECT_EQ(v.macroRepeat, Opt(9));
                                                EXPECT_EQ(v.macroCycleVisible, Opt(true));
                                              }},
                                     ShowCase{"MacroRepeatPastTheList", A(0x71, 5, 9), C::kMacro,
                                              [](const KeyPanelView& v) {
                                                EXPECT_EQ(v.macroItem, Opt(-1));
                                                EXPECT_EQ(v.macroCycleVisible, Opt(false));
                                              }},
                                     ShowCase{"Gun", A(0x72, 2, 0), C::kGunPreset,
                                              [](const KeyPanelView& v) { EXPECT_EQ(v.gunItem, Opt(2)); }},
                                     ShowCase{
                                         "ReservedShortcut", A(0xB0, 1, 2), C::kShortcut,
                                         [](const KeyPanelView& v) { EXPECT_EQ(v.shortcutItem, Opt(-1)); }},
                                     ShowCase{"FnHidesTheEditor", A(0xA0, 0x01, 0), C::kNone, {}},
                                     ShowCase{"DpiShiftHidesTheEditor", A(0x16, 0x90, 0x01), C::kNone, {}},
                                     ShowCase{"EditShortcutHidesTheEditor", A(0x22, 0, 3), C::kNone, {}},
                                     ShowCase{"ShowWindowHidesTheEditor", A(0x23, 0, 0), C::kNone, {}},
                                     ShowCase{"MacroKeyHidesTheEditor", A(0xD0, 0xA2, 1), C::kNone, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(KeyAssignmentShowDefault, DefaultIsCategoryZeroWhateverItsType) {
  KeyAssignment model;
  model.setAssignment({A(0x12, 0, 0xFD), A(0x10, 0x01, 0)});
  EXPECT_EQ(model.showDefault().category, C::kDefault);
  EXPECT_EQ(model.showCurrent().category, C::kVerticalScroll);
  // Showing changes nothing that is stored.
  EXPECT_EQ(model.current(), A(0x12, 0, 0xFD));
}

TEST(KeyAssignmentShowKeyboard, UsageNoKeyNamesBecomesTheEmptyKey) {
  KeyAssignment model;
  const KeyPanelView view = model.setAssignment({A(0x20, 0x00, 0xA5), kDefault});
  EXPECT_EQ(view.category, C::kKeyboardKey);
  EXPECT_EQ(view.modifierOption, Opt(-1));
  EXPECT_EQ(view.keyNameKey, Opt(std::string_view()));
  EXPECT_EQ(model.current(), A(0x20, 0, 0));
}

TEST(KeyAssignmentShowKeyboard, KeyboardHasNoDpiOrGunCategory) {
  KeyAssignment model;
  model.setDeviceType(kDeviceKeyboard);
  for (int category = 0; category < kFunctionCategoryCount; ++category) {
    const auto c = static_cast<C>(category);
    EXPECT_EQ(model.IsCategoryAvailable(c), c != C::kDpi && c != C::kGunPreset) << category;
  }
  EXPECT_FALSE(model.setAssignment({A(0x13, 1, 0), kDefault}).editorVisible);
  EXPECT_FALSE(model.setAssignment({A(0x72, 1, 0), kDefault}).editorVisible);
  model.setDeviceType(kDeviceWirelessMouse);
  EXPECT_TRUE(model.setAssignment({A(0x72, 1, 0), kDefault}).editorVisible);
}

// What is built shows again as the same controls.
TEST(KeyAssignmentRoundTrip, ScrollAndFireSurviveBuildAndShow) {
  const KeyPanelControls cases[] = {Wheel(1, "3", "4", "5"), Wheel(1, "0"), Wheel(0, "127"), Swing(1, "3"),
                                    Swing(0, "127", "15", "15")};
  for (const KeyPanelControls& controls : cases) {
    KeyAssignment model;
    model.setAssignment({kStart, kDefault});
    model.buildAssignment(controls);
    const KeyPanelView view = model.showCurrent();
    ASSERT_EQ(static_cast<int>(view.category), controls.category);
    if (view.category == C::kVerticalScroll) {
      const int count = KeyAssignment::ParseDecimal(controls.wheelCount);
      EXPECT_EQ(view.wheelCount, Opt(controls.wheelDirectionItem == 1 && count == 0 ? 128 : count));
      EXPECT_EQ(view.wheelDirectionItem, Opt(controls.wheelDirectionItem));
      EXPECT_EQ(view.wheelDelay, Opt(KeyAssignment::ParseDecimal(controls.wheelDelay)));
    } else {
      EXPECT_EQ(view.swingCount, Opt(KeyAssignment::ParseDecimal(controls.swingCount)));
      EXPECT_EQ(view.swingDirectionItem, Opt(controls.swingDirectionItem));
      EXPECT_EQ(view.swingSpeed, Opt(KeyAssignment::ParseDecimal(controls.swingSpeed)));
    }
  }
}

TEST(KeyAssignmentRoundTrip, ShortcutRowReopensAsCtrlAndKey) {
  KeyAssignment model;
  model.setAssignment({kStart, kDefault});
  KeyPanelControls controls = Category(C::kShortcut);
  controls.shortcutItem = 4;  // Ctrl + C
  const KeyEntry stored = model.buildAssignment(controls);
  const KeyPanelView view = model.setAssignment(stored);
  EXPECT_EQ(view.category, C::kKeyboardKey);
  EXPECT_EQ(view.modifierOption, Opt(1));
  EXPECT_EQ(view.keyNameKey, Opt(std::string_view("keyboard_key_C")));
}

TEST(KeyAssignmentPanel, CategoryChangeAndMacroRepeatLayout) {
  KeyAssignment model;
  const KeyPanelView keyboard = model.ChangeCategory(6);
  EXPECT_EQ(keyboard.category, C::kKeyboardKey);
  EXPECT_EQ(keyboard.keyNameKey, Opt(std::string_view()));
  EXPECT_EQ(keyboard.modifierOption, Opt(-1));
  const KeyPanelView wheel = model.ChangeCategory(3);
  EXPECT_FALSE(wheel.keyNameKey.has_value());
  EXPECT_FALSE(wheel.modifierOption.has_value());
  EXPECT_TRUE(KeyAssignment::MacroCycleVisible(4));
  EXPECT_FALSE(KeyAssignment::MacroCycleVisible(3));
  EXPECT_FALSE(KeyAssignment::MacroCycleVisible(-1));
}

TEST(KeyAssignmentPanel, MacroNamesIgnoreBadIndexesAndEmptyNames) {
  KeyAssignment model;
  model.setMacroNames({"a", "b"});
  model.addMacroName("");
  model.addMacroName("c");
  model.removeMacroName(-1);
  model.removeMacroName(3);
  model.renameMacro(0, "");
  model.renameMacro(5, "x");
  model.renameMacro(1, "B");
  model.removeMacroName(0);
  EXPECT_EQ(model.macroNames(), (std::vector<std::string>{"B", "c"}));
}

}  // namespace
}  // namespace ostrel
