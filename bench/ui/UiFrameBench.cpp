// Frame cost of the device picture: a 1000x640 window with 132 key buttons
// (image + label each), painted whole, and the lighting preview's repaint
// of the keys whose colour changed.
#include <benchmark/benchmark.h>
#include <cairo.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ui/CButtonUI.h"
#include "platform/ui/CControlFactory.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"
#include "platform/ui/WindowImplBase.h"

namespace ostrel {
namespace {

constexpr int kRows = 6;
constexpr int kColumns = 22;

// A key as the lighting preview draws it: its status image, then the light
// image tinted with the key's colour.
class BenchKeyButton : public CButtonUI {
 public:
  void SetLight(DWORD color) {
    if (color == light_) return;
    light_ = color;
    Invalidate();
  }
  void PaintStatusImage(HDC hDC) override {
    CButtonUI::PaintStatusImage(hDC);
    CRenderEngine::DrawImageString(hDC, m_pManager, m_rcItem, m_rcPaint, "common/light.png", nullptr, light_,
                                   255, true);
  }

 private:
  DWORD light_ = RGB(0, 153, 255);
};

CControlUI* MakeKey() { return new BenchKeyButton; }

void MakePng(const std::filesystem::path& path, int w, int h, double r, double g, double b, double a,
             int border) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgba(cr, 0.18, 0.20, 0.24, 1);
  cairo_paint(cr);
  cairo_set_source_rgba(cr, r, g, b, a);
  cairo_rectangle(cr, border, border, w - 2 * border, h - 2 * border);
  cairo_fill(cr);
  cairo_destroy(cr);
  std::filesystem::create_directories(path.parent_path());
  cairo_surface_write_to_png(s, path.string().c_str());
  cairo_surface_destroy(s);
}

std::string Layout() {
  std::string keys;
  const char* labels[] = {"Esc", "F1", "Q", "W", "E", "R", "T", "Y", "Ctrl", "Shift", "控制", "แป้น"};
  for (int row = 0; row < kRows; ++row) {
    for (int col = 0; col < kColumns; ++col) {
      int i = row * kColumns + col;
      int x = 20 + col * 43;
      int y = 180 + row * 46;
      keys += "<BenchKey name=\"key_" + std::to_string(i) + "\" float=\"true\" pos=\"" + std::to_string(x) +
              "," + std::to_string(y) + "," + std::to_string(x + 40) + "," + std::to_string(y + 40) +
              "\" normalimage=\"file='common/key.png' corner='4,4,4,4'\" hotimage=\"common/key_hot.png\" "
              "text=\"" +
              labels[i % 12] + "\" textcolor=\"#FFFFFFFF\"/>";
    }
  }
  return R"(<Window size="1000,640"><VerticalLayout bkcolor="#FF14161A">
      <HorizontalLayout height="40" bkcolor="#FF1C1F24"><Label text="Kestrane" font="2" width="200"/><Control/>
        <Button name="minbtn" width="40"/><Button name="closebtn" width="40"/></HorizontalLayout>
      <HorizontalLayout height="84" bkcolor="#FF1C1F24"><Label text="Keyboard" width="300"/></HorizontalLayout>
      <Container name="SelectPanel" bkimage="common/device.png">)" +
         keys + "</Container></VerticalLayout></Window>";
}

class BenchWindow : public WindowImplBase {
 public:
  CDuiString GetSkinFile() override { return CDuiString(Layout()); }
  const char* GetWindowClassName() const override { return "BenchWindow"; }
};

struct Fixture {
  Fixture() {
    std::filesystem::path skin =
        std::filesystem::temp_directory_path() / ("ostrel-bench-ui-" + std::to_string(getpid()));
    MakePng(skin / "common" / "key.png", 40, 40, 0.15, 0.16, 0.19, 1, 3);
    MakePng(skin / "common" / "key_hot.png", 40, 40, 0.19, 0.21, 0.24, 1, 3);
    MakePng(skin / "common" / "light.png", 40, 40, 1, 1, 1, 0.6, 6);
    MakePng(skin / "common" / "device.png", 1000, 516, 0.11, 0.12, 0.14, 1, 10);
    CPaintManagerUI::SetResourcePath(skin.string().c_str());
    CControlFactory::GetInstance()->RegistControl("BenchKey", &MakeKey);
    CMessageLoop::Instance().UseVirtualClock(true);
    window.Create(nullptr, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 0, 1000, 640);
    CMessageLoop::Instance().PumpPending();
    pm = window.GetPaintManager();
    pm->RenderToImage();
    for (int i = 0; i < kRows * kColumns; ++i)
      keys.push_back(static_cast<BenchKeyButton*>(pm->FindControl(("key_" + std::to_string(i)).c_str())));
    // The frame can be looked at: OSTREL_BENCH_UI_PNG names the file to write.
    if (const char* out = std::getenv("OSTREL_BENCH_UI_PNG")) pm->SaveImage(out);
  }
  BenchWindow window;
  CPaintManagerUI* pm = nullptr;
  std::vector<BenchKeyButton*> keys;
};

Fixture& Shared() {
  static Fixture* f = new Fixture();
  return *f;
}

void BM_FullFrame(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    f.pm->Invalidate();
    f.pm->Paint();
    benchmark::DoNotOptimize(f.pm->GetFrame());
  }
  state.counters["keys"] = static_cast<double>(f.keys.size());
}
BENCHMARK(BM_FullFrame)->Unit(benchmark::kMillisecond);

void BM_LayoutAndFullFrame(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    f.pm->GetRoot()->NeedUpdate();
    f.pm->RenderToImage();
  }
}
BENCHMARK(BM_LayoutAndFullFrame)->Unit(benchmark::kMillisecond);

// One preview frame: `changed` keys get a new colour and only they are repainted.
void BM_LightingRepaint(benchmark::State& state) {
  Fixture& f = Shared();
  const int changed = static_cast<int>(state.range(0));
  int frame = 0;
  for (auto _ : state) {
    ++frame;
    for (int i = 0; i < changed; ++i) {
      int k = (frame * 7 + i) % static_cast<int>(f.keys.size());
      f.keys[k]->SetLight(RGB((frame * 13 + i) & 0xFF, (frame * 5) & 0xFF, 255 - (i & 0xFF)));
    }
    f.pm->Paint();
  }
  state.counters["changed_keys"] = changed;
}
BENCHMARK(BM_LightingRepaint)->Arg(10)->Arg(22)->Arg(132)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ostrel

BENCHMARK_MAIN();
