#pragma once
// A headless window for the program's controls: its layout comes as text,
// every notification is recorded, the loop runs on a virtual clock and
// input goes through the toolkit's own dispatch.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/CControlUI.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/WindowImplBase.h"

namespace ostrel::test {

struct SeenNotify {
  std::string type;
  std::string sender;
  WPARAM wParam;
  LPARAM lParam;
};

class ControlsTestWindow : public WindowImplBase {
 public:
  explicit ControlsTestWindow(std::string skin) : skin_(std::move(skin)) {}
  HWND CreateShown();
  void Notify(TNotifyUI& msg) override;
  int Count(const std::string& type, const std::string& sender = "") const;
  CControlUI* Find(const char* name) { return m_pm.FindControl(name); }
  template <class T>
  T* FindAs(const char* name) {
    return dynamic_cast<T*>(Find(name));
  }

  std::vector<SeenNotify> seen;

 protected:
  CDuiString GetSkinFile() override { return CDuiString(skin_); }
  const char* GetWindowClassName() const override { return "ControlsTestWindow"; }

 private:
  std::string skin_;
};

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  CHeadlessBackend* Headless();
  void Pump() { CMessageLoop::Instance().PumpPending(); }
  void Advance(DWORD ms) { CMessageLoop::Instance().AdvanceClock(ms); }
  // Pointer input at client coordinates of `w`, pumped.
  void Down(ControlsTestWindow& w, int x, int y, WPARAM keys = 0);
  void Move(ControlsTestWindow& w, int x, int y, WPARAM keys = 0);
  void Up(ControlsTestWindow& w, int x, int y, WPARAM keys = 0);
  void Click(ControlsTestWindow& w, int x, int y, WPARAM keys = 0);
  // The repository's skin folder (layouts) and the rendered one (images).
  static std::string SourceSkin();
  static std::string RenderedSkin();
  // A PNG of one opaque colour (0xAARRGGBB) in the test's temporary folder.
  // With `rightArgb` the right half has that colour.
  std::string WritePng(const char* name, int cx, int cy, DWORD argb, DWORD rightArgb = 0);
  std::vector<std::string> debugLines;
};

// Channels of 0xAARRGGBB.
inline int Red(DWORD c) { return (c >> 16) & 0xFF; }
inline int Green(DWORD c) { return (c >> 8) & 0xFF; }
inline int Blue(DWORD c) { return c & 0xFF; }

}  // namespace ostrel::test
