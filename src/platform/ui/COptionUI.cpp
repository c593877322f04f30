#include "platform/ui/COptionUI.h"

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"

namespace ostrel {

COptionUI::~COptionUI() {
  if (!m_sGroupName.IsEmpty() && m_pManager) m_pManager->RemoveOptionGroup(m_sGroupName, this);
}

void* COptionUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("Option") == 0) return this;
  return CButtonUI::GetInterface(pstrName);
}

void COptionUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
  if (m_pManager && m_pManager != pManager && !m_sGroupName.IsEmpty())
    m_pManager->RemoveOptionGroup(m_sGroupName, this);
  CButtonUI::SetManager(pManager, pParent, bInit);
  if (bInit && m_pManager && !m_sGroupName.IsEmpty()) {
    m_pManager->AddOptionGroup(m_sGroupName, this);
    if (m_bSelected) {
      // A layout that selects two of a group keeps the last one.
      if (const auto* group = m_pManager->GetOptionGroup(m_sGroupName)) {
        for (CControlUI* c : *group) {
          auto* other = static_cast<COptionUI*>(c->GetInterface("Option"));
          if (other && other != this && other->IsSelected()) other->Selected(false, false);
        }
      }
    }
  }
}

void COptionUI::SetGroup(const char* pStrGroupName) {
  CDuiString name(pStrGroupName);
  if (name == m_sGroupName) return;
  if (m_pManager && !m_sGroupName.IsEmpty()) m_pManager->RemoveOptionGroup(m_sGroupName, this);
  m_sGroupName = name;
  if (m_pManager && !m_sGroupName.IsEmpty()) m_pManager->AddOptionGroup(m_sGroupName, this);
  Selected(m_bSelected, false);
}

void COptionUI::Selected(bool bSelected, bool bTriggerEvent) {
  if (m_bSelected == bSelected) return;
  m_bSelected = bSelected;
  if (m_bSelected) {
    m_uButtonState |= UISTATE_SELECTED;
  } else {
    m_uButtonState &= ~UISTATE_SELECTED;
  }
  Invalidate();
  if (!m_pManager) return;
  if (!m_sGroupName.IsEmpty()) {
    if (!m_bSelected) return;
    if (const auto* group = m_pManager->GetOptionGroup(m_sGroupName)) {
      auto members = *group;
      for (CControlUI* c : members) {
        auto* other = static_cast<COptionUI*>(c->GetInterface("Option"));
        if (other && other != this) other->Selected(false, bTriggerEvent);
      }
    }
  }
  if (bTriggerEvent) m_pManager->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED, m_bSelected ? 1 : 0, 0);
}

bool COptionUI::Activate() {
  if (!CButtonUI::Activate()) return false;
  if (!m_sGroupName.IsEmpty()) {
    Selected(true);
  } else {
    Selected(!m_bSelected);
  }
  return true;
}

void COptionUI::SetEnabled(bool bEnable) {
  CButtonUI::SetEnabled(bEnable);
  if (m_bSelected) m_uButtonState |= UISTATE_SELECTED;
}

void COptionUI::SetSelectedImage(const char* s) {
  m_sSelectedImage = s;
  Invalidate();
}
void COptionUI::SetSelectedHotImage(const char* s) {
  m_sSelectedHotImage = s;
  Invalidate();
}
void COptionUI::SetSelectedPushedImage(const char* s) {
  m_sSelectedPushedImage = s;
  Invalidate();
}
void COptionUI::SetSelectedForeImage(const char* s) {
  m_sSelectedForeImage = s;
  Invalidate();
}
void COptionUI::SetSelectedTextColor(DWORD c) {
  m_dwSelectedTextColor = c;
  Invalidate();
}
void COptionUI::SetSelectedBkColor(DWORD c) {
  m_dwSelectedBkColor = c;
  Invalidate();
}

void COptionUI::PaintBkColor(HDC hDC) {
  if (m_bSelected && m_dwSelectedBkColor) {
    CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwSelectedBkColor));
    return;
  }
  CButtonUI::PaintBkColor(hDC);
}

void COptionUI::PaintStatusImage(HDC hDC) {
  if (m_bSelected) {
    const CDuiString* image = &m_sSelectedImage;
    if ((m_uButtonState & UISTATE_PUSHED) && !m_sSelectedPushedImage.IsEmpty()) {
      image = &m_sSelectedPushedImage;
    } else if ((m_uButtonState & (UISTATE_HOT | UISTATE_PUSHED)) && !m_sSelectedHotImage.IsEmpty()) {
      image = &m_sSelectedHotImage;
    }
    if (!IsEnabled() && !m_sDisabledImage.IsEmpty()) image = &m_sDisabledImage;
    if (!image->IsEmpty()) {
      DrawImage(hDC, *image);
      return;
    }
  }
  CButtonUI::PaintStatusImage(hDC);
}

void COptionUI::PaintForeImage(HDC hDC) {
  if (m_bSelected && !m_sSelectedForeImage.IsEmpty()) {
    DrawImage(hDC, m_sSelectedForeImage);
    return;
  }
  CButtonUI::PaintForeImage(hDC);
}

void COptionUI::PaintText(HDC hDC) {
  if (m_bSelected && m_dwSelectedTextColor && IsEnabled()) {
    DrawLabelText(hDC, GetAdjustColor(m_dwSelectedTextColor));
    return;
  }
  CButtonUI::PaintText(hDC);
}

void COptionUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  const char* v = pstrValue ? pstrValue : "";
  auto is = [&](const char* n) { return name.CompareNoCase(n) == 0; };
  if (is("group")) {
    SetGroup(v);
  } else if (is("selected")) {
    Selected(ParseBool(v), false);
  } else if (is("selectedimage")) {
    SetSelectedImage(v);
  } else if (is("selectedhotimage")) {
    SetSelectedHotImage(v);
  } else if (is("selectedpushedimage")) {
    SetSelectedPushedImage(v);
  } else if (is("selectedforeimage") || is("foreselectedimage")) {
    SetSelectedForeImage(v);
  } else if (is("selectedtextcolor")) {
    SetSelectedTextColor(ParseColor(v));
  } else if (is("selectedbkcolor")) {
    SetSelectedBkColor(ParseColor(v));
  } else {
    CButtonUI::SetAttribute(pstrName, pstrValue);
  }
}

}  // namespace ostrel
