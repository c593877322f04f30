#include "controls/CCloudShareListItemUI.h"

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"

namespace ostrel {

bool CCloudShareListItemUI::Activate() {
  if (!CControlUI::Activate()) return false;
  if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
  return true;
}

void CCloudShareListItemUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) {
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      if (m_uButtonState & UISTATE_HOT) {
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
      }
      return;
    case UIEVENT_CONTEXTMENU:
      if (IsContextMenuUsed() && m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
      return;
    default:
      break;
  }
  CListContainerElementUI::DoEvent(event);
}

void CCloudShareListItemUI::DrawItemBk(HDC hDC, const RECT& rcItem) {
  CListContainerElementUI::DrawItemBk(hDC, rcItem);
  if (IsSelected() || !IsHot() || !m_pOwner) return;
  TListInfoUI* info = m_pOwner->GetListInfo();
  if (!info || info->sHotImage.IsEmpty()) return;
  // The list's hot text colour frames the row; its hot background would
  // vanish against the row's own hot fill.
  DWORD color = info->dwHotTextColor ? info->dwHotTextColor : info->dwSelectedBkColor;
  CRenderEngine::DrawRect(hDC, m_rcItem, 1, GetAdjustColor(color));
}

}  // namespace ostrel
