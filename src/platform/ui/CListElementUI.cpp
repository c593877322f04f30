#include "platform/ui/CListElementUI.h"

namespace ostrel {

void* CListElementUI::GetInterface(const char* pstrName) {
  CDuiString name(pstrName);
  if (name.CompareNoCase("ListItem") == 0) return static_cast<IListItemUI*>(this);
  if (name.CompareNoCase("ListElement") == 0) return this;
  return CControlUI::GetInterface(pstrName);
}

}  // namespace ostrel
