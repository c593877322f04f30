#include "platform/ui/CButtonUI.h"

#include <cstdlib>

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"
#include "platform/ui/CTabLayoutUI.h"

namespace ostrel {

CButtonUI::CButtonUI() { m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER; }

void* CButtonUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("Button") == 0) return this;
  return CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const {
  return (IsKeyboardEnabled() ? UIFLAG_TABSTOP : 0) | (IsEnabled() ? UIFLAG_SETCURSOR : 0);
}

bool CButtonUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (m_pManager) {
    m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK);
    BindTriggerTabSel();
  }
  return true;
}

void CButtonUI::SetEnabled(bool bEnable) {
  CControlUI::SetEnabled(bEnable);
  if (!IsEnabled()) m_uButtonState = 0;
}

void CButtonUI::SetButtonState(UINT uState) {
  m_uButtonState = uState;
  Invalidate();
}

void CButtonUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
    if (m_pParent) {
      m_pParent->DoEvent(event);
    } else {
      CLabelUI::DoEvent(event);
    }
    return;
  }
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
      Invalidate();
      break;
    case UIEVENT_KEYDOWN:
      if (IsKeyboardEnabled() && IsEnabled() && (event.chKey == VK_SPACE || event.chKey == VK_RETURN)) {
        Activate();
        return;
      }
      break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (PtInRect(m_rcItem, event.ptMouse) && IsEnabled()) {
        m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_uButtonState & UISTATE_CAPTURED) {
        if (PtInRect(m_rcItem, event.ptMouse)) {
          m_uButtonState |= UISTATE_PUSHED;
        } else {
          m_uButtonState &= ~UISTATE_PUSHED;
        }
        Invalidate();
      }
      return;
    case UIEVENT_BUTTONUP:
      if (m_uButtonState & UISTATE_CAPTURED) {
        m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
        if (PtInRect(m_rcItem, event.ptMouse)) Activate();
      }
      return;
    case UIEVENT_CONTEXTMENU:
      if (IsContextMenuUsed() && m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
      return;
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) {
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      if (IsEnabled()) {
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
      }
      return;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

void CButtonUI::SetNormalImage(const char* s) {
  m_sNormalImage = s;
  Invalidate();
}
void CButtonUI::SetHotImage(const char* s) {
  m_sHotImage = s;
  Invalidate();
}
void CButtonUI::SetPushedImage(const char* s) {
  m_sPushedImage = s;
  Invalidate();
}
void CButtonUI::SetFocusedImage(const char* s) {
  m_sFocusedImage = s;
  Invalidate();
}
void CButtonUI::SetDisabledImage(const char* s) {
  m_sDisabledImage = s;
  Invalidate();
}
void CButtonUI::SetHotForeImage(const char* s) {
  m_sHotForeImage = s;
  Invalidate();
}
void CButtonUI::SetPushedForeImage(const char* s) {
  m_sPushedForeImage = s;
  Invalidate();
}
void CButtonUI::SetHotBkColor(DWORD c) {
  m_dwHotBkColor = c;
  Invalidate();
}
void CButtonUI::SetPushedBkColor(DWORD c) {
  m_dwPushedBkColor = c;
  Invalidate();
}
void CButtonUI::SetDisabledBkColor(DWORD c) {
  m_dwDisabledBkColor = c;
  Invalidate();
}
void CButtonUI::SetHotTextColor(DWORD c) {
  m_dwHotTextColor = c;
  Invalidate();
}
void CButtonUI::SetPushedTextColor(DWORD c) {
  m_dwPushedTextColor = c;
  Invalidate();
}
void CButtonUI::SetFocusedTextColor(DWORD c) {
  m_dwFocusedTextColor = c;
  Invalidate();
}
void CButtonUI::SetHotBorderColor(DWORD c) {
  m_dwHotBorderColor = c;
  Invalidate();
}

void CButtonUI::BindTriggerTabSel(int iSetSelectIndex) {
  if (!m_pManager || m_sBindTabLayoutName.IsEmpty()) return;
  int index = iSetSelectIndex >= 0 ? iSetSelectIndex : m_iBindTabIndex;
  if (index < 0) return;
  auto* tab = static_cast<CTabLayoutUI*>(
      m_pManager->FindControl(m_sBindTabLayoutName)
          ? m_pManager->FindControl(m_sBindTabLayoutName)->GetInterface("TabLayout")
          : nullptr);
  if (tab) tab->SelectItem(index);
}

void CButtonUI::RemoveBindTabIndex() {
  m_iBindTabIndex = -1;
  m_sBindTabLayoutName.Empty();
}

const CDuiString& CButtonUI::StateImage() const {
  if (!IsEnabled()) return m_sDisabledImage.IsEmpty() ? m_sNormalImage : m_sDisabledImage;
  if (m_uButtonState & UISTATE_PUSHED) {
    if (!m_sPushedImage.IsEmpty()) return m_sPushedImage;
    if (!m_sHotImage.IsEmpty()) return m_sHotImage;
  }
  if ((m_uButtonState & UISTATE_HOT) && !m_sHotImage.IsEmpty()) return m_sHotImage;
  if (IsFocused() && !m_sFocusedImage.IsEmpty()) return m_sFocusedImage;
  return m_sNormalImage;
}

DWORD CButtonUI::StateTextColor() const {
  if (!IsEnabled()) return m_dwDisabledTextColor;
  if ((m_uButtonState & UISTATE_PUSHED) && m_dwPushedTextColor) return m_dwPushedTextColor;
  if ((m_uButtonState & UISTATE_HOT) && m_dwHotTextColor) return m_dwHotTextColor;
  if (IsFocused() && m_dwFocusedTextColor) return m_dwFocusedTextColor;
  return m_dwTextColor;
}

void CButtonUI::PaintBkColor(HDC hDC) {
  DWORD color = 0;
  if (!IsEnabled()) {
    color = m_dwDisabledBkColor;
  } else if (m_uButtonState & UISTATE_PUSHED) {
    color = m_dwPushedBkColor ? m_dwPushedBkColor : m_dwHotBkColor;
  } else if (m_uButtonState & UISTATE_HOT) {
    color = m_dwHotBkColor;
  }
  if (color) {
    CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(color));
    return;
  }
  CLabelUI::PaintBkColor(hDC);
}

void CButtonUI::PaintStatusImage(HDC hDC) {
  const CDuiString& image = StateImage();
  if (!image.IsEmpty()) DrawImage(hDC, image);
}

void CButtonUI::PaintForeImage(HDC hDC) {
  if ((m_uButtonState & UISTATE_PUSHED) && !m_sPushedForeImage.IsEmpty()) {
    DrawImage(hDC, m_sPushedForeImage);
  } else if ((m_uButtonState & UISTATE_HOT) && !m_sHotForeImage.IsEmpty()) {
    DrawImage(hDC, m_sHotForeImage);
  } else {
    CLabelUI::PaintForeImage(hDC);
  }
}

void CButtonUI::PaintBorder(HDC hDC) {
  if ((m_uButtonState & UISTATE_HOT) && m_dwHotBorderColor && IsEnabled()) {
    DWORD normal = m_dwBorderColor;
    m_dwBorderColor = m_dwHotBorderColor;
    CLabelUI::PaintBorder(hDC);
    m_dwBorderColor = normal;
    return;
  }
  CLabelUI::PaintBorder(hDC);
}

void CButtonUI::PaintText(HDC hDC) { DrawLabelText(hDC, ResolveTextColor(StateTextColor())); }

void CButtonUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  const char* v = pstrValue ? pstrValue : "";
  auto is = [&](const char* n) { return name.CompareNoCase(n) == 0; };
  if (is("normalimage")) {
    SetNormalImage(v);
  } else if (is("hotimage")) {
    SetHotImage(v);
  } else if (is("pushedimage")) {
    SetPushedImage(v);
  } else if (is("focusedimage")) {
    SetFocusedImage(v);
  } else if (is("disabledimage")) {
    SetDisabledImage(v);
  } else if (is("hotforeimage")) {
    SetHotForeImage(v);
  } else if (is("pushedforeimage")) {
    SetPushedForeImage(v);
  } else if (is("hotbkcolor")) {
    SetHotBkColor(ParseColor(v));
  } else if (is("pushedbkcolor")) {
    SetPushedBkColor(ParseColor(v));
  } else if (is("disabledbkcolor")) {
    SetDisabledBkColor(ParseColor(v));
  } else if (is("hottextcolor")) {
    SetHotTextColor(ParseColor(v));
  } else if (is("pushedtextcolor")) {
    SetPushedTextColor(ParseColor(v));
  } else if (is("focusedtextcolor")) {
    SetFocusedTextColor(ParseColor(v));
  } else if (is("hotbordercolor")) {
    SetHotBorderColor(ParseColor(v));
  } else if (is("bindtabindex")) {
    BindTabIndex(std::atoi(v));
  } else if (is("bindtablayoutname")) {
    BindTabLayoutName(v);
  } else {
    CLabelUI::SetAttribute(pstrName, pstrValue);
  }
}

}  // namespace ostrel
