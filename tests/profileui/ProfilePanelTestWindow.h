#pragma once
// A stand-in for the main window around one profile panel: it routes the
// panel's clicks to HandleClick and runs the switch timer 1055 the way the
// main window does, and it is the panel's host, recording every message,
// file choice and page reload. Runs headless on the virtual clock.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FakeProfileHost.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/WindowImplBase.h"
#include "profiles/CDeviceProfileUI.h"

namespace ostrel::test {

class ProfilePanelTestWindow : public WindowImplBase {
 public:
  HWND CreateShown();
  void Notify(TNotifyUI& msg) override;
  CControlUI* CreateControl(const char* pstrClass) override;
  LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

  CDeviceProfileUI* Panel() const;
  POINT CenterOf(const char* name) const;
  int switchTimerStarts = 0;

 protected:
  CDuiString GetSkinFile() override;
  const char* GetWindowClassName() const override { return "ProfilePanelTestWindow"; }
};

// A fresh loop, the rendered skin, a device folder and a small default
// profile per test; the panel set up as a device page does.
class ProfilePanelTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The page's set-up order: type, paths, list, tab 1.
  void SetUpPanel(int deviceType = 2);
  CHeadlessBackend* Headless();
  void Pump();
  void Advance(DWORD ms);
  void ClickOn(const char* name);
  void ClickAt(HWND hwnd, POINT point);
  // Opens the combo's drop list and clicks row `index`.
  void PickInCombo(int index);
  void TypeName(const std::string& text);
  // The combo rows' texts.
  std::vector<std::string> ComboTexts() const;
  template <typename T>
  T* Find(const char* name) const {
    return static_cast<T*>(panel->FindControl(FindName, const_cast<char*>(name), UIFIND_ALL));
  }

  static CControlUI* FindName(CControlUI* control, void* name);

  std::filesystem::path deviceFolder;
  std::filesystem::path defaultProfile;
  FakeProfileHost host;
  ProfilePanelTestWindow window;
  CDeviceProfileUI* panel = nullptr;
};

}  // namespace ostrel::test
