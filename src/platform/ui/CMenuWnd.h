#pragma once
// A popup menu: a window built from a layout file whose "MenuElement" rows
// are the items. It opens at a point with the alignment flags (which menu
// edge sits at the point), stays inside the monitor, and closes when an
// item is chosen, on Escape, or when another window becomes active (a click
// elsewhere, the focus going to another program). The chosen item goes to
// the window that opened it as WM_MENUCLICK with a MenuCmd record.
//
// One menu is open at a time; opening another closes the first.

#include <string>

#include "platform/ui/CStdStringPtrMap.h"
#include "platform/ui/MenuCmd.h"
#include "platform/ui/WindowImplBase.h"

namespace ostrel {

enum MenuAlignment : DWORD {
  eMenuAlignment_Left = 1 << 1,
  eMenuAlignment_Top = 1 << 2,
  eMenuAlignment_Right = 1 << 3,
  eMenuAlignment_Bottom = 1 << 4,
};

class CMenuWnd : public WindowImplBase {
 public:
  // Check states of checkable items, kept by the opener by item name: each
  // value points to a bool (CheckedValue / UncheckedValue).
  using CheckInfo = CStdStringPtrMap;
  static void* CheckedValue();
  static void* UncheckedValue();
  static bool IsCheckedIn(const CheckInfo& info, const char* name, bool fallback);

  CMenuWnd() = default;

  // Opens the menu of layout `xml` (a skin file or layout text) at `point`
  // (screen) for the window of `pMainPaintManager`. Null when the layout
  // does not build or there is no window to report to.
  static CMenuWnd* CreateMenu(const char* xml, POINT point, CPaintManagerUI* pMainPaintManager,
                              CheckInfo* pMenuCheckInfo = nullptr,
                              DWORD dwAlignment = eMenuAlignment_Left | eMenuAlignment_Top);
  // Closes the open menu, if any, at once.
  static void DestroyMenu();
  static CMenuWnd* GetOpenMenu() { return s_openMenu; }
  // Where a menu of `size` goes for `point` and `alignment` on `monitor`:
  // the named edges sit at the point; a side that does not fit flips over.
  static RECT PlaceMenu(POINT point, SIZE size, DWORD alignment, const RECT& monitor);

  void InitWindow() override;
  void Notify(TNotifyUI& msg) override;
  void OnFinalMessage(HWND hWnd) override;

 protected:
  CDuiString GetSkinFile() override { return CDuiString(m_sXml); }
  const char* GetWindowClassName() const override { return "MenuWnd"; }
  CControlUI* CreateControl(const char* pstrClass) override;
  LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
  LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;

 private:
  SIZE ContentSize();

  std::string m_sXml;
  HWND m_hWndReceiver = nullptr;
  CheckInfo* m_pCheckInfo = nullptr;
  bool m_bChosen = false;
  static CMenuWnd* s_openMenu;
  static const CMenuWnd* s_finalised;  // the last menu object that deleted itself
};

}  // namespace ostrel
