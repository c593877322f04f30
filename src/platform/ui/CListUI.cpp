#include "platform/ui/CListUI.h"

#include <algorithm>

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CScrollBarUI.h"
#include "platform/ui/IListItemUI.h"

namespace ostrel {

namespace {
IListItemUI* AsItem(CControlUI* c) {
  return c ? static_cast<IListItemUI*>(c->GetInterface("ListItem")) : nullptr;
}
}  // namespace

CListUI::CListUI() { EnableScrollBar(true, false); }

void* CListUI::GetInterface(const char* pstrName) {
  CDuiString name(pstrName);
  if (name.CompareNoCase("List") == 0) return this;
  if (name.CompareNoCase("IListOwner") == 0) return static_cast<IListOwnerUI*>(this);
  return CVerticalLayoutUI::GetInterface(pstrName);
}

void CListUI::Reindex() {
  for (int i = 0; i < GetCount(); ++i)
    if (IListItemUI* item = AsItem(m_items[i])) item->SetIndex(i);
}

bool CListUI::Add(CControlUI* pControl) { return AddAt(pControl, GetCount()); }

bool CListUI::AddAt(CControlUI* pControl, int iIndex) {
  if (!CVerticalLayoutUI::AddAt(pControl, iIndex)) return false;
  if (IListItemUI* item = AsItem(pControl)) item->SetOwner(this);
  Reindex();
  for (int& sel : m_aSelItems)
    if (sel >= iIndex) ++sel;
  if (m_iCurSel >= iIndex) ++m_iCurSel;
  return true;
}

bool CListUI::Remove(CControlUI* pControl, bool bDoNotDestroy) {
  int index = GetItemIndex(pControl);
  return index >= 0 && RemoveAt(index, bDoNotDestroy);
}

bool CListUI::RemoveAt(int iIndex, bool bDoNotDestroy) {
  CControlUI* c = GetItemAt(iIndex);
  if (!c) return false;
  if (IListItemUI* item = AsItem(c)) item->SetOwner(nullptr);
  if (!CVerticalLayoutUI::RemoveAt(iIndex, bDoNotDestroy)) return false;
  m_aSelItems.erase(std::remove(m_aSelItems.begin(), m_aSelItems.end(), iIndex), m_aSelItems.end());
  for (int& sel : m_aSelItems)
    if (sel > iIndex) --sel;
  if (m_iCurSel == iIndex) {
    m_iCurSel = m_aSelItems.empty() ? -1 : m_aSelItems.back();
  } else if (m_iCurSel > iIndex) {
    --m_iCurSel;
  }
  Reindex();
  return true;
}

void CListUI::RemoveAll() {
  for (CControlUI* c : m_items)
    if (IListItemUI* item = AsItem(c)) item->SetOwner(nullptr);
  m_iCurSel = -1;
  m_aSelItems.clear();
  CVerticalLayoutUI::RemoveAll();
}

void CListUI::SetMultiSelect(bool bMultiSel) {
  m_bMultiSel = bMultiSel;
  if (!bMultiSel && m_aSelItems.size() > 1) SelectItem(m_iCurSel, false, false);
}

bool CListUI::SelectItem(int iIndex, bool bTakeFocus, bool bTriggerEvent) {
  if (iIndex == m_iCurSel && m_aSelItems.size() <= 1) {
    if (IListItemUI* item = AsItem(GetItemAt(iIndex)); item && !item->IsSelected()) item->Select(true, false);
    return true;
  }
  int old = m_iCurSel;
  std::vector<int> previous;
  previous.swap(m_aSelItems);
  for (int i : previous)
    if (IListItemUI* item = AsItem(GetItemAt(i))) item->Select(false, false);
  if (iIndex < 0) {
    m_iCurSel = -1;
    if (bTriggerEvent && m_pManager && old != -1)
      m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, -1, old);
    return true;
  }
  CControlUI* control = GetItemAt(iIndex);
  IListItemUI* item = AsItem(control);
  if (!item || !control->IsEnabled()) {
    m_iCurSel = -1;
    return false;
  }
  m_iCurSel = iIndex;
  m_aSelItems.push_back(iIndex);
  item->Select(true, false);
  EnsureVisible(iIndex);
  if (bTakeFocus) control->SetFocus();
  if (bTriggerEvent && m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, iIndex, old);
  return true;
}

bool CListUI::SelectMultiItem(int iIndex, bool bTakeFocus) {
  if (!m_bMultiSel) return SelectItem(iIndex, bTakeFocus);
  if (std::find(m_aSelItems.begin(), m_aSelItems.end(), iIndex) != m_aSelItems.end()) return true;
  CControlUI* control = GetItemAt(iIndex);
  IListItemUI* item = AsItem(control);
  if (!item || !control->IsEnabled()) return false;
  int old = m_iCurSel;
  m_aSelItems.push_back(iIndex);
  m_iCurSel = iIndex;
  item->SelectMulti(true);
  EnsureVisible(iIndex);
  if (bTakeFocus) control->SetFocus();
  if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, iIndex, old);
  return true;
}

bool CListUI::UnSelectItem(int iIndex, bool bOthers) {
  if (bOthers) {
    std::vector<int> keep;
    for (int i : m_aSelItems) {
      if (i == iIndex) {
        keep.push_back(i);
      } else if (IListItemUI* item = AsItem(GetItemAt(i))) {
        item->Select(false, false);
      }
    }
    m_aSelItems = keep;
    m_iCurSel = keep.empty() ? -1 : iIndex;
    return true;
  }
  auto it = std::find(m_aSelItems.begin(), m_aSelItems.end(), iIndex);
  if (it == m_aSelItems.end()) return false;
  m_aSelItems.erase(it);
  if (IListItemUI* item = AsItem(GetItemAt(iIndex))) item->Select(false, false);
  int old = m_iCurSel;
  if (m_iCurSel == iIndex) m_iCurSel = m_aSelItems.empty() ? -1 : m_aSelItems.back();
  if (m_pManager && old != m_iCurSel) m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, m_iCurSel, old);
  return true;
}

void CListUI::EnsureVisible(int iIndex) {
  CControlUI* c = GetItemAt(iIndex);
  if (!c || !m_pVerticalScrollBar || !m_pVerticalScrollBar->IsVisible()) return;
  RECT inner = ContentRect(m_rcItem);
  RECT r = c->GetPos();
  SIZE pos = GetScrollPos();
  if (r.top < inner.top) {
    pos.cy -= inner.top - r.top;
  } else if (r.bottom > inner.bottom) {
    pos.cy += r.bottom - inner.bottom;
  } else {
    return;
  }
  SetScrollPos(pos);
}

int CListUI::NextSelectable(int from, int step) const {
  for (int i = from + step; i >= 0 && i < GetCount(); i += step) {
    CControlUI* c = GetItemAt(i);
    if (c->IsVisible() && c->IsEnabled() && AsItem(c)) return i;
  }
  return -1;
}

void CListUI::DoEvent(TEventUI& event) {
  if (event.Type == UIEVENT_KEYDOWN) {
    int target = -1;
    switch (event.chKey) {
      case VK_UP:
        target = NextSelectable(m_iCurSel < 0 ? GetCount() : m_iCurSel, -1);
        break;
      case VK_DOWN:
        target = NextSelectable(m_iCurSel, 1);
        break;
      case VK_HOME:
        target = NextSelectable(-1, 1);
        break;
      case VK_END:
        target = NextSelectable(GetCount(), -1);
        break;
      default:
        break;
    }
    if (target >= 0) {
      SelectItem(target, true);
      return;
    }
  }
  CVerticalLayoutUI::DoEvent(event);
}

void CListUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  if (name.CompareNoCase("multiselect") == 0) {
    SetMultiSelect(ParseBool(pstrValue));
  } else if (name.CompareNoCase("header") == 0) {
    // Lists here have no column header; "hidden" is what layouts ask for.
  } else if (!m_ListInfo.SetAttribute(pstrName, pstrValue)) {
    CVerticalLayoutUI::SetAttribute(pstrName, pstrValue);
  } else {
    Invalidate();
  }
}

}  // namespace ostrel
