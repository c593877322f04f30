#pragma once
// A headless main window for the device tests: it owns the page host as the
// program's main window does, builds the test skin's main layout and hands
// the scanner's messages to the host, recording each.

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "devices/DevicePageHost.h"
#include "platform/ui/WindowImplBase.h"

namespace ostrel::test {

class TestMainWindow : public WindowImplBase {
 public:
  struct Seen {
    UINT message;
    WPARAM wParam;
    std::chrono::steady_clock::time_point time;
  };

  HWND CreateHidden();
  CControlUI* CreateControl(const char* pstrClass) override;
  void InitWindow() override;
  LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

  std::vector<WPARAM> Slots(UINT message) const;
  int Count(UINT message) const;
  // When the message for this slot was handled last.
  std::chrono::steady_clock::time_point TimeOf(UINT message, WPARAM slot) const;

  DevicePageHost host;
  bool created = false;
  std::vector<Seen> seen;

 protected:
  CDuiString GetSkinFile() override { return "main.xml"; }
  const char* GetWindowClassName() const override { return "TestMainWindow"; }
};

}  // namespace ostrel::test
