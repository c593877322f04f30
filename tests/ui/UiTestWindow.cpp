#include "UiTestWindow.h"

#include "platform/os/DebugLog.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/WindowApi.h"

namespace ostrel::test {

HWND UiTestWindow::CreateShown(int cx, int cy) {
  HWND h = Create(nullptr, "test", WS_POPUP | WS_VISIBLE, 0, 0, 0, cx, cy);
  if (h && cx > 0 && cy > 0) SetWindowPos(h, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
  CMessageLoop::Instance().PumpPending();
  return h;
}

void UiTestWindow::Notify(TNotifyUI& msg) {
  seen.push_back(
      SeenNotify{msg.sType.str(), msg.pSender ? msg.pSender->GetName().str() : "", msg.wParam, msg.lParam});
  if (onNotify) onNotify(msg);
  WindowImplBase::Notify(msg);
}

CControlUI* UiTestWindow::CreateControl(const char* pstrClass) {
  return create ? create(pstrClass) : nullptr;
}

LRESULT UiTestWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  custom.push_back(MSG{m_hWnd, uMsg, wParam, lParam, 0});
  bHandled = FALSE;
  return onCustom ? onCustom(uMsg, wParam, lParam, bHandled) : 0;
}

POINT UiTestWindow::CenterOf(const char* name) {
  CControlUI* c = m_pm.FindControl(name);
  if (!c) return POINT{-1, -1};
  RECT r = c->GetPos();
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

std::vector<std::string> UiTestWindow::Types() const {
  std::vector<std::string> out;
  for (const auto& s : seen) out.push_back(s.type);
  return out;
}

int UiTestWindow::Count(const std::string& type, const std::string& sender) const {
  int n = 0;
  for (const auto& s : seen)
    if (s.type == type && (sender.empty() || s.sender == sender)) ++n;
  return n;
}

void UiTest::SetUp() {
  CMessageLoop& loop = CMessageLoop::Instance();
  loop.AttachCurrentThread();
  loop.Reset();
  loop.SetBackend(std::make_unique<CHeadlessBackend>());
  loop.UseVirtualClock(true);
  CResourceManager::GetInstance()->Release();
  CPaintManagerUI::RemoveAllImages();
  SetDebugSink([this](std::string_view line) { debugLines.emplace_back(line); });
}

void UiTest::TearDown() {
  SetDebugSink({});
  CMessageLoop::Instance().Reset();
}

CHeadlessBackend* UiTest::Headless() {
  return static_cast<CHeadlessBackend*>(CMessageLoop::Instance().Backend());
}

}  // namespace ostrel::test
