#pragma once
// What the main window does for devices: it builds a disconnected page, a
// hidden device-list entry and a power indicator for every model of the
// catalogue, runs the scanning thread and the lighting synchronisation
// thread, connects and disconnects pages as their interfaces arrive and
// leave (messages 3090 and 3091), runs the list-entry timers and stops every
// worker when the window goes. The main window owns one as a member; see
// docs/devices.md for the calls it makes.

#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "devicelink/DeviceScanner.h"
#include "devicelink/DeviceSlotList.h"
#include "devicelink/WorkerThread.h"
#include "lighting/LightClock.h"
#include "lighting/LightSyncAnimator.h"
#include "lighting/LightingThread.h"
#include "platform/ui/UIDefs.h"

namespace ostrel {

class CContainerUI;
class CControlUI;
class CDeviceOptionUI;
class CMpDevicePowerUI;
class CPaintManagerUI;
class CZantroveUSBDevice;
class DeviceWorkerWindow;
class IDialogBuilderCallback;
struct TEventUI;

class DevicePageHost {
 public:
  // Sent by the scanning thread (wParam = slot index).
  static constexpr UINT kDeviceArrivedMessage = WM_USER + 0x812;  // 3090
  static constexpr UINT kDeviceRemovedMessage = WM_USER + 0x813;  // 3091
  // The application's registered message, posted once after the first scan.
  static constexpr const char* kFirstScanMessageName = "Kestrane";

  // List-entry timers (ids of the entry control) and their periods.
  static constexpr UINT kTimerLightFrame = 1000;
  static constexpr UINT kTimerReadDevice = 1001;
  static constexpr UINT kTimerReadProfile = 1002;
  static constexpr UINT kTimerPowerState = 1005;
  static constexpr UINT kReadDeviceDelayMs = 500;
  static constexpr UINT kFirstFrameDelayMs = 5;
  static constexpr UINT kLightFramePeriodMs = 50;
  static constexpr UINT kPowerStatePeriodMs = 5000;
  // Bound of every worker stop.
  static constexpr std::chrono::milliseconds kStopBound{1000};

  // One device-list entry and what belongs to it.
  struct DeviceEntry {
    CDeviceOptionUI* entry = nullptr;            // in "device_select_layout"; shown while connected
    CZantroveUSBDevice* page = nullptr;          // in "device_switch"
    CMpDevicePowerUI* powerIndicator = nullptr;  // in "device_power_switch"
    int pageIndex = 0;                           // in "device_switch"
    int powerIndex = 0;                          // in "device_power_switch"
  };

  DevicePageHost();
  ~DevicePageHost();
  DevicePageHost(const DevicePageHost&) = delete;
  DevicePageHost& operator=(const DevicePageHost&) = delete;

  // At InitWindow: copies the catalogue into the slot list and builds every
  // model's page, entry and power indicator into the window's containers
  // "device_switch", "device_select_layout" and "device_power_switch".
  // `callback` creates the page classes named by the page layouts (the
  // main window's CreateControl); the control factory is tried after it.
  // False when a container is missing; a model whose layouts do not build
  // is left out (and written to the debug output).
  bool Create(CPaintManagerUI& pm, HWND mainWindow, const std::string& dataFolder,
              IDialogBuilderCallback* callback = nullptr);
  // Starts the scanning thread and the lighting synchronisation thread.
  void StartScanning();

  // ---- Lighting across the pages ----
  // Host lighting control: every page paints and streams its frames while
  // it is on; switching it on tells the keyboards (StartHostLighting).
  void SetHostLighting(bool on);
  bool IsHostLighting() const { return m_hostLighting; }
  // "deng_same_mode" of `source`: every connected page (keyboards first)
  // takes the source's main record with the code of its common effect, is
  // paused and animated by the synchronisation thread until its own
  // lighting is touched or fewer than two devices remain. False (and
  // nothing changed) with fewer than two connected devices or a source
  // effect that has no common effect.
  bool SynchroniseLighting(CZantroveUSBDevice& source);
  int ConnectedCount() const;
  // The clock of the synchronisation thread (tests give their own); before
  // StartScanning.
  void SetLightClock(LightClock& clock);
  LightSyncAnimator& Synchronisation() { return m_sync; }
  std::uint64_t SynchronisationPasses() const { return m_syncThread ? m_syncThread->Passes() : 0; }
  // Called on the window thread before the selected entry is hidden because
  // its device left (the window closes its child windows, removes the input
  // hook ...).
  void SetSelectedEntryHiding(std::function<void(CZantroveUSBDevice* page)> hook) {
    m_selectedEntryHiding = std::move(hook);
  }

  // Message 3090 and 3091 (window thread).
  void OnDeviceArrived(std::size_t slot);
  void OnDeviceRemoved(std::size_t slot);

  // WM_DESTROY: signals every worker, waits for each up to 1000 ms.
  void StopWorkers();

  const std::vector<CZantroveUSBDevice*>& Pages() const { return m_pages; }
  const std::vector<DeviceEntry>& Entries() const { return m_entries; }
  // The page of the first visible entry whose "device_select" is selected.
  CZantroveUSBDevice* CurrentPage() const;
  const DeviceEntry* EntryOf(const CZantroveUSBDevice* page) const;
  DeviceSlotList& Slots() { return m_slots; }
  DeviceScanner& Scanner() { return m_scanner; }
  UINT FirstScanMessage() const { return m_firstScanMessage; }

 private:
  bool CreateModelPage(std::size_t rowIndex);
  void HandleEntryTimer(DeviceEntry& entry, UINT timerId);
  void ArmEntryTimer(std::size_t entryIndex, UINT timerId, UINT delayMs);
  void ShowEntry(DeviceEntry& entry);
  void HideEntry(DeviceEntry& entry);
  void SelectEntry(DeviceEntry& entry);
  DeviceEntry* FindEntryForRow(const DeviceCatalogueRow& row);
  DeviceEntry* FindEntryForNotification(const DeviceCatalogueRow& row);
  // The scanner's sends: posted, then waited for until the window thread
  // handled them, or until the workers are being stopped (a window thread
  // waiting for the scanner could otherwise never handle the message).
  void DeliverToWindow(UINT message, std::size_t slot);
  void FinishDelivery();
  // The connected pages tell their panels whether synchronisation is
  // offered; with fewer than two every page leaves it.
  void UpdateLightSync();
  std::vector<CZantroveUSBDevice*> ConnectedPages() const;

  CPaintManagerUI* m_pm = nullptr;
  HWND m_mainWindow = nullptr;
  std::string m_dataFolder;
  IDialogBuilderCallback* m_callback = nullptr;
  CContainerUI* m_deviceSwitch = nullptr;
  CContainerUI* m_deviceSelectLayout = nullptr;
  CContainerUI* m_powerSwitch = nullptr;

  DeviceSlotList m_slots;
  DeviceScanner m_scanner;
  std::vector<CZantroveUSBDevice*> m_pages;
  std::vector<DeviceEntry> m_entries;
  std::unique_ptr<DeviceWorkerWindow> m_workerWindow;
  UINT m_firstScanMessage = 0;

  std::mutex m_deliveryMutex;
  std::condition_variable m_delivered;
  bool m_deliveryPending = false;
  bool m_stopping = false;

  std::function<void(CZantroveUSBDevice*)> m_selectedEntryHiding;
  bool m_hostLighting = true;
  LightClock* m_lightClock;
  LightSyncAnimator m_sync;
  std::unique_ptr<LightingThread> m_syncThread;
};

}  // namespace ostrel
