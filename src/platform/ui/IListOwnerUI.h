#pragma once
#include "platform/ui/TListInfoUI.h"
#include "platform/ui/UIEvents.h"

namespace ostrel {

// What rows ask of the list or combo that holds them.
class IListOwnerUI {
 public:
  virtual ~IListOwnerUI() = default;
  virtual TListInfoUI* GetListInfo() = 0;
  virtual int GetCurSel() const = 0;
  virtual bool SelectItem(int iIndex, bool bTakeFocus = false, bool bTriggerEvent = true) = 0;
  // Ctrl-click: adds to the selection of a multi-selection list.
  virtual bool SelectMultiItem(int iIndex, bool bTakeFocus = false) = 0;
  virtual bool UnSelectItem(int iIndex, bool bOthers = false) = 0;
  virtual bool IsMultiSelect() const = 0;
  virtual void DoEvent(TEventUI& event) = 0;
};

}  // namespace ostrel
