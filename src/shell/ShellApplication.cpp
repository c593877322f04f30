#include "shell/ShellApplication.h"

#include <array>
#include <memory>

#include "controls/ProgramControls.h"
#include "devices/CKeySetControlUI.h"
#include "devices/CZantroveKeyboardDevice.h"
#include "devices/CZantroveMouseDevice.h"
#include "devices/CZantroveUSBDevice.h"
#include "lighting/CLightControlUI.h"
#include "platform/os/DebugLog.h"
#include "platform/ui/CControlFactory.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/CScreenshot.h"
#include "platform/ui/CSdlBackend.h"
#include "platform/ui/WindowApi.h"
#include "profiles/CDeviceProfileUI.h"
#include "shell/CMainWnd.h"
#include "shell/InstanceSocket.h"
#include "shell/PrivateFontFile.h"
#include "shell/RegisteredMessages.h"
#include "shell/ShellBus.h"
#include "shell/SleepWatcher.h"
#include "shell/TerminationSignals.h"

namespace ostrel {
namespace {

// The skin's control classes, in the order they are registered. The
// program's controls register themselves (with their layout element names);
// this list tells which the build still lacks.
constexpr const char* kControls[] = {
    "CCircleProgressUI",
    "CChartViewUI",
    "CWndUI",
    "CSelectPanelUI",
    "CDeviceKeyButtonUI",
    "CCloudShareListItemUI",
    "CUpdateInfoListItemUI",
    "CDeviceOptionUI",
    "CMpDevicePowerUI",
    "CComboEditContainerElementUI",
    "CHandImgButtonUI",
    "CHandImgSelectButtonUI",
    "CRedioMacroButtonUI",
    "CLightControlUI",
    "CMacroControlUI",
    "CKeySetControlUI",
    "CDeviceProfileUI",
    "CShootControlUI",
    "CMagicControlUI",
    "CVoice6533ControlUI",
    "CZantroveUSBDevice",
    "CZantroveMousePadDevice",
    "CZantroveHS6533Device",
};
static_assert(std::size(kControls) == 23);

constexpr DWORD kMainWindowStyle = 0x96CA0000;

}  // namespace

int ShellApplication::RegisterControls() {
  RegisterProgramControls();
  CControlFactory* factory = CControlFactory::GetInstance();
  factory->RegistControl(CDeviceProfileUI::kClassName, &CDeviceProfileUI::CreateControl);
  factory->RegistControl(CDeviceProfileUI::kElementName, &CDeviceProfileUI::CreateControl);
  factory->RegistControl(CDeviceProfileUI::kLayoutElementName, &CDeviceProfileUI::CreateLayout);
  RegisterKeySetControl();
  RegisterMouseDevicePage();
  RegisterKeyboardDevice();
  factory->RegistControl(CLightControlUI::kClassName, &CLightControlUI::CreateControl);
  factory->RegistControl(CLightControlUI::kElementName, &CLightControlUI::CreateControl);
  if (!factory->IsRegistered("CZantroveUSBDevice"))
    factory->RegistControl("CZantroveUSBDevice", []() -> CControlUI* { return new CZantroveUSBDevice; });
  int registered = 0;
  for (const char* name : kControls) {
    if (factory->IsRegistered(name))
      ++registered;
    else
      DebugPrintf("control class %s is not part of this build", name);
  }
  return registered;
}

int ShellApplication::Run(const Options& options) {
  // Signals go to the watching thread only; every thread started below
  // inherits the mask.
  TerminationSignals::Block();
  if (options.useDisplay) CSdlBackend::PrepareEnvironment();

  std::array<PrivateFontFile, std::size(kFontFiles)> fonts;
  for (std::size_t i = 0; i < fonts.size(); ++i) fonts[i].Load(kFontFiles[i]);
  auto unloadFonts = [&fonts] {
    for (std::size_t i = fonts.size(); i-- > 0;) fonts[i].Unload();
  };

  UINT instanceMessage = RegisteredMessages::RegisterInstanceMessage();
  DebugPrintf("软件标示：%d", instanceMessage);

  ShellBus bus;
  InstanceSocket socket;
  ShellBus::Claim claim = bus.Open();
  if (claim == ShellBus::Claim::Second) {
    bus.WakeFirstInstance(0, 1);
    bus.Close();
    unloadFonts();
    return 0;
  }
  if (claim == ShellBus::Claim::NoBus) {
    InstanceSocket::Claim local = socket.Open();
    if (local == InstanceSocket::Claim::Second) {
      socket.WakeFirstInstance(0, 1);
      unloadFonts();
      return 0;
    }
  }

  if (options.useDisplay) {
    if (std::unique_ptr<CSdlBackend> sdl = CSdlBackend::Create())
      CMessageLoop::Instance().SetBackend(std::move(sdl));
    else
      OutputDebugString("no display: the window is drawn off screen");
  }
  CPaintManagerUI::SetInstance(nullptr);
  CPaintManagerUI::SetResourceType(1);
  CPaintManagerUI::SetResourcePath((CPaintManagerUI::GetInstancePath() + "skin\\").GetData());
  if (!CResourceManager::GetInstance()->LoadResource("res.xml"))
    OutputDebugString("res.xml could not be loaded");
  RegisterControls();
  RegisteredMessages::RegisterApplicationMessages();

  auto window = std::make_unique<CMainWnd>();
  window->SetShellBus(claim == ShellBus::Claim::First ? &bus : nullptr);
  SleepWatcher sleep;
  TerminationSignals signals;
  HWND hwnd = window->Create(nullptr, "Kestrane", kMainWindowStyle, 0, 0, 0, 800, 572);
  if (hwnd) {
    window->CenterWindow();
    bus.SetTarget(hwnd);
    socket.SetTarget(hwnd);
    if (claim == ShellBus::Claim::First) bus.Start();
    socket.Start();
    if (options.watchSleep) sleep.Start(hwnd);
    signals.Start([hwnd](int signal) {
      DebugPrintf("signal %d: closing", signal);
      PostMessage(hwnd, WM_CLOSE, 0, 0);
    });
    // OSTREL_SCREENSHOT asks for a picture of the window (scripts/run).
    CScreenshot::ArmFromEnvironment();
    if (options.onStarted) options.onStarted(*window);
    CPaintManagerUI::MessageLoop();
  } else {
    OutputDebugString("the main window could not be created");
  }

  // Nothing may post to the window once it is gone.
  signals.Stop();
  sleep.Stop();
  bus.SetTarget(nullptr);
  socket.SetTarget(nullptr);
  if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
  window.reset();
  CResourceManager::GetInstance()->Release();
  bus.Close();
  socket.Close();
  unloadFonts();
  return 0;
}

}  // namespace ostrel
