#pragma once
// The popup window of an open combo: holds the combo's visible rows for as
// long as it is open and hands them back when it closes (focus lost, a row
// chosen, Escape).

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CWindowWnd.h"

namespace ostrel {

class CComboUI;
class CVerticalLayoutUI;

class CComboWnd : public CWindowWnd {
 public:
  // Opens below (or above, when the screen ends) the owner.
  bool Open(CComboUI* pOwner);
  // Gives the rows back to the combo at once (the combo is going away).
  void ReleaseItems();
  CPaintManagerUI* GetPaintManager() { return &m_pm; }

 protected:
  const char* GetWindowClassName() const override { return "ComboWnd"; }
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  void OnFinalMessage(HWND hWnd) override;

 private:
  CComboUI* m_pOwner = nullptr;
  CVerticalLayoutUI* m_pLayout = nullptr;
  CPaintManagerUI m_pm;
  bool m_bReleased = false;
};

}  // namespace ostrel
