#include "platform/ui/CVerticalLayoutUI.h"

namespace ostrel {

void* CVerticalLayoutUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("VerticalLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

SIZE CVerticalLayoutUI::EstimateSize(SIZE szAvailable) { return CControlUI::EstimateSize(szAvailable); }

void CVerticalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) { SetStackPos(rc, bNeedInvalidate, false); }

}  // namespace ostrel
