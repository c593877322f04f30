#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "UiTestWindow.h"
#include "platform/ui/CButtonUI.h"
#include "platform/ui/CContainerUI.h"
#include "platform/ui/CDPI.h"
#include "platform/ui/CDuiString.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CStdPtrArray.h"
#include "platform/ui/CStdStringPtrMap.h"
#include "platform/ui/CTabLayoutUI.h"
#include "platform/ui/UIResources.h"
#include "platform/ui/WindowApi.h"
#include "support/TestEnvironment.h"

namespace ostrel::test {
namespace {

TEST(UiDuiString, ComparesFindsCutsAndConverts) {
  CDuiString s("Key_12");
  EXPECT_EQ(s.CompareNoCase("KEY_12"), 0);
  EXPECT_NE(s.Compare("KEY_12"), 0);
  EXPECT_LT(CDuiString("abc").CompareNoCase("ABD"), 0);
  EXPECT_EQ(s.ReverseFind('_'), 3);
  EXPECT_EQ(s.Find("_1"), 3);
  EXPECT_EQ(s.Find('x'), -1);
  EXPECT_EQ(s.Left(4), "Key_");
  EXPECT_EQ(s.Mid(4), "12");
  EXPECT_EQ(s.Mid(4, 1), "1");
  EXPECT_EQ(s.Right(2), "12");
  EXPECT_EQ(s.Mid(99), "");
  EXPECT_EQ(s.Mid(4).ToInt(), 12);
  CDuiString f;
  f.Format("%s%d", "light_", 7);
  EXPECT_EQ(f, "light_7");
  f.MakeUpper();
  EXPECT_EQ(f, "LIGHT_7");
  CDuiString copy = f + "x";
  copy.Replace("T_", "-");
  EXPECT_EQ(copy, "LIGH-7x");
}

struct IntCase {
  const char* text;
  bool ok;
  int value;
};

class UiDuiStringToInt : public ::testing::TestWithParam<IntCase> {};

TEST_P(UiDuiStringToInt, ParsesDecimalAndHexadecimal) {
  int v = -1;
  EXPECT_EQ(CDuiString::ParseInt(GetParam().text, &v), GetParam().ok) << GetParam().text;
  if (GetParam().ok) {
    EXPECT_EQ(v, GetParam().value) << GetParam().text;
  }
  EXPECT_EQ(CDuiString(GetParam().text).ToInt(-7), GetParam().ok ? GetParam().value : -7);
}

INSTANTIATE_TEST_SUITE_P(Cases, UiDuiStringToInt,
                         ::testing::Values(IntCase{"42", true, 42}, IntCase{"-5", true, -5},
                                           IntCase{" 7 ", true, 7}, IntCase{"0x1F", true, 31},
                                           IntCase{"#FF", true, 255},
                                           IntCase{"0xFF0099FF", true, static_cast<int>(0xFF0099FFu)},
                                           IntCase{"", false, 0}, IntCase{"12a", false, 0},
                                           IntCase{"-", false, 0}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

struct ScaleCase {
  int dpi;
  int value;
  int scaled;
};

class UiDpiScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(UiDpiScale, ScalesFromNinetySix) {
  CDPI dpi;
  ASSERT_TRUE(dpi.SetDPI(GetParam().dpi));
  EXPECT_EQ(dpi.Scale(GetParam().value), GetParam().scaled);
  EXPECT_EQ(dpi.Scale(-GetParam().value), -GetParam().scaled);
}

INSTANTIATE_TEST_SUITE_P(Cases, UiDpiScale,
                         ::testing::Values(ScaleCase{96, 1000, 1000}, ScaleCase{120, 1000, 1250},
                                           ScaleCase{144, 1000, 1500}, ScaleCase{144, 3, 5},
                                           ScaleCase{168, 640, 1120}, ScaleCase{192, 28, 56},
                                           ScaleCase{72, 30, 23}, ScaleCase{48, 5, 3}),
                         [](const auto& info) {
                           return "dpi" + std::to_string(info.param.dpi) + "_" +
                                  std::to_string(info.param.value);
                         });

TEST(UiDpi, RefusesValuesOutsideItsRange) {
  CDPI dpi;
  EXPECT_FALSE(dpi.SetDPI(0));
  EXPECT_FALSE(dpi.SetDPI(1000));
  EXPECT_EQ(dpi.GetDPI(), 96);
  EXPECT_EQ(dpi.GetScale(), 100);
}

struct DrawInfoCase {
  const char* text;
  const char* name;
  RECT dest;
  RECT corner;
  DWORD mask;
  int fade;
  bool hole;
};

class UiImageDescription : public ::testing::TestWithParam<DrawInfoCase> {};

TEST_P(UiImageDescription, Parses) {
  const DrawInfoCase& c = GetParam();
  TDrawInfo info = TDrawInfo::Parse(c.text);
  EXPECT_EQ(info.sImageName, c.name);
  EXPECT_TRUE(EqualRect(info.rcDest, c.dest)) << c.text;
  EXPECT_TRUE(EqualRect(info.rcCorner, c.corner)) << c.text;
  EXPECT_EQ(info.dwMask, c.mask);
  EXPECT_EQ(info.uFade, c.fade);
  EXPECT_EQ(info.bHole, c.hole);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UiImageDescription,
    ::testing::Values(
        DrawInfoCase{"common/key.png", "common/key.png", {}, {}, 0, 255, false},
        DrawInfoCase{"file='a b.png' dest='1,2,3,4' corner='4,4,4,4' mask='#FFFF00FF' fade='90' hole='true'",
                     "a b.png",
                     {1, 2, 3, 4},
                     {4, 4, 4, 4},
                     0xFFFF00FF,
                     90,
                     true},
        DrawInfoCase{"res='logo' restype='png' fade='999'", "logo", {}, {}, 0, 255, false},
        DrawInfoCase{"file=\"q.png\" mask='0x00FF00'", "q.png", {}, {}, 0xFF00, 255, false}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(UiImageDescription, ModifyOverridesTheDescription) {
  TDrawInfo info = TDrawInfo::Parse("file='bar.png' dest='0,0,10,10'", "dest='0,0,5,10' fade='10'");
  EXPECT_EQ(info.sImageName, "bar.png");
  EXPECT_TRUE(EqualRect(info.rcDest, RECT{0, 0, 5, 10}));
  EXPECT_EQ(info.uFade, 10);
}

class UiParts : public UiTest {};

TEST_F(UiParts, SetAllDpiScalesEveryWindow) {
  UiTestWindow a(R"(<Window size="100,50"><Control name="c"/></Window>)");
  UiTestWindow b(R"(<Window size="200,80"><Control name="c"/></Window>)");
  ASSERT_NE(a.CreateShown(), nullptr);
  ASSERT_NE(b.CreateShown(), nullptr);
  CPaintManagerUI::SetAllDPI(192);
  RECT ra, rb;
  GetWindowRect(a.GetHWND(), &ra);
  GetWindowRect(b.GetHWND(), &rb);
  EXPECT_EQ(ra.right - ra.left, 200);
  EXPECT_EQ(rb.bottom - rb.top, 160);
  EXPECT_EQ(a.GetPaintManager()->GetDPIObj()->GetDPI(), 192);
  CPaintManagerUI::SetAllDPI(96);
  GetWindowRect(a.GetHWND(), &ra);
  EXPECT_EQ(ra.right - ra.left, 100);
}

TEST_F(UiParts, ButtonBoundToATabLayoutSelectsItsPage) {
  UiTestWindow w(R"(<Window size="200,100"><VerticalLayout>
      <HorizontalLayout height="30"><Button name="b0" bindtablayoutname="pages" bindtabindex="0"/>
        <Button name="b2" bindtablayoutname="pages" bindtabindex="2"/></HorizontalLayout>
      <TabLayout name="pages"><Control name="p0"/><Control name="p1"/><Control name="p2"/></TabLayout>
    </VerticalLayout></Window>)");
  ASSERT_NE(w.CreateShown(), nullptr);
  auto* pages = static_cast<CTabLayoutUI*>(w.GetPaintManager()->FindControl("pages"));
  POINT p = w.CenterOf("b2");
  Headless()->Click(w.GetHWND(), p.x, p.y);
  Pump();
  EXPECT_EQ(pages->GetCurSel(), 2);
  auto* b0 = static_cast<CButtonUI*>(w.GetPaintManager()->FindControl("b0"));
  EXPECT_EQ(b0->GetBindTabLayoutIndex(), 0);
  b0->BindTabIndex(1);
  p = w.CenterOf("b0");
  Headless()->Click(w.GetHWND(), p.x, p.y);
  Pump();
  EXPECT_EQ(pages->GetCurSel(), 1);
  EXPECT_EQ(w.Count("click"), 2);
}

TEST_F(UiParts, CaptionAndSizeBoxAnswerHitTests) {
  UiTestWindow w(R"(<Window size="300,200" caption="0,0,0,40" sizebox="4,4,4,4"><VerticalLayout>
      <HorizontalLayout height="40"><Label text="title"/><Button name="closebtn" width="40"/></HorizontalLayout>
      <Control/></VerticalLayout></Window>)");
  ASSERT_NE(w.CreateShown(), nullptr);
  HWND h = w.GetHWND();
  SetWindowPos(h, nullptr, 100, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  struct {
    int x, y;
    LRESULT hit;
  } cases[] = {{100 + 50, 50 + 20, HTCAPTION},       {100 + 280, 50 + 20, HTCLIENT},
               {100 + 150, 50 + 100, HTCLIENT},      {100 + 1, 50 + 100, HTLEFT},
               {100 + 299, 50 + 199, HTBOTTOMRIGHT}, {100 + 150, 50 + 1, HTTOP}};
  for (const auto& c : cases)
    EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(c.x, c.y)), c.hit) << c.x << "," << c.y;
  ShowWindow(h, SW_MAXIMIZE);
  EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, MAKELPARAM(1, 100)), HTCLIENT);  // no size box when maximised
}

TEST_F(UiParts, AControlMayRemoveItselfFromItsOwnClickHandler) {
  UiTestWindow w(R"(<Window size="200,60"><HorizontalLayout name="row">
      <Button name="remove_me"/><Button name="stay"/></HorizontalLayout></Window>)");
  w.onNotify = [&](TNotifyUI& m) {
    if (m.sType == "click" && m.pSender->GetName() == "remove_me")
      static_cast<CContainerUI*>(w.GetPaintManager()->FindControl("row"))->Remove(m.pSender);
  };
  ASSERT_NE(w.CreateShown(), nullptr);
  POINT p = w.CenterOf("remove_me");
  Headless()->Click(w.GetHWND(), p.x, p.y);
  Pump();
  EXPECT_EQ(w.GetPaintManager()->FindControl("remove_me"), nullptr);
  EXPECT_EQ(static_cast<CContainerUI*>(w.GetPaintManager()->FindControl("row"))->GetCount(), 1);
  // The survivor takes the whole row after the new layout.
  EXPECT_TRUE(EqualRect(w.GetPaintManager()->FindControl("stay")->GetPos(), RECT{0, 0, 200, 60}));
}

TEST_F(UiParts, WindowSizeIsNotifiedAfterAResize) {
  UiTestWindow w(R"(<Window size="200,60"><HorizontalLayout name="root"/></Window>)");
  ASSERT_NE(w.CreateShown(), nullptr);
  int before = w.Count("windowsize", "root");
  SetWindowPos(w.GetHWND(), nullptr, 0, 0, 300, 90, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(w.Count("windowsize", "root"), before);  // posted: it arrives from the loop
  Pump();
  EXPECT_EQ(w.Count("windowsize", "root"), before + 1);
  EXPECT_TRUE(EqualRect(w.GetPaintManager()->FindControl("root")->GetPos(), RECT{0, 0, 300, 90}));
}

TEST_F(UiParts, TheImageCacheGivesSizesAndRemembersFailures) {
  std::filesystem::path skin = TestRoot() / "skin";
  std::filesystem::create_directories(skin / "common");
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 37, 21);
  cairo_surface_write_to_png(s, (skin / "common" / "hand.png").string().c_str());
  cairo_surface_destroy(s);
  CPaintManagerUI::SetResourcePath(skin.string().c_str());
  const TImageInfo* info = CPaintManagerUI::GetImageEx("common\\hand.png");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->nX, 37);
  EXPECT_EQ(info->nY, 21);
  EXPECT_EQ(CPaintManagerUI::GetImageEx("common\\hand.png"), info);
  EXPECT_EQ(CPaintManagerUI::GetImageEx("common/none.png"), nullptr);
  EXPECT_EQ(CPaintManagerUI::GetImageEx("common/none.png"), nullptr);
  int reports = 0;
  for (const auto& l : debugLines) reports += l.find("none.png") != std::string::npos;
  EXPECT_EQ(reports, 1);
}

TEST_F(UiParts, FontsBySharedAndOwnIds) {
  UiTestWindow w(R"(<Window size="100,40"><Control/></Window>)");
  ASSERT_NE(w.CreateShown(), nullptr);
  CPaintManagerUI* pm = w.GetPaintManager();
  pm->AddFont(3, "DejaVu Sans", 30, false, false, false, true);
  pm->AddFont(3, "DejaVu Sans", 31, true, false, false, false);
  EXPECT_EQ(pm->GetFontInfo(3)->iSize, 31);  // the window's own wins
  pm->RemoveAllFonts(false);
  EXPECT_EQ(pm->GetFontInfo(3)->iSize, 30);
  pm->RemoveAllFonts(true);
  EXPECT_EQ(pm->GetFontInfo(3), pm->GetDefaultFontInfo());
  pm->SetDefaultFont("DejaVu Sans", 12, false, false, false, false);
  EXPECT_EQ(pm->GetFontInfo(-1)->iSize, 12);
}

}  // namespace
}  // namespace ostrel::test

namespace ostrel::test {
namespace {

TEST(UiStdContainers, PointerArrayAndStringMap) {
  int a = 1, b = 2, c = 3;
  CStdPtrArray arr;
  arr.Add(&a);
  arr.Add(&c);
  EXPECT_TRUE(arr.InsertAt(1, &b));
  EXPECT_EQ(arr.GetSize(), 3);
  EXPECT_EQ(arr.Find(&c), 2);
  EXPECT_EQ(arr[1], &b);
  EXPECT_EQ(arr.GetAt(3), nullptr);
  EXPECT_TRUE(arr.Remove(0));
  EXPECT_FALSE(arr.Remove(5));
  EXPECT_EQ(arr[0], &b);
  CStdStringPtrMap map(83);
  EXPECT_TRUE(map.Insert("checked_a", &a));
  EXPECT_FALSE(map.Insert("checked_a", &b));
  EXPECT_EQ(map.Set("checked_a", &b), &a);
  EXPECT_EQ(map.Set("checked_c", &c), nullptr);
  EXPECT_EQ(map.Find("checked_a"), &b);
  EXPECT_EQ(map.Find("none"), nullptr);
  EXPECT_EQ(map.GetAt(1), "checked_c");
  EXPECT_TRUE(map.Remove("checked_a"));
  EXPECT_EQ(map.GetSize(), 1);
  EXPECT_EQ(map.GetAt(0), "checked_c");
}

class UiCursor : public UiTest {};

TEST_F(UiCursor, ThePointerTakesTheShapeOfTheControlUnderIt) {
  UiTestWindow w(R"(<Window size="300,40"><HorizontalLayout><Button name="b" cursor="hand"/><Edit name="e"/>
      <Control name="c"/></HorizontalLayout></Window>)");
  ASSERT_NE(w.CreateShown(), nullptr);
  struct {
    const char* name;
    int cursor;
  } cases[] = {{"b", 32649}, {"e", 32513}, {"c", 32512}};
  for (const auto& c : cases) {
    POINT p = w.CenterOf(c.name);
    Headless()->MouseMove(w.GetHWND(), p.x, p.y);
    Pump();
    EXPECT_EQ(Headless()->CursorId(), c.cursor) << c.name;
  }
  EXPECT_EQ(CControlUI::ParseCursor("sizewe"), 32644);
  EXPECT_EQ(CControlUI::ParseCursor("spiral"), 0);
}

}  // namespace
}  // namespace ostrel::test
