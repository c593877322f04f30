// The panel's events on a page's key list, with the mouse's left-button
// rule refusing a change end to end.
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include "devicelink/DeviceProtocol.h"
#include "devices/FactoryKeyTable.h"
#include "devices/KeyAssignmentEditor.h"
#include "platform/input/KeyRecordMapper.h"
#include "profiles/CMouseProfiledata.h"

namespace ostrel {
namespace {

KeyAction A(std::uint8_t type, std::uint8_t p1, std::uint8_t p2) { return MakeAction(type, p1, p2); }

class KeyAssignmentEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel_.setDeviceType(kDeviceMouse);
    std::vector<KeyEntry> keys;
    for (const KeyAction& a : MouseFactoryKeyTable) keys.push_back({a, a});
    keys_.SetEntries(keys);
    profile_.WriteKeyList(keys);
  }
  KeyPanelControls MouseButton(int item) {
    KeyPanelControls c;
    c.category = static_cast<int>(FunctionCategory::kMouseButton);
    c.mouseKeyItem = item;
    return c;
  }

  KeyAssignment panel_;
  KeyList keys_{KeyPage::kMouse};
  CMouseProfiledata profile_;
  KeyAssignmentEditor editor_{panel_, keys_, &profile_};
};

TEST_F(KeyAssignmentEditorTest, RefusedChangeShowsTheMessageAndKeepsEverything) {
  ASSERT_TRUE(editor_.ShowKey(0).has_value());
  const KeyStoreOutcome outcome = editor_.Store(MouseButton(2));  // left -> right
  EXPECT_EQ(outcome.result, KeyStoreResult::kNoLeftButton);
  EXPECT_EQ(outcome.messageKey, "message_text_6");
  ASSERT_TRUE(outcome.view.has_value());
  EXPECT_EQ(outcome.view->category, FunctionCategory::kDefault);
  EXPECT_EQ(panel_.current(), A(0x10, 0x01, 0));
  EXPECT_EQ(keys_.Entries()[0].current, A(0x10, 0x01, 0));
  EXPECT_EQ(profile_.ReadKeyList()[0].current, A(0x10, 0x01, 0));
}

TEST_F(KeyAssignmentEditorTest, CapturedKeyOnTheOnlyLeftButtonIsRefused) {
  editor_.ShowKey(0);
  const auto press = KeyRecordMapper::FromInputCode(KEY_A, true, 0);
  const KeyStoreOutcome outcome = editor_.StoreCaptured(panel_.CaptureKey(*press, -1));
  EXPECT_EQ(outcome.result, KeyStoreResult::kNoLeftButton);
  EXPECT_EQ(keys_.Entries()[0].current, A(0x10, 0x01, 0));
  EXPECT_EQ(panel_.current(), A(0x10, 0x01, 0));
}

TEST_F(KeyAssignmentEditorTest, MovingTheLeftButtonThenFreeingKeyZero) {
  editor_.ShowKey(4);
  EXPECT_TRUE(editor_.Store(MouseButton(0)).stored());  // back button -> left
  editor_.ShowKey(0);
  const KeyStoreOutcome outcome = editor_.Store(MouseButton(2));
  EXPECT_TRUE(outcome.stored());
  EXPECT_TRUE(outcome.messageKey.empty());
  EXPECT_EQ(profile_.ReadKeyList()[0].current, A(0x10, 0x02, 0));
  EXPECT_EQ(profile_.ReadKeyList()[4].current, A(0x10, 0x01, 0));
}

TEST_F(KeyAssignmentEditorTest, RevertGivesTheSelectedKeyItsDefault) {
  editor_.ShowKey(6);
  KeyPanelControls macro;
  macro.category = static_cast<int>(FunctionCategory::kRapidFire);
  macro.fireInterval = "20";
  macro.fireCount = "4";
  ASSERT_TRUE(editor_.Store(macro).stored());
  EXPECT_EQ(keys_.Entries()[6].current, A(0x14, 20, 4));
  const KeyStoreOutcome outcome = editor_.RevertSelectedToDefault();
  EXPECT_TRUE(outcome.stored());
  EXPECT_EQ(keys_.Entries()[6].current, MouseFactoryKeyTable[6]);
  EXPECT_EQ(outcome.view->category, FunctionCategory::kDefault);
}

TEST_F(KeyAssignmentEditorTest, KeysWithoutAnEntryShowNothingAndStoreNothing) {
  EXPECT_FALSE(editor_.ShowKey(10).has_value());
  EXPECT_EQ(editor_.Store(MouseButton(1)).result, KeyStoreResult::kNoKeySelected);
  EXPECT_EQ(editor_.StoreCaptured({}).result, KeyStoreResult::kNoKeySelected);
}

}  // namespace
}  // namespace ostrel
