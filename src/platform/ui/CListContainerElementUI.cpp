#include "platform/ui/CListContainerElementUI.h"

#include <cairo.h>

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/ListRow.h"

namespace ostrel {

void* CListContainerElementUI::GetInterface(const char* pstrName) {
  CDuiString name(pstrName);
  if (name.CompareNoCase("ListItem") == 0) return static_cast<IListItemUI*>(this);
  if (name.CompareNoCase("ListContainerElement") == 0) return this;
  return CHorizontalLayoutUI::GetInterface(pstrName);
}

bool CListContainerElementUI::Select(bool bSelect, bool bTriggerEvent) {
  if (!IsEnabled()) return false;
  if (bSelect && m_pOwner && m_pOwner->GetCurSel() != m_iIndex) {
    if (!m_pOwner->SelectItem(m_iIndex, false, bTriggerEvent)) return false;
  }
  m_bSelected = bSelect;
  m_uButtonState = bSelect ? (m_uButtonState | UISTATE_SELECTED) : (m_uButtonState & ~UISTATE_SELECTED);
  Invalidate();
  return true;
}

bool CListContainerElementUI::SelectMulti(bool bSelect) {
  if (!IsEnabled()) return false;
  if (bSelect && m_pOwner && !m_bSelected) {
    if (!m_pOwner->SelectMultiItem(m_iIndex)) return false;
  }
  m_bSelected = bSelect;
  m_uButtonState = bSelect ? (m_uButtonState | UISTATE_SELECTED) : (m_uButtonState & ~UISTATE_SELECTED);
  Invalidate();
  return true;
}

void CListContainerElementUI::SetVisible(bool bVisible) {
  CHorizontalLayoutUI::SetVisible(bVisible);
  if (!IsVisible() && m_bSelected && m_pOwner) m_pOwner->UnSelectItem(m_iIndex);
}

bool CListContainerElementUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
  return true;
}

void CListContainerElementUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
    if (m_pOwner) {
      m_pOwner->DoEvent(event);
    } else {
      CHorizontalLayoutUI::DoEvent(event);
    }
    return;
  }
  if (event.Type == UIEVENT_TIMER) {
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_TIMER, event.wParam, event.lParam);
    return;
  }
  if (event.Type == UIEVENT_CONTEXTMENU) {
    if (IsContextMenuUsed() && m_pManager)
      m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
    return;
  }
  if (listrow::HandleEvent(this, this, m_pOwner, &m_uButtonState, event)) return;
  CHorizontalLayoutUI::DoEvent(event);
}

void CListContainerElementUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  if (CDuiString(pstrName).CompareNoCase("selected") == 0) {
    Select(ParseBool(pstrValue), false);
  } else {
    CHorizontalLayoutUI::SetAttribute(pstrName, pstrValue);
  }
}

SIZE CListContainerElementUI::EstimateSize(SIZE szAvailable) {
  SIZE sz = CHorizontalLayoutUI::EstimateSize(szAvailable);
  if (sz.cy == 0) sz.cy = m_pManager ? m_pManager->GetDPIObj()->Scale(30) : 30;
  return sz;
}

bool CListContainerElementUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) {
  if (!IntersectRect(&m_rcPaint, rcPaint, m_rcItem)) return true;
  DrawItemBk(hDC, m_rcItem);
  return CHorizontalLayoutUI::DoPaint(hDC, rcPaint, pStopControl);
}

void CListContainerElementUI::DrawItemBk(HDC hDC, const RECT&) {
  listrow::DrawBackground(hDC, this, m_pOwner ? m_pOwner->GetListInfo() : nullptr, m_uButtonState, m_iIndex,
                          m_rcPaint);
}

}  // namespace ostrel
