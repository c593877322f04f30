// The catalogue tables, path parsing, row matching and the slot list.

#include <gtest/gtest.h>

#include "devicelink/DeviceCatalogue.h"
#include "devicelink/DeviceSlotList.h"

namespace ostrel {
namespace {

struct PathCase {
  const char* path;
  DevicePathIds ids;
};

TEST(Catalogue, ParsesTheFourNumbersOfAPath) {
  const PathCase cases[] = {
      {"vhid#vid_320f&pid_511e&mi_01&col04#keyboard#1.2.3", {0x320F, 0x511E, 1, 4}},
      {"hidraw#VID_320F&PID_1000&MI_01&COL03#hidraw3#0003:320F:1000.0007", {0x320F, 0x1000, 1, 3}},
      // A single-collection interface has no "&col": collection 0 (the headset row).
      {"vhid#vid_320f&pid_3000&mi_03#headset#9", {0x320F, 0x3000, 3, 0}},
      // Bluetooth devices have no interface number.
      {"hidraw#vid_046d&pid_b023#hidraw1#0005:046D:B023.0001", {0x046D, 0xB023, 0, 0}},
      {"no ids at all", {0, 0, 0, 0}},
      // Digits stop at the first non-hex character; a missing number reads 0.
      {"vid_&pid_12g4&mi_1f", {0, 0x12, 0x1F, 0}},
  };
  for (const PathCase& c : cases) {
    const DevicePathIds ids = DeviceCatalogue::ParsePath(c.path);
    EXPECT_EQ(ids.vendorId, c.ids.vendorId) << c.path;
    EXPECT_EQ(ids.productId, c.ids.productId) << c.path;
    EXPECT_EQ(ids.interfaceNumber, c.ids.interfaceNumber) << c.path;
    EXPECT_EQ(ids.collectionNumber, c.ids.collectionNumber) << c.path;
  }
}

TEST(Catalogue, FindsTheRowEqualInAllSixValues) {
  EXPECT_EQ(DeviceCatalogue::FindRow(0x320F, 0x511E, 1, 4, 0xFF1C, 0x92), 0);
  EXPECT_EQ(DeviceCatalogue::FindRow(0x320F, 0x511E, 1, 3, 0x0C, 0x01), 1);
  EXPECT_EQ(DeviceCatalogue::FindRow(0x320F, 0x1000, 1, 4, 0xFF1C, 0x92), 2);
  EXPECT_EQ(DeviceCatalogue::FindRow(0x320F, 0x1000, 1, 3, 0x0C, 0x01), 3);
  // Collection 4 reporting the consumer page is no command interface.
  EXPECT_EQ(DeviceCatalogue::FindRow(0x320F, 0x511E, 1, 4, 0x0C, 0x01), -1);
  EXPECT_EQ(DeviceCatalogue::FindRow(0x320F, 0x511E, 2, 4, 0xFF1C, 0x92), -1);
}

TEST(Catalogue, EveryModelHasItsCommandInterfaceRow) {
  for (const ModelTableRow& model : kModelTable) {
    bool found = false;
    for (const InterfaceTableRow& row : kInterfaceTable)
      found |= row.vendorId == model.vendorId && row.productId == model.productId &&
               row.deviceType == model.deviceType && row.role == model.role;
    EXPECT_TRUE(found) << model.modelName;
  }
}

TEST(Catalogue, RowsEqualIgnoresConnectionStateAndPath) {
  DeviceCatalogueRow a = DeviceCatalogue::Row(0);
  DeviceCatalogueRow b = a;
  b.connected = 1;
  b.path = "vhid#x";
  EXPECT_TRUE(DeviceCatalogue::RowsEqual(a, b));
  b.usagePage = 0x0C;
  EXPECT_FALSE(DeviceCatalogue::RowsEqual(a, b));
  // Rows 0 and 1 differ only in collection, role, usage page and usage.
  EXPECT_FALSE(DeviceCatalogue::RowsEqual(DeviceCatalogue::Row(0), DeviceCatalogue::Row(1)));
}

TEST(Catalogue, SlotListClaimsTheFirstFreeEqualSlotOnce) {
  DeviceSlotList slots;
  ASSERT_EQ(slots.Size(), kInterfaceTable.size());
  EXPECT_TRUE(slots.HasFreeSlot());
  const DevicePathIds ids{0x320F, 0x511E, 1, 4};
  EXPECT_TRUE(slots.HasFreeSlotFor(ids));
  EXPECT_EQ(slots.Claim(0x320F, 0x511E, 1, 4, 0xFF1C, 0x92, "first"), std::optional<std::size_t>(0));
  // A second identical interface finds no free slot.
  EXPECT_FALSE(slots.HasFreeSlotFor(ids));
  EXPECT_EQ(slots.Claim(0x320F, 0x511E, 1, 4, 0xFF1C, 0x92, "second"), std::nullopt);
  EXPECT_EQ(slots.Slot(0).path, "first");
  EXPECT_EQ(slots.Slot(0).connected, 1);
  // The wrong usage page claims nothing.
  EXPECT_EQ(slots.Claim(0x320F, 0x511E, 1, 3, 0xFF1C, 0x92, "p"), std::nullopt);
  // An empty path would look free while claimed.
  EXPECT_EQ(slots.Claim(0x320F, 0x511E, 1, 3, 0x0C, 0x01, ""), std::nullopt);

  ASSERT_EQ(slots.Claimed().size(), 1u);
  slots.Free(0);
  EXPECT_EQ(slots.Slot(0).connected, 0);
  EXPECT_TRUE(slots.Slot(0).path.empty());
  EXPECT_TRUE(slots.HasFreeSlotFor(ids));
  slots.Free(99);  // outside the list: nothing happens
  EXPECT_EQ(slots.Slot(99).vendorId, 0);
}

TEST(Catalogue, ZeroIdRowsNeverMatchAPresentDevice) {
  // The mouse pad and headset rows carry vendor id 0, which no device reports.
  DeviceSlotList slots;
  EXPECT_FALSE(DeviceCatalogue::HasRowFor({0x320F, 0x2000, 1, 4}));
  EXPECT_EQ(slots.Claim(0x320F, 0x2000, 1, 4, 0xFF1C, 0x92, "pad"), std::nullopt);
}

}  // namespace
}  // namespace ostrel
