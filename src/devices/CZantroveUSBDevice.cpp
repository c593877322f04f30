#include "devices/CZantroveUSBDevice.h"

#include <chrono>
#include <cstring>
#include <thread>

#include "controls/CDeviceKeyButtonUI.h"
#include "controls/CMpDevicePowerUI.h"
#include "lighting/CLightControlUI.h"
#include "lighting/KeyboardLightHost.h"
#include "lighting/LightEffectCodes.h"
#include "lighting/LightFrame.h"
#include "lighting/LightNameList.h"
#include "lighting/LightSteps.h"
#include "lighting/LightTables.h"
#include "lighting/SteadyLightClock.h"
#include "platform/os/DebugLog.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CTabLayoutUI.h"
#include "platform/ui/UIEvents.h"
#include "profiles/DataFolders.h"
#include "profiles/JsonFileUtil.h"

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

CControlUI* FindLightPanel(CControlUI* control, void*) {
  return control->GetInterface(CLightControlUI::kElementName) ? control : nullptr;
}

constexpr LightZone kZones[kLightZoneCount] = {LightZone::kMain, LightZone::kLogo, LightZone::kSt};

}  // namespace

// What the keyboard's per-key colouring needs, answered by the page: the
// panel's custom-effect combo, the command channel and the profile's groups
// through the page's virtual profile operations.
class CZantroveUSBDevice::KeyboardHost : public KeyboardLightHost {
 public:
  explicit KeyboardHost(CZantroveUSBDevice& page) : page_(page) {}

  int SelectedCustomGroup() const override {
    CLightControlUI* panel = page_.LightPanel();
    return panel ? panel->CustomGroup() : -1;
  }
  bool HasLongTimeout() const override { return page_.m_commandChannel.HasLongTimeout(); }
  int WriteLedColours(const std::uint8_t* frame, std::size_t length) override {
    const int result = page_.m_commandChannel.WriteLedColours(frame, length, 0, kLedFrameBytes);
    if (result != kResultOk) {
      DebugPrintf("lighting: the key colours were not written (%d)", result);
      page_.PauseAfterFailedWrite();
    }
    return result;
  }
  void StoreCustomColours(int group, std::span<const CustomColor> colours) override {
    if (!page_.StoreCustomColours(group, std::vector<CustomColor>(colours.begin(), colours.end())))
      DebugPrintf("lighting: colour group %d was not stored", group);
    page_.SaveActiveProfile();
  }
  void ReadCustomColours(int group, std::span<CustomColor> out) override {
    const std::vector<CustomColor> stored = page_.ReadCustomColours(group, static_cast<int>(out.size()));
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = i < stored.size() ? stored[i] : CustomColor{};
  }
  void SelectCustomGroup(int group) override {
    if (CLightControlUI* panel = page_.LightPanel()) panel->SetCustomGroup(group);
  }
  void SetProfileCustomGroup(int group) override { page_.SetProfileCustomGroup(group); }

 private:
  CZantroveUSBDevice& page_;
};

CZantroveUSBDevice::CZantroveUSBDevice()
    : m_operations(std::make_unique<DeviceOperations>(m_commandChannel, 0)),
      m_lightClock(&SteadyLightClock::Instance()) {
  MakeLighting();
}

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

// The common steps on the page's LED list, under the animator's lock.
void CZantroveUSBDevice::StepBreathing() {
  WithPageState([](LightEffectState& state, const LightSetting& r) { LightSteps::StepBreathing(state, r); });
}
void CZantroveUSBDevice::StepBreathingFour() {
  WithPageState(
      [](LightEffectState& state, const LightSetting& r) { LightSteps::StepBreathingFour(state, r); });
}
void CZantroveUSBDevice::StepStatic() {
  WithPageState([](LightEffectState& state, const LightSetting& r) { LightSteps::StepStatic(state, r); });
}
void CZantroveUSBDevice::StepSpectrum() {
  WithPageState([](LightEffectState& state, const LightSetting& r) { LightSteps::StepSpectrum(state, r); });
}
void CZantroveUSBDevice::StepFlash() {
  const std::int64_t now = NowMs();
  WithPageState(
      [now](LightEffectState& state, const LightSetting& r) { LightSteps::StepFlash(state, r, now); });
}
void CZantroveUSBDevice::StepFlashFour() {
  const std::int64_t now = NowMs();
  WithPageState(
      [now](LightEffectState& state, const LightSetting& r) { LightSteps::StepFlashFour(state, r, now); });
}
void CZantroveUSBDevice::StepOff() {
  WithPageState([](LightEffectState& state, const LightSetting&) { LightSteps::StepOff(state); });
}

std::size_t CZantroveUSBDevice::CopyLeds(std::span<LedColour> out) const {
  return m_keyboardAnimator ? m_keyboardAnimator->CopyLeds(out) : m_animator->CopyLeds(out);
}

std::span<const LedColour> CZantroveUSBDevice::FrameLeds() {
  const std::size_t n = CopyLeds(m_frameLeds);
  return std::span<const LedColour>(m_frameLeds.data(), n);
}

void CZantroveUSBDevice::PaintButtons(const std::vector<CDeviceKeyButtonUI*>& buttons,
                                      std::span<const LedColour> leds) {
  for (std::size_t i = 0; i < leds.size() && i < buttons.size(); ++i)
    if (buttons[i] && buttons[i]->IsVisible())
      buttons[i]->SetLightTint(true, LightFrame::PackButtonColour(leds[i]), leds[i].brightness);
}

void CZantroveUSBDevice::PushLightFrame() {
  if (!IsHostLighting()) return;
  // The steps due by now run first (every zone's): the frame shows the
  // state of its own time, and the lighting thread need not wake for them.
  if (m_lightingThread) m_lightingThread->RunBeforeFrame();
  // One copy of the list under the animator's lock: a frame is always one step.
  const std::span<const LedColour> leds = FrameLeds();
  PaintButtons(m_ledButtons, leds);
  // The keyboard runs its effects itself: its page only paints.
  if (m_deviceType == kDeviceKeyboard) return;
  m_frame.fill(0);
  const std::size_t length = LightFrame::BuildStreamFrame(leds, m_frame);
  // A wireless link cannot carry the stream.
  if (m_commandChannel.HasLongTimeout() || length == 0) return;
  if (m_commandChannel.StreamLedFrame(m_frame.data(), length) != kResultOk) PauseAfterFailedWrite();
}

void CZantroveUSBDevice::PushLightFrameZone2() {
  if (!IsHostLighting() || !m_keyboardAnimator) return;
  std::array<LedColour, kLogoLedCount> leds{};
  m_keyboardAnimator->CopyLogoLeds(leds);
  PaintButtons(m_zone2Buttons, leds);
}

void CZantroveUSBDevice::PushLightFrameZone3() {
  if (!IsHostLighting() || !m_keyboardAnimator) return;
  std::array<LedColour, kStLedCount> leds{};
  m_keyboardAnimator->CopyStLeds(leds);
  PaintButtons(m_zone3Buttons, leds);
}

void CZantroveUSBDevice::PauseAfterFailedWrite() const {
  // A device that is gone gets no pause: nothing will be sent to it.
  if (m_commandChannel.IsConnected())
    std::this_thread::sleep_for(std::chrono::milliseconds(kLightFailurePauseMs));
}

void CZantroveUSBDevice::SetLedColour(int index, LedColour colour) {
  if (index < 0 || index >= m_ledCount) return;
  if (m_animator) return m_animator->SetLedColour(index, colour);
  m_keyboardAnimator->WithState(
      [&](LightEffectState& state, const LightSetting&) { state.SetLedColour(index, colour); });
}

LedColour CZantroveUSBDevice::GetLedColour(int index) const {
  if (index < 0 || index >= m_ledCount) return {};
  if (m_animator) return m_animator->GetLedColour(index);
  LedColour colour{};
  std::array<LedColour, kKeyboardKeyCount> leds{};
  const std::size_t n = m_keyboardAnimator->CopyLeds(leds);
  if (static_cast<std::size_t>(index) < n) colour = leds[static_cast<std::size_t>(index)];
  return colour;
}

LightEffectState& CZantroveUSBDevice::LightState() {
  return m_keyboardAnimator ? m_keyboardAnimator->State() : m_animator->State();
}

void CZantroveUSBDevice::ReadPowerState() {
  if (!m_commandChannel.IsConnected()) return;
  // A failed read leaves the indicator as it was.
  if (m_operations->ReadPowerStatus() != kResultOk) return;
  if (m_pPowerIndicator)
    m_pPowerIndicator->UpdatePowerStatus(m_operations->PowerStatus(), m_powerPolling != 0);
}

void CZantroveUSBDevice::SetKeyLedMap(const std::map<int, int>& map) {
  m_keyLedMap = map;
  if (!m_keyboardAnimator) return;
  // Keys the map leaves out keep their own number.
  std::array<std::uint8_t, kKeyboardKeyCount> leds{};
  for (int k = 0; k < kKeyboardKeyCount; ++k) {
    const auto found = map.find(k);
    const int led = found == map.end() ? k : found->second;
    leds[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(led < 0 || led > 255 ? 255 : led);
  }
  m_keyboardAnimator->SetKeyLedMap(leds);
}

void CZantroveUSBDevice::SetKeySlotMap(const std::map<int, int>& map) {
  m_uiKeyToSlot = map;
  if (!m_keyboardAnimator) return;
  std::array<int, kKeyboardKeyCount> slots{};
  for (int k = 0; k < kKeyboardKeyCount; ++k) {
    const auto found = map.find(k);
    slots[static_cast<std::size_t>(k)] = found == map.end() ? k : found->second;
  }
  m_keyboardAnimator->SetKeySlotMap(slots);
}

void CZantroveUSBDevice::FadeKey(int key) {
  WithPageState([&](LightEffectState& state, const LightSetting&) { state.FadeKey(key); });
}
// The base page's ring covers nine positions; the mouse pad and headset
// pages light one per LED.
void CZantroveUSBDevice::LightRingKeys() {
  WithPageState([](LightEffectState& state, const LightSetting&) { state.LightRingKeys(9); });
}
void CZantroveUSBDevice::RotateRing(int length, int direction) {
  WithPageState([&](LightEffectState& state, const LightSetting&) { state.RotateRing(length, direction); });
}
void CZantroveUSBDevice::ClearEffectBuffers() {
  WithPageState([](LightEffectState& state, const LightSetting&) { state.ClearEffectBuffers(); });
}

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
  m_lightSettings[0] = MakeLightSetting(w0, w1, w2, w3, w4, w5, w6, h, b);
  ApplyRecordsToAnimator();
}

void CZantroveUSBDevice::SetLightSettingZone2(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                                              std::uint32_t w3, std::uint32_t w4, std::uint32_t w5,
                                              std::uint32_t w6, std::uint16_t h, std::uint8_t b) {
  m_lightSettings[1] = MakeLightSetting(w0, w1, w2, w3, w4, w5, w6, h, b);
  ApplyRecordsToAnimator();
}

void CZantroveUSBDevice::SetLightSettingZone3(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                                              std::uint32_t w3, std::uint32_t w4, std::uint32_t w5,
                                              std::uint32_t w6, std::uint16_t h, std::uint8_t b) {
  m_lightSettings[2] = MakeLightSetting(w0, w1, w2, w3, w4, w5, w6, h, b);
  ApplyRecordsToAnimator();
}

void CZantroveUSBDevice::ApplyRecordsToAnimator() {
  if (m_keyboardAnimator) {
    // Starting effect 20 shows and sends the group of byte 30.
    m_keyboardAnimator->ApplyLighting(m_lightSettings[0], m_lightSettings[1], m_lightSettings[2],
                                      m_keyboardHost.get());
  } else {
    m_animator->SetLightSetting(m_lightSettings[0]);
  }
  WakeLightingThreads();
}

void CZantroveUSBDevice::ApplyLightSettings() {
  ApplyRecordsToAnimator();
  ShowRecordsInPanel();
}

void CZantroveUSBDevice::ShowRecordsInPanel() {
  CLightControlUI* panel = LightPanel();
  if (!panel) return;
  const int zones = m_deviceType == kDeviceKeyboard ? kLightZoneCount : 1;
  for (int zone = 0; zone < zones; ++zone) panel->ShowLightSetting(kZones[zone], m_lightSettings[zone]);
}

void CZantroveUSBDevice::SetCustomLightSteps(std::vector<LightEffectStep> steps) {
  if (m_keyboardAnimator) {
    m_keyboardAnimator->SetCustomSteps(std::move(steps));
  } else {
    m_animator->SetCustomSteps(std::move(steps));
  }
  WakeLightingThreads();
}

void CZantroveUSBDevice::SetPerLedList(std::vector<LightListEntry> list) {
  const std::int64_t now = NowMs();
  if (m_keyboardAnimator) {
    m_keyboardAnimator->SetLightList(std::move(list), now);
  } else {
    m_animator->SetLightList(std::move(list), now);
  }
  WakeLightingThreads();
}

// ---- The lighting panel's changes ----

CLightControlUI* CZantroveUSBDevice::LightPanel() {
  if (!m_pLightPanel) {
    m_pLightPanel = FindControl(FindLightPanel, nullptr, UIFIND_ALL);
    if (auto* panel = static_cast<CLightControlUI*>(
            m_pLightPanel ? m_pLightPanel->GetInterface(CLightControlUI::kElementName) : nullptr)) {
      panel->SetHost(this);
      panel->SetDeviceType(m_deviceType);
      panel->SetSyncAllowed(m_lightSyncAllowed);
    }
  }
  return m_pLightPanel
             ? static_cast<CLightControlUI*>(m_pLightPanel->GetInterface(CLightControlUI::kElementName))
             : nullptr;
}

bool CZantroveUSBDevice::CurrentLightSetting(LightZone zone, LightSetting* record) {
  // Only a connected page takes changes: there is no device to write to else.
  if (!m_commandChannel.IsConnected()) return false;
  *record = m_lightSettings[static_cast<int>(zone)];
  return true;
}

void CZantroveUSBDevice::LightSettingChanged(LightZone zone, const LightSetting& record, LightChange change) {
  if (LeavesSynchronisation(change) && IsLightingPaused()) SetLightingPaused(false);
  const bool customGroup = change == LightChange::kCustomGroup && m_keyboardAnimator;
  if (customGroup) SetCustomGroup(record.customLightModeGroupIndex);
  CommitLightSetting(zone, record);
  // Byte 30 alone does not restart effect 20: the group is shown and sent here.
  if (customGroup) ReloadCustomGroup();
}

void CZantroveUSBDevice::StoreZoneRecord(LightZone zone, const LightSetting& r) {
  std::array<std::uint8_t, sizeof(LightSetting)> bytes{};
  std::memcpy(bytes.data(), &r, sizeof(r));
  std::uint32_t w[7];
  for (int i = 0; i < 7; ++i)
    w[i] = static_cast<std::uint32_t>(bytes[4 * i]) | static_cast<std::uint32_t>(bytes[4 * i + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[4 * i + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[4 * i + 3]) << 24;
  const auto h = static_cast<std::uint16_t>(bytes[28] | bytes[29] << 8);
  // Through the page operations: the pages keep the record in their profile too.
  switch (zone) {
    case LightZone::kMain:
      SetLightSetting(w[0], w[1], w[2], w[3], w[4], w[5], w[6], h, bytes[30]);
      break;
    case LightZone::kLogo:
      SetLightSettingZone2(w[0], w[1], w[2], w[3], w[4], w[5], w[6], h, bytes[30]);
      break;
    case LightZone::kSt:
      SetLightSettingZone3(w[0], w[1], w[2], w[3], w[4], w[5], w[6], h, bytes[30]);
      break;
  }
}

bool CZantroveUSBDevice::CommitLightSetting(LightZone zone, const LightSetting& record) {
  StoreZoneRecord(zone, record);
  SaveActiveProfile();
  ApplyLightSettings();
  // The device's profile record carries the lighting bytes.
  const int result = WriteProfileRecord(0);
  if (result != kResultOk) {
    DebugPrintf("lighting: the profile record was not written (%d); the profile keeps the change", result);
    return false;
  }
  return true;
}

void CZantroveUSBDevice::SynchroniseLightingRequested() {
  if (m_lightSyncRequest) m_lightSyncRequest(*this);
}

void CZantroveUSBDevice::SetLightingPaused(bool paused) {
  m_commandChannel.SetPaused(paused);
  if (m_keyboardAnimator) m_keyboardAnimator->SetPaused(paused);
  if (m_animator) m_animator->SetPaused(paused);
  WakeLightingThreads();
}

void CZantroveUSBDevice::SetLightSyncAllowed(bool allowed) {
  m_lightSyncAllowed = allowed;
  if (CLightControlUI* panel = LightPanel()) panel->SetSyncAllowed(allowed);
  if (!allowed && IsLightingPaused()) SetLightingPaused(false);
}

LightSyncTarget& CZantroveUSBDevice::SyncTarget() {
  if (m_keyboardAnimator) return *m_keyboardAnimator;
  return *m_animator;
}

LightSchedule& CZantroveUSBDevice::Schedule() {
  if (m_keyboardAnimator) return *m_keyboardAnimator;
  return *m_animator;
}

namespace {

bool IsColourEdit(const std::string& name) {
  for (const char* prefix : {"", "LightTab1_", "LightTab2_"})
    for (const char* edit :
         {CLightControlUI::kRedEdit, CLightControlUI::kGreenEdit, CLightControlUI::kBlueEdit})
      if (name == std::string(prefix) + edit) return true;
  return false;
}

}  // namespace

bool CZantroveUSBDevice::HandleLightNotify(TNotifyUI& msg) {
  if (!msg.pSender) return false;
  const std::string name = msg.pSender->GetName().str();
  const CDuiString& type = msg.sType;
  if (m_keyboardAnimator) {
    if (type == DUI_MSGTYPE_CLICK && (name == "custom_bright_color_btn" || name == "custom_off_color_btn")) {
      FillCustomColours(name == "custom_bright_color_btn");
      return true;
    }
    if (type == "click_select_end" && name == "keyboard_device_key_light_0") {
      std::vector<int> keys;
      if (auto* panel = static_cast<CContainerUI*>(msg.pSender->GetInterface("Container"))) {
        for (int i = 0; i < panel->GetCount(); ++i) {
          CControlUI* child = panel->GetItemAt(i);
          auto* button =
              child ? static_cast<CDeviceKeyButtonUI*>(child->GetInterface("DeviceKeyButton")) : nullptr;
          CDuiString prefix;
          int number = 0;
          if (button && button->IsSelected() && SplitNumbered(button->GetName(), &prefix, &number))
            keys.push_back(number);
        }
      }
      ColourSelectedKeys(keys);
      return true;
    }
    if (type == DUI_MSGTYPE_CLICK && GetFunctionTab() == 1) {
      CDuiString prefix;
      int number = 0;
      if (SplitNumbered(msg.pSender->GetName(), &prefix, &number) && prefix == "key_") {
        ColourKey(number);
        return true;
      }
    }
  }
  CLightControlUI* panel = LightPanel();
  if (!panel) return false;
  // The window hands the colour edits over when they lose the focus: the
  // panel reads, clamps and rewrites them as it does for typed text.
  if (type == DUI_MSGTYPE_KILLFOCUS && IsColourEdit(name)) {
    TNotifyUI edited = msg;
    edited.sType = DUI_MSGTYPE_TEXTCHANGED;
    return panel->HandleNotify(edited);
  }
  return panel->HandleNotify(msg);
}

// ---- Per-key colours of the keyboard's effect 20 ----

void CZantroveUSBDevice::SetCustomGroup(int group) {
  if (m_keyboardAnimator) m_keyboardAnimator->SetCustomGroup(group, *m_keyboardHost);
}
void CZantroveUSBDevice::LoadCustomGroup(int group) {
  if (m_keyboardAnimator) m_keyboardAnimator->LoadCustomGroup(group, *m_keyboardHost);
}
void CZantroveUSBDevice::ReloadCustomGroup() {
  if (m_keyboardAnimator) m_keyboardAnimator->ReloadCustomGroup(*m_keyboardHost);
}
void CZantroveUSBDevice::FillCustomColours(bool on) {
  // The fill buttons belong to effect 20; under another effect a fill would
  // overwrite the selected group with colours the user never saw.
  if (m_keyboardAnimator && m_lightSettings[0].selectItem == KeyboardLightAnimator::kCustomColoursEffect)
    m_keyboardAnimator->FillCustomColours(on, *m_keyboardHost);
}
void CZantroveUSBDevice::ColourKey(int key) {
  if (m_keyboardAnimator) m_keyboardAnimator->ColourKey(key, *m_keyboardHost);
}
void CZantroveUSBDevice::ColourSelectedKeys(const std::vector<int>& keys) {
  if (m_keyboardAnimator) m_keyboardAnimator->ColourSelectedKeys(keys, *m_keyboardHost);
}

int CZantroveUSBDevice::DownloadLedColours() {
  return m_keyboardAnimator ? m_keyboardAnimator->DownloadLedColours(*m_keyboardHost) : 0;
}

// ---- Name lists ----

void CZantroveUSBDevice::ReloadNameLists() {
  const std::string defaults = DataFolders::DefaultDataFolder();
  const std::string own = DeviceDataFolder();
  // The mouse pad and headset keep their macro names under the brand's name.
  const bool brandMacros = m_deviceType == kDeviceMousePad || m_deviceType == kDeviceHeadset;
  m_macroNames = JsonFileUtil::ReadJson(own + (brandMacros ? "tavix_macro.config" : "macro.config"));
  m_defaultLightNames = JsonFileUtil::ReadJson(defaults + LightNameList::kDefaultFileName);
  m_userLightNames = JsonFileUtil::ReadJson(own + m_lightPrefix.str() + ".config");
  LightNameList lists;
  lists.LoadDefaults(defaults, m_modelNumber);
  lists.LoadUserNames(own, m_modelNumber);
  CLightControlUI* panel = LightPanel();
  if (!panel) return;
  panel->SetDeviceType(m_deviceType);
  panel->SetNameLists(lists);
  ShowRecordsInPanel();
}

std::string CZantroveUSBDevice::DeviceDataFolder() const {
  std::string folder = m_dataFolder.str();
  if (m_modelName.IsEmpty()) return folder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder + m_modelName.str() + "/";
}

std::vector<std::string> CZantroveUSBDevice::MacroNameList() const {
  std::vector<std::string> names;
  const Json::Value& list = m_macroNames["MacroInfo"];
  if (!list.isArray()) return names;
  for (const Json::Value& macro : list)
    names.push_back(macro.isObject() && macro["MacroName"].isString() ? macro["MacroName"].asString() : "");
  return names;
}

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

void CZantroveUSBDevice::OnDeviceKey(int event, int key) {
  if (m_keyboardAnimator) m_keyboardAnimator->OnDeviceKey(key, event);
}

void CZantroveUSBDevice::MakeLighting() {
  if (m_lightingThread) m_lightingThread->Stop();
  m_lightingThread.reset();
  m_animator.reset();
  m_keyboardAnimator.reset();
  if (m_deviceType == kDeviceKeyboard) {
    m_keyboardAnimator = std::make_unique<KeyboardLightAnimator>();
    if (!m_keyboardHost) m_keyboardHost = std::make_unique<KeyboardHost>(*this);
    // Key-driven effects sleep while nothing is lit; a key press wakes them.
    m_keyboardAnimator->SetKeyEventWake([this] { WakeLightingThreads(); });
    SetKeyLedMap(m_keyLedMap);
    SetKeySlotMap(m_uiKeyToSlot);
  } else {
    m_animator = std::make_unique<LightAnimator>(m_deviceType, m_ledCount);
  }
  m_lightingThread = std::make_unique<LightingThread>(Schedule(), *m_lightClock, LightingExitText());
  if (m_keyboardAnimator) {
    m_keyboardAnimator->ApplyLighting(m_lightSettings[0], m_lightSettings[1], m_lightSettings[2]);
  } else {
    m_animator->SetLightSetting(m_lightSettings[0]);
  }
  if (m_commandChannel.IsPaused()) SyncTargetPaused();
}

void CZantroveUSBDevice::SyncTargetPaused() {
  if (m_keyboardAnimator) m_keyboardAnimator->SetPaused(true);
  if (m_animator) m_animator->SetPaused(true);
}

void CZantroveUSBDevice::SetLightClock(LightClock& clock) {
  const bool running = LightingThreadsRunning();
  m_lightingThread->Stop();
  m_lightClock = &clock;
  m_lightingThread = std::make_unique<LightingThread>(Schedule(), *m_lightClock, LightingExitText());
  if (running) m_lightingThread->Start();
}

void CZantroveUSBDevice::StartLightingThreads() {
  // Start stops a running thread first: one runs at any time.
  m_lightingThread->Start();
}

void CZantroveUSBDevice::StopLightingThreads() {
  if (m_lightingThread) m_lightingThread->Stop();
}

void CZantroveUSBDevice::WakeLightingThreads() {
  if (m_lightingThread) m_lightingThread->Wake();
}

bool CZantroveUSBDevice::LightingThreadsRunning() const {
  return m_lightingThread && m_lightingThread->IsRunning();
}

std::uint64_t CZantroveUSBDevice::LightingPasses() const {
  return m_lightingThread ? m_lightingThread->Passes() : 0;
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
    m_zone2Buttons.resize(kZone2LedCount, nullptr);
    m_zone3Buttons.resize(kZone3LedCount, nullptr);
  }
  // The list resizes only on a change; every LED and the per-LED state are
  // cleared either way. The keyboard keeps one entry per key.
  if (m_animator) {
    m_animator->SetLedCount(count);
  } else {
    WithPageState([](LightEffectState& state, const LightSetting&) { state.FillAll(LedColour{}); });
  }
  WakeLightingThreads();
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
    SetDeviceType(row.deviceType);
    m_operations = std::make_unique<DeviceOperations>(m_commandChannel, m_deviceType);
  }
}

void CZantroveUSBDevice::SetDeviceType(int type) {
  if (type == m_deviceType && (m_animator || m_keyboardAnimator)) return;
  const bool running = LightingThreadsRunning();
  m_deviceType = type;
  MakeLighting();
  if (CLightControlUI* panel = LightPanel()) panel->SetDeviceType(type);
  if (running) StartLightingThreads();
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

std::int64_t CZantroveUSBDevice::NowMs() const { return m_lightClock->NowMs(); }

}  // namespace ostrel
