#include "devices/CZantroveKeyboardDevice.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "controls/CDeviceKeyButtonUI.h"
#include "devicelink/DeviceProtocol.h"
#include "devices/CKeySetControlUI.h"
#include "devices/FactoryKeyTable.h"
#include "devices/KeySaveToDevice.h"
#include "devices/KeyTableWriter.h"
#include "devices/KeyTextRefresh.h"
#include "devices/KeyboardProfileRecord.h"
#include "platform/os/DebugLog.h"
#include "platform/ui/CControlFactory.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/CSliderUI.h"
#include "platform/ui/UIEvents.h"
#include "profiles/CDeviceProfileUI.h"
#include "profiles/DataFolders.h"
#include "profiles/DefaultProfileBuilder.h"
#include "profiles/JsonFileUtil.h"

namespace ostrel {
namespace {

// The number after the last "_" of a control name or user data, when the
// part before it (with the "_") is `prefix`.
bool NumberAfter(const CDuiString& text, const char* prefix, int* number) {
  const std::string s = text.str();
  const std::size_t cut = s.rfind('_');
  if (cut == std::string::npos || s.compare(0, cut + 1, prefix) != 0 || cut + 1 >= s.size()) return false;
  int value = 0;
  for (std::size_t i = cut + 1; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9' || value > 100000) return false;
    value = value * 10 + (s[i] - '0');
  }
  *number = value;
  return true;
}

std::string Translate(std::string_view key) {
  return CResourceManager::GetInstance()->GetText(std::string(key).c_str()).str();
}

}  // namespace

CZantroveKeyboardDevice::CZantroveKeyboardDevice()
    : m_slots(kKeyboardKeyCount, kKeyboardNoSlot), m_controls(this) {}

CZantroveKeyboardDevice::~CZantroveKeyboardDevice() {
  // The workers call this page's overrides: they end before its members go.
  StopWorkers();
  // The key panel is a child and goes after this page's members: it must
  // not reach the editor or the page meanwhile.
  if (m_pKeySetPanel) {
    m_pKeySetPanel->Model().SetEditor(nullptr);
    m_pKeySetPanel->SetStoredHandler({});
    m_pKeySetPanel->SetMessageHandler({});
    m_pKeySetPanel->SetSaveToDeviceHandler({});
  }
}

CControlUI* CZantroveKeyboardDevice::CreateControl() { return new CZantroveKeyboardDevice; }

void* CZantroveKeyboardDevice::GetInterface(const char* pstrName) {
  if (pstrName && CDuiString(pstrName) == kElementName) return this;
  return CZantroveUSBDevice::GetInterface(pstrName);
}

void CZantroveKeyboardDevice::DoInit() {
  CZantroveUSBDevice::DoInit();
  SetUpKeyPanel();
}

// ---- Binding ----

void CZantroveKeyboardDevice::InitPage() {
  if (m_layoutName.IsEmpty()) {
    CZantroveUSBDevice::InitPage();
    return;
  }
  BindPageControls();
}

void CZantroveKeyboardDevice::BindPageControls() {
  SelectKeyPanel(0);
  auto find = [this](const char* name) { return FindSubControl(name); };
  CControlUI* keySet = find(kKeySetPanelName);
  m_pKeySetPanel =
      keySet ? static_cast<CKeySetControlUI*>(keySet->GetInterface(CKeySetControlUI::kElementName)) : nullptr;
  CControlUI* profile = find(kProfilePanelName);
  m_pDeviceProfilePanel =
      profile ? static_cast<CDeviceProfileUI*>(profile->GetInterface(CDeviceProfileUI::kElementName))
              : nullptr;
  m_pProfilePanel = m_pDeviceProfilePanel;
  m_pLightPanel = find(kLightPanelName);
  m_pMacroPanel = find(kMacroPanelName);
  BindZoneLights(m_zone2Buttons, kLogoLightPrefix);
  BindZoneLights(m_zone3Buttons, kStLightPrefix);
  if (!m_pKeySetPanel) DebugPrintf("keyboard: the layout has no %s", kKeySetPanelName);
  if (!m_pDeviceProfilePanel) DebugPrintf("keyboard: the layout has no %s", kProfilePanelName);
  SetUpKeyPanel();
  SetUpProfilePanel();
}

void CZantroveKeyboardDevice::BindZoneLights(std::vector<CDeviceKeyButtonUI*>& buttons, const char* prefix) {
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    CControlUI* found = FindSubControl((prefix + std::to_string(i)).c_str());
    buttons[i] = found ? static_cast<CDeviceKeyButtonUI*>(found->GetInterface("DeviceKeyButton")) : nullptr;
  }
}

bool CZantroveKeyboardDevice::SelectKeyPanel(int panel) {
  const std::string name = kKeyPanelPrefix + std::to_string(panel);
  CControlUI* found = FindSubControl(name.c_str());
  auto* container = found ? static_cast<CContainerUI*>(found->GetInterface("Container")) : nullptr;
  if (!container) {
    DebugPrintf("keyboard: the layout has no %s", name.c_str());
    return false;
  }
  m_keyPanel = panel;
  m_pSelectPanel = container;
  std::fill(m_keyButtons.begin(), m_keyButtons.end(), nullptr);
  std::fill(m_ledButtons.begin(), m_ledButtons.end(), nullptr);
  for (int i = 0; i < container->GetCount(); ++i) {
    CControlUI* child = container->GetItemAt(i);
    if (!child || CDuiString(child->GetClass()) != "DeviceKeyButton") continue;
    auto* button = static_cast<CDeviceKeyButtonUI*>(child->GetInterface("DeviceKeyButton"));
    if (!button) continue;
    int number = 0;
    if (NumberAfter(button->GetName(), "key_", &number) && number < m_keyCount) m_keyButtons[number] = button;
    if (NumberAfter(button->GetUserData(), "light_", &number) && number < m_ledCount) {
      m_ledButtons[number] = button;
      ShowButtonLight(number, 0xFFFFFF, 255);
    }
  }
  return true;
}

void CZantroveKeyboardDevice::SetUpKeyPanel() {
  if (!m_pKeySetPanel) return;
  m_pKeySetPanel->bindControls();
  m_pKeySetPanel->setDeviceType(kDeviceKeyboard);
  m_pKeySetPanel->setEditorVisible(false);
  m_pKeySetPanel->setMacroNames(MacroNames());
  m_keyEditor.Attach(m_pKeySetPanel->Model(), m_keys, &m_profile);
  m_pKeySetPanel->SetStoredHandler([this] { refreshKeyTexts(); });
  m_pKeySetPanel->SetMessageHandler([this](std::string_view key) { ShowMessage(std::string(key), true); });
  m_pKeySetPanel->SetSaveToDeviceHandler([this] { SaveKeysToDevice(); });
}

void CZantroveKeyboardDevice::SetUpProfilePanel() {
  if (!m_pDeviceProfilePanel) return;
  m_pDeviceProfilePanel->SetDeviceType(kDeviceKeyboard);
  m_pDeviceProfilePanel->SetPaths(DeviceFolder(), DefaultProfilePath());
  m_pDeviceProfilePanel->LoadProfileList();
  m_pDeviceProfilePanel->SelectTab(kLightingTab);
  SetProfileId(m_pDeviceProfilePanel->CurrentUuid().c_str());
}

std::string CZantroveKeyboardDevice::DeviceFolder() const {
  std::string folder = m_dataFolder.IsEmpty() ? DataFolders::AppDataFolder() : m_dataFolder.str();
  if (!folder.empty() && folder.back() != '/') folder += '/';
  folder += m_modelName.IsEmpty() ? DefaultProfileBuilder::kKeyboardName : m_modelName.str();
  folder += '/';
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return folder;
}

std::string CZantroveKeyboardDevice::DefaultProfilePath() const {
  return DataFolders::DefaultProfilePath(m_modelName.IsEmpty() ? DefaultProfileBuilder::kKeyboardName
                                                               : m_modelName.str());
}

// ---- Profile ----

void CZantroveKeyboardDevice::SetProfilePaths() {
  m_profile.SetDefaultPath(DefaultProfilePath());
  if (!JsonFileUtil::IsValidId(m_profileId.str())) return;
  const std::string folder = DeviceFolder();
  m_profile.SetProfilePath(folder + m_profileId.str() + ".Json");
  m_profile.SetLightConfigPath(folder + m_lightPrefix.str() + ".config");
}

void CZantroveKeyboardDevice::GetProfilePath(CDuiString& out) const {
  out = m_profile.GetProfilePath().c_str();
}

int CZantroveKeyboardDevice::LoadActiveProfile() {
  if (!JsonFileUtil::IsValidId(m_profileId.str())) {
    OutputDebugString("keyboard: no profile chosen, nothing loaded");
    return 0;
  }
  SetProfilePaths();
  m_profile.LoadProfile(m_profile.GetProfilePath());
  m_profileLoaded = true;
  TakeProfile();
  // A profile chosen in the profile panel shows at once.
  RefreshControls();
  return 1;
}

void CZantroveKeyboardDevice::LoadDefaultProfile() {
  SetProfilePaths();
  const Json::Value& section = m_profile.LoadProfile(DefaultProfilePath());
  if (section.empty()) {
    // Saving nothing over the user's profile would lose it: keep it instead.
    OutputDebugString("keyboard: the default profile could not be read, the profile stays");
    LoadActiveProfile();
    return;
  }
  m_profileLoaded = JsonFileUtil::IsValidId(m_profileId.str());
  TakeProfile();
  SaveActiveProfile();
  RefreshControls();
}

void CZantroveKeyboardDevice::TakeProfile() {
  std::vector<KeyEntry> keys = m_profile.ReadKeyList();
  // A profile with fewer keys leaves the rest their factory functions.
  keys.resize(std::min<std::size_t>(keys.size(), kKeyboardKeyCount));
  for (std::size_t i = keys.size(); i < kKeyboardKeyCount; ++i)
    keys.push_back({KeyboardFactoryKeyTable[i], KeyboardFactoryKeyTable[i]});
  m_keys.SetEntries(std::move(keys));
  m_system = m_profile.ReadSystemSettings();
  m_profile.ReadCustomGroupIndex();
  ApplyProfileLighting();
}

int CZantroveKeyboardDevice::ApplyProfileLighting() {
  m_lightSettings[0] = m_profile.ReadLightSetting();
  m_lightSettings[1] = m_profile.ReadLogoLightSetting();
  m_lightSettings[2] = m_profile.ReadStLightSetting();
  ApplyLightSettings();
  return 1;
}

void CZantroveKeyboardDevice::SaveActiveProfile() { SaveProfileFile(); }

bool CZantroveKeyboardDevice::SaveProfileFile() {
  if (!m_profileLoaded) {
    // Before a load the profile object holds nothing of the user's profile;
    // saving it would overwrite the file with an empty section.
    OutputDebugString("keyboard: no profile loaded, nothing saved");
    return false;
  }
  if (m_profile.SaveProfile()) return true;
  DebugPrintf("keyboard: the profile %s could not be saved", m_profile.GetProfilePath().c_str());
  return false;
}

void CZantroveKeyboardDevice::SetModelNumber(int number) {
  CZantroveUSBDevice::SetModelNumber(number);
  m_profile.ResetState();
  m_profile.SetDeviceIndex(0);
  m_profileLoaded = false;
}

// ---- Device ----

void CZantroveKeyboardDevice::ReadDevice() {
  std::map<int, int> keyLeds;
  if (CommandChannel().IsConnected() && Operations().ReadDevice() == kResultOk) {
    const auto keyMap = Operations().KeyMap();
    const auto attributes = Operations().KeyAttributes();
    std::copy_n(keyMap.begin(), std::min(keyMap.size(), m_keyMap.size()), m_keyMap.begin());
    std::copy_n(attributes.begin(), std::min(attributes.size(), m_keyAttributes.size()),
                m_keyAttributes.begin());
    m_slots.FindSlots(keyMap, KeyboardFactoryKeyTable);
  } else {
    m_slots.Clear();
  }
  const std::vector<std::uint8_t> leds = m_slots.SlotAttributes(Operations().KeyAttributes());
  m_uiKeyToSlot.clear();
  m_slotToAttribute.clear();
  for (std::size_t key = 0; key < m_slots.KeyCount(); ++key) {
    const int led = key < leds.size() ? leds[key] : KeySlotMap::kNoLed;
    keyLeds[static_cast<int>(key)] = led;
    if (m_slots.HasSlot(key)) {
      m_uiKeyToSlot[static_cast<int>(key)] = m_slots.Slot(key);
      m_slotToAttribute[m_slots.Slot(key)] = led;
    }
    DebugPrintf("%d,%d", static_cast<int>(key), led);
  }
  SetKeyLedMap(keyLeds);
  LoadActiveProfile();
  ReadProfileRecord();
  RefreshControls();
  StartLightingThreads();
}

void CZantroveKeyboardDevice::ReadCurrentProfile() {
  if (m_profileReload.exchange(false)) {
    // The device switched profiles itself: the panel's list may have
    // changed on disk too.
    if (m_pDeviceProfilePanel) {
      m_pDeviceProfilePanel->LoadProfileList();
      SetProfileId(m_pDeviceProfilePanel->CurrentUuid().c_str());
    }
    LoadActiveProfile();
  }
  ReadProfileRecord();
  RefreshControls();
}

void CZantroveKeyboardDevice::ReadProfileRecord() {
  if (!CommandChannel().IsConnected()) return;
  if (Operations().ReadCurrentProfile() != kResultOk) return;
  LightSetting main = m_lightSettings[0], logo = m_lightSettings[1], strip = m_lightSettings[2];
  if (!KeyboardProfileRecord::ReadZones(Operations().ProfileRecord(), main, logo, strip)) return;
  m_lightSettings[0] = main;
  m_lightSettings[1] = logo;
  m_lightSettings[2] = strip;
  ApplyLightSettings();
}

int CZantroveKeyboardDevice::WriteProfileRecord(int profile) {
  const KeyboardProfileRecord::Bytes record =
      KeyboardProfileRecord::Build(m_lightSettings[0], m_lightSettings[1], m_lightSettings[2], m_system, 0);
  if (!CommandChannel().IsConnected() || profile < 0) return 0;
  return Operations().WriteProfileRecord(profile, record);
}

int CZantroveKeyboardDevice::WriteKeyTable(int /*profile*/, const std::vector<KeyEntry>& keys) {
  if (!CommandChannel().IsConnected()) return 0;
  return KeyTableWriter::WriteKeyTable(Operations(), keys, m_slots);
}

int CZantroveKeyboardDevice::DownloadKeys(int profile) {
  const std::vector<KeyEntry> keys = m_keys.Entries();
  return WriteKeyTable(profile, keys);
}

// ---- Controls ----

std::vector<std::string> CZantroveKeyboardDevice::MacroNames() const { return MacroNameList(); }

void CZantroveKeyboardDevice::ReloadNameLists() {
  // The base reads the macro list and the lighting panel's names.
  CZantroveUSBDevice::ReloadNameLists();
  if (m_pKeySetPanel) m_pKeySetPanel->setMacroNames(MacroNames());
}

void CZantroveKeyboardDevice::RefreshControls() {
  ReloadNameLists();
  refreshKeyTexts();
  m_controls.Show(m_system);
}

void CZantroveKeyboardDevice::refreshKeyTexts() {
  const std::vector<std::string> names = MacroNames();
  const std::vector<KeyButtonText> texts = KeyTextRefresh::Keyboard(m_keys.Entries(), names, &Translate);
  for (std::size_t i = 0; i < texts.size() && i < m_keyButtons.size(); ++i) {
    CDeviceKeyButtonUI* button = m_keyButtons[i];
    if (!button) continue;
    button->SetUserToolTipTitle(texts[i].toolTitle.c_str());
    button->SetUserToolTipText(texts[i].toolText.c_str());
    if (button->IsKeySetImageHidden() != texts[i].sameAsLabel) {
      button->SetKeySetImageHidden(texts[i].sameAsLabel);
      button->Invalidate();
    }
  }
}

void CZantroveKeyboardDevice::ValidateMacroKeys() {
  ReloadNameLists();
  if (!m_keys.ValidateMacroKeys(MacroNames().size())) return;
  m_profile.WriteKeyList(m_keys.Entries());
  refreshKeyTexts();
}

void CZantroveKeyboardDevice::SelectFunctionTab(int kind) {
  CZantroveUSBDevice::SelectFunctionTab(kind);
  if (kind != kLightingTab && kind != kKeyTab) return;
  if (static_cast<std::size_t>(kFnKey) < m_keyButtons.size() && m_keyButtons[kFnKey])
    m_keyButtons[kFnKey]->SetEnabled(kind == kLightingTab);
}

void CZantroveKeyboardDevice::showKey(int index) {
  CZantroveUSBDevice::showKey(index);
  if (m_pKeySetPanel) m_pKeySetPanel->showKey(index);
}

void CZantroveKeyboardDevice::setKeyboardSettings(const KeyboardSystemSettings& settings) {
  m_system = settings;
  m_profile.WriteSystemSettings(m_system);
  m_controls.Show(m_system);
}

void CZantroveKeyboardDevice::StoreSystemSettings(bool writeRecord) {
  m_profile.WriteSystemSettings(m_system);
  SaveProfileFile();
  if (writeRecord) WriteProfileRecord(0);
}

void CZantroveKeyboardDevice::OnPageNotify(TNotifyUI& msg) {
  if (!msg.pSender) return;
  const std::string name = msg.pSender->GetName().str();
  const std::string type = msg.sType.str();
  using C = KeyboardSettingControls;
  if (type == DUI_MSGTYPE_SELECTCHANGED) {
    auto* option = static_cast<COptionUI*>(msg.pSender->GetInterface("Option"));
    if (!option) return;
    const bool selected = option->IsSelected();
    std::uint16_t* flag = name == C::kWinLockName  ? &m_system.winFlag
                          : name == C::kWFlagName  ? &m_system.wFlag
                          : name == C::kSixKeyName ? &m_system.key6Flag
                                                   : nullptr;
    if (flag) {
      *flag = selected ? 1 : 0;
      StoreSystemSettings(true);
      return;
    }
    // A group reports the option that was cleared as well: only the chosen one counts.
    if (!selected) return;
    if (int n = C::OptionNumber(name, C::kPollingRatePrefix); n >= 0) {
      m_system.pollingRate = static_cast<std::uint16_t>(n);
      m_controls.selectPollingRate(n);
      StoreSystemSettings(true);
    } else if (int d = C::OptionNumber(name, C::kScanDelayPrefix); d >= 0) {
      m_system.scanDelay = static_cast<std::uint16_t>(d);
      m_controls.selectScanDelay(d);
      StoreSystemSettings(true);
    } else if (int r = C::OptionNumber(name, C::kRepeatDelayPrefix); r >= 0) {
      m_system.repeatDelay = static_cast<std::uint16_t>(r);
      m_controls.selectRepeatDelay(r);
      StoreSystemSettings(false);
    }
  } else if (type == DUI_MSGTYPE_VALUECHANGED && name == C::kRepeatRateName) {
    if (auto* slider = static_cast<CSliderUI*>(msg.pSender->GetInterface("Slider"))) {
      m_system.repeat = static_cast<std::uint16_t>(std::max(0, slider->GetValue()));
      StoreSystemSettings(false);
    }
  } else if (type == DUI_MSGTYPE_CLICK && name == C::kResetRepeatName) {
    m_controls.clearRepeatTest();
  }
}

// ---- Lighting records ----

void CZantroveKeyboardDevice::SetLightSetting(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                                              std::uint32_t w3, std::uint32_t w4, std::uint32_t w5,
                                              std::uint32_t w6, std::uint16_t h, std::uint8_t b) {
  CZantroveUSBDevice::SetLightSetting(w0, w1, w2, w3, w4, w5, w6, h, b);
  m_profile.WriteLightSetting(LightSettingOfZone(0));
}

void CZantroveKeyboardDevice::SetLightSettingZone2(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                                                   std::uint32_t w3, std::uint32_t w4, std::uint32_t w5,
                                                   std::uint32_t w6, std::uint16_t h, std::uint8_t b) {
  CZantroveUSBDevice::SetLightSettingZone2(w0, w1, w2, w3, w4, w5, w6, h, b);
  m_profile.WriteLogoLightSetting(LightSettingOfZone(1));
}

void CZantroveKeyboardDevice::SetLightSettingZone3(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2,
                                                   std::uint32_t w3, std::uint32_t w4, std::uint32_t w5,
                                                   std::uint32_t w6, std::uint16_t h, std::uint8_t b) {
  CZantroveUSBDevice::SetLightSettingZone3(w0, w1, w2, w3, w4, w5, w6, h, b);
  m_profile.WriteStLightSetting(LightSettingOfZone(2));
}

// ---- Per-key colour groups ----

bool CZantroveKeyboardDevice::StoreCustomColours(int group, const std::vector<CustomColor>& colours) {
  if (!m_profileLoaded || group < 0 || group >= CKeyboardProfiledata::kMaxCustomGroups) return false;
  m_profile.WriteCustomColors(colours, group);
  return true;
}

std::vector<CustomColor> CZantroveKeyboardDevice::ReadCustomColours(int group, int count) {
  if (!m_profileLoaded || group < 0 || group >= CKeyboardProfiledata::kMaxCustomGroups || count <= 0)
    return {};
  return m_profile.ReadCustomColors(group,
                                    std::min(count, static_cast<int>(CBasicProfiledata::kMaxListEntries)));
}

void CZantroveKeyboardDevice::SetProfileCustomGroup(int group) {
  if (!m_profileLoaded || group < 0 || group >= CKeyboardProfiledata::kMaxCustomGroups) return;
  m_profile.WriteCustomGroupIndex(group);
}

// ---- Saving the keys ----

void CZantroveKeyboardDevice::SaveKeysToDevice() {
  KeySaveToDevice::Steps steps;
  steps.downloadMacros = [this] { return DownloadMacros(0); };
  steps.downloadKeys = [this] { return DownloadKeys(0); };
  steps.saveProfile = [this] { return SaveProfileFile(); };
  steps.revertSelectedKey = [this] {
    const std::optional<KeyPanelView> view = m_keyEditor.RevertSelectedToDefault();
    if (view && m_pKeySetPanel) m_pKeySetPanel->ApplyView(*view);
    refreshKeyTexts();
  };
  const KeySaveOutcome outcome = KeySaveToDevice::Run(steps);
  if (outcome.messageKey == KeySaveToDevice::kTooLargeMessage) {
    // The translation names where the number goes; it is never a format.
    std::string text = Translate(outcome.messageKey);
    const std::size_t at = text.find("%d");
    const std::string number = std::to_string(outcome.messageArgument);
    if (at == std::string::npos)
      text += number;
    else
      text.replace(at, 2, number);
    ShowMessage(text, false);
  } else if (!outcome.messageKey.empty()) {
    ShowMessage(std::string(outcome.messageKey), true);
  }
  if (m_pKeySetPanel) m_pKeySetPanel->setButtonsEnabled(false);
}

void CZantroveKeyboardDevice::ShowMessage(const std::string& text, bool isResource) {
  if (m_messageHandler) {
    m_messageHandler(text, isResource);
  } else if (m_pDeviceProfilePanel && m_pDeviceProfilePanel->Host()) {
    m_pDeviceProfilePanel->Host()->ShowMessage(text, isResource, IDeviceProfileHost::kButtonsOk);
  } else {
    DebugPrintf("keyboard: message %s", text.c_str());
  }
}

void RegisterKeyboardDevice() {
  CControlFactory* factory = CControlFactory::GetInstance();
  factory->RegistControl(CZantroveKeyboardDevice::kClassName, &CZantroveKeyboardDevice::CreateControl);
  factory->RegistControl(CZantroveKeyboardDevice::kElementName, &CZantroveKeyboardDevice::CreateControl);
}

}  // namespace ostrel
