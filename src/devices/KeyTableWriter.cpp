#include "devices/KeyTableWriter.h"

#include "devicelink/DeviceOperations.h"
#include "platform/os/DebugLog.h"

namespace ostrel {

std::vector<std::uint8_t> KeyTableWriter::BuildDeviceKeyTable(std::span<const std::uint8_t> deviceKeyTable,
                                                              std::span<const KeyEntry> keys,
                                                              const KeySlotMap& slots) {
  std::vector<std::uint8_t> table(deviceKeyTable.begin(), deviceKeyTable.end());
  for (std::size_t key = 0; key < keys.size(); ++key) {
    if (!slots.HasSlot(key)) continue;
    const auto offset = static_cast<std::size_t>(slots.Slot(key)) * kBytesPerKey;
    if (offset + kBytesPerKey > table.size()) continue;
    table[offset] = keys[key].current.type;
    table[offset + 1] = keys[key].current.p1;
    table[offset + 2] = keys[key].current.p2;
  }
  return table;
}

int KeyTableWriter::WriteKeyTable(DeviceOperations& operations, std::span<const KeyEntry> keys,
                                  const KeySlotMap& slots) {
  if (operations.KeyMap().empty()) {
    OutputDebugString("WriteKeyTable: no key table read from the device");
    return kResultNoReply;
  }
  const std::vector<std::uint8_t> table = BuildDeviceKeyTable(operations.KeyMap(), keys, slots);
  const int result = operations.WriteKeyMap(table);
  if (result != kResultOk) DebugPrintf("WriteKeyTable: %d", result);
  return result;
}

}  // namespace ostrel
