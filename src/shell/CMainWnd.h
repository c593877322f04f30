#pragma once
// The application's only top-level window: the title bar, the device list
// and the page area built from "XML_MAIN"; routes every notification to its
// handler by type and sender name (the tables are data, below); keeps the
// device selection, the tray icon, the timers, the window's DPI fitting and
// the conversation with other programs.

#include <array>
#include <atomic>
#include <cstdint>
#include <span>
#include <string>

#include "devices/DevicePageHost.h"
#include "platform/ui/CMenuWnd.h"
#include "platform/ui/CTrayIcon.h"
#include "platform/ui/MenuCmd.h"
#include "platform/ui/WindowImplBase.h"
#include "shell/CMainPage.h"
#include "shell/LanguageSwitcher.h"
#include "shell/MainWndProfileHost.h"
#include "shell/NotifyRoute.h"
#include "shell/SkinObserver.h"
#include "shell/WorkerTable.h"

namespace ostrel {

class CControlUI;
class CDeviceProfileUI;
class ShellBus;

class CMainWnd : public WindowImplBase, public SkinReceiverImpl {
 public:
  using Handler = void (CMainWnd::*)(TNotifyUI& msg, int number);
  using Route = NotifyRoute<Handler>;

  // Private messages.
  static constexpr UINT kTrayMessage = WM_USER + 0x01;
  static constexpr UINT kHookMessage = WM_USER + 0x1E;
  static constexpr UINT kMenuCommandMessage = WM_MENUCLICK;
  static constexpr UINT kDebugMessage = WM_USER + 0xC8;
  static constexpr UINT kShowProgressMessage = WM_USER + 0x800;
  static constexpr UINT kLanguageMessage = WM_USER + 0x811;
  static constexpr UINT kDeviceArrivedMessage = WM_USER + 0x812;
  static constexpr UINT kDeviceRemovedMessage = WM_USER + 0x813;
  static constexpr UINT kOpenSettingsMessage = WM_USER + 0x815;
  static constexpr UINT kClearUpdateMarkMessage = WM_USER + 0x816;

  // Timers.
  static constexpr UINT_PTR kFitTimer = 1011;
  static constexpr UINT_PTR kTrayMenuTimer = 1032;
  static constexpr UINT_PTR kProfileSwitchTimer = 1055;
  static constexpr UINT_PTR kIdleTimer = 1031;

  // The layout is designed at 1000 × 640.
  static constexpr int kDesignWidth = 1000;
  static constexpr int kDesignHeight = 640;

  CMainWnd();
  ~CMainWnd() override;

  // Where the lighting state and the device table go (null: nowhere).
  void SetShellBus(ShellBus* bus) { bus_ = bus; }

  // The DPI a monitor gets: 144 above 1500 × 960, else 96.
  static int DpiForMonitor(const RECT& monitor);
  // Element names the window's layouts use for the program's classes and
  // panels: a control class of the factory, or a subtree built from a file.
  struct ElementRoute {
    const char* element;
    const char* className;   // created through the control factory
    const char* layoutFile;  // or built from this layout
  };
  static std::span<const ElementRoute> ElementRoutes();

  // The block sent to the companion program.
  static std::array<std::uint8_t, 1024> BuildDeviceTable();

  // Routing tables (first matching row acts).
  static std::span<const Route> ClickRoutes();
  static std::span<const Route> SelectRoutes();
  static std::span<const Route> SliderRoutes();
  static std::span<const Route> ComboRoutes();
  static std::span<const Route> EditRoutes();

  // Process-wide state read by workers.
  static HWND MainWindowHandle() { return s_mainWnd.load(); }
  static bool IsRunning() { return s_running.load(); }

  void InitWindow() override;
  void Notify(TNotifyUI& msg) override;
  void OnClick(TNotifyUI& msg) override;
  CControlUI* CreateControl(const char* pstrClass) override;
  // A new background from the skin picker.
  int OnSkinChanged(SkinChangedParam param) override;
  // Switches the interface language (also message 0xC11).
  void SetLanguage(int index);
  int LanguageIndex() const { return languages_.CurrentIndex(); }

  // Operations offered to the rest of the program.
  void ShowMainWindow();
  void FitWindowToMonitor();
  void SelectDevice(int index, bool switchTabs);
  void HideDeviceEntry(int index);
  void UpdateNoDeviceLink();
  bool IsLightControlled() const { return lightControlled_ != 0; }
  int CurrentDpi() const { return dpi_; }
  bool IsTrayIconShown() const { return tray_.IsCreated(); }
  DevicePageHost& Devices() { return devices_; }
  CZantroveUSBDevice* CurrentPage() const { return devices_.CurrentPage(); }
  // The profile panel of the current page, or null.
  CDeviceProfileUI* CurrentProfilePanel() const;

  // Handlers reached through the tables.
  void OnCloseButton(TNotifyUI& msg, int number);
  void OnHideButton(TNotifyUI& msg, int number);
  void OnLightStatusButton(TNotifyUI& msg, int number);
  void OnMinimizeButton(TNotifyUI& msg, int number);
  void OnMaximizeButton(TNotifyUI& msg, int number);
  void OnRestoreButton(TNotifyUI& msg, int number);
  void OnSkinButton(TNotifyUI& msg, int number);
  void OnSettingsButton(TNotifyUI& msg, int number);
  void OnSystemDeviceSettings(TNotifyUI& msg, int number);
  void OnDefaultButton(TNotifyUI& msg, int number);
  void OnDevicePrevious(TNotifyUI& msg, int number);
  void OnDeviceNext(TNotifyUI& msg, int number);
  void OnWebLink(TNotifyUI& msg, int number);
  void OnDeviceSelected(TNotifyUI& msg, int number);
  void OnProfileCombo(TNotifyUI& msg, int number);
  void OnKeyTextEditKillFocus(TNotifyUI& msg, int number);
  void OnKeyButton(TNotifyUI& msg, int number);
  void OnFunctionTab(TNotifyUI& msg, int number);
  void OnProfileButton(TNotifyUI& msg, int number);
  void ToCurrentPage(TNotifyUI& msg, int number);
  void Ignore(TNotifyUI& msg, int number);

 protected:
  CDuiString GetSkinFile() override { return CDuiString("XML_MAIN"); }
  const char* GetWindowClassName() const override { return "MainWnd"; }
  LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
  LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL& bHandled) override {
    bHandled = FALSE;
    return 0;
  }
  LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

 private:
  LRESULT OnWindowMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  void HandleTimer(UINT_PTR id);
  void OnWindowInit();
  void OnTrayIcon(LPARAM mouseMessage);
  void OpenTrayMenu();
  void OnMenuCommand(const std::string& name);
  void BringToFront();
  void CloseChildWindows();
  void SetLightControlled(int state);
  void SendDeviceTable();
  void StopWorkers();
  void CreateTrayIcon();
  // Tells every device page a state the window keeps.
  void TellPagesHostLighting(bool on);
  void TellPagesPreviewRepaint(bool on);
  bool Dispatch(std::span<const Route> table, TNotifyUI& msg);

  // The device list: entries of "device_select_layout"; an entry is
  // connected while it is shown.
  int EntryCount() const;
  CControlUI* EntryAt(int index) const;
  bool IsEntryConnected(int index) const;
  bool IsEntrySelected(int index) const;
  int SelectedEntry() const;

  CTrayIcon tray_;
  CMenuWnd::CheckInfo menuCheckInfo_;
  CMainPage mainPage_;
  ShellBus* bus_ = nullptr;
  WorkerTable workers_;
  DevicePageHost devices_;
  MainWndProfileHost profileHost_{[this] { return m_hWnd; }, [this] { return dpi_; },
                                  [this] { return CurrentPage(); }};

  LanguageSwitcher languages_;
  int lightControlled_ = 1;
  int displayChanged_ = 0;
  int windowActive_ = 0;
  int mouseInside_ = 0;
  bool initialised_ = false;
  int dpi_ = 96;
  HWND settingsWnd_ = nullptr;
  HWND aboutWnd_ = nullptr;

  static constexpr int kTitleButtons = 9;
  std::array<CControlUI*, kTitleButtons> titleButtons_{};

  static inline std::atomic<HWND> s_mainWnd{nullptr};
  static inline std::atomic<bool> s_running{true};
  static inline int s_screenWidth = 0;
  static inline int s_screenHeight = 0;
};

}  // namespace ostrel
