#include "platform/ui/CScrollBarUI.h"

#include <algorithm>
#include <cstdlib>

#include "platform/ui/CContainerUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"

namespace ostrel {

namespace {
constexpr int kMinThumb = 16;
}

CScrollBarUI::CScrollBarUI() { m_dwBackColor = 0xFF1C1F24; }

void* CScrollBarUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("ScrollBar") == 0) return this;
  return CControlUI::GetInterface(pstrName);
}

void CScrollBarUI::SetHorizontal(bool bHorizontal) {
  m_bHorizontal = bHorizontal;
  Invalidate();
}

void CScrollBarUI::SetScrollRange(int nRange) {
  m_nRange = std::max(nRange, 0);
  if (m_nScrollPos > m_nRange) m_nScrollPos = m_nRange;
  Invalidate();
}

void CScrollBarUI::SetScrollPos(int nPos, bool bTriggerEvent) {
  nPos = std::clamp(nPos, 0, m_nRange);
  if (nPos == m_nScrollPos) return;
  int old = m_nScrollPos;
  m_nScrollPos = nPos;
  Invalidate();
  if (bTriggerEvent && m_pOwner) {
    // The owner moves its children by the difference.
    m_nScrollPos = old;
    SIZE s = m_pOwner->GetScrollPos();
    if (m_bHorizontal) {
      s.cx = nPos;
    } else {
      s.cy = nPos;
    }
    m_pOwner->SetScrollPos(s);
  } else if (bTriggerEvent && m_pManager) {
    m_pManager->SendNotify(this, DUI_MSGTYPE_SCROLL, nPos, 0);
  }
}

int CScrollBarUI::GetLineSize() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_nLineSize) : m_nLineSize;
}

RECT CScrollBarUI::GetThumbRect() const {
  RECT rc = m_rcItem;
  int length = m_bHorizontal ? rc.right - rc.left : rc.bottom - rc.top;
  if (length <= 0) return RECT{};
  int thumb = std::max(kMinThumb, length * length / std::max(1, length + m_nRange));
  if (thumb > length) thumb = length;
  int offset = m_nRange > 0 ? (length - thumb) * m_nScrollPos / m_nRange : 0;
  if (m_bHorizontal) return RECT{rc.left + offset, rc.top, rc.left + offset + thumb, rc.bottom};
  return RECT{rc.left, rc.top + offset, rc.right, rc.top + offset + thumb};
}

void CScrollBarUI::SetPos(RECT rc, bool bNeedInvalidate) { CControlUI::SetPos(rc, bNeedInvalidate); }

void CScrollBarUI::DoEvent(TEventUI& event) {
  if (!IsEnabled()) {
    if (m_pOwner) m_pOwner->DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK: {
      RECT thumb = GetThumbRect();
      if (PtInRect(thumb, event.ptMouse)) {
        m_bDragging = true;
        m_uThumbState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        m_ptLastMouse = event.ptMouse;
        m_nLastScrollPos = m_nScrollPos;
      } else {
        // A click on the track pages towards the pointer.
        int length = m_bHorizontal ? GetWidth() : GetHeight();
        bool before = m_bHorizontal ? event.ptMouse.x < thumb.left : event.ptMouse.y < thumb.top;
        SetScrollPos(m_nScrollPos + (before ? -length : length));
      }
      Invalidate();
      return;
    }
    case UIEVENT_MOUSEMOVE:
      if (m_bDragging) {
        RECT thumb = GetThumbRect();
        int length = m_bHorizontal ? GetWidth() : GetHeight();
        int travel = length - (m_bHorizontal ? thumb.right - thumb.left : thumb.bottom - thumb.top);
        int moved = m_bHorizontal ? event.ptMouse.x - m_ptLastMouse.x : event.ptMouse.y - m_ptLastMouse.y;
        if (travel > 0) SetScrollPos(m_nLastScrollPos + moved * m_nRange / travel);
      }
      return;
    case UIEVENT_BUTTONUP:
      m_bDragging = false;
      m_uThumbState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
      Invalidate();
      return;
    case UIEVENT_MOUSEENTER:
      m_uThumbState |= UISTATE_HOT;
      Invalidate();
      return;
    case UIEVENT_MOUSELEAVE:
      m_uThumbState &= ~UISTATE_HOT;
      Invalidate();
      return;
    case UIEVENT_SCROLLWHEEL:
      if (m_pOwner) {
        m_pOwner->DoEvent(event);
      } else {
        SetScrollPos(m_nScrollPos + (LOWORD(event.wParam) == 1 ? GetLineSize() : -GetLineSize()));
      }
      return;
    default:
      CControlUI::DoEvent(event);
  }
}

void CScrollBarUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  const char* v = pstrValue ? pstrValue : "";
  auto is = [&](const char* n) { return name.CompareNoCase(n) == 0; };
  if (is("range")) {
    SetScrollRange(std::atoi(v));
  } else if (is("value")) {
    SetScrollPos(std::atoi(v), false);
  } else if (is("linesize")) {
    SetLineSize(std::atoi(v));
  } else if (is("hor")) {
    SetHorizontal(ParseBool(v));
  } else if (is("thumbcolor")) {
    m_dwThumbColor = ParseColor(v);
  } else if (is("thumbhotcolor")) {
    m_dwThumbHotColor = ParseColor(v);
  } else if (is("thumbnormalimage")) {
    m_sThumbNormalImage = v;
  } else if (is("thumbhotimage")) {
    m_sThumbHotImage = v;
  } else if (is("thumbpushedimage")) {
    m_sThumbPushedImage = v;
  } else if (is("railnormalimage") || is("bknormalimage")) {
    m_sRailImage = v;
  } else if (is("showbutton1") || is("showbutton2")) {
    // The bar has no arrow buttons; the attribute is accepted for older layouts.
  } else {
    CControlUI::SetAttribute(pstrName, pstrValue);
  }
}

void CScrollBarUI::PaintBkColor(HDC hDC) {
  CControlUI::PaintBkColor(hDC);
  if (!m_sRailImage.IsEmpty()) DrawImage(hDC, m_sRailImage);
}

void CScrollBarUI::PaintStatusImage(HDC hDC) {
  RECT thumb = GetThumbRect();
  if (IsRectEmpty(thumb)) return;
  const CDuiString* image = &m_sThumbNormalImage;
  if ((m_uThumbState & UISTATE_PUSHED) && !m_sThumbPushedImage.IsEmpty()) {
    image = &m_sThumbPushedImage;
  } else if ((m_uThumbState & UISTATE_HOT) && !m_sThumbHotImage.IsEmpty()) {
    image = &m_sThumbHotImage;
  }
  if (!image->IsEmpty()) {
    CRenderEngine::DrawImageString(hDC, m_pManager, thumb, m_rcPaint, *image);
    return;
  }
  DWORD color = (m_uThumbState & (UISTATE_HOT | UISTATE_PUSHED)) ? m_dwThumbHotColor : m_dwThumbColor;
  int r = m_bHorizontal ? thumb.bottom - thumb.top : thumb.right - thumb.left;
  CRenderEngine::FillRoundRect(hDC, thumb, r, r, GetAdjustColor(color));
}

}  // namespace ostrel
