#include "platform/ui/WindowApi.h"

#include "platform/ui/CMessageLoop.h"

namespace ostrel {

namespace {
CMessageLoop& Loop() { return CMessageLoop::Instance(); }
}  // namespace

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Loop().Post(hwnd, message, wParam, lParam);
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return Loop().Send(hwnd, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) { Loop().PostQuit(exitCode); }

UINT RegisterWindowMessage(const char* name) { return Loop().RegisterWindowMessage(name ? name : ""); }

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_CLOSE:
          SendMessage(hwnd, WM_CLOSE, 0, 0);
          return 0;
        case SC_MINIMIZE:
          ShowWindow(hwnd, SW_MINIMIZE);
          return 0;
        case SC_MAXIMIZE:
          ShowWindow(hwnd, SW_MAXIMIZE);
          return 0;
        case SC_RESTORE:
          ShowWindow(hwnd, SW_RESTORE);
          return 0;
        default:
          return 0;
      }
    case WM_SYSKEYDOWN:
      if (wParam == VK_F4) SendMessage(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_NCHITTEST:
      return HTCLIENT;
    case WM_NCACTIVATE:
      return 1;
    case WM_NCCREATE:
      return 1;
    default:
      return 0;
  }
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  return Loop().SetTimer(hwnd, id, elapseMs, proc);
}
bool KillTimer(HWND hwnd, UINT_PTR id) { return Loop().KillTimer(hwnd, id); }
DWORD GetTickCount() { return Loop().GetTickCount(); }

bool IsWindow(HWND hwnd) { return hwnd && Loop().IsWindow(hwnd); }

bool IsWindowVisible(HWND hwnd) {
  WindowRecord* rec = Loop().Find(hwnd);
  return rec && rec->visible;
}

bool IsIconic(HWND hwnd) {
  WindowRecord* rec = Loop().Find(hwnd);
  return rec && rec->minimized;
}

bool IsZoomed(HWND hwnd) {
  WindowRecord* rec = Loop().Find(hwnd);
  return rec && rec->maximized;
}

bool IsWindowEnabled(HWND hwnd) {
  WindowRecord* rec = Loop().Find(hwnd);
  return rec && rec->enabled;
}

bool EnableWindow(HWND hwnd, bool enable) {
  WindowRecord* rec = Loop().Find(hwnd);
  if (!rec) return false;
  bool was_disabled = !rec->enabled;
  rec->enabled = enable;
  return was_disabled;
}

bool ShowWindow(HWND hwnd, int show) { return Loop().ShowWindow(hwnd, show); }
bool DestroyWindow(HWND hwnd) { return Loop().DestroyWindow(hwnd); }

bool GetWindowRect(HWND hwnd, RECT* rect) {
  WindowRecord* rec = Loop().Find(hwnd);
  if (!rec || !rect) return false;
  *rect = rec->rect;
  return true;
}

bool GetClientRect(HWND hwnd, RECT* rect) {
  WindowRecord* rec = Loop().Find(hwnd);
  if (!rec || !rect) return false;
  *rect = RECT{0, 0, rec->rect.right - rec->rect.left, rec->rect.bottom - rec->rect.top};
  return true;
}

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  WindowRecord* rec = Loop().Find(hwnd);
  if (!rec) return false;
  RECT r = rec->rect;
  if (!(flags & SWP_NOMOVE)) {
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    r = RECT{x, y, x + w, y + h};
  }
  if (!(flags & SWP_NOSIZE)) {
    r.right = r.left + (cx < 0 ? 0 : cx);
    r.bottom = r.top + (cy < 0 ? 0 : cy);
  }
  if (!(flags & SWP_NOZORDER)) {
    if (insertAfter == HWND_TOPMOST) {
      rec->topmost = true;
      Loop().Backend()->SetNativeTopmost(hwnd, true);
    } else if (insertAfter == HWND_NOTOPMOST) {
      rec->topmost = false;
      Loop().Backend()->SetNativeTopmost(hwnd, false);
    }
  }
  if (!EqualRect(r, rec->rect)) Loop().SetWindowRect(hwnd, r, true);
  if (flags & SWP_SHOWWINDOW) Loop().ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNOACTIVATE : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) Loop().ShowWindow(hwnd, SW_HIDE);
  return true;
}

bool MoveWindow(HWND hwnd, int x, int y, int cx, int cy, bool) {
  return SetWindowPos(hwnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool InvalidateRect(HWND hwnd, const RECT*, bool) {
  if (!Loop().IsWindow(hwnd)) return false;
  Loop().InvalidateWindow(hwnd);
  return true;
}

bool SetWindowText(HWND hwnd, const char* text) {
  WindowRecord* rec = Loop().Find(hwnd);
  if (!rec) return false;
  rec->title = text ? text : "";
  Loop().Backend()->SetNativeTitle(hwnd, rec->title);
  return true;
}

std::string GetWindowText(HWND hwnd) {
  WindowRecord* rec = Loop().Find(hwnd);
  return rec ? rec->title : std::string();
}

HWND GetWindowOwner(HWND hwnd) {
  WindowRecord* rec = Loop().Find(hwnd);
  return rec ? rec->owner : nullptr;
}

HWND FindWindow(const char* className, const char* title) { return Loop().FindWindow(className, title); }

bool SetForegroundWindow(HWND hwnd) {
  if (!Loop().IsWindow(hwnd)) return false;
  Loop().Backend()->BringToFront(hwnd);
  Loop().SetActiveWindow(hwnd);
  return true;
}

HWND GetActiveWindow() { return Loop().ActiveWindow(); }

bool GetCursorPos(POINT* point) {
  if (!point) return false;
  *point = Loop().Backend()->GetCursorPos();
  return true;
}

bool ScreenToClient(HWND hwnd, POINT* point) {
  WindowRecord* rec = Loop().Find(hwnd);
  if (!rec || !point) return false;
  point->x -= rec->rect.left;
  point->y -= rec->rect.top;
  return true;
}

bool ClientToScreen(HWND hwnd, POINT* point) {
  WindowRecord* rec = Loop().Find(hwnd);
  if (!rec || !point) return false;
  point->x += rec->rect.left;
  point->y += rec->rect.top;
  return true;
}

RECT GetMonitorRect(HWND hwnd) { return Loop().Backend()->GetMonitorRect(hwnd); }

DWORD GetWindowStyle(HWND hwnd) {
  WindowRecord* rec = Loop().Find(hwnd);
  if (!rec) return 0;
  return rec->style | (rec->visible ? WS_VISIBLE : 0);
}

void SetWindowStyle(HWND hwnd, DWORD style) {
  if (WindowRecord* rec = Loop().Find(hwnd)) rec->style = style & ~WS_VISIBLE;
}

int GetSystemMetrics(int index) {
  RECT m = Loop().Backend()->GetMonitorRect(nullptr);
  if (index == SM_CXSCREEN) return m.right - m.left;
  if (index == SM_CYSCREEN) return m.bottom - m.top;
  return 0;
}

}  // namespace ostrel
