#include "devices/KeySlotMap.h"

#include <algorithm>

#include "devicelink/DeviceProtocol.h"

namespace ostrel {

KeySlotMap::KeySlotMap(std::size_t keyCount, int noSlot) : slots_(keyCount, noSlot), noSlot_(noSlot) {}

void KeySlotMap::Clear() { std::fill(slots_.begin(), slots_.end(), noSlot_); }

void KeySlotMap::FindSlots(std::span<const std::uint8_t> deviceKeyTable, std::span<const KeyAction> factory) {
  Clear();
  if (deviceKeyTable.size() > kMaxTableBytes) return;
  const std::size_t slotCount = deviceKeyTable.size() / kBytesPerKey;
  std::vector<bool> taken(slotCount, false);
  const std::size_t keys = std::min(slots_.size(), factory.size());
  for (std::size_t key = 0; key < keys; ++key) {
    const KeyAction& wanted = factory[key];
    for (std::size_t slot = 0; slot < slotCount; ++slot) {
      const std::uint8_t* bytes = deviceKeyTable.data() + slot * kBytesPerKey;
      // The no-slot value itself can never be a slot.
      if (taken[slot] || static_cast<int>(slot) == noSlot_) continue;
      if (bytes[0] == wanted.type && bytes[1] == wanted.p1 && bytes[2] == wanted.p2) {
        slots_[key] = static_cast<int>(slot);
        taken[slot] = true;
        break;
      }
    }
  }
}

std::vector<std::uint8_t> KeySlotMap::SlotAttributes(std::span<const std::uint8_t> attributes) const {
  std::vector<std::uint8_t> leds(slots_.size(), kNoLed);
  for (std::size_t key = 0; key < slots_.size(); ++key) {
    if (!HasSlot(key)) continue;
    const auto slot = static_cast<std::size_t>(slots_[key]);
    if (slot < attributes.size()) leds[key] = attributes[slot];
  }
  return leds;
}

}  // namespace ostrel
