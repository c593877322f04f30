#include <gtest/gtest.h>

#include "UiTestWindow.h"
#include "platform/ui/CButtonUI.h"
#include "platform/ui/CContainerUI.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/WindowApi.h"

namespace ostrel::test {
namespace {

constexpr const char* kKeys = R"(<Window size="400,100"><HorizontalLayout name="root" childpadding="4">
    <Button name="key_1"/><Button name="key_2"/><Button name="key_3" tooltip="third key"/><Button name="key_4"/>
    <Option name="o1" group="g" selected="true"/><Option name="o2" group="g"/><Option name="solo"/>
  </HorizontalLayout></Window>)";

class UiDispatch : public UiTest {
 protected:
  void Open() { ASSERT_NE(w.CreateShown(), nullptr); }
  void ClickOn(const char* name, WPARAM keys = 0) {
    POINT p = w.CenterOf(name);
    Headless()->Click(w.GetHWND(), p.x, p.y, keys);
    Pump();
  }
  UiTestWindow w{kKeys};
};

TEST_F(UiDispatch, AClickAtAControlRaisesClickFromIt) {
  Open();
  EXPECT_EQ(w.Count("windowinit"), 1);
  ClickOn("key_3");
  EXPECT_EQ(w.Count("click"), 1);
  EXPECT_EQ(w.Count("click", "key_3"), 1);
  EXPECT_EQ(w.Count("setfocus", "key_3"), 1);
  ClickOn("key_1");
  EXPECT_EQ(w.Count("killfocus", "key_3"), 1);
  EXPECT_EQ(w.Count("click", "key_1"), 1);
}

TEST_F(UiDispatch, ReleasingOutsideThePressedButtonIsNoClick) {
  Open();
  POINT a = w.CenterOf("key_2");
  POINT b = w.CenterOf("key_4");
  HWND h = w.GetHWND();
  Headless()->MouseDown(h, a.x, a.y);
  Headless()->MouseMove(h, b.x, b.y);
  Pump();
  auto* key2 = static_cast<CButtonUI*>(w.GetPaintManager()->FindControl("key_2"));
  EXPECT_TRUE(key2->GetButtonState() & UISTATE_CAPTURED);
  EXPECT_FALSE(key2->GetButtonState() & UISTATE_PUSHED);
  Headless()->MouseUp(h, b.x, b.y);
  Pump();
  EXPECT_EQ(w.Count("click"), 0);
  EXPECT_EQ(key2->GetButtonState() & (UISTATE_CAPTURED | UISTATE_PUSHED), 0u);
}

TEST_F(UiDispatch, DisabledAndHiddenControlsDoNotClick) {
  Open();
  POINT p = w.CenterOf("key_2");
  w.GetPaintManager()->FindControl("key_2")->SetEnabled(false);
  Headless()->Click(w.GetHWND(), p.x, p.y);
  Pump();
  EXPECT_EQ(w.Count("click"), 0);
  w.GetPaintManager()->FindControl("key_2")->SetEnabled(true);
  w.GetPaintManager()->FindControl("key_2")->SetVisible(false);
  Pump();
  Headless()->Click(w.GetHWND(), p.x, p.y);
  Pump();
  EXPECT_EQ(w.Count("click", "key_2"), 0);
}

TEST_F(UiDispatch, NotifyMapFindsTheHandlerByTypeAndName) {
  std::vector<std::string> calls;
  w.AddNotifyHandler(
      "click", [&](TNotifyUI& m) { calls.push_back("named:" + m.pSender->GetName().str()); }, "key_2");
  w.AddNotifyHandler("click", [&](TNotifyUI& m) { calls.push_back("any:" + m.pSender->GetName().str()); });
  Open();
  ClickOn("key_2");
  ClickOn("key_4");
  EXPECT_EQ(calls, (std::vector<std::string>{"named:key_2", "any:key_4"}));
}

TEST_F(UiDispatch, VirtualWindowPumpsGetTheirControlsNotifications) {
  struct Page : CNotifyPump {
    Page() {
      AddNotifyHandler("click", [this](TNotifyUI& m) { clicked.push_back(m.pSender->GetName().str()); });
    }
    std::vector<std::string> clicked;
  } page;
  std::vector<std::string> window;
  w.AddNotifyHandler("click", [&](TNotifyUI& m) { window.push_back(m.pSender->GetName().str()); });
  ASSERT_TRUE(w.AddVirtualWnd("mainpage", &page));
  EXPECT_FALSE(w.AddVirtualWnd("mainpage", &page));
  Open();
  w.GetPaintManager()->FindControl("key_1")->SetVirtualWnd("mainpage");
  ClickOn("key_1");
  ClickOn("key_2");
  EXPECT_EQ(page.clicked, (std::vector<std::string>{"key_1"}));
  EXPECT_EQ(window, (std::vector<std::string>{"key_2"}));
  w.RemoveVirtualWnd("mainpage");
}

TEST_F(UiDispatch, OptionGroupsSelectExclusively) {
  Open();
  CPaintManagerUI* pm = w.GetPaintManager();
  auto* o1 = static_cast<COptionUI*>(pm->FindControl("o1"));
  auto* o2 = static_cast<COptionUI*>(pm->FindControl("o2"));
  auto* solo = static_cast<COptionUI*>(pm->FindControl("solo"));
  ASSERT_TRUE(o1->IsSelected());
  ClickOn("o2");
  EXPECT_TRUE(o2->IsSelected());
  EXPECT_FALSE(o1->IsSelected());
  EXPECT_EQ(w.Count("selectchanged"), 1);
  EXPECT_EQ(w.Count("selectchanged", "o2"), 1);
  ClickOn("o2");  // a selected group member stays selected
  EXPECT_TRUE(o2->IsSelected());
  EXPECT_EQ(w.Count("selectchanged"), 1);
  ClickOn("solo");
  ClickOn("solo");
  EXPECT_FALSE(solo->IsSelected());
  EXPECT_EQ(w.Count("selectchanged", "solo"), 2);
  o1->Selected(true, false);  // quietly
  EXPECT_FALSE(o2->IsSelected());
  EXPECT_EQ(w.Count("selectchanged"), 3);
}

TEST_F(UiDispatch, ControlTimersArriveAsTimerNotifications) {
  Open();
  CPaintManagerUI* pm = w.GetPaintManager();
  CControlUI* key = pm->FindControl("key_1");
  ASSERT_TRUE(pm->SetTimer(key, 100, 50));
  ASSERT_TRUE(pm->SetTimer(pm->FindControl("key_2"), 100, 120));
  Advance(130);
  EXPECT_EQ(w.Count("timer", "key_1"), 2);
  EXPECT_EQ(w.Count("timer", "key_2"), 1);
  for (const auto& s : w.seen) {
    if (s.type == "timer") {
      EXPECT_EQ(s.wParam, 100u);
    }
  }
  EXPECT_TRUE(pm->KillTimer(key, 100));
  EXPECT_FALSE(pm->KillTimer(key, 100));
  Advance(200);
  EXPECT_EQ(w.Count("timer", "key_1"), 2);
  // A removed control takes its timers with it.
  auto* root = static_cast<CContainerUI*>(pm->FindControl("root"));
  root->Remove(pm->FindControl("key_2"));
  Advance(500);
  EXPECT_EQ(w.Count("timer", "key_2"), 2);
  EXPECT_EQ(pm->FindControl("key_2"), nullptr);
}

TEST_F(UiDispatch, HoverEntersLeavesAndShowsTheToolTip) {
  Open();
  auto* key3 = static_cast<CButtonUI*>(w.GetPaintManager()->FindControl("key_3"));
  POINT p = w.CenterOf("key_3");
  Headless()->MouseMove(w.GetHWND(), p.x, p.y);
  Pump();
  EXPECT_TRUE(key3->GetButtonState() & UISTATE_HOT);
  EXPECT_EQ(Headless()->ToolTipText(), "");
  Advance(CPaintManagerUI::kToolTipDelayMs + 10);
  EXPECT_EQ(Headless()->ToolTipText(), "third key");
  POINT q = w.CenterOf("key_1");
  Headless()->MouseMove(w.GetHWND(), q.x, q.y);
  Pump();
  EXPECT_FALSE(key3->GetButtonState() & UISTATE_HOT);
  EXPECT_EQ(Headless()->ToolTipText(), "");
  // The two-part tip shows its title above its text.
  CControlUI* key1 = w.GetPaintManager()->FindControl("key_1");
  key1->SetUserToolTipTitle("Key 1");
  key1->SetUserToolTipText("Left button");
  Headless()->MouseMove(w.GetHWND(), q.x + 1, q.y);
  Advance(CPaintManagerUI::kToolTipDelayMs + 10);
  EXPECT_EQ(Headless()->ToolTipText(), "Key 1\nLeft button");
  Headless()->PostInput(w.GetHWND(), WM_MOUSELEAVE, 0, 0);
  Pump();
  EXPECT_EQ(Headless()->ToolTipText(), "");
}

TEST_F(UiDispatch, KeyboardActivatesTheFocusedButtonAndTabMovesFocus) {
  Open();
  CPaintManagerUI* pm = w.GetPaintManager();
  pm->FindControl("key_1")->SetFocus();
  Headless()->KeyPress(w.GetHWND(), VK_SPACE);
  Pump();
  EXPECT_EQ(w.Count("click", "key_1"), 1);
  Headless()->KeyPress(w.GetHWND(), VK_TAB);
  Pump();
  EXPECT_EQ(pm->GetFocus(), pm->FindControl("key_2"));
}

}  // namespace
}  // namespace ostrel::test
