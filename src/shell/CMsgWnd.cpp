#include "shell/CMsgWnd.h"

#include "platform/os/DebugLog.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/WindowApi.h"

namespace ostrel {
namespace {

constexpr int kAcceptedDPIs[] = {48, 72, 96, 120, 144, 168, 192};
// Used when the resource index does not name the message layout.
constexpr const char* kLayoutFile = "XML\\MsgWnd.xml";

}  // namespace

bool CMsgWnd::IsAcceptedDPI(int dpi) {
  for (int d : kAcceptedDPIs)
    if (d == dpi) return true;
  return false;
}

CDuiString CMsgWnd::GetSkinFile() {
  if (!CResourceManager::GetInstance()->GetXmlPath("XML_MSG").IsEmpty()) return CDuiString("XML_MSG");
  return CDuiString(kLayoutFile);
}

void CMsgWnd::InitWindow() { m_pCloseBtn = m_pm.FindControl("closebtn"); }

void CMsgWnd::SetTitle(const char* title) {
  if (!title || !*title) return;
  if (CControlUI* c = m_pm.FindControl("MessageTitle")) c->SetText(title);
}

void CMsgWnd::SetMsg(const char* text, bool isResource) {
  if (!text || !*text) return;
  if (CControlUI* c = m_pm.FindControl("MessageText")) {
    c->SetResourceText(isResource);
    c->SetText(text);
  }
}

void CMsgWnd::SetDPI(int dpi) {
  if (!IsAcceptedDPI(dpi)) {
    OutputDebugString("MSG_WND DPI SET ERROR");
    dpi = 96;
  }
  if (dpi == m_dpi && m_pm.GetDPIObj()->GetDPI() == dpi) return;
  m_dpi = dpi;
  // Only this window: the owner keeps the DPI it was fitted to.
  m_pm.SetDPI(dpi);
}

void CMsgWnd::SetButtonStyle(int style) {
  CControlUI* confirm = m_pm.FindControl("confirm_btn");
  CControlUI* cancel = m_pm.FindControl("cancel_btn");
  switch (style) {
    case kStyleConfirm:
      if (confirm) confirm->SetVisible(true);
      if (cancel) cancel->SetVisible(false);
      break;
    case kStyleConfirmCancel:
      if (confirm) confirm->SetVisible(true);
      if (cancel) cancel->SetVisible(true);
      break;
    default:
      break;
  }
}

void CMsgWnd::OnClick(TNotifyUI& msg) {
  if (!msg.pSender) return;
  const CDuiString& name = msg.pSender->GetName();
  if (name == "confirm_btn") {
    Close(1);
  } else if (name == "cancel_btn" || msg.pSender == m_pCloseBtn) {
    Close(0);
  }
}

LRESULT CMsgWnd::ResponseDefaultKeyEvent(WPARAM wParam) {
  // Esc answers like the close button; Enter like the confirm button.
  if (wParam == VK_ESCAPE) {
    Close(0);
    return 1;
  }
  if (wParam == VK_RETURN) {
    CControlUI* confirm = m_pm.FindControl("confirm_btn");
    if (confirm && confirm->IsVisible()) {
      Close(1);
      return 1;
    }
  }
  return 0;
}

LRESULT CMsgWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  if (uMsg == WM_DPICHANGED) {
    m_dpi = static_cast<int>(wParam & 0xFFFF);
    m_pm.SetDPI(m_dpi);
    m_pm.ResetDPIAssets();
    if (const RECT* rc = reinterpret_cast<const RECT*>(lParam))
      SetWindowPos(m_hWnd, nullptr, rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    if (CControlUI* root = m_pm.GetRoot()) root->NeedUpdate();
    bHandled = TRUE;
    return 0;
  }
  bHandled = FALSE;
  return 0;
}

LRESULT CMsgWnd::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  // Alt+F4 becomes WM_CLOSE with 0 there: the answer of the close button.
  return WindowImplBase::OnSysCommand(uMsg, wParam, lParam, bHandled);
}

void CMsgWnd::OnFinalMessage(HWND hWnd) {
  WindowImplBase::OnFinalMessage(hWnd);
  delete this;
}

}  // namespace ostrel
