#include "controls/CComboEditContainerElementUI.h"

#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CPaintManagerUI.h"

namespace ostrel {

void* CComboEditContainerElementUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("ComboEditContainerElement") == 0) return this;
  return CListContainerElementUI::GetInterface(pstrName);
}

void CComboEditContainerElementUI::DoInit() {
  CDialogBuilder builder;
  CControlUI* content = builder.Create(kContentLayout, nullptr, nullptr, m_pManager, nullptr);
  RemoveAll();
  if (content) Add(content);
}

void CComboEditContainerElementUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  // The row's look comes from its content and the list's row settings.
  if (name.CompareNoCase("normalimage") == 0 || name.CompareNoCase("hotimage") == 0 ||
      name.CompareNoCase("selectedimage") == 0)
    return;
  CContainerUI::SetAttribute(pstrName, pstrValue);
}

void CComboEditContainerElementUI::PassOn(TEventUI& event, bool toContainer) {
  if (m_pOwner) {
    m_pOwner->DoEvent(event);
  } else if (toContainer) {
    CContainerUI::DoEvent(event);
  } else {
    CControlUI::DoEvent(event);
  }
}

void CComboEditContainerElementUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
    PassOn(event, true);
    return;
  }
  switch (event.Type) {
    case UIEVENT_DBLCLICK:
      if (IsEnabled()) {
        Activate();
        Invalidate();
      }
      return;
    case UIEVENT_KEYDOWN:
      if (event.chKey == VK_RETURN) {
        if (IsEnabled()) {
          Activate();
          Invalidate();
          if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_RETURN);
        }
        return;
      }
      break;
    case UIEVENT_BUTTONDOWN:
      if (IsEnabled()) {
        if (event.wKeyState & MK_CONTROL) {
          if (IsSelected()) {
            // A single-selection list may not track the row; unselect it here then.
            if (!m_pOwner || !m_pOwner->UnSelectItem(m_iIndex)) Select(false);
          } else {
            SelectMulti(true);
          }
        } else {
          Select(true);
        }
        Invalidate();
      }
      return;
    case UIEVENT_BUTTONUP:
      if (IsEnabled() && m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMCLICK);
      return;
    case UIEVENT_MOUSEMOVE:
      return;
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
    case UIEVENT_TIMER:
      if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_TIMER, event.wParam, event.lParam);
      return;
    case UIEVENT_CONTEXTMENU:
      if (IsContextMenuUsed()) {
        if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
        return;
      }
      break;
    default:
      break;
  }
  PassOn(event, false);
}

}  // namespace ostrel
