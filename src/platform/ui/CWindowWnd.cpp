#include "platform/ui/CWindowWnd.h"

#include <algorithm>

#include "platform/ui/CMessageLoop.h"
#include "platform/ui/WindowApi.h"

namespace ostrel {

CWindowWnd::~CWindowWnd() {
  // A window object going away takes its window with it; OnFinalMessage
  // must not run on a half-destroyed object, so the handle is detached first.
  if (m_hWnd && CMessageLoop::Instance().IsWindow(m_hWnd)) {
    HWND h = m_hWnd;
    if (WindowRecord* rec = CMessageLoop::Instance().Find(h)) rec->wnd = nullptr;
    m_hWnd = nullptr;
    CMessageLoop::Instance().DestroyWindow(h);
  }
}

HWND CWindowWnd::Create(HWND hwndParent, const char* pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
                        void* hMenu) {
  return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left,
                rc.bottom - rc.top, hMenu);
}

HWND CWindowWnd::Create(HWND hwndParent, const char* pstrName, DWORD dwStyle, DWORD dwExStyle, int x, int y,
                        int cx, int cy, void*) {
  if (m_hWnd) return m_hWnd;
  WindowCreateParams params;
  params.owner = hwndParent;
  params.title = pstrName ? pstrName : "";
  params.class_name = GetWindowClassName() ? GetWindowClassName() : "";
  params.style = dwStyle;
  params.ex_style = dwExStyle;
  if (x == CW_USEDEFAULT) x = 0;
  if (y == CW_USEDEFAULT) y = 0;
  if (cx == CW_USEDEFAULT || cx < 0) cx = 0;
  if (cy == CW_USEDEFAULT || cy < 0) cy = 0;
  params.rect = RECT{x, y, x + cx, y + cy};
  CMessageLoop& loop = CMessageLoop::Instance();
  m_hWnd = loop.CreateWindowHandle(this, params);
  if (!m_hWnd) return nullptr;
  HWND h = m_hWnd;
  if (WindowProcedure(WM_NCCREATE, 0, 0) == 0 || WindowProcedure(WM_CREATE, 0, 0) == -1) {
    loop.DestroyWindow(h);
    return nullptr;
  }
  if (!loop.IsWindow(h)) return nullptr;
  if (dwStyle & WS_VISIBLE) loop.ShowWindow(h, SW_SHOW);
  return h;
}

HWND CWindowWnd::CreateDuiWindow(HWND hwndParent, const char* pstrWindowName, DWORD dwStyle,
                                 DWORD dwExStyle) {
  return Create(hwndParent, pstrWindowName, dwStyle, dwExStyle, 0, 0, 0, 0, nullptr);
}

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus) {
  if (!m_hWnd) return;
  CMessageLoop::Instance().ShowWindow(m_hWnd,
                                      bShow ? (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal() {
  if (!m_hWnd) return 0;
  HWND h = m_hWnd;
  CMessageLoop& loop = CMessageLoop::Instance();
  if (WindowRecord* rec = loop.Find(h); rec && !rec->visible) loop.ShowWindow(h, SW_SHOWNORMAL);
  // The window object may delete itself when its window goes; only the
  // handle is used from here on.
  return loop.RunModal(h);
}

void CWindowWnd::Close(UINT nRet) {
  if (!m_hWnd) return;
  CMessageLoop::Instance().Post(m_hWnd, WM_CLOSE, nRet, 0);
}

void CWindowWnd::CenterWindow() {
  if (!m_hWnd) return;
  RECT rc;
  ostrel::GetWindowRect(m_hWnd, &rc);
  RECT area = ostrel::GetMonitorRect(m_hWnd);
  HWND owner = GetWindowOwner(m_hWnd);
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) ostrel::GetWindowRect(owner, &area);
  int w = rc.right - rc.left;
  int h = rc.bottom - rc.top;
  int x = area.left + ((area.right - area.left) - w) / 2;
  int y = area.top + ((area.bottom - area.top) - h) / 2;
  RECT monitor = ostrel::GetMonitorRect(m_hWnd);
  if (x < monitor.left) x = monitor.left;
  if (y < monitor.top) y = monitor.top;
  if (x + w > monitor.right) x = std::max<int>(monitor.left, monitor.right - w);
  if (y + h > monitor.bottom) y = std::max<int>(monitor.top, monitor.bottom - h);
  ostrel::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::SendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return CMessageLoop::Instance().Send(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return CMessageLoop::Instance().Post(m_hWnd, uMsg, wParam, lParam) ? 1 : 0;
}

void CWindowWnd::ResizeClient(int cx, int cy) {
  RECT rc;
  if (!ostrel::GetClientRect(m_hWnd, &rc)) return;
  if (cx != -1) rc.right = cx;
  if (cy != -1) rc.bottom = cy;
  ostrel::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right, rc.bottom,
                       SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::WindowProcedure(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg == WM_NCDESTROY) {
    HWND h = m_hWnd;
    LRESULT r = HandleMessage(uMsg, wParam, lParam);
    m_hWnd = nullptr;
    OnFinalMessage(h);  // may delete this
    return r;
  }
  return HandleMessage(uMsg, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::OnFinalMessage(HWND) {}

}  // namespace ostrel
