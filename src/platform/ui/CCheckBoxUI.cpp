#include "platform/ui/CCheckBoxUI.h"

namespace ostrel {

void* CCheckBoxUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("CheckBox") == 0) return this;
  return COptionUI::GetInterface(pstrName);
}

void CCheckBoxUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  if (name.CompareNoCase("checked") == 0) {
    SetCheck(ParseBool(pstrValue), false);
  } else if (name.CompareNoCase("group") == 0) {
    // A check box stands alone; a group would make it an option.
  } else {
    COptionUI::SetAttribute(pstrName, pstrValue);
  }
}

}  // namespace ostrel
