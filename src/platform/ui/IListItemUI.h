#pragma once
#include "platform/ui/UIDefs.h"

namespace ostrel {

class IListOwnerUI;

// A row of a list or combo.
class IListItemUI {
 public:
  virtual ~IListItemUI() = default;
  virtual int GetIndex() const = 0;
  virtual void SetIndex(int iIndex) = 0;
  virtual IListOwnerUI* GetOwner() = 0;
  virtual void SetOwner(IListOwnerUI* pOwner) = 0;
  virtual bool IsSelected() const = 0;
  virtual bool Select(bool bSelect = true, bool bTriggerEvent = true) = 0;
  virtual bool SelectMulti(bool bSelect = true) = 0;
  virtual void DrawItemText(HDC hDC, const RECT& rcItem) = 0;
};

}  // namespace ostrel
