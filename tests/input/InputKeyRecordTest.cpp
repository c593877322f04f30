// Key events of the X server and of the toolkit as keyboard records.
#include <SDL2/SDL_scancode.h>
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <set>
#include <string>

#include "platform/input/KeyRecordMapper.h"

namespace ostrel {
namespace {

struct RecordCase {
  std::uint32_t inputCode;
  int sdlScancode;
  std::uint32_t vk;
  std::uint32_t scanCode;
  bool extended;
};

// What the low-level hook reports for these keys.
constexpr RecordCase kCases[] = {
    {KEY_ESC, SDL_SCANCODE_ESCAPE, 0x1B, 0x01, false},
    {KEY_A, SDL_SCANCODE_A, 'A', 0x1E, false},
    {KEY_LEFTCTRL, SDL_SCANCODE_LCTRL, 0xA2, 0x1D, false},
    {KEY_RIGHTCTRL, SDL_SCANCODE_RCTRL, 0xA3, 0x1D, true},
    {KEY_RIGHTSHIFT, SDL_SCANCODE_RSHIFT, 0xA1, 0x36, true},
    {KEY_RIGHTALT, SDL_SCANCODE_RALT, 0xA5, 0x38, true},
    {KEY_LEFTMETA, SDL_SCANCODE_LGUI, 0x5B, 0x5B, true},
    {KEY_COMPOSE, SDL_SCANCODE_APPLICATION, 0x5D, 0x5D, true},
    {KEY_KPENTER, SDL_SCANCODE_KP_ENTER, 0x0D, 0x1C, true},
    {KEY_ENTER, SDL_SCANCODE_RETURN, 0x0D, 0x1C, false},
    {KEY_KPSLASH, SDL_SCANCODE_KP_DIVIDE, 0x6F, 0x35, true},
    {KEY_SYSRQ, SDL_SCANCODE_PRINTSCREEN, 0x2C, 0x37, true},
    {KEY_PAUSE, SDL_SCANCODE_PAUSE, 0x13, 0x45, false},
    {KEY_NUMLOCK, SDL_SCANCODE_NUMLOCKCLEAR, 0x90, 0x45, true},
    {KEY_HOME, SDL_SCANCODE_HOME, 0x24, 0x47, true},
    {KEY_KP7, SDL_SCANCODE_KP_7, 0x67, 0x47, false},
    {KEY_DELETE, SDL_SCANCODE_DELETE, 0x2E, 0x53, true},
    {KEY_F11, SDL_SCANCODE_F11, 0x7A, 0x57, false},
    {KEY_102ND, SDL_SCANCODE_NONUSBACKSLASH, 0xE2, 0x56, false},
    {KEY_RO, SDL_SCANCODE_INTERNATIONAL1, 0xC1, 0x73, false},
    {KEY_YEN, SDL_SCANCODE_INTERNATIONAL3, 0xFF, 0x7D, false},
    {KEY_GRAVE, SDL_SCANCODE_GRAVE, 0xC0, 0x29, false},
};

TEST(InputKeyRecord, ServerAndToolkitKeysGiveTheHookRecord) {
  for (const RecordCase& c : kCases) {
    SCOPED_TRACE("input code " + std::to_string(c.inputCode));
    const auto fromServer = KeyRecordMapper::FromXKeycode(c.inputCode + 8, true, 77);
    const auto fromToolkit =
        KeyRecordMapper::FromToolkitScancode(static_cast<std::uint32_t>(c.sdlScancode), true, 77);
    ASSERT_TRUE(fromServer.has_value());
    ASSERT_TRUE(fromToolkit.has_value());
    for (const KeyHookEvent& e : {*fromServer, *fromToolkit}) {
      EXPECT_EQ(e.message, WM_KEYDOWN);
      EXPECT_EQ(e.record.vkCode, c.vk);
      EXPECT_EQ(e.record.scanCode, c.scanCode);
      EXPECT_EQ(e.IsExtended(), c.extended);
      EXPECT_EQ(e.record.flags & LLKHF_UP, 0u);
      EXPECT_EQ(e.record.time, 77u);
    }
  }
}

TEST(InputKeyRecord, ReleasesCarryTheUpFlag) {
  const auto release = KeyRecordMapper::FromXKeycode(KEY_RIGHTCTRL + 8, false, 0);
  ASSERT_TRUE(release.has_value());
  EXPECT_EQ(release->message, WM_KEYUP);
  EXPECT_FALSE(release->IsPress());
  EXPECT_EQ(release->record.flags, LLKHF_EXTENDED | LLKHF_UP);
}

TEST(InputKeyRecord, UnknownKeysGiveNothing) {
  EXPECT_FALSE(KeyRecordMapper::FromXKeycode(0, true, 0));
  EXPECT_FALSE(KeyRecordMapper::FromXKeycode(7, true, 0));
  EXPECT_FALSE(KeyRecordMapper::FromXKeycode(KEY_F24 + 8, true, 0));
  EXPECT_FALSE(KeyRecordMapper::FromXKeycode(255, true, 0));
  EXPECT_FALSE(KeyRecordMapper::FromToolkitScancode(SDL_SCANCODE_UNKNOWN, true, 0));
  EXPECT_FALSE(KeyRecordMapper::FromToolkitScancode(SDL_SCANCODE_F24, true, 0));
  EXPECT_FALSE(KeyRecordMapper::FromInputCode(0, true, 0));
}

// The ISO key beside Enter reaches the toolkit as its own usage and the
// hook as the backslash key.
TEST(InputKeyRecord, NonUsHashIsTheBackslashKey) {
  const auto hash = KeyRecordMapper::FromToolkitScancode(SDL_SCANCODE_NONUSHASH, true, 0);
  const auto backslash = KeyRecordMapper::FromInputCode(KEY_BACKSLASH, true, 0);
  ASSERT_TRUE(hash && backslash);
  EXPECT_EQ(hash->record.scanCode, backslash->record.scanCode);
  EXPECT_EQ(hash->record.vkCode, backslash->record.vkCode);
}

TEST(InputKeyRecord, TableHasNoTwoRowsForOneCode) {
  std::set<int> inputCodes;
  std::set<int> usages;
  std::set<std::pair<int, int>> scanCodes;
  for (const KeyCodeRow& row : KeyCodeTable) {
    if (row.inputCode != 0) {
      EXPECT_TRUE(inputCodes.insert(row.inputCode).second) << row.inputCode;
    }
    if (row.hidUsage != 0) {
      EXPECT_TRUE(usages.insert(row.hidUsage).second) << row.hidUsage;
    }
    if (row.inputCode != 0) {
      EXPECT_TRUE(scanCodes.insert({row.scanCode, row.extended}).second) << "scan code " << int(row.scanCode);
    }
  }
}

}  // namespace
}  // namespace ostrel
