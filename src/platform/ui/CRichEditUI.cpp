#include "platform/ui/CRichEditUI.h"

namespace ostrel {

CRichEditUI::CRichEditUI() {
  m_uTextStyle = DT_WORDBREAK | DT_TOP;
  m_uMaxChar = 30000;
}

void* CRichEditUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("RichEdit") == 0) return this;
  return CEditUI::GetInterface(pstrName);
}

UINT CRichEditUI::GetControlFlags() const {
  return CEditUI::GetControlFlags() | (m_bWantReturn ? UIFLAG_WANTRETURN : 0);
}

void CRichEditUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  if (name.CompareNoCase("wantreturn") == 0) {
    SetWantReturn(ParseBool(pstrValue));
  } else if (name.CompareNoCase("multiline") == 0 || name.CompareNoCase("rich") == 0 ||
             name.CompareNoCase("autovscroll") == 0) {
    // Always multi-line; accepted so layouts written for richer editors load quietly.
  } else {
    CEditUI::SetAttribute(pstrName, pstrValue);
  }
}

}  // namespace ostrel
