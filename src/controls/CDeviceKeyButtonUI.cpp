#include "controls/CDeviceKeyButtonUI.h"

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"

namespace ostrel {

void* CDeviceKeyButtonUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("DeviceKeyButton") == 0) return this;
  return CButtonUI::GetInterface(pstrName);
}

void CDeviceKeyButtonUI::DoEvent(TEventUI& event) {
  if (event.Type == UIEVENT_DBLCLICK && IsEnabled() && PtInRect(m_rcItem, event.ptMouse)) {
    m_uButtonState |= UISTATE_CAPTURED | UISTATE_PUSHED;
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_DBCLICK);
    Invalidate();
    return;
  }
  CButtonUI::DoEvent(event);
}

void CDeviceKeyButtonUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  const char* v = pstrValue ? pstrValue : "";
  if (name.CompareNoCase("lightimage") == 0) {
    SetLightImage(v);
  } else if (name.CompareNoCase("keysetimage") == 0) {
    SetKeySetImage(v);
  } else if (name.CompareNoCase("selectedimage") == 0) {
    SetSelectedImage(v);
  } else if (name.CompareNoCase("gmnametextcolor") == 0) {
    // Accepted for older skins; the key draws no game-mode name.
  } else {
    CButtonUI::SetAttribute(pstrName, pstrValue);
  }
}

void CDeviceKeyButtonUI::PaintStatusImage(HDC hDC) {
  CButtonUI::PaintStatusImage(hDC);
  if (m_bLightTint && !m_sLightImage.IsEmpty())
    CRenderEngine::DrawImageString(hDC, m_pManager, m_rcItem, m_rcPaint, m_sLightImage, nullptr,
                                   m_dwLightColor, m_nLightLevel, true);
  if (!m_bHideKeySetImage && !m_sKeySetImage.IsEmpty()) DrawImage(hDC, m_sKeySetImage);
  if (m_bSelected && !m_sSelectedImage.IsEmpty()) DrawImage(hDC, m_sSelectedImage);
}

void CDeviceKeyButtonUI::SetLightImage(const char* pStrImage) {
  m_sLightImage = pStrImage;
  Invalidate();
}

void CDeviceKeyButtonUI::SetKeySetImage(const char* pStrImage) {
  m_sKeySetImage = pStrImage;
  Invalidate();
}

void CDeviceKeyButtonUI::SetLightTint(bool bOn, DWORD dwColor, int nLevel) {
  if (m_bLightTint == bOn && m_dwLightColor == dwColor && m_nLightLevel == nLevel) return;
  m_bLightTint = bOn;
  m_dwLightColor = dwColor;
  m_nLightLevel = nLevel;
  Invalidate();
}

void CDeviceKeyButtonUI::SetKeySetImageHidden(bool bHidden) {
  if (m_bHideKeySetImage == bHidden) return;
  m_bHideKeySetImage = bHidden;
  Invalidate();
}

void CDeviceKeyButtonUI::SetSelected(bool bSelected) {
  if (m_bSelected == bSelected) return;
  m_bSelected = bSelected;
  if (!m_sSelectedImage.IsEmpty()) Invalidate();
}

void CDeviceKeyButtonUI::SetSelectedImage(const char* pStrImage) {
  m_sSelectedImage = pStrImage;
  Invalidate();
}

DWORD CDeviceKeyButtonUI::GetColorValue(int index) const {
  return index >= 0 && index < kColorValueCount ? m_dwColorValues[index] : 0;
}

void CDeviceKeyButtonUI::SetColorValue(int index, DWORD dwColor) {
  if (index >= 0 && index < kColorValueCount) m_dwColorValues[index] = dwColor;
}

}  // namespace ostrel
