#include "devices/CZantroveUSBDevice.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "controls/CDeviceKeyButtonUI.h"
#include "controls/CMpDevicePowerUI.h"
#include "lighting/LightEffectCodes.h"
#include "lighting/LightFrame.h"
#include "lighting/LightSteps.h"
#include "lighting/LightTables.h"
#include "platform/os/DebugLog.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CTabLayoutUI.h"

namespace ostrel {

namespace {

// "key_12" -> ("key_", 12). A name without "_" or without a plain decimal
// number after its last "_" gives no number.
bool SplitNumbered(const CDuiString& text, CDuiString* prefix, int* number) {
  const int at = text.ReverseFind('_');
  if (at < 0) return false;
  const std::string digits = text.Mid(at + 1).str();
  if (digits.empty() || digits.size() > 9) return false;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  *prefix = text.Left(at + 1);
  *number = value;
  return true;
}

}  // namespace

CZantroveUSBDevice::CZantroveUSBDevice()
    : m_operations(std::make_unique<DeviceOperations>(m_commandChannel, 0)),
      m_zone2Colours(kZone2LedCount),
      m_zone3Colours(kZone3LedCount) {}

CZantroveUSBDevice::~CZantroveUSBDevice() { StopWorkers(); }

void* CZantroveUSBDevice::GetInterface(const char* pstrName) {
  if (pstrName && CDuiString(pstrName) == "ZantroveUSBDevice") return this;
  return CHorizontalLayoutUI::GetInterface(pstrName);
}

// ---- Page operations ----

void CZantroveUSBDevice::InitPage() {
  if (m_layoutName.IsEmpty()) {
    SetKeyCount(0);
    SetLedCount(0);
    m_keyButtons.clear();
    m_ledButtons.clear();
    m_zone2Buttons.clear();
    m_zone3Buttons.clear();
    m_zone2Colours.clear();
    m_zone3Colours.clear();
    return;
  }
  m_pSelectPanel = nullptr;
  for (CControlUI* child : m_items) {
    if (child && CDuiString(child->GetClass()) == "SelectPanel") {
      m_pSelectPanel = static_cast<CContainerUI*>(child->GetInterface("Container"));
      break;
    }
  }
  if (!m_pSelectPanel) return;
  for (int i = 0; i < m_pSelectPanel->GetCount(); ++i) {
    CControlUI* child = m_pSelectPanel->GetItemAt(i);
    if (!child || CDuiString(child->GetClass()) != "DeviceKeyButton") continue;
    auto* button = static_cast<CDeviceKeyButtonUI*>(child->GetInterface("DeviceKeyButton"));
    if (!button) continue;
    CDuiString prefix;
    int number = 0;
    if (SplitNumbered(button->GetName(), &prefix, &number) && prefix == "key_" && number < m_keyCount)
      m_keyButtons[number] = button;
    if (SplitNumbered(button->GetUserData(), &prefix, &number) && prefix == "light_" && number < m_ledCount) {
      m_ledButtons[number] = button;
      ShowButtonLight(number, 0xFFFFFF, 255);
    }
  }
}

int CZantroveUSBDevice::ApplyProfileLighting() { return 0; }

void CZantroveUSBDevice::StepBreathing() { LightSteps::StepBreathing(m_light, MainLightSetting()); }
void CZantroveUSBDevice::StepBreathingFour() { LightSteps::StepBreathingFour(m_light, MainLightSetting()); }
void CZantroveUSBDevice::StepStatic() { LightSteps::StepStatic(m_light, MainLightSetting()); }
void CZantroveUSBDevice::StepSpectrum() { LightSteps::StepSpectrum(m_light, MainLightSetting()); }
void CZantroveUSBDevice::StepFlash() { LightSteps::StepFlash(m_light, MainLightSetting(), NowMs()); }
void CZantroveUSBDevice::StepFlashFour() { LightSteps::StepFlashFour(m_light, MainLightSetting(), NowMs()); }
void CZantroveUSBDevice::StepOff() { LightSteps::StepOff(m_light); }

void CZantroveUSBDevice::PushLightFrame() {
  if (!IsHostLighting()) return;
  // The lighting threads write the list meanwhile; a frame may mix two steps.
  const auto leds = m_light.Leds();
  for (std::size_t i = 0; i < leds.size(); ++i) {
    if (i < m_ledButtons.size() && m_ledButtons[i] && m_ledButtons[i]->IsVisible())
      ShowButtonLight(static_cast<int>(i), LightFrame::PackButtonColour(leds[i]), leds[i].brightness);
  }
  m_frame.fill(0);
  const std::size_t length = LightFrame::BuildStreamFrame(leds, m_frame);
  if (m_commandChannel.HasLongTimeout()) return;
  if (m_commandChannel.StreamLedFrame(m_frame.data(), length) != kResultOk)
    std::this_thread::sleep_for(std::chrono::milliseconds(kLightFailurePauseMs));
}

void CZantroveUSBDevice::SetLedColour(int index, LedColour colour) {
  if (index >= 0 && index < m_ledCount) m_light.SetLedColour(index, colour);
}

LedColour CZantroveUSBDevice::GetLedColour(int index) const {
  if (index < 0 || index >= m_ledCount) return {};
  return m_light.GetLedColour(index);
}

void CZantroveUSBDevice::ReadPowerState() {
  if (!m_commandChannel.IsConnected()) return;
  // A failed read leaves the indicator as it was.
  if (m_operations->ReadPowerStatus() != kResultOk) return;
  if (m_pPowerIndicator)
    m_pPowerIndicator->UpdatePowerStatus(m_operations->PowerStatus(), m_powerPolling != 0);
}

void CZantroveUSBDevice::SetKeyLedMap(const std::map<int, int>& map) { m_keyLedMap = map; }
void CZantroveUSBDevice::FadeKey(int key) { m_light.FadeKey(key); }
// The base page's ring covers nine positions; the mouse pad and headset
// pages light one per LED.
void CZantroveUSBDevice::LightRingKeys() { m_light.LightRingKeys(9); }
void CZantroveUSBDevice::RotateRing(int length, int direction) { m_light.RotateRing(length, direction); }
void CZantroveUSBDevice::ClearEffectBuffers() { m_light.ClearEffectBuffers(); }

CTabLayoutUI* CZantroveUSBDevice::FindTabLayout(CTabLayoutUI*& cache, const char* name) {
  if (!cache && m_pManager) {
    CControlUI* control = m_pManager->FindSubControlByName(this, name);
    if (!control && m_pManager) control = m_pManager->FindControl(name);
    if (control) cache = static_cast<CTabLayoutUI*>(control->GetInterface("TabLayout"));
  }
  return cache;
}

void CZantroveUSBDevice::SelectFunctionTab(int kind) {
  m_functionTab = kind;
  CTabLayoutUI* function = FindTabLayout(m_pFunctionSwitch, "device_function_switch");
  CTabLayoutUI* keyFunction = FindTabLayout(m_pKeyFunctionSwitch, "device_key_function_switch");
  int functionPage = 0;
  int keyPage = -1;  // -1: unchanged
  switch (kind) {
    case 2:
    case 6:
      keyPage = 1;
      break;
    case 3:
    case 8:
      functionPage = 1;
      break;
    case 4:
      if (m_deviceType == kDeviceKeyboard || m_deviceType == kDeviceMouse) {
        functionPage = 3;
      } else {
        keyPage = 2;
      }
      break;
    case 5:
      functionPage = 2;
      break;
    case 7:
      keyPage = 2;
      break;
    default:
      keyPage = 0;
      break;
  }
  if (function) function->SelectItem(functionPage);
  if (keyFunction && keyPage >= 0) keyFunction->SelectItem(keyPage);
}

LightSetting CZantroveUSBDevice::MakeLightSetting(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                                                  std::uint32_t w3, std::uint32_t w4, std::uint32_t w5,
                                                  std::uint32_t w6, std::uint16_t h, std::uint8_t b) {
  std::array<std::uint8_t, sizeof(LightSetting)> bytes{};
  const std::uint32_t words[7] = {w0, w1, w2, w3, w4, w5, w6};
  for (int w = 0; w < 7; ++w)
    for (int k = 0; k < 4; ++k) bytes[w * 4 + k] = static_cast<std::uint8_t>(words[w] >> (8 * k));
  bytes[28] = static_cast<std::uint8_t>(h);
  bytes[29] = static_cast<std::uint8_t>(h >> 8);
  bytes[30] = b;
  LightSetting setting;
  std::memcpy(&setting, bytes.data(), sizeof(setting));
  return setting;
}

void CZantroveUSBDevice::SetLightSetting(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                                         std::uint32_t w3, std::uint32_t w4, std::uint32_t w5,
                                         std::uint32_t w6, std::uint16_t h, std::uint8_t b) {
  {
    std::lock_guard<std::mutex> lock(m_settingLock);
    m_lightSettings[0] = MakeLightSetting(w0, w1, w2, w3, w4, w5, w6, h, b);
  }
  WakeLightingThreads();
}

void CZantroveUSBDevice::SetLightSettingZone2(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                                              std::uint32_t w3, std::uint32_t w4, std::uint32_t w5,
                                              std::uint32_t w6, std::uint16_t h, std::uint8_t b) {
  {
    std::lock_guard<std::mutex> lock(m_settingLock);
    m_lightSettings[1] = MakeLightSetting(w0, w1, w2, w3, w4, w5, w6, h, b);
  }
  WakeLightingThreads();
}

void CZantroveUSBDevice::SetLightSettingZone3(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                                              std::uint32_t w3, std::uint32_t w4, std::uint32_t w5,
                                              std::uint32_t w6, std::uint16_t h, std::uint8_t b) {
  {
    std::lock_guard<std::mutex> lock(m_settingLock);
    m_lightSettings[2] = MakeLightSetting(w0, w1, w2, w3, w4, w5, w6, h, b);
  }
  WakeLightingThreads();
}

void CZantroveUSBDevice::ApplyLightSettings() { WakeLightingThreads(); }

// ---- Workers ----

void CZantroveUSBDevice::OnNotificationUsage(std::uint16_t usage) {
  const bool keyboard = m_deviceType == kDeviceKeyboard;
  if (usage == 0x0401) {
    OutputDebugString("接收到自动添加设备的同步信息要求");
    RequestEntryTimer(1002, keyboard ? kKeyboardProfileRereadDelayMs : kProfileRereadDelayMs);
  } else if (usage == 0x0402) {
    if (!keyboard) return;
    OnProfileReloadRequest();
    OutputDebugString("接收到自动添加设备的同步信息要求");
    RequestEntryTimer(1002, kKeyboardProfileRereadDelayMs);
  } else if (usage >= 0x0500 && usage <= 0x05FF) {
    if (keyboard) OnDeviceKey(1, usage - 0x0500);
  } else if (usage >= 0x0600 && usage <= 0x06FF) {
    if (keyboard) OnDeviceKey(2, usage - 0x0600);
  }
}

int CZantroveUSBDevice::LightingThreshold(int zone) const {
  std::lock_guard<std::mutex> lock(m_settingLock);
  const LightSetting& setting = m_lightSettings[zone < 0 || zone > 2 ? 0 : zone];
  const int code =
      zone == 0 ? setting.selectItem : (zone == 1 ? setting.logoSelectItem : setting.stSelectItem);
  const int speed = zone == 0 ? setting.speed : (zone == 1 ? setting.logoSpeed : setting.stSpeed);
  if (LightEffectCodes::StepFor(m_deviceType, code) == LightStep::kCustom) return 0;
  return LightEffectCodes::ThresholdTicks(m_deviceType, code, speed) * kTickMs;
}

void CZantroveUSBDevice::RunLightingStep(int zone) {
  if (zone != 0) return;  // the keyboard page runs its own zones
  int code;
  {
    std::lock_guard<std::mutex> lock(m_settingLock);
    code = m_lightSettings[0].selectItem;
  }
  switch (LightEffectCodes::StepFor(m_deviceType, code)) {
    case LightStep::kSpectrum:
      StepSpectrum();
      break;
    case LightStep::kBreathing:
      StepBreathing();
      break;
    case LightStep::kBreathingFour:
      StepBreathingFour();
      break;
    case LightStep::kStatic:
      StepStatic();
      break;
    case LightStep::kFlash:
      StepFlash();
      break;
    case LightStep::kFlashFour:
      StepFlashFour();
      break;
    case LightStep::kOff:
      StepOff();
      break;
    default:
      // The own steps (wave, rings, keyboard effects, custom animation)
      // belong to the device type's page.
      break;
  }
}

void CZantroveUSBDevice::StartLightingThreads() {
  const int zones = std::min<int>(LightingZoneCount(), static_cast<int>(m_lightingWorkers.size()));
  for (int zone = 0; zone < zones; ++zone) {
    LightingWorker::Hooks hooks;
    hooks.connected = [this] { return m_commandChannel.IsConnected(); };
    hooks.paused = [this] { return m_commandChannel.IsPaused(); };
    hooks.threshold = [this, zone] { return LightingThreshold(zone); };
    hooks.step = [this, zone] { RunLightingStep(zone); };
    // Start stops a running thread of the zone first.
    m_lightingWorkers[zone].Start(std::move(hooks), LightingExitText());
  }
}

void CZantroveUSBDevice::StopLightingThreads() {
  for (LightingWorker& worker : m_lightingWorkers) worker.Signal();
  for (LightingWorker& worker : m_lightingWorkers) worker.Stop();
}

void CZantroveUSBDevice::WakeLightingThreads() {
  for (LightingWorker& worker : m_lightingWorkers) worker.Wake();
}

bool CZantroveUSBDevice::LightingThreadsRunning() const {
  for (const LightingWorker& worker : m_lightingWorkers)
    if (worker.IsRunning()) return true;
  return false;
}

bool CZantroveUSBDevice::OpenNotificationChannel(const std::string& path) {
  if (!m_notificationChannel.IsConnected()) {
    m_notificationChannel.LockTransport();
    if (m_notificationChannel.Link().Open(path, true, true, true, false))
      m_notificationChannel.SetConnected(true);
    m_notificationChannel.UnlockTransport();
  }
  if (!m_notificationChannel.IsConnected()) return false;
  if (!m_notificationReader.IsRunning())
    m_notificationReader.Start(m_notificationChannel,
                               [this](std::uint16_t usage) { OnNotificationUsage(usage); });
  return true;
}

void CZantroveUSBDevice::CloseNotificationChannel() {
  // The reader waits in a read without time-out: signal it, then close the
  // link, which ends that read at once, then wait for it.
  m_notificationReader.Signal();
  m_notificationChannel.LockTransport();
  m_notificationChannel.SetConnected(false);
  m_notificationChannel.Link().Close();
  m_notificationChannel.UnlockTransport();
  m_notificationReader.Stop();
}

void CZantroveUSBDevice::StopWorkers() {
  if (m_notificationReader.IsRunning()) CloseNotificationChannel();
  StopLightingThreads();
}

// ---- Plain operations ----

void CZantroveUSBDevice::SetKeyCount(int count) {
  if (count < 0) count = 0;
  m_keyCount = count;
  m_keyButtons.assign(static_cast<std::size_t>(count), nullptr);
}

void CZantroveUSBDevice::SetLedCount(int count) {
  if (count < 0) count = 0;
  if (count != m_ledCount) {
    m_ledCount = count;
    m_ledButtons.resize(static_cast<std::size_t>(count), nullptr);
    m_light.SetLedCount(count);
    m_zone2Buttons.resize(kZone2LedCount, nullptr);
    m_zone3Buttons.resize(kZone3LedCount, nullptr);
    m_zone2Colours.resize(kZone2LedCount);
    m_zone3Colours.resize(kZone3LedCount);
  }
  {
    std::lock_guard<std::mutex> lock(m_perLedLock);
    m_perLedStates.assign(static_cast<std::size_t>(count), LightSetting{});
  }
  m_light.FillAll(LedColour{});
  for (LedColour& colour : m_zone2Colours) colour = {};
  for (LedColour& colour : m_zone3Colours) colour = {};
}

void CZantroveUSBDevice::SetPowerPolling(int polling) {
  m_powerPolling = polling;
  // The indicator's inner layout, not the indicator: the power container
  // is a tab layout that shows and hides its items itself.
  if (m_pPowerIndicator)
    if (CControlUI* whole = m_pPowerIndicator->FindSubControl("device_power_Layout"))
      whole->SetVisible(polling != 0);
}

void CZantroveUSBDevice::SetInterfaceRow(const DeviceCatalogueRow& row) {
  m_interfaceRow = row;
  m_role = row.role;
  if (m_deviceType != row.deviceType || !m_operations) {
    m_deviceType = row.deviceType;
    m_operations = std::make_unique<DeviceOperations>(m_commandChannel, m_deviceType);
  }
}

void CZantroveUSBDevice::SetHostLighting(bool on) {
  m_hostLighting = on ? 1 : 0;
  if (on && m_deviceType == kDeviceKeyboard) m_commandChannel.StartHostLighting();
}

void CZantroveUSBDevice::RequestEntryTimer(unsigned timerId, unsigned delayMs) const {
  if (m_timerRequest) m_timerRequest(timerId, delayMs);
}

void CZantroveUSBDevice::ShowButtonLight(int ledIndex, DWORD colour, int level) {
  if (ledIndex < 0 || ledIndex >= static_cast<int>(m_ledButtons.size()) || !m_ledButtons[ledIndex]) return;
  // The button repaints only when the tint changed.
  m_ledButtons[ledIndex]->SetLightTint(true, colour, level);
}

std::uint8_t CZantroveUSBDevice::StepPhase(bool forward, std::uint8_t limit, std::uint8_t phase,
                                           std::uint8_t delta) {
  if (forward) {
    const std::uint8_t next = static_cast<std::uint8_t>(phase + delta);
    return next < limit ? next : 0;
  }
  const std::uint8_t next = static_cast<std::uint8_t>(phase - delta);
  return next < limit ? next : static_cast<std::uint8_t>(limit - delta);
}

std::uint8_t CZantroveUSBDevice::StepIndex(bool forward, std::uint8_t limit, std::uint8_t index) {
  if (forward) {
    const std::uint8_t next = static_cast<std::uint8_t>(index + 1);
    return next < limit ? next : 0;
  }
  const std::uint8_t next = static_cast<std::uint8_t>(index - 1);
  return next < limit ? next : static_cast<std::uint8_t>(limit - 1);
}

std::int64_t CZantroveUSBDevice::NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace ostrel
