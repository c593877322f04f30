#include "platform/ui/CComboUI.h"

#include <cstdlib>

#include "platform/ui/CComboWnd.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"
#include "platform/ui/IListItemUI.h"
#include "platform/ui/WindowApi.h"

namespace ostrel {

namespace {
IListItemUI* AsItem(CControlUI* c) {
  return c ? static_cast<IListItemUI*>(c->GetInterface("ListItem")) : nullptr;
}
}  // namespace

CComboUI::CComboUI() = default;

CComboUI::~CComboUI() {
  if (m_pWindow) {
    CComboWnd* w = m_pWindow;
    w->ReleaseItems();
    DestroyWindow(w->GetHWND());
  }
}

void* CComboUI::GetInterface(const char* pstrName) {
  CDuiString name(pstrName);
  if (name.CompareNoCase("Combo") == 0) return this;
  if (name.CompareNoCase("IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
  return CContainerUI::GetInterface(pstrName);
}

void CComboUI::Reindex() {
  for (int i = 0; i < GetCount(); ++i)
    if (IListItemUI* item = AsItem(m_items[i])) item->SetIndex(i);
}

bool CComboUI::Add(CControlUI* pControl) { return AddAt(pControl, GetCount()); }

bool CComboUI::AddAt(CControlUI* pControl, int iIndex) {
  if (!CContainerUI::AddAt(pControl, iIndex)) return false;
  if (IListItemUI* item = AsItem(pControl)) item->SetOwner(this);
  Reindex();
  if (m_iCurSel >= iIndex) ++m_iCurSel;
  return true;
}

bool CComboUI::Remove(CControlUI* pControl, bool bDoNotDestroy) {
  int index = GetItemIndex(pControl);
  return index >= 0 && RemoveAt(index, bDoNotDestroy);
}

bool CComboUI::RemoveAt(int iIndex, bool bDoNotDestroy) {
  CloseDropDown();
  CControlUI* c = GetItemAt(iIndex);
  if (!c) return false;
  if (IListItemUI* item = AsItem(c)) item->SetOwner(nullptr);
  if (!CContainerUI::RemoveAt(iIndex, bDoNotDestroy)) return false;
  if (m_iCurSel == iIndex) {
    m_iCurSel = -1;
  } else if (m_iCurSel > iIndex) {
    --m_iCurSel;
  }
  Reindex();
  Invalidate();
  return true;
}

void CComboUI::RemoveAll() {
  CloseDropDown();
  for (CControlUI* c : m_items)
    if (IListItemUI* item = AsItem(c)) item->SetOwner(nullptr);
  m_iCurSel = -1;
  CContainerUI::RemoveAll();
  Invalidate();
}

bool CComboUI::SelectItem(int iIndex, bool bTakeFocus, bool bTriggerEvent) {
  if (iIndex == m_iCurSel) return true;
  int old = m_iCurSel;
  if (IListItemUI* prev = AsItem(GetItemAt(old))) prev->Select(false, false);
  if (iIndex < 0) {
    m_iCurSel = -1;
    Invalidate();
    if (bTriggerEvent && m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, -1, old);
    return true;
  }
  CControlUI* control = GetItemAt(iIndex);
  IListItemUI* item = AsItem(control);
  if (!item || !control->IsEnabled()) return false;
  m_iCurSel = iIndex;
  item->Select(true, false);
  if (bTakeFocus) SetFocus();
  Invalidate();
  if (bTriggerEvent && m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, iIndex, old);
  return true;
}

bool CComboUI::UnSelectItem(int iIndex, bool) {
  if (iIndex != m_iCurSel) return false;
  return SelectItem(-1);
}

CDuiString CComboUI::GetText() const {
  CControlUI* c = GetItemAt(m_iCurSel);
  return c ? c->GetText() : CControlUI::GetText();
}

bool CComboUI::Activate() {
  if (!CControlUI::Activate() || m_pWindow || !m_pManager) return false;
  m_pWindow = new CComboWnd;
  if (!m_pWindow->Open(this)) {
    delete m_pWindow;
    m_pWindow = nullptr;
    return false;
  }
  m_pManager->SendNotify(this, DUI_MSGTYPE_DROPDOWN);
  Invalidate();
  return true;
}

HWND CComboUI::GetDropWindow() const { return m_pWindow ? m_pWindow->GetHWND() : nullptr; }

void CComboUI::CloseDropDown() {
  if (!m_pWindow) return;
  CComboWnd* w = m_pWindow;
  w->ReleaseItems();
  DestroyWindow(w->GetHWND());
}

SIZE CComboUI::GetDropBoxSize() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_szDropBox) : m_szDropBox;
}

RECT CComboUI::GetTextPadding() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_rcTextPadding) : m_rcTextPadding;
}

void CComboUI::SetEnabled(bool bEnable) {
  CContainerUI::SetEnabled(bEnable);
  if (!IsEnabled()) {
    m_uButtonState = 0;
    CloseDropDown();
  }
}

void CComboUI::SetPos(RECT rc, bool bNeedInvalidate) {
  // The rows are laid out in the drop window, not here.
  CControlUI::SetPos(rc, bNeedInvalidate);
}

void CComboUI::Move(SIZE szOffset, bool bNeedInvalidate) { CControlUI::Move(szOffset, bNeedInvalidate); }

CControlUI* CComboUI::FindControl(FINDCONTROLPROC Proc, void* pData, UINT uFlags) {
  // Hit tests stop at the combo; name and class searches see the rows.
  if (uFlags & UIFIND_HITTEST) return CControlUI::FindControl(Proc, pData, uFlags);
  if (m_pWindow) return CControlUI::FindControl(Proc, pData, uFlags);  // rows live in the drop window now
  return CContainerUI::FindControl(Proc, pData, uFlags & ~UIFIND_VISIBLE);
}

int CComboUI::NextVisible(int from, int step) const {
  for (int i = from + step; i >= 0 && i < GetCount(); i += step) {
    CControlUI* c = GetItemAt(i);
    if (c->IsVisible() && c->IsEnabled() && AsItem(c)) return i;
  }
  return -1;
}

void CComboUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
    CContainerUI::DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
      CControlUI::DoEvent(event);
      return;
    case UIEVENT_BUTTONDOWN:
      if (IsEnabled()) {
        Activate();
        m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
      }
      return;
    case UIEVENT_BUTTONUP:
      if (m_uButtonState & UISTATE_CAPTURED) {
        m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEMOVE:
      return;
    case UIEVENT_KEYDOWN: {
      int target = -1;
      if (event.chKey == VK_UP) target = NextVisible(m_iCurSel < 0 ? GetCount() : m_iCurSel, -1);
      if (event.chKey == VK_DOWN) target = NextVisible(m_iCurSel, 1);
      if (event.chKey == VK_HOME) target = NextVisible(-1, 1);
      if (event.chKey == VK_END) target = NextVisible(GetCount(), -1);
      if (event.chKey == VK_SPACE || event.chKey == VK_RETURN) {
        Activate();
        return;
      }
      if (target >= 0) SelectItem(target);
      return;
    }
    case UIEVENT_SCROLLWHEEL: {
      if (!IsEnabled()) return;
      int target = NextVisible(m_iCurSel < 0 ? -1 : m_iCurSel, LOWORD(event.wParam) == 1 ? 1 : -1);
      if (target >= 0) SelectItem(target);
      return;
    }
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) {
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      m_uButtonState &= ~UISTATE_HOT;
      Invalidate();
      return;
    default:
      break;
  }
  CControlUI::DoEvent(event);
}

bool CComboUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) {
  return CControlUI::DoPaint(hDC, rcPaint, pStopControl);
}

void CComboUI::PaintStatusImage(HDC hDC) {
  const CDuiString* image = &m_sNormalImage;
  if (!IsEnabled() && !m_sDisabledImage.IsEmpty()) {
    image = &m_sDisabledImage;
  } else if ((m_uButtonState & UISTATE_PUSHED || m_pWindow) && !m_sPushedImage.IsEmpty()) {
    image = &m_sPushedImage;
  } else if ((m_uButtonState & UISTATE_HOT) && !m_sHotImage.IsEmpty()) {
    image = &m_sHotImage;
  } else if (IsFocused() && !m_sFocusedImage.IsEmpty()) {
    image = &m_sFocusedImage;
  }
  if (!image->IsEmpty()) {
    DrawImage(hDC, *image);
    return;
  }
  // No images: a small arrow at the right tells it drops down.
  int cx = m_rcItem.right - (m_pManager ? m_pManager->GetDPIObj()->Scale(12) : 12);
  int cy = (m_rcItem.top + m_rcItem.bottom) / 2;
  int s = m_pManager ? m_pManager->GetDPIObj()->Scale(4) : 4;
  for (int i = 0; i < s; ++i)
    CRenderEngine::DrawColor(hDC, RECT{cx - s + i, cy - s / 2 + i, cx + s - i, cy - s / 2 + i + 1},
                             GetAdjustColor(m_dwArrowColor));
}

void CComboUI::PaintText(HDC hDC) {
  CDuiString text = GetText();
  if (text.IsEmpty() || !m_pManager) return;
  RECT pad = GetTextPadding();
  RECT rc{m_rcItem.left + pad.left, m_rcItem.top + pad.top, m_rcItem.right - pad.right,
          m_rcItem.bottom - pad.bottom};
  DWORD color = m_dwTextColor ? m_dwTextColor : (m_ListInfo.dwTextColor ? m_ListInfo.dwTextColor : 0);
  if (!IsEnabled()) color = m_ListInfo.dwDisabledTextColor;
  if (color == 0) color = m_pManager->GetDefaultFontColor();
  CRenderEngine::DrawText(hDC, m_pManager, rc, text, GetAdjustColor(color),
                          m_iFont >= 0 ? m_iFont : m_ListInfo.nFont,
                          DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void CComboUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  const char* v = pstrValue ? pstrValue : "";
  auto is = [&](const char* n) { return name.CompareNoCase(n) == 0; };
  if (is("normalimage")) {
    m_sNormalImage = v;
  } else if (is("hotimage")) {
    m_sHotImage = v;
  } else if (is("pushedimage")) {
    m_sPushedImage = v;
  } else if (is("focusedimage")) {
    m_sFocusedImage = v;
  } else if (is("disabledimage")) {
    m_sDisabledImage = v;
  } else if (is("textpadding")) {
    m_rcTextPadding = ParseRect(v);
  } else if (is("textcolor")) {
    m_dwTextColor = ParseColor(v);
  } else if (is("font")) {
    m_iFont = std::atoi(v);
  } else if (is("arrowcolor")) {
    m_dwArrowColor = ParseColor(v);
  } else if (is("dropbox")) {
    m_sDropBoxAttributes = v;
  } else if (is("dropboxsize")) {
    SetDropBoxSize(ParseSize(v));
  } else if (is("selectedid")) {
    SelectItem(std::atoi(v), false, false);
  } else if (!m_ListInfo.SetAttribute(pstrName, pstrValue)) {
    CContainerUI::SetAttribute(pstrName, pstrValue);
    return;
  }
  Invalidate();
}

}  // namespace ostrel
