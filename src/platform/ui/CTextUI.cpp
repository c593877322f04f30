#include "platform/ui/CTextUI.h"

namespace ostrel {

CTextUI::CTextUI() { m_uTextStyle = DT_WORDBREAK; }

void* CTextUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("Text") == 0) return this;
  return CLabelUI::GetInterface(pstrName);
}

}  // namespace ostrel
