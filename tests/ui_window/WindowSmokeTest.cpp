// Real windows on a private X server, driven by real input (xdotool): a
// click reaches a button, a modal window blocks its owner, a menu returns
// its command, the clipboard and cross-thread messages work.

#include <cairo.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "RecordingWindow.h"
#include "SdlTestFixture.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CMenuWnd.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CScreenshot.h"
#include "platform/ui/WindowApi.h"
#include "support/TestEnvironment.h"

namespace ostrel::test {
namespace {

constexpr const char* kOwnerLayout = R"(<Window size="300,200">
  <VerticalLayout bkcolor="#FF14161A" inset="20,20,20,20">
    <Button name="owner_btn" height="60" text="Owner" bkcolor="#FF262A31"/>
    <Control/>
  </VerticalLayout></Window>)";

constexpr const char* kModalLayout = R"(<Window size="200,100">
  <VerticalLayout bkcolor="#FF1C1F24" inset="10,10,10,10">
    <Button name="confirm_btn" text="OK" bkcolor="#FF0099FF"/>
  </VerticalLayout></Window>)";

constexpr const char* kMenuLayout = R"(<Window size="160,0">
  <Menu bkcolor="#FF1C1F24" inset="0,4,0,4">
    <MenuElement name="setwnd_menu" text="Settings" userdata="s"/>
    <MenuElement name="about_menu" text="About"/>
    <MenuElement name="exit" text="Exit" userdata="bye"/>
  </Menu></Window>)";

class WindowSmoke : public SdlTestFixture {
 protected:
  void SetUp() override {
    if (!StartX()) GTEST_SKIP() << "Xvfb or xdotool not available";
  }
  bool Shown(RecordingWindow& w) {
    return RunUntil([&] { return backend->PresentedPixels() > 0 && IsWindowVisible(w.GetHWND()); });
  }
};

TEST_F(WindowSmoke, AClickOnAButtonRaisesClick) {
  RecordingWindow w{kOwnerLayout};
  ASSERT_NE(w.Open(nullptr, 50, 40), nullptr);
  ASSERT_TRUE(Shown(w));
  auto done = ClickAt(w.ScreenCenterOf("owner_btn"));
  EXPECT_TRUE(RunUntil([&] { return w.Count("click", "owner_btn") == 1; }));
  EXPECT_EQ(done.get(), 0);
}

TEST_F(WindowSmoke, AModalWindowBlocksItsOwnerAndReturnsItsCode) {
  RecordingWindow owner{kOwnerLayout};
  ASSERT_NE(owner.Open(nullptr, 50, 40), nullptr);
  ASSERT_TRUE(Shown(owner));
  POINT ownerButton = owner.ScreenCenterOf("owner_btn");

  RecordingWindow modal{kModalLayout};
  ASSERT_NE(modal.Open(owner.GetHWND(), 500, 100, WS_POPUP, WS_EX_TOOLWINDOW), nullptr);
  std::atomic<bool> painted{false};
  modal.onNotify = [&](TNotifyUI& msg) {
    if (msg.sType == "windowinit") painted = true;
    if (msg.sType == "click" && msg.pSender->GetName() == "confirm_btn") modal.Close(7);
  };
  modal.onMessage = [&](const MSG& m) {
    if (m.message == WM_TIMER && m.wParam == 99) modal.Close(99);  // the test's own time limit
  };
  SetTimer(modal.GetHWND(), 99, 10000);
  std::thread input([&] {
    for (int i = 0; i < 500 && !painted; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ClickAt(ownerButton).get();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ClickAt(POINT{600, 150}).get();
  });
  UINT code = modal.ShowModal();
  input.join();
  EXPECT_EQ(code, 7u);
  EXPECT_EQ(owner.Count("click", "owner_btn"), 0);
  EXPECT_TRUE(IsWindowEnabled(owner.GetHWND()));
  // With the modal window gone the owner takes clicks again.
  auto again = ClickAt(ownerButton);
  EXPECT_TRUE(RunUntil([&] { return owner.Count("click", "owner_btn") == 1; }));
  again.get();
}

TEST_F(WindowSmoke, AMenuItemClickSendsItsCommandToTheOpener) {
  RecordingWindow owner{kOwnerLayout};
  ASSERT_NE(owner.Open(nullptr, 50, 40), nullptr);
  ASSERT_TRUE(Shown(owner));
  CMenuWnd* menu = CMenuWnd::CreateMenu(kMenuLayout, POINT{600, 500}, owner.GetPaintManager(), nullptr,
                                        eMenuAlignment_Right | eMenuAlignment_Bottom);
  ASSERT_NE(menu, nullptr);
  HWND hmenu = menu->GetHWND();
  RECT rc{};
  GetWindowRect(hmenu, &rc);
  // Anchored by its bottom-right corner, as rows of 28 in a 4-pixel inset.
  EXPECT_TRUE(EqualRect(rc, RECT{440, 408, 600, 500}));
  ASSERT_TRUE(RunUntil([&] { return menu->GetPaintManager()->FindControl("exit")->GetPos().bottom > 0; }));
  RECT exit = menu->GetPaintManager()->FindControl("exit")->GetPos();
  auto done = ClickAt(POINT{rc.left + (exit.left + exit.right) / 2, rc.top + (exit.top + exit.bottom) / 2});
  ASSERT_TRUE(RunUntil([&] { return owner.CountMessages(WM_MENUCLICK) == 1; }));
  done.get();
  const MSG* got = nullptr;
  for (const MSG& m : owner.messages)
    if (m.message == WM_MENUCLICK) got = &m;
  auto* cmd = reinterpret_cast<MenuCmd*>(got->wParam);
  EXPECT_STREQ(cmd->szName, "exit");
  EXPECT_STREQ(cmd->szUserData, "bye");
  EXPECT_STREQ(cmd->szText, "Exit");
  CPaintManagerUI::DeletePtr(cmd);
  EXPECT_TRUE(RunUntil([&] { return !IsWindow(hmenu); }));
  EXPECT_EQ(CMenuWnd::GetOpenMenu(), nullptr);
}

TEST_F(WindowSmoke, AClickElsewhereClosesTheMenuWithoutACommand) {
  RecordingWindow owner{kOwnerLayout};
  ASSERT_NE(owner.Open(nullptr, 50, 40), nullptr);
  ASSERT_TRUE(Shown(owner));
  CMenuWnd* menu = CMenuWnd::CreateMenu(kMenuLayout, POINT{500, 300}, owner.GetPaintManager());
  ASSERT_NE(menu, nullptr);
  HWND hmenu = menu->GetHWND();
  ASSERT_TRUE(RunUntil([&] { return GetActiveWindow() == hmenu; }));
  auto done = ClickAt(owner.ScreenCenterOf("owner_btn"));
  EXPECT_TRUE(RunUntil([&] { return !IsWindow(hmenu); }));
  done.get();
  EXPECT_EQ(owner.CountMessages(WM_MENUCLICK), 0);
}

constexpr const char* kInputLayout = R"(<Window size="300,200">
  <VerticalLayout bkcolor="#FF14161A" inset="20,20,20,20" childpadding="8">
    <Edit name="field" height="28" bkcolor="#FF262A31"/>
    <List name="rows" height="60" vscrollbar="true">
      <ListLabelElement text="1"/><ListLabelElement text="2"/><ListLabelElement text="3"/>
      <ListLabelElement text="4"/><ListLabelElement text="5"/><ListLabelElement text="6"/>
    </List>
    <Button name="twice" height="40" bkcolor="#FF262A31"/>
  </VerticalLayout></Window>)";

TEST_F(WindowSmoke, RealKeysTextDoubleClicksAndWheelReachTheControls) {
  RecordingWindow w{kInputLayout};
  ASSERT_NE(w.Open(nullptr, 50, 40), nullptr);
  ASSERT_TRUE(Shown(w));
  ClickAt(w.ScreenCenterOf("field")).get();
  ASSERT_TRUE(RunUntil([&] { return w.Count("setfocus", "field") == 1; }));
  auto typed = Xdotool("type --delay 20 'Ab1'");
  CControlUI* field = w.GetPaintManager()->FindControl("field");
  EXPECT_TRUE(RunUntil([&] { return field->GetText() == "Ab1"; }));
  typed.get();
  auto back = Xdotool("key BackSpace");
  EXPECT_TRUE(RunUntil([&] { return field->GetText() == "Ab"; }));
  back.get();

  POINT twice = w.ScreenCenterOf("twice");
  auto clicks = Xdotool("mousemove --sync " + std::to_string(twice.x) + " " + std::to_string(twice.y) +
                        " click --repeat 2 --delay 60 1");
  EXPECT_TRUE(RunUntil([&] { return w.CountMessages(WM_LBUTTONDBLCLK) == 1; }));
  clicks.get();

  POINT rows = w.ScreenCenterOf("rows");
  auto wheel =
      Xdotool("mousemove --sync " + std::to_string(rows.x) + " " + std::to_string(rows.y) + " click 5");
  EXPECT_TRUE(RunUntil([&] { return w.CountMessages(WM_MOUSEWHEEL) == 1; }));
  wheel.get();
  for (const MSG& m : w.messages) {
    if (m.message == WM_MOUSEWHEEL) {
      EXPECT_LT(static_cast<std::int16_t>(HIWORD(m.wParam)), 0);
    }
  }
}

TEST_F(WindowSmoke, ClipboardTextRoundTrips) {
  RecordingWindow w{kOwnerLayout};
  ASSERT_NE(w.Open(nullptr, 50, 40), nullptr);
  ASSERT_TRUE(Shown(w));
  backend->SetClipboardText("Kestrane \xE4\xB8\xAD");
  EXPECT_EQ(backend->GetClipboardText(), "Kestrane \xE4\xB8\xAD");
}

TEST_F(WindowSmoke, ASendFromAWorkerIsAnsweredWhileTheLoopWaits) {
  RecordingWindow w{kOwnerLayout};
  ASSERT_NE(w.Open(nullptr, 50, 40), nullptr);
  ASSERT_TRUE(Shown(w));
  constexpr UINT kAsk = WM_USER + 0x812;
  std::atomic<bool> answered{false};
  std::thread worker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    SendMessage(w.GetHWND(), kAsk, 3, 0);
    answered = true;
  });
  // One long wait in SDL: only the worker's wake-up ends it early.
  auto start = std::chrono::steady_clock::now();
  backend->WaitForEvents(20000);
  auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_LT(waited, std::chrono::seconds(10));
  EXPECT_TRUE(RunUntil([&] { return answered.load(); }, 5000));
  worker.join();
  EXPECT_EQ(w.CountMessages(kAsk), 1);
}

// The pixel (0xRRGGBB) of a PNG file at x, y; 0xFFFFFFFF when unreadable.
std::uint32_t PngPixel(const std::string& file, int x, int y) {
  cairo_surface_t* png = cairo_image_surface_create_from_png(file.c_str());
  std::uint32_t out = 0xFFFFFFFFu;
  if (cairo_surface_status(png) == CAIRO_STATUS_SUCCESS && x < cairo_image_surface_get_width(png) &&
      y < cairo_image_surface_get_height(png)) {
    const unsigned char* data = cairo_image_surface_get_data(png);
    out = *reinterpret_cast<const std::uint32_t*>(data + y * cairo_image_surface_get_stride(png) + x * 4) &
          0xFFFFFF;
  }
  cairo_surface_destroy(png);
  return out;
}

TEST_F(WindowSmoke, AScreenshotHoldsWhatTheWindowShows) {
  RecordingWindow w{kOwnerLayout};
  ASSERT_NE(w.Open(nullptr, 50, 40), nullptr);
  ASSERT_TRUE(Shown(w));
  TempDir dir;
  std::string file = (dir.path() / "shot.png").string();
  ASSERT_TRUE(CScreenshot::SaveWindow(w.GetHWND(), file.c_str()));
  POINT button = w.CenterOf("owner_btn");
  EXPECT_EQ(PngPixel(file, button.x, button.y), 0x262A31u);
  EXPECT_EQ(PngPixel(file, 5, 190), 0x14161Au);
  EXPECT_FALSE(CScreenshot::SaveWindow(w.GetHWND(), (dir.path() / "no" / "such.png").c_str()));
}

TEST_F(WindowSmoke, AnArmedScreenshotSavesTheShownWindowAndEndsTheLoop) {
  TempDir dir;
  std::string file = (dir.path() / "armed.png").string();
  RecordingWindow w{kOwnerLayout};
  ASSERT_NE(w.Open(nullptr, 50, 40), nullptr);
  ASSERT_TRUE(CScreenshot::Arm(file, 200, true));
  // The test's own limit: a loop that never ends would be a failure.
  w.onMessage = [](const MSG& m) {
    if (m.message == WM_TIMER && m.wParam == 98) PostQuitMessage(98);
  };
  SetTimer(w.GetHWND(), 98, 10000);
  int code = CMessageLoop::Instance().Run();
  EXPECT_EQ(code, 0);
  POINT button = w.CenterOf("owner_btn");
  EXPECT_EQ(PngPixel(file, button.x, button.y), 0x262A31u);
}

}  // namespace
}  // namespace ostrel::test
