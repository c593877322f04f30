#include "platform/ui/CHeadlessBackend.h"

#include <chrono>

#include "platform/ui/CMessageLoop.h"

namespace ostrel {

CHeadlessBackend::CHeadlessBackend(RECT monitor) : monitor_(monitor) {}

bool CHeadlessBackend::CreateNativeWindow(HWND, const WindowCreateParams&) { return true; }

void CHeadlessBackend::DestroyNativeWindow(HWND hwnd) {
  if (captured_ == hwnd) captured_ = nullptr;
  if (foreground_ == hwnd) foreground_ = nullptr;
}

void CHeadlessBackend::SetNativeRect(HWND, const RECT&) {}

void CHeadlessBackend::ShowNativeWindow(HWND hwnd, int show) {
  if (show != SW_HIDE && show != SW_MINIMIZE && show != SW_SHOWMINIMIZED) foreground_ = hwnd;
}

void CHeadlessBackend::SetNativeTitle(HWND, const std::string&) {}
void CHeadlessBackend::SetNativeTopmost(HWND, bool) {}
void CHeadlessBackend::BringToFront(HWND hwnd) { foreground_ = hwnd; }

void CHeadlessBackend::Present(HWND, _cairo_surface*, const RECT& dirty) {
  ++presents_;
  last_dirty_ = dirty;
}

void CHeadlessBackend::SetMouseCapture(HWND hwnd, bool captured) {
  if (captured) {
    captured_ = hwnd;
  } else if (captured_ == hwnd) {
    captured_ = nullptr;
  }
}

void CHeadlessBackend::ShowToolTip(HWND, const std::string& text, const RECT&) { tooltip_ = text; }
void CHeadlessBackend::HideToolTip(HWND) { tooltip_.clear(); }

RECT CHeadlessBackend::GetMonitorRect(HWND) const { return monitor_; }

void CHeadlessBackend::WaitForEvents(int timeout_ms) {
  if (idle_ && idle_()) return;
  if (timeout_ms == 0) return;
  std::unique_lock<std::mutex> lock(mutex_);
  if (timeout_ms < 0) {
    wake_.wait(lock, [&] { return woken_; });
  } else {
    wake_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return woken_; });
  }
  woken_ = false;
}

void CHeadlessBackend::Wake() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    woken_ = true;
  }
  wake_.notify_all();
}

void CHeadlessBackend::PostInput(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  CMessageLoop::Instance().Post(hwnd, message, w, l);
}

void CHeadlessBackend::MouseMove(HWND hwnd, int x, int y, WPARAM keys) {
  RECT rc{};
  if (WindowRecord* rec = CMessageLoop::Instance().Find(hwnd)) rc = rec->rect;
  cursor_ = POINT{rc.left + x, rc.top + y};
  PostInput(hwnd, WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
}

void CHeadlessBackend::MouseDown(HWND hwnd, int x, int y, WPARAM keys) {
  MouseMove(hwnd, x, y, keys);
  PostInput(hwnd, WM_LBUTTONDOWN, keys | MK_LBUTTON, MAKELPARAM(x, y));
}

void CHeadlessBackend::MouseUp(HWND hwnd, int x, int y, WPARAM keys) {
  PostInput(hwnd, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
}

void CHeadlessBackend::Click(HWND hwnd, int x, int y, WPARAM keys) {
  MouseDown(hwnd, x, y, keys);
  MouseUp(hwnd, x, y, keys);
}

void CHeadlessBackend::DoubleClick(HWND hwnd, int x, int y, WPARAM keys) {
  Click(hwnd, x, y, keys);
  PostInput(hwnd, WM_LBUTTONDBLCLK, keys | MK_LBUTTON, MAKELPARAM(x, y));
  MouseUp(hwnd, x, y, keys);
}

void CHeadlessBackend::RightClick(HWND hwnd, int x, int y) {
  MouseMove(hwnd, x, y);
  PostInput(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
  PostInput(hwnd, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
  PostInput(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(cursor_.x, cursor_.y));
}

void CHeadlessBackend::Wheel(HWND hwnd, int x, int y, int delta) {
  MouseMove(hwnd, x, y);
  PostInput(hwnd, WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<std::uint32_t>(delta & 0xFFFF) << 16),
            MAKELPARAM(cursor_.x, cursor_.y));
}

void CHeadlessBackend::KeyDown(HWND hwnd, UINT vk) { PostInput(hwnd, WM_KEYDOWN, vk, 1); }
void CHeadlessBackend::KeyUp(HWND hwnd, UINT vk) {
  PostInput(hwnd, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
}

void CHeadlessBackend::KeyPress(HWND hwnd, UINT vk) {
  KeyDown(hwnd, vk);
  if (vk == VK_RETURN || vk == VK_BACK || vk == VK_TAB || vk == VK_ESCAPE) PostInput(hwnd, WM_CHAR, vk, 1);
  KeyUp(hwnd, vk);
}

void CHeadlessBackend::TypeText(HWND hwnd, const std::string& text) {
  // Decode UTF-8 into code points; each becomes one WM_CHAR.
  for (std::size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::uint32_t cp = c;
    int extra = 0;
    if (c >= 0xF0) {
      cp = c & 0x07;
      extra = 3;
    } else if (c >= 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else if (c >= 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    }
    ++i;
    for (int k = 0; k < extra && i < text.size(); ++k, ++i)
      cp = (cp << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    PostInput(hwnd, WM_CHAR, cp, 1);
  }
}

}  // namespace ostrel
