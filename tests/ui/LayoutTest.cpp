#include <gtest/gtest.h>

#include "UiTestWindow.h"
#include "platform/ui/CContainerUI.h"
#include "platform/ui/CScrollBarUI.h"
#include "platform/ui/CTabLayoutUI.h"
#include "platform/ui/WindowApi.h"

namespace ostrel::test {
namespace {

struct Expect {
  const char* name;
  RECT rect;
};

struct LayoutCase {
  const char* what;
  const char* body;  // inside <Window size="400,300">
  std::vector<Expect> expected;
};

class UiLayout : public UiTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(UiLayout, PlacesChildren) {
  const LayoutCase& c = GetParam();
  UiTestWindow w(std::string("<Window size=\"400,300\">") + c.body + "</Window>");
  ASSERT_NE(w.CreateShown(), nullptr) << c.what;
  for (const Expect& e : c.expected) {
    CControlUI* control = w.GetPaintManager()->FindControl(e.name);
    ASSERT_NE(control, nullptr) << c.what << ": " << e.name;
    RECT r = control->GetPos();
    EXPECT_TRUE(EqualRect(r, e.rect))
        << c.what << ": " << e.name << " at " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UiLayout,
    ::testing::Values(
        LayoutCase{"vertical: fixed, stretch, inset and child padding",
                   R"(<VerticalLayout name="root" inset="10,20,10,20" childpadding="4">
                        <Control name="a" height="40"/><Control name="b"/><Control name="c" height="30"/>
                      </VerticalLayout>)",
                   {{"root", {0, 0, 400, 300}},
                    {"a", {10, 20, 390, 60}},
                    {"b", {10, 64, 390, 246}},
                    {"c", {10, 250, 390, 280}}}},
        LayoutCase{"horizontal: padding of a child, fixed width, stretch",
                   R"(<HorizontalLayout>
                        <Control name="a" width="100" padding="5,6,7,8"/><Control name="b"/>
                      </HorizontalLayout>)",
                   {{"a", {5, 6, 105, 292}}, {"b", {112, 0, 400, 300}}}},
        LayoutCase{"min and max bound stretching children",
                   R"(<HorizontalLayout><Control name="a" maxwidth="50"/><Control name="b"/>
                      <Control name="c" minwidth="300"/></HorizontalLayout>)",
                   {{"a", {0, 0, 50, 300}}, {"b", {50, 0, 100, 300}}, {"c", {100, 0, 400, 300}}}},
        LayoutCase{"a fixed cross size and centring",
                   R"(<VerticalLayout childalign="center"><Control name="a" width="100" height="50"/>
                      </VerticalLayout>)",
                   {{"a", {150, 0, 250, 50}}}},
        LayoutCase{"float children sit at pos relative to the parent",
                   R"(<VerticalLayout><HorizontalLayout name="band" height="100" padding="0,50,0,0">
                        <Control name="f" float="true" pos="10,20,60,45"/><Control name="s"/>
                      </HorizontalLayout></VerticalLayout>)",
                   {{"band", {0, 50, 400, 150}}, {"f", {10, 70, 60, 95}}, {"s", {0, 50, 400, 150}}}},
        LayoutCase{
            "hidden children take no space",
            R"(<VerticalLayout><Control name="a" height="50" visible="false"/><Control name="b" height="50"/>
                      </VerticalLayout>)",
            {{"b", {0, 0, 400, 50}}}},
        LayoutCase{"the plain container gives the inner rectangle",
                   R"(<Container inset="8,8,8,8"><Control name="a"/><Control name="b" width="30" height="20"/>
                      </Container>)",
                   {{"a", {8, 8, 392, 292}}, {"b", {8, 8, 38, 28}}}},
        LayoutCase{"tile layout fills rows of columns",
                   R"(<TileLayout columns="4" childpadding="4"><Control name="t0" height="30"/>
                      <Control name="t1" height="30"/><Control name="t2" height="30"/><Control name="t3" height="30"/>
                      <Control name="t4" height="30"/></TileLayout>)",
                   {{"t0", {0, 0, 97, 30}}, {"t3", {303, 0, 400, 30}}, {"t4", {0, 34, 97, 64}}}}),
    [](const auto& info) { return CaseName(info.param.what); });

TEST_F(UiLayout, TabLayoutShowsOnlyTheSelectedPage) {
  UiTestWindow w(R"(<Window size="200,100"><TabLayout name="tabs" selectedid="1">
      <Control name="p0"/><Control name="p1"/><Control name="p2"/></TabLayout></Window>)");
  ASSERT_NE(w.CreateShown(), nullptr);
  auto* tabs = static_cast<CTabLayoutUI*>(w.GetPaintManager()->FindControl("tabs"));
  EXPECT_EQ(tabs->GetCurSel(), 1);
  EXPECT_FALSE(w.GetPaintManager()->FindControl("p0")->IsVisible());
  EXPECT_TRUE(w.GetPaintManager()->FindControl("p1")->IsVisible());
  w.GetPaintManager()->FindControl("p1")->SetFocus();
  ASSERT_EQ(w.GetPaintManager()->GetFocus(), w.GetPaintManager()->FindControl("p1"));
  ASSERT_TRUE(tabs->SelectItem(2));
  Pump();
  EXPECT_EQ(w.GetPaintManager()->GetFocus(), nullptr);  // focus goes with the hidden page, to nobody
  EXPECT_EQ(w.Count("setfocus"), 1);
  EXPECT_TRUE(w.GetPaintManager()->FindControl("p2")->IsVisible());
  EXPECT_FALSE(w.GetPaintManager()->FindControl("p1")->IsVisible());
  EXPECT_TRUE(EqualRect(w.GetPaintManager()->FindControl("p2")->GetPos(), RECT{0, 0, 200, 100}));
  EXPECT_EQ(w.Count("tabselect", "tabs"), 1);
  EXPECT_FALSE(tabs->SelectItem(7));
  EXPECT_EQ(tabs->GetCurSel(), 2);
}

TEST_F(UiLayout, DpiScalesSizesPaddingAndTheWindow) {
  UiTestWindow w(R"(<Window size="200,100"><VerticalLayout inset="4,4,4,4">
      <Control name="a" height="20"/><Control name="b"/></VerticalLayout></Window>)");
  ASSERT_NE(w.CreateShown(), nullptr);
  w.GetPaintManager()->SetDPI(144);
  Pump();
  RECT wr;
  GetWindowRect(w.GetHWND(), &wr);
  EXPECT_EQ(wr.right - wr.left, 300);
  EXPECT_EQ(wr.bottom - wr.top, 150);
  EXPECT_TRUE(EqualRect(w.GetPaintManager()->FindControl("a")->GetPos(), RECT{6, 6, 294, 36}));
  EXPECT_TRUE(EqualRect(w.GetPaintManager()->FindControl("b")->GetPos(), RECT{6, 36, 294, 144}));
}

TEST_F(UiLayout, VerticalScrollBarAppearsWhenChildrenOverflowAndScrolls) {
  UiTestWindow w(R"(<Window size="100,100"><VerticalLayout name="list" vscrollbar="true">
      <Control name="a" height="60"/><Control name="b" height="60"/><Control name="c" height="60"/>
      </VerticalLayout></Window>)");
  ASSERT_NE(w.CreateShown(), nullptr);
  auto* list = static_cast<CContainerUI*>(w.GetPaintManager()->FindControl("list"));
  ASSERT_NE(list->GetVerticalScrollBar(), nullptr);
  EXPECT_TRUE(list->GetVerticalScrollBar()->IsVisible());
  EXPECT_EQ(list->GetScrollRange().cy, 80);
  // The bar takes its width from the children.
  EXPECT_EQ(w.GetPaintManager()->FindControl("a")->GetPos().right, 92);
  Headless()->Wheel(w.GetHWND(), 50, 50, -120);
  Pump();
  EXPECT_EQ(list->GetScrollPos().cy, 30);
  EXPECT_EQ(w.GetPaintManager()->FindControl("b")->GetPos().top, 30);
  list->EndDown();
  EXPECT_EQ(list->GetScrollPos().cy, 80);
  EXPECT_EQ(w.GetPaintManager()->FindControl("c")->GetPos().bottom, 100);
}

}  // namespace
}  // namespace ostrel::test
