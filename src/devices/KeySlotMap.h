#pragma once
// Per page: the device key slot of each UI key, found by the function the
// key carries from the factory in the device's key table.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "profiles/KeyAction.h"

namespace ostrel {

class KeySlotMap {
 public:
  // `noSlot`: 0x7E on the mouse page, 0xFF on the keyboard page.
  KeySlotMap(std::size_t keyCount, int noSlot);

  // Sets every key to no slot, then gives key i the lowest slot whose three
  // bytes equal factory[i] and that no earlier key took: two keys with the
  // same factory function (the keyboard's two empty keys) get a slot each,
  // so that neither overwrites the other's on the device. A table longer
  // than one block (512 bytes) is refused: no key has a slot.
  void FindSlots(std::span<const std::uint8_t> deviceKeyTable, std::span<const KeyAction> factory);
  // Every key without a slot (a failed or refused read).
  void Clear();

  int Slot(std::size_t key) const { return key < slots_.size() ? slots_[key] : noSlot_; }
  bool HasSlot(std::size_t key) const { return Slot(key) != noSlot_; }
  int NoSlot() const { return noSlot_; }
  std::size_t KeyCount() const { return slots_.size(); }
  std::span<const int> Slots() const { return slots_; }

  // Keyboard `KeyLedMap`: per key the attribute byte of its slot (the key's
  // LED), kNoLed for a key without a slot or without an attribute.
  std::vector<std::uint8_t> SlotAttributes(std::span<const std::uint8_t> attributes) const;

  static constexpr std::size_t kMaxTableBytes = 512;
  static constexpr std::uint8_t kNoLed = 0xFF;

 private:
  std::vector<int> slots_;
  int noSlot_;
};

}  // namespace ostrel
