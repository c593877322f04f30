#pragma once
// One key of a device page: its current function and its default one.

#include "profiles/KeyAction.h"

namespace ostrel {

// The keyboard's keys: its key list, key buttons and per-key colours.
inline constexpr int kKeyboardKeyCount = 126;

struct KeyEntry {
  KeyAction current;
  KeyAction defaultAction;

  friend constexpr bool operator==(const KeyEntry& a, const KeyEntry& b) {
    return a.current == b.current && a.defaultAction == b.defaultAction;
  }
};
static_assert(sizeof(KeyEntry) == 12);

}  // namespace ostrel
