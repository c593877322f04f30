#include "TestMainWindow.h"

#include "TestDevicePage.h"
#include "platform/ui/WindowApi.h"

namespace ostrel::test {

HWND TestMainWindow::CreateHidden() { return Create(nullptr, "main", WS_POPUP, 0, 0, 0, 1000, 640); }

CControlUI* TestMainWindow::CreateControl(const char* pstrClass) {
  const CDuiString name(pstrClass);
  if (name.CompareNoCase("ZantroveMouseDevice") == 0 || name.CompareNoCase("ZantroveKeyboardDevice") == 0 ||
      name.CompareNoCase("ZantroveMousePadDevice") == 0 || name.CompareNoCase("ZantroveHS6533Device") == 0)
    return new TestDevicePage;
  return nullptr;
}

void TestMainWindow::InitWindow() { created = host.Create(m_pm, m_hWnd, "", this); }

LRESULT TestMainWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, BOOL& bHandled) {
  if (uMsg == DevicePageHost::kDeviceArrivedMessage) {
    seen.push_back({uMsg, wParam, std::chrono::steady_clock::now()});
    host.OnDeviceArrived(wParam);
    bHandled = TRUE;
  } else if (uMsg == DevicePageHost::kDeviceRemovedMessage) {
    seen.push_back({uMsg, wParam, std::chrono::steady_clock::now()});
    host.OnDeviceRemoved(wParam);
    bHandled = TRUE;
  } else if (uMsg == host.FirstScanMessage() && uMsg != 0) {
    seen.push_back({uMsg, wParam, std::chrono::steady_clock::now()});
    bHandled = TRUE;
  } else if (uMsg == WM_DESTROY) {
    host.StopWorkers();
  }
  return 0;
}

std::vector<WPARAM> TestMainWindow::Slots(UINT message) const {
  std::vector<WPARAM> slots;
  for (const Seen& s : seen)
    if (s.message == message) slots.push_back(s.wParam);
  return slots;
}

int TestMainWindow::Count(UINT message) const {
  int n = 0;
  for (const Seen& s : seen)
    if (s.message == message) ++n;
  return n;
}

}  // namespace ostrel::test

namespace ostrel::test {

std::chrono::steady_clock::time_point TestMainWindow::TimeOf(UINT message, WPARAM slot) const {
  std::chrono::steady_clock::time_point time{};
  for (const Seen& s : seen)
    if (s.message == message && s.wParam == slot) time = s.time;
  return time;
}

}  // namespace ostrel::test
