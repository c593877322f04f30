#pragma once
// A vertical list of rows (label or container rows) with single or Ctrl
// multi-selection ("multiselect"), keyboard navigation, "itemselect" on a
// change of selection; rows raise "itemclick" and "itemactivate".

#include <vector>

#include "platform/ui/CVerticalLayoutUI.h"
#include "platform/ui/IListOwnerUI.h"

namespace ostrel {

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
 public:
  CListUI();
  const char* GetClass() const override { return "ListUI"; }
  void* GetInterface(const char* pstrName) override;
  UINT GetControlFlags() const override { return UIFLAG_TABSTOP; }

  bool Add(CControlUI* pControl) override;
  bool AddAt(CControlUI* pControl, int iIndex) override;
  bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) override;
  bool RemoveAt(int iIndex, bool bDoNotDestroy = false) override;
  void RemoveAll() override;

  TListInfoUI* GetListInfo() override { return &m_ListInfo; }
  int GetCurSel() const override { return m_iCurSel; }
  bool SelectItem(int iIndex, bool bTakeFocus = false, bool bTriggerEvent = true) override;
  bool SelectMultiItem(int iIndex, bool bTakeFocus = false) override;
  bool UnSelectItem(int iIndex, bool bOthers = false) override;
  bool IsMultiSelect() const override { return m_bMultiSel; }
  void SetMultiSelect(bool bMultiSel);
  const std::vector<int>& GetSelectedItems() const { return m_aSelItems; }
  void EnsureVisible(int iIndex);
  void DoEvent(TEventUI& event) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;

 private:
  void Reindex();
  int NextSelectable(int from, int step) const;

  TListInfoUI m_ListInfo;
  int m_iCurSel = -1;
  bool m_bMultiSel = false;
  std::vector<int> m_aSelItems;
};

}  // namespace ostrel
