#pragma once
// A mouse page built from the rendered skin's "mousedevice.xml" in a headless
// window, connected to a simulated mouse (wired or on the receiver) over the
// test's private vhid directory. The window hands its notifications to the
// page through the main window's own routing tables, as the program does.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "devices/CZantroveMouseDevice.h"
#include "devsim/Simulator.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/WindowImplBase.h"

namespace ostrel::test {

class MousePageWindow : public WindowImplBase {
 public:
  HWND CreateShown();
  CControlUI* CreateControl(const char* pstrClass) override;
  void Notify(TNotifyUI& msg) override;
  CZantroveMouseDevice* page = nullptr;

 protected:
  CDuiString GetSkinFile() override;
  const char* GetWindowClassName() const override { return "MousePageWindow"; }
};

class MousePageTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Plugs `model` ("mouse" or "receiver"), builds the page, connects its
  // command channel and reads the device as timer 1001 does.
  void Connect(const char* model);
  // Builds the page only (no device).
  void BuildPage(int deviceType);
  void Pump();
  CControlUI* Find(const char* name) const;
  std::string TextOf(const char* name) const;
  void ClickOn(const char* name);
  // Types `text` into an edit and moves the focus away.
  void EditAndLeave(const char* name, const std::string& text);
  // The onboard profile record `profile` as the simulated mouse holds it.
  std::vector<std::uint8_t> DeviceRecord(int profile = 0) const;
  // The command frames the mouse received since the last ClearLog.
  std::vector<devsim::Frame> Commands() const;
  void ClearLog();
  // The active profile file, read back from disk.
  std::string ProfileFileText() const;

  devsim::Simulator simulator;
  devsim::SimulatedDevice* device = nullptr;
  MousePageWindow window;
  CZantroveMouseDevice* page = nullptr;
  std::vector<std::string> messages;
};

}  // namespace ostrel::test
