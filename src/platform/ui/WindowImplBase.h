#pragma once
// The base of the program's windows: builds the window's content from its
// skin file on WM_CREATE, owns the paint manager, answers the frame
// messages (caption dragging, size box, minimum size), routes
// notifications through the notify map, and gives every message that its
// own handlers leave alone to the custom-message hook, then to the paint
// manager.

#include "platform/ui/CDuiString.h"
#include "platform/ui/CNotifyPump.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CWindowWnd.h"
#include "platform/ui/IDialogBuilderCallback.h"
#include "platform/ui/IMessageFilterUI.h"
#include "platform/ui/INotifyUI.h"
#include "platform/ui/IQueryControlText.h"

namespace ostrel {

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback,
                       public IQueryControlText {
 public:
  WindowImplBase();
  ~WindowImplBase() override;

  virtual void InitWindow() {}
  void OnFinalMessage(HWND hWnd) override;
  // Every notification: the notify map chain (and virtual windows).
  void Notify(TNotifyUI& msg) override;
  // "closebtn" closes, "minbtn"/"maxbtn"/"restorebtn" send the system commands.
  virtual void OnClick(TNotifyUI& msg);

  CPaintManagerUI* GetPaintManager() { return &m_pm; }

 protected:
  virtual CDuiString GetSkinFolder() { return CDuiString(); }
  virtual CDuiString GetSkinFile() = 0;
  const char* GetWindowClassName() const override = 0;
  virtual const char* GetResourceID() const { return nullptr; }
  UINT GetClassStyle() const override { return CS_DBLCLKS; }
  CControlUI* CreateControl(const char*) override { return nullptr; }
  CDuiString QueryControlText(const char*, const char*) override { return CDuiString(); }
  LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
  virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);

  virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  // The custom-message hook: every message the handlers above leave unhandled.
  virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  virtual LONG GetStyle();

  CPaintManagerUI m_pm;

 private:
  DUI_MSGMAP m_windowImplMap;
};

}  // namespace ostrel
