#pragma once
// A row that holds controls of its own (a horizontal layout), selected and
// activated like a label row.

#include "platform/ui/CHorizontalLayoutUI.h"
#include "platform/ui/IListItemUI.h"
#include "platform/ui/IListOwnerUI.h"

namespace ostrel {

class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI {
 public:
  const char* GetClass() const override { return "ListContainerElementUI"; }
  void* GetInterface(const char* pstrName) override;
  UINT GetControlFlags() const override { return UIFLAG_WANTRETURN; }

  int GetIndex() const override { return m_iIndex; }
  void SetIndex(int iIndex) override { m_iIndex = iIndex; }
  IListOwnerUI* GetOwner() override { return m_pOwner; }
  void SetOwner(IListOwnerUI* pOwner) override { m_pOwner = pOwner; }
  bool IsSelected() const override { return m_bSelected; }
  bool Select(bool bSelect = true, bool bTriggerEvent = true) override;
  bool SelectMulti(bool bSelect = true) override;
  void SetVisible(bool bVisible = true) override;
  bool Activate() override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  SIZE EstimateSize(SIZE szAvailable) override;
  bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) override;
  void DrawItemText(HDC, const RECT&) override {}
  virtual void DrawItemBk(HDC hDC, const RECT& rcItem);
  UINT GetItemState() const { return m_uButtonState; }

 protected:
  int m_iIndex = -1;
  bool m_bSelected = false;
  UINT m_uButtonState = 0;
  IListOwnerUI* m_pOwner = nullptr;
};

}  // namespace ostrel
