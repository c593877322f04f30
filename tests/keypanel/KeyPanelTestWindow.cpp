#include "KeyPanelTestWindow.h"

#include <cstdlib>

#include "platform/ui/CComboUI.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/CTabLayoutUI.h"

namespace ostrel::test {
namespace {

constexpr const char* kPageLayout = R"(<Window size="360,720">
  <HorizontalLayout bkcolor="0xFF14161A"><KeySetControl name="KeySetControlItem" width="320"/><Control/></HorizontalLayout>
</Window>)";

CControlUI* FindName(CControlUI* control, void* name) {
  return control->GetName() == static_cast<const char*>(name) ? control : nullptr;
}

}  // namespace

HWND KeyPanelTestWindow::CreateShown() {
  HWND h = Create(nullptr, "test", WS_POPUP | WS_VISIBLE, 0, 0, 0, 360, 720);
  CMessageLoop::Instance().PumpPending();
  return h;
}

CDuiString KeyPanelTestWindow::GetSkinFile() { return CDuiString(kPageLayout); }

CKeySetControlUI* KeyPanelTestWindow::Panel() const {
  CControlUI* c = const_cast<CPaintManagerUI&>(m_pm).FindControl("KeySetControlItem");
  return c ? static_cast<CKeySetControlUI*>(c->GetInterface(CKeySetControlUI::kClassName)) : nullptr;
}

void KeyPanelTest::SetUp() {
  // No X capture here: the key field takes the window's keys.
  unsetenv("DISPLAY");
  CMessageLoop& loop = CMessageLoop::Instance();
  loop.AttachCurrentThread();
  loop.Reset();
  loop.SetBackend(std::make_unique<CHeadlessBackend>());
  loop.UseVirtualClock(true);
  CResourceManager::GetInstance()->Release();
  CPaintManagerUI::RemoveAllImages();
  CPaintManagerUI::SetResourcePath(OSTREL_KEYPANEL_SKIN_DIR);
  ASSERT_TRUE(CResourceManager::GetInstance()->LoadLanguage("lan_en.xml"));
  RegisterKeySetControl();
  ASSERT_NE(window.CreateShown(), nullptr);
  panel = window.Panel();
  ASSERT_NE(panel, nullptr);
  panel->SetMessageHandler([this](std::string_view key) { messages.emplace_back(key); });
  panel->SetStoredHandler([this] { ++storedCount; });
}

void KeyPanelTest::TearDown() {
  page.reset();
  CMessageLoop::Instance().Reset();
}

void KeyPanelTest::SetUpPage(KeyPage kind, std::vector<KeyEntry> entries, int shown) {
  panel->setDeviceType(kind == KeyPage::kKeyboard ? 1 : 0);
  panel->setMacroNames({"macro one", "macro two"});
  page = std::make_unique<KeyPanelTestPage>(kind, panel->Model(), std::move(entries));
  panel->showKey(shown);
  Pump();
}

CHeadlessBackend* KeyPanelTest::Headless() {
  return static_cast<CHeadlessBackend*>(CMessageLoop::Instance().Backend());
}

void KeyPanelTest::Pump() {
  window.GetPaintManager()->RenderToImage();
  CMessageLoop::Instance().PumpPending();
}

CControlUI* KeyPanelTest::Find(const char* name) const {
  return panel->FindControl(FindName, const_cast<char*>(name), UIFIND_ALL);
}

void KeyPanelTest::ClickOn(const char* name) {
  Pump();
  CControlUI* c = Find(name);
  ASSERT_NE(c, nullptr) << name;
  const RECT r = c->GetPos();
  ASSERT_LT(r.left, r.right) << name << " has no place on screen";
  Headless()->Click(window.GetHWND(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Pump();
}

void KeyPanelTest::PickInCombo(const char* name, int index) {
  auto* combo = static_cast<CComboUI*>(Find(name));
  ASSERT_NE(combo, nullptr) << name;
  ClickOn(name);
  HWND drop = combo->GetDropWindow();
  ASSERT_NE(drop, nullptr) << name;
  const RECT row = combo->GetItemAt(index)->GetPos();
  Headless()->Click(drop, (row.left + row.right) / 2, (row.top + row.bottom) / 2);
  Pump();
}

void KeyPanelTest::PickCategory(int category) {
  auto* combo = static_cast<CComboUI*>(Find(CKeySetControlUI::kFunctionComboName));
  ASSERT_NE(combo, nullptr);
  for (int i = 0; i < combo->GetCount(); ++i) {
    if (std::atoi(combo->GetItemAt(i)->GetUserData().GetData()) == category) {
      PickInCombo(CKeySetControlUI::kFunctionComboName, i);
      return;
    }
  }
  FAIL() << "no function item for category " << category;
}

int KeyPanelTest::ComboSelection(const char* name) const {
  auto* combo = static_cast<CComboUI*>(Find(name));
  return combo ? combo->GetCurSel() : -2;
}

int KeyPanelTest::ShownCategory() const {
  auto* combo = static_cast<CComboUI*>(Find(CKeySetControlUI::kFunctionComboName));
  auto* tabs = static_cast<CTabLayoutUI*>(Find(CKeySetControlUI::kTabLayoutName));
  const int selected = combo->GetCurSel();
  if (selected < 0) return -1;
  const int category = std::atoi(combo->GetItemAt(selected)->GetUserData().GetData());
  EXPECT_EQ(tabs->GetCurSel(), category) << "tab page and function item disagree";
  return category;
}

std::string KeyPanelTest::TextOf(const char* name) const {
  CControlUI* c = Find(name);
  return c ? c->GetText().str() : std::string("<missing>");
}

}  // namespace ostrel::test
