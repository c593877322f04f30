#include "devicelink/DeviceCatalogue.h"

#include <cctype>

namespace ostrel {

namespace {

// Case-insensitive search; npos when absent.
std::size_t FindNoCase(std::string_view text, std::string_view key) {
  if (key.size() > text.size()) return std::string_view::npos;
  for (std::size_t i = 0; i + key.size() <= text.size(); ++i) {
    bool same = true;
    for (std::size_t k = 0; k < key.size() && same; ++k)
      same = std::tolower(static_cast<unsigned char>(text[i + k])) ==
             std::tolower(static_cast<unsigned char>(key[k]));
    if (same) return i;
  }
  return std::string_view::npos;
}

std::uint16_t HexAfter(std::string_view path, std::string_view key) {
  const std::size_t at = FindNoCase(path, key);
  if (at == std::string_view::npos) return 0;
  std::uint32_t value = 0;
  // At most four digits: a longer run would not be one of these 16-bit ids.
  for (std::size_t i = at + key.size(), n = 0; i < path.size() && n < 4; ++i, ++n) {
    const int c = std::tolower(static_cast<unsigned char>(path[i]));
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else
      break;
    value = value * 16 + static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::uint16_t>(value);
}

}  // namespace

DevicePathIds DeviceCatalogue::ParsePath(std::string_view path) {
  DevicePathIds ids;
  ids.vendorId = HexAfter(path, "vid_");
  ids.productId = HexAfter(path, "pid_");
  ids.interfaceNumber = HexAfter(path, "&mi_");
  ids.collectionNumber = HexAfter(path, "&col");
  return ids;
}

DeviceCatalogueRow DeviceCatalogue::Row(std::size_t index) {
  DeviceCatalogueRow row;
  if (index >= kInterfaceTable.size()) return row;
  const InterfaceTableRow& t = kInterfaceTable[index];
  row.vendorId = t.vendorId;
  row.productId = t.productId;
  row.interfaceNumber = t.interfaceNumber;
  row.collectionNumber = t.collectionNumber;
  row.deviceType = t.deviceType;
  row.role = t.role;
  row.usagePage = t.usagePage;
  row.usage = t.usage;
  return row;
}

bool DeviceCatalogue::RowsEqual(const DeviceCatalogueRow& a, const DeviceCatalogueRow& b) {
  return a.vendorId == b.vendorId && a.productId == b.productId && a.interfaceNumber == b.interfaceNumber &&
         a.collectionNumber == b.collectionNumber && a.deviceType == b.deviceType && a.role == b.role &&
         a.usagePage == b.usagePage && a.usage == b.usage;
}

int DeviceCatalogue::FindRow(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t interfaceNumber,
                             std::uint16_t collectionNumber, std::uint16_t usagePage, std::uint16_t usage) {
  for (std::size_t i = 0; i < kInterfaceTable.size(); ++i) {
    const InterfaceTableRow& t = kInterfaceTable[i];
    if (t.vendorId == vendorId && t.productId == productId && t.interfaceNumber == interfaceNumber &&
        t.collectionNumber == collectionNumber && t.usagePage == usagePage && t.usage == usage)
      return static_cast<int>(i);
  }
  return -1;
}

bool DeviceCatalogue::HasRowFor(const DevicePathIds& ids) {
  for (const InterfaceTableRow& t : kInterfaceTable)
    if (t.vendorId == ids.vendorId && t.productId == ids.productId &&
        t.interfaceNumber == ids.interfaceNumber && t.collectionNumber == ids.collectionNumber)
      return true;
  return false;
}

}  // namespace ostrel
