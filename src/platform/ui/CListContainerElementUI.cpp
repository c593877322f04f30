#include "platform/ui/CListContainerElementUI.h"

#include "platform/ui/CPaintManagerUI.h"

namespace ostrel {

void* CListContainerElementUI::GetInterface(const char* pstrName) {
  CDuiString name(pstrName);
  if (name.CompareNoCase("ListItem") == 0) return static_cast<IListItemUI*>(this);
  if (name.CompareNoCase("ListContainerElement") == 0) return this;
  return CHorizontalLayoutUI::GetInterface(pstrName);
}

bool CListContainerElementUI::HandleOwnEvent(TEventUI& event) {
  if (event.Type == UIEVENT_TIMER) {
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_TIMER, event.wParam, event.lParam);
    return true;
  }
  if (event.Type == UIEVENT_CONTEXTMENU) {
    if (IsContextMenuUsed() && m_pManager)
      m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
    return true;
  }
  return false;
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

}  // namespace ostrel
