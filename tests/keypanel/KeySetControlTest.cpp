#include <string>
#include <vector>

#include "KeyPanelTestWindow.h"
#include "platform/ui/CComboUI.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/COptionUI.h"

namespace ostrel::test {
namespace {

constexpr KeyAction Action(std::uint8_t type, std::uint8_t p1, std::uint8_t p2) {
  return {0, type, p1, p2, 0};
}
constexpr KeyAction kLeft = Action(0x10, 0x01, 0);
constexpr KeyAction kRight = Action(0x10, 0x02, 0);
constexpr KeyAction kMiddle = Action(0x10, 0x04, 0);

bool Same(const KeyAction& a, const KeyAction& b) { return a.type == b.type && a.p1 == b.p1 && a.p2 == b.p2; }

std::string Describe(const KeyAction& a) {
  char text[32];
  std::snprintf(text, sizeof text, "(%02X, %02X, %02X)", a.type, a.p1, a.p2);
  return text;
}

class KeySetControl : public KeyPanelTest {
 protected:
  const KeyAction& Current(int key) { return page->Keys().Entries()[static_cast<std::size_t>(key)].current; }
  int SelectedModifier() { return panel->selectedModifier(); }
  bool Enabled(const char* name) { return Find(name)->IsEnabled(); }
};

struct ShowCase {
  const char* what;
  KeyAction action;
  int category;
  const char* combo;  // the category's row combo, or null
  int item;
};

TEST_F(KeySetControl, ShowingAnActionSelectsItsCategoryAndRow) {
  const ShowCase cases[] = {
      {"right button", kRight, 1, "keyset_mousekey_combo", 2},
      {"forward button", Action(0x10, 0x10, 0), 1, "keyset_mousekey_combo", 3},
      {"DPI cycle", Action(0x13, 3, 0), 4, "keyset_mousedpi_combo", 2},
      {"mute", Action(0x30, 0xE2, 0x00), 7, "keyset_media_combo", 7},
      {"calculator", Action(0x30, 0x92, 0x01), 7, "keyset_media_combo", 16},
      {"sleep", Action(0x40, 0x02, 0), 8, "keyset_system_combo", 1},
      {"macro two once", Action(0x70, 1, 0), 9, "keyset_macro_combo", 1},
      {"gun preset 3", Action(0x72, 2, 0), 10, "keyset_gunkey_combo", 2},
      {"right Win shortcut", Action(0x20, 0x81, 0x06), 11, nullptr, -1},
      {"the default itself", kMiddle, 0, nullptr, -1},
  };
  for (const ShowCase& c : cases) {
    SCOPED_TRACE(c.what);
    SetUpPage(KeyPage::kMouse, {{kLeft, kLeft}, {c.action, kMiddle}}, 1);
    EXPECT_TRUE(panel->IsEditorVisible());
    EXPECT_EQ(ShownCategory(), c.category);
    if (c.combo) {
      EXPECT_EQ(ComboSelection(c.combo), c.item);
    }
  }
}

TEST_F(KeySetControl, ShowingAScrollOrKeyFillsEditsAndOptions) {
  SetUpPage(KeyPage::kMouse, {{kLeft, kLeft}, {Action(0x12, 0x5A, 0xFD), kMiddle}}, 1);
  EXPECT_EQ(ShownCategory(), 3);
  EXPECT_EQ(ComboSelection("keyset_mousewheel_combo"), 1);
  EXPECT_EQ(TextOf("keyset_mousewheel_num_edit"), "3");
  EXPECT_EQ(TextOf("keyset_mousewheel_delay_edit"), "5");
  EXPECT_EQ(TextOf("keyset_mousewheel_speed_edit"), "10");

  SetUpPage(KeyPage::kKeyboard, {{Action(0x20, 0x01, 0x06), Action(0x20, 0, 0x04)}}, 0);
  EXPECT_EQ(ShownCategory(), 6);
  EXPECT_EQ(SelectedModifier(), 1);
  EXPECT_EQ(TextOf(CKeySetControlUI::kKeyFieldName), "C");
}

struct StoreCase {
  const char* what;
  int category;
  const char* combo;
  int item;
  KeyAction expected;
};

TEST_F(KeySetControl, ChoosingARowStoresTheBuiltAction) {
  const StoreCase cases[] = {
      {"mute from the media list", 7, "keyset_media_combo", 7, Action(0x30, 0xE2, 0x00)},
      {"back button", 1, "keyset_mousekey_combo", 4, Action(0x10, 0x08, 0)},
      {"power", 8, "keyset_system_combo", 0, Action(0x40, 0x01, 0)},
      {"Ctrl and C shortcut", 11, "keyset_combokey_combo", 4, Action(0x20, 0x01, 0x06)},
      {"gun preset 4", 10, "keyset_gunkey_combo", 3, Action(0x72, 3, 0)},
  };
  for (const StoreCase& c : cases) {
    SCOPED_TRACE(c.what);
    storedCount = 0;
    SetUpPage(KeyPage::kMouse, {{kLeft, kLeft}, {kRight, kMiddle}}, 1);
    PickCategory(c.category);
    EXPECT_EQ(ShownCategory(), c.category);
    PickInCombo(c.combo, c.item);
    EXPECT_TRUE(Same(Current(1), c.expected)) << Describe(Current(1));
    EXPECT_TRUE(Same(page->Keys().Entries()[1].defaultAction, kMiddle));
    EXPECT_GT(storedCount, 0);
    EXPECT_TRUE(Enabled(CKeySetControlUI::kSaveButtonName));
    EXPECT_TRUE(Enabled(CKeySetControlUI::kCancelButtonName));
    EXPECT_TRUE(Enabled(CKeySetControlUI::kSaveToDeviceButtonName));
  }
}

TEST_F(KeySetControl, EditedScrollIsStoredByTheSaveButton) {
  SetUpPage(KeyPage::kMouse, {{kLeft, kLeft}, {kRight, kMiddle}}, 1);
  PickCategory(3);
  PickInCombo("keyset_mousewheel_combo", 1);
  static_cast<CEditUI*>(Find("keyset_mousewheel_num_edit"))->SetText("3");
  static_cast<CEditUI*>(Find("keyset_mousewheel_delay_edit"))->SetText("2");
  static_cast<CEditUI*>(Find("keyset_mousewheel_speed_edit"))->SetText("7");
  ClickOn(CKeySetControlUI::kSaveButtonName);
  EXPECT_TRUE(Same(Current(1), Action(0x12, 0x27, 0xFD))) << Describe(Current(1));
}

TEST_F(KeySetControl, LeavingANumericEditStoresIt) {
  SetUpPage(KeyPage::kMouse, {{kLeft, kLeft}, {kRight, kMiddle}}, 1);
  PickCategory(5);
  ClickOn("keyset_mousefire_interval_edit");
  Headless()->TypeText(window.GetHWND(), "40");
  ClickOn("keyset_mousefire_num_edit");
  Headless()->TypeText(window.GetHWND(), "3");
  ClickOn("keyset_mousefire_interval_edit");
  EXPECT_TRUE(Same(Current(1), Action(0x14, 40, 3))) << Describe(Current(1));
}

TEST_F(KeySetControl, TakingTheOnlyLeftButtonAwayIsRefused) {
  SetUpPage(KeyPage::kMouse, {{kLeft, kLeft}, {kRight, kRight}}, 0);
  ASSERT_EQ(ComboSelection("keyset_mousekey_combo"), -1) << "the default shows as category 0";
  PickCategory(1);
  EXPECT_TRUE(messages.empty()) << "no row chosen yet: the key keeps the left button";
  const int storedBefore = storedCount;
  PickInCombo("keyset_mousekey_combo", 2);
  EXPECT_EQ(messages, std::vector<std::string>{"message_text_6"});
  EXPECT_TRUE(Same(Current(0), kLeft)) << Describe(Current(0));
  EXPECT_EQ(ShownCategory(), 0) << "the key shows its stored function again";
  EXPECT_EQ(storedCount, storedBefore);
}

TEST_F(KeySetControl, DefaultAndRevertButtons) {
  SetUpPage(KeyPage::kMouse, {{kLeft, kLeft}, {kRight, kMiddle}}, 1);
  ClickOn(CKeySetControlUI::kDefaultButtonName);
  EXPECT_EQ(ShownCategory(), 0);
  EXPECT_TRUE(Same(Current(1), kRight)) << "nothing is stored until the next build";
  EXPECT_TRUE(Enabled(CKeySetControlUI::kCancelButtonName));
  ClickOn(CKeySetControlUI::kCancelButtonName);
  EXPECT_EQ(ShownCategory(), 1);
  EXPECT_EQ(ComboSelection("keyset_mousekey_combo"), 2);
  EXPECT_FALSE(Enabled(CKeySetControlUI::kCancelButtonName));
}

struct TypedCase {
  const char* what;
  int modifierClicked;  // option clicked before the key, -1 none
  UINT virtualKey;
  LPARAM lParam;
  int expectedOption;
  const char* expectedField;
  KeyAction expected;
};

TEST_F(KeySetControl, ATypedKeyBecomesTheKeyWithItsModifier) {
  const TypedCase cases[] = {
      {"C with Ctrl", 1, 'C', 1, 1, "C", Action(0x20, 0x01, 0x06)},
      {"F5 with Win", 4, 0x74, 1, 4, "F5", Action(0x20, 0x08, 0x3E)},
      {"C alone", -1, 'C', 1, 0, "C", Action(0x20, 0x00, 0x06)},
      {"Shift alone", -1, 0x10, 1, 2, "", Action(0x20, 0x02, 0x00)},
      {"keypad Enter", -1, 0x0D, 1 | (LPARAM(1) << 24), 0, "Num Enter", Action(0x20, 0x00, 0x58)},
      {"Enter", -1, 0x0D, 1, 0, "Enter", Action(0x20, 0x00, 0x28)},
  };
  for (const TypedCase& c : cases) {
    SCOPED_TRACE(c.what);
    SetUpPage(KeyPage::kKeyboard, {{Action(0x20, 0, 0x04), Action(0x20, 0, 0x04)}}, 0);
    PickCategory(6);
    EXPECT_EQ(SelectedModifier(), -1) << "the keyboard category starts with no modifier";
    if (c.modifierClicked >= 0) ClickOn(("key_ComBox_check_" + std::to_string(c.modifierClicked)).c_str());
    ClickOn(CKeySetControlUI::kKeyFieldName);
    Headless()->PostInput(window.GetHWND(), WM_KEYDOWN, c.virtualKey, c.lParam);
    Headless()->PostInput(window.GetHWND(), WM_KEYUP, c.virtualKey, c.lParam | LPARAM(0xC0000000u));
    Pump();
    EXPECT_EQ(SelectedModifier(), c.expectedOption);
    EXPECT_EQ(TextOf(CKeySetControlUI::kKeyFieldName), c.expectedField);
    EXPECT_TRUE(Same(Current(0), c.expected)) << Describe(Current(0));
  }
}

TEST_F(KeySetControl, TypedTextNeverLandsInTheKeyField) {
  SetUpPage(KeyPage::kKeyboard, {{Action(0x20, 0, 0x04), Action(0x20, 0, 0x04)}}, 0);
  PickCategory(6);
  ClickOn(CKeySetControlUI::kKeyFieldName);
  Headless()->TypeText(window.GetHWND(), "xyz");
  Pump();
  EXPECT_EQ(TextOf(CKeySetControlUI::kKeyFieldName), "");
}

TEST_F(KeySetControl, FnHidesTheEditorAndKeyboardsOfferNoDpiOrGun) {
  SetUpPage(KeyPage::kKeyboard,
            {{Action(0xA0, 0x01, 0), Action(0x20, 0, 0x04)}, {Action(0x20, 0, 0x05), Action(0x20, 0, 0x05)}},
            1);
  auto* functions = static_cast<CComboUI*>(Find(CKeySetControlUI::kFunctionComboName));
  ClickOn(CKeySetControlUI::kFunctionComboName);
  ASSERT_NE(functions->GetDropWindow(), nullptr);
  std::vector<int> hidden;
  for (int i = 0; i < functions->GetCount(); ++i)
    if (!functions->GetItemAt(i)->IsVisible()) hidden.push_back(i);
  EXPECT_EQ(hidden, (std::vector<int>{4, 10}));
  Headless()->KeyPress(functions->GetDropWindow(), VK_ESCAPE);
  Pump();
  EXPECT_TRUE(panel->IsEditorVisible());
  panel->showKey(0);
  Pump();
  EXPECT_FALSE(panel->IsEditorVisible());
}

TEST_F(KeySetControl, MacroNamesFollowTheMacroEditor) {
  SetUpPage(KeyPage::kMouse, {{kLeft, kLeft}, {Action(0x71, 1, 5), kMiddle}}, 1);
  EXPECT_EQ(ComboSelection("keyset_macro_combo"), 1);
  EXPECT_TRUE(Find(CKeySetControlUI::kMacroCycleLayoutName)->IsVisible());
  EXPECT_EQ(TextOf("keyset_macro_cycle_edit"), "5");
  panel->addMacroName("macro three");
  panel->addMacroName("");
  panel->renameMacro(0, "first");
  panel->removeMacroName(7);
  auto* macros = static_cast<CComboUI*>(Find("keyset_macro_combo"));
  ASSERT_EQ(macros->GetCount(), 3);
  EXPECT_EQ(macros->GetItemAt(0)->GetText().str(), "first");
  EXPECT_EQ(macros->GetItemAt(2)->GetText().str(), "macro three");
  PickInCombo("keyset_macro_over_combo", 2);
  EXPECT_FALSE(Find(CKeySetControlUI::kMacroCycleLayoutName)->IsVisible());
  EXPECT_TRUE(Same(Current(1), Action(0x70, 1, 2))) << Describe(Current(1));
}

}  // namespace
}  // namespace ostrel::test
