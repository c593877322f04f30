#include "platform/ui/CScreenshot.h"

#include <cairo.h>

#include <cstdlib>

#include "platform/os/DebugLog.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CSdlBackend.h"
#include "platform/ui/WindowApi.h"

namespace ostrel {

namespace {
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 100;
constexpr DWORD kGiveUpMs = 30000;
}  // namespace

bool CScreenshot::SaveWindow(HWND hwnd, const char* path) {
  if (!IsWindow(hwnd) || !path || !*path) return false;
  cairo_surface_t* picture = nullptr;
  if (auto* sdl = dynamic_cast<CSdlBackend*>(CMessageLoop::Instance().Backend())) {
    picture = sdl->CaptureWindow(hwnd);
  } else {
    for (CPaintManagerUI* pm : CPaintManagerUI::GetPaintManagers()) {
      if (pm->GetPaintWindow() != hwnd) continue;
      if (cairo_surface_t* frame = pm->RenderToImage()) picture = cairo_surface_reference(frame);
    }
  }
  if (!picture) {
    DebugPrintf("ui: screenshot: window '%s' shows nothing yet", GetWindowText(hwnd).c_str());
    return false;
  }
  cairo_status_t status = cairo_surface_write_to_png(picture, path);
  cairo_surface_destroy(picture);
  if (status != CAIRO_STATUS_SUCCESS) {
    DebugPrintf("ui: screenshot: %s could not be written: %s", path, cairo_status_to_string(status));
    return false;
  }
  DebugPrintf("ui: screenshot of '%s' saved to %s", GetWindowText(hwnd).c_str(), path);
  return true;
}

bool CScreenshot::ArmFromEnvironment() {
  const char* path = std::getenv("OSTREL_SCREENSHOT");
  if (!path || !*path) return false;
  int delay = 1000;
  if (const char* d = std::getenv("OSTREL_SCREENSHOT_DELAY")) delay = std::atoi(d);
  const char* quit = std::getenv("OSTREL_SCREENSHOT_QUIT");
  return Arm(path, delay, quit && std::string(quit) == "1");
}

bool CScreenshot::Arm(const std::string& path, int delayMs, bool quitAfter) {
  auto* helper = new CScreenshot();
  helper->path_ = path;
  helper->quit_ = quitAfter;
  DWORD now = GetTickCount();
  helper->due_ = now + static_cast<DWORD>(delayMs < 0 ? 0 : delayMs);
  helper->give_up_ = helper->due_ + kGiveUpMs;
  if (!helper->Create(nullptr, "screenshot", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 1, 1)) {
    delete helper;
    return false;
  }
  SetTimer(helper->GetHWND(), kPollTimer, kPollMs);
  return true;
}

HWND CScreenshot::Target() const {
  HWND active = GetActiveWindow();
  if (active && active != m_hWnd && IsWindowVisible(active)) return active;
  for (HWND h : CMessageLoop::Instance().Windows())
    if (h != m_hWnd && IsWindowVisible(h) && !IsIconic(h) && !GetWindowOwner(h)) return h;
  return nullptr;
}

LRESULT CScreenshot::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg != WM_TIMER || wParam != kPollTimer) return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
  // Tick counts wrap; compare by difference.
  DWORD now = GetTickCount();
  if (static_cast<std::int32_t>(now - due_) < 0) return 0;
  HWND target = Target();
  if (target) {
    SaveWindow(target, path_.c_str());
    Finish();
  } else if (static_cast<std::int32_t>(now - give_up_) >= 0) {
    DebugPrintf("ui: screenshot: no window was shown; %s not written", path_.c_str());
    Finish();
  }
  return 0;
}

void CScreenshot::Finish() {
  if (quit_) PostQuitMessage(0);
  DestroyWindow(m_hWnd);
}

void CScreenshot::OnFinalMessage(HWND) { delete this; }

}  // namespace ostrel
