#pragma once
#include "platform/ui/CContainerUI.h"

namespace ostrel {

// Shows one child at a time ("selectedid"); the others are hidden.
class CTabLayoutUI : public CContainerUI {
 public:
  const char* GetClass() const override { return "TabLayoutUI"; }
  void* GetInterface(const char* pstrName) override;

  bool Add(CControlUI* pControl) override;
  bool AddAt(CControlUI* pControl, int iIndex) override;
  bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) override;
  void RemoveAll() override;
  int GetCurSel() const { return m_iCurSel; }
  // Raises "tabselect" (wParam new index, lParam old) when bTriggerEvent.
  virtual bool SelectItem(int iIndex, bool bTriggerEvent = true);
  virtual bool SelectItem(CControlUI* pControl, bool bTriggerEvent = true);

  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;

 private:
  int m_iCurSel = -1;
};

}  // namespace ostrel
