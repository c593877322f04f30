#include "controls/CCircleProgressUI.h"

#include "platform/ui/CRenderEngine.h"

namespace ostrel {

void* CCircleProgressUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("CircleProgress") == 0) return this;
  return CProgressUI::GetInterface(pstrName);
}

int CCircleProgressUI::SweepDegrees() const {
  int range = m_nMax - m_nMin;
  if (range <= 0) return 0;
  // Measured from the minimum, so a range that does not start at 0 still
  // starts with an empty ring.
  return static_cast<int>(static_cast<double>(m_nValue - m_nMin) / range * 360.0);
}

void CCircleProgressUI::PaintBkColor(HDC hDC) {
  if (m_dwBackColor == 0) return;
  CRenderEngine::FillPie(hDC, m_rcItem, 0, 360, GetAdjustColor(m_dwBackColor));
}

void CCircleProgressUI::PaintForeColor(HDC hDC) {
  int sweep = SweepDegrees();
  if (m_dwForeColor != 0 && sweep != 0)
    CRenderEngine::FillPie(hDC, m_rcItem, kStartAngle, sweep, GetAdjustColor(m_dwForeColor));
  RECT inner{m_rcItem.left + kRingWidth, m_rcItem.top + kRingWidth, m_rcItem.right - kRingWidth,
             m_rcItem.bottom - kRingWidth};
  if (!IsRectEmpty(inner)) CRenderEngine::FillPie(hDC, inner, 0, 360, kInnerColor);
}

}  // namespace ostrel
