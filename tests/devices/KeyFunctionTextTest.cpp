// The texts that name key functions on the buttons and in the key list.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "devices/FactoryKeyTable.h"
#include "devices/KeyFunctionText.h"
#include "devices/KeyTextRefresh.h"

namespace ostrel {
namespace {

KeyAction A(std::uint8_t type, std::uint8_t p1, std::uint8_t p2) { return MakeAction(type, p1, p2); }

// A lookup that shows which key was translated.
std::string Bracket(std::string_view key) { return "[" + std::string(key) + "]"; }

const std::vector<std::string> kMacros = {"Reload", "Burst"};

struct TextCase {
  const char* name;
  KeyAction action;
  KeyPage page;
  std::string expected;
  friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }
};

class KeyFunctionTextCases : public ::testing::TestWithParam<TextCase> {};

TEST_P(KeyFunctionTextCases, NamesTheFunction) {
  EXPECT_EQ(KeyFunctionText::Text(GetParam().action, GetParam().page, kMacros, Bracket), GetParam().expected);
}

constexpr KeyPage M = KeyPage::kMouse;
constexpr KeyPage K = KeyPage::kKeyboard;

INSTANTIATE_TEST_SUITE_P(
    KeyTypes, KeyFunctionTextCases,
    ::testing::Values(
        TextCase{"Key", A(0x20, 0, 0x06), M, "[keyboard_key_C]"},
        TextCase{"CtrlPlusKey", A(0x20, 0x01, 0x06), M, "[keyboard_key_LCtrl]+[keyboard_key_C]"},
        TextCase{"RightAltPlusKey", A(0x20, 0x40, 0x3A), K, "[keyboard_key_RAlt]+[keyboard_key_F1]"},
        TextCase{"TwoModifiersNameOnlyTheKey", A(0x20, 0x03, 0x06), M, "[keyboard_key_C]"},
        TextCase{"ModifierAlone", A(0x20, 0x10, 0), K, "[keyboard_key_RCtrl]"},
        TextCase{"ModifiersAloneAreEachNamed", A(0x20, 0x05, 0), K,
                 "[keyboard_key_LCtrl]+[keyboard_key_LAlt]"},
        TextCase{"EmptyKey", A(0x20, 0, 0), M, "[close_text]"},
        TextCase{"NoneType", A(0x00, 0, 0), K, "[close_text]"},
        TextCase{"UnknownUsage", A(0x20, 0, 0xA5), K, "0xA5"},
        TextCase{"ModifierWithUnknownUsage", A(0x20, 0x02, 0xA5), K, "[keyboard_key_LShift]+0xA5"},
        TextCase{"MouseButton", A(0x10, 0x02, 0), M, "[mouse_key_right]"},
        TextCase{"SwingLeft", A(0x11, 0x11, 0x03), M, "[mouse_key_left_Swing]"},
        TextCase{"SwingRight", A(0x11, 0x11, 0x83), M, "[mouse_key_right_Swing]"},
        TextCase{"WheelUp", A(0x12, 0, 0x03), M, "[mouse_key_up_Swing]"},
        TextCase{"WheelDown", A(0x12, 0, 0xFD), M, "[mouse_key_down_Swing]"},
        TextCase{"Dpi", A(0x13, 0x03, 0), M, "[mouse_key_DPI_loop]"},
        TextCase{"RapidFire", A(0x14, 9, 9), M, "[mouse_key_fire_key]"},
        TextCase{"DpiShift", A(0x16, 0x90, 0x01), M, "[mouse_key_DPI_shift]"},
        TextCase{"EditShortcut", A(0x22, 0, 5), K, "[custem_find]"},
        TextCase{"ShowWindow", A(0x23, 0, 0), K, "[show_window]"},
        TextCase{"Consumer", A(0x30, 0xE9, 0x00), K, "[media_vol_add]"},
        TextCase{"ConsumerNotInTable", A(0x30, 0x01, 0x07), K, "\u5173\u95ed"},
        TextCase{"Power", A(0x40, 0x02, 0), K, "[system_sleep]"},
        TextCase{"MacroNameUntranslated", A(0x70, 1, 0), M, "Burst"},
        TextCase{"RepeatedMacro", A(0x71, 0, 5), K, "Reload"},
        TextCase{"MacroPastTheList", A(0x70, 2, 0), M, ""},
        TextCase{"GunOnMouse", A(0x72, 1, 0), M, "[gun_2_txt]"},
        TextCase{"GunOnKeyboard", A(0x72, 1, 0), K, "\u5173\u95ed"},
        TextCase{"Fn", A(0xA0, 0x01, 0), K, "[keyboard_key_FN]"},
        TextCase{"GameMode", A(0xA0, 0x1B, 0), M, "[keyboard_key_GM]"},
        TextCase{"SmartKey", A(0xA0, 0x02, 0), M, "[mouse_key_smart_key]"},
        TextCase{"SpecialOff", A(0xA0, 0x00, 0), M, "[close_text]"},
        TextCase{"MacroKeyOnKeyboard", A(0xD0, 0xA2, 3), K, "[keyboard_key_M3]"},
        TextCase{"MacroKeyOnMouse", A(0xD0, 0xA2, 3), M, "\u5173\u95ed"},
        TextCase{"ReservedShortcutHasNoText", A(0xB0, 1, 1), M, ""},
        TextCase{"TypeWithoutTextHasNone", A(0x60, 1, 1), K, ""},
        TextCase{"AnyOtherType", A(0x99, 1, 1), K, "\u5173\u95ed"}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<KeyEntry> Factory(std::span<const KeyAction> table) {
  std::vector<KeyEntry> keys;
  for (const KeyAction& a : table) keys.push_back({a, a});
  return keys;
}

TEST(KeyTextRefresh, MouseListNamesKeysAndFunctions) {
  auto keys = Factory(MouseFactoryKeyTable);
  keys[9].current = A(0x70, 0, 1);
  const auto texts = KeyTextRefresh::Mouse(keys, kMacros, Bracket);
  ASSERT_EQ(texts.size(), 10u);
  EXPECT_EQ(texts[0].toolTitle, "[mouse_key_left]");
  EXPECT_EQ(texts[0].toolText, "[mouse_key_left]");
  EXPECT_EQ(texts[1].toolTitle, "[mouse_key_right]");
  EXPECT_EQ(texts[8].toolText, "[keyboard_key_GM]");
  EXPECT_EQ(texts[9].toolTitle, "[mouse_key_M8_key]");
  EXPECT_EQ(texts[9].toolText, "Reload");
}

TEST(KeyTextRefresh, KeyboardFlagsKeysThatKeepTheirOwnFunction) {
  auto keys = Factory(KeyboardFactoryKeyTable);
  keys[64].current = A(0x20, 0, 0x05);   // A -> B
  keys[105].current = A(0x20, 0, 0x00);  // left Ctrl -> nothing
  // A language whose key names differ in case from the function texts.
  auto translate = [](std::string_view key) {
    std::string text(key);
    if (key.starts_with("keyboard_key_")) text = key == "keyboard_key_B" ? "b" : text.substr(13);
    return text;
  };
  const auto texts = KeyTextRefresh::Keyboard(keys, kMacros, translate);
  ASSERT_EQ(texts.size(), 126u);
  EXPECT_EQ(texts[0].toolTitle, "Esc");
  EXPECT_EQ(texts[0].toolText, "Key_SetEsc");
  EXPECT_TRUE(texts[0].sameAsLabel);
  EXPECT_EQ(texts[64].toolTitle, "A");
  EXPECT_EQ(texts[64].toolText, "Key_Setb");
  EXPECT_FALSE(texts[64].sameAsLabel);
  EXPECT_EQ(texts[89].toolTitle, "b");
  EXPECT_TRUE(texts[89].sameAsLabel);
  EXPECT_FALSE(texts[105].sameAsLabel);
  EXPECT_TRUE(texts[111].sameAsLabel);  // Fn
  EXPECT_TRUE(texts[120].sameAsLabel);  // M1
  // The empty keys have no name, so they never read as their own.
  EXPECT_EQ(texts[16].toolTitle, "");
  EXPECT_FALSE(texts[16].sameAsLabel);
}

TEST(KeyTextRefresh, SameTextIgnoresAsciiCaseOnly) {
  EXPECT_TRUE(KeyTextRefresh::SameText("Page Up", "PAGE up"));
  EXPECT_FALSE(KeyTextRefresh::SameText("Page Up", "Page Up "));
  EXPECT_TRUE(KeyTextRefresh::SameText("\u00e9", "\u00e9"));
  EXPECT_FALSE(KeyTextRefresh::SameText("", "a"));
}

}  // namespace
}  // namespace ostrel
