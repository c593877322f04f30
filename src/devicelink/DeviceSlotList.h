#pragma once
// The slot list: one slot per interface-table row, in row order. A slot is
// free while its connected flag is 0 and its path empty; the scanning thread
// claims it for a present interface and frees it when the interface goes.
// The window thread reads slots while it handles the scanner's messages, so
// every access takes the list's lock.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devicelink/DeviceCatalogue.h"

namespace ostrel {

class DeviceSlotList {
 public:
  DeviceSlotList();  // a copy of the interface table

  std::size_t Size() const;
  // A copy of the slot; an empty record for an index outside the list.
  DeviceCatalogueRow Slot(std::size_t index) const;
  bool HasFreeSlot() const;
  // Some free slot has these four path values.
  bool HasFreeSlotFor(const DevicePathIds& ids) const;
  // Claims the first free slot equal in the six values (vendor id, product
  // id, interface, collection, usage page, usage); its index, or nothing.
  std::optional<std::size_t> Claim(std::uint16_t vendorId, std::uint16_t productId,
                                   std::uint16_t interfaceNumber, std::uint16_t collectionNumber,
                                   std::uint16_t usagePage, std::uint16_t usage, const std::string& path);
  // Indices and paths of the claimed slots.
  std::vector<std::pair<std::size_t, std::string>> Claimed() const;
  // Clears the connected flag and the path.
  void Free(std::size_t index);

 private:
  static bool IsFree(const DeviceCatalogueRow& slot) { return slot.connected == 0 && slot.path.empty(); }

  mutable std::mutex mutex_;
  std::vector<DeviceCatalogueRow> slots_;
};

}  // namespace ostrel
