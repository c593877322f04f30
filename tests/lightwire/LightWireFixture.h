#pragma once
// A headless main window holding the page host and the real lighting
// panel inside every page, over simulated devices: the test skin's pages
// with a "LightControl" each, the keyboard's picture named
// "keyboard_device_key_light_0", and a data folder with custom effect names.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "WiredPage.h"
#include "devices/DevicePageHost.h"
#include "devsim/Simulator.h"
#include "platform/ui/WindowImplBase.h"

namespace ostrel::test {

class LightWireWindow : public WindowImplBase {
 public:
  explicit LightWireWindow(std::string dataFolder) : dataFolder_(std::move(dataFolder)) {}
  HWND CreateHidden();
  CControlUI* CreateControl(const char* pstrClass) override;
  void InitWindow() override;
  LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

  DevicePageHost host;
  bool created = false;

 protected:
  CDuiString GetSkinFile() override { return "main.xml"; }
  const char* GetWindowClassName() const override { return "LightWireWindow"; }

 private:
  std::string dataFolder_;
};

class LightWireTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Plugs the models, builds the window, scans, and waits until every one of
  // their pages has read its device.
  bool Connect(std::initializer_list<const char*> models);
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
  void PumpFor(std::chrono::milliseconds time);
  WiredPage* PageOfType(int deviceType);
  // A control of the page's lighting panel, by name.
  CControlUI* PanelControl(WiredPage& page, const std::string& name);
  // Whether a control of the page's lighting panel shows with its page in front.
  bool Shown(WiredPage& page, const std::string& name);
  // A notification the window routes to the current page's lighting.
  bool Notify(WiredPage& page, CControlUI* sender, const char* type);

  devsim::Simulator simulator;
  std::map<std::string, devsim::SimulatedDevice*> devices;
  std::unique_ptr<LightWireWindow> window;
  std::filesystem::path dataFolder;
};

}  // namespace ostrel::test
