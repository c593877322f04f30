#include "controls/CRedioMacroButtonUI.h"

#include "platform/ui/CPaintManagerUI.h"

namespace ostrel {

void* CRedioMacroButtonUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("RedioMacroButton") == 0) return this;
  return CButtonUI::GetInterface(pstrName);
}

void CRedioMacroButtonUI::SetBlinking(bool bBlinking) {
  m_bBlinking = bBlinking;
  if (bBlinking && m_pManager && !m_pManager->HasTimer(this, kBlinkTimerId))
    m_pManager->SetTimer(this, kBlinkTimerId, kBlinkPeriodMs);
}

void CRedioMacroButtonUI::Blink() {
  if (m_pManager) m_pManager->KillTimer(this, kBlinkTimerId);
  if (!m_sRecordImage.IsEmpty()) {
    if (m_bFadingIn) {
      m_nFade += kFadeStep;
      if (m_nFade >= kFadeMax) {
        m_nFade = kFadeMax;
        m_bFadingIn = false;
      }
    } else {
      m_nFade -= kFadeStep;
      if (m_nFade <= kFadeMin) {
        m_nFade = kFadeMin;
        m_bFadingIn = true;
      }
    }
    CDuiString image;
    image.Format("res='%s' fade='%d'", m_sRecordImage.GetData(), m_nFade);
    SetNormalImage(image);
  }
  if (m_bBlinking && m_pManager) m_pManager->SetTimer(this, kBlinkTimerId, kBlinkPeriodMs);
}

void CRedioMacroButtonUI::DoEvent(TEventUI& event) {
  if (event.Type == UIEVENT_TIMER && event.wParam == kBlinkTimerId) Blink();
  CButtonUI::DoEvent(event);
}

void CRedioMacroButtonUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  if (CDuiString(pstrName).CompareNoCase("redioimage") == 0) {
    SetRecordImage(pstrValue ? pstrValue : "");
  } else {
    CButtonUI::SetAttribute(pstrName, pstrValue);
  }
}

}  // namespace ostrel
