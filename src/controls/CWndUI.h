#pragma once
// A place in a layout for a hosted native window. The program hosts none,
// so it behaves as a plain control; the handle stays null.

#include "platform/ui/CControlUI.h"

namespace ostrel {

class CWndUI : public CControlUI {
 public:
  CWndUI() = default;
  ~CWndUI() override = default;

  const char* GetClass() const override { return "Wnd"; }
  void SetPos(RECT rc, bool bNeedInvalidate = true) override { CControlUI::SetPos(rc, bNeedInvalidate); }
  void SetVisible(bool bVisible = true) override { CControlUI::SetVisible(bVisible); }
  void SetInternVisible(bool bVisible = true) override { CControlUI::SetInternVisible(bVisible); }

  HWND GetHostedWindow() const { return m_hWnd; }

 private:
  HWND m_hWnd = nullptr;
};

}  // namespace ostrel
