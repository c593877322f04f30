#include "ControlsTestWindow.h"

#include <cairo.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "controls/ProgramControls.h"
#include "platform/os/DebugLog.h"
#include "platform/ui/CResourceManager.h"

namespace ostrel::test {

HWND ControlsTestWindow::CreateShown() {
  HWND h = Create(nullptr, "controls", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, 0);
  CMessageLoop::Instance().PumpPending();
  if (h) m_pm.RenderToImage();
  return h;
}

void ControlsTestWindow::Notify(TNotifyUI& msg) {
  seen.push_back(
      SeenNotify{msg.sType.str(), msg.pSender ? msg.pSender->GetName().str() : "", msg.wParam, msg.lParam});
  WindowImplBase::Notify(msg);
}

int ControlsTestWindow::Count(const std::string& type, const std::string& sender) const {
  int n = 0;
  for (const auto& s : seen)
    if (s.type == type && (sender.empty() || s.sender == sender)) ++n;
  return n;
}

void ControlsTest::SetUp() {
  CMessageLoop& loop = CMessageLoop::Instance();
  loop.AttachCurrentThread();
  loop.Reset();
  loop.SetBackend(std::make_unique<CHeadlessBackend>());
  loop.UseVirtualClock(true);
  CResourceManager::GetInstance()->Release();
  CPaintManagerUI::RemoveAllImages();
  CPaintManagerUI::SetResourcePath(RenderedSkin().c_str());
  RegisterProgramControls();
  SetDebugSink([this](std::string_view line) { debugLines.emplace_back(line); });
}

void ControlsTest::TearDown() {
  SetDebugSink({});
  CMessageLoop::Instance().Reset();
}

CHeadlessBackend* ControlsTest::Headless() {
  return static_cast<CHeadlessBackend*>(CMessageLoop::Instance().Backend());
}

void ControlsTest::Down(ControlsTestWindow& w, int x, int y, WPARAM keys) {
  Headless()->MouseDown(w.GetHWND(), x, y, keys | MK_LBUTTON);
  Pump();
}
void ControlsTest::Move(ControlsTestWindow& w, int x, int y, WPARAM keys) {
  Headless()->MouseMove(w.GetHWND(), x, y, keys);
  Pump();
}
void ControlsTest::Up(ControlsTestWindow& w, int x, int y, WPARAM keys) {
  Headless()->MouseUp(w.GetHWND(), x, y, keys);
  Pump();
}
void ControlsTest::Click(ControlsTestWindow& w, int x, int y, WPARAM keys) {
  Headless()->Click(w.GetHWND(), x, y, keys);
  Pump();
}

std::string ControlsTest::SourceSkin() {
  const char* root = std::getenv("OSTREL_SOURCE_DIR");
  return std::string(root && *root ? root : OSTREL_CONTROLS_SOURCE_DIR) + "/skin/";
}

std::string ControlsTest::RenderedSkin() { return std::string(OSTREL_CONTROLS_APP_DIR) + "/skin/"; }

std::string ControlsTest::WritePng(const char* name, int cx, int cy, DWORD argb, DWORD rightArgb) {
  std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("ostrel-controls-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string path = (dir / name).string();
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cx, cy);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgba(cr, Red(argb) / 255.0, Green(argb) / 255.0, Blue(argb) / 255.0, (argb >> 24) / 255.0);
  cairo_paint(cr);
  if (rightArgb) {
    cairo_set_source_rgba(cr, Red(rightArgb) / 255.0, Green(rightArgb) / 255.0, Blue(rightArgb) / 255.0,
                          (rightArgb >> 24) / 255.0);
    cairo_rectangle(cr, cx / 2, 0, cx - cx / 2, cy);
    cairo_fill(cr);
  }
  cairo_destroy(cr);
  cairo_surface_write_to_png(s, path.c_str());
  cairo_surface_destroy(s);
  return path;
}

}  // namespace ostrel::test
