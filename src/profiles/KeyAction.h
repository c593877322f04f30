#pragma once
// The function of one key: type, p1, p2. Profiles store it packed as
// type * 65536 + p1 * 256 + p2.

#include <cstdint>

namespace ostrel {

struct KeyAction {
  std::uint16_t keyId = 0;  // row key of its table, or the key index; never compared
  std::uint8_t type = 0;
  std::uint8_t p1 = 0;
  std::uint8_t p2 = 0;
  std::uint8_t reserved = 0;

  constexpr std::int32_t Packed() const { return type * 65536 + p1 * 256 + p2; }

  // Only the low 24 bits carry the action; higher bits of a stored value are ignored.
  static constexpr KeyAction FromPacked(std::int64_t packed, std::uint16_t keyId) {
    KeyAction action;
    action.keyId = keyId;
    action.type = static_cast<std::uint8_t>((packed >> 16) & 0xFF);
    action.p1 = static_cast<std::uint8_t>((packed >> 8) & 0xFF);
    action.p2 = static_cast<std::uint8_t>(packed & 0xFF);
    return action;
  }

  // Two actions are the same function when type, p1 and p2 agree.
  friend constexpr bool operator==(const KeyAction& a, const KeyAction& b) {
    return a.type == b.type && a.p1 == b.p1 && a.p2 == b.p2;
  }
};
static_assert(sizeof(KeyAction) == 6);

}  // namespace ostrel
