#include "RecordingWindow.h"

#include "platform/ui/CControlUI.h"
#include "platform/ui/WindowApi.h"

namespace ostrel::test {

HWND RecordingWindow::Open(HWND owner, int x, int y, DWORD style, DWORD exStyle) {
  HWND h = Create(owner, "recording", style, exStyle, x, y, 0, 0);
  if (h) SetWindowPos(h, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  return h;
}

void RecordingWindow::Notify(TNotifyUI& msg) {
  notes.push_back(Note{msg.sType.str(), msg.pSender ? msg.pSender->GetName().str() : ""});
  if (onNotify) onNotify(msg);
  WindowImplBase::Notify(msg);
}

LRESULT RecordingWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  MSG m{m_hWnd, uMsg, wParam, lParam, 0};
  messages.push_back(m);
  if (onMessage) onMessage(m);
  bHandled = FALSE;
  return 0;
}

POINT RecordingWindow::CenterOf(const char* name) {
  CControlUI* c = m_pm.FindControl(name);
  if (!c) return POINT{-1, -1};
  RECT r = c->GetPos();
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT RecordingWindow::ScreenCenterOf(const char* name) {
  POINT p = CenterOf(name);
  ClientToScreen(m_hWnd, &p);
  return p;
}

int RecordingWindow::Count(const std::string& type, const std::string& sender) const {
  int n = 0;
  for (const Note& note : notes)
    if (note.type == type && (sender.empty() || note.sender == sender)) ++n;
  return n;
}

int RecordingWindow::CountMessages(UINT message) const {
  int n = 0;
  for (const MSG& m : messages)
    if (m.message == message) ++n;
  return n;
}

}  // namespace ostrel::test
