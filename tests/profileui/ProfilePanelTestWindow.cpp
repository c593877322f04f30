#include "ProfilePanelTestWindow.h"

#include <fstream>

#include "platform/ui/CComboUI.h"
#include "platform/ui/CControlFactory.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/WindowApi.h"

namespace ostrel::test {
namespace {

// The page around the panel: the panel in the left column, the rest empty.
constexpr const char* kPageLayout = R"(<Window size="640,720">
  <HorizontalLayout bkcolor="0xFF14161A"><DeviceProfile name="mouse_profile" width="220"/><Control/></HorizontalLayout>
</Window>)";

constexpr const char* kDefaultProfile = R"({
  "profilename" : "default",
  "profileUUID" : "0",
  "Device" : [ { "LightInfo" : { "Mode" : 3 }, "KeyList" : [ 1, 2, 3 ] } ]
})";

}  // namespace

HWND ProfilePanelTestWindow::CreateShown() {
  HWND h = Create(nullptr, "test", WS_POPUP | WS_VISIBLE, 0, 0, 0, 640, 720);
  CMessageLoop::Instance().PumpPending();
  return h;
}

CDuiString ProfilePanelTestWindow::GetSkinFile() { return CDuiString(kPageLayout); }

CControlUI* ProfilePanelTestWindow::CreateControl(const char* pstrClass) {
  // The main window's factory row.
  if (CDuiString(pstrClass).CompareNoCase(CDeviceProfileUI::kElementName) == 0)
    return CDeviceProfileUI::CreateControl();
  return nullptr;
}

void ProfilePanelTestWindow::Notify(TNotifyUI& msg) {
  // The main window's click and combo table rows for the profile panel.
  if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
    Panel()->HandleClick(msg.pSender->GetName());
  } else if (msg.sType == DUI_MSGTYPE_ITEMSELECT && msg.pSender &&
             msg.pSender->GetName() == CDeviceProfileUI::kComboName) {
    ++switchTimerStarts;
    SetTimer(m_hWnd, DeviceProfileList::kSwitchTimerId, DeviceProfileList::kSwitchDelayMs);
  }
  WindowImplBase::Notify(msg);
}

LRESULT ProfilePanelTestWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
  if (uMsg == WM_TIMER && wParam == static_cast<WPARAM>(DeviceProfileList::kSwitchTimerId)) {
    KillTimer(m_hWnd, DeviceProfileList::kSwitchTimerId);
    Panel()->SwitchToComboSelection();
    bHandled = TRUE;
    return 0;
  }
  return WindowImplBase::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}

CDeviceProfileUI* ProfilePanelTestWindow::Panel() const {
  CControlUI* c = const_cast<CPaintManagerUI&>(m_pm).FindControl("mouse_profile");
  return c ? static_cast<CDeviceProfileUI*>(c->GetInterface(CDeviceProfileUI::kElementName)) : nullptr;
}

POINT ProfilePanelTestWindow::CenterOf(const char* name) const {
  CControlUI* c = Panel()->FindControl(
      [](CControlUI* control, void* n) {
        return control->GetName() == static_cast<const char*>(n) ? control : nullptr;
      },
      const_cast<char*>(name), UIFIND_ALL);
  if (!c) return POINT{-1, -1};
  RECT r = c->GetPos();
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void ProfilePanelTest::SetUp() {
  CMessageLoop& loop = CMessageLoop::Instance();
  loop.AttachCurrentThread();
  loop.Reset();
  loop.SetBackend(std::make_unique<CHeadlessBackend>());
  loop.UseVirtualClock(true);
  CResourceManager::GetInstance()->Release();
  CPaintManagerUI::RemoveAllImages();
  CPaintManagerUI::SetResourcePath(OSTREL_PROFILEUI_SKIN_DIR);

  const char* config = std::getenv("XDG_CONFIG_HOME");
  ASSERT_NE(config, nullptr);
  deviceFolder = std::filesystem::path(config) / "Kestrane" / "mouse";
  defaultProfile = std::filesystem::path(config) / "DefaultData" / "mouse.Json";
  std::filesystem::create_directories(defaultProfile.parent_path());
  std::ofstream(defaultProfile) << kDefaultProfile;

  ASSERT_NE(window.CreateShown(), nullptr);
  panel = window.Panel();
  ASSERT_NE(panel, nullptr);
  panel->SetHost(&host);
}

void ProfilePanelTest::TearDown() { CMessageLoop::Instance().Reset(); }

void ProfilePanelTest::SetUpPanel(int deviceType) {
  panel->SetDeviceType(deviceType);
  panel->SetPaths(deviceFolder.string() + "/", defaultProfile.string());
  panel->LoadProfileList();
  panel->SelectTab(1);
  Pump();
}

CHeadlessBackend* ProfilePanelTest::Headless() {
  return static_cast<CHeadlessBackend*>(CMessageLoop::Instance().Backend());
}

void ProfilePanelTest::Pump() {
  // Lays the window out again so that clicks find controls at their places.
  window.GetPaintManager()->RenderToImage();
  CMessageLoop::Instance().PumpPending();
}

void ProfilePanelTest::Advance(DWORD ms) { CMessageLoop::Instance().AdvanceClock(ms); }

void ProfilePanelTest::ClickAt(HWND hwnd, POINT point) {
  Headless()->Click(hwnd, point.x, point.y);
  Pump();
}

void ProfilePanelTest::ClickOn(const char* name) {
  Pump();
  POINT p = window.CenterOf(name);
  ASSERT_GE(p.x, 0) << name;
  ClickAt(window.GetHWND(), p);
}

void ProfilePanelTest::PickInCombo(int index) {
  auto* combo = Find<CComboUI>(CDeviceProfileUI::kComboName);
  ClickOn(CDeviceProfileUI::kComboName);
  HWND drop = combo->GetDropWindow();
  ASSERT_NE(drop, nullptr);
  RECT row = combo->GetItemAt(index)->GetPos();
  ClickAt(drop, POINT{(row.left + row.right) / 2, (row.top + row.bottom) / 2});
}

void ProfilePanelTest::TypeName(const std::string& text) {
  auto* edit = Find<CEditUI>(CDeviceProfileUI::kNameEditName);
  ClickOn(CDeviceProfileUI::kNameEditName);
  edit->SetSelAll();
  Headless()->KeyPress(window.GetHWND(), VK_BACK);
  Headless()->TypeText(window.GetHWND(), text);
  Pump();
}

std::vector<std::string> ProfilePanelTest::ComboTexts() const {
  std::vector<std::string> texts;
  auto* combo = Find<CComboUI>(CDeviceProfileUI::kComboName);
  for (int i = 0; i < combo->GetCount(); ++i) texts.push_back(combo->GetItemAt(i)->GetText().str());
  return texts;
}

CControlUI* ProfilePanelTest::FindName(CControlUI* control, void* name) {
  return control->GetName() == static_cast<const char*>(name) ? control : nullptr;
}

}  // namespace ostrel::test
