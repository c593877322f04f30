// The tables as data: rows the other tables and the device simulator must
// agree with.
#include <gtest/gtest.h>

#include <bit>
#include <set>
#include <string>
#include <utility>

#include "devices/FactoryKeyTable.h"
#include "devices/KeyTables.h"
#include "devsim/FactoryKeyTables.h"
#include "platform/input/KeyCodeTable.h"

namespace ostrel {
namespace {

TEST(KeyTables, EveryScanCodeNamesOneKey) {
  std::set<std::pair<int, int>> seen;
  for (std::size_t i = 0; i < ScanCodeTable.size(); ++i) {
    const auto& row = ScanCodeTable[i];
    EXPECT_TRUE(seen.insert({row.scanCode, row.extended}).second)
        << "row " << i << " repeats scan code " << int(row.scanCode) << "/" << int(row.extended);
  }
}

// The scan codes the key records carry (from the X server or the toolkit)
// must find the KeyTable key with the same HID usage, or capture would
// store another key than the one pressed.
TEST(KeyTables, KeyRecordsFindTheirOwnKey) {
  for (std::size_t i = 0; i < ScanCodeTable.size(); ++i) {
    const KeyAction& key = KeyTable[i].action;
    // Modifiers are usages 0xE0-0xE7 in the bit order of p1.
    const int usage = i < kKeyTableModifierRows ? 0xE0 + std::countr_zero(key.p1) : key.p2;
    const KeyCodeRow* record = nullptr;
    for (const auto& row : KeyCodeTable) {
      if (row.inputCode != 0 && row.hidUsage == usage) record = &row;
    }
    SCOPED_TRACE(std::string(KeyTable[i].nameKey));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(FindScanCodeRow(record->scanCode, record->extended != 0), static_cast<int>(i));
  }
}

TEST(KeyTables, FactoryTablesMatchTheDeviceModels) {
  auto same = [](const auto& ours, const auto& device) {
    ASSERT_EQ(ours.size(), device.size());
    for (std::size_t i = 0; i < ours.size(); ++i) {
      EXPECT_EQ(ours[i], MakeAction(device[i].type, device[i].p1, device[i].p2)) << "key " << i;
    }
  };
  same(MouseFactoryKeyTable, devsim::kMouseFactoryKeyTable);
  same(KeyboardFactoryKeyTable, devsim::kKeyboardFactoryKeyTable);
}

// Each keyboard key is named by the KeyTable row of its factory function,
// except the two empty keys and the unused last one.
TEST(KeyTables, EveryKeyboardKeyHasAName) {
  for (std::size_t i = 0; i < KeyboardFactoryKeyTable.size(); ++i) {
    const bool unnamed = i == 16 || i == 104 || i == 125;
    EXPECT_EQ(FindRow(KeyTable, KeyboardFactoryKeyTable[i]) < 0, unnamed) << "key " << i;
  }
}

}  // namespace
}  // namespace ostrel
