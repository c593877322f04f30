#pragma once
// `WriteKeyTable`: the page's key list into the device's key table, three
// bytes (type, p1, p2) per slot, sent with the write-key-map sequence.

#include <cstdint>
#include <span>
#include <vector>

#include "devices/KeySlotMap.h"
#include "profiles/KeyEntry.h"

namespace ostrel {

class DeviceOperations;

class KeyTableWriter {
 public:
  // The device table (key count x 3 bytes) with each key that has a slot
  // carrying its current function there; slots no key owns keep theirs.
  static std::vector<std::uint8_t> BuildDeviceKeyTable(std::span<const std::uint8_t> deviceKeyTable,
                                                       std::span<const KeyEntry> keys,
                                                       const KeySlotMap& slots);

  // ReadDeviceInfo, BeginConfig, WriteKeyMap of the table built on the
  // copy read last, EndConfig; a mouse on a wireless receiver asks
  // QueryLink before each. 1 or the result of the command that ended it.
  // Without a key table read from this device nothing is sent (0): a
  // table built on nothing would wipe every key of the device.
  static int WriteKeyTable(DeviceOperations& operations, std::span<const KeyEntry> keys,
                           const KeySlotMap& slots);
};

}  // namespace ostrel
