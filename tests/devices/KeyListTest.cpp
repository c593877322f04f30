// The page's key list: storing with the mouse's left-button rule, macro
// checks, the device slots of the keys, the 3-byte key table and the save
// to the device.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devicelink/DeviceProtocol.h"
#include "devices/FactoryKeyTable.h"
#include "devices/KeyList.h"
#include "devices/KeySaveToDevice.h"
#include "devices/KeySlotMap.h"
#include "devices/KeyTableWriter.h"
#include "devsim/FactoryKeyTables.h"
#include "profiles/CMouseProfiledata.h"

namespace ostrel {
namespace {

KeyAction A(std::uint8_t type, std::uint8_t p1, std::uint8_t p2) { return MakeAction(type, p1, p2); }

const KeyAction kLeft = A(0x10, 0x01, 0x00);
const KeyAction kRight = A(0x10, 0x02, 0x00);
const KeyAction kDpiUp = A(0x13, 0x01, 0x00);

std::vector<KeyEntry> Factory(std::span<const KeyAction> table) {
  std::vector<KeyEntry> keys;
  for (const KeyAction& a : table) keys.push_back({a, a});
  return keys;
}

template <std::size_t N>
std::vector<std::uint8_t> DeviceTable(const std::array<devsim::KeyTriple, N>& keys) {
  std::vector<std::uint8_t> bytes;
  for (const auto& k : keys) bytes.insert(bytes.end(), {k.type, k.p1, k.p2});
  return bytes;
}

// --- storing -------------------------------------------------------------

TEST(KeyListStore, MouseKeepsALeftButton) {
  struct Step {
    int key;
    KeyAction action;
    KeyStoreResult expected;
  };
  const Step steps[] = {
      {0, kRight, KeyStoreResult::kNoLeftButton},               // the only left button
      {0, A(0x10, 0x01, 0x01), KeyStoreResult::kNoLeftButton},  // p2 must be 0 as well
      {0, kLeft, KeyStoreResult::kStored},
      {5, kLeft, KeyStoreResult::kStored},   // a second left button
      {0, kRight, KeyStoreResult::kStored},  // key 5 still clicks
      {5, kDpiUp, KeyStoreResult::kNoLeftButton},
      {10, kLeft, KeyStoreResult::kNoKeySelected},
      {-1, kLeft, KeyStoreResult::kNoKeySelected},
  };
  KeyList list(KeyPage::kMouse);
  list.SetEntries(Factory(MouseFactoryKeyTable));
  std::vector<KeyEntry> expected = list.Entries();
  for (const Step& step : steps) {
    SCOPED_TRACE("key " + std::to_string(step.key));
    list.Select(step.key);
    const KeyEntry entry{step.action, MouseFactoryKeyTable[0]};
    EXPECT_EQ(list.storeKey(entry), step.expected);
    if (step.expected == KeyStoreResult::kStored) expected[static_cast<std::size_t>(step.key)] = entry;
    EXPECT_EQ(list.Entries(), expected);
  }
}

TEST(KeyListStore, KeyboardHasNoLeftButtonRule) {
  KeyList list(KeyPage::kKeyboard);
  list.SetEntries(Factory(KeyboardFactoryKeyTable));
  list.Select(0);
  EXPECT_EQ(list.storeKey({kRight, KeyboardFactoryKeyTable[0]}), KeyStoreResult::kStored);
}

TEST(KeyListStore, StoredListReachesTheProfileRefusedOneDoesNot) {
  CMouseProfiledata profile;
  KeyList list(KeyPage::kMouse);
  list.SetEntries(Factory(MouseFactoryKeyTable));
  ASSERT_TRUE(list.Select(1).has_value());
  ASSERT_EQ(list.storeKey({A(0x20, 0x01, 0x06), kRight}, &profile), KeyStoreResult::kStored);
  ASSERT_EQ(profile.ReadKeyList().size(), 10u);
  EXPECT_EQ(profile.ReadKeyList()[1].current, A(0x20, 0x01, 0x06));

  list.Select(0);
  EXPECT_EQ(list.storeKey({kRight, kLeft}, &profile), KeyStoreResult::kNoLeftButton);
  EXPECT_EQ(profile.ReadKeyList()[0].current, kLeft);
  EXPECT_EQ(KeyList::kNoLeftButtonMessage, "message_text_6");
}

TEST(KeyListStore, SelectGivesTheEntryOnlyForKeysInTheList) {
  KeyList list(KeyPage::kMouse);
  list.SetEntries(Factory(MouseFactoryKeyTable));
  EXPECT_EQ(list.Select(2)->current, A(0x10, 0x04, 0x00));
  EXPECT_FALSE(list.Select(10).has_value());
  EXPECT_EQ(list.Selected(), 10);
}

TEST(KeyListMacros, MacrosPastTheListGetTheirDefault) {
  KeyList list(KeyPage::kMouse);
  auto keys = Factory(MouseFactoryKeyTable);
  keys[1].current = A(0x70, 1, 0);
  keys[2].current = A(0x71, 2, 5);
  keys[3].current = A(0x72, 7, 0);  // a gun preset is no macro
  list.SetEntries(keys);
  EXPECT_FALSE(list.ValidateMacroKeys(3));
  EXPECT_TRUE(list.ValidateMacroKeys(2));
  EXPECT_EQ(list.Entries()[1].current, A(0x70, 1, 0));
  EXPECT_EQ(list.Entries()[2].current, list.Entries()[2].defaultAction);
  EXPECT_EQ(list.Entries()[3].current, A(0x72, 7, 0));
  EXPECT_TRUE(KeyList(KeyPage::kKeyboard).ValidateMacroKeys(0) == false);
}

// --- slots ---------------------------------------------------------------

TEST(KeySlots, FactoryDevicesMapEveryKeyToItsSlot) {
  KeySlotMap mouse(10, kMouseNoSlot);
  mouse.FindSlots(DeviceTable(devsim::kMouseFactoryKeyTable), MouseFactoryKeyTable);
  KeySlotMap keyboard(126, kKeyboardNoSlot);
  keyboard.FindSlots(DeviceTable(devsim::kKeyboardFactoryKeyTable), KeyboardFactoryKeyTable);
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(mouse.Slot(i), static_cast<int>(i));
  // The two empty keys (16 and 104) get a slot each: the same slot would
  // make one key's function overwrite the other's on the device.
  for (std::size_t i = 0; i < 126; ++i) EXPECT_EQ(keyboard.Slot(i), static_cast<int>(i)) << i;
}

TEST(KeySlots, SearchCases) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> table;
    std::vector<int> expected;  // keys 0-2 of the mouse
  };
  const Case cases[] = {
      {"LowestMatchingSlot", {0x10, 0x02, 0, 0x10, 0x01, 0, 0x10, 0x01, 0}, {1, 0, 0x7E}},
      {"NoMatch", {0x20, 0, 4, 0x20, 0, 5}, {0x7E, 0x7E, 0x7E}},
      {"PartialLastSlotIgnored", {0x10, 0x04, 0, 0x10, 0x01}, {0x7E, 0x7E, 0}},
      {"Empty", {}, {0x7E, 0x7E, 0x7E}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KeySlotMap slots(10, kMouseNoSlot);
    slots.FindSlots(c.table, MouseFactoryKeyTable);
    for (std::size_t i = 0; i < c.expected.size(); ++i) EXPECT_EQ(slots.Slot(i), c.expected[i]) << i;
    EXPECT_FALSE(slots.HasSlot(3));
  }
}

TEST(KeySlots, TablesPastOneBlockAndTheNoSlotValueGiveNoSlot) {
  KeySlotMap slots(10, kMouseNoSlot);
  std::vector<std::uint8_t> big(171 * 3, 0);
  big[0] = 0x10, big[1] = 0x01;
  slots.FindSlots(big, MouseFactoryKeyTable);
  EXPECT_FALSE(slots.HasSlot(0));
  // Slot 0x7E of a long table would read as "no slot": it is never used.
  std::vector<std::uint8_t> table(130 * 3, 0);
  table[0x7E * 3] = 0x10, table[0x7E * 3 + 1] = 0x01;
  table[0x7F * 3] = 0x10, table[0x7F * 3 + 1] = 0x01;
  slots.FindSlots(table, MouseFactoryKeyTable);
  EXPECT_EQ(slots.Slot(0), 0x7F);
  EXPECT_EQ(slots.Slot(99), kMouseNoSlot);
}

TEST(KeySlots, LedOfEachKeyIsTheAttributeOfItsSlot) {
  const std::vector<std::uint8_t> table = {0x10, 0x02, 0, 0x10, 0x01, 0, 0x10, 0x04, 0};
  KeySlotMap slots(10, kMouseNoSlot);
  slots.FindSlots(table, MouseFactoryKeyTable);
  // Slot 2 has no attribute byte: the key has no LED.
  const std::vector<std::uint8_t> attributes = {7, 9};
  const auto leds = slots.SlotAttributes(attributes);
  ASSERT_EQ(leds.size(), 10u);
  EXPECT_EQ(leds[0], 9);
  EXPECT_EQ(leds[1], 7);
  EXPECT_EQ(leds[2], KeySlotMap::kNoLed);
  EXPECT_EQ(leds[3], KeySlotMap::kNoLed);
}

// --- the device table -----------------------------------------------------

TEST(KeyDeviceTable, CurrentFunctionsGoToTheirSlots) {
  // Slots in another order than the keys, and a key without a slot.
  const std::vector<std::uint8_t> device = {0x10, 0x02, 0, 0x55, 0x66, 0x77, 0x10, 0x01, 0};
  KeySlotMap slots(10, kMouseNoSlot);
  slots.FindSlots(device, MouseFactoryKeyTable);
  auto keys = Factory(MouseFactoryKeyTable);
  keys[0].current = A(0x12, 0x21, 0xFD);
  keys[1].current = A(0x30, 0xE9, 0x00);
  keys[2].current = A(0x20, 0x01, 0x06);  // no slot: stays in the profile only
  EXPECT_EQ(KeyTableWriter::BuildDeviceKeyTable(device, keys, slots),
            (std::vector<std::uint8_t>{0x30, 0xE9, 0x00, 0x55, 0x66, 0x77, 0x12, 0x21, 0xFD}));
}

// --- save to the device -----------------------------------------------------

TEST(KeySaveToDevice, MacroResultDecidesWhatFollows) {
  struct Case {
    int macroResult;
    std::string_view message;
    int argument;
    bool reverted;
    bool keysWritten;
  };
  const Case cases[] = {
      {0, "", 0, false, true},
      {-1, "message_text_7", 0, false, false},
      {-5, "message_text_7", 0, false, false},
      {12, "message_text_16", 12, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.macroResult);
    std::vector<std::string> calls;
    KeySaveToDevice::Steps steps;
    steps.downloadMacros = [&] {
      calls.push_back("macros");
      return c.macroResult;
    };
    steps.downloadKeys = [&] {
      calls.push_back("keys");
      return 1;
    };
    steps.saveProfile = [&] {
      calls.push_back("profile");
      return true;
    };
    steps.revertSelectedKey = [&] { calls.push_back("revert"); };
    const KeySaveOutcome outcome = KeySaveToDevice::Run(steps);
    EXPECT_EQ(outcome.messageKey, c.message);
    EXPECT_EQ(outcome.messageArgument, c.argument);
    EXPECT_EQ(outcome.selectedKeyReverted, c.reverted);
    EXPECT_EQ(outcome.keysWritten, c.keysWritten);
    EXPECT_EQ(outcome.profileSaved, c.keysWritten);
    std::vector<std::string> expected = {"macros"};
    if (c.reverted) expected.push_back("revert");
    if (c.keysWritten) expected.insert(expected.end(), {"keys", "profile"});
    EXPECT_EQ(calls, expected);
  }
}

}  // namespace
}  // namespace ostrel
