#include "platform/ui/CProgressUI.h"

#include <algorithm>
#include <cstdlib>

#include "platform/ui/CRenderEngine.h"

namespace ostrel {

CProgressUI::CProgressUI() { m_uTextStyle = DT_SINGLELINE | DT_CENTER | DT_VCENTER; }

void* CProgressUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("Progress") == 0) return this;
  return CLabelUI::GetInterface(pstrName);
}

void CProgressUI::SetHorizontal(bool b) {
  m_bHorizontal = b;
  Invalidate();
}

void CProgressUI::SetStretchForeImage(bool b) {
  m_bStretchForeImage = b;
  Invalidate();
}

void CProgressUI::SetMinValue(int nMin) {
  m_nMin = nMin;
  if (m_nMax < m_nMin) m_nMax = m_nMin;
  SetValue(m_nValue);
  Invalidate();
}

void CProgressUI::SetMaxValue(int nMax) {
  m_nMax = nMax;
  if (m_nMin > m_nMax) m_nMin = m_nMax;
  SetValue(m_nValue);
  Invalidate();
}

void CProgressUI::SetValue(int nValue) {
  int v = std::clamp(nValue, m_nMin, m_nMax);
  if (v == m_nValue) return;
  m_nValue = v;
  Invalidate();
}

RECT CProgressUI::DoneRect() const {
  RECT rc = m_rcItem;
  int range = m_nMax - m_nMin;
  if (range <= 0) return RECT{rc.left, rc.top, rc.left, rc.top};
  long long done = m_nValue - m_nMin;
  if (m_bHorizontal) {
    rc.right = rc.left + static_cast<LONG>((rc.right - rc.left) * done / range);
  } else {
    rc.top = rc.bottom - static_cast<LONG>((rc.bottom - rc.top) * done / range);
  }
  return rc;
}

void CProgressUI::PaintForeColor(HDC hDC) {
  if (m_dwForeColor == 0) return;
  RECT done = DoneRect();
  RECT clip;
  if (IntersectRect(&clip, done, m_rcPaint))
    CRenderEngine::DrawColor(hDC, clip, GetAdjustColor(m_dwForeColor));
}

void CProgressUI::PaintForeImage(HDC hDC) {
  if (m_sForeImage.IsEmpty()) return;
  RECT done = DoneRect();
  if (IsRectEmpty(done)) return;
  RECT dest{done.left - m_rcItem.left, done.top - m_rcItem.top, done.right - m_rcItem.left,
            done.bottom - m_rcItem.top};
  CDuiString modify;
  if (m_bStretchForeImage) {
    modify.Format("dest='%ld,%ld,%ld,%ld'", static_cast<long>(dest.left), static_cast<long>(dest.top),
                  static_cast<long>(dest.right), static_cast<long>(dest.bottom));
  } else {
    // The image keeps its scale; only the done part of it shows.
    modify.Format("dest='%ld,%ld,%ld,%ld' source='%ld,%ld,%ld,%ld'", static_cast<long>(dest.left),
                  static_cast<long>(dest.top), static_cast<long>(dest.right), static_cast<long>(dest.bottom),
                  static_cast<long>(dest.left), static_cast<long>(dest.top), static_cast<long>(dest.right),
                  static_cast<long>(dest.bottom));
  }
  DrawImage(hDC, m_sForeImage, modify);
}

void CProgressUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  const char* v = pstrValue ? pstrValue : "";
  auto is = [&](const char* n) { return name.CompareNoCase(n) == 0; };
  if (is("hor")) {
    SetHorizontal(ParseBool(v));
  } else if (is("min")) {
    SetMinValue(std::atoi(v));
  } else if (is("max")) {
    SetMaxValue(std::atoi(v));
  } else if (is("value")) {
    SetValue(std::atoi(v));
  } else if (is("isstretchfore")) {
    SetStretchForeImage(ParseBool(v));
  } else {
    CLabelUI::SetAttribute(pstrName, pstrValue);
  }
}

}  // namespace ostrel
