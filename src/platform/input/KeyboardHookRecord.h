#pragma once
// One keyboard event as the program's key handlers take it: the keyboard
// message and the low-level keyboard record (virtual-key code, set-1 scan
// code, flags), whatever the source (the X server or the toolkit).

#include <cstdint>

// The keyboard messages (WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP)
// are the window system's own; one definition serves both.
#include "platform/ui/UIDefs.h"

namespace ostrel {

// Flags of the record.
inline constexpr std::uint32_t LLKHF_EXTENDED = 0x01;  // E0-prefixed key
inline constexpr std::uint32_t LLKHF_INJECTED = 0x10;
inline constexpr std::uint32_t LLKHF_ALTDOWN = 0x20;
inline constexpr std::uint32_t LLKHF_UP = 0x80;

struct KeyboardHookRecord {
  std::uint32_t vkCode = 0;
  std::uint32_t scanCode = 0;
  std::uint32_t flags = 0;
  std::uint32_t time = 0;  // milliseconds, the source's clock
};

struct KeyHookEvent {
  std::uint32_t message = WM_KEYDOWN;
  KeyboardHookRecord record;

  constexpr bool IsPress() const { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }
  constexpr bool IsExtended() const { return (record.flags & LLKHF_EXTENDED) != 0; }
};

}  // namespace ostrel
