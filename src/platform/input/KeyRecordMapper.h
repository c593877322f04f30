#pragma once
// Turns key events of the X server (keycodes) and of the toolkit (USB HID
// scan codes, as SDL reports them) into the keyboard records the key
// handlers take.

#include <cstdint>
#include <optional>

#include "platform/input/KeyCodeTable.h"
#include "platform/input/KeyboardHookRecord.h"

namespace ostrel {

class KeyRecordMapper {
 public:
  // X keycodes of the evdev keymap: the Linux input code + 8.
  static constexpr std::uint32_t kXKeycodeOffset = 8;

  static const KeyCodeRow* FindInputCode(std::uint32_t inputCode);
  static const KeyCodeRow* FindHidUsage(std::uint32_t usage);

  // Nothing for a key the table does not know.
  static std::optional<KeyHookEvent> FromXKeycode(std::uint32_t keycode, bool pressed, std::uint32_t time);
  static std::optional<KeyHookEvent> FromInputCode(std::uint32_t inputCode, bool pressed, std::uint32_t time);
  // A toolkit key event: `scancode` is the USB HID keyboard usage (SDL's
  // SDL_Scancode values).
  static std::optional<KeyHookEvent> FromToolkitScancode(std::uint32_t scancode, bool pressed,
                                                         std::uint32_t time);

  static KeyHookEvent Record(const KeyCodeRow& row, bool pressed, std::uint32_t time);
};

}  // namespace ostrel
