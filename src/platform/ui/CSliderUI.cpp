#include "platform/ui/CSliderUI.h"

#include <algorithm>
#include <cstdlib>

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"

namespace ostrel {

CSliderUI::CSliderUI() { m_uTextStyle = DT_SINGLELINE | DT_CENTER | DT_VCENTER; }

void* CSliderUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("Slider") == 0) return this;
  return CProgressUI::GetInterface(pstrName);
}

UINT CSliderUI::GetControlFlags() const { return IsEnabled() ? UIFLAG_SETCURSOR | UIFLAG_TABSTOP : 0; }

void CSliderUI::SetEnabled(bool bEnable) {
  CProgressUI::SetEnabled(bEnable);
  if (!IsEnabled()) m_uButtonState = 0;
}

SIZE CSliderUI::GetThumbSize() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_szThumb) : m_szThumb;
}

void CSliderUI::SetThumbSize(SIZE szXY) {
  m_szThumb = szXY;
  Invalidate();
}

RECT CSliderUI::GetThumbRect() const {
  SIZE t = GetThumbSize();
  int range = std::max(1, m_nMax - m_nMin);
  long long done = m_nValue - m_nMin;
  if (m_bHorizontal) {
    int travel = std::max<int>(0, GetWidth() - t.cx);
    int left = m_rcItem.left + static_cast<int>(travel * done / range);
    int top = (m_rcItem.top + m_rcItem.bottom - t.cy) / 2;
    return RECT{left, top, left + t.cx, top + t.cy};
  }
  int travel = std::max<int>(0, GetHeight() - t.cy);
  int top = m_rcItem.bottom - t.cy - static_cast<int>(travel * done / range);
  int left = (m_rcItem.left + m_rcItem.right - t.cx) / 2;
  return RECT{left, top, left + t.cx, top + t.cy};
}

int CSliderUI::ValueAt(POINT pt) const {
  SIZE t = GetThumbSize();
  int range = m_nMax - m_nMin;
  double fraction;
  if (m_bHorizontal) {
    int travel = std::max<int>(1, GetWidth() - t.cx);
    fraction = static_cast<double>(pt.x - m_rcItem.left - t.cx / 2) / travel;
  } else {
    int travel = std::max<int>(1, GetHeight() - t.cy);
    fraction = static_cast<double>(m_rcItem.bottom - pt.y - t.cy / 2) / travel;
  }
  fraction = std::clamp(fraction, 0.0, 1.0);
  int raw = m_nMin + static_cast<int>(fraction * range + 0.5);
  // Snap to the step, counted from the minimum.
  int steps = (raw - m_nMin + m_nStep / 2) / m_nStep;
  return std::clamp(m_nMin + steps * m_nStep, m_nMin, m_nMax);
}

void CSliderUI::SetThumbImage(const char* s) {
  m_sThumbImage = s;
  Invalidate();
}
void CSliderUI::SetThumbHotImage(const char* s) {
  m_sThumbHotImage = s;
  Invalidate();
}
void CSliderUI::SetThumbPushedImage(const char* s) {
  m_sThumbPushedImage = s;
  Invalidate();
}

void CSliderUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
    CProgressUI::DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (!IsEnabled()) return;
      m_uButtonState |= UISTATE_CAPTURED | UISTATE_PUSHED;
      m_nValueAtPress = m_nValue;
      if (!PtInRect(GetThumbRect(), event.ptMouse)) {
        int before = m_nValue;
        SetValue(ValueAt(event.ptMouse));
        if (m_bSendMove && m_nValue != before && m_pManager)
          m_pManager->SendNotify(this, DUI_MSGTYPE_MOVEVALUECHANGED, m_nValue, 0);
      }
      Invalidate();
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_uButtonState & UISTATE_CAPTURED) {
        int before = m_nValue;
        SetValue(ValueAt(event.ptMouse));
        if (m_bSendMove && m_nValue != before && m_pManager)
          m_pManager->SendNotify(this, DUI_MSGTYPE_MOVEVALUECHANGED, m_nValue, 0);
      }
      return;
    case UIEVENT_BUTTONUP:
      if (m_uButtonState & UISTATE_CAPTURED) {
        m_uButtonState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
        if (event.ptMouse.x >= 0) SetValue(ValueAt(event.ptMouse));
        Invalidate();
        if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_VALUECHANGED, m_nValue, m_nValueAtPress);
      }
      return;
    case UIEVENT_SCROLLWHEEL:
      if (IsEnabled()) {
        int before = m_nValue;
        SetValue(m_nValue + (LOWORD(event.wParam) == 1 ? -m_nStep : m_nStep));
        if (m_nValue != before && m_pManager)
          m_pManager->SendNotify(this, DUI_MSGTYPE_VALUECHANGED, m_nValue, before);
      }
      return;
    case UIEVENT_KEYDOWN:
      if (IsEnabled()) {
        int delta = 0;
        if (event.chKey == VK_LEFT || event.chKey == VK_DOWN) delta = -m_nStep;
        if (event.chKey == VK_RIGHT || event.chKey == VK_UP) delta = m_nStep;
        if (event.chKey == VK_HOME) delta = m_nMin - m_nValue;
        if (event.chKey == VK_END) delta = m_nMax - m_nValue;
        if (delta != 0) {
          int before = m_nValue;
          SetValue(m_nValue + delta);
          if (m_nValue != before && m_pManager)
            m_pManager->SendNotify(this, DUI_MSGTYPE_VALUECHANGED, m_nValue, before);
          return;
        }
      }
      break;
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
  CProgressUI::DoEvent(event);
}

void CSliderUI::PaintStatusImage(HDC hDC) {
  RECT thumb = GetThumbRect();
  const CDuiString* image = &m_sThumbImage;
  if ((m_uButtonState & UISTATE_CAPTURED) && !m_sThumbPushedImage.IsEmpty()) {
    image = &m_sThumbPushedImage;
  } else if ((m_uButtonState & UISTATE_HOT) && !m_sThumbHotImage.IsEmpty()) {
    image = &m_sThumbHotImage;
  }
  if (!image->IsEmpty()) {
    RECT rel{thumb.left - m_rcItem.left, thumb.top - m_rcItem.top, thumb.right - m_rcItem.left,
             thumb.bottom - m_rcItem.top};
    CDuiString modify;
    modify.Format("dest='%ld,%ld,%ld,%ld'", static_cast<long>(rel.left), static_cast<long>(rel.top),
                  static_cast<long>(rel.right), static_cast<long>(rel.bottom));
    DrawImage(hDC, *image, modify);
    return;
  }
  // Without images the thumb is a round knob in the thumb colour.
  int d = std::min(thumb.right - thumb.left, thumb.bottom - thumb.top);
  CRenderEngine::FillRoundRect(hDC, thumb, d, d, GetAdjustColor(IsEnabled() ? m_dwThumbColor : 0xFF666666));
}

void CSliderUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  const char* v = pstrValue ? pstrValue : "";
  auto is = [&](const char* n) { return name.CompareNoCase(n) == 0; };
  if (is("thumbimage")) {
    SetThumbImage(v);
  } else if (is("thumbhotimage")) {
    SetThumbHotImage(v);
  } else if (is("thumbpushedimage")) {
    SetThumbPushedImage(v);
  } else if (is("thumbsize")) {
    SetThumbSize(ParseSize(v));
  } else if (is("thumbcolor")) {
    m_dwThumbColor = ParseColor(v);
    Invalidate();
  } else if (is("step")) {
    SetChangeStep(std::atoi(v));
  } else if (is("sendmove")) {
    SetCanSendMove(ParseBool(v));
  } else {
    CProgressUI::SetAttribute(pstrName, pstrValue);
  }
}

}  // namespace ostrel
