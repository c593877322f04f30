#include "MousePageFixture.h"

#include <cstdlib>

#include "devicelink/DeviceCatalogue.h"
#include "devicelink/HidLink.h"
#include "platform/os/KnownFolders.h"
#include "platform/ui/CControlFactory.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/INotifyUI.h"
#include "platform/ui/WindowApi.h"
#include "profiles/DataFolders.h"
#include "shell/CMainWnd.h"
#include "shell/NotifyRoute.h"
#include "shell/ShellApplication.h"
#include "support/TestEnvironment.h"

namespace ostrel::test {
namespace {

constexpr const char* kWindowLayout = R"(<Window size="1000,540">
  <HorizontalLayout name="page_host" bkcolor="0xFF14161A"/>
</Window>)";

std::string FindVendorInterface(std::uint16_t vendorId, std::uint16_t productId) {
  HidLink discovery;
  if (!discovery.Enumerate()) return {};
  while (const char* path = discovery.NextPath()) {
    HidLink probe;
    if (!probe.Open(path, true, false, true, false)) continue;
    if (probe.Attributes().VendorID == vendorId && probe.Attributes().ProductID == productId &&
        probe.Caps().UsagePage == 0xFF1C)
      return path;
  }
  return {};
}

// The main window's table for a notification type, as CMainWnd::Notify picks it.
std::span<const CMainWnd::Route> TableFor(const std::string& type) {
  if (type == "click") return CMainWnd::ClickRoutes();
  if (type == "selectchanged") return CMainWnd::SelectRoutes();
  if (type == "valuechanged" || type == "movevaluechanged") return CMainWnd::SliderRoutes();
  if (type == "itemselect") return CMainWnd::ComboRoutes();
  if (type == "killfocus") return CMainWnd::EditRoutes();
  return {};
}

}  // namespace

HWND MousePageWindow::CreateShown() {
  HWND h = Create(nullptr, "mouse page", WS_POPUP | WS_VISIBLE, 0, 0, 0, 1000, 540);
  CMessageLoop::Instance().PumpPending();
  return h;
}

CDuiString MousePageWindow::GetSkinFile() { return CDuiString(kWindowLayout); }

CControlUI* MousePageWindow::CreateControl(const char* pstrClass) {
  // The element names of the page layouts, mapped as the main window maps them.
  for (const CMainWnd::ElementRoute& route : CMainWnd::ElementRoutes()) {
    if (!NotifyRoute<int>::EqualNoCase(route.element, pstrClass)) continue;
    if (route.className) return CControlFactory::GetInstance()->CreateControl(route.className);
    CDialogBuilder builder;
    return builder.Create(route.layoutFile, nullptr, nullptr, &m_pm, nullptr);
  }
  return nullptr;
}

void MousePageWindow::Notify(TNotifyUI& msg) {
  // Only what the main window's tables send to the current page reaches it.
  if (page && msg.pSender) {
    const std::string type = msg.sType.str();
    int number = 0;
    const CMainWnd::Route* route =
        CMainWnd::Route::Find(TableFor(type), msg.pSender->GetName().str(), &number);
    if (route && route->handler == &CMainWnd::ToCurrentPage) {
      if (!page->HandleLightNotify(msg)) page->OnPageNotify(msg);
    }
  }
  WindowImplBase::Notify(msg);
}

void MousePageTest::SetUp() {
  unsetenv("DISPLAY");
  SetProgramFolderOverride(OSTREL_TEST_SOURCE_DIR);
  CMessageLoop& loop = CMessageLoop::Instance();
  loop.AttachCurrentThread();
  loop.Reset();
  loop.SetBackend(std::make_unique<CHeadlessBackend>());
  loop.UseVirtualClock(false);
  CResourceManager::GetInstance()->Release();
  CPaintManagerUI::RemoveAllImages();
  CPaintManagerUI::SetResourcePath(OSTREL_MOUSEPAGE_SKIN_DIR);
  ASSERT_TRUE(CResourceManager::GetInstance()->LoadLanguage("lan_en.xml"));
  ShellApplication::RegisterControls();
  ASSERT_NE(window.CreateShown(), nullptr);
}

void MousePageTest::TearDown() {
  if (page) page->StopWorkers();
  if (page) page->CommandChannel().Disconnect();
  window.page = nullptr;
  if (IsWindow(window.GetHWND())) DestroyWindow(window.GetHWND());
  CMessageLoop::Instance().Reset();
  CResourceManager::GetInstance()->Release();
  SetProgramFolderOverride("");
}

void MousePageTest::BuildPage(int deviceType) {
  CDialogBuilder builder;
  CControlUI* root =
      builder.Create("XML\\DeviceXml\\mousedevice.xml", nullptr, &window, window.GetPaintManager());
  ASSERT_NE(root, nullptr);
  page = static_cast<CZantroveMouseDevice*>(root->GetInterface(CZantroveMouseDevice::kElementName));
  ASSERT_NE(page, nullptr) << "the layout's root is not a mouse page";
  const PageTypeRow& type = kPageTypeTable[0];
  DeviceCatalogueRow row;
  row.vendorId = 0x320F;
  row.productId = 0x1000;
  row.deviceType = static_cast<std::uint16_t>(deviceType);
  page->SetLayoutName(type.pageLayout);
  page->SetWindowHandle(window.GetHWND());
  page->SetKeyCount(type.keyCount);
  page->SetLedCount(type.ledCount);
  page->SetDataFolder(DataFolders::AppDataFolder().c_str());
  page->SetModelName("mouse");
  page->SetInterfaceRow(row);
  page->SetModelNumber(1);
  page->SetLightPrefix(type.lightingPrefix);
  page->SetMessageSink([this](std::string_view text, bool) { messages.emplace_back(text); });
  page->InitPage();
  auto* host = static_cast<CContainerUI*>(window.GetPaintManager()->FindControl("page_host"));
  ASSERT_NE(host, nullptr);
  host->Add(page);
  window.page = page;
  // The DPI and polling controls: the system tab.
  page->SelectFunctionTab(4);
  Pump();
}

void MousePageTest::Connect(const char* model) {
  devsim::DeviceOptions options;
  options.usbInterval = std::chrono::microseconds(0);
  device = simulator.Plug(model, options);
  ASSERT_NE(device, nullptr);
  const bool wireless = device->Model().deviceType == kDeviceWirelessMouse;
  const std::string path = FindVendorInterface(device->Model().vendorId, device->Model().productId);
  ASSERT_FALSE(path.empty());
  BuildPage(device->Model().deviceType);
  if (HasFailure()) return;
  ASSERT_TRUE(page->CommandChannel().Connect(path, wireless));
  page->ReadDevice();
  page->StopLightingThreads();  // the tests look at command frames only
  Pump();
  ClearLog();
}

void MousePageTest::Pump() {
  window.GetPaintManager()->RenderToImage();
  CMessageLoop::Instance().PumpPending();
}

namespace {
CControlUI* FindName(CControlUI* control, void* name) {
  return control->GetName() == static_cast<const char*>(name) ? control : nullptr;
}
}  // namespace

CControlUI* MousePageTest::Find(const char* name) const {
  return page ? page->FindControl(FindName, const_cast<char*>(name), UIFIND_ALL) : nullptr;
}

std::string MousePageTest::TextOf(const char* name) const {
  CControlUI* c = Find(name);
  return c ? c->GetText().str() : std::string("<missing>");
}

void MousePageTest::ClickOn(const char* name) {
  Pump();
  CControlUI* c = Find(name);
  ASSERT_NE(c, nullptr) << name;
  ASSERT_TRUE(c->IsVisible()) << name;
  const RECT r = c->GetPos();
  ASSERT_LT(r.left, r.right) << name << " has no place on screen";
  auto* headless = static_cast<CHeadlessBackend*>(CMessageLoop::Instance().Backend());
  headless->Click(window.GetHWND(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Pump();
}

void MousePageTest::EditAndLeave(const char* name, const std::string& text) {
  auto* edit = static_cast<CEditUI*>(Find(name));
  ASSERT_NE(edit, nullptr) << name;
  edit->SetFocus();
  Pump();
  edit->SetText(text.c_str());
  // The focus goes elsewhere: the edit reports "killfocus".
  window.GetPaintManager()->SetFocus(nullptr);
  Pump();
}

std::vector<std::uint8_t> MousePageTest::DeviceRecord(int profile) const {
  return device->State().Read(devsim::MemoryArea::kMemory, static_cast<std::size_t>(profile) * 128, 71);
}

std::vector<devsim::Frame> MousePageTest::Commands() const { return device->Log().CommandFrames(); }

void MousePageTest::ClearLog() {
  if (device) device->Log().Clear();
}

std::string MousePageTest::ProfileFileText() const { return ReadFileBytes(page->Profile().GetProfilePath()); }

}  // namespace ostrel::test
