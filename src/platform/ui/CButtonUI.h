#pragma once
// A label that can be pressed: images and colours per state (normal, hot,
// pushed, focused, disabled), "click" on release inside, and an optional
// binding that selects a page of a named tab layout when clicked.

#include "platform/ui/CLabelUI.h"

namespace ostrel {

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();
  const char* GetClass() const override { return "ButtonUI"; }
  void* GetInterface(const char* pstrName) override;
  UINT GetControlFlags() const override;

  bool Activate() override;
  void SetEnabled(bool bEnable = true) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  void PaintBkColor(HDC hDC) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintForeImage(HDC hDC) override;
  void PaintText(HDC hDC) override;
  void PaintBorder(HDC hDC) override;

  UINT GetButtonState() const { return m_uButtonState; }
  void SetButtonState(UINT uState);

  const CDuiString& GetNormalImage() const { return m_sNormalImage; }
  void SetNormalImage(const char* pStrImage);
  const CDuiString& GetHotImage() const { return m_sHotImage; }
  void SetHotImage(const char* pStrImage);
  const CDuiString& GetPushedImage() const { return m_sPushedImage; }
  void SetPushedImage(const char* pStrImage);
  const CDuiString& GetFocusedImage() const { return m_sFocusedImage; }
  void SetFocusedImage(const char* pStrImage);
  const CDuiString& GetDisabledImage() const { return m_sDisabledImage; }
  void SetDisabledImage(const char* pStrImage);
  void SetHotForeImage(const char* pStrImage);
  void SetPushedForeImage(const char* pStrImage);

  void SetHotBkColor(DWORD dwColor);
  DWORD GetHotBkColor() const { return m_dwHotBkColor; }
  void SetPushedBkColor(DWORD dwColor);
  void SetDisabledBkColor(DWORD dwColor);
  void SetHotTextColor(DWORD dwColor);
  DWORD GetHotTextColor() const { return m_dwHotTextColor; }
  void SetPushedTextColor(DWORD dwColor);
  void SetFocusedTextColor(DWORD dwColor);
  void SetHotBorderColor(DWORD dwColor);

  // Clicking selects page `iIndex` of the tab layout named by BindTabLayoutName.
  void BindTabIndex(int iIndex) { m_iBindTabIndex = iIndex; }
  int GetBindTabLayoutIndex() const { return m_iBindTabIndex; }
  void BindTabLayoutName(const char* pTabLayoutName) { m_sBindTabLayoutName = pTabLayoutName; }
  const CDuiString& GetBindTabLayoutName() const { return m_sBindTabLayoutName; }
  void BindTriggerTabSel(int iSetSelectIndex = -1);
  void RemoveBindTabIndex();

 protected:
  // The image for the current state, with the fallbacks a skin expects.
  const CDuiString& StateImage() const;
  DWORD StateTextColor() const;

  UINT m_uButtonState = 0;
  CDuiString m_sNormalImage;
  CDuiString m_sHotImage;
  CDuiString m_sPushedImage;
  CDuiString m_sFocusedImage;
  CDuiString m_sDisabledImage;
  CDuiString m_sHotForeImage;
  CDuiString m_sPushedForeImage;
  DWORD m_dwHotBkColor = 0;
  DWORD m_dwPushedBkColor = 0;
  DWORD m_dwDisabledBkColor = 0;
  DWORD m_dwHotTextColor = 0;
  DWORD m_dwPushedTextColor = 0;
  DWORD m_dwFocusedTextColor = 0;
  DWORD m_dwHotBorderColor = 0;
  int m_iBindTabIndex = -1;
  CDuiString m_sBindTabLayoutName;
};

}  // namespace ostrel
