#pragma once
// What every list row does, whatever control it is built on: its index in
// the owner, selection and multi-selection through the owner, activation
// ("itemactivate"), leaving the selection when hidden, the "selected"
// attribute, the shared mouse and key handling and the state background.
// `Base` is the control the row is (a plain control for label rows, a
// horizontal layout for rows holding controls of their own).

#include "platform/ui/CDuiString.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/IListItemUI.h"
#include "platform/ui/IListOwnerUI.h"
#include "platform/ui/ListRow.h"
#include "platform/ui/UIDefs.h"
#include "platform/ui/UIEvents.h"

namespace ostrel {

template <class Base>
class ListItemControl : public Base, public IListItemUI {
 public:
  UINT GetControlFlags() const override { return UIFLAG_WANTRETURN; }

  int GetIndex() const override { return m_iIndex; }
  void SetIndex(int iIndex) override { m_iIndex = iIndex; }
  IListOwnerUI* GetOwner() override { return m_pOwner; }
  void SetOwner(IListOwnerUI* pOwner) override { m_pOwner = pOwner; }
  bool IsSelected() const override { return m_bSelected; }
  UINT GetItemState() const { return m_uButtonState; }

  bool Select(bool bSelect = true, bool bTriggerEvent = true) override {
    if (!this->IsEnabled()) return false;
    if (bSelect && m_pOwner && m_pOwner->GetCurSel() != m_iIndex) {
      if (!m_pOwner->SelectItem(m_iIndex, false, bTriggerEvent)) return false;
    }
    SetSelectedState(bSelect);
    return true;
  }

  bool SelectMulti(bool bSelect = true) override {
    if (!this->IsEnabled()) return false;
    if (bSelect && m_pOwner && !m_bSelected) {
      if (!m_pOwner->SelectMultiItem(m_iIndex)) return false;
    }
    SetSelectedState(bSelect);
    return true;
  }

  void SetVisible(bool bVisible = true) override {
    Base::SetVisible(bVisible);
    if (!this->IsVisible() && m_bSelected && m_pOwner) m_pOwner->UnSelectItem(m_iIndex);
  }

  bool Activate() override {
    if (!Base::Activate()) return false;
    if (this->m_pManager) this->m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
    return true;
  }

  void DoEvent(TEventUI& event) override {
    // A row that does not take the mouse leaves mouse events to its list.
    if (!this->IsMouseEnabled() && event.Type > UIEVENT__MOUSEBEGIN && event.Type < UIEVENT__MOUSEEND) {
      if (m_pOwner) {
        m_pOwner->DoEvent(event);
      } else {
        Base::DoEvent(event);
      }
      return;
    }
    if (HandleOwnEvent(event)) return;
    if (listrow::HandleEvent(this, this, m_pOwner, &m_uButtonState, event)) return;
    Base::DoEvent(event);
  }

  void SetAttribute(const char* pstrName, const char* pstrValue) override {
    if (CDuiString(pstrName).CompareNoCase("selected") == 0) {
      Select(this->ParseBool(pstrValue), false);
    } else {
      Base::SetAttribute(pstrName, pstrValue);
    }
  }

  virtual void DrawItemBk(HDC hDC, const RECT& /*rcItem*/) {
    listrow::DrawBackground(hDC, this, m_pOwner ? m_pOwner->GetListInfo() : nullptr, m_uButtonState, m_iIndex,
                            this->m_rcPaint);
  }

 protected:
  // Events a kind of row handles before the shared handling; true when done.
  virtual bool HandleOwnEvent(TEventUI& /*event*/) { return false; }

  int m_iIndex = -1;
  bool m_bSelected = false;
  UINT m_uButtonState = 0;
  IListOwnerUI* m_pOwner = nullptr;

 private:
  void SetSelectedState(bool bSelect) {
    m_bSelected = bSelect;
    m_uButtonState = bSelect ? (m_uButtonState | UISTATE_SELECTED) : (m_uButtonState & ~UISTATE_SELECTED);
    this->Invalidate();
  }
};

}  // namespace ostrel
