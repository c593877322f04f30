#include "platform/ui/CListElementUI.h"

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/ListRow.h"

namespace ostrel {

void* CListElementUI::GetInterface(const char* pstrName) {
  CDuiString name(pstrName);
  if (name.CompareNoCase("ListItem") == 0) return static_cast<IListItemUI*>(this);
  if (name.CompareNoCase("ListElement") == 0) return this;
  return CControlUI::GetInterface(pstrName);
}

bool CListElementUI::Select(bool bSelect, bool bTriggerEvent) {
  if (!IsEnabled()) return false;
  if (bSelect && m_pOwner && m_pOwner->GetCurSel() != m_iIndex) {
    if (!m_pOwner->SelectItem(m_iIndex, false, bTriggerEvent)) return false;
  }
  m_bSelected = bSelect;
  m_uButtonState = bSelect ? (m_uButtonState | UISTATE_SELECTED) : (m_uButtonState & ~UISTATE_SELECTED);
  Invalidate();
  return true;
}

bool CListElementUI::SelectMulti(bool bSelect) {
  if (!IsEnabled()) return false;
  if (bSelect && m_pOwner && !m_bSelected) {
    if (!m_pOwner->SelectMultiItem(m_iIndex)) return false;
  }
  m_bSelected = bSelect;
  m_uButtonState = bSelect ? (m_uButtonState | UISTATE_SELECTED) : (m_uButtonState & ~UISTATE_SELECTED);
  Invalidate();
  return true;
}

void CListElementUI::SetVisible(bool bVisible) {
  CControlUI::SetVisible(bVisible);
  if (!IsVisible() && m_bSelected && m_pOwner) m_pOwner->UnSelectItem(m_iIndex);
}

bool CListElementUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
  return true;
}

void CListElementUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
    if (m_pOwner) {
      m_pOwner->DoEvent(event);
    } else {
      CControlUI::DoEvent(event);
    }
    return;
  }
  if (listrow::HandleEvent(this, this, m_pOwner, &m_uButtonState, event)) return;
  CControlUI::DoEvent(event);
}

void CListElementUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  if (CDuiString(pstrName).CompareNoCase("selected") == 0) {
    Select(ParseBool(pstrValue), false);
  } else {
    CControlUI::SetAttribute(pstrName, pstrValue);
  }
}

void CListElementUI::DrawItemBk(HDC hDC, const RECT&) {
  listrow::DrawBackground(hDC, this, m_pOwner ? m_pOwner->GetListInfo() : nullptr, m_uButtonState, m_iIndex,
                          m_rcPaint);
}

}  // namespace ostrel
