// The selection panel, the list rows and the chart view.

#include <string>

#include "ControlsTestWindow.h"
#include "controls/CChartViewUI.h"
#include "controls/CCloudShareListItemUI.h"
#include "controls/CComboEditContainerElementUI.h"
#include "controls/CDeviceKeyButtonUI.h"
#include "controls/CSelectPanelUI.h"
#include "platform/ui/CListUI.h"

namespace ostrel::test {
namespace {

// ---- CSelectPanelUI -----------------------------------------------------

// Ten keys of 30 x 30 in a row from x = 20, 10 px apart (key_0 at 20..50,
// key_1 at 60..90 ...), at y = 40..70; a label among them is not a key.
std::string PanelLayout() {
  std::string xml = R"(<Window size="460,120"><VerticalLayout bkcolor="#FF14161A">
      <SelectPanel name="keys_panel" bkcolor="#FF1C1F24">)";
  for (int i = 0; i < 10; ++i) {
    int left = 20 + 40 * i;
    xml += "<DeviceKeyButton name=\"key_" + std::to_string(i) + "\" float=\"true\" pos=\"" +
           std::to_string(left) + ",40," + std::to_string(left + 30) + ",70\"/>";
  }
  xml += R"(<Label name="caption" float="true" pos="0,100,460,120" mouse="false"/>
      </SelectPanel></VerticalLayout></Window>)";
  return xml;
}

class ControlsSelectPanel : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    ASSERT_NE(w.CreateShown(), nullptr);
    panel = w.FindAs<CSelectPanelUI>("keys_panel");
    ASSERT_NE(panel, nullptr);
  }
  CDeviceKeyButtonUI* Key(int i) {
    return w.FindAs<CDeviceKeyButtonUI>(("key_" + std::to_string(i)).c_str());
  }
  std::string Selected() {
    std::string s;
    for (int i = 0; i < 10; ++i) s += Key(i)->IsSelected() ? '1' : '0';
    return s;
  }
  void Preselect(const std::string& pattern) {
    for (int i = 0; i < 10; ++i) Key(i)->SetSelected(pattern[i] == '1');
  }
  void Drag(POINT from, POINT to) {
    Down(w, from.x, from.y);
    Move(w, (from.x + to.x) / 2, (from.y + to.y) / 2, MK_LBUTTON);
    Move(w, to.x, to.y, MK_LBUTTON);
    Up(w, to.x, to.y);
  }
  ControlsTestWindow w{PanelLayout()};
  CSelectPanelUI* panel = nullptr;
};

TEST_F(ControlsSelectPanel, ARubberBandSelectsExactlyTheKeysItOverlaps) {
  struct Case {
    const char* what;
    POINT from;
    POINT to;
    std::string before;
    std::string after;
  };
  const Case cases[] = {
      {"three keys in the middle", {135, 10}, {225, 90}, "1100000011", "0001110000"},
      {"dragged backwards", {225, 90}, {135, 10}, "0000000000", "0001110000"},
      {"touching key_2 by one pixel", {89, 10}, {101, 90}, "0000000000", "0110000000"},
      {"ending on key_1's right edge", {90, 10}, {99, 90}, "0000000000", "0000000000"},
      {"a band that ends where it began", {135, 10}, {135, 10}, "1111111111", "0000000000"},
      {"a purely horizontal band", {10, 55}, {450, 55}, "1111111111", "0000000000"},
      {"a purely vertical band", {35, 10}, {35, 90}, "1111111111", "0000000000"},
      {"beyond the panel", {5, 5}, {455, 115}, "0000000000", "1111111111"},
  };
  for (const Case& c : cases) {
    Preselect(c.before);
    w.seen.clear();
    Drag(c.from, c.to);
    EXPECT_EQ(Selected(), c.after) << c.what;
    EXPECT_EQ(w.Count("click_select_end", "keys_panel"), 1) << c.what;
    EXPECT_FALSE(panel->IsSelecting()) << c.what;
  }
}

TEST_F(ControlsSelectPanel, APressWithoutAMoveChangesNothing) {
  Preselect("0101010101");
  Click(w, 135, 10);
  EXPECT_EQ(Selected(), "0101010101");
  EXPECT_EQ(w.Count("click_select_end"), 0);
  // A key itself takes the press: clicking it is a plain click.
  POINT key = {35, 55};
  Click(w, key.x, key.y);
  EXPECT_EQ(w.Count("click", "key_0"), 1);
  EXPECT_EQ(Selected(), "0101010101");
  EXPECT_EQ(w.Count("click_select_end"), 0);
}

TEST_F(ControlsSelectPanel, TheBandIsDrawnOnlyBetweenTheFirstMoveAndTheRelease) {
  auto pixel = [&](int x, int y) {
    w.GetPaintManager()->RenderToImage();
    return w.GetPaintManager()->GetPixel(x, y);
  };
  const DWORD panelColour = 0xFF1C1F24;
  Down(w, 10, 10);
  EXPECT_EQ(pixel(12, 30), panelColour) << "a press alone draws nothing";
  Move(w, 120, 90, MK_LBUTTON);
  EXPECT_TRUE(panel->IsSelecting());
  EXPECT_TRUE(EqualRect(panel->GetSelectionRect(), RECT{10, 10, 120, 90}));
  DWORD fill = pixel(15, 30);
  EXPECT_GT(Blue(fill), Blue(panelColour) + 40) << std::hex << fill;
  EXPECT_LT(Blue(fill), 0xFF) << "the fill is translucent";
  EXPECT_EQ(pixel(10, 30), 0xFF0099FFu) << "the 2-px border";
  EXPECT_EQ(pixel(11, 30), 0xFF0099FFu);
  Up(w, 120, 90);
  EXPECT_EQ(pixel(15, 30), panelColour);
  EXPECT_EQ(pixel(10, 30), panelColour);
}

TEST_F(ControlsSelectPanel, ADisabledPanelSelectsNothing) {
  panel->SetEnabled(false);
  Preselect("1000000000");
  Drag({135, 10}, {225, 90});
  EXPECT_EQ(Selected(), "1000000000");
  EXPECT_EQ(w.Count("click_select_end"), 0);
}

// ---- CComboEditContainerElementUI ---------------------------------------

class ControlsComboEditContainerElement : public ControlsTest {
 protected:
  void Open(bool multi) {
    std::string xml =
        std::string(R"(<Window size="200,120"><VerticalLayout><List name="rows" multiselect=")") +
        (multi ? "true" : "false") + R"(">
        <ComboEditContainerElement name="row_0" height="30"/>
        <ComboEditContainerElement name="row_1" height="30"/>
        <ComboEditContainerElement name="row_2" height="30" enabled="false"/>
      </List></VerticalLayout></Window>)";
    w = std::make_unique<ControlsTestWindow>(xml);
    ASSERT_NE(w->CreateShown(), nullptr);
  }
  CComboEditContainerElementUI* Row(int i) {
    return w->FindAs<CComboEditContainerElementUI>(("row_" + std::to_string(i)).c_str());
  }
  void ClickRow(int i, WPARAM keys = 0) {
    RECT r = Row(i)->GetPos();
    Click(*w, r.left + 20, (r.top + r.bottom) / 2, keys);
  }
  std::unique_ptr<ControlsTestWindow> w;
};

TEST_F(ControlsComboEditContainerElement, ItsContentComesFromItsOwnLayout) {
  Open(false);
  ASSERT_NE(Row(0), nullptr);
  ASSERT_EQ(Row(0)->GetCount(), 1);
  EXPECT_NE(w->GetPaintManager()->FindSubControlByName(Row(0), "combo_edit_item_text"), nullptr);
  EXPECT_EQ(Row(0)->GetInterface("ComboEditContainerElement"), static_cast<void*>(Row(0)));
}

TEST_F(ControlsComboEditContainerElement, CtrlClickFlipsARowAndAPlainClickSelectsItAlone) {
  Open(true);
  ClickRow(0);
  ClickRow(1, MK_CONTROL);
  EXPECT_TRUE(Row(0)->IsSelected());
  EXPECT_TRUE(Row(1)->IsSelected());
  ClickRow(1, MK_CONTROL);
  EXPECT_FALSE(Row(1)->IsSelected()) << "ctrl-click on a selected row unselects it";
  EXPECT_TRUE(Row(0)->IsSelected());
  ClickRow(1);
  EXPECT_TRUE(Row(1)->IsSelected());
  EXPECT_FALSE(Row(0)->IsSelected()) << "a plain click selects the row alone";
  EXPECT_GE(w->Count("itemclick", "row_1"), 3);
}

TEST_F(ControlsComboEditContainerElement, EnterActivatesAndRaisesReturnUnlessDisabled) {
  Open(false);
  struct Case {
    int row;
    int returns;
    int activations;
  };
  const Case cases[] = {{0, 1, 1}, {2, 0, 0}};
  for (const Case& c : cases) {
    // The key goes to the focused row, as the window's dispatch sends it.
    w->GetPaintManager()->SetFocus(Row(c.row));
    w->seen.clear();
    Headless()->KeyPress(w->GetHWND(), VK_RETURN);
    Pump();
    std::string name = "row_" + std::to_string(c.row);
    EXPECT_EQ(w->Count("return", name), c.returns) << name;
    EXPECT_EQ(w->Count("itemactivate", name), c.activations) << name;
    if (c.returns) {
      EXPECT_EQ(w->seen.back().type, "return") << "activated first";
    }
  }
}

TEST_F(ControlsComboEditContainerElement, StateImagesAreIgnored) {
  Open(false);
  Row(0)->SetAttribute("normalimage", "common/delete_hot.png");
  Row(0)->SetAttribute("selectedimage", "common/delete_hot.png");
  EXPECT_TRUE(Row(0)->GetBkImage().IsEmpty());
  Row(0)->SetAttribute("bkcolor", "#FF112233");
  EXPECT_EQ(Row(0)->GetBkColor(), 0xFF112233u);
}

// ---- CCloudShareListItemUI ----------------------------------------------

class ControlsCloudShareListItem : public ControlsTest {
 protected:
  void Open(const char* hotImage) {
    std::string xml = std::string(R"(<Window size="200,100"><VerticalLayout bkcolor="#FF14161A">
        <List name="shares" itemhotimage=")") +
                      hotImage + R"(" itemhotbkcolor="#FF30353D" itemhottextcolor="#FFE5484D">
          <CCloudShareListItemUI name="share_0" height="30"/>
          <CCloudShareListItemUI name="share_1" height="30"/>
        </List></VerticalLayout></Window>)";
    w = std::make_unique<ControlsTestWindow>(xml);
    ASSERT_NE(w->CreateShown(), nullptr);
    item = w->FindAs<CCloudShareListItemUI>("share_0");
    ASSERT_NE(item, nullptr);
  }
  DWORD EdgePixel() {
    w->GetPaintManager()->RenderToImage();
    RECT r = item->GetPos();
    return w->GetPaintManager()->GetPixel(r.left + 40, r.top);
  }
  std::unique_ptr<ControlsTestWindow> w;
  CCloudShareListItemUI* item = nullptr;
};

TEST_F(ControlsCloudShareListItem, AHotRowIsFramedInTheListsHotColour) {
  Open("common/key/key_hot.png");
  RECT r = item->GetPos();
  Move(*w, r.left + 40, r.top + 15);
  EXPECT_TRUE(item->IsHot());
  EXPECT_EQ(EdgePixel(), 0xFFE5484Du);
  Move(*w, 150, 95);
  EXPECT_FALSE(item->IsHot());
  EXPECT_NE(EdgePixel(), 0xFFE5484Du);
}

TEST_F(ControlsCloudShareListItem, NoFrameWithoutTheListsHotImageOrWhenSelected) {
  Open("");
  RECT r = item->GetPos();
  Move(*w, r.left + 40, r.top + 15);
  EXPECT_TRUE(item->IsHot());
  EXPECT_NE(EdgePixel(), 0xFFE5484Du);
  w = nullptr;
  Open("common/key/key_hot.png");
  item->Select(true);
  Move(*w, item->GetPos().left + 40, item->GetPos().top + 15);
  EXPECT_NE(EdgePixel(), 0xFFE5484Du);
}

TEST_F(ControlsCloudShareListItem, DoubleClickActivates) {
  Open("");
  RECT r = item->GetPos();
  Headless()->DoubleClick(w->GetHWND(), r.left + 10, r.top + 10);
  Pump();
  EXPECT_EQ(w->Count("itemactivate", "share_0"), 1);
}

// ---- CChartViewUI -------------------------------------------------------

class ControlsChartView : public ControlsTest {
 protected:
  void Open(const std::string& attributes) {
    w = std::make_unique<ControlsTestWindow>(R"(<Window size="200,150"><VerticalLayout bkcolor="#FF14161A">
        <CChartViewUI name="chart" float="true" pos="0,0,200,150" bkcolor="#FF1C1F24" )" +
                                             attributes + R"(/></VerticalLayout></Window>)");
    ASSERT_NE(w->CreateShown(), nullptr);
    chart = w->FindAs<CChartViewUI>("chart");
    ASSERT_NE(chart, nullptr);
  }
  DWORD Pixel(int x, int y) {
    w->GetPaintManager()->RenderToImage();
    return w->GetPaintManager()->GetPixel(x, y);
  }
  std::unique_ptr<ControlsTestWindow> w;
  CChartViewUI* chart = nullptr;
};

TEST_F(ControlsChartView, TheHistogramsShadowSitsAboveTheTextBand) {
  std::string shadow = WritePng("shadow.png", 10, 10, 0xFF0099FF);
  struct Case {
    const char* showText;
    int bandTop;  // the shadow spans [bandTop - 20, bandTop)
  };
  const Case cases[] = {{"true", 125}, {"false", 150}};
  for (const Case& c : cases) {
    Open("view=\"histpgram\" shadowimage=\"" + shadow + "\" shadowimageheight=\"20\" showtext=\"" +
         c.showText + "\"");
    EXPECT_EQ(chart->GetView(), CChartViewUI::View::Histogram);
    EXPECT_EQ(Pixel(100, c.bandTop - 10), 0xFF0099FFu) << c.showText;
    EXPECT_EQ(Pixel(100, c.bandTop - 21), 0xFF1C1F24u) << c.showText;
    if (c.bandTop < 150) {
      EXPECT_EQ(Pixel(100, c.bandTop + 5), 0xFF1C1F24u) << c.showText;
    }
  }
}

TEST_F(ControlsChartView, AMissingShadowImageIsDroppedAfterTheFirstTry) {
  Open(R"(view="histpgram" shadowimage="no/such/shadow.png" shadowimageheight="20")");
  Pixel(0, 0);
  EXPECT_TRUE(chart->GetShadowImage().IsEmpty());
  EXPECT_EQ(Pixel(100, 115), 0xFF1C1F24u);
}

TEST_F(ControlsChartView, AttributesAndTheViewsDrawing) {
  Open(R"(view="somethingelse" pillarimagewidth="12" font="2" showhtml="TRUE")");
  EXPECT_EQ(chart->GetView(), CChartViewUI::View::Pie) << "an unknown view leaves the view";
  EXPECT_EQ(chart->GetPillarWidth(), 12);
  EXPECT_EQ(chart->GetFont(), 2);
  EXPECT_FALSE(chart->IsShowHtml()) << "only the exact value true";
  EXPECT_EQ(Pixel(100, 75), 0xFF1C1F24u) << "a pie without items draws nothing";
  chart->AddItem("a", 1);
  EXPECT_NE(Pixel(100, 75), 0xFF1C1F24u) << "one item fills the pie";
  chart->SetAttribute("view", "histpgram");
  chart->RemoveAllItems();
  chart->AddItem("low", 1);
  chart->AddItem("high", 2);
  // Two slots of 100 px; the higher bar reaches the top, the lower half way.
  EXPECT_NE(Pixel(150, 20), 0xFF1C1F24u);
  EXPECT_EQ(Pixel(50, 20), 0xFF1C1F24u);
  EXPECT_NE(Pixel(50, 100), 0xFF1C1F24u);
}

}  // namespace
}  // namespace ostrel::test
