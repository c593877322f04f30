// Menus without a display: placement by the alignment flags, the command
// record, check states, and the ways a menu closes.

#include <gtest/gtest.h>

#include "RecordingWindow.h"
#include "platform/os/DebugLog.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMenuElementUI.h"
#include "platform/ui/CMenuWnd.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/WindowApi.h"

namespace ostrel::test {
namespace {

constexpr const char* kOwnerLayout = R"(<Window size="300,200"><VerticalLayout bkcolor="#FF14161A">
  <Button name="owner_btn" height="60"/><Control/></VerticalLayout></Window>)";

constexpr const char* kMenuLayout = R"(<Window size="160,0">
  <Menu inset="0,4,0,4">
    <MenuElement name="setwnd_menu" text="Settings"/>
    <MenuElement name="sync" text="Sync" checkable="true"/>
    <MenuElement name="off" text="Off" enabled="false"/>
    <MenuElement name="exit" text="Exit"/>
  </Menu></Window>)";

TEST(MenuPlacement, AlignmentFlagsNameTheEdgesAtThePoint) {
  const RECT monitor{0, 0, 1000, 800};
  struct Case {
    const char* what;
    POINT point;
    DWORD alignment;
    RECT expected;
    SIZE size = SIZE{160, 100};
  };
  const Case cases[] = {
      {"left top (6): opens right and down", {300, 200}, 6, {300, 200, 460, 300}},
      {"right top (12): taskbar at the top", {300, 31}, 12, {140, 31, 300, 131}},
      {"left bottom (18): taskbar at the left", {41, 500}, 18, {41, 400, 201, 500}},
      {"right bottom (24): taskbar at the bottom or right", {990, 760}, 24, {830, 660, 990, 760}},
      {"flips left at the right edge", {950, 200}, 6, {790, 200, 950, 300}},
      {"flips up at the bottom edge", {300, 760}, 6, {300, 660, 460, 760}},
      {"flips right at the left edge", {50, 200}, 12, {50, 200, 210, 300}},
      {"too tall for either side: kept inside", {500, 400}, 6, {500, 0, 660, 900}, {160, 900}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RECT r = CMenuWnd::PlaceMenu(c.point, c.size, c.alignment, monitor);
    EXPECT_TRUE(EqualRect(r, c.expected)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

class MenuWnd : public ::testing::Test {
 protected:
  void SetUp() override {
    CMessageLoop& loop = CMessageLoop::Instance();
    loop.AttachCurrentThread();
    loop.Reset();
    loop.SetBackend(std::make_unique<CHeadlessBackend>());
    loop.UseVirtualClock(true);
    SetDebugSink([this](std::string_view line) { debug.emplace_back(line); });
    ASSERT_NE(owner.Open(nullptr, 100, 100), nullptr);
    loop.PumpPending();
  }
  void TearDown() override {
    SetDebugSink({});
    CMessageLoop::Instance().Reset();
  }
  CHeadlessBackend* Headless() { return static_cast<CHeadlessBackend*>(CMessageLoop::Instance().Backend()); }
  CMenuWnd* Open(CMenuWnd::CheckInfo* checks = nullptr) {
    CMenuWnd* menu = CMenuWnd::CreateMenu(kMenuLayout, POINT{400, 300}, owner.GetPaintManager(), checks);
    CMessageLoop::Instance().PumpPending();
    return menu;
  }
  void ClickItem(CMenuWnd* menu, const char* name) {
    RECT r = menu->GetPaintManager()->FindControl(name)->GetPos();
    Headless()->Click(menu->GetHWND(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    CMessageLoop::Instance().PumpPending();
  }
  std::vector<MenuCmd> Commands() {
    std::vector<MenuCmd> out;
    for (const MSG& m : owner.messages) {
      if (m.message != WM_MENUCLICK) continue;
      out.push_back(*reinterpret_cast<MenuCmd*>(m.wParam));
      CPaintManagerUI::DeletePtr(reinterpret_cast<void*>(m.wParam));
    }
    owner.messages.clear();
    return out;
  }
  RecordingWindow owner{kOwnerLayout};
  std::vector<std::string> debug;
};

TEST_F(MenuWnd, OpensActiveAtThePointSizedToItsRows) {
  CMenuWnd* menu = Open();
  ASSERT_NE(menu, nullptr);
  RECT rc{};
  GetWindowRect(menu->GetHWND(), &rc);
  EXPECT_TRUE(EqualRect(rc, RECT{400, 300, 560, 300 + 4 * 28 + 8}));
  EXPECT_EQ(GetActiveWindow(), menu->GetHWND());
  EXPECT_EQ(GetWindowOwner(menu->GetHWND()), owner.GetHWND());
  EXPECT_EQ(CMenuWnd::GetOpenMenu(), menu);
}

TEST_F(MenuWnd, ChoosingAnItemClosesTheMenuAndPostsItsCommand) {
  CMenuWnd* menu = Open();
  HWND h = menu->GetHWND();
  ClickItem(menu, "setwnd_menu");
  EXPECT_FALSE(IsWindow(h));
  auto commands = Commands();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_STREQ(commands[0].szName, "setwnd_menu");
  EXPECT_STREQ(commands[0].szText, "Settings");
  EXPECT_EQ(CMenuWnd::GetOpenMenu(), nullptr);
}

TEST_F(MenuWnd, ADisabledItemDoesNothing) {
  CMenuWnd* menu = Open();
  ClickItem(menu, "off");
  EXPECT_TRUE(IsWindow(menu->GetHWND()));
  EXPECT_TRUE(Commands().empty());
}

TEST_F(MenuWnd, CheckableItemsToggleTheOpenersCheckStates) {
  CMenuWnd::CheckInfo checks;
  ClickItem(Open(&checks), "sync");
  ASSERT_NE(checks.Find("sync"), nullptr);
  EXPECT_TRUE(CMenuWnd::IsCheckedIn(checks, "sync", false));
  auto first = Commands();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_TRUE(first[0].bChecked);

  CMenuWnd* again = Open(&checks);
  auto* sync = static_cast<CMenuElementUI*>(again->GetPaintManager()->FindControl("sync"));
  EXPECT_TRUE(sync->IsChecked());
  ClickItem(again, "sync");
  EXPECT_FALSE(CMenuWnd::IsCheckedIn(checks, "sync", true));
  auto second = Commands();
  ASSERT_EQ(second.size(), 1u);
  EXPECT_FALSE(second[0].bChecked);
}

TEST_F(MenuWnd, EscapeActivationElsewhereOrANewMenuCloseWithoutACommand) {
  CMenuWnd* menu = Open();
  HWND h = menu->GetHWND();
  Headless()->KeyPress(h, VK_ESCAPE);
  CMessageLoop::Instance().PumpPending();
  EXPECT_FALSE(IsWindow(h));

  h = Open()->GetHWND();
  POINT p = owner.CenterOf("owner_btn");
  Headless()->Click(owner.GetHWND(), p.x, p.y);
  CMessageLoop::Instance().PumpPending();
  EXPECT_FALSE(IsWindow(h));

  h = Open()->GetHWND();
  HWND second = Open()->GetHWND();
  EXPECT_FALSE(IsWindow(h));
  EXPECT_TRUE(IsWindow(second));
  CMenuWnd::DestroyMenu();
  EXPECT_FALSE(IsWindow(second));
  EXPECT_TRUE(Commands().empty());
}

TEST_F(MenuWnd, ALayoutThatDoesNotBuildOpensNothing) {
  EXPECT_EQ(CMenuWnd::CreateMenu("<Window><Menu>", POINT{0, 0}, owner.GetPaintManager()), nullptr);
  EXPECT_EQ(CMenuWnd::CreateMenu(kMenuLayout, POINT{0, 0}, nullptr), nullptr);
  EXPECT_EQ(CMenuWnd::GetOpenMenu(), nullptr);
  EXPECT_EQ(CMessageLoop::Instance().Windows().size(), 1u);
}

TEST_F(MenuWnd, ClosingTheOpenerTakesTheMenuWithIt) {
  HWND h = Open()->GetHWND();
  DestroyWindow(owner.GetHWND());
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(CMenuWnd::GetOpenMenu(), nullptr);
}

}  // namespace
}  // namespace ostrel::test
