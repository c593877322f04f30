#pragma once
// A stand-in for the main window around one lighting panel: its notify
// routing hands the panel's notifications to HandleNotify the way the main
// window does. The fixture is the panel's host: it holds the page's three
// records and records every change the panel reports.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lighting/CLightControlUI.h"
#include "lighting/ILightControlHost.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/WindowImplBase.h"

namespace ostrel::test {

class LightPanelTestWindow : public WindowImplBase {
 public:
  HWND CreateShown();
  void Notify(TNotifyUI& msg) override;
  CControlUI* CreateControl(const char* pstrClass) override;
  CLightControlUI* Panel() const;

 protected:
  CDuiString GetSkinFile() override;
  const char* GetWindowClassName() const override { return "LightPanelTestWindow"; }
};

struct LightChangeRecord {
  LightZone zone;
  LightSetting record;
  LightChange change;
};

class LightPanelTest : public ::testing::Test, public ILightControlHost {
 protected:
  void SetUp() override;
  void TearDown() override;

  // ILightControlHost: the page stores what it is told, as a page does.
  bool CurrentLightSetting(LightZone zone, LightSetting* record) override;
  void LightSettingChanged(LightZone zone, const LightSetting& record, LightChange change) override;
  void SynchroniseLightingRequested() override { ++syncRequests; }

  CHeadlessBackend* Headless();
  void Pump();
  void ClickOn(const std::string& name);
  void TypeInto(const std::string& name, const std::string& text);
  void PasteInto(const std::string& name, const std::string& text);
  CControlUI* Find(const std::string& name) const;
  template <typename T>
  T* FindAs(const std::string& name, const char* interfaceName) const {
    CControlUI* c = Find(name);
    return c ? static_cast<T*>(c->GetInterface(interfaceName)) : nullptr;
  }
  // Whether a control and every container above it inside the panel are
  // enabled / visible.
  bool Enabled(const std::string& name) const;
  bool Shown(const std::string& name) const;

  LightPanelTestWindow window;
  CLightControlUI* panel = nullptr;
  bool hasPage = true;
  LightSetting records[kLightZoneCount]{};
  std::vector<LightChangeRecord> changes;
  int syncRequests = 0;
};

}  // namespace ostrel::test
