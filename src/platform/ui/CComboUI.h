#pragma once
// A drop-down list: shows the selected row's text; clicking opens the rows
// in a popup window below it (CComboWnd). Choosing a row raises
// "itemselect" (wParam new index, lParam old). Hidden rows are left out of
// the drop list and of keyboard stepping.

#include "platform/ui/CContainerUI.h"
#include "platform/ui/IListOwnerUI.h"

namespace ostrel {

class CComboWnd;

class CComboUI : public CContainerUI, public IListOwnerUI {
 public:
  CComboUI();
  ~CComboUI() override;
  const char* GetClass() const override { return "ComboUI"; }
  void* GetInterface(const char* pstrName) override;
  UINT GetControlFlags() const override { return IsEnabled() ? UIFLAG_TABSTOP : 0; }

  bool Add(CControlUI* pControl) override;
  bool AddAt(CControlUI* pControl, int iIndex) override;
  bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) override;
  bool RemoveAt(int iIndex, bool bDoNotDestroy = false) override;
  void RemoveAll() override;

  TListInfoUI* GetListInfo() override { return &m_ListInfo; }
  int GetCurSel() const override { return m_iCurSel; }
  bool SelectItem(int iIndex, bool bTakeFocus = false, bool bTriggerEvent = true) override;
  bool SelectMultiItem(int iIndex, bool bTakeFocus = false) override {
    return SelectItem(iIndex, bTakeFocus);
  }
  bool UnSelectItem(int iIndex, bool bOthers = false) override;
  bool IsMultiSelect() const override { return false; }

  CDuiString GetText() const override;
  bool Activate() override;
  // The drop list; null while closed.
  HWND GetDropWindow() const;
  void CloseDropDown();
  SIZE GetDropBoxSize() const;
  void SetDropBoxSize(SIZE szDropBox) { m_szDropBox = szDropBox; }
  const CDuiString& GetDropBoxAttributeList() const { return m_sDropBoxAttributes; }
  RECT GetTextPadding() const;

  void SetEnabled(bool bEnable = true) override;
  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
  void Move(SIZE szOffset, bool bNeedInvalidate = true) override;
  CControlUI* FindControl(FINDCONTROLPROC Proc, void* pData, UINT uFlags) override;
  void DoEvent(TEventUI& event) override;
  bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintText(HDC hDC) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;

 private:
  friend class CComboWnd;
  void Reindex();
  int NextVisible(int from, int step) const;

  TListInfoUI m_ListInfo;
  int m_iCurSel = -1;
  CComboWnd* m_pWindow = nullptr;
  SIZE m_szDropBox{0, 150};
  CDuiString m_sDropBoxAttributes;
  RECT m_rcTextPadding{4, 0, 24, 0};
  DWORD m_dwTextColor = 0;
  int m_iFont = -1;
  UINT m_uButtonState = 0;
  CDuiString m_sNormalImage;
  CDuiString m_sHotImage;
  CDuiString m_sPushedImage;
  CDuiString m_sFocusedImage;
  CDuiString m_sDisabledImage;
  DWORD m_dwArrowColor = 0xFF9AA3AD;
};

}  // namespace ostrel
