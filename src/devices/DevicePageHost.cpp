#include "devices/DevicePageHost.h"

#include <algorithm>

#include "controls/CDeviceOptionUI.h"
#include "controls/CMpDevicePowerUI.h"
#include "devices/CZantroveUSBDevice.h"
#include "devices/DeviceWorkerWindow.h"
#include "lighting/LightEffectCodes.h"
#include "lighting/SteadyLightClock.h"
#include "platform/os/DebugLog.h"
#include "platform/ui/CContainerUI.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CTabLayoutUI.h"
#include "platform/ui/WindowApi.h"

namespace ostrel {

namespace {

// How long the scanning thread waits for the window thread to handle one of
// its messages before it writes a line and carries on.
constexpr std::chrono::seconds kDeliveryBound{10};

const char* ArrivalText(int deviceType) {
  switch (deviceType) {
    case kDeviceKeyboard:
      return "添加一个键盘设备";
    case kDeviceMouse:
    case kDeviceWirelessMouse:
      return "添加一个鼠标设备";
    default:
      return "添加一个鼠标垫设备";  // mouse pad and headset
  }
}

const char* RemovalText(int deviceType) {
  switch (deviceType) {
    case kDeviceKeyboard:
      return "删除一个键盘设备";
    case kDeviceMouse:
    case kDeviceWirelessMouse:
      return "删除一个鼠标设备";
    default:
      return "删除一个鼠标垫设备";
  }
}

CTabLayoutUI* AsTab(CControlUI* control) {
  return control ? static_cast<CTabLayoutUI*>(control->GetInterface("TabLayout")) : nullptr;
}

CContainerUI* AsContainer(CControlUI* control) {
  return control ? static_cast<CContainerUI*>(control->GetInterface("Container")) : nullptr;
}

}  // namespace

constexpr const char* kSyncExitText = "同步灯光线程设定退出";

DevicePageHost::DevicePageHost()
    : m_scanner(m_slots),
      m_lightClock(&SteadyLightClock::Instance()),
      m_syncThread(std::make_unique<LightingThread>(m_sync, *m_lightClock, kSyncExitText)) {}

DevicePageHost::~DevicePageHost() {
  // The pages belong to the control tree and stop their own workers when it
  // deletes them; here only the window-wide workers are left to stop.
  {
    std::lock_guard<std::mutex> lock(m_deliveryMutex);
    m_stopping = true;
  }
  m_delivered.notify_all();
  m_scanner.Stop(kStopBound);
  m_syncThread->Stop();
  m_sync.SetTargets({});
}

bool DevicePageHost::Create(CPaintManagerUI& pm, HWND mainWindow, const std::string& dataFolder,
                            IDialogBuilderCallback* callback) {
  m_pm = &pm;
  m_mainWindow = mainWindow;
  m_dataFolder = dataFolder;
  m_callback = callback;
  m_deviceSwitch = AsContainer(pm.FindControl("device_switch"));
  m_deviceSelectLayout = AsContainer(pm.FindControl("device_select_layout"));
  m_powerSwitch = AsContainer(pm.FindControl("device_power_switch"));
  if (!m_deviceSwitch || !m_deviceSelectLayout || !m_powerSwitch) {
    OutputDebugString(
        "devices: the main window has no device_switch, device_select_layout or device_power_switch");
    return false;
  }
  m_firstScanMessage = RegisterWindowMessage(kFirstScanMessageName);
  m_workerWindow = std::make_unique<DeviceWorkerWindow>([this](WPARAM wParam, LPARAM lParam) {
    if (wParam < m_entries.size() && m_pm)
      m_pm->SetTimer(m_entries[wParam].entry, static_cast<UINT>(lParam >> 32),
                     static_cast<UINT>(lParam & 0xFFFFFFFF));
  });
  m_workerWindow->CreateHidden();
  m_scanner.SetCallbacks([this](std::size_t slot) { DeliverToWindow(kDeviceArrivedMessage, slot); },
                         [this](std::size_t slot) { DeliverToWindow(kDeviceRemovedMessage, slot); },
                         [this] { PostMessage(m_mainWindow, m_firstScanMessage, 0, 0); });

  m_entries.reserve(kModelTable.size());
  for (const ModelTableRow& model : kModelTable) {
    for (std::size_t i = 0; i < kInterfaceTable.size(); ++i) {
      const InterfaceTableRow& row = kInterfaceTable[i];
      if (row.vendorId == model.vendorId && row.productId == model.productId &&
          row.deviceType == model.deviceType && row.role == model.role) {
        CreateModelPage(i);
        break;
      }
    }
  }
  return true;
}

bool DevicePageHost::CreateModelPage(std::size_t rowIndex) {
  const DeviceCatalogueRow row = m_slots.Slot(rowIndex);
  int type = row.deviceType;
  int vendorId = row.vendorId;
  int productId = row.productId;
  if (type == kDeviceWirelessMouse) {
    type = kDeviceMouse;
    if (row.pairing != 0) {
      const DeviceCatalogueRow paired = m_slots.Slot(row.pairedRow);
      vendorId = paired.vendorId;
      productId = paired.productId;
    }
  }
  std::size_t modelIndex = kModelTable.size();
  for (std::size_t i = 0; i < kModelTable.size(); ++i) {
    const ModelTableRow& m = kModelTable[i];
    if (m.vendorId == vendorId && m.productId == productId && m.deviceType == type && m.role == row.role) {
      modelIndex = i;
      break;
    }
  }
  if (modelIndex == kModelTable.size()) return false;
  const ModelTableRow& model = kModelTable[modelIndex];
  const PageTypeRow& pageType = kPageTypeTable[modelIndex];

  CDialogBuilder powerBuilder, entryBuilder, pageBuilder;
  CControlUI* power = powerBuilder.Create(kPowerIndicatorLayout, nullptr, m_callback, m_pm);
  CControlUI* entryRoot = power ? entryBuilder.Create(model.entryLayout, nullptr, m_callback, m_pm) : nullptr;
  CControlUI* pageRoot =
      entryRoot ? pageBuilder.Create(pageType.pageLayout, nullptr, m_callback, m_pm) : nullptr;
  auto* entry = entryRoot ? static_cast<CDeviceOptionUI*>(entryRoot->GetInterface("DeviceOption")) : nullptr;
  auto* powerIndicator =
      power ? static_cast<CMpDevicePowerUI*>(power->GetInterface("MpDevicePower")) : nullptr;
  CZantroveUSBDevice* page =
      pageRoot ? static_cast<CZantroveUSBDevice*>(pageRoot->GetInterface("ZantroveUSBDevice")) : nullptr;
  if (!powerIndicator || !entry || !page) {
    DebugPrintf("devices: the %s page, its entry or its power indicator could not be built", model.modelName);
    delete power;
    delete entryRoot;
    delete pageRoot;
    return false;
  }

  m_powerSwitch->Add(powerIndicator);
  powerIndicator->SetDeviceType(row.deviceType, row.role);
  DeviceEntry record;
  record.powerIndicator = powerIndicator;
  record.powerIndex = m_powerSwitch->GetItemIndex(powerIndicator);

  const std::size_t entryIndex = m_entries.size();
  page->SetLayoutName(pageType.pageLayout);
  page->SetWindowHandle(m_mainWindow);
  page->SetKeyCount(pageType.keyCount);
  page->SetLedCount(pageType.ledCount);
  page->SetPowerIndicator(powerIndicator);
  page->SetPowerPolling(pageType.powerPolling);
  page->SetReserved(pageType.reserved);
  page->SetDataFolder(m_dataFolder.c_str());
  page->SetModelName(model.modelName);
  page->SetInterfaceRow(row);
  page->SetModelNumber(model.modelNumber);
  page->SetLightPrefix(pageType.lightingPrefix);
  page->SetTimerRequest([this, entryIndex](unsigned timerId, unsigned delayMs) {
    ArmEntryTimer(entryIndex, timerId, delayMs);
  });
  page->SetLightSyncRequest([this](CZantroveUSBDevice& source) { SynchroniseLighting(source); });
  page->SetHostLighting(m_hostLighting);
  page->InitPage();

  m_deviceSwitch->Add(page);
  // Its panels are built now: the lighting panel takes the name lists.
  page->ReloadNameLists();
  record.page = page;
  record.pageIndex = m_deviceSwitch->GetItemIndex(page);
  m_pages.push_back(page);

  m_deviceSelectLayout->Add(entry);
  record.entry = entry;
  entry->SetSynchroVisible(false);
  entry->SetTabBinding("device_switch", record.pageIndex, model.tabHeader);
  entry->SetPowerIndex(model.powerContainer, record.powerIndex);
  entry->SetDeviceType(row.deviceType, row.role);
  entry->SetConnected(false);
  entry->SetDeviceName(model.modelName);
  entry->SetPage(page);
  entry->SetPowerUI(powerIndicator);
  page->SetDeviceOption(entry);
  entry->SetTimerHandler([this, entryIndex](UINT id) { HandleEntryTimer(m_entries[entryIndex], id); });
  m_entries.push_back(record);
  return true;
}

void DevicePageHost::StartScanning() {
  {
    std::lock_guard<std::mutex> lock(m_deliveryMutex);
    m_stopping = false;
  }
  m_scanner.Start();
  m_syncThread->Start();
}

void DevicePageHost::SetLightClock(LightClock& clock) {
  const bool running = m_syncThread->IsRunning();
  m_syncThread->Stop();
  m_lightClock = &clock;
  m_syncThread = std::make_unique<LightingThread>(m_sync, *m_lightClock, kSyncExitText);
  if (running) m_syncThread->Start();
}

// ---- Lighting across the pages ----

void DevicePageHost::SetHostLighting(bool on) {
  m_hostLighting = on;
  for (CZantroveUSBDevice* page : m_pages) page->SetHostLighting(on);
}

std::vector<CZantroveUSBDevice*> DevicePageHost::ConnectedPages() const {
  std::vector<CZantroveUSBDevice*> pages;
  for (const DeviceEntry& entry : m_entries)
    if (entry.entry->IsConnected() && entry.page->CommandChannel().IsConnected()) pages.push_back(entry.page);
  return pages;
}

int DevicePageHost::ConnectedCount() const { return static_cast<int>(ConnectedPages().size()); }

bool DevicePageHost::SynchroniseLighting(CZantroveUSBDevice& source) {
  std::vector<CZantroveUSBDevice*> pages = ConnectedPages();
  if (pages.size() < 2) return false;
  const LightSetting parameters = source.MainLightSetting();
  const CommonEffect effect =
      LightEffectCodes::CommonEffectFor(source.GetDeviceType(), parameters.selectItem);
  if (effect == CommonEffect::kNone) return false;
  // Keyboards first, then the other types.
  std::stable_partition(pages.begin(), pages.end(),
                        [](CZantroveUSBDevice* page) { return page->GetDeviceType() == kDeviceKeyboard; });
  std::vector<LightSyncTarget*> targets;
  for (CZantroveUSBDevice* page : pages) {
    LightSetting record;
    if (!LightSyncAnimator::PageRecord(source.GetDeviceType(), parameters, page->GetDeviceType(), record))
      continue;
    page->SetLightingPaused(true);
    page->CommitLightSetting(LightZone::kMain, record);
    targets.push_back(&page->SyncTarget());
  }
  m_sync.SetTargets(std::move(targets));
  m_sync.SetCommonEffect(effect, parameters);
  m_syncThread->Wake();
  return true;
}

void DevicePageHost::UpdateLightSync() {
  const std::vector<CZantroveUSBDevice*> connected = ConnectedPages();
  const bool allowed = connected.size() >= 2;
  // A page that left is no target any more (its animator may be made anew
  // when it comes back as another type).
  std::vector<LightSyncTarget*> targets;
  for (CZantroveUSBDevice* page : m_pages) {
    const bool isConnected = std::find(connected.begin(), connected.end(), page) != connected.end();
    page->SetLightSyncAllowed(allowed && isConnected);
    if (!isConnected && page->IsLightingPaused()) page->SetLightingPaused(false);
    if (isConnected && page->IsLightingPaused()) targets.push_back(&page->SyncTarget());
  }
  m_sync.SetTargets(std::move(targets));
  m_syncThread->Wake();
}

// ---- Arrival and removal ----

DevicePageHost::DeviceEntry* DevicePageHost::FindEntryForRow(const DeviceCatalogueRow& row) {
  for (DeviceEntry& entry : m_entries)
    if (DeviceCatalogue::RowsEqual(entry.page->GetInterfaceRow(), row)) return &entry;
  return nullptr;
}

DevicePageHost::DeviceEntry* DevicePageHost::FindEntryForNotification(const DeviceCatalogueRow& row) {
  for (DeviceEntry& entry : m_entries) {
    const DeviceCatalogueRow& own = entry.page->GetInterfaceRow();
    if (own.vendorId == row.vendorId && own.productId == row.productId && own.deviceType == row.deviceType)
      return &entry;
  }
  return nullptr;
}

void DevicePageHost::OnDeviceArrived(std::size_t slot) {
  if (slot < m_slots.Size()) {
    const DeviceCatalogueRow row = m_slots.Slot(slot);
    OutputDebugString(ArrivalText(row.deviceType));
    if (!row.path.empty()) {
      if (row.role == kRoleCommand) {
        if (DeviceEntry* entry = FindEntryForRow(row)) {
          DeviceChannel& channel = entry->page->CommandChannel();
          // Connect opens the link under the transport lock, so no worker
          // exchanges on a half-open link.
          if (!channel.IsConnected() && channel.Connect(row.path, row.deviceType == kDeviceWirelessMouse)) {
            // The page's animator is made anew when the type changes: the
            // synchronisation lets go of it first.
            if (entry->page->GetDeviceType() != row.deviceType) m_sync.SetTargets({});
            channel.LockTransport();
            entry->page->SetInterfaceRow(row);
            channel.UnlockTransport();
          }
          if (channel.IsConnected()) {
            ShowEntry(*entry);
            m_pm->SetTimer(entry->entry, kTimerReadDevice, kReadDeviceDelayMs);
          }
          UpdateLightSync();
        }
      } else if (row.role == kRoleNotification) {
        if (DeviceEntry* entry = FindEntryForNotification(row))
          entry->page->OpenNotificationChannel(row.path);
      }
    }
  }
  FinishDelivery();
}

void DevicePageHost::OnDeviceRemoved(std::size_t slot) {
  if (slot < m_slots.Size()) {
    const DeviceCatalogueRow row = m_slots.Slot(slot);
    OutputDebugString(RemovalText(row.deviceType));
    if (row.role == kRoleCommand) {
      if (DeviceEntry* entry = FindEntryForRow(row)) {
        entry->page->CommandChannel().Disconnect();
        // Nothing to animate for a device that is gone; ReadDevice starts
        // the thread again when it comes back.
        entry->page->StopLightingThreads();
        for (UINT id : {kTimerReadDevice, kTimerLightFrame, kTimerPowerState, kTimerReadProfile})
          m_pm->KillTimer(entry->entry, id);
        HideEntry(*entry);
        UpdateLightSync();
      }
    } else if (row.role == kRoleNotification) {
      if (DeviceEntry* entry = FindEntryForNotification(row)) entry->page->CloseNotificationChannel();
    }
  }
  FinishDelivery();
}

void DevicePageHost::SelectEntry(DeviceEntry& entry) {
  // Selecting the option also shows its bound page of "device_switch".
  entry.entry->SelectDevice(true);
  if (CTabLayoutUI* tab = AsTab(m_deviceSwitch)) tab->SelectItem(entry.pageIndex);
  if (CTabLayoutUI* tab = AsTab(m_powerSwitch)) tab->SelectItem(entry.powerIndex);
}

void DevicePageHost::ShowEntry(DeviceEntry& entry) {
  bool otherVisible = false;
  for (const DeviceEntry& other : m_entries)
    if (&other != &entry && other.entry->IsConnected()) otherVisible = true;
  entry.entry->SetConnected(true);
  if (!otherVisible) SelectEntry(entry);
  if (CControlUI* noDevice = m_pm->FindControl("No_device_Link")) noDevice->SetVisible(false);
}

void DevicePageHost::HideEntry(DeviceEntry& entry) {
  const bool wasSelected = entry.entry->IsConnected() && entry.entry->IsDeviceSelected();
  if (wasSelected && m_selectedEntryHiding) m_selectedEntryHiding(entry.page);
  entry.entry->SetConnected(false);
  if (COptionUI* option = entry.entry->GetSelectOption()) option->Selected(false, false);
  if (!wasSelected) return;
  for (DeviceEntry& other : m_entries) {
    if (other.entry->IsConnected()) {
      SelectEntry(other);
      return;
    }
  }
  if (CControlUI* noDevice = m_pm->FindControl("No_device_Link")) noDevice->SetVisible(true);
  if (CTabLayoutUI* tab = AsTab(m_powerSwitch)) tab->SelectItem(0);
  if (CTabLayoutUI* tab = AsTab(m_deviceSwitch)) tab->SelectItem(0);
}

CZantroveUSBDevice* DevicePageHost::CurrentPage() const {
  for (const DeviceEntry& entry : m_entries)
    if (entry.entry->IsConnected() && entry.entry->IsDeviceSelected()) return entry.page;
  return nullptr;
}

const DevicePageHost::DeviceEntry* DevicePageHost::EntryOf(const CZantroveUSBDevice* page) const {
  for (const DeviceEntry& entry : m_entries)
    if (entry.page == page) return &entry;
  return nullptr;
}

// ---- Timers ----

void DevicePageHost::ArmEntryTimer(std::size_t entryIndex, UINT timerId, UINT delayMs) {
  if (!m_workerWindow) return;
  m_workerWindow->PostRequest(entryIndex,
                              static_cast<LPARAM>(static_cast<std::uint64_t>(timerId) << 32 | delayMs));
}

void DevicePageHost::HandleEntryTimer(DeviceEntry& entry, UINT timerId) {
  // Every timer is killed as it fires: one instance of each is pending at most.
  m_pm->KillTimer(entry.entry, timerId);
  CZantroveUSBDevice* page = entry.page;
  switch (timerId) {
    case kTimerReadDevice:
      page->ReadDevice();
      if (page->CommandChannel().IsConnected()) {
        m_pm->SetTimer(entry.entry, kTimerLightFrame, kFirstFrameDelayMs);
        if (page->GetPowerPolling() != 0) m_pm->SetTimer(entry.entry, kTimerPowerState, kPowerStatePeriodMs);
      }
      break;
    case kTimerLightFrame:
      if (!page->CommandChannel().IsConnected()) break;
      page->PushLightFrame();
      page->PushLightFrameZone2();
      page->PushLightFrameZone3();
      if (entry.entry->IsDeviceSelected() && page->IsPreviewRepaint()) page->Invalidate();
      if (page->CommandChannel().IsConnected())
        m_pm->SetTimer(entry.entry, kTimerLightFrame, kLightFramePeriodMs);
      break;
    case kTimerReadProfile:
      page->ReadCurrentProfile();
      break;
    case kTimerPowerState:
      page->ReadPowerState();
      if (page->GetPowerPolling() != 0 && page->CommandChannel().IsConnected())
        m_pm->SetTimer(entry.entry, kTimerPowerState, kPowerStatePeriodMs);
      break;
    default:
      break;
  }
}

// ---- Scanner messages ----

void DevicePageHost::DeliverToWindow(UINT message, std::size_t slot) {
  {
    std::lock_guard<std::mutex> lock(m_deliveryMutex);
    if (m_stopping) return;
    m_deliveryPending = true;
  }
  if (!PostMessage(m_mainWindow, message, slot, 0)) {
    FinishDelivery();
    return;
  }
  std::unique_lock<std::mutex> lock(m_deliveryMutex);
  if (!m_delivered.wait_for(lock, kDeliveryBound, [this] { return !m_deliveryPending || m_stopping; })) {
    m_deliveryPending = false;
    DebugPrintf("devices: message %u for slot %zu was not handled in time", message, slot);
  }
}

void DevicePageHost::FinishDelivery() {
  {
    std::lock_guard<std::mutex> lock(m_deliveryMutex);
    m_deliveryPending = false;
  }
  m_delivered.notify_all();
}

void DevicePageHost::StopWorkers() {
  {
    std::lock_guard<std::mutex> lock(m_deliveryMutex);
    m_stopping = true;
  }
  m_delivered.notify_all();
  m_scanner.Signal();
  bool timedOut = false;
  timedOut |= m_scanner.Stop(kStopBound) == WorkerThread::StopResult::kTimedOut;
  // The synchronisation thread ends at once from any sleep.
  m_syncThread->Stop();
  m_sync.SetTargets({});
  for (DeviceEntry& entry : m_entries) {
    entry.page->StopWorkers();
    if (m_pm)
      for (UINT id : {kTimerReadDevice, kTimerLightFrame, kTimerPowerState, kTimerReadProfile})
        m_pm->KillTimer(entry.entry, id);
  }
  if (timedOut) OutputDebugString("所有对象处于非激发状态，超时");
  if (m_workerWindow) m_workerWindow->DestroyHidden();
}

}  // namespace ostrel
