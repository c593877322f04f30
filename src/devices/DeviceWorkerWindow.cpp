#include "devices/DeviceWorkerWindow.h"

#include "platform/ui/WindowApi.h"

namespace ostrel {

DeviceWorkerWindow::~DeviceWorkerWindow() { DestroyHidden(); }

bool DeviceWorkerWindow::CreateHidden() {
  target_ = Create(nullptr, "OstrelDeviceWorkers", 0, 0, 0, 0, 0, 0);
  return target_.load() != nullptr;
}

void DeviceWorkerWindow::DestroyHidden() {
  target_ = nullptr;
  if (m_hWnd && IsWindow(m_hWnd)) DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
}

bool DeviceWorkerWindow::PostRequest(WPARAM wParam, LPARAM lParam) const {
  HWND hwnd = target_.load();
  return hwnd && ostrel::PostMessage(hwnd, kRequestMessage, wParam, lParam);
}

LRESULT DeviceWorkerWindow::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg == kRequestMessage) {
    if (handler_) handler_(wParam, lParam);
    return 0;
  }
  if (uMsg == WM_NCDESTROY) target_ = nullptr;
  return DefWindowProc(m_hWnd, uMsg, wParam, lParam);
}

}  // namespace ostrel
