#include <gtest/gtest.h>

#include "UiTestWindow.h"
#include "platform/ui/CColorPaletteUI.h"
#include "platform/ui/CComboUI.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/CListLabelElementUI.h"
#include "platform/ui/CListUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRichEditUI.h"
#include "platform/ui/CSliderUI.h"
#include "platform/ui/WindowApi.h"

namespace ostrel::test {
namespace {

constexpr const char* kControls = R"(<Window size="420,400"><VerticalLayout name="root" childpadding="4">
    <Slider name="DPI_slider_1" height="20" min="200" max="6500" value="200" step="100" thumbsize="10,10"/>
    <Edit name="DPI_edit_1" height="28" numberonly="true" minnum="200" maxnum="6500" maxchar="4"/>
    <Edit name="name_edit" height="28" maxchar="5" prompttext="type here"/>
    <RichEdit name="notes" height="60"/>
    <Combo name="combo" height="28" dropboxsize="0,200">
      <ListLabelElement name="c0" text="Profile 1"/><ListLabelElement name="c1" text="Profile 2"/>
      <ListLabelElement name="c2" text="Hidden" visible="false"/><ListLabelElement name="c3" text="Profile 4"/>
    </Combo>
    <List name="list" height="100" multiselect="true">
      <ListLabelElement name="l0" text="A" height="20"/><ListLabelElement name="l1" text="B" height="20"/>
      <ListLabelElement name="l2" text="C" height="20"/>
    </List>
    <ColorPalette name="palette" height="60" barheight="10"/>
  </VerticalLayout></Window>)";

class UiControls : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    ASSERT_NE(w.CreateShown(), nullptr);
    pm = w.GetPaintManager();
  }
  template <typename T>
  T* Get(const char* name) {
    return static_cast<T*>(pm->FindControl(name));
  }
  void ClickAt(HWND h, POINT p, WPARAM keys = 0) {
    Headless()->Click(h, p.x, p.y, keys);
    Pump();
  }
  void Type(const char* edit, const std::string& text) {
    ClickAt(w.GetHWND(), w.CenterOf(edit));
    Headless()->TypeText(w.GetHWND(), text);
    Pump();
  }
  UiTestWindow w{kControls};
  CPaintManagerUI* pm = nullptr;
};

TEST_F(UiControls, SliderReportsMovesWhileDraggingAndTheValueOnRelease) {
  auto* slider = Get<CSliderUI>("DPI_slider_1");
  RECT r = slider->GetPos();
  HWND h = w.GetHWND();
  RECT thumb = slider->GetThumbRect();
  POINT start{(thumb.left + thumb.right) / 2, (r.top + r.bottom) / 2};
  Headless()->MouseDown(h, start.x, start.y);
  Headless()->MouseMove(h, (r.left + r.right) / 2, start.y);
  Headless()->MouseMove(h, r.right - 5, start.y);
  Pump();
  EXPECT_GE(w.Count("movevaluechanged", "DPI_slider_1"), 2);
  EXPECT_EQ(w.Count("valuechanged"), 0);
  Headless()->MouseUp(h, r.right + 50, start.y);  // released past the end: the maximum
  Pump();
  EXPECT_EQ(w.Count("valuechanged", "DPI_slider_1"), 1);
  EXPECT_EQ(slider->GetValue(), 6500);
  EXPECT_EQ(w.seen.back().wParam, 6500u);
  // Values stay on the step.
  slider->SetValue(200);
  Headless()->Click(h, (r.left + r.right) / 2 + 3, start.y);
  Pump();
  EXPECT_EQ((slider->GetValue() - 200) % 100, 0);
  EXPECT_GT(slider->GetValue(), 3000);
  EXPECT_LT(slider->GetValue(), 3700);
}

TEST_F(UiControls, DigitsOnlyEditKeepsItsLimits) {
  auto* edit = Get<CEditUI>("DPI_edit_1");
  Type("DPI_edit_1", "8a9x55");  // letters refused, then the length limit
  EXPECT_EQ(edit->GetText(), "8955");
  EXPECT_EQ(w.Count("textchanged", "DPI_edit_1"), 4);
  // Leaving the field clamps to the maximum.
  ClickAt(w.GetHWND(), w.CenterOf("name_edit"));
  EXPECT_EQ(edit->GetText(), "6500");
  EXPECT_EQ(w.Count("killfocus", "DPI_edit_1"), 1);
  // Too small, then Enter: clamped to the minimum and "return" raised.
  ClickAt(w.GetHWND(), w.CenterOf("DPI_edit_1"));
  edit->SetSelAll();
  Headless()->TypeText(w.GetHWND(), "5");
  Headless()->KeyPress(w.GetHWND(), VK_RETURN);
  Pump();
  EXPECT_EQ(edit->GetText(), "200");
  EXPECT_EQ(w.Count("return", "DPI_edit_1"), 1);
}

TEST_F(UiControls, EditCaretSelectionAndClipboard) {
  auto* edit = Get<CEditUI>("name_edit");
  Type("name_edit", "héllo!");  // five characters fit, multi-byte ones count once
  EXPECT_EQ(edit->GetText(), "héllo");
  HWND h = w.GetHWND();
  Headless()->KeyPress(h, VK_BACK);
  Headless()->KeyPress(h, VK_HOME);
  Headless()->KeyPress(h, VK_DELETE);
  Pump();
  EXPECT_EQ(edit->GetText(), "éll");
  // Shift+Right twice selects "él", Ctrl+C copies, End, Ctrl+V pastes (up to the limit).
  Headless()->KeyDown(h, VK_SHIFT);
  Headless()->KeyPress(h, VK_RIGHT);
  Headless()->KeyPress(h, VK_RIGHT);
  Headless()->KeyUp(h, VK_SHIFT);
  Pump();
  EXPECT_EQ(edit->GetSelText(), "él");
  Headless()->KeyDown(h, VK_CONTROL);
  Headless()->KeyPress(h, 'C');
  Headless()->KeyUp(h, VK_CONTROL);
  Headless()->KeyPress(h, VK_END);
  Headless()->KeyDown(h, VK_CONTROL);
  Headless()->KeyPress(h, 'V');
  Headless()->KeyUp(h, VK_CONTROL);
  Pump();
  EXPECT_EQ(edit->GetText(), "éllél");
  // Typing over a selection replaces it.
  edit->SetSel(0, 2);  // "é" is two bytes
  Headless()->TypeText(h, "E");
  Pump();
  EXPECT_EQ(edit->GetText(), "Ellél");
  edit->SetReadOnly(true);
  Headless()->TypeText(h, "zz");
  Pump();
  EXPECT_EQ(edit->GetText(), "Ellél");
}

TEST_F(UiControls, RichEditTakesNewLines) {
  auto* notes = Get<CRichEditUI>("notes");
  Type("notes", "one");
  Headless()->KeyPress(w.GetHWND(), VK_RETURN);
  Headless()->TypeText(w.GetHWND(), "two");
  Pump();
  EXPECT_EQ(notes->GetText(), "one\ntwo");
  EXPECT_EQ(w.Count("return", "notes"), 0);
  Headless()->KeyPress(w.GetHWND(), VK_UP);
  Headless()->TypeText(w.GetHWND(), "+");
  Pump();
  EXPECT_EQ(notes->GetText(), "one+\ntwo");
}

TEST_F(UiControls, ComboDropsDownAndChoosingARowRaisesItemSelect) {
  auto* combo = Get<CComboUI>("combo");
  ASSERT_TRUE(combo->SelectItem(0, false, false));
  EXPECT_EQ(combo->GetText(), "Profile 1");
  ClickAt(w.GetHWND(), w.CenterOf("combo"));
  HWND drop = combo->GetDropWindow();
  ASSERT_NE(drop, nullptr);
  // The hidden row is not in the drop list: the third row shown is "Profile 4".
  CControlUI* c3 = pm->FindControl("c3");
  RECT r3 = c3->GetPos();
  EXPECT_EQ(r3.top, 1 + 30 + 30);
  ClickAt(drop, POINT{(r3.left + r3.right) / 2, (r3.top + r3.bottom) / 2});
  EXPECT_EQ(combo->GetCurSel(), 3);
  EXPECT_EQ(combo->GetText(), "Profile 4");
  EXPECT_EQ(w.Count("itemselect", "combo"), 1);
  EXPECT_EQ(w.seen.back().type, "itemselect");
  EXPECT_FALSE(IsWindow(drop));
  EXPECT_EQ(combo->GetDropWindow(), nullptr);
  EXPECT_EQ(c3->GetManager(), pm);  // the rows came back
  // Wheel steps skip the hidden row too.
  POINT p = w.CenterOf("combo");
  Headless()->Wheel(w.GetHWND(), p.x, p.y, 120);
  Pump();
  EXPECT_EQ(combo->GetCurSel(), 1);
}

TEST_F(UiControls, ClickingElsewhereClosesTheDropList) {
  auto* combo = Get<CComboUI>("combo");
  ClickAt(w.GetHWND(), w.CenterOf("combo"));
  HWND drop = combo->GetDropWindow();
  ASSERT_NE(drop, nullptr);
  ClickAt(w.GetHWND(), w.CenterOf("name_edit"));
  EXPECT_FALSE(IsWindow(drop));
  EXPECT_EQ(w.Count("itemselect"), 0);
}

TEST_F(UiControls, ListSelectsMultiSelectsWithCtrlAndActivates) {
  auto* list = Get<CListUI>("list");
  HWND h = w.GetHWND();
  ClickAt(h, w.CenterOf("l0"));
  EXPECT_EQ(list->GetCurSel(), 0);
  EXPECT_EQ(w.Count("itemselect", "list"), 1);
  EXPECT_EQ(w.Count("itemclick", "l0"), 1);
  ClickAt(h, w.CenterOf("l2"), MK_CONTROL);
  EXPECT_EQ(list->GetSelectedItems(), (std::vector<int>{0, 2}));
  ClickAt(h, w.CenterOf("l0"), MK_CONTROL);  // Ctrl on a selected row unselects it
  EXPECT_EQ(list->GetSelectedItems(), (std::vector<int>{2}));
  EXPECT_FALSE(static_cast<CListLabelElementUI*>(pm->FindControl("l0"))->IsSelected());
  ClickAt(h, w.CenterOf("l1"));  // a plain click selects one alone
  EXPECT_EQ(list->GetSelectedItems(), (std::vector<int>{1}));
  POINT p = w.CenterOf("l1");
  Headless()->DoubleClick(h, p.x, p.y);
  Pump();
  EXPECT_EQ(w.Count("itemactivate", "l1"), 1);
  Headless()->KeyPress(h, VK_DOWN);
  Pump();
  EXPECT_EQ(list->GetCurSel(), 2);
}

TEST_F(UiControls, ColorPaletteReportsTheColourPicked) {
  auto* palette = Get<CColorPaletteUI>("palette");
  RECT r = palette->GetPos();
  // The left end of the field's middle row is full red.
  ClickAt(w.GetHWND(), POINT{r.left, r.top + (r.bottom - r.top - 14) / 2});
  ASSERT_EQ(w.Count("colorchanged", "palette"), 1);
  DWORD picked = static_cast<DWORD>(w.seen.back().wParam);
  EXPECT_EQ(picked, palette->GetSelectColor());
  EXPECT_EQ(picked >> 24, 0xFFu);
  EXPECT_GT((picked >> 16) & 0xFF, 0xE0u);
  EXPECT_LT((picked >> 8) & 0xFF, 0x20u);
  palette->SetSelectColor(0xFF0099FF);
  EXPECT_NEAR(static_cast<int>(palette->GetSelectColor() & 0xFF), 0xFF, 2);
  EXPECT_NEAR(static_cast<int>((palette->GetSelectColor() >> 8) & 0xFF), 0x99, 2);
}

}  // namespace
}  // namespace ostrel::test
