#include "platform/ui/CHorizontalLayoutUI.h"

namespace ostrel {

void* CHorizontalLayoutUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("HorizontalLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

SIZE CHorizontalLayoutUI::EstimateSize(SIZE szAvailable) { return CControlUI::EstimateSize(szAvailable); }

void CHorizontalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) { SetStackPos(rc, bNeedInvalidate, true); }

}  // namespace ostrel
