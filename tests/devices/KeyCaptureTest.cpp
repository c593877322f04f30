// Key capture of the keyboard category: key records (as the X server or
// the toolkit deliver them) through the capture rules of the key field.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <ostream>
#include <string>

#include "devices/KeyAssignment.h"
#include "platform/input/KeyRecordMapper.h"

namespace ostrel {
namespace {

KeyAction A(std::uint8_t type, std::uint8_t p1, std::uint8_t p2) { return MakeAction(type, p1, p2); }
const KeyAction kDefault = A(0x20, 0x00, 0x29);  // Esc

KeyHookEvent Press(std::uint32_t inputCode) {
  auto event = KeyRecordMapper::FromInputCode(inputCode, true, 0);
  EXPECT_TRUE(event.has_value()) << inputCode;
  return event.value_or(KeyHookEvent{});
}

struct CaptureCase {
  const char* name;
  std::uint32_t inputCode;
  int selectedModifier;
  int expectedOption;
  std::string_view expectedKeyText;
  KeyAction expected;
  friend void PrintTo(const CaptureCase& c, std::ostream* os) { *os << c.name; }
};

class KeyCapture : public ::testing::TestWithParam<CaptureCase> {};

TEST_P(KeyCapture, PressBecomesKeyboardAction) {
  const CaptureCase& c = GetParam();
  KeyAssignment model;
  model.setAssignment({A(0x20, 0x00, 0x04), kDefault});
  const KeyCaptureResult result = model.CaptureKey(Press(c.inputCode), c.selectedModifier);
  ASSERT_TRUE(result.handled);
  EXPECT_EQ(result.modifierOption, c.expectedOption);
  EXPECT_EQ(result.keyNameKey, c.expectedKeyText);
  EXPECT_EQ(result.entry.current, c.expected);
  EXPECT_EQ(result.entry.defaultAction, kDefault);
  EXPECT_EQ(model.current(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    KeyPresses, KeyCapture,
    ::testing::Values(
        // Right Ctrl shows as the Ctrl option but is stored as itself.
        CaptureCase{"RightCtrl", KEY_RIGHTCTRL, -1, 1, "", A(0x20, 0x10, 0x00)},
        CaptureCase{"LeftShift", KEY_LEFTSHIFT, 3, 2, "", A(0x20, 0x02, 0x00)},
        CaptureCase{"RightShift", KEY_RIGHTSHIFT, -1, 2, "", A(0x20, 0x20, 0x00)},
        CaptureCase{"RightAlt", KEY_RIGHTALT, -1, 3, "", A(0x20, 0x40, 0x00)},
        CaptureCase{"LeftWin", KEY_LEFTMETA, -1, 4, "", A(0x20, 0x08, 0x00)},
        CaptureCase{"KeyWithoutModifier", KEY_C, -1, 0, "keyboard_key_C", A(0x20, 0x00, 0x06)},
        CaptureCase{"KeyWithCtrlSelected", KEY_C, 1, 1, "keyboard_key_C", A(0x20, 0x01, 0x06)},
        CaptureCase{"KeyWithAltSelected", KEY_F5, 3, 3, "keyboard_key_F5", A(0x20, 0x04, 0x3E)},
        CaptureCase{"KeyWithNoneSelected", KEY_C, 0, 0, "keyboard_key_C", A(0x20, 0x00, 0x06)},
        // Keys that share a scan code differ by the extended flag.
        CaptureCase{"NumLock", KEY_NUMLOCK, -1, 0, "keyboard_key_Num Lock", A(0x20, 0, 0x53)},
        CaptureCase{"Pause", KEY_PAUSE, -1, 0, "keyboard_key_Pause", A(0x20, 0, 0x48)},
        CaptureCase{"KeypadEnter", KEY_KPENTER, -1, 0, "keyboard_key_Num Enter", A(0x20, 0, 0x58)},
        CaptureCase{"Enter", KEY_ENTER, -1, 0, "keyboard_key_Enter", A(0x20, 0, 0x28)},
        CaptureCase{"End", KEY_END, -1, 0, "keyboard_key_End", A(0x20, 0, 0x4D)},
        CaptureCase{"Keypad1", KEY_KP1, -1, 0, "keyboard_key_Num 1", A(0x20, 0, 0x59)},
        CaptureCase{"PrintScreen", KEY_SYSRQ, -1, 0, "keyboard_key_Print Scr", A(0x20, 0, 0x46)},
        CaptureCase{"KeypadAsterisk", KEY_KPASTERISK, -1, 0, "keyboard_key_Num *", A(0x20, 0, 0x55)},
        CaptureCase{"Iso102nd", KEY_102ND, -1, 0, "keyboard_key_K45", A(0x20, 0, 0x64)},
        CaptureCase{"Hangul", KEY_HANGEUL, -1, 0, "keyboard_key_K151", A(0x20, 0, 0x90)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(KeyCaptureRules, RightCtrlTurnsLeftOnTheNextBuild) {
  KeyAssignment model;
  model.setAssignment({A(0x20, 0x00, 0x04), kDefault});
  const KeyCaptureResult ctrl = model.CaptureKey(Press(KEY_RIGHTCTRL), -1);
  ASSERT_EQ(ctrl.entry.current, A(0x20, 0x10, 0x00));
  KeyPanelControls controls;
  controls.category = static_cast<int>(FunctionCategory::kKeyboardKey);
  controls.modifierOption = ctrl.modifierOption;
  EXPECT_EQ(model.buildAssignment(controls).current, A(0x20, 0x01, 0x00));
}

TEST(KeyCaptureRules, ModifierThenKeyMakesTheCombination) {
  KeyAssignment model;
  model.setAssignment({kDefault, kDefault});
  const KeyCaptureResult shift = model.CaptureKey(Press(KEY_RIGHTSHIFT), -1);
  const KeyCaptureResult key = model.CaptureKey(Press(KEY_Z), shift.modifierOption);
  EXPECT_EQ(key.modifierOption, 2);
  EXPECT_EQ(key.entry.current, A(0x20, 0x02, 0x1D));
  // The key keeps its name and usage when the panel builds again.
  KeyPanelControls controls;
  controls.category = static_cast<int>(FunctionCategory::kKeyboardKey);
  controls.modifierOption = key.modifierOption;
  controls.keyText = "Z";
  EXPECT_EQ(model.buildAssignment(controls).current, A(0x20, 0x02, 0x1D));
}

TEST(KeyCaptureRules, ReleasesAndUnknownKeysChangeNothing) {
  KeyAssignment model;
  model.setAssignment({A(0x20, 0x00, 0x04), kDefault});
  KeyHookEvent release = *KeyRecordMapper::FromInputCode(KEY_C, false, 0);
  KeyHookEvent media = *KeyRecordMapper::FromInputCode(KEY_VOLUMEUP, true, 0);
  KeyHookEvent unknownScan;
  unknownScan.record.scanCode = 0x5E;
  unknownScan.record.flags = LLKHF_EXTENDED;
  for (const KeyHookEvent& event : {release, media, unknownScan}) {
    EXPECT_FALSE(model.CaptureKey(event, 1).handled);
  }
  EXPECT_EQ(model.current(), A(0x20, 0x00, 0x04));
}

// The toolkit's scan codes (USB HID usages) give the same records.
TEST(KeyCaptureRules, ToolkitKeysCaptureLikeServerKeys) {
  const std::pair<std::uint32_t, std::uint32_t> keys[] = {
      {0xE4, KEY_RIGHTCTRL}, {0x06, KEY_C}, {0x58, KEY_KPENTER}, {0x53, KEY_NUMLOCK}, {0x48, KEY_PAUSE}};
  for (const auto& [usage, inputCode] : keys) {
    KeyAssignment fromToolkit;
    KeyAssignment fromServer;
    auto toolkitEvent = KeyRecordMapper::FromToolkitScancode(usage, true, 0);
    ASSERT_TRUE(toolkitEvent.has_value()) << usage;
    EXPECT_EQ(fromToolkit.CaptureKey(*toolkitEvent, -1).entry.current,
              fromServer.CaptureKey(Press(inputCode), -1).entry.current)
        << usage;
  }
}

}  // namespace
}  // namespace ostrel
