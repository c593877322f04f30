#pragma once
// One keyboard event as the program's key handlers take it: the keyboard
// message and the low-level keyboard record (virtual-key code, set-1 scan
// code, flags), whatever the source (the X server or the toolkit).

#include <cstdint>

namespace ostrel {

// Keyboard messages.
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;

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
