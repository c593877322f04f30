// The key field with the X capture: keys pressed anywhere in the X session
// while the field has the focus become the key.

#include <chrono>
#include <cstdlib>
#include <thread>

#include "KeyPanelTestWindow.h"
#include "XvfbServer.h"
#include "platform/ui/CMessageLoop.h"

namespace ostrel::test {
namespace {

class KeySetControlCapture : public KeyPanelTest {
 protected:
  void SetUp() override {
    KeyPanelTest::SetUp();
    if (server_.Display().empty()) GTEST_SKIP() << "Xvfb cannot start here";
    if (!server_.XdoTool("version")) GTEST_SKIP() << "xdotool is not installed";
    setenv("DISPLAY", server_.Display().c_str(), 1);
  }
  void TearDown() override {
    unsetenv("DISPLAY");
    KeyPanelTest::TearDown();
  }
  // Pumps the window until the field shows `text` or two seconds passed.
  bool WaitForField(const std::string& text) {
    for (int i = 0; i < 200; ++i) {
      Pump();
      if (TextOf(CKeySetControlUI::kKeyFieldName) == text) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  XvfbServer server_;
};

TEST_F(KeySetControlCapture, KeysOfTheSessionBecomeTheKeyWhileTheFieldHasTheFocus) {
  const KeyAction esc{0, 0x20, 0, 0x29, 0};
  SetUpPage(KeyPage::kKeyboard, {{esc, esc}}, 0);
  PickCategory(6);
  ClickOn(CKeySetControlUI::kKeyFieldName);
  if (!panel->Model().Capturing()) GTEST_SKIP() << "the X server has no RECORD";

  ASSERT_TRUE(server_.XdoTool("keydown Control_R key c keyup Control_R"));
  ASSERT_TRUE(WaitForField("C"));
  const KeyAction& stored = page->Keys().Entries()[0].current;
  EXPECT_EQ(panel->selectedModifier(), 1);
  EXPECT_EQ(stored.type, 0x20);
  EXPECT_EQ(stored.p1, 0x01) << "C takes the option's left-hand Ctrl";
  EXPECT_EQ(stored.p2, 0x06);

  // Focus elsewhere ends the capture: later keys change nothing.
  ClickOn("keyset_function_combo");
  EXPECT_FALSE(panel->Model().Capturing());
  ASSERT_TRUE(server_.XdoTool("key b"));
  EXPECT_FALSE(WaitForField("B"));
  EXPECT_EQ(page->Keys().Entries()[0].current.p2, 0x06);
}

}  // namespace
}  // namespace ostrel::test
