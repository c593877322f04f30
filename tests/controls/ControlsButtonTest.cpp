// Key buttons, picture buttons, the record button and the progress ring.

#include <cmath>
#include <cstdlib>
#include <string>

#include "ControlsTestWindow.h"
#include "controls/CCircleProgressUI.h"
#include "controls/CDeviceKeyButtonUI.h"
#include "controls/CHandImgButtonUI.h"
#include "controls/CHandImgSelectButtonUI.h"
#include "controls/CRedioMacroButtonUI.h"

namespace ostrel::test {
namespace {

// ---- CDeviceKeyButtonUI -------------------------------------------------

class ControlsDeviceKeyButton : public ControlsTest {
 protected:
  void Open(const std::string& light, const std::string& keyset) {
    std::string xml = R"(<Window size="100,100"><VerticalLayout bkcolor="#FF14161A">
        <DeviceKeyButton name="key_1" float="true" pos="20,20,60,60" bkcolor="#FF262A31"
          lightimage=")" +
                      light + R"(" keysetimage=")" + keyset + R"(" gmnametextcolor="#FF00FF00"/>
      </VerticalLayout></Window>)";
    w = std::make_unique<ControlsTestWindow>(xml);
    ASSERT_NE(w->CreateShown(), nullptr);
    key = w->FindAs<CDeviceKeyButtonUI>("key_1");
    ASSERT_NE(key, nullptr);
  }
  DWORD CentrePixel() {
    w->GetPaintManager()->RenderToImage();
    return w->GetPaintManager()->GetPixel(40, 40);
  }
  std::unique_ptr<ControlsTestWindow> w;
  CDeviceKeyButtonUI* key = nullptr;
};

TEST_F(ControlsDeviceKeyButton, TheLightImageShowsTheKeysColourOnlyWhileTinted) {
  Open(WritePng("light.png", 40, 40, 0xFFFFFFFF), "");
  DWORD untinted = CentrePixel();
  EXPECT_EQ(untinted, 0xFF262A31u) << "a key never tinted shows no light image";

  struct Case {
    DWORD rgb;
    DWORD expected;
  };
  const Case cases[] = {
      {RGB(255, 0, 0), 0xFFFF0000}, {RGB(0, 128, 255), 0xFF0080FF}, {RGB(0, 255, 0), 0xFF00FF00}};
  for (const Case& c : cases) {
    key->SetLightTint(true, c.rgb, 255);
    DWORD px = CentrePixel();
    EXPECT_NEAR(Red(px), Red(c.expected), 2) << std::hex << c.rgb;
    EXPECT_NEAR(Green(px), Green(c.expected), 2) << std::hex << c.rgb;
    EXPECT_NEAR(Blue(px), Blue(c.expected), 2) << std::hex << c.rgb;
  }
  key->SetLightTint(false, RGB(255, 0, 0), 255);
  EXPECT_EQ(CentrePixel(), untinted);
}

TEST_F(ControlsDeviceKeyButton, TheKeySetImageMarksOnlyReassignedKeys) {
  Open("", WritePng("keyset.png", 40, 40, 0xFFE5484D));
  EXPECT_TRUE(key->IsKeySetImageHidden());
  EXPECT_EQ(CentrePixel(), 0xFF262A31u);
  key->SetKeySetImageHidden(false);
  EXPECT_EQ(CentrePixel(), 0xFFE5484Du);
  key->SetKeySetImageHidden(true);
  EXPECT_EQ(CentrePixel(), 0xFF262A31u);
}

TEST_F(ControlsDeviceKeyButton, ASelectedKeyShowsItsSelectedImage) {
  Open("", "");
  key->SetSelectedImage(WritePng("selected.png", 40, 40, 0xFF0099FF).c_str());
  EXPECT_EQ(CentrePixel(), 0xFF262A31u);
  key->SetSelected(true);
  EXPECT_EQ(CentrePixel(), 0xFF0099FFu);
  key->SetSelected(false);
  EXPECT_EQ(CentrePixel(), 0xFF262A31u);
}

TEST_F(ControlsDeviceKeyButton, DoubleClickRaisesDbclickAndDisabledKeysStayQuiet) {
  Open("", "");
  Headless()->DoubleClick(w->GetHWND(), 40, 40);
  Pump();
  EXPECT_EQ(w->Count("dbclick", "key_1"), 1);
  EXPECT_EQ(key->GetColorValue(3), 0xFF0099FFu);
  key->SetEnabled(false);
  Headless()->DoubleClick(w->GetHWND(), 40, 40);
  Pump();
  EXPECT_EQ(w->Count("dbclick", "key_1"), 1);
}

// ---- CHandImgButtonUI ---------------------------------------------------

class ControlsHandImgButton : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    ASSERT_NE(w.CreateShown(), nullptr);
    button = w.FindAs<CHandImgButtonUI>("picture");
    ASSERT_NE(button, nullptr);
  }
  ControlsTestWindow w{R"(<Window size="200,200"><VerticalLayout>
      <HandImgButton name="picture" float="true" pos="10,10,130,110"
        deletenormalimage="common/delete_normal.png" deletehotimage="common/delete_hot.png"/>
    </VerticalLayout></Window>)"};
  CHandImgButtonUI* button = nullptr;
};

TEST_F(ControlsHandImgButton, TheDeleteCornerRaisesItsOwnNotificationOnlyWhenShown) {
  // The corner spans x 100..120, y 81..101 (30 and 29 before the edges).
  EXPECT_EQ(button->GetDeleteRect().left, 100);
  EXPECT_EQ(button->GetDeleteRect().top, 81);
  struct Case {
    const char* what;
    bool hidden;
    POINT at;
    int deletes;
    int clicks;
  };
  const Case cases[] = {
      {"corner with the mark shown", false, {110, 90}, 1, 0},
      {"middle with the mark shown", false, {50, 50}, 0, 1},
      {"just left of the corner", false, {99, 90}, 0, 1},
      {"corner with the mark hidden", true, {110, 90}, 0, 1},
  };
  for (const Case& c : cases) {
    w.seen.clear();
    button->SetDeleteHidden(c.hidden);
    Click(w, c.at.x, c.at.y);
    EXPECT_EQ(w.Count("click_handdelete", "picture"), c.deletes) << c.what;
    EXPECT_EQ(w.Count("click", "picture"), c.clicks) << c.what;
    EXPECT_EQ(button->GetButtonState() & (UISTATE_CAPTURED | UISTATE_PUSHED), 0u) << c.what;
  }
}

TEST_F(ControlsHandImgButton, ThePointerChoosesTheDeleteImageAndRaisesEnterAndLeave) {
  button->SetDeleteHidden(false);
  Move(w, 50, 50);
  EXPECT_EQ(w.Count("msenter", "picture"), 1);
  EXPECT_EQ(button->GetCurrentDeleteImage(), "common/delete_normal.png");
  Move(w, 110, 90);
  EXPECT_EQ(button->GetCurrentDeleteImage(), "common/delete_hot.png");
  Move(w, 180, 180);
  EXPECT_EQ(w.Count("msleave", "picture"), 1);
}

TEST_F(ControlsHandImgButton, ReleasingOutsideIsNoClick) {
  Down(w, 50, 50);
  Move(w, 180, 180);
  EXPECT_EQ(button->GetButtonState() & UISTATE_PUSHED, 0u);
  Up(w, 180, 180);
  EXPECT_EQ(w.Count("click"), 0);
  EXPECT_EQ(w.Count("click_handdelete"), 0);
}

TEST_F(ControlsHandImgButton, ThePictureIsDrawnAndTheMarkOnlyWhileHotAndShown) {
  std::string picture = WritePng("hand.png", 120, 100, 0xFF0099FF);
  std::string mark = WritePng("mark.png", 20, 20, 0xFFE5484D);
  button->SetHandImage(picture.c_str());
  button->SetDeleteNormalImage(mark.c_str());
  button->SetDeleteHotImage(mark.c_str());
  auto pixel = [&](int x, int y) {
    w.GetPaintManager()->RenderToImage();
    return w.GetPaintManager()->GetPixel(x, y);
  };
  EXPECT_EQ(pixel(50, 50), 0xFF0099FFu);
  EXPECT_EQ(pixel(110, 90), 0xFF0099FFu) << "no mark while the pointer is away";
  Move(w, 50, 50);
  EXPECT_EQ(pixel(110, 90), 0xFF0099FFu) << "no mark while it is hidden";
  button->SetDeleteHidden(false);
  EXPECT_EQ(pixel(110, 90), 0xFFE5484Du);
  EXPECT_EQ(pixel(99, 90), 0xFF0099FFu) << "the mark keeps to its square";
}

TEST_F(ControlsHandImgButton, TheDeleteCornerScalesWithTheWindow) {
  w.GetPaintManager()->SetDPI(192);
  Pump();
  w.GetPaintManager()->RenderToImage();
  RECT item = button->GetPos();
  RECT mark = button->GetDeleteRect();
  EXPECT_EQ(item.right - mark.left, 60);
  EXPECT_EQ(item.bottom - mark.top, 58);
  EXPECT_EQ(mark.right - mark.left, 40);
  EXPECT_EQ(mark.bottom - mark.top, 40);
}

// ---- CHandImgSelectButtonUI ---------------------------------------------

class ControlsHandImgSelectButton : public ControlsTest {
 protected:
  void Open(int pictureWidth, int pictureHeight) {
    std::string picture = WritePng("picture.png", pictureWidth, pictureHeight, 0xFF0099FF);
    std::string xml = R"(<Window size="300,200"><VerticalLayout>
        <HandImgSelectButton name="pan" float="true" pos="100,50,180,110" cursor="hand"
          handimage=")" +
                      picture + R"("/></VerticalLayout></Window>)";
    w = std::make_unique<ControlsTestWindow>(xml);
    ASSERT_NE(w->CreateShown(), nullptr);
    pan = w->FindAs<CHandImgSelectButtonUI>("pan");
    ASSERT_NE(pan, nullptr);
  }
  // A drag by (dx, dy) in steps of at most 20 px, starting in the middle.
  void Drag(int dx, int dy) {
    int x = 140;
    int y = 80;
    Down(*w, x, y);
    int steps = std::max(std::abs(dx), std::abs(dy)) / 20 + 1;
    for (int i = 1; i <= steps; ++i) Move(*w, x + dx * i / steps, y + dy * i / steps, MK_LBUTTON);
    Up(*w, x + dx, y + dy);
  }
  std::unique_ptr<ControlsTestWindow> w;
  CHandImgSelectButtonUI* pan = nullptr;
};

TEST_F(ControlsHandImgSelectButton, DraggingPastEitherEndStopsAtThePicturesEdges) {
  Open(200, 100);
  EXPECT_EQ(pan->GetCursor(), 32649);
  EXPECT_TRUE(EqualRect(pan->GetSourceRect(), RECT{0, 0, 80, 60}));
  EXPECT_NE(pan->GetDrawString().str().find("source='0,0,80,60'"), std::string::npos) << pan->GetDrawString();

  struct Step {
    const char* what;
    int dx;
    int dy;
    RECT expected;
  };
  const Step steps[] = {
      {"left by 50 shows more of the right", -50, 0, {50, 0, 130, 60}},
      {"far left stops at the right edge", -400, 0, {120, 0, 200, 60}},
      {"up stops at the bottom edge", 0, -300, {120, 40, 200, 100}},
      {"right by 30", 30, 0, {90, 40, 170, 100}},
      {"far right and down stop at the left and top edges", 500, 500, {0, 0, 80, 60}},
  };
  for (const Step& s : steps) {
    Drag(s.dx, s.dy);
    RECT r = pan->GetSourceRect();
    EXPECT_TRUE(EqualRect(r, s.expected))
        << s.what << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    EXPECT_FALSE(pan->IsDragging());
  }
}

TEST_F(ControlsHandImgSelectButton, APictureSmallerThanTheButtonIsDrawnWholeAndDoesNotMove) {
  Open(40, 30);
  EXPECT_EQ(pan->GetDrawString(), pan->GetHandImage());
  Drag(-50, -50);
  EXPECT_EQ(pan->GetDrawString(), pan->GetHandImage());
}

TEST_F(ControlsHandImgSelectButton, ThePicturesVisiblePartIsWhatIsDrawn) {
  // Left half blue, right half red; dragging left by the button's width shows the red half.
  std::string picture = WritePng("halves.png", 160, 60, 0xFF0099FF, 0xFFE5484D);
  w = std::make_unique<ControlsTestWindow>(R"(<Window size="300,200"><VerticalLayout>
      <HandImgSelectButton name="pan" float="true" pos="100,50,180,110" handimage=")" +
                                           picture + R"("/></VerticalLayout></Window>)");
  ASSERT_NE(w->CreateShown(), nullptr);
  pan = w->FindAs<CHandImgSelectButtonUI>("pan");
  w->GetPaintManager()->RenderToImage();
  EXPECT_EQ(w->GetPaintManager()->GetPixel(140, 80), 0xFF0099FFu);
  Drag(-80, 0);
  w->GetPaintManager()->RenderToImage();
  EXPECT_EQ(w->GetPaintManager()->GetPixel(140, 80), 0xFFE5484Du);
}

// ---- CRedioMacroButtonUI ------------------------------------------------

class ControlsRedioMacroButton : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    ASSERT_NE(w.CreateShown(), nullptr);
    button = w.FindAs<CRedioMacroButtonUI>("record");
    ASSERT_NE(button, nullptr);
  }
  ControlsTestWindow w{R"(<Window size="100,100"><VerticalLayout>
      <RedioMacroButton name="record" redioimage="common/record/record_blink.png"
        normalimage="common/record/record_normal.png"/></VerticalLayout></Window>)"};
  CRedioMacroButtonUI* button = nullptr;
};

TEST_F(ControlsRedioMacroButton, BlinkingFadesBetween80And255EveryFiftyMilliseconds) {
  button->SetBlinking(true);
  EXPECT_TRUE(w.GetPaintManager()->HasTimer(button, CRedioMacroButtonUI::kBlinkTimerId));
  Advance(49);
  EXPECT_EQ(button->GetFade(), 255) << "nothing before the first period";
  const int expected[] = {235, 215, 195, 175, 155, 135, 115, 95, 80, 100, 120};
  for (int fade : expected) {
    Advance(50);
    EXPECT_EQ(button->GetFade(), fade);
  }
  EXPECT_EQ(button->GetNormalImage(), "res='common/record/record_blink.png' fade='120'");
  EXPECT_GE(w.Count("timer", "record"), 11);
}

TEST_F(ControlsRedioMacroButton, StoppingKeepsTheLastImageAndEndsTheTimer) {
  button->SetBlinking(true);
  Advance(100);
  button->SetBlinking(false);
  Advance(50);
  CDuiString last = button->GetNormalImage();
  EXPECT_FALSE(w.GetPaintManager()->HasTimer(button, CRedioMacroButtonUI::kBlinkTimerId));
  Advance(500);
  EXPECT_EQ(button->GetNormalImage(), last);
  EXPECT_EQ(last, "res='common/record/record_blink.png' fade='195'");
}

TEST_F(ControlsRedioMacroButton, WithoutARecordImageTheButtonKeepsItsImage) {
  button->SetRecordImage("");
  button->SetBlinking(true);
  Advance(200);
  EXPECT_EQ(button->GetNormalImage(), "common/record/record_normal.png");
  EXPECT_EQ(button->GetFade(), 255);
}

// ---- CCircleProgressUI --------------------------------------------------

class ControlsCircleProgress : public ControlsTest {
 protected:
  void Open(int value, int min = 0, int max = 100) {
    std::string xml = R"(<Window size="120,120"><VerticalLayout bkcolor="#FF14161A">
        <CircleProgress name="ring" float="true" pos="10,10,110,110" bkcolor="#FF30353D"
          forecolor="#FF0099FF" foreimage="common/key/key_set.png" min=")" +
                      std::to_string(min) + R"(" max=")" + std::to_string(max) + R"(" value=")" +
                      std::to_string(value) + R"("/></VerticalLayout></Window>)";
    w = std::make_unique<ControlsTestWindow>(xml);
    ASSERT_NE(w->CreateShown(), nullptr);
    w->GetPaintManager()->RenderToImage();
  }
  // The ring's pixel at `degrees` (clockwise from 3 o'clock), 45 px out
  // from the centre: inside the 10-px ring.
  DWORD RingAt(double degrees) {
    double a = degrees * 3.14159265358979 / 180.0;
    int x = static_cast<int>(60 + 45 * std::cos(a));
    int y = static_cast<int>(60 + 45 * std::sin(a));
    return w->GetPaintManager()->GetPixel(x, y);
  }
  std::unique_ptr<ControlsTestWindow> w;
};

TEST_F(ControlsCircleProgress, AQuarterStartsAt90DegreesAndLeavesAWhiteMiddle) {
  Open(25);
  EXPECT_EQ(w->FindAs<CCircleProgressUI>("ring")->SweepDegrees(), 90);
  struct Probe {
    double degrees;
    DWORD expected;
  };
  const Probe probes[] = {
      {100, 0xFF0099FF}, {135, 0xFF0099FF}, {170, 0xFF0099FF},  // 6 to 9 o'clock: done
      {80, 0xFF30353D},  {45, 0xFF30353D},  {190, 0xFF30353D},  // either side of it
      {270, 0xFF30353D}, {315, 0xFF30353D},
  };
  for (const Probe& p : probes) EXPECT_EQ(RingAt(p.degrees), p.expected) << p.degrees << " degrees";
  EXPECT_EQ(w->GetPaintManager()->GetPixel(60, 60), 0xFFFFFFFFu);
  EXPECT_EQ(w->GetPaintManager()->GetPixel(5, 5), 0xFF14161Au) << "nothing outside the ring";
}

TEST_F(ControlsCircleProgress, TheSweepFollowsTheValueWithinTheRange) {
  struct Case {
    int value;
    int min;
    int max;
    int sweep;
  };
  const Case cases[] = {{0, 0, 100, 0},       {100, 0, 100, 360}, {50, 0, 100, 180}, {1, 0, 3, 120},
                        {150, 100, 200, 180}, {100, 100, 200, 0}, {5, 5, 5, 0}};
  for (const Case& c : cases) {
    Open(c.value, c.min, c.max);
    EXPECT_EQ(w->FindAs<CCircleProgressUI>("ring")->SweepDegrees(), c.sweep)
        << c.value << " of " << c.min << ".." << c.max;
  }
  Open(0);
  EXPECT_EQ(RingAt(135), 0xFF30353Du) << "an empty ring shows no fore colour";
}

}  // namespace
}  // namespace ostrel::test
