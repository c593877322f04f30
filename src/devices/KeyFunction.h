#pragma once
// The function types a key can carry (byte "type" of a KeyAction), the
// categories of the key assignment panel and the constants of both.

#include <cstdint>

#include "profiles/KeyAction.h"

namespace ostrel {

namespace key_type {
inline constexpr std::uint8_t kNone = 0x00;
inline constexpr std::uint8_t kMouseButton = 0x10;
inline constexpr std::uint8_t kHorizontalScroll = 0x11;
inline constexpr std::uint8_t kVerticalScroll = 0x12;
inline constexpr std::uint8_t kDpi = 0x13;
inline constexpr std::uint8_t kRapidFire = 0x14;
inline constexpr std::uint8_t kDpiShift = 0x16;
inline constexpr std::uint8_t kKeyboardKey = 0x20;
inline constexpr std::uint8_t kEditShortcut = 0x22;
inline constexpr std::uint8_t kShowWindow = 0x23;
inline constexpr std::uint8_t kConsumer = 0x30;
inline constexpr std::uint8_t kSystemPower = 0x40;
inline constexpr std::uint8_t kMacro = 0x70;
inline constexpr std::uint8_t kMacroRepeated = 0x71;
inline constexpr std::uint8_t kGunPreset = 0x72;
inline constexpr std::uint8_t kSpecialKey = 0xA0;
inline constexpr std::uint8_t kShortcut = 0xB0;
inline constexpr std::uint8_t kKeyboardMacroKey = 0xD0;
}  // namespace key_type

// The panel's categories; each is the user data of an item of
// "keyset_function_combo" and the page of "function_switch_tablayout".
enum class FunctionCategory : int {
  kNone = -1,  // no item selected, or a type the panel has no editor for
  kDefault = 0,
  kMouseButton = 1,
  kHorizontalScroll = 2,
  kVerticalScroll = 3,
  kDpi = 4,
  kRapidFire = 5,
  kKeyboardKey = 6,
  kMedia = 7,
  kSystemPower = 8,
  kMacro = 9,
  kGunPreset = 10,
  kShortcut = 11,
};
inline constexpr int kFunctionCategoryCount = 12;

// Modifier bits of a keyboard key (p1 of type 0x20).
namespace modifier_bit {
inline constexpr std::uint8_t kLeftCtrl = 0x01;
inline constexpr std::uint8_t kLeftShift = 0x02;
inline constexpr std::uint8_t kLeftAlt = 0x04;
inline constexpr std::uint8_t kLeftWin = 0x08;
inline constexpr std::uint8_t kRightCtrl = 0x10;
inline constexpr std::uint8_t kRightShift = 0x20;
inline constexpr std::uint8_t kRightAlt = 0x40;
inline constexpr std::uint8_t kRightWin = 0x80;
}  // namespace modifier_bit

// The five modifier options "key_ComBox_check_0" ... "_4".
inline constexpr int kModifierOptionNone = 0;
inline constexpr int kModifierOptionCount = 5;
inline constexpr int kNoModifierOption = -1;

// Macro play mode item that stands for "repeat count" (type 0x71).
inline constexpr int kMacroRepeatItem = 4;
inline constexpr int kMacroPlayModeCount = 4;
inline constexpr int kGunPresetCount = 4;

// The left-button function a mouse must keep on at least one key.
inline constexpr KeyAction kLeftButtonAction{0, key_type::kMouseButton, 0x01, 0x00, 0};

// No device slot for a UI key.
inline constexpr int kMouseNoSlot = 0x7E;
inline constexpr int kKeyboardNoSlot = 0xFF;

constexpr KeyAction MakeAction(std::uint8_t type, std::uint8_t p1, std::uint8_t p2, std::uint16_t keyId = 0) {
  return KeyAction{keyId, type, p1, p2, 0};
}

}  // namespace ostrel
