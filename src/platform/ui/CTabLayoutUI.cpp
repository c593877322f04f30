#include "platform/ui/CTabLayoutUI.h"

#include <algorithm>
#include <cstdlib>

#include "platform/ui/CPaintManagerUI.h"

namespace ostrel {

void* CTabLayoutUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("TabLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

bool CTabLayoutUI::Add(CControlUI* pControl) { return AddAt(pControl, GetCount()); }

bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex) {
  if (!CContainerUI::AddAt(pControl, iIndex)) return false;
  if (m_iCurSel < 0 && pControl->IsVisible()) {
    m_iCurSel = GetItemIndex(pControl);
  } else {
    if (iIndex <= m_iCurSel) ++m_iCurSel;
    pControl->SetVisible(false);
  }
  return true;
}

bool CTabLayoutUI::Remove(CControlUI* pControl, bool bDoNotDestroy) {
  int index = GetItemIndex(pControl);
  if (index < 0) return false;
  if (!CContainerUI::RemoveAt(index, bDoNotDestroy)) return false;
  if (index == m_iCurSel) {
    m_iCurSel = -1;
    if (GetCount() > 0) SelectItem(std::min(index, GetCount() - 1), false);
  } else if (index < m_iCurSel) {
    --m_iCurSel;
  }
  return true;
}

void CTabLayoutUI::RemoveAll() {
  m_iCurSel = -1;
  CContainerUI::RemoveAll();
}

bool CTabLayoutUI::SelectItem(int iIndex, bool bTriggerEvent) {
  if (iIndex < 0 || iIndex >= GetCount()) return false;
  if (iIndex == m_iCurSel) return true;
  int old = m_iCurSel;
  m_iCurSel = iIndex;
  for (int i = 0; i < GetCount(); ++i) m_items[i]->SetVisible(i == iIndex);
  NeedParentUpdate();
  NeedUpdate();
  // Focus inside the page that went away was dropped with it; nothing else
  // takes the focus (that would raise "setfocus" on some control by chance).
  if (m_pManager && bTriggerEvent) m_pManager->SendNotify(this, DUI_MSGTYPE_TABSELECT, iIndex, old);
  return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* pControl, bool bTriggerEvent) {
  int index = GetItemIndex(pControl);
  return index >= 0 && SelectItem(index, bTriggerEvent);
}

void CTabLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
  CControlUI::SetPos(rc, bNeedInvalidate);
  RECT inner = ContentRect(m_rcItem);
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* c = m_items[i];
    if (!c->IsVisible()) continue;
    if (c->IsFloat()) {
      PlaceFloatChild(i);
      continue;
    }
    RECT pad = c->GetPadding();
    RECT r{inner.left + pad.left, inner.top + pad.top, inner.right - pad.right, inner.bottom - pad.bottom};
    SIZE sz = c->EstimateSize(SIZE{r.right - r.left, r.bottom - r.top});
    if (sz.cx > 0) r.right = std::min<LONG>(r.right, r.left + sz.cx);
    if (sz.cy > 0) r.bottom = std::min<LONG>(r.bottom, r.top + sz.cy);
    c->SetPos(r, bNeedInvalidate);
  }
  m_bUpdateNeeded = false;
}

void CTabLayoutUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  if (CDuiString(pstrName).CompareNoCase("selectedid") == 0) {
    SelectItem(std::atoi(pstrValue ? pstrValue : "0"), false);
  } else {
    CContainerUI::SetAttribute(pstrName, pstrValue);
  }
}

}  // namespace ostrel
