#pragma once
// A window for toolkit tests: its layout comes as text or a file, every
// notification it sees is recorded, and the message loop runs on a virtual
// clock with a headless backend.

#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/CControlUI.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/WindowImplBase.h"

namespace ostrel::test {

struct SeenNotify {
  std::string type;
  std::string sender;
  WPARAM wParam;
  LPARAM lParam;
};

class UiTestWindow : public WindowImplBase {
 public:
  explicit UiTestWindow(std::string skin) : skin_(std::move(skin)) {}
  // Creates the window (visible, 0,0 with the layout's size) and lays it out.
  HWND CreateShown(int cx = 0, int cy = 0);
  void Notify(TNotifyUI& msg) override;
  CControlUI* CreateControl(const char* pstrClass) override;
  LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

  // Center of a named control in client coordinates.
  POINT CenterOf(const char* name);
  std::vector<std::string> Types() const;
  int Count(const std::string& type, const std::string& sender = "") const;

  std::vector<SeenNotify> seen;
  std::vector<MSG> custom;  // messages that reached the custom hook
  std::function<CControlUI*(const char*)> create;
  std::function<void(TNotifyUI&)> onNotify;
  std::function<LRESULT(UINT, WPARAM, LPARAM, BOOL&)> onCustom;
  // Lets tests add map entries as the program's windows do.
  using WindowImplBase::AddNotifyHandler;

 protected:
  CDuiString GetSkinFile() override { return CDuiString(skin_); }
  const char* GetWindowClassName() const override { return "UiTestWindow"; }

 private:
  std::string skin_;
};

// A test case's description as a test name.
inline std::string CaseName(const char* what) {
  std::string n;
  for (const char* p = what; *p; ++p) n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return n;
}

// Per test: a fresh loop state with the virtual clock and a headless backend.
class UiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  CHeadlessBackend* Headless();
  void Pump() { CMessageLoop::Instance().PumpPending(); }
  void Advance(DWORD ms) { CMessageLoop::Instance().AdvanceClock(ms); }
  std::vector<std::string> debugLines;
};

}  // namespace ostrel::test
