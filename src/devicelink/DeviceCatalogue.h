#pragma once
// The device catalogue: which HID interfaces belong to a supported device
// (interface table), one device-list entry per model (model table) and the
// page each model gets (page-type table). The slot list starts as a copy of
// the interface table; a slot's record is the same as a row's.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ostrel {

// Interface roles.
inline constexpr std::uint16_t kRoleCommand = 0;  // vendor collection with the 64-byte frames
inline constexpr std::uint16_t kRoleNotification =
    0xFF;  // consumer collection read by the notification reader

// One row of the interface table, and one slot of the slot list.
struct DeviceCatalogueRow {
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t interfaceNumber = 0;
  std::uint16_t collectionNumber = 0;
  std::uint16_t deviceType = 0;
  std::uint16_t role = 0;
  std::uint16_t connected = 0;
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  std::uint16_t pairing = 0;
  std::uint16_t pairedRow = 0;
  std::string path;
};

struct InterfaceTableRow {
  std::uint16_t vendorId, productId, interfaceNumber, collectionNumber, deviceType, role, usagePage, usage;
};

inline constexpr std::array<InterfaceTableRow, 7> kInterfaceTable{{
    {0x320F, 0x511E, 1, 4, 1, kRoleCommand, 0xFF1C, 0x0092},
    {0x320F, 0x511E, 1, 3, 1, kRoleNotification, 0x000C, 0x0001},
    {0x320F, 0x1000, 1, 4, 2, kRoleCommand, 0xFF1C, 0x0092},
    {0x320F, 0x1000, 1, 3, 2, kRoleNotification, 0x000C, 0x0001},
    {0x0000, 0x0000, 1, 4, 3, kRoleCommand, 0xFF1C, 0x0092},
    {0x0000, 0x0000, 1, 3, 3, kRoleNotification, 0x000C, 0x0001},
    {0x0000, 0x0000, 3, 0, 7, kRoleCommand, 0x000C, 0x0001},
}};

struct ModelTableRow {
  const char* entryLayout;
  const char* tabHeader;
  const char* powerContainer;
  const char* modelName;
  int modelNumber;
  int vendorId, productId, deviceType, role;
};

inline constexpr std::array<ModelTableRow, 4> kModelTable{{
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch", "mouse", 1,
     0x320F, 0x1000, 2, 0},
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch", "keyboard", 0,
     0x320F, 0x511E, 1, 0},
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch", "MousePad", 2, 0,
     0, 3, 0},
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch", "HD", 3, 0, 0, 7,
     0},
}};

// Same order as the model table.
struct PageTypeRow {
  int ledCount;
  int keyCount;
  int powerPolling;
  int reserved;
  const char* pageLayout;
  const char* lightingPrefix;
};

inline constexpr std::array<PageTypeRow, 4> kPageTypeTable{{
    {6, 7, 0, -1, "XML\\DeviceXml\\mousedevice.xml", "tavix_light"},
    {126, 126, 0, -1, "XML\\DeviceXml\\keyboarddevice.xml", "tavix_light"},
    {15, 0, 0, -1, "XML\\DeviceXml\\mousepaddevice.xml", "tavix_light"},
    {13, 0, 0, -1, "XML\\DeviceXml\\hs6533device.xml", "tavix_light"},
}};

inline constexpr const char* kPowerIndicatorLayout = "XML\\CustomControlXML\\MpDevicePower.xml";

// The four numbers a device path carries.
struct DevicePathIds {
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t interfaceNumber = 0;
  std::uint16_t collectionNumber = 0;
};

class DeviceCatalogue {
 public:
  // Hexadecimal numbers after "vid_", "pid_", "&mi_" and "&col" (any case);
  // 0 for a part that is absent or has no digits.
  static DevicePathIds ParsePath(std::string_view path);
  // The interface table as slot records (connected 0, path empty).
  static DeviceCatalogueRow Row(std::size_t index);
  // Vendor id, product id, interface, collection, type, role, usage page and
  // usage all equal.
  static bool RowsEqual(const DeviceCatalogueRow& a, const DeviceCatalogueRow& b);
  // The index of the interface-table row equal in the six values seen on an
  // open interface; -1 when none.
  static int FindRow(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t interfaceNumber,
                     std::uint16_t collectionNumber, std::uint16_t usagePage, std::uint16_t usage);
  // Whether some row has these four path values.
  static bool HasRowFor(const DevicePathIds& ids);
};

}  // namespace ostrel
