#include "controls/CHandImgSelectButtonUI.h"

#include <algorithm>

#include "platform/ui/CPaintManagerUI.h"

namespace ostrel {

namespace {
// Moves the span [lo, hi) by the pointer's motion `delta` (pointer right =
// picture right = window left), keeping it inside [0, limit).
void Pan(LONG* lo, LONG* hi, int delta, int limit) {
  int shift = -delta;
  if (shift > 0) shift = std::min(shift, std::max(0, limit - static_cast<int>(*hi)));
  if (shift < 0) shift = std::max(shift, -static_cast<int>(*lo));
  *lo += shift;
  *hi += shift;
}
}  // namespace

void* CHandImgSelectButtonUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("HandImgSelectButton") == 0) return this;
  return CButtonUI::GetInterface(pstrName);
}

SIZE CHandImgSelectButtonUI::WindowSize() const {
  int w = GetWidth() > 0 ? GetWidth() : GetFixedWidth();
  int h = GetHeight() > 0 ? GetHeight() : GetFixedHeight();
  return SIZE{std::min(w, m_nPictureWidth), std::min(h, m_nPictureHeight)};
}

void CHandImgSelectButtonUI::SetHandImage(const char* pStrImage) {
  m_sHandImage = pStrImage;
  const TImageInfo* info = CPaintManagerUI::GetImageEx(m_sHandImage);
  if (!info) return;
  m_nPictureWidth = info->nX;
  m_nPictureHeight = info->nY;
  SIZE win = WindowSize();
  m_rcSource = RECT{0, 0, win.cx, win.cy};
  RebuildDrawString();
  Invalidate();
}

void CHandImgSelectButtonUI::RebuildDrawString() {
  int w = GetWidth() > 0 ? GetWidth() : GetFixedWidth();
  int h = GetHeight() > 0 ? GetHeight() : GetFixedHeight();
  m_bLarger = w < m_nPictureWidth || h < m_nPictureHeight;
  if (!m_bLarger) {
    m_sDrawString = m_sHandImage;
    return;
  }
  m_sDrawString.Format("file='%s' source='%ld,%ld,%ld,%ld'", m_sHandImage.GetData(),
                       static_cast<long>(m_rcSource.left), static_cast<long>(m_rcSource.top),
                       static_cast<long>(m_rcSource.right), static_cast<long>(m_rcSource.bottom));
}

void CHandImgSelectButtonUI::SetPos(RECT rc, bool bNeedInvalidate) {
  int oldW = GetWidth();
  int oldH = GetHeight();
  CButtonUI::SetPos(rc, bNeedInvalidate);
  if (m_nPictureWidth <= 0 || (oldW == GetWidth() && oldH == GetHeight())) return;
  // A new size keeps the window's top-left corner where the picture allows.
  SIZE win = WindowSize();
  LONG left = std::clamp<LONG>(m_rcSource.left, 0, m_nPictureWidth - win.cx);
  LONG top = std::clamp<LONG>(m_rcSource.top, 0, m_nPictureHeight - win.cy);
  m_rcSource = RECT{left, top, left + win.cx, top + win.cy};
  RebuildDrawString();
}

void CHandImgSelectButtonUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
    CButtonUI::DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (PtInRect(m_rcItem, event.ptMouse) && IsEnabled()) {
        m_uButtonState |= UISTATE_CAPTURED | UISTATE_PUSHED;
        m_ptLast = event.ptMouse;
        m_bDragging = true;
        Invalidate();
      }
      return;
    case UIEVENT_BUTTONUP:
      if (m_uButtonState & UISTATE_CAPTURED) {
        m_uButtonState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
        Invalidate();
      }
      m_bDragging = false;
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_bDragging) {
        if (m_bLarger) {
          Pan(&m_rcSource.left, &m_rcSource.right, event.ptMouse.x - m_ptLast.x, m_nPictureWidth);
          Pan(&m_rcSource.top, &m_rcSource.bottom, event.ptMouse.y - m_ptLast.y, m_nPictureHeight);
        }
        m_ptLast = event.ptMouse;
        RebuildDrawString();
      }
      if (m_uButtonState & UISTATE_CAPTURED) {
        if (PtInRect(m_rcItem, event.ptMouse)) {
          m_uButtonState |= UISTATE_PUSHED;
        } else {
          m_uButtonState &= ~UISTATE_PUSHED;
        }
      }
      Invalidate();
      return;
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) {
        m_uButtonState |= UISTATE_HOT;
        if (m_pManager) m_pManager->SendNotify(this, "msenter");
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      if (IsEnabled()) {
        m_uButtonState &= ~UISTATE_HOT;
        if (m_pManager) m_pManager->SendNotify(this, "msleave");
        Invalidate();
      }
      return;
    default:
      break;
  }
  CButtonUI::DoEvent(event);
}

void CHandImgSelectButtonUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  const char* v = pstrValue ? pstrValue : "";
  if (name.CompareNoCase("handimage") == 0) {
    SetHandImage(v);
  } else {
    CButtonUI::SetAttribute(pstrName, pstrValue);
  }
}

void CHandImgSelectButtonUI::PaintStatusImage(HDC hDC) {
  CButtonUI::PaintStatusImage(hDC);
  if (!m_sDrawString.IsEmpty()) DrawImage(hDC, m_sDrawString);
}

}  // namespace ostrel
