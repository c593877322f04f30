// The SDL backend on SDL's dummy video driver: native events are fed to the
// backend by hand and must arrive as the toolkit's window messages.

#include <cairo.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "RecordingWindow.h"
#include "SdlTestFixture.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/CMenuWnd.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CSdlToolTip.h"
#include "platform/ui/WindowApi.h"

namespace ostrel::test {
namespace {

constexpr const char* kLayout = R"(<Window size="300,200" caption="0,0,0,30" sizebox="4,4,4,4">
  <VerticalLayout bkcolor="#FF14161A">
    <HorizontalLayout height="30"><Control/><Button name="closebtn" width="30" bkcolor="#FF262A31"/></HorizontalLayout>
    <Button name="ok" height="40" text="OK" tooltip="confirms" cursor="hand" bkcolor="#FF0099FF"/>
    <Edit name="field" height="28"/>
    <Label name="plain" height="28" text="plain"/>
    <Control/>
  </VerticalLayout></Window>)";

class WindowSdl : public SdlTestFixture {
 protected:
  void SetUp() override {
    if (!StartDummy()) GTEST_SKIP() << "SDL dummy video driver not available";
    ASSERT_NE(w.Open(nullptr, 40, 30), nullptr);
    CMessageLoop::Instance().PumpPending();
    id = SDL_GetWindowID(backend->NativeWindow(w.GetHWND()));
    w.messages.clear();
  }
  void Feed(const SDL_Event& e) {
    backend->Translate(e);
    CMessageLoop::Instance().PumpPending();
  }
  SDL_Event Button(Uint32 type, Uint8 button, int x, int y, Uint8 clicks = 1) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = id;
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = clicks;
    e.button.x = x;
    e.button.y = y;
    return e;
  }
  SDL_Event Motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = id;
    e.motion.x = x;
    e.motion.y = y;
    return e;
  }
  SDL_Event Key(Uint32 type, SDL_Keycode key, Uint16 mod = 0, Uint8 repeat = 0) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = id;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    e.key.repeat = repeat;
    return e;
  }
  SDL_Event Text(const char* text) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = id;
    SDL_strlcpy(e.text.text, text, sizeof e.text.text);
    return e;
  }
  SDL_Event WindowEvent(Uint8 what, int data1 = 0, int data2 = 0) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = id;
    e.window.event = what;
    e.window.data1 = data1;
    e.window.data2 = data2;
    return e;
  }
  std::vector<MSG> Only(std::initializer_list<UINT> kinds) const {
    std::vector<MSG> out;
    for (const MSG& m : w.messages)
      for (UINT k : kinds)
        if (m.message == k) out.push_back(m);
    return out;
  }

  RecordingWindow w{kLayout};
  Uint32 id = 0;
};

TEST_F(WindowSdl, MouseButtonsAndWheelBecomeWindowMessages) {
  struct Case {
    const char* what;
    SDL_Event event;
    std::vector<UINT> messages;
  };
  const Case cases[] = {
      {"left press", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 50), {WM_LBUTTONDOWN}},
      {"left release", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 10, 50), {WM_LBUTTONUP}},
      {"second press of a series",
       Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 50, 2),
       {WM_LBUTTONDBLCLK}},
      {"third press starts again", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 50, 3), {WM_LBUTTONDOWN}},
      {"right release opens the context menu",
       Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 10, 50),
       {WM_RBUTTONUP, WM_CONTEXTMENU}},
      {"middle press", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 10, 50), {WM_MBUTTONDOWN}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    w.messages.clear();
    Feed(c.event);
    auto seen =
        Only({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_CONTEXTMENU, WM_MBUTTONDOWN});
    ASSERT_EQ(seen.size(), c.messages.size());
    for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i].message, c.messages[i]);
    if (seen[0].message == WM_CONTEXTMENU || seen.size() > 1) {
      // The context menu point is on the screen: client point plus the window's origin.
      EXPECT_EQ(GET_X_LPARAM(seen[1].lParam), 50);
      EXPECT_EQ(GET_Y_LPARAM(seen[1].lParam), 80);
    } else {
      EXPECT_EQ(GET_X_LPARAM(seen[0].lParam), 10);
      EXPECT_EQ(GET_Y_LPARAM(seen[0].lParam), 50);
    }
  }

  w.messages.clear();
  SDL_Event wheel{};
  wheel.type = SDL_MOUSEWHEEL;
  wheel.wheel.windowID = id;
  wheel.wheel.y = -2;
  Feed(wheel);
  auto seen = Only({WM_MOUSEWHEEL});
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(static_cast<std::int16_t>(HIWORD(seen[0].wParam)), -240);
}

TEST_F(WindowSdl, KeysAndTextInputBecomeKeyAndCharacterMessages) {
  Feed(Key(SDL_KEYDOWN, SDLK_a));
  Feed(Key(SDL_KEYDOWN, SDLK_a, 0, 1));
  Feed(Key(SDL_KEYUP, SDLK_a));
  Feed(Key(SDL_KEYDOWN, SDLK_RETURN));
  Feed(Key(SDL_KEYDOWN, SDLK_c, KMOD_LCTRL));
  Feed(Text("a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"));  // a é 中 😀
  auto seen = Only({WM_KEYDOWN, WM_KEYUP, WM_CHAR});
  struct Expected {
    UINT message;
    WPARAM w;
    std::uint32_t flags;
  };
  const Expected expected[] = {
      {WM_KEYDOWN, 'A', 1},
      {WM_KEYDOWN, 'A', 0x40000001u},
      {WM_KEYUP, 'A', 0xC0000001u},
      {WM_KEYDOWN, VK_RETURN, 1},
      {WM_CHAR, VK_RETURN, 1},
      {WM_KEYDOWN, 'C', 1},
      {WM_CHAR, 'a', 1},
      {WM_CHAR, 0xE9, 1},
      {WM_CHAR, 0x4E2D, 1},
      {WM_CHAR, 0x1F600, 1},
  };
  ASSERT_EQ(seen.size(), std::size(expected));
  for (std::size_t i = 0; i < seen.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(seen[i].message, expected[i].message);
    EXPECT_EQ(seen[i].wParam, expected[i].w);
    EXPECT_EQ(static_cast<std::uint32_t>(seen[i].lParam), expected[i].flags);
  }
}

TEST_F(WindowSdl, AltF4ClosesTheWindow) {
  HWND h = w.GetHWND();
  Feed(Key(SDL_KEYDOWN, SDLK_F4, KMOD_LALT));
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(WindowSdl, TypedTextReachesTheFocusedEdit) {
  POINT field = w.CenterOf("field");
  Feed(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, field.x, field.y));
  Feed(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, field.x, field.y));
  Feed(Text("h\xC3\xA9llo"));
  Feed(Key(SDL_KEYDOWN, SDLK_BACKSPACE));
  auto* edit = static_cast<CEditUI*>(w.GetPaintManager()->FindControl("field"));
  EXPECT_EQ(edit->GetText().str(), "h\xC3\xA9ll");
}

TEST_F(WindowSdl, ADisabledWindowGetsNoInput) {
  EnableWindow(w.GetHWND(), false);
  Feed(Motion(20, 50));
  Feed(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 20, 50));
  Feed(Key(SDL_KEYDOWN, SDLK_a));
  Feed(Text("x"));
  Feed(WindowEvent(SDL_WINDOWEVENT_CLOSE));
  EXPECT_TRUE(Only({WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_KEYDOWN, WM_CHAR, WM_SYSCOMMAND}).empty());
  EXPECT_TRUE(IsWindow(w.GetHWND()));
  EXPECT_EQ(w.Count("click"), 0);
}

TEST_F(WindowSdl, OnlyTheChangedRectangleIsPresentedAndTheSurfaceShowsTheFrame) {
  ASSERT_TRUE(RunUntil([&] { return backend->PresentedPixels() > 0; }));
  RECT ok = w.GetPaintManager()->FindControl("ok")->GetPos();
  cairo_surface_t* shot = backend->CaptureWindow(w.GetHWND());
  ASSERT_NE(shot, nullptr);
  auto pixel = [&](int x, int y) {
    const unsigned char* data = cairo_image_surface_get_data(shot);
    return *reinterpret_cast<const std::uint32_t*>(data + y * cairo_image_surface_get_stride(shot) + x * 4) &
           0xFFFFFF;
  };
  EXPECT_EQ(pixel(ok.left + 3, ok.top + 3), 0x0099FFu);
  EXPECT_EQ(pixel(150, 190), 0x14161Au);
  cairo_surface_destroy(shot);

  long long before = backend->PresentedPixels();
  w.GetPaintManager()->FindControl("ok")->SetText("Changed");
  ASSERT_TRUE(RunUntil([&] { return backend->PresentedPixels() > before; }));
  RECT last = backend->LastPresentedRect();
  EXPECT_TRUE(EqualRect(last, ok)) << last.left << "," << last.top << "," << last.right << "," << last.bottom;
}

TEST_F(WindowSdl, FrameHitTestFollowsCaptionAndSizeBox) {
  POINT close = w.CenterOf("closebtn");
  struct Case {
    const char* what;
    POINT at;
    SDL_HitTestResult expected;
  };
  const Case cases[] = {
      {"caption", {100, 15}, SDL_HITTEST_DRAGGABLE},
      {"button in the caption", close, SDL_HITTEST_NORMAL},
      {"client area", {100, 120}, SDL_HITTEST_NORMAL},
      {"bottom right corner", {298, 198}, SDL_HITTEST_RESIZE_BOTTOMRIGHT},
      {"left edge", {1, 120}, SDL_HITTEST_RESIZE_LEFT},
      {"top edge", {100, 1}, SDL_HITTEST_RESIZE_TOP},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(backend->HitTest(w.GetHWND(), c.at), c.expected);
  }
  EnableWindow(w.GetHWND(), false);
  EXPECT_EQ(backend->HitTest(w.GetHWND(), POINT{100, 15}), SDL_HITTEST_NORMAL);
}

TEST_F(WindowSdl, PointerShapeFollowsTheControlUnderIt) {
  struct Case {
    const char* what;
    POINT at;
    SDL_SystemCursor expected;
  };
  const Case cases[] = {
      {"button asking for the hand", w.CenterOf("ok"), SDL_SYSTEM_CURSOR_HAND},
      {"caption keeps the arrow", {100, 15}, SDL_SYSTEM_CURSOR_ARROW},
      {"edit", w.CenterOf("field"), SDL_SYSTEM_CURSOR_IBEAM},
      {"label", w.CenterOf("plain"), SDL_SYSTEM_CURSOR_ARROW},
      {"size box corner", {298, 198}, SDL_SYSTEM_CURSOR_SIZENWSE},
      {"right edge", {298, 120}, SDL_SYSTEM_CURSOR_SIZEWE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Feed(Motion(c.at.x, c.at.y));
    EXPECT_EQ(backend->CurrentCursor(), c.expected);
  }
}

TEST_F(WindowSdl, ToolTipShowsAfterHoverAndGoesWhenThePointerLeaves) {
  POINT ok = w.CenterOf("ok");
  Feed(Motion(ok.x, ok.y));
  EXPECT_FALSE(backend->ToolTip().IsVisible());
  ASSERT_TRUE(RunUntil([&] { return backend->ToolTip().IsVisible(); }, 3000));
  EXPECT_EQ(backend->ToolTip().Text(), "confirms");
  Feed(WindowEvent(SDL_WINDOWEVENT_LEAVE));
  EXPECT_FALSE(backend->ToolTip().IsVisible());
  EXPECT_EQ(w.CountMessages(WM_MOUSELEAVE), 1);
}

TEST_F(WindowSdl, MovesAndResizesByTheWindowSystemReachTheWindow) {
  Feed(WindowEvent(SDL_WINDOWEVENT_MOVED, 300, 200));
  Feed(WindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, 400, 260));
  RECT rc{};
  GetWindowRect(w.GetHWND(), &rc);
  EXPECT_TRUE(EqualRect(rc, RECT{300, 200, 700, 460}));
  EXPECT_EQ(w.CountMessages(WM_MOVE), 1);
  EXPECT_EQ(w.CountMessages(WM_SIZE), 1);
  ASSERT_TRUE(RunUntil([&] { return w.GetPaintManager()->GetRoot()->GetPos().right == 400; }));
  Feed(WindowEvent(SDL_WINDOWEVENT_MINIMIZED));
  EXPECT_TRUE(IsIconic(w.GetHWND()));
  Feed(WindowEvent(SDL_WINDOWEVENT_RESTORED));
  EXPECT_FALSE(IsIconic(w.GetHWND()));
}

TEST_F(WindowSdl, LosingTheFocusToAnotherProgramDeactivates) {
  ASSERT_EQ(GetActiveWindow(), w.GetHWND());
  Feed(WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
  backend->WaitForEvents(0);
  CMessageLoop::Instance().PumpPending();
  EXPECT_EQ(GetActiveWindow(), nullptr);
  bool inactive = false;
  for (const MSG& m : w.messages) inactive |= m.message == WM_ACTIVATE && LOWORD(m.wParam) == WA_INACTIVE;
  EXPECT_TRUE(inactive);
  Feed(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
  EXPECT_EQ(GetActiveWindow(), w.GetHWND());
}

TEST_F(WindowSdl, AMenuClosesWhenTheProgramLosesTheFocus) {
  CMenuWnd* menu = CMenuWnd::CreateMenu(
      R"(<Window size="120,0"><Menu><MenuElement name="exit" text="Exit"/></Menu></Window>)", POINT{100, 100},
      w.GetPaintManager());
  ASSERT_NE(menu, nullptr);
  HWND h = menu->GetHWND();
  CMessageLoop::Instance().PumpPending();
  ASSERT_EQ(GetActiveWindow(), h);
  SDL_Event lost = WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  lost.window.windowID = SDL_GetWindowID(backend->NativeWindow(h));
  backend->Translate(lost);
  backend->WaitForEvents(0);
  CMessageLoop::Instance().PumpPending();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(w.CountMessages(WM_MENUCLICK), 0);
}

TEST_F(WindowSdl, ScreenAndMonitorComeFromTheDisplay) {
  SDL_Rect bounds;
  ASSERT_EQ(SDL_GetDisplayBounds(0, &bounds), 0);
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), bounds.w);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), bounds.h);
  RECT m = GetMonitorRect(w.GetHWND());
  EXPECT_TRUE(EqualRect(m, RECT{bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h}));
}

TEST_F(WindowSdl, DisplayAndDpiChangesReachTheWindows) {
  std::vector<CSdlBackend::Display> displays{{RECT{0, 0, 1024, 768}, 96}};
  backend->SetDisplaySource([&] { return displays; });
  SDL_Event changed{};
  changed.type = SDL_DISPLAYEVENT;
  Feed(changed);
  EXPECT_EQ(w.CountMessages(WM_DISPLAYCHANGE), 0) << "nothing changed yet";

  displays = {{RECT{0, 0, 1920, 1080}, 97}, {RECT{1920, 0, 3840, 1080}, 142}};
  Feed(changed);
  ASSERT_EQ(w.CountMessages(WM_DISPLAYCHANGE), 1);
  for (const MSG& m : w.messages) {
    if (m.message != WM_DISPLAYCHANGE) continue;
    EXPECT_EQ(LOWORD(m.lParam), 1920);
    EXPECT_EQ(HIWORD(m.lParam), 1080);
  }
  EXPECT_EQ(w.CountMessages(WM_DPICHANGED), 0) << "97 dots are still the 96 step";
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);

  // Dragged onto the denser monitor: the window hears its new DPI and the suggested rectangle.
  Feed(WindowEvent(SDL_WINDOWEVENT_MOVED, 2000, 100));
  EXPECT_TRUE(EqualRect(GetMonitorRect(w.GetHWND()), RECT{1920, 0, 3840, 1080}));
  const MSG* dpi = nullptr;
  for (const MSG& m : w.messages)
    if (m.message == WM_DPICHANGED) dpi = &m;
  ASSERT_NE(dpi, nullptr);
  EXPECT_EQ(LOWORD(dpi->wParam), 144);
  const RECT* suggested = reinterpret_cast<const RECT*>(dpi->lParam);
  EXPECT_TRUE(EqualRect(*suggested, RECT{2000, 100, 2450, 400}));
}

TEST_F(WindowSdl, APostFromAnotherThreadEndsTheWait) {
  constexpr UINT kPing = WM_USER + 77;
  std::thread worker([h = w.GetHWND()] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    PostMessage(h, kPing, 1, 2);
  });
  auto start = std::chrono::steady_clock::now();
  // Without the wake-up this waits the full 20 seconds.
  backend->WaitForEvents(20000);
  auto waited = std::chrono::steady_clock::now() - start;
  worker.join();
  CMessageLoop::Instance().PumpPending();
  EXPECT_EQ(w.CountMessages(kPing), 1);
  EXPECT_LT(waited, std::chrono::seconds(10));
}

}  // namespace
}  // namespace ostrel::test

namespace ostrel::test {
namespace {

// SDL must never make the D-Bus library launch a bus of its own: an unset
// address names the user's bus when it exists, else none.
TEST(WindowSdlEnvironment, TheSessionBusAddressIsNeverLeftUnset) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  ASSERT_NE(runtime, nullptr);
  std::string socket_path = std::string(runtime) + "/bus";

  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
  CSdlBackend::PrepareEnvironment();
  EXPECT_STREQ(std::getenv("DBUS_SESSION_BUS_ADDRESS"), "disabled:");

  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socket_path.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
  CSdlBackend::PrepareEnvironment();
  EXPECT_EQ(std::string(std::getenv("DBUS_SESSION_BUS_ADDRESS")), "unix:path=" + socket_path);

  ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/somewhere/else", 1);
  CSdlBackend::PrepareEnvironment();
  EXPECT_STREQ(std::getenv("DBUS_SESSION_BUS_ADDRESS"), "unix:path=/somewhere/else");
  ::close(fd);
  ::unlink(socket_path.c_str());
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

}  // namespace
}  // namespace ostrel::test
