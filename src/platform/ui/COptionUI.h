#pragma once
// A button with a selected state. Options of one group select exclusively;
// an option without a group toggles.

#include "platform/ui/CButtonUI.h"

namespace ostrel {

class COptionUI : public CButtonUI {
 public:
  COptionUI() = default;
  ~COptionUI() override;
  const char* GetClass() const override { return "OptionUI"; }
  void* GetInterface(const char* pstrName) override;

  void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
  bool Activate() override;
  void SetEnabled(bool bEnable = true) override;

  const CDuiString& GetGroup() const { return m_sGroupName; }
  void SetGroup(const char* pStrGroupName = nullptr);
  bool IsSelected() const { return m_bSelected; }
  // Raises "selectchanged" (wParam = the new state) when bTriggerEvent;
  // selecting one of a group unselects the others quietly.
  virtual void Selected(bool bSelected, bool bTriggerEvent = true);

  void SetSelectedImage(const char* pStrImage);
  const CDuiString& GetSelectedImage() const { return m_sSelectedImage; }
  void SetSelectedHotImage(const char* pStrImage);
  void SetSelectedPushedImage(const char* pStrImage);
  void SetSelectedForeImage(const char* pStrImage);
  void SetSelectedTextColor(DWORD dwTextColor);
  DWORD GetSelectedTextColor() const { return m_dwSelectedTextColor; }
  void SetSelectedBkColor(DWORD dwBkColor);
  DWORD GetSelectedBkColor() const { return m_dwSelectedBkColor; }

  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  void PaintBkColor(HDC hDC) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintForeImage(HDC hDC) override;
  void PaintText(HDC hDC) override;

 protected:
  bool m_bSelected = false;
  CDuiString m_sGroupName;
  CDuiString m_sSelectedImage;
  CDuiString m_sSelectedHotImage;
  CDuiString m_sSelectedPushedImage;
  CDuiString m_sSelectedForeImage;
  DWORD m_dwSelectedTextColor = 0;
  DWORD m_dwSelectedBkColor = 0;
};

}  // namespace ostrel
