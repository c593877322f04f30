#include "devices/CZantroveMouseDevice.h"

#include <algorithm>
#include <cstring>

#include "controls/CDeviceKeyButtonUI.h"
#include "devices/CKeySetControlUI.h"
#include "devices/FactoryKeyTable.h"
#include "devices/KeyAssignmentEditor.h"
#include "devices/KeySaveToDevice.h"
#include "devices/KeyTableWriter.h"
#include "lighting/CLightControlUI.h"
#include "platform/os/DebugLog.h"
#include "platform/ui/CCheckBoxUI.h"
#include "platform/ui/CControlFactory.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/CSliderUI.h"
#include "platform/ui/CTabLayoutUI.h"
#include "platform/ui/INotifyUI.h"
#include "platform/ui/WindowApi.h"
#include "profiles/CDeviceProfileUI.h"
#include "profiles/DataFolders.h"
#include "profiles/JsonFields.h"
#include "profiles/JsonFileUtil.h"

namespace ostrel {

namespace {

// "key_12" -> ("key_", 12); false for a name without a plain number after
// its last "_".
bool SplitNumbered(const std::string& text, std::string* prefix, int* number) {
  const std::size_t at = text.rfind('_');
  if (at == std::string::npos) return false;
  const std::string digits = text.substr(at + 1);
  if (digits.empty() || digits.size() > 9) return false;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  *prefix = text.substr(0, at + 1);
  *number = value;
  return true;
}

// The stage slider's look: the active stage stands out.
constexpr const char* kActiveSliderFore = "Control/SliderBar_BK3.png";
constexpr const char* kActiveSliderThumb = "Control/SliderBar2_Thumb.png";
constexpr const char* kSliderFore = "Control/SliderBar_BK1.png";
constexpr const char* kSliderThumb = "Control/SliderBar1_Thumb.png";

constexpr const char* kStageSlider = "DPI_slider_";
constexpr const char* kStageEdit = "DPI_edit_";
constexpr const char* kStageCheck = "DPI_enable_check_";
constexpr const char* kStageLayout = "DPI_layout_";
constexpr const char* kPollingOption = "polling_rate_option_";
constexpr const char* kMirrorSlider = "tavix_DPI_slider_";
constexpr const char* kMirrorEdit = "tavix_DPI_edit_";

bool Is(const std::string& a, const char* b) { return a == b; }

}  // namespace

CZantroveMouseDevice::CZantroveMouseDevice() = default;

// The workers call the page's overrides: they stop before its members go.
CZantroveMouseDevice::~CZantroveMouseDevice() { StopWorkers(); }

void* CZantroveMouseDevice::GetInterface(const char* pstrName) {
  if (pstrName && (std::strcmp(pstrName, kElementName) == 0 || std::strcmp(pstrName, kClassName) == 0))
    return this;
  return CZantroveUSBDevice::GetInterface(pstrName);
}

int CZantroveMouseDevice::ScreenWidth() {
  static const int width = GetSystemMetrics(SM_CXSCREEN);
  return width;
}

int CZantroveMouseDevice::ScreenHeight() {
  static const int height = GetSystemMetrics(SM_CYSCREEN);
  return height;
}

bool CZantroveMouseDevice::IsWireless() const {
  return m_deviceType == kDeviceWirelessMouse || m_commandChannel.HasLongTimeout();
}

// ---- Controls ----

CControlUI* CZantroveMouseDevice::Find(const char* name) const {
  return const_cast<CZantroveMouseDevice*>(this)->FindSubControl(name);
}

CControlUI* CZantroveMouseDevice::FindNumbered(const char* prefix, int number) const {
  return Find((std::string(prefix) + std::to_string(number)).c_str());
}

CSliderUI* CZantroveMouseDevice::StageSlider(int stage) const {
  return As<CSliderUI>(FindNumbered(kStageSlider, stage), "Slider");
}

CEditUI* CZantroveMouseDevice::StageEdit(int stage) const {
  return As<CEditUI>(FindNumbered(kStageEdit, stage), "Edit");
}

CCheckBoxUI* CZantroveMouseDevice::StageCheck(int stage) const {
  return As<CCheckBoxUI>(FindNumbered(kStageCheck, stage), "CheckBox");
}

// ---- Page operations ----

void CZantroveMouseDevice::InitPage() {
  if (m_layoutName.IsEmpty()) {
    CZantroveUSBDevice::InitPage();
    return;
  }
  BindPageControls();
}

void CZantroveMouseDevice::BindSelectPanel(CContainerUI* panel) {
  for (int i = 0; i < panel->GetCount(); ++i) {
    CControlUI* child = panel->GetItemAt(i);
    if (!child || CDuiString(child->GetClass()) != "DeviceKeyButton") continue;
    auto* button = As<CDeviceKeyButtonUI>(child, "DeviceKeyButton");
    if (!button) continue;
    const std::string name = button->GetName().str();
    if (name == "logo") {
      m_pLogoButton = button;
      continue;
    }
    std::string prefix;
    int number = 0;
    if (!SplitNumbered(name, &prefix, &number)) continue;
    if (prefix == "key_" && number < static_cast<int>(kMouseKeyCount)) {
      if (number >= static_cast<int>(m_keyButtons.size())) m_keyButtons.resize(number + 1, nullptr);
      m_keyButtons[number] = button;
    } else if (prefix == "light_" && number < m_ledCount) {
      m_ledButtons[number] = button;
      ShowButtonLight(number, 0xFFFFFF, 255);
    } else if (prefix == "light_0_" && number < static_cast<int>(m_zone2Buttons.size())) {
      m_zone2Buttons[number] = button;
    }
  }
}

void CZantroveMouseDevice::BindPageControls() {
  CControlUI* layout = Find("mouse_device_seting_layout");
  auto* container = As<CContainerUI>(layout, "Container");
  if (!container) {
    OutputDebugString("mouse: no mouse_device_seting_layout in the page layout");
    return;
  }
  m_pSelectPanel = nullptr;
  for (int i = 0; i < container->GetCount(); ++i) {
    CControlUI* child = container->GetItemAt(i);
    if (!child || CDuiString(child->GetClass()) != "SelectPanel") continue;
    auto* panel = As<CContainerUI>(child, "Container");
    if (!panel) continue;
    if (!m_pSelectPanel) m_pSelectPanel = panel;
    BindSelectPanel(panel);
  }

  m_pDeviceProfilePanel = As<CDeviceProfileUI>(Find("DeviceProfileItem"), CDeviceProfileUI::kElementName);
  m_pProfilePanel = m_pDeviceProfilePanel;
  m_pLightControl = As<CLightControlUI>(Find("LightControlItem"), "LightControl");
  m_pLightPanel = m_pLightControl;
  m_pMacroPanel = Find("MacroControlItem");
  m_pShootPanel = Find("ShootControlItem");
  m_pKeySetPanel = As<CKeySetControlUI>(Find("KeySetControlItem"), CKeySetControlUI::kClassName);

  m_keyPanel.Bind(m_pKeySetPanel, &m_profile, m_deviceType);
  if (m_pKeySetPanel) {
    m_pKeySetPanel->SetMessageHandler([this](std::string_view key) { ShowMessage(key); });
    m_pKeySetPanel->SetStoredHandler([this] { RefreshKeyTexts(); });
    m_pKeySetPanel->SetSaveToDeviceHandler([this] { SaveKeysToDevice(); });
  }
  m_keyPanel.SetKeys({});
  m_profile.SetDefaultPath(DataFolders::DefaultProfilePath(m_modelName.str()));
  SetUpProfilePanel();
}

std::string CZantroveMouseDevice::DeviceFolder() const {
  return DataFolders::DeviceAppDataFolder(m_modelName.str());
}

void CZantroveMouseDevice::SetUpProfilePanel() {
  if (!m_pDeviceProfilePanel || m_modelName.IsEmpty()) return;
  m_pDeviceProfilePanel->SetDeviceType(m_deviceType);
  m_pDeviceProfilePanel->SetPaths(DeviceFolder(), DataFolders::DefaultProfilePath(m_modelName.str()));
  m_pDeviceProfilePanel->LoadProfileList();
  m_pDeviceProfilePanel->SelectTab(1);
  if (!m_pDeviceProfilePanel->CurrentUuid().empty())
    m_profileId = m_pDeviceProfilePanel->CurrentUuid().c_str();
}

int CZantroveMouseDevice::ApplyProfileLighting() {
  // The mouse has one lighting zone; its preview restarts from the record.
  m_lightSettings[0] = m_profile.ReadLightSetting();
  ApplyLightSettings();
  return 1;
}

void CZantroveMouseDevice::ReadDevice() {
  const int result = m_operations->ReadDevice();
  if (result == kResultOk) {
    m_deviceInfo = m_operations->Info();
    m_keyPanel.Slots().FindSlots(m_operations->KeyMap(), MouseFactoryKeyTable);
    m_limits.step = m_deviceInfo.DpiStep();
    m_limits.highestSteps = m_deviceInfo.HighestDpiSteps();
    m_limits.lowestDpi = m_deviceInfo.LowestDpi();
    for (int stage = 0; stage < kStageCount; ++stage) {
      if (CSliderUI* slider = StageSlider(stage)) {
        slider->SetMinValue(0);
        slider->SetMaxValue(m_limits.highestSteps);
      }
      if (CEditUI* edit = StageEdit(stage)) {
        edit->SetMinNumber(0);
        edit->SetMaxNumber(m_limits.HighestDpi());
      }
    }
  } else {
    // No key table: no key has a slot, so nothing is written over keys the
    // page does not know.
    m_keyPanel.Slots().Clear();
    DebugPrintf("mouse: reading the device failed (%d)", result);
  }
  StartLightingThreads();
  LoadActiveProfile();
  RefreshControls();
}

void CZantroveMouseDevice::ReadCurrentProfile() {
  if (!m_commandChannel.IsConnected()) return;
  const int result = m_operations->ReadCurrentProfile();
  if (result != kResultOk) {
    DebugPrintf("mouse: reading the current profile failed (%d)", result);
    return;
  }
  const auto state = MouseProfileRecord::Parse(m_operations->ProfileRecord(), IsWireless());
  if (!state) return;
  LightSetting light = m_profile.ReadLightSetting();
  // A host-animated mode (9 and up) goes to the mouse as 0; reading that 0
  // back must not lose the mode the profile keeps.
  if (!(state->lightMode == 0 && light.selectItem >= MouseProfileRecord::kDeviceModeCount))
    light.selectItem = static_cast<std::uint8_t>(state->lightMode);
  light.light = static_cast<std::uint8_t>(state->brightness);
  light.speed = static_cast<std::uint8_t>(state->speed);
  light.multiColor = static_cast<std::uint8_t>(state->multiColour);
  light.red = static_cast<std::uint8_t>(state->red);
  light.green = static_cast<std::uint8_t>(state->green);
  light.blue = static_cast<std::uint8_t>(state->blue);
  m_profile.WriteLightSetting(light);
  m_activeStage = state->activeStage;
  m_profile.SetActiveStage(m_activeStage);
  SaveActiveProfile();
  m_lightSettings[0] = light;
  ApplyLightSettings();
  RefreshControls();
}

int CZantroveMouseDevice::LoadActiveProfile() {
  SetProfilePaths();
  m_profile.LoadProfile(m_profile.GetProfilePath());
  m_keyPanel.SetKeys(m_profile.ReadKeyList());
  m_stages = m_profile.ReadDpiStages();
  m_activeStage = m_profile.GetActiveStage();
  m_system = m_profile.ReadSystemSettings();
  m_profile.ReadCorrectInfo();
  m_profileLoaded = true;
  ApplyProfileLighting();
  return 1;
}

void CZantroveMouseDevice::LoadDefaultProfile() {
  SetProfilePaths();
  if (m_profile.LoadProfile(m_profile.GetDefaultPath()).empty()) {
    // Saving nothing over the user's profile would lose it: keep it instead.
    OutputDebugString("mouse: the default profile could not be read, the profile stays");
    LoadActiveProfile();
    return;
  }
  m_keyPanel.SetKeys(m_profile.ReadKeyList());
  m_stages = m_profile.ReadDpiStages();
  m_activeStage = m_profile.GetActiveStage();
  m_system = m_profile.ReadSystemSettings();
  m_profile.ReadCorrectInfo();
  m_profileLoaded = true;
  ApplyProfileLighting();
  // The defaults become the active profile's content.
  SaveActiveProfile();
  RefreshControls();
}

void CZantroveMouseDevice::ShowStageChecks() {
  for (int stage = 0; stage < kStageCount; ++stage) {
    const bool exists = stage < static_cast<int>(m_stages.size());
    // The checks show what the profile stores.
    const bool on = exists && m_stages[static_cast<std::size_t>(stage)].stageActive != 0;
    if (CControlUI* layout = FindNumbered(kStageLayout, stage)) layout->SetEnabled(on);
    if (CCheckBoxUI* check = StageCheck(stage)) check->SetCheck(on, false);
    setStageControls(stage, exists ? m_stages[static_cast<std::size_t>(stage)].stageDpiX : 0);
  }
  ApplyStageChecksRule();
}

void CZantroveMouseDevice::RefreshControls() {
  ReloadNameLists();
  RefreshKeyTexts();
  if (m_pLightControl) m_pLightControl->ShowLightSetting(LightZone::kMain, m_lightSettings[0]);
  ShowStageChecks();
  if (CSliderUI* slider = As<CSliderUI>(Find("pointer_speed_slider"), "Slider"))
    slider->SetValue(m_system.mouseSpeed);
  if (CCheckBoxUI* check = As<CCheckBoxUI>(Find("pointer_precision_check"), "CheckBox"))
    check->SetCheck(m_system.pointerPrecision != 0, false);
  if (CSliderUI* slider = As<CSliderUI>(Find("double_click_slider"), "Slider"))
    slider->SetValue(m_system.doubleClickTime);
  setScroll(m_system.scrollPage != 0, m_system.wheelScrollLines);
  selectPollingRate(m_system.reportRate);
}

void CZantroveMouseDevice::ValidateMacroKeys() {
  ReloadNameLists();
  if (m_keyPanel.Keys().ValidateMacroKeys(m_keyPanel.MacroNames().size())) {
    m_profile.WriteKeyList(m_keyPanel.Keys().Entries());
    RefreshKeyTexts();
  }
}

int CZantroveMouseDevice::WriteKeyTable(int /*profile*/, const std::vector<KeyEntry>& keys) {
  // The key table is the device's one table (block 0) whatever profile is asked for.
  const int result = KeyTableWriter::WriteKeyTable(*m_operations, keys, m_keyPanel.Slots());
  if (result != kResultOk) DebugPrintf("mouse: key table not written (%d)", result);
  return result;
}

int CZantroveMouseDevice::DownloadKeys(int profile) {
  const std::vector<KeyEntry> keys = m_keyPanel.Keys().Entries();
  return WriteKeyTable(profile, keys);
}

std::array<std::uint8_t, MouseProfileRecord::kWriteLength> CZantroveMouseDevice::BuildRecord() const {
  MouseRecordInput input;
  input.light = m_profile.GetLightSetting();
  input.pollingRate = m_system.reportRate;
  input.activeStage = m_activeStage;
  input.stages = m_stages;
  input.correction = m_profile.GetCorrectInfo();
  input.screenWidth = ScreenWidth();
  input.screenHeight = ScreenHeight();
  input.wireless = IsWireless();
  return MouseProfileRecord::Build(input);
}

int CZantroveMouseDevice::WriteRecord(int profile, const std::function<void()>& whileSettling) {
  const auto record = BuildRecord();
  const int result = m_operations->WriteProfileRecord(profile, record, whileSettling);
  if (result != kResultOk && m_commandChannel.IsConnected())
    DebugPrintf("mouse: profile record %d not written (%d)", profile, result);
  return result;
}

int CZantroveMouseDevice::WriteProfileRecord(int profile) { return WriteRecord(profile, {}); }

void CZantroveMouseDevice::ReloadNameLists() {
  // The base reads the macro list and the lighting panel's names.
  CZantroveUSBDevice::ReloadNameLists();
  std::vector<std::string> names = MacroNameList();
  if (names.size() > CBasicProfiledata::kMaxListEntries) names.resize(CBasicProfiledata::kMaxListEntries);
  if (names != m_keyPanel.MacroNames()) m_keyPanel.SetMacroNames(names);
}

void CZantroveMouseDevice::SelectFunctionTab(int kind) {
  if (kind == 4 && m_deviceType == kDeviceWirelessMouse) {
    // A mouse on the receiver has the same system tab as a wired one.
    m_functionTab = kind;
    if (CTabLayoutUI* function = FindTabLayout(m_pFunctionSwitch, "device_function_switch"))
      function->SelectItem(3);
  } else {
    CZantroveUSBDevice::SelectFunctionTab(kind);
  }
  if (CControlUI* hint = Find("device_tishi_info")) hint->SetVisible(false);
}

void CZantroveMouseDevice::SetProfilePaths() {
  if (m_profileId.IsEmpty() && m_pDeviceProfilePanel && !m_pDeviceProfilePanel->CurrentUuid().empty())
    m_profileId = m_pDeviceProfilePanel->CurrentUuid().c_str();
  if (m_profileId.IsEmpty() || m_modelName.IsEmpty()) return;
  const std::string folder = DeviceFolder();
  m_profile.SetProfilePath(folder + m_profileId.str() + ".Json");
  m_profile.SetLightConfigPath(folder + m_lightPrefix.str() + ".config");
}

void CZantroveMouseDevice::GetProfilePath(CDuiString& out) const { out = m_profile.GetProfilePath().c_str(); }

void CZantroveMouseDevice::SaveActiveProfile() {
  if (!m_profileLoaded) return;
  if (!m_profile.SaveProfile())
    DebugPrintf("mouse: profile not saved to %s", m_profile.GetProfilePath().c_str());
}

void CZantroveMouseDevice::SetModelNumber(int number) {
  CZantroveUSBDevice::SetModelNumber(number);
  m_profile.ResetState();
  m_profile.SetDeviceIndex(0);
}

void CZantroveMouseDevice::SetLightSetting(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                                           std::uint32_t w3, std::uint32_t w4, std::uint32_t w5,
                                           std::uint32_t w6, std::uint16_t h, std::uint8_t b) {
  CZantroveUSBDevice::SetLightSetting(w0, w1, w2, w3, w4, w5, w6, h, b);
  m_profile.WriteLightSetting(MakeLightSetting(w0, w1, w2, w3, w4, w5, w6, h, b));
}

void CZantroveMouseDevice::showKey(int index) {
  CZantroveUSBDevice::showKey(index);
  m_keyPanel.ShowKey(index);
}

void CZantroveMouseDevice::RefreshKeyTexts() {
  m_keyPanel.RefreshKeyTexts(
      m_keyButtons, Find(KeyPanelBinding::kKeyInfoListName), IsEnabled(), [](std::string_view key) {
        return CResourceManager::GetInstance()->GetText(std::string(key).c_str()).str();
      });
}

void CZantroveMouseDevice::ShowMessage(std::string_view key, bool isResource) const {
  if (m_messageSink) {
    m_messageSink(key, isResource);
  } else {
    DebugPrintf("mouse: message %.*s", static_cast<int>(key.size()), key.data());
  }
}

void CZantroveMouseDevice::SaveKeysToDevice() {
  KeySaveToDevice::Steps steps;
  steps.downloadMacros = [this] { return DownloadMacros(0); };
  steps.downloadKeys = [this] { return DownloadKeys(0); };
  steps.saveProfile = [this] {
    if (!m_profileLoaded) return false;
    return m_profile.SaveProfile();
  };
  steps.revertSelectedKey = [this] {
    if (!m_pKeySetPanel) return;
    if (KeyAssignmentEditor* editor = m_keyPanel.Editor()) {
      const KeyStoreOutcome outcome = editor->RevertSelectedToDefault();
      if (outcome.view) m_pKeySetPanel->ApplyView(*outcome.view);
      if (outcome.stored()) RefreshKeyTexts();
    }
  };
  const KeySaveOutcome outcome = KeySaveToDevice::Run(steps);
  if (outcome.messageKey == KeySaveToDevice::kTooLargeMessage) {
    const std::string format =
        CResourceManager::GetInstance()->GetText(std::string(outcome.messageKey).c_str()).str();
    char text[256];
    std::snprintf(text, sizeof text, format.c_str(), outcome.messageArgument);
    ShowMessage(text, false);
  } else if (!outcome.messageKey.empty()) {
    ShowMessage(outcome.messageKey);
  }
  if (outcome.keysWritten && outcome.keyResult != kResultOk)
    ShowMessage(KeySaveToDevice::kUnreachableMessage);
  if (m_pKeySetPanel) m_pKeySetPanel->setButtonsEnabled(false);
}

// ---- DPI stages ----

bool CZantroveMouseDevice::isStageChecked(int stage) const {
  const CCheckBoxUI* check = StageCheck(stage);
  return check && check->GetCheck();
}

void CZantroveMouseDevice::ApplyStageChecksRule() {
  int checked = 0;
  int last = -1;
  for (int stage = 0; stage < kStageCount; ++stage) {
    if (isStageChecked(stage)) {
      ++checked;
      last = stage;
    }
  }
  for (int stage = 0; stage < kStageCount; ++stage)
    if (CCheckBoxUI* check = StageCheck(stage)) check->SetEnabled(!(checked == 1 && stage == last));
}

void CZantroveMouseDevice::enableStage(int stage, bool on) {
  if (CControlUI* layout = FindNumbered(kStageLayout, stage)) layout->SetEnabled(on);
  if (CCheckBoxUI* check = StageCheck(stage)) check->SetCheck(on, false);
  ApplyStageChecksRule();
}

void CZantroveMouseDevice::setStageControls(int stage, int steps) {
  const bool active = stage == m_activeStage;
  if (CSliderUI* slider = StageSlider(stage)) {
    slider->SetValue(steps);
    slider->SetForeImage(active ? kActiveSliderFore : kSliderFore);
    const char* thumb = active ? kActiveSliderThumb : kSliderThumb;
    slider->SetThumbImage(thumb);
    slider->SetThumbHotImage(thumb);
    slider->SetThumbPushedImage(thumb);
  }
  if (CEditUI* edit = StageEdit(stage)) edit->SetText(DpiStageRules::DpiText(steps, m_limits).c_str());
  // The stage's own colour, as the mouse shows it while the stage is active.
  if (CControlUI* swatch = FindNumbered("DPI_color_", stage);
      swatch && stage < static_cast<int>(m_stages.size())) {
    const DpiStage& s = m_stages[static_cast<std::size_t>(stage)];
    swatch->SetBkColor(0xFF000000u | (DWORD{s.red} << 16) | (DWORD{s.green} << 8) | DWORD{s.blue});
  }
}

int CZantroveMouseDevice::stageSliderValue(int stage) const {
  const CSliderUI* slider = StageSlider(stage);
  return slider ? slider->GetValue() : 0;
}

int CZantroveMouseDevice::stageEditValue(int stage) const {
  const CEditUI* edit = StageEdit(stage);
  return DpiStageRules::EditValue(edit ? edit->GetText().str() : std::string(), m_limits);
}

void CZantroveMouseDevice::GrowStages(int stage) {
  if (stage >= static_cast<int>(m_stages.size())) m_stages.resize(static_cast<std::size_t>(stage) + 1);
}

void CZantroveMouseDevice::StoreStages() { m_profile.WriteDpiStages(m_stages); }

int CZantroveMouseDevice::CommitStageChange() {
  return WriteRecord(0, [this] { SaveActiveProfile(); });
}

void CZantroveMouseDevice::OnStageSliderReleased(int stage) {
  if (stage < 0 || stage >= kStageCount) return;
  const int steps = DpiStageRules::ClampSteps(stageSliderValue(stage), m_limits);
  setStageControls(stage, steps);
  GrowStages(stage);
  m_stages[static_cast<std::size_t>(stage)].stageDpiX = static_cast<std::uint16_t>(steps);
  StoreStages();
  CommitStageChange();
}

void CZantroveMouseDevice::OnStageEditLeft(int stage) {
  if (stage < 0 || stage >= kStageCount) return;
  const int current =
      stage < static_cast<int>(m_stages.size()) ? m_stages[static_cast<std::size_t>(stage)].stageDpiX : 0;
  const auto steps = DpiStageRules::StepsFromDpi(stageEditValue(stage), m_limits);
  if (!steps) {
    // The device has not told its DPI step yet: the value cannot be turned
    // into steps, and the edit shows the stage as it is.
    OutputDebugString("mouse: DPI step unknown, the edit is not taken");
    setStageControls(stage, current);
    return;
  }
  setStageControls(stage, *steps);
  GrowStages(stage);
  m_stages[static_cast<std::size_t>(stage)].stageDpiX = static_cast<std::uint16_t>(*steps);
  StoreStages();
  CommitStageChange();
}

void CZantroveMouseDevice::OnStageCheckChanged(int stage, bool selected) {
  if (stage < 0 || stage >= kStageCount) return;
  if (!selected) {
    bool another = false;
    for (int other = 0; other < kStageCount; ++other)
      if (other != stage && isStageChecked(other)) another = true;
    if (!another) {
      // The last enabled stage stays on: a mouse needs one stage to run.
      enableStage(stage, true);
      return;
    }
  }
  enableStage(stage, selected);
  GrowStages(stage);
  m_stages[static_cast<std::size_t>(stage)].stageActive = selected ? 1 : 0;
  StoreStages();
  CommitStageChange();
}

void CZantroveMouseDevice::setStages(const std::vector<DpiStage>& stages) {
  m_stages = stages;
  StoreStages();
}

// ---- Polling rate and pointer settings ----

void CZantroveMouseDevice::selectPollingRate(int index) {
  if (index < 0 || index >= kPollingRateCount) index = 0;
  for (int i = 0; i < kPollingRateCount; ++i)
    if (auto* option = As<COptionUI>(FindNumbered(kPollingOption, i), "Option"))
      option->Selected(i == index, false);
}

void CZantroveMouseDevice::OnPollingRateSelected(int index) {
  if (index < 0 || index >= kPollingRateCount) index = 0;
  selectPollingRate(index);
  m_system.reportRate = static_cast<std::uint16_t>(index);
  m_profile.WriteSystemSettings(m_system);
  CommitStageChange();
}

void CZantroveMouseDevice::setPointerSpeed(int speed) {
  m_system.mouseSpeed = static_cast<std::uint16_t>(std::clamp(speed, 0, 0xFFFF));
  m_profile.WriteSystemSettings(m_system);
}

void CZantroveMouseDevice::setPointerPrecision(bool on) {
  m_system.pointerPrecision = on ? 1 : 0;
  m_profile.WriteSystemSettings(m_system);
}

void CZantroveMouseDevice::setScroll(bool byPage, int lines) {
  if (CCheckBoxUI* check = As<CCheckBoxUI>(Find("scrolls_page_check"), "CheckBox"))
    check->SetCheck(byPage, false);
  if (CSliderUI* slider = As<CSliderUI>(Find("scroll_speed_slider"), "Slider")) slider->SetValue(lines);
}

void CZantroveMouseDevice::setDoubleClick(int time) {
  m_system.doubleClickTime = static_cast<std::uint16_t>(std::clamp(time, 0, 0xFFFF));
  m_profile.WriteSystemSettings(m_system);
}

void CZantroveMouseDevice::setPointerSettings(const MouseSystemSettings& settings) {
  m_system = settings;
  m_profile.WriteSystemSettings(m_system);
}

// ---- The alternative DPI controls ----

void CZantroveMouseDevice::OnMirrorSliderMoved(int number) {
  auto* slider = As<CSliderUI>(FindNumbered(kMirrorSlider, number), "Slider");
  auto* edit = As<CEditUI>(FindNumbered(kMirrorEdit, number), "Edit");
  if (slider && edit) edit->SetText(std::to_string(slider->GetValue()).c_str());
}

void CZantroveMouseDevice::OnMirrorEditLeft(int number) {
  auto* edit = As<CEditUI>(FindNumbered(kMirrorEdit, number), "Edit");
  if (!edit) return;
  const int value = DpiStageRules::ClampMirror(DpiStageRules::EditValue(edit->GetText().str(), DpiLimits{}));
  edit->SetText(std::to_string(value).c_str());
  if (auto* slider = As<CSliderUI>(FindNumbered(kMirrorSlider, number), "Slider")) slider->SetValue(value);
}

// ---- Notifications ----

void CZantroveMouseDevice::OnPageNotify(TNotifyUI& msg) {
  if (!msg.pSender) return;
  const std::string name = msg.pSender->GetName().str();
  const std::string& type = msg.sType.str();
  std::string prefix;
  int number = -1;
  const bool numbered = SplitNumbered(name, &prefix, &number);

  if (type == DUI_MSGTYPE_VALUECHANGED || type == "movevaluechanged") {
    const bool released = type == DUI_MSGTYPE_VALUECHANGED;
    if (numbered && prefix == kMirrorSlider) {
      OnMirrorSliderMoved(number);
    } else if (numbered && prefix == kStageSlider) {
      if (released) {
        OnStageSliderReleased(number);
      } else if (CEditUI* edit = StageEdit(number)) {
        // While dragging the edit follows; the stage changes on release.
        edit->SetText(DpiStageRules::DpiText(stageSliderValue(number), m_limits).c_str());
      }
    } else if (released && Is(name, "pointer_speed_slider")) {
      setPointerSpeed(As<CSliderUI>(msg.pSender, "Slider")->GetValue());
      SaveActiveProfile();
    } else if (released && Is(name, "double_click_slider")) {
      setDoubleClick(As<CSliderUI>(msg.pSender, "Slider")->GetValue());
      SaveActiveProfile();
    } else if (released && Is(name, "scroll_speed_slider")) {
      m_system.wheelScrollLines =
          static_cast<std::uint16_t>(As<CSliderUI>(msg.pSender, "Slider")->GetValue());
      setScroll(m_system.scrollPage != 0, m_system.wheelScrollLines);
      m_profile.WriteSystemSettings(m_system);
      SaveActiveProfile();
    }
  } else if (type == DUI_MSGTYPE_KILLFOCUS) {
    if (numbered && prefix == kMirrorEdit) {
      OnMirrorEditLeft(number);
    } else if (numbered && prefix == kStageEdit) {
      OnStageEditLeft(number);
    }
  } else if (type == DUI_MSGTYPE_SELECTCHANGED) {
    auto* option = As<COptionUI>(msg.pSender, "Option");
    if (!option) return;
    if (numbered && prefix == kStageCheck) {
      OnStageCheckChanged(number, option->IsSelected());
    } else if (numbered && prefix == kPollingOption) {
      if (option->IsSelected()) OnPollingRateSelected(number);
    } else if (Is(name, "pointer_precision_check")) {
      setPointerPrecision(option->IsSelected());
      SaveActiveProfile();
    } else if (Is(name, "scrolls_page_check")) {
      m_system.scrollPage = option->IsSelected() ? 1 : 0;
      if (CSliderUI* slider = As<CSliderUI>(Find("scroll_speed_slider"), "Slider"))
        m_system.wheelScrollLines = static_cast<std::uint16_t>(slider->GetValue());
      setScroll(m_system.scrollPage != 0, m_system.wheelScrollLines);
      m_profile.WriteSystemSettings(m_system);
      SaveActiveProfile();
    }
  }
  // The key panel's own controls ("key_butt_…", its combos and edits) are
  // handled by the panel itself.
}

void RegisterMouseDevicePage() {
  CControlFactory* factory = CControlFactory::GetInstance();
  CreateClass create = []() -> CControlUI* { return new CZantroveMouseDevice; };
  factory->RegistControl(CZantroveMouseDevice::kClassName, create);
  factory->RegistControl(CZantroveMouseDevice::kElementName, create);
}

}  // namespace ostrel
