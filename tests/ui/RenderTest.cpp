#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "UiTestWindow.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CProgressUI.h"
#include "platform/ui/CRenderEngine.h"
#include "support/TestEnvironment.h"

namespace ostrel::test {
namespace {

// Writes a PNG made with Cairo: a w×h image in `fill` with a `border`-wide
// frame in `frame` (so nine-grid corners can be told apart).
void MakePng(const std::filesystem::path& path, int w, int h, DWORD fill, DWORD frame, int border) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(s);
  auto set = [&](DWORD c) {
    cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                          ((c >> 24) & 0xFF) / 255.0);
  };
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  set(frame);
  cairo_paint(cr);
  set(fill);
  cairo_rectangle(cr, border, border, w - 2 * border, h - 2 * border);
  cairo_fill(cr);
  cairo_destroy(cr);
  std::filesystem::create_directories(path.parent_path());
  cairo_surface_write_to_png(s, path.string().c_str());
  cairo_surface_destroy(s);
}

bool Near(DWORD a, DWORD b, int tolerance = 8) {
  for (int shift = 0; shift < 32; shift += 8) {
    int x = static_cast<int>((a >> shift) & 0xFF);
    int y = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(x - y) > tolerance) return false;
  }
  return true;
}

class UiRender : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    skin_ = TestRoot() / "skin";
    CPaintManagerUI::SetResourcePath(skin_.string().c_str());
    MakePng(skin_ / "common" / "key.png", 20, 20, 0xFF262A31, 0xFF0099FF, 4);
    MakePng(skin_ / "common" / "light.png", 10, 10, 0xFFFFFFFF, 0xFFFFFFFF, 0);
    MakePng(skin_ / "common" / "masked.png", 10, 10, 0xFFFF00FF, 0xFF00FF00, 2);
  }
  UiTestWindow* Open(const std::string& body, int cx = 200, int cy = 100) {
    window_ = std::make_unique<UiTestWindow>("<Window size=\"" + std::to_string(cx) + "," +
                                             std::to_string(cy) + "\">" + body + "</Window>");
    EXPECT_NE(window_->CreateShown(), nullptr);
    window_->GetPaintManager()->RenderToImage();
    return window_.get();
  }
  DWORD Px(int x, int y) { return window_->GetPaintManager()->GetPixel(x, y); }
  std::filesystem::path skin_;
  std::unique_ptr<UiTestWindow> window_;
};

struct Probe {
  int x;
  int y;
  DWORD color;
};

struct RenderCase {
  const char* what;
  const char* body;
  std::vector<Probe> probes;
};

class UiRenderProbes : public UiRender, public ::testing::WithParamInterface<RenderCase> {};

TEST_P(UiRenderProbes, PixelsAtKnownPoints) {
  const RenderCase& c = GetParam();
  Open(c.body);
  for (const Probe& p : c.probes) {
    DWORD got = Px(p.x, p.y);
    EXPECT_TRUE(Near(got, p.color)) << c.what << " at " << p.x << "," << p.y << ": got " << std::hex << got
                                    << " want " << p.color;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UiRenderProbes,
    ::testing::Values(
        RenderCase{"background colour and border",
                   R"(<Control bkcolor="#FF14161A" bordercolor="#FF2F343C" bordersize="2"/>)",
                   {{100, 50, 0xFF14161A}, {0, 0, 0xFF2F343C}, {1, 99, 0xFF2F343C}, {2, 2, 0xFF14161A}}},
        RenderCase{"an image stretched over the control keeps a 2x frame",
                   R"(<Control bkimage="common\key.png"/>)",
                   {{100, 50, 0xFF262A31}, {2, 50, 0xFF0099FF}, {100, 97, 0xFF0099FF}}},
        RenderCase{"nine-grid corners keep their size",
                   R"(<Control bkimage="file='common/key.png' corner='4,4,4,4'"/>)",
                   {{2, 2, 0xFF0099FF}, {5, 5, 0xFF262A31}, {197, 50, 0xFF0099FF}, {195, 50, 0xFF262A31}}},
        RenderCase{"dest places the image inside the control",
                   R"(<Control bkcolor="#FF000000" bkimage="file='common/key.png' dest='10,10,30,30'"/>)",
                   {{5, 5, 0xFF000000}, {20, 20, 0xFF262A31}, {11, 11, 0xFF0099FF}, {40, 40, 0xFF000000}}},
        RenderCase{"source takes part of the image",
                   R"(<Control bkimage="file='common/key.png' source='6,6,14,14'"/>)",
                   {{2, 2, 0xFF262A31}, {190, 90, 0xFF262A31}}},
        RenderCase{
            "mask makes a colour transparent, fade dims",
            R"(<VerticalLayout bkcolor="#FF000000"><Control height="50" bkimage="file='common/masked.png' mask='#FFFF00FF'"/>
                      <Control bkimage="file='common/masked.png' fade='128'"/></VerticalLayout>)",
            {{100, 25, 0xFF000000}, {1, 1, 0xFF00FF00}, {100, 75, 0xFF800080}}},
        RenderCase{
            "hole leaves the middle out",
            R"(<Control bkcolor="#FF000000" bkimage="file='common/key.png' corner='4,4,4,4' hole='true'"/>)",
            {{100, 50, 0xFF000000}, {1, 1, 0xFF0099FF}}},
        RenderCase{"round corners clip the background",
                   R"(<Control bkcolor="#FFFFFFFF" borderround="40,40"/>)",
                   {{0, 0, 0x00000000}, {100, 50, 0xFFFFFFFF}}},
        RenderCase{"a missing image draws nothing",
                   R"(<Control bkcolor="#FF123456" bkimage="nothere.png"/>)",
                   {{100, 50, 0xFF123456}}},
        RenderCase{"progress fills the done part",
                   R"(<Progress bkcolor="#FF262A31" forecolor="#FF0099FF" min="0" max="100" value="25"/>)",
                   {{10, 50, 0xFF0099FF}, {45, 50, 0xFF0099FF}, {60, 50, 0xFF262A31}}}),
    [](const auto& info) { return CaseName(info.param.what); });

TEST_F(UiRender, TintShowsTheKeysColourInTheImagesShape) {
  UiTestWindow* w = Open(R"(<Control name="key" bkcolor="#FF000000"/>)", 40, 40);
  CPaintManagerUI* pm = w->GetPaintManager();
  cairo_t* cr = cairo_create(pm->GetFrame());
  RECT rc{0, 0, 40, 40};
  CRenderEngine::DrawImageString(cr, pm, rc, rc, "file='common/light.png' dest='10,10,30,30'", nullptr,
                                 RGB(0, 200, 0), 255, true);
  cairo_destroy(cr);
  EXPECT_TRUE(Near(Px(20, 20), 0xFF00C800)) << std::hex << Px(20, 20);
  EXPECT_TRUE(Near(Px(5, 5), 0xFF000000));
  // Level 128 mixes the tint half over the image.
  cr = cairo_create(pm->GetFrame());
  CRenderEngine::DrawColor(cr, rc, 0xFF000000);
  CRenderEngine::DrawImageString(cr, pm, rc, rc, "file='common/light.png' dest='10,10,30,30'", nullptr,
                                 RGB(255, 0, 0), 128, true);
  cairo_destroy(cr);
  EXPECT_TRUE(Near(Px(20, 20), 0xFFFF7F7F, 10)) << std::hex << Px(20, 20);
}

TEST_F(UiRender, PiesAndRoundRectsDrawWhereExpected) {
  UiTestWindow* w = Open(R"(<Control bkcolor="#FF000000"/>)", 100, 100);
  cairo_t* cr = cairo_create(w->GetPaintManager()->GetFrame());
  // A quarter from 90 degrees (pointing down) clockwise: the lower-left quarter.
  CRenderEngine::FillPie(cr, RECT{0, 0, 100, 100}, 90, 90, 0xFFFF0000);
  cairo_destroy(cr);
  EXPECT_TRUE(Near(Px(30, 70), 0xFFFF0000));
  EXPECT_TRUE(Near(Px(70, 70), 0xFF000000));
  EXPECT_TRUE(Near(Px(30, 30), 0xFF000000));
  cr = cairo_create(w->GetPaintManager()->GetFrame());
  CRenderEngine::FillRoundRect(cr, RECT{10, 10, 90, 90}, 20, 20, 0xFF00FF00);
  cairo_destroy(cr);
  EXPECT_TRUE(Near(Px(50, 50), 0xFF00FF00));
  EXPECT_TRUE(Near(Px(11, 11), 0xFF000000));
}

// Counts pixels that differ from the background inside a rectangle.
int InkIn(CPaintManagerUI* pm, RECT r, DWORD background) {
  int ink = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (!Near(pm->GetPixel(x, y), background, 40)) ++ink;
  return ink;
}

struct ScriptCase {
  const char* what;
  const char* text;
};

class UiRenderText : public UiRender, public ::testing::WithParamInterface<ScriptCase> {};

TEST_P(UiRenderText, TextOfEveryScriptIsDrawnAndAligned) {
  std::string body = std::string(R"(<VerticalLayout bkcolor="#FF000000">
      <Label name="l" height="30" align="left" text=")") +
                     GetParam().text + R"(" textcolor="#FFFFFFFF"/>
      <Label name="r" height="30" align="right" text=")" +
                     GetParam().text + R"(" textcolor="#FFFFFFFF"/>
      <Label name="e" height="30" width="40" endellipsis="true" text=")" +
                     GetParam().text + GetParam().text + GetParam().text +
                     R"(" textcolor="#FFFFFFFF"/></VerticalLayout>)";
  UiTestWindow* w = Open(body, 300, 90);
  CPaintManagerUI* pm = w->GetPaintManager();
  int leftInk = InkIn(pm, RECT{0, 0, 100, 30}, 0xFF000000);
  int leftFar = InkIn(pm, RECT{200, 0, 300, 30}, 0xFF000000);
  int rightInk = InkIn(pm, RECT{200, 30, 300, 60}, 0xFF000000);
  int rightFar = InkIn(pm, RECT{0, 30, 100, 60}, 0xFF000000);
  EXPECT_GT(leftInk, 20) << GetParam().what;
  EXPECT_EQ(leftFar, 0) << GetParam().what;
  EXPECT_GT(rightInk, 20) << GetParam().what;
  EXPECT_EQ(rightFar, 0) << GetParam().what;
  // The ellipsized label stays inside its 40 pixels.
  EXPECT_GT(InkIn(pm, RECT{0, 60, 40, 90}, 0xFF000000), 10);
  EXPECT_EQ(InkIn(pm, RECT{41, 60, 300, 90}, 0xFF000000), 0);
}

INSTANTIATE_TEST_SUITE_P(Scripts, UiRenderText,
                         ::testing::Values(ScriptCase{"Latin", "Keyboard"}, ScriptCase{"Chinese", "控制灯光"},
                                           ScriptCase{"Thai", "แป้นพิมพ์"}),
                         [](const auto& info) { return CaseName(info.param.what); });

TEST_F(UiRender, WrappedTextUsesSeveralLines) {
  UiTestWindow* w = Open(R"(<VerticalLayout bkcolor="#FF000000"><Text name="t" textcolor="#FFFFFFFF"
      text="one two three four five six seven eight nine ten eleven twelve"/></VerticalLayout>)",
                         120, 100);
  CPaintManagerUI* pm = w->GetPaintManager();
  EXPECT_GT(InkIn(pm, RECT{0, 0, 120, 16}, 0xFF000000), 10);
  EXPECT_GT(InkIn(pm, RECT{0, 18, 120, 34}, 0xFF000000), 10);
}

TEST_F(UiRender, OnlyDirtyControlsAreRepainted) {
  UiTestWindow* w = Open(R"(<HorizontalLayout bkcolor="#FF000000"><Control name="a" bkcolor="#FF0000FF"/>
      <Control name="b" bkcolor="#FF00FF00"/></HorizontalLayout>)",
                         200, 50);
  CPaintManagerUI* pm = w->GetPaintManager();
  Pump();
  int before = Headless()->PresentCount();
  pm->FindControl("b")->SetBkColor(0xFFFF0000);
  Pump();
  EXPECT_EQ(Headless()->PresentCount(), before + 1);
  RECT dirty = Headless()->LastPresentedRect();
  EXPECT_TRUE(EqualRect(dirty, RECT{100, 0, 200, 50}));
  EXPECT_TRUE(Near(Px(150, 25), 0xFFFF0000));
  EXPECT_TRUE(Near(Px(50, 25), 0xFF0000FF));
}

TEST_F(UiRender, HslImagesFollowTheAdjustment) {
  Open(R"(<HorizontalLayout><Control bkimage="file='common/masked.png' hsl='true'"/>
      <Control bkimage="common/masked.png"/></HorizontalLayout>)",
       100, 20);
  CPaintManagerUI::SetHSL(true, 180 + 120, 100, 100);  // magenta turns yellow, green turns blue
  window_->GetPaintManager()->RenderToImage();
  EXPECT_TRUE(Near(Px(25, 10), 0xFFFFFF00)) << std::hex << Px(25, 10);
  EXPECT_TRUE(Near(Px(75, 10), 0xFFFF00FF)) << std::hex << Px(75, 10);
  CPaintManagerUI::SetHSL(false, 180, 100, 100);
  window_->GetPaintManager()->RenderToImage();
  EXPECT_TRUE(Near(Px(25, 10), 0xFFFF00FF));
}

TEST_F(UiRender, RoundWindowCornersStayTransparent) {
  window_ = std::make_unique<UiTestWindow>(
      R"(<Window size="100,60" roundcorner="20,20"><Control bkcolor="#FF1C1F24"/></Window>)");
  ASSERT_NE(window_->CreateShown(), nullptr);
  window_->GetPaintManager()->RenderToImage();
  EXPECT_EQ(Px(0, 0) >> 24, 0u);
  EXPECT_EQ(Px(99, 59) >> 24, 0u);
  EXPECT_TRUE(Near(Px(50, 30), 0xFF1C1F24));
  EXPECT_TRUE(Near(Px(10, 0), 0xFF1C1F24));
}

TEST_F(UiRender, FrameIsWrittenAsPng) {
  UiTestWindow* w = Open(R"(<Control bkcolor="#FF0099FF"/>)", 30, 20);
  std::filesystem::path out = TestRoot() / "frame.png";
  ASSERT_TRUE(w->GetPaintManager()->SaveImage(out.string().c_str()));
  const TImageInfo* back = CPaintManagerUI::GetImageEx(out.string().c_str());
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->nX, 30);
  EXPECT_EQ(back->nY, 20);
}

TEST_F(UiRender, HslAdjustmentShiftsColoursOfTakingPartControls) {
  UiTestWindow* w = Open(R"(<HorizontalLayout><Control name="a" bkcolor="#FFFF0000" colorhsl="true"/>
      <Control name="b" bkcolor="#FFFF0000"/></HorizontalLayout>)",
                         100, 20);
  CPaintManagerUI::SetHSL(true, 180 + 120, 100, 100);  // red turns green
  w->GetPaintManager()->RenderToImage();
  EXPECT_TRUE(Near(Px(25, 10), 0xFF00FF00)) << std::hex << Px(25, 10);
  EXPECT_TRUE(Near(Px(75, 10), 0xFFFF0000));
  EXPECT_EQ(w->GetPaintManager()->FindControl("a")->GetAdjustColor(0xFF0000FF) & 0xFFFFFF, 0xFF0000u);
  CPaintManagerUI::SetHSL(false, 180, 100, 100);
}

}  // namespace
}  // namespace ostrel::test
