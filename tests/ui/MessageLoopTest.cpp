#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "UiTestWindow.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/WindowApi.h"

namespace ostrel::test {
namespace {

constexpr const char* kSimple = R"(<Window size="200,100"><VerticalLayout name="root">
    <Button name="closebtn" height="20"/><Button name="minbtn" height="20"/><Button name="maxbtn" height="20"/>
    <Button name="restorebtn" height="20" visible="false"/><Button name="ok" height="20"/>
  </VerticalLayout></Window>)";

class UiMessageLoop : public UiTest {
 protected:
  std::vector<UINT> CustomNumbers(const UiTestWindow& w, UINT from) const {
    std::vector<UINT> out;
    for (const MSG& m : w.custom)
      if (m.message >= from && m.message < from + 0x100) out.push_back(m.message);
    return out;
  }
};

TEST_F(UiMessageLoop, RegisteredMessagesAreStablePerName) {
  UINT a = RegisterWindowMessage("{4695579F-999A-41d4-9FAF-EFFCE93EBF15}");
  UINT b = RegisterWindowMessage("Kestrane-test-other");
  EXPECT_GE(a, 0xC000u);
  EXPECT_LE(a, 0xFFFFu);
  EXPECT_NE(a, b);
  EXPECT_EQ(RegisterWindowMessage("{4695579F-999A-41d4-9FAF-EFFCE93EBF15}"), a);
  UINT fromThread = 0;
  std::thread t([&] { fromThread = RegisterWindowMessage("Kestrane-test-other"); });
  t.join();
  EXPECT_EQ(fromThread, b);
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST_F(UiMessageLoop, PostedMessagesArriveInOrderAtTheCustomHook) {
  UiTestWindow w(kSimple);
  ASSERT_NE(w.CreateShown(), nullptr);
  PostMessage(w.GetHWND(), WM_USER + 0x812, 3, 0);
  PostMessage(w.GetHWND(), WM_USER + 0x813, 4, 0);
  PostMessage(w.GetHWND(), WM_USER + 0x811, 1, 0);
  Pump();
  EXPECT_EQ(CustomNumbers(w, WM_USER + 0x800),
            (std::vector<UINT>{WM_USER + 0x812, WM_USER + 0x813, WM_USER + 0x811}));
}

TEST_F(UiMessageLoop, SendMessageFromAWorkerWaitsForTheUiThread) {
  UiTestWindow w(kSimple);
  ASSERT_NE(w.CreateShown(), nullptr);
  std::atomic<bool> handledOnUi{false};
  std::thread::id ui = std::this_thread::get_id();
  w.onCustom = [&](UINT msg, WPARAM wp, LPARAM, BOOL& handled) -> LRESULT {
    if (msg != WM_USER + 0x812) return 0;
    handled = TRUE;
    handledOnUi = std::this_thread::get_id() == ui;
    return static_cast<LRESULT>(wp * 10);
  };
  HWND h = w.GetHWND();
  LRESULT answer = -1;
  std::thread worker([&] {
    answer = SendMessage(h, WM_USER + 0x812, 7, 0);
    PostQuitMessage(0);
  });
  int code = CMessageLoop::Instance().Run();
  worker.join();
  EXPECT_EQ(code, 0);
  EXPECT_EQ(answer, 70);
  EXPECT_TRUE(handledOnUi);
  // On the UI thread it calls straight through.
  EXPECT_EQ(SendMessage(h, WM_USER + 0x812, 2, 0), 20);
}

TEST_F(UiMessageLoop, ASendToAWindowThatGoesAwayReturnsZero) {
  UiTestWindow w(kSimple);
  ASSERT_NE(w.CreateShown(), nullptr);
  HWND h = w.GetHWND();
  std::atomic<bool> sent{false};
  LRESULT answer = -1;
  std::thread worker([&] {
    sent = true;
    answer = SendMessage(h, WM_USER + 0x812, 7, 0);
  });
  while (!sent) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  DestroyWindow(h);
  worker.join();
  EXPECT_EQ(answer, 0);
}

TEST_F(UiMessageLoop, WindowTimersArriveAsWmTimer) {
  UiTestWindow w(kSimple);
  ASSERT_NE(w.CreateShown(), nullptr);
  SetTimer(w.GetHWND(), 1011, 100);
  Advance(350);
  int fired = 0;
  for (const MSG& m : w.custom)
    if (m.message == WM_TIMER && m.wParam == 1011) ++fired;
  EXPECT_EQ(fired, 3);
  KillTimer(w.GetHWND(), 1011);
  Advance(300);
  int after = 0;
  for (const MSG& m : w.custom)
    if (m.message == WM_TIMER && m.wParam == 1011) ++after;
  EXPECT_EQ(after, 3);
}

TEST_F(UiMessageLoop, CaptionButtonsDriveTheWindowState) {
  UiTestWindow w(kSimple);
  ASSERT_NE(w.CreateShown(), nullptr);
  HWND h = w.GetHWND();
  POINT p = w.CenterOf("maxbtn");
  Headless()->Click(h, p.x, p.y);
  Pump();
  EXPECT_TRUE(IsZoomed(h));
  EXPECT_FALSE(w.GetPaintManager()->FindControl("maxbtn")->IsVisible());
  EXPECT_TRUE(w.GetPaintManager()->FindControl("restorebtn")->IsVisible());
  p = w.CenterOf("restorebtn");
  Headless()->Click(h, p.x, p.y);
  Pump();
  EXPECT_FALSE(IsZoomed(h));
  p = w.CenterOf("minbtn");
  Headless()->Click(h, p.x, p.y);
  Pump();
  EXPECT_TRUE(IsIconic(h));
  ShowWindow(h, SW_RESTORE);
  p = w.CenterOf("closebtn");
  Headless()->Click(h, p.x, p.y);
  Pump();
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(UiMessageLoop, AltF4ClosesThroughSysCommand) {
  UiTestWindow w(kSimple);
  ASSERT_NE(w.CreateShown(), nullptr);
  HWND h = w.GetHWND();
  PostMessage(h, WM_SYSKEYDOWN, VK_F4, 0);
  Pump();
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(UiMessageLoop, ShowModalReturnsTheCloseCodeAndBlocksTheOwner) {
  UiTestWindow owner(kSimple);
  ASSERT_NE(owner.CreateShown(), nullptr);
  auto* dialog = new UiTestWindow(kSimple);
  bool ownerDisabled = false;
  dialog->onNotify = [&](TNotifyUI& m) {
    if (m.sType == "click" && m.pSender->GetName() == "ok") {
      ownerDisabled = !IsWindowEnabled(owner.GetHWND());
      dialog->Close(1);
    }
  };
  dialog->Create(owner.GetHWND(), "dialog", WS_POPUP, 0, 0, 0, 0, 0);
  HWND dh = dialog->GetHWND();
  ASSERT_NE(dh, nullptr);
  // Input arrives once the modal loop runs it.
  Headless()->SetIdleHandler([&, done = false]() mutable {
    if (done) return false;
    done = true;
    POINT p = dialog->CenterOf("ok");
    Headless()->Click(dh, p.x, p.y);
    return true;
  });
  UINT result = dialog->ShowModal();
  Headless()->SetIdleHandler({});
  EXPECT_EQ(result, 1u);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner.GetHWND()));
  EXPECT_FALSE(IsWindow(dh));
  delete dialog;
}

TEST_F(UiMessageLoop, QuitInsideAModalLoopReachesTheOuterLoop) {
  UiTestWindow w(kSimple);
  ASSERT_NE(w.CreateShown(), nullptr);
  PostQuitMessage(3);
  w.ShowModal();
  EXPECT_TRUE(IsWindow(w.GetHWND()));
  EXPECT_EQ(CMessageLoop::Instance().Run(), 3);
}

}  // namespace
}  // namespace ostrel::test

namespace ostrel::test {
namespace {

int g_procCalls = 0;
UINT_PTR g_procId = 0;
void CountTimer(HWND, UINT msg, UINT_PTR id, DWORD) {
  if (msg == WM_TIMER) ++g_procCalls;
  g_procId = id;
}

TEST_F(UiMessageLoop, TimerProceduresAreCalledInsteadOfWmTimer) {
  UiTestWindow w(kSimple);
  ASSERT_NE(w.CreateShown(), nullptr);
  g_procCalls = 0;
  SetTimer(w.GetHWND(), 1031, 50, &CountTimer);
  Advance(120);
  EXPECT_EQ(g_procCalls, 2);
  EXPECT_EQ(g_procId, 1031u);
  for (const MSG& m : w.custom) EXPECT_FALSE(m.message == WM_TIMER && m.wParam == 1031);
  KillTimer(w.GetHWND(), 1031);
}

TEST_F(UiMessageLoop, TopmostFollowsSetWindowPos) {
  UiTestWindow w(kSimple);
  ASSERT_NE(w.CreateShown(), nullptr);
  SetWindowPos(w.GetHWND(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_TRUE(CMessageLoop::Instance().Find(w.GetHWND())->topmost);
  SetWindowPos(w.GetHWND(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_FALSE(CMessageLoop::Instance().Find(w.GetHWND())->topmost);
}

}  // namespace
}  // namespace ostrel::test

namespace ostrel::test {
namespace {

TEST_F(UiMessageLoop, PostsFromManyThreadsAllArriveInEachThreadsOrder) {
  UiTestWindow w(kSimple);
  ASSERT_NE(w.CreateShown(), nullptr);
  constexpr int kThreads = 4;
  constexpr int kEach = 500;
  std::vector<std::vector<int>> seen(kThreads);
  w.onCustom = [&](UINT msg, WPARAM wp, LPARAM lp, BOOL& handled) -> LRESULT {
    if (msg != WM_USER + 0x4C8) return 0;
    handled = TRUE;
    seen[wp].push_back(static_cast<int>(lp));
    int total = 0;
    for (const auto& s : seen) total += static_cast<int>(s.size());
    if (total == kThreads * kEach) PostQuitMessage(0);
    return 0;
  };
  HWND h = w.GetHWND();
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t)
    workers.emplace_back([h, t] {
      for (int i = 0; i < kEach; ++i) PostMessage(h, WM_USER + 0x4C8, static_cast<WPARAM>(t), i);
    });
  CMessageLoop::Instance().Run();
  for (auto& t : workers) t.join();
  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(seen[t].size(), static_cast<std::size_t>(kEach));
    for (int i = 0; i < kEach; ++i) ASSERT_EQ(seen[t][i], i);
  }
}

}  // namespace
}  // namespace ostrel::test
