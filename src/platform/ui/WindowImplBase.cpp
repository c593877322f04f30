#include "platform/ui/WindowImplBase.h"

#include "platform/os/DebugLog.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/WindowApi.h"

namespace ostrel {

WindowImplBase::WindowImplBase() {
  m_windowImplMap.entries.push_back(
      DUI_MSGMAP::Entry{DUI_MSGTYPE_CLICK, "", [this](TNotifyUI& m) { OnClick(m); }});
  m_messageMap.pBaseMap = &m_windowImplMap;
}

WindowImplBase::~WindowImplBase() {
  // The text hook must not outlive the window that answered it.
  if (CResourceManager::GetInstance()->GetTextQueryInterface() == this)
    CResourceManager::GetInstance()->SetTextQueryInterface(nullptr);
  m_pm.RemovePreMessageFilter(this);
  m_pm.RemoveNotifier(this);
}

void WindowImplBase::OnFinalMessage(HWND) {
  m_pm.RemovePreMessageFilter(this);
  m_pm.RemoveNotifier(this);
  m_pm.RemoveAllTimers();
}

void WindowImplBase::Notify(TNotifyUI& msg) { NotifyPump(msg); }

void WindowImplBase::OnClick(TNotifyUI& msg) {
  CDuiString name = msg.pSender ? msg.pSender->GetName() : CDuiString();
  if (name == "closebtn") {
    Close();
  } else if (name == "minbtn") {
    SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (name == "maxbtn") {
    SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  } else if (name == "restorebtn") {
    SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  }
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM) { return 0; }

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled) {
  if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
    LRESULT r = ResponseDefaultKeyEvent(wParam);
    bHandled = r != 0;
    return r;
  }
  return 0;
}

LONG WindowImplBase::GetStyle() {
  LONG style = static_cast<LONG>(GetWindowStyle(m_hWnd));
  style &= ~static_cast<LONG>(WS_CAPTION);
  style |= static_cast<LONG>(WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  return style;
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled) {
  if (IsIconic(m_hWnd)) bHandled = FALSE;
  return wParam == 0 ? 1 : 0;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL&) {
  POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(m_hWnd, &pt);
  RECT client{};
  GetClientRect(m_hWnd, &client);
  if (!IsZoomed(m_hWnd)) {
    RECT box = m_pm.GetSizeBox();
    bool top = pt.y < client.top + box.top;
    bool bottom = pt.y >= client.bottom - box.bottom;
    bool left = pt.x < client.left + box.left;
    bool right = pt.x >= client.right - box.right;
    if (top && left) return HTTOPLEFT;
    if (top && right) return HTTOPRIGHT;
    if (bottom && left) return HTBOTTOMLEFT;
    if (bottom && right) return HTBOTTOMRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
  }
  RECT caption = m_pm.GetCaptionRect();
  if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right && pt.y >= caption.top &&
      pt.y < caption.bottom) {
    CControlUI* control = m_pm.FindControl(pt);
    // Interactive controls in the caption stay clickable; the rest drags the window.
    if (!control || !(control->GetControlFlags() & UIFLAG_TABSTOP)) return HTCAPTION;
  }
  return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
  if (!info) {
    bHandled = FALSE;
    return 0;
  }
  SIZE minSize = m_pm.GetMinInfo();
  SIZE maxSize = m_pm.GetMaxInfo();
  if (minSize.cx > 0) info->ptMinTrackSize.x = minSize.cx;
  if (minSize.cy > 0) info->ptMinTrackSize.y = minSize.cy;
  if (maxSize.cx > 0) info->ptMaxTrackSize.x = maxSize.cx;
  if (maxSize.cy > 0) info->ptMaxTrackSize.y = maxSize.cy;
  return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}
LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}
LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}
LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  if ((wParam & 0xFFF0) == SC_CLOSE) {
    bHandled = TRUE;
    SendMessage(WM_CLOSE, 0, 0);
    return 0;
  }
  bool wasZoomed = IsZoomed(m_hWnd);
  LRESULT r = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
  if (wasZoomed != IsZoomed(m_hWnd)) {
    bool zoomed = IsZoomed(m_hWnd);
    if (CControlUI* max = m_pm.FindControl("maxbtn")) max->SetVisible(!zoomed);
    if (CControlUI* restore = m_pm.FindControl("restorebtn")) restore->SetVisible(zoomed);
  }
  return r;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  SetWindowStyle(m_hWnd, static_cast<DWORD>(GetStyle()));
  m_pm.Init(m_hWnd);
  m_pm.AddPreMessageFilter(this);
  CDuiString folder = GetSkinFolder();
  if (!folder.IsEmpty() && CPaintManagerUI::GetResourcePath().IsEmpty())
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + folder);
  CDialogBuilder builder;
  CDuiString skin = GetSkinFile();
  CControlUI* root = builder.Create(skin, nullptr, this, &m_pm);
  if (!root) {
    DebugPrintf("ui: window '%s' has no content: layout '%s' did not build", GetWindowClassName(),
                skin.GetData());
    return -1;
  }
  m_pm.AttachDialog(root);
  m_pm.AddNotifier(this);
  InitWindow();
  return 0;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}
LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}
LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}
LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}
LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}
LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& bHandled) {
  bHandled = FALSE;
  return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  LRESULT lRes = 0;
  BOOL bHandled = TRUE;
  switch (uMsg) {
    case WM_CREATE:
      lRes = OnCreate(uMsg, wParam, lParam, bHandled);
      break;
    case WM_CLOSE:
      lRes = OnClose(uMsg, wParam, lParam, bHandled);
      break;
    case WM_DESTROY:
      lRes = OnDestroy(uMsg, wParam, lParam, bHandled);
      break;
    case WM_NCACTIVATE:
      lRes = OnNcActivate(uMsg, wParam, lParam, bHandled);
      break;
    case WM_NCCALCSIZE:
      lRes = OnNcCalcSize(uMsg, wParam, lParam, bHandled);
      break;
    case WM_NCPAINT:
      lRes = OnNcPaint(uMsg, wParam, lParam, bHandled);
      break;
    case WM_NCHITTEST:
      lRes = OnNcHitTest(uMsg, wParam, lParam, bHandled);
      break;
    case WM_GETMINMAXINFO:
      lRes = OnGetMinMaxInfo(uMsg, wParam, lParam, bHandled);
      break;
    case WM_MOUSEWHEEL:
      lRes = OnMouseWheel(uMsg, wParam, lParam, bHandled);
      break;
    case WM_SIZE:
      lRes = OnSize(uMsg, wParam, lParam, bHandled);
      break;
    case WM_CHAR:
      lRes = OnChar(uMsg, wParam, lParam, bHandled);
      break;
    case WM_SYSCOMMAND:
      lRes = OnSysCommand(uMsg, wParam, lParam, bHandled);
      break;
    case WM_KEYDOWN:
      lRes = OnKeyDown(uMsg, wParam, lParam, bHandled);
      break;
    case WM_KILLFOCUS:
      lRes = OnKillFocus(uMsg, wParam, lParam, bHandled);
      break;
    case WM_SETFOCUS:
      lRes = OnSetFocus(uMsg, wParam, lParam, bHandled);
      break;
    case WM_LBUTTONUP:
      lRes = OnLButtonUp(uMsg, wParam, lParam, bHandled);
      break;
    case WM_LBUTTONDOWN:
      lRes = OnLButtonDown(uMsg, wParam, lParam, bHandled);
      break;
    case WM_MOUSEMOVE:
      lRes = OnMouseMove(uMsg, wParam, lParam, bHandled);
      break;
    case WM_MOUSEHOVER:
      lRes = OnMouseHover(uMsg, wParam, lParam, bHandled);
      break;
    default:
      bHandled = FALSE;
      break;
  }
  if (bHandled) return lRes;
  lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
  if (bHandled) return lRes;
  if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
  return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

}  // namespace ostrel
