#include "LightPanelTestWindow.h"

#include "platform/ui/CEditUI.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/WindowApi.h"

namespace ostrel::test {
namespace {

constexpr const char* kPageLayout = R"(<Window size="900,760">
  <VerticalLayout bkcolor="0xFF14161A"><LightControl name="LightControlItem"/></VerticalLayout>
</Window>)";

CControlUI* ByName(CControlUI* control, void* name) {
  return control->GetName() == static_cast<const std::string*>(name)->c_str() ? control : nullptr;
}

}  // namespace

HWND LightPanelTestWindow::CreateShown() {
  HWND h = Create(nullptr, "test", WS_POPUP | WS_VISIBLE, 0, 0, 0, 900, 760);
  CMessageLoop::Instance().PumpPending();
  return h;
}

CDuiString LightPanelTestWindow::GetSkinFile() { return CDuiString(kPageLayout); }

CControlUI* LightPanelTestWindow::CreateControl(const char* pstrClass) {
  const CDuiString name(pstrClass);
  if (name.CompareNoCase(CLightControlUI::kElementName) == 0 ||
      name.CompareNoCase(CLightControlUI::kClassName) == 0)
    return CLightControlUI::CreateControl();
  return nullptr;
}

void LightPanelTestWindow::Notify(TNotifyUI& msg) {
  if (CLightControlUI* panel = Panel()) panel->HandleNotify(msg);
  WindowImplBase::Notify(msg);
}

CLightControlUI* LightPanelTestWindow::Panel() const {
  CControlUI* c = const_cast<CPaintManagerUI&>(m_pm).FindControl("LightControlItem");
  return c ? static_cast<CLightControlUI*>(c->GetInterface(CLightControlUI::kElementName)) : nullptr;
}

void LightPanelTest::SetUp() {
  CMessageLoop& loop = CMessageLoop::Instance();
  loop.AttachCurrentThread();
  loop.Reset();
  loop.SetBackend(std::make_unique<CHeadlessBackend>());
  loop.UseVirtualClock(true);
  CResourceManager::GetInstance()->Release();
  CPaintManagerUI::RemoveAllImages();
  CPaintManagerUI::SetResourcePath(OSTREL_LIGHTPANEL_SKIN_DIR);
  ASSERT_NE(window.CreateShown(), nullptr);
  panel = window.Panel();
  ASSERT_NE(panel, nullptr);
  panel->SetHost(this);
}

void LightPanelTest::TearDown() { CMessageLoop::Instance().Reset(); }

bool LightPanelTest::CurrentLightSetting(LightZone zone, LightSetting* record) {
  if (!hasPage) return false;
  *record = records[static_cast<int>(zone)];
  return true;
}

void LightPanelTest::LightSettingChanged(LightZone zone, const LightSetting& record, LightChange change) {
  records[static_cast<int>(zone)] = record;
  changes.push_back({zone, record, change});
}

CHeadlessBackend* LightPanelTest::Headless() {
  return static_cast<CHeadlessBackend*>(CMessageLoop::Instance().Backend());
}

void LightPanelTest::Pump() {
  window.GetPaintManager()->RenderToImage();
  CMessageLoop::Instance().PumpPending();
}

CControlUI* LightPanelTest::Find(const std::string& name) const {
  return panel->FindControl(ByName, const_cast<std::string*>(&name), UIFIND_ALL);
}

void LightPanelTest::ClickOn(const std::string& name) {
  Pump();
  CControlUI* c = Find(name);
  ASSERT_NE(c, nullptr) << name;
  RECT r = c->GetPos();
  Headless()->Click(window.GetHWND(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Pump();
}

void LightPanelTest::TypeInto(const std::string& name, const std::string& text) {
  ClickOn(name);
  auto* edit = FindAs<CEditUI>(name, "Edit");
  ASSERT_NE(edit, nullptr);
  edit->SetSelAll();
  Headless()->KeyPress(window.GetHWND(), VK_BACK);
  Headless()->TypeText(window.GetHWND(), text);
  Pump();
}

void LightPanelTest::PasteInto(const std::string& name, const std::string& text) {
  // A paste replaces the whole text at once and raises one "textchanged".
  auto* edit = FindAs<CEditUI>(name, "Edit");
  ASSERT_NE(edit, nullptr);
  edit->SetText(text.c_str());
  window.GetPaintManager()->SendNotify(edit, DUI_MSGTYPE_TEXTCHANGED);
  Pump();
}

bool LightPanelTest::Enabled(const std::string& name) const {
  for (CControlUI* c = Find(name); c && c != panel; c = c->GetParent())
    if (!c->IsEnabled()) return false;
  return Find(name) != nullptr;
}

bool LightPanelTest::Shown(const std::string& name) const {
  for (CControlUI* c = Find(name); c && c != panel; c = c->GetParent())
    if (!c->IsVisible()) return false;
  return Find(name) != nullptr;
}

}  // namespace ostrel::test
