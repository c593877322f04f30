#include "controls/CSelectPanelUI.h"

#include <algorithm>

#include "controls/CDeviceKeyButtonUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"

namespace ostrel {

void* CSelectPanelUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("SelectPanel") == 0) return this;
  return CVerticalLayoutUI::GetInterface(pstrName);
}

void CSelectPanelUI::DoEvent(TEventUI& event) {
  CVerticalLayoutUI::DoEvent(event);
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
      if (IsEnabled()) {
        m_bPressed = true;
        m_ptStart = event.ptMouse;
      }
      break;
    case UIEVENT_MOUSEMOVE:
      if (m_bPressed) m_bSelecting = true;
      if (m_bSelecting) {
        m_ptCurrent = event.ptMouse;
        m_rcSelection.left = std::min(m_ptStart.x, m_ptCurrent.x);
        m_rcSelection.right = std::max(m_ptStart.x, m_ptCurrent.x);
        m_rcSelection.top = std::min(m_ptStart.y, m_ptCurrent.y);
        m_rcSelection.bottom = std::max(m_ptStart.y, m_ptCurrent.y);
        Invalidate();
      }
      break;
    case UIEVENT_BUTTONUP:
      m_bPressed = false;
      if (m_bSelecting) {
        m_bSelecting = false;
        m_ptStart = m_ptCurrent;
        ApplySelection();
        Invalidate();
        if (m_pManager) m_pManager->SendNotify(this, "click_select_end", 0, 0);
      }
      break;
    default:
      break;
  }
}

void CSelectPanelUI::ApplySelection() {
  for (CControlUI* child : m_items) {
    if (CDuiString(child->GetClass()) != "DeviceKeyButton") continue;
    auto* key = static_cast<CDeviceKeyButtonUI*>(child->GetInterface("DeviceKeyButton"));
    if (!key) continue;
    RECT overlap;
    // IntersectRect answers false for rectangles that only share an edge.
    key->SetSelected(IntersectRect(&overlap, m_rcSelection, child->GetPos()));
  }
}

bool CSelectPanelUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) {
  if (!CVerticalLayoutUI::DoPaint(hDC, rcPaint, pStopControl)) return false;
  if (!m_bSelecting) return true;
  // The band is drawn inside the panel even when the pointer left it.
  RECT band;
  if (!IntersectRect(&band, m_rcSelection, m_rcItem)) return true;
  RECT clip;
  if (IntersectRect(&clip, band, rcPaint)) CRenderEngine::DrawColor(hDC, clip, GetAdjustColor(kFillColor));
  CRenderEngine::DrawRect(hDC, band, kBorderSize, GetAdjustColor(kBorderColor));
  return true;
}

}  // namespace ostrel
