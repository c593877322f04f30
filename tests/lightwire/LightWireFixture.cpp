#include "LightWireFixture.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "controls/CDeviceOptionUI.h"
#include "controls/ProgramControls.h"
#include "devicelink/DeviceCatalogue.h"
#include "lighting/CLightControlUI.h"
#include "platform/os/DebugLog.h"
#include "platform/os/KnownFolders.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/CTabLayoutUI.h"
#include "platform/ui/WindowApi.h"
#include "support/MessagePump.h"

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// The device tests' skin with a lighting panel in every page.
fs::path MakeSkin() {
  static const fs::path skin =
      fs::path(::testing::TempDir()) / ("lightwire_skin_" + std::to_string(getpid()));
  if (fs::exists(skin / "main.xml")) return skin;
  const fs::path pages = OSTREL_LIGHTWIRE_PAGE_SKIN;
  fs::copy(pages, skin, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::copy_file(fs::path(OSTREL_LIGHTWIRE_REPO_SKIN) / "XML/CustomControlXML/LightControl.xml",
                skin / "XML/CustomControlXML/LightControl.xml", fs::copy_options::overwrite_existing);
  for (const char* page : {"mousedevice", "keyboarddevice", "mousepaddevice", "hs6533device"}) {
    const fs::path file = skin / "XML/DeviceXml" / (std::string(page) + ".xml");
    std::string text = ReadText(file);
    const std::size_t close = text.rfind("</Zantrove");
    text.insert(close, "  <LightControl name=\"LightControlItem\"/>\n  ");
    const std::string picture = "name=\"keyboard_device_key_light\"";
    if (const std::size_t at = text.find(picture); at != std::string::npos)
      text.replace(at, picture.size(), "name=\"keyboard_device_key_light_0\"");
    WriteText(file, text);
  }
  return skin;
}

}  // namespace

HWND LightWireWindow::CreateHidden() { return Create(nullptr, "main", WS_POPUP, 0, 0, 0, 1000, 640); }

CControlUI* LightWireWindow::CreateControl(const char* pstrClass) {
  const CDuiString name(pstrClass);
  if (name.CompareNoCase("ZantroveMouseDevice") == 0 || name.CompareNoCase("ZantroveKeyboardDevice") == 0 ||
      name.CompareNoCase("ZantroveMousePadDevice") == 0 || name.CompareNoCase("ZantroveHS6533Device") == 0)
    return new WiredPage;
  if (name.CompareNoCase(CLightControlUI::kElementName) == 0) return CLightControlUI::CreateControl();
  return nullptr;
}

void LightWireWindow::InitWindow() { created = host.Create(m_pm, m_hWnd, dataFolder_, this); }

LRESULT LightWireWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, BOOL& bHandled) {
  if (uMsg == DevicePageHost::kDeviceArrivedMessage) {
    host.OnDeviceArrived(wParam);
    bHandled = TRUE;
  } else if (uMsg == DevicePageHost::kDeviceRemovedMessage) {
    host.OnDeviceRemoved(wParam);
    bHandled = TRUE;
  } else if (uMsg == WM_DESTROY) {
    host.StopWorkers();
  }
  return 0;
}

void LightWireTest::SetUp() {
  CMessageLoop& loop = CMessageLoop::Instance();
  loop.AttachCurrentThread();
  loop.Reset();
  loop.SetBackend(std::make_unique<CHeadlessBackend>());
  loop.UseVirtualClock(false);
  CResourceManager::GetInstance()->Release();
  CPaintManagerUI::SetResourcePath(MakeSkin().string().c_str());
  RegisterProgramControls();
  SetDebugToStderr(false);
  // The effect names of the repository's default data.
  SetProgramFolderOverride(OSTREL_LIGHTWIRE_REPO_DIR);
  // The user's custom effect names: two for the keyboard (model 0), one
  // for the mouse (model 1).
  dataFolder = fs::path(::testing::TempDir()) / ("lightwire_data_" + std::to_string(getpid()));
  // Both files live in each model's own folder of the data folder.
  for (const ModelTableRow& model : kModelTable) {
    WriteText(
        dataFolder / model.modelName / "tavix_light.config",
        R"({"LightInfo": [[{"LightName": "first"}, {"LightName": "second"}], [{"LightName": "mine"}]]})");
    WriteText(dataFolder / model.modelName / "macro.config",
              R"({"MacroInfo": [{"MacroName": "reload"}, {"MacroName": "jump"}]})");
  }
}

void LightWireTest::TearDown() {
  if (window) {
    if (window->GetHWND()) DestroyWindow(window->GetHWND());
    window.reset();
  }
  CMessageLoop::Instance().Reset();
  simulator.UnplugAll();
  SetProgramFolderOverride("");
}

bool LightWireTest::Connect(std::initializer_list<const char*> models) {
  for (const char* model : models) {
    devsim::SimulatedDevice* device = simulator.Plug(model);
    if (!device) return false;
    devices[model] = device;
  }
  window = std::make_unique<LightWireWindow>(dataFolder.string() + "/");
  if (!window->CreateHidden() || !window->created) return false;
  window->host.StartScanning();
  // Read: its lighting thread runs and its frame timer is armed.
  return PumpUntil(
      [&] {
        int running = 0;
        for (CZantroveUSBDevice* page : window->host.Pages()) running += page->LightingThreadsRunning();
        return running == static_cast<int>(models.size());
      },
      std::chrono::milliseconds(5000));
}

bool LightWireTest::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  return PumpMessagesUntil(done, timeout);
}

void LightWireTest::PumpFor(std::chrono::milliseconds time) {
  PumpUntil([] { return false; }, time);
}

WiredPage* LightWireTest::PageOfType(int deviceType) {
  for (CZantroveUSBDevice* page : window->host.Pages())
    if (page->GetDeviceType() == deviceType) return static_cast<WiredPage*>(page);
  return nullptr;
}

CControlUI* LightWireTest::PanelControl(WiredPage& page, const std::string& name) {
  CLightControlUI* panel = page.LightPanel();
  return panel ? window->GetPaintManager()->FindSubControlByName(panel, name.c_str()) : nullptr;
}

bool LightWireTest::Shown(WiredPage& page, const std::string& name) {
  // The page in front, as when its entry is selected.
  CControlUI* pages = window->GetPaintManager()->FindControl("device_switch");
  if (auto* tab = pages ? static_cast<CTabLayoutUI*>(pages->GetInterface("TabLayout")) : nullptr)
    tab->SelectItem(window->host.EntryOf(&page)->pageIndex);
  CControlUI* control = PanelControl(page, name);
  for (CControlUI* c = control; c; c = c->GetParent())
    if (!c->IsVisible()) return false;
  return control != nullptr;
}

bool LightWireTest::Notify(WiredPage& page, CControlUI* sender, const char* type) {
  TNotifyUI msg;
  msg.sType = type;
  msg.pSender = sender;
  return page.HandleLightNotify(msg);
}

}  // namespace ostrel::test
