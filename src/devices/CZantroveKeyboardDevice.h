#pragma once
// The keyboard's device page ("ZantroveKeyboardDevice", layout
// "XML\DeviceXml\keyboarddevice.xml"): 126 programmable keys with the key
// assignment panel, the three lighting zones of its onboard record, and the
// system options (polling rate, scan delay, Windows-key lock, the "W" flag,
// six-key rollover) with the key repeat settings that stay in the profile.
//
// Every user change follows one order: the page's copy, the device (the
// onboard profile record, except for the repeat settings), the profile
// object, the profile file. The lighting engine and its panel drive the
// zone records through the base; this page only loads them from the
// profile or the device and stores them back.

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/CZantroveUSBDevice.h"
#include "devices/KeyList.h"
#include "devices/KeySlotMap.h"
#include "devices/KeyboardKeyEditor.h"
#include "devices/KeyboardSettingControls.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/KeyboardSystemSettings.h"

namespace ostrel {

class CDeviceProfileUI;
class CKeySetControlUI;

class CZantroveKeyboardDevice : public CZantroveUSBDevice {
 public:
  static constexpr const char* kClassName = "CZantroveKeyboardDevice";
  static constexpr const char* kElementName = "ZantroveKeyboardDevice";
  static constexpr const char* kKeyPanelPrefix = "keyboard_device_key_light_";
  // The logo's and the St strip's light buttons, outside the key panel so
  // that a key selection never takes them.
  static constexpr const char* kLogoLightPrefix = "logo_light_";
  static constexpr const char* kStLightPrefix = "st_light_";
  static constexpr const char* kKeySetPanelName = "KeySetControlItem";
  static constexpr const char* kLightPanelName = "LightControlItem";
  static constexpr const char* kProfilePanelName = "DeviceProfileItem";
  static constexpr const char* kMacroPanelName = "MacroControlItem";
  // The Fn key: it can be chosen on the lighting tab, not on the key tab
  // (the keyboard needs it to reach its own functions).
  static constexpr int kFnKey = 111;
  static constexpr int kLightingTab = 1;
  static constexpr int kKeyTab = 2;
  static constexpr int kZoneCount = 3;

  CZantroveKeyboardDevice();
  ~CZantroveKeyboardDevice() override;

  static CControlUI* CreateControl();

  const char* GetClass() const override { return kElementName; }
  void* GetInterface(const char* pstrName) override;
  // The panels build their layouts when the page joins the window; the key
  // panel is set up again then.
  void DoInit() override;

  // ---- Page operations ----
  void InitPage() override;
  int ApplyProfileLighting() override;
  void ReadDevice() override;
  void ReadCurrentProfile() override;
  int LoadActiveProfile() override;
  void RefreshControls() override;
  void ValidateMacroKeys() override;
  void LoadDefaultProfile() override;
  int WriteKeyTable(int profile, const std::vector<KeyEntry>& keys) override;
  int DownloadKeys(int profile) override;
  int WriteProfileRecord(int profile) override;
  void ReloadNameLists() override;
  void SelectFunctionTab(int kind) override;
  void SetProfilePaths() override;
  void GetProfilePath(CDuiString& out) const override;
  void SaveActiveProfile() override;
  void SetModelNumber(int number) override;
  void SetLightSetting(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3,
                       std::uint32_t w4, std::uint32_t w5, std::uint32_t w6, std::uint16_t h,
                       std::uint8_t b) override;
  void SetLightSettingZone2(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3,
                            std::uint32_t w4, std::uint32_t w5, std::uint32_t w6, std::uint16_t h,
                            std::uint8_t b) override;
  void SetLightSettingZone3(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3,
                            std::uint32_t w4, std::uint32_t w5, std::uint32_t w6, std::uint16_t h,
                            std::uint8_t b) override;
  void showKey(int index) override;

  void OnPageNotify(TNotifyUI& msg) override;

  // ---- Per-key colour groups in the profile ----
  bool StoreCustomColours(int group, const std::vector<CustomColor>& colours) override;
  std::vector<CustomColor> ReadCustomColours(int group, int count) override;
  void SetProfileCustomGroup(int group) override;

  // ---- Worker operations ----
  // The device asks for its profile to be loaded again (usage 0x0402): the
  // next ReadCurrentProfile reloads the profile first. Any thread.
  void OnProfileReloadRequest() override { m_profileReload.store(true); }
  bool IsProfileReloadPending() const { return m_profileReload.load(); }
  int LightingZoneCount() const override { return kZoneCount; }
  const char* LightingExitText() const override { return "KB灯光线程设定退出"; }

  // ---- The keyboard's own operations ----
  void BindPageControls();
  // Binds the key buttons ("key_"n) and LED buttons (user data "light_"n)
  // of panel "keyboard_device_key_light_"n. False when there is no such panel.
  bool SelectKeyPanel(int panel);
  void BindZoneLights(std::vector<CDeviceKeyButtonUI*>& buttons, const char* prefix);
  // The tooltip and same-as-label state of every key button from its function.
  void refreshKeyTexts();

  // Operations of the window on the system controls.
  void selectPollingRate(int index) { m_controls.selectPollingRate(index); }
  void selectScanDelay(int index) { m_controls.selectScanDelay(index); }
  void selectRepeatDelay(int index) { m_controls.selectRepeatDelay(index); }
  void setWinLock(bool on) { m_controls.SetFlag(KeyboardSettingControls::kWinLockName, on); }
  bool winLock() const { return m_controls.Flag(KeyboardSettingControls::kWinLockName); }
  void setWFlag(bool on) { m_controls.SetFlag(KeyboardSettingControls::kWFlagName, on); }
  bool wFlag() const { return m_controls.Flag(KeyboardSettingControls::kWFlagName); }
  void setSixKey(bool on) { m_controls.SetFlag(KeyboardSettingControls::kSixKeyName, on); }
  bool sixKey() const { return m_controls.Flag(KeyboardSettingControls::kSixKeyName); }
  void setRepeatRate(int rate) { m_controls.setRepeatRate(rate); }
  int repeatRate() const { return m_controls.repeatRate(); }
  void clearRepeatTest() { m_controls.clearRepeatTest(); }
  const KeyboardSystemSettings& getKeyboardSettings() const { return m_system; }
  // The page's values and the profile object's (the file is not saved).
  void setKeyboardSettings(const KeyboardSystemSettings& settings);

  // ---- State for the window and tests ----
  const KeyList& Keys() const { return m_keys; }
  const KeySlotMap& Slots() const { return m_slots; }
  CKeyboardProfiledata& Profile() { return m_profile; }
  bool IsProfileLoaded() const { return m_profileLoaded; }
  CKeySetControlUI* KeySetPanel() const { return m_pKeySetPanel; }
  CDeviceProfileUI* ProfilePanel() const { return m_pDeviceProfilePanel; }
  // The folder of the keyboard's profiles: data folder + model name + "/".
  std::string DeviceFolder() const;
  std::string DefaultProfilePath() const;
  // Messages for the user (a language key, or finished text with
  // `isResource` false). Without a handler the page's profile panel's host
  // shows them; without either they are logged.
  using MessageHandler = std::function<void(const std::string& text, bool isResource)>;
  void SetMessageHandler(MessageHandler handler) { m_messageHandler = std::move(handler); }

 private:
  void SetUpKeyPanel();
  void SetUpProfilePanel();
  std::vector<std::string> MacroNames() const;
  void TakeProfile();
  // The zone fields of the current onboard profile read from the device.
  void ReadProfileRecord();
  // A system value changed: profile object, file, and (for all but the
  // repeat settings) the onboard record.
  void StoreSystemSettings(bool writeRecord);
  bool SaveProfileFile();
  void SaveKeysToDevice();
  void ShowMessage(const std::string& text, bool isResource);

  CKeyboardProfiledata m_profile;
  bool m_profileLoaded = false;
  std::atomic<bool> m_profileReload{false};
  KeyboardSystemSettings m_system;
  KeyList m_keys{KeyPage::kKeyboard};
  KeySlotMap m_slots;
  KeyboardKeyEditor m_keyEditor;
  KeyboardSettingControls m_controls;
  int m_keyPanel = 0;
  CKeySetControlUI* m_pKeySetPanel = nullptr;
  CDeviceProfileUI* m_pDeviceProfilePanel = nullptr;
  CControlUI* m_pMacroPanel = nullptr;
  MessageHandler m_messageHandler;
};

void RegisterKeyboardDevice();

}  // namespace ostrel
