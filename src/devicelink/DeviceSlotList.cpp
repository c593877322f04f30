#include "devicelink/DeviceSlotList.h"

namespace ostrel {

DeviceSlotList::DeviceSlotList() {
  slots_.reserve(kInterfaceTable.size());
  for (std::size_t i = 0; i < kInterfaceTable.size(); ++i) slots_.push_back(DeviceCatalogue::Row(i));
}

std::size_t DeviceSlotList::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return slots_.size();
}

DeviceCatalogueRow DeviceSlotList::Slot(std::size_t index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return index < slots_.size() ? slots_[index] : DeviceCatalogueRow{};
}

bool DeviceSlotList::HasFreeSlot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& slot : slots_)
    if (IsFree(slot)) return true;
  return false;
}

bool DeviceSlotList::HasFreeSlotFor(const DevicePathIds& ids) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& slot : slots_)
    if (IsFree(slot) && slot.vendorId == ids.vendorId && slot.productId == ids.productId &&
        slot.interfaceNumber == ids.interfaceNumber && slot.collectionNumber == ids.collectionNumber)
      return true;
  return false;
}

std::optional<std::size_t> DeviceSlotList::Claim(std::uint16_t vendorId, std::uint16_t productId,
                                                 std::uint16_t interfaceNumber,
                                                 std::uint16_t collectionNumber, std::uint16_t usagePage,
                                                 std::uint16_t usage, const std::string& path) {
  if (path.empty()) return std::nullopt;  // an empty path would leave the slot looking free
  std::lock_guard<std::mutex> lock(mutex_);
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    DeviceCatalogueRow& slot = slots_[i];
    if (!IsFree(slot)) continue;
    if (slot.vendorId == vendorId && slot.productId == productId && slot.interfaceNumber == interfaceNumber &&
        slot.collectionNumber == collectionNumber && slot.usagePage == usagePage && slot.usage == usage) {
      slot.connected = 1;
      slot.path = path;
      return i;
    }
  }
  return std::nullopt;
}

std::vector<std::pair<std::size_t, std::string>> DeviceSlotList::Claimed() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::pair<std::size_t, std::string>> claimed;
  for (std::size_t i = 0; i < slots_.size(); ++i)
    if (slots_[i].connected != 0) claimed.emplace_back(i, slots_[i].path);
  return claimed;
}

void DeviceSlotList::Free(std::size_t index) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (index >= slots_.size()) return;
  slots_[index].connected = 0;
  slots_[index].path.clear();
}

}  // namespace ostrel
