#include <gtest/gtest.h>

#include "DialogTest.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/WindowApi.h"
#include "platform/ui/WindowImplBase.h"
#include "shell/MessageBox.h"
#include "shell/MessageTexts.h"

namespace ostrel::test {
namespace {

class Owner : public WindowImplBase {
 protected:
  CDuiString GetSkinFile() override { return CDuiString("<Window size=\"1000,640\"><Control/></Window>"); }
  const char* GetWindowClassName() const override { return "MainWnd"; }
};

// What the message window showed while it was open.
struct Seen {
  bool shown = false;
  bool confirmVisible = false;
  bool cancelVisible = false;
  std::string title;
  std::string text;
  SIZE size{};
  int dpi = 0;
};

class MsgWnd : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    CResourceManager::GetInstance()->LoadLanguage("lan_en.xml");
    ASSERT_NE(owner_.Create(nullptr, "main", WS_POPUP | WS_VISIBLE, 0), nullptr);
    Pump();
  }
  // Records the open message window, then does `act` to it.
  void Answer(std::function<void(HWND)> act) {
    Script({[this, act] {
      HWND h = FindWindowOfClass("MsgWnd");
      ASSERT_NE(h, nullptr);
      CPaintManagerUI* pm = PaintManagerOf(h);
      pm->RenderToImage();
      seen_.shown = IsWindowVisible(h);
      seen_.confirmVisible = pm->FindControl("confirm_btn")->IsVisible();
      seen_.cancelVisible = pm->FindControl("cancel_btn")->IsVisible();
      seen_.title = pm->FindControl("MessageTitle")->GetText().str();
      seen_.text = pm->FindControl("MessageText")->GetText().str();
      seen_.size = pm->GetClientSize();
      seen_.dpi = pm->GetDPIObj()->GetDPI();
      act(h);
    }});
  }
  Owner owner_;
  Seen seen_;
};

TEST_F(MsgWnd, ButtonsAndTheirResults) {
  struct Case {
    const char* what;
    int style;
    const char* press;  // control clicked; null: the Esc key
    int result;
    bool cancelShown;
  } cases[] = {
      {"style 0 closed with closebtn", 0, "closebtn", 0, false},
      {"style 0 confirmed", 0, "confirm_btn", 1, false},
      {"style 0 dismissed with Esc", 0, nullptr, 0, false},
      {"style 1 confirmed", 1, "confirm_btn", 1, true},
      {"style 1 cancelled", 1, "cancel_btn", 0, true},
      {"style 1 closed with closebtn", 1, "closebtn", 0, true},
  };
  for (const Case& c : cases) {
    seen_ = Seen{};
    Answer([this, c](HWND h) {
      if (c.press) {
        ClickControl(h, c.press);
      } else {
        Headless()->KeyPress(h, VK_ESCAPE);
      }
    });
    EXPECT_EQ(ShowMessageBox(owner_.GetHWND(), "", "message_text_22", 96, true, c.style), c.result) << c.what;
    EXPECT_TRUE(seen_.shown) << c.what;
    EXPECT_TRUE(seen_.confirmVisible) << c.what;
    EXPECT_EQ(seen_.cancelVisible, c.cancelShown) << c.what;
    EXPECT_EQ(seen_.text, "Reset this device to its default settings?") << c.what;
    EXPECT_EQ(FindWindowOfClass("MsgWnd"), nullptr) << c.what << ": the window is gone";
    EXPECT_TRUE(IsWindowEnabled(owner_.GetHWND())) << c.what;
  }
}

TEST_F(MsgWnd, TitleAndTextFollowTheirArguments) {
  struct Case {
    const char* what;
    const char* title;
    const char* text;
    bool resource;
    const char* shownTitle;
    const char* shownText;
  } cases[] = {
      {"a key with the flag is translated", "", "message_text_6", true, "Notice",
       "At least one button must keep the left-click function."},
      {"plain text is shown as it is", "Export", "Writing to the device failed (code 3).", false, "Export",
       "Writing to the device failed (code 3)."},
      {"a key without the flag stays a key", "", "message_text_6", false, "Notice", "message_text_6"},
      {"an empty text leaves the layout's text", "", "", true, "Notice", ""},
  };
  for (const Case& c : cases) {
    Answer([this](HWND h) { ClickControl(h, "confirm_btn"); });
    ShowMessageBox(owner_.GetHWND(), c.title, c.text, 96, c.resource, 0);
    EXPECT_EQ(seen_.title, c.shownTitle) << c.what;
    EXPECT_EQ(seen_.text, c.shownText) << c.what;
  }
}

TEST_F(MsgWnd, AnUnknownDpiFallsBackTo96) {
  owner_.GetPaintManager()->SetDPI(144);
  struct Case {
    int dpi;
    int shownDpi;
    bool error;
  } cases[] = {{97, 96, true}, {0, 96, true}, {144, 144, false}, {96, 96, false}};
  for (const Case& c : cases) {
    debugLines_.clear();
    Answer([this](HWND h) { ClickControl(h, "closebtn"); });
    EXPECT_EQ(ShowMessageBox(owner_.GetHWND(), "", "message_text_7", c.dpi, true, 0), 0);
    EXPECT_EQ(seen_.dpi, c.shownDpi) << c.dpi;
    EXPECT_EQ(seen_.size.cx, 400 * c.shownDpi / 96) << c.dpi;
    EXPECT_EQ(seen_.size.cy, 200 * c.shownDpi / 96) << c.dpi;
    EXPECT_EQ(Logged("MSG_WND DPI SET ERROR"), c.error) << c.dpi;
    // The owner keeps the DPI it was fitted to.
    EXPECT_EQ(owner_.GetPaintManager()->GetDPIObj()->GetDPI(), 144) << c.dpi;
  }
}

TEST_F(MsgWnd, TheWindowIsCentredOnItsOwner) {
  SetWindowPos(owner_.GetHWND(), nullptr, 200, 100, 1000, 640, SWP_NOZORDER);
  RECT rc{};
  Answer([&rc, this](HWND h) {
    GetWindowRect(h, &rc);
    ClickControl(h, "closebtn");
  });
  ShowMessageBox(owner_.GetHWND(), "", "message_text_7", 96, true, 0);
  EXPECT_EQ(rc.left, 200 + (1000 - 400) / 2);
  EXPECT_EQ(rc.top, 100 + (640 - 200) / 2);
}

TEST_F(MsgWnd, NumbersGoIntoMessageTextsWithoutFormatting) {
  CResourceManager* rm = CResourceManager::GetInstance();
  EXPECT_EQ(MessageTexts::FormatNumber("message_text_16", -103), "Writing to the device failed (code -103).");
  struct Case {
    const char* text;
    const char* shown;
  } cases[] = {
      {"100%% done: %d", "100% done: 7"},
      {"%s%n%x then %d and %d", "%s%n%x then 7 and %d"},
      {"no number", "no number"},
      {"trailing %", "trailing %"},
  };
  for (const Case& c : cases) {
    rm->AddText("probe_text", c.text);
    EXPECT_EQ(MessageTexts::FormatNumber("probe_text", 7), c.shown) << c.text;
  }
}

}  // namespace
}  // namespace ostrel::test
