#include "controls/CHandImgButtonUI.h"

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"

namespace ostrel {

namespace {
// The mark is 20 px square, 30 px in from the right edge and 29 px up from
// the bottom edge (layout pixels).
constexpr int kDeleteSize = 20;
constexpr int kDeleteRightInset = 30;
constexpr int kDeleteBottomInset = 29;
}  // namespace

void* CHandImgButtonUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("HandImgButton") == 0) return this;
  return CButtonUI::GetInterface(pstrName);
}

RECT CHandImgButtonUI::GetDeleteRect() const {
  auto scale = [this](int v) { return m_pManager ? m_pManager->GetDPIObj()->Scale(v) : v; };
  RECT rc;
  rc.left = m_rcItem.right - scale(kDeleteRightInset);
  rc.top = m_rcItem.bottom - scale(kDeleteBottomInset);
  rc.right = rc.left + scale(kDeleteSize);
  rc.bottom = rc.top + scale(kDeleteSize);
  return rc;
}

void CHandImgButtonUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
    CButtonUI::DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (PtInRect(m_rcItem, event.ptMouse) && IsEnabled()) {
        m_uButtonState |= UISTATE_CAPTURED | UISTATE_PUSHED;
        Invalidate();
      }
      return;
    case UIEVENT_BUTTONUP:
      if (m_uButtonState & UISTATE_CAPTURED) {
        if (!m_bDeleteHidden && PtInRect(GetDeleteRect(), event.ptMouse)) {
          if (m_pManager) m_pManager->SendNotify(this, "click_handdelete");
        } else if (PtInRect(m_rcItem, event.ptMouse)) {
          Activate();
        }
        m_uButtonState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEMOVE:
      m_sDeleteImage = PtInRect(GetDeleteRect(), event.ptMouse) ? m_sDeleteHotImage : m_sDeleteNormalImage;
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
      m_uButtonState &= ~UISTATE_HOT;
      if (m_pManager) m_pManager->SendNotify(this, "msleave");
      Invalidate();
      return;
    default:
      break;
  }
  CButtonUI::DoEvent(event);
}

void CHandImgButtonUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  const char* v = pstrValue ? pstrValue : "";
  if (name.CompareNoCase("handimage") == 0) {
    SetHandImage(v);
  } else if (name.CompareNoCase("deletenormalimage") == 0) {
    SetDeleteNormalImage(v);
  } else if (name.CompareNoCase("deletehotimage") == 0) {
    SetDeleteHotImage(v);
  } else {
    CButtonUI::SetAttribute(pstrName, pstrValue);
  }
}

void CHandImgButtonUI::PaintStatusImage(HDC hDC) {
  CButtonUI::PaintStatusImage(hDC);
  if (!m_sHandImage.IsEmpty()) DrawImage(hDC, m_sHandImage);
  if ((m_uButtonState & UISTATE_HOT) && !m_bDeleteHidden && !m_sDeleteImage.IsEmpty())
    CRenderEngine::DrawImageString(hDC, m_pManager, GetDeleteRect(), m_rcPaint, m_sDeleteImage);
}

void CHandImgButtonUI::SetHandImage(const char* pStrImage) {
  m_sHandImage = pStrImage;
  Invalidate();
}

void CHandImgButtonUI::SetDeleteNormalImage(const char* pStrImage) {
  m_sDeleteNormalImage = pStrImage;
  // Until the pointer has moved over the button the normal mark is the one shown.
  if (m_sDeleteImage.IsEmpty() || m_sDeleteImage != m_sDeleteHotImage) m_sDeleteImage = m_sDeleteNormalImage;
  Invalidate();
}

void CHandImgButtonUI::SetDeleteHotImage(const char* pStrImage) {
  m_sDeleteHotImage = pStrImage;
  Invalidate();
}

void CHandImgButtonUI::SetDeleteHidden(bool bHidden) {
  m_bDeleteHidden = bHidden;
  Invalidate();
}

}  // namespace ostrel
