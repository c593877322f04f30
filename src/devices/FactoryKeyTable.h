#pragma once
// The function each UI key of the mouse and of the keyboard carries from the
// factory. The slot search finds a key's device slot by this triple.

#include <array>
#include <cstdint>

#include "devices/KeyFunction.h"
#include "profiles/KeyEntry.h"

namespace ostrel {

namespace factory_key {
constexpr KeyAction Key(std::uint8_t usage) { return MakeAction(key_type::kKeyboardKey, 0, usage); }
constexpr KeyAction Modifier(std::uint8_t bit) { return MakeAction(key_type::kKeyboardKey, bit, 0); }
constexpr KeyAction Consumer(std::uint16_t usage) {
  return MakeAction(key_type::kConsumer, static_cast<std::uint8_t>(usage & 0xFF),
                    static_cast<std::uint8_t>(usage >> 8));
}
}  // namespace factory_key

inline constexpr std::size_t kMouseKeyCount = 10;

inline constexpr std::array<KeyAction, kMouseKeyCount> MouseFactoryKeyTable = {{
    {0, 0x10, 0x01, 0x00, 0},  // left
    {0, 0x10, 0x02, 0x00, 0},  // right
    {0, 0x10, 0x04, 0x00, 0},  // middle
    {0, 0x10, 0x10, 0x00, 0},  // forward
    {0, 0x10, 0x08, 0x00, 0},  // back
    {0, 0x13, 0x01, 0x00, 0},  // DPI up
    {0, 0x13, 0x02, 0x00, 0},  // DPI down
    {0, 0x13, 0x03, 0x00, 0},  // DPI cycle
    {0, 0xA0, 0x1B, 0x00, 0},  // game mode
    {0, 0x16, 0x90, 0x01, 0},  // DPI shift
}};

inline constexpr std::array<KeyAction, kKeyboardKeyCount> KeyboardFactoryKeyTable = [] {
  using namespace factory_key;
  return std::array<KeyAction, kKeyboardKeyCount>{{
      Key(0x29),  // 0 Esc
      Key(0x3A),
      Key(0x3B),
      Key(0x3C),
      Key(0x3D),
      Key(0x3E),
      Key(0x3F),  // 1-6 F1-F6
      Key(0x40),
      Key(0x41),
      Key(0x42),
      Key(0x43),
      Key(0x44),
      Key(0x45),  // 7-12 F7-F12
      Key(0x46),
      Key(0x47),
      Key(0x48),  // 13-15 PrtSc ScrLk Pause
      Key(0x00),  // 16 empty keyboard key
      Consumer(0x0192),
      Consumer(0x00E2),
      Consumer(0x00EA),
      Consumer(0x00E9),  // 17-20 calc mute vol- vol+
      Key(0x35),         // 21 `
      Key(0x1E),
      Key(0x1F),
      Key(0x20),
      Key(0x21),
      Key(0x22),  // 22-26 1-5
      Key(0x23),
      Key(0x24),
      Key(0x25),
      Key(0x26),
      Key(0x27),  // 27-31 6-0
      Key(0x2D),
      Key(0x2E),
      Key(0x2A),  // 32-34 - = Backspace
      Key(0x49),
      Key(0x4A),
      Key(0x4B),  // 35-37 Ins Home PgUp
      Key(0x53),
      Key(0x54),
      Key(0x55),
      Key(0x56),  // 38-41 NumLk / * -
      Key(0x2B),  // 42 Tab
      Key(0x14),
      Key(0x1A),
      Key(0x08),
      Key(0x15),
      Key(0x17),  // 43-47 Q W E R T
      Key(0x1C),
      Key(0x18),
      Key(0x0C),
      Key(0x12),
      Key(0x13),  // 48-52 Y U I O P
      Key(0x2F),
      Key(0x30),
      Key(0x31),  // 53-55 [ ] backslash
      Key(0x4C),
      Key(0x4D),
      Key(0x4E),  // 56-58 Del End PgDn
      Key(0x5F),
      Key(0x60),
      Key(0x61),  // 59-61 keypad 7 8 9
      Key(0x32),  // 62 non-US #
      Key(0x39),  // 63 Caps Lock
      Key(0x04),
      Key(0x16),
      Key(0x07),
      Key(0x09),
      Key(0x0A),  // 64-68 A S D F G
      Key(0x0B),
      Key(0x0D),
      Key(0x0E),
      Key(0x0F),  // 69-72 H J K L
      Key(0x33),
      Key(0x34),
      Key(0x28),  // 73-75 ; ' Enter
      Key(0x5C),
      Key(0x5D),
      Key(0x5E),  // 76-78 keypad 4 5 6
      Key(0x8A),
      Key(0x8B),
      Key(0x90),
      Key(0x91),
      Key(0x88),       // 79-83
      Modifier(0x02),  // 84 left Shift
      Key(0x1D),
      Key(0x1B),
      Key(0x06),
      Key(0x19),
      Key(0x05),  // 85-89 Z X C V B
      Key(0x11),
      Key(0x10),
      Key(0x36),
      Key(0x37),
      Key(0x38),       // 90-94 N M , . /
      Modifier(0x20),  // 95 right Shift
      Key(0x52),       // 96 Up
      Key(0x59),
      Key(0x5A),
      Key(0x5B),  // 97-99 keypad 1 2 3
      Key(0x87),
      Key(0x89),
      Key(0x64),
      Key(0x85),  // 100-103
      Key(0x00),  // 104 empty keyboard key
      Modifier(0x01),
      Modifier(0x08),
      Modifier(0x04),  // 105-107 LCtrl LWin LAlt
      Key(0x2C),       // 108 Space
      Modifier(0x40),
      Modifier(0x80),                // 109-110 RAlt RWin
      MakeAction(0xA0, 0x01, 0x00),  // 111 Fn
      Modifier(0x10),                // 112 right Ctrl
      Key(0x50),
      Key(0x51),
      Key(0x4F),  // 113-115 Left Down Right
      Key(0x62),
      Key(0x63),
      Key(0x58),
      Key(0x57),  // 116-119 keypad 0 . Enter +
      MakeAction(0xD0, 0xA2, 0x01),
      MakeAction(0xD0, 0xA2, 0x02),  // 120-121 M1 M2
      MakeAction(0xD0, 0xA2, 0x03),
      MakeAction(0xD0, 0xA2, 0x04),  // 122-123 M3 M4
      MakeAction(0xD0, 0xA2, 0x05),  // 124 M5
      MakeAction(0x00, 0x00, 0x00),  // 125 no key
  }};
}();

// A short initialiser list would leave the last rows zero without a word.
static_assert(KeyboardFactoryKeyTable[124].type == 0xD0 && KeyboardFactoryKeyTable[124].p2 == 0x05);
static_assert(KeyboardFactoryKeyTable[111].type == 0xA0 && KeyboardFactoryKeyTable[119].p2 == 0x57);

}  // namespace ostrel
