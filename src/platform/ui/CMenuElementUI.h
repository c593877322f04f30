#pragma once
// One item of a popup menu (element "MenuElement"): a left-aligned row that
// lights up under the pointer; "checkable" items show a check mark while
// "checked". Choosing it is the menu window's business (CMenuWnd).

#include "platform/ui/CButtonUI.h"

namespace ostrel {

class CMenuElementUI : public CButtonUI {
 public:
  CMenuElementUI();
  const char* GetClass() const override { return "MenuElementUI"; }
  void* GetInterface(const char* pstrName) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  void PaintText(HDC hDC) override;

  bool IsCheckable() const { return m_bCheckable; }
  void SetCheckable(bool bCheckable) { m_bCheckable = bCheckable; }
  bool IsChecked() const { return m_bChecked; }
  void SetChecked(bool bChecked);

 private:
  bool m_bCheckable = false;
  bool m_bChecked = false;
};

}  // namespace ostrel
