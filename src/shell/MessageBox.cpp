#include "shell/MessageBox.h"

#include "platform/os/DebugLog.h"
#include "shell/CMsgWnd.h"

namespace ostrel {

int ShowMessageBox(HWND owner, const char* title, const char* text, int dpi, bool isResource, int style) {
  CMsgWnd* wnd = new CMsgWnd();
  // A failed create has already destroyed the object with its window.
  if (!wnd->Create(owner, "msgwnd", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW)) {
    DebugPrintf("message box not shown: %s", text ? text : "");
    return 0;
  }
  wnd->SetTitle(title);
  wnd->SetMsg(text, isResource);
  wnd->SetDPI(dpi);
  wnd->SetButtonStyle(style);
  wnd->CenterWindow();
  return wnd->ShowModal() == 1 ? 1 : 0;
}

}  // namespace ostrel
