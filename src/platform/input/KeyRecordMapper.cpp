#include "platform/input/KeyRecordMapper.h"

namespace ostrel {

const KeyCodeRow* KeyRecordMapper::FindInputCode(std::uint32_t inputCode) {
  if (inputCode == 0) return nullptr;
  for (const KeyCodeRow& row : KeyCodeTable) {
    if (row.inputCode == inputCode) return &row;
  }
  return nullptr;
}

const KeyCodeRow* KeyRecordMapper::FindHidUsage(std::uint32_t usage) {
  if (usage == 0) return nullptr;
  for (const KeyCodeRow& row : KeyCodeTable) {
    if (row.hidUsage == usage) return &row;
  }
  return nullptr;
}

KeyHookEvent KeyRecordMapper::Record(const KeyCodeRow& row, bool pressed, std::uint32_t time) {
  KeyHookEvent event;
  event.message = pressed ? WM_KEYDOWN : WM_KEYUP;
  event.record.vkCode = row.vkCode;
  event.record.scanCode = row.scanCode;
  event.record.flags = (row.extended ? LLKHF_EXTENDED : 0) | (pressed ? 0 : LLKHF_UP);
  event.record.time = time;
  return event;
}

std::optional<KeyHookEvent> KeyRecordMapper::FromInputCode(std::uint32_t inputCode, bool pressed,
                                                           std::uint32_t time) {
  const KeyCodeRow* row = FindInputCode(inputCode);
  if (row == nullptr) return std::nullopt;
  return Record(*row, pressed, time);
}

std::optional<KeyHookEvent> KeyRecordMapper::FromXKeycode(std::uint32_t keycode, bool pressed,
                                                          std::uint32_t time) {
  if (keycode < kXKeycodeOffset) return std::nullopt;
  return FromInputCode(keycode - kXKeycodeOffset, pressed, time);
}

std::optional<KeyHookEvent> KeyRecordMapper::FromToolkitScancode(std::uint32_t scancode, bool pressed,
                                                                 std::uint32_t time) {
  const KeyCodeRow* row = FindHidUsage(scancode);
  if (row == nullptr) return std::nullopt;
  return Record(*row, pressed, time);
}

}  // namespace ostrel
