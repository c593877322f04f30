#pragma once
// The program's one message window: a title, a text (a language key or
// finished text) and one or two buttons. Result 1 for "confirm_btn", 0 for
// "cancel_btn" and "closebtn". The object deletes itself when its window
// is gone.

#include "platform/ui/WindowImplBase.h"

namespace ostrel {

class CMsgWnd : public WindowImplBase {
 public:
  static constexpr int kStyleConfirm = 0;        // "confirm_btn" only
  static constexpr int kStyleConfirmCancel = 1;  // both buttons

  CMsgWnd() = default;

  void SetTitle(const char* title);
  void SetMsg(const char* text, bool isResource);
  // The DPIs the program's windows use; any other falls back to 96 with
  // "MSG_WND DPI SET ERROR".
  void SetDPI(int dpi);
  int GetDPI() const { return m_dpi; }
  void SetButtonStyle(int style);

  void InitWindow() override;
  void OnClick(TNotifyUI& msg) override;
  void OnFinalMessage(HWND hWnd) override;

  // Whether `dpi` is one the program's windows take.
  static bool IsAcceptedDPI(int dpi);

 protected:
  const char* GetWindowClassName() const override { return "MsgWnd"; }
  CDuiString GetSkinFile() override;
  LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
  LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
  LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

 private:
  int m_dpi = 96;
  CControlUI* m_pCloseBtn = nullptr;
};

}  // namespace ostrel
