// From a user's change on the mouse page to the change kept: a DPI edit
// losing the focus, until the profile file is saved (written, synced,
// renamed) and the onboard profile record is written to a simulated wired
// mouse with a 1 ms USB interval (BeginConfig, two WriteMemory frames,
// EndConfig, each acknowledged by the mouse). The page is built from the
// rendered skin in a headless window; the profile folder is on the disk
// of the temporary folder.
//
// BM_DpiEditToSavedAndWritten is the page's path: the file is saved in the
// 10 ms the mouse needs between the record's last frame and EndConfig.
// BM_SaveThenWriteInSequence is the same work one after the other, for
// comparison.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "devicelink/DeviceCatalogue.h"
#include "devicelink/HidLink.h"
#include "devices/CZantroveMouseDevice.h"
#include "devsim/Simulator.h"
#include "platform/os/DebugLog.h"
#include "platform/os/KnownFolders.h"
#include "platform/ui/CControlFactory.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/WindowImplBase.h"
#include "profiles/DataFolders.h"
#include "shell/CMainWnd.h"
#include "shell/NotifyRoute.h"
#include "shell/ShellApplication.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace ostrel;

void UsePrivateFolders() {
  static const std::string root = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "ostrel-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    for (const char* sub : {"runtime", "state", "config", "cache"})
      std::filesystem::create_directories(pattern + "/" + sub);
    std::filesystem::permissions(pattern + "/runtime", std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", (pattern + "/runtime").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (pattern + "/state").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (pattern + "/config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (pattern + "/cache").c_str(), 1);
    return pattern;
  }();
  SetDebugToStderr(false);
}

std::string FindVendorPath(std::uint16_t vendorId, std::uint16_t productId) {
  HidLink discovery;
  if (!discovery.Enumerate()) return {};
  while (const char* path = discovery.NextPath()) {
    HidLink probe;
    if (probe.Open(path, true, false, true, false) && probe.Attributes().VendorID == vendorId &&
        probe.Attributes().ProductID == productId && probe.Caps().UsagePage == 0xFF1C)
      return path;
  }
  return {};
}

class BenchWindow : public WindowImplBase {
 public:
  CControlUI* CreateControl(const char* pstrClass) override {
    for (const CMainWnd::ElementRoute& route : CMainWnd::ElementRoutes()) {
      if (!NotifyRoute<int>::EqualNoCase(route.element, pstrClass)) continue;
      if (route.className) return CControlFactory::GetInstance()->CreateControl(route.className);
      CDialogBuilder builder;
      return builder.Create(route.layoutFile, nullptr, nullptr, &m_pm, nullptr);
    }
    return nullptr;
  }
  // The main window's route for a DPI edit losing the focus.
  void Notify(TNotifyUI& msg) override {
    if (page && msg.pSender && msg.sType == "killfocus") {
      int number = 0;
      const auto* route =
          CMainWnd::Route::Find(CMainWnd::EditRoutes(), msg.pSender->GetName().str(), &number);
      if (route && route->handler == &CMainWnd::ToCurrentPage && !page->HandleLightNotify(msg))
        page->OnPageNotify(msg);
    }
    WindowImplBase::Notify(msg);
  }
  CZantroveMouseDevice* page = nullptr;

 protected:
  CDuiString GetSkinFile() override {
    return "<Window size=\"1000,540\"><HorizontalLayout name=\"page_host\"/></Window>";
  }
  const char* GetWindowClassName() const override { return "BenchWindow"; }
};

struct MouseSetup {
  MouseSetup() {
    UsePrivateFolders();
    SetProgramFolderOverride(OSTREL_BENCH_SOURCE_DIR);
    CMessageLoop& loop = CMessageLoop::Instance();
    loop.AttachCurrentThread();
    loop.SetBackend(std::make_unique<CHeadlessBackend>());
    CPaintManagerUI::SetResourcePath(OSTREL_BENCH_SKIN_DIR);
    CResourceManager::GetInstance()->LoadLanguage("lan_en.xml");
    ShellApplication::RegisterControls();
    window.Create(nullptr, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 0, 1000, 540);
    loop.PumpPending();

    simulator = std::make_unique<devsim::Simulator>();
    devsim::DeviceOptions options;
    options.usbInterval = std::chrono::microseconds(1000);
    device = simulator->Plug("mouse", options);
    if (!device) std::abort();

    CDialogBuilder builder;
    CControlUI* root =
        builder.Create("XML\\DeviceXml\\mousedevice.xml", nullptr, &window, window.GetPaintManager());
    page = root ? static_cast<CZantroveMouseDevice*>(root->GetInterface(CZantroveMouseDevice::kElementName))
                : nullptr;
    if (!page) std::abort();
    const PageTypeRow& type = kPageTypeTable[0];
    DeviceCatalogueRow row;
    row.vendorId = 0x320F;
    row.productId = 0x1000;
    row.deviceType = kDeviceMouse;
    page->SetLayoutName(type.pageLayout);
    page->SetWindowHandle(window.GetHWND());
    page->SetKeyCount(type.keyCount);
    page->SetLedCount(type.ledCount);
    page->SetModelName("mouse");
    page->SetInterfaceRow(row);
    page->SetModelNumber(1);
    page->InitPage();
    static_cast<CContainerUI*>(window.GetPaintManager()->FindControl("page_host"))->Add(page);
    window.page = page;
    page->SelectFunctionTab(4);
    if (!page->CommandChannel().Connect(FindVendorPath(0x320F, 0x1000), false)) std::abort();
    page->ReadDevice();
    page->StopLightingThreads();
    window.GetPaintManager()->RenderToImage();
    loop.PumpPending();
    edit = static_cast<CEditUI*>(page->FindSubControl("DPI_edit_1"));
    if (!edit) std::abort();
  }

  // One user change: type a value, move the focus away.
  void ChangeDpi(int dpi) {
    edit->SetFocus();
    edit->SetText(std::to_string(dpi).c_str());
    window.GetPaintManager()->SetFocus(nullptr);
  }

  BenchWindow window;
  std::unique_ptr<devsim::Simulator> simulator;
  devsim::SimulatedDevice* device = nullptr;
  CZantroveMouseDevice* page = nullptr;
  CEditUI* edit = nullptr;
};

MouseSetup& Setup() {
  static MouseSetup setup;
  return setup;
}

void Report(benchmark::State& state, std::vector<double>& ms) {
  std::sort(ms.begin(), ms.end());
  if (ms.empty()) return;
  state.counters["min_ms"] = ms.front();
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["max_ms"] = ms.back();
}

void BM_DpiEditToSavedAndWritten(benchmark::State& state) {
  MouseSetup& s = Setup();
  std::vector<double> ms;
  int dpi = 800;
  for (auto _ : state) {
    dpi = dpi == 800 ? 1600 : 800;
    const auto start = Clock::now();
    s.ChangeDpi(dpi);
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  // The change reached both the mouse and the file.
  const auto record = s.device->State().Read(devsim::MemoryArea::kMemory, 0, 66);
  if ((record[25] | (record[26] << 8)) != dpi / 50) state.SkipWithError("the record was not written");
  Report(state, ms);
}
BENCHMARK(BM_DpiEditToSavedAndWritten)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_SaveThenWriteInSequence(benchmark::State& state) {
  MouseSetup& s = Setup();
  std::vector<double> ms;
  for (auto _ : state) {
    const auto start = Clock::now();
    s.page->SaveActiveProfile();
    if (s.page->WriteProfileRecord(0) != 1) state.SkipWithError("the record was not written");
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  Report(state, ms);
}
BENCHMARK(BM_SaveThenWriteInSequence)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_ProfileSaveAlone(benchmark::State& state) {
  MouseSetup& s = Setup();
  std::vector<double> ms;
  for (auto _ : state) {
    const auto start = Clock::now();
    s.page->SaveActiveProfile();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  Report(state, ms);
}
BENCHMARK(BM_ProfileSaveAlone)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

BENCHMARK_MAIN();
