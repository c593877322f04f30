#pragma once
// The skin picker: a small frameless popup under the main window's
// "skinbtn" offering background pictures, plain colours, a reset and a
// picture of the user's own. It closes when it loses the focus and deletes
// itself when its window is gone.

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CWindowWnd.h"
#include "platform/ui/INotifyUI.h"

namespace ostrel {

class CControlUI;

class CSkinFrame : public CWindowWnd, public INotifyUI {
 public:
  // Opens a picker anchored below `anchor` (a control of `parent`); the
  // picker's window, or null when it could not be shown.
  static HWND Open(HWND parent, CControlUI* anchor);

  void Notify(TNotifyUI& msg) override;
  CPaintManagerUI* GetPaintManager() { return &m_pm; }

  static constexpr UINT kIconResource = 128;

 protected:
  const char* GetWindowClassName() const override { return "UISkinFrame"; }
  UINT GetClassStyle() const override { return CS_DBLCLKS; }
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  void OnFinalMessage(HWND hWnd) override;

 private:
  CSkinFrame(HWND parent, CControlUI* anchor);
  LRESULT OnCreate();
  void PlaceBelowAnchor();
  void OnClick(CControlUI* sender);
  void ChooseOwnPicture();

  CPaintManagerUI m_pm;
  HWND m_hParent = nullptr;
  CControlUI* m_pAnchor = nullptr;
  bool m_bConstructed = false;
  bool m_bGone = false;
  // While the file dialog is open the picker must stay: losing the focus
  // to the dialog would otherwise destroy it inside its own click handler.
  bool m_bChoosing = false;
};

}  // namespace ostrel
