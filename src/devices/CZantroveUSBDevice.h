#pragma once
// The common base of the device pages. A page is a container of the UI
// (its layout's root) and the owner of everything known about one model:
// the command and notification channels, its sizes from the catalogue, its
// key and LED buttons, the lighting state and frame, and the workers that
// follow the device (the notification reader and the lighting threads).
//
// The page operations below are virtual in a fixed order; a device type
// overrides what differs and the window, the device-list timers and the
// workers drive any page through this base. Operations a type lacks answer
// harmlessly here (0 or nothing).

#include <json/value.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "devicelink/DeviceCatalogue.h"
#include "devicelink/DeviceChannel.h"
#include "devicelink/DeviceInfo.h"
#include "devicelink/DeviceOperations.h"
#include "devicelink/LightingWorker.h"
#include "devicelink/NotificationReader.h"
#include "lighting/LedColour.h"
#include "lighting/LightEffectState.h"
#include "platform/ui/CDuiString.h"
#include "platform/ui/CHorizontalLayoutUI.h"
#include "profiles/CustomColor.h"
#include "profiles/KeyEntry.h"
#include "profiles/LightSetting.h"

namespace ostrel {

class CContainerUI;
class CDeviceKeyButtonUI;
class CDeviceOptionUI;
class CMpDevicePowerUI;
class CTabLayoutUI;
struct TNotifyUI;

class CZantroveUSBDevice : public CHorizontalLayoutUI {
 public:
  static constexpr int kZone2LedCount = 15;
  static constexpr int kZone3LedCount = 6;
  static constexpr int kLedFrameBytes = 512;
  // LED 126 has no place in the 512-byte frame's colour triplets (it would
  // reach into the last bytes the frame keeps for the device).
  static constexpr int kUnstreamedLed = 126;
  static constexpr int kFunctionTabDefault = 1;
  // Delays of the profile re-read asked for by the device (timer 1002).
  static constexpr unsigned kProfileRereadDelayMs = 500;
  static constexpr unsigned kKeyboardProfileRereadDelayMs = 100;

  // Asks the window thread to arm one of the page's list-entry timers;
  // safe from any thread.
  using TimerRequest = std::function<void(unsigned timerId, unsigned delayMs)>;

  CZantroveUSBDevice();
  ~CZantroveUSBDevice() override;

  const char* GetClass() const override { return "ZantroveUSBDevice"; }
  void* GetInterface(const char* pstrName) override;

  // ---- Page operations, in their fixed order ----
  virtual void InitPage();                                 // 1
  virtual int ApplyProfileLighting();                      // 2
  virtual void StepBreathing();                            // 3
  virtual void StepBreathingFour();                        // 4
  virtual void StepStatic();                               // 5
  virtual void StepSpectrum();                             // 6
  virtual void StepFlash();                                // 7
  virtual void StepFlashFour();                            // 8
  virtual void StepOff();                                  // 9
  virtual void PushLightFrame();                           // 10
  virtual void PushLightFrameZone2() {}                    // 11
  virtual void PushLightFrameZone3() {}                    // 12
  virtual void SetLedColour(int index, LedColour colour);  // 13
  virtual LedColour GetLedColour(int index) const;         // 14
  virtual void ReadDevice() {}                             // 15
  virtual void ReadCurrentProfile() {}                     // 16
  virtual void ReservedOperation17() {}                    // 17
  virtual void ReservedOperation18() {}                    // 18
  // Every page type reads and shows the power state the same way.
  virtual void ReadPowerState();                                                                   // 19
  virtual int LoadActiveProfile() { return 0; }                                                    // 20
  virtual void RefreshControls() {}                                                                // 21
  virtual void ValidateMacroKeys() {}                                                              // 22
  virtual void LoadDefaultProfile() {}                                                             // 23
  virtual int WriteKeyTable(int /*profile*/, const std::vector<KeyEntry>& /*keys*/) { return 0; }  // 24
  virtual int DownloadKeys(int /*profile*/) { return 0; }                                          // 25
  virtual int DownloadMacros(int /*profile*/) { return 0; }                                        // 26
  virtual int WriteProfileRecord(int /*profile*/) { return 0; }                                    // 27
  virtual int DownloadLedColours() { return 0; }                                                   // 28
  virtual void ReloadNameLists() {}                                                                // 29
  virtual void SetKeyLedMap(const std::map<int, int>& map);                                        // 30
  virtual void FadeKey(int key);                                                                   // 31
  virtual void LightRingKeys();                                                                    // 32
  virtual void RotateRing(int length, int direction);                                              // 33
  virtual void ClearEffectBuffers();                                                               // 34
  virtual void SelectFunctionTab(int kind);                                                        // 35
  virtual int GetFunctionTab() const { return m_functionTab; }                                     // 36
  virtual void SetProfilePaths() {}                                                                // 37
  virtual void GetProfilePath(CDuiString& out) const { out.Empty(); }                              // 38
  virtual void SaveActiveProfile() {}                                                              // 39
  virtual void SetModelNumber(int number) { m_modelNumber = number; }                              // 40
  virtual int GetModelNumber() const { return m_modelNumber; }                                     // 41
  // 31 bytes as seven 32-bit words (bytes 0-27, little-endian), one 16-bit
  // word (28-29) and one byte (30).
  virtual void SetLightSetting(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3,
                               std::uint32_t w4, std::uint32_t w5, std::uint32_t w6, std::uint16_t h,
                               std::uint8_t b);  // 42
  virtual void SetLightSettingZone2(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3,
                                    std::uint32_t w4, std::uint32_t w5, std::uint32_t w6, std::uint16_t h,
                                    std::uint8_t b);  // 43
  virtual void SetLightSettingZone3(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3,
                                    std::uint32_t w4, std::uint32_t w5, std::uint32_t w6, std::uint16_t h,
                                    std::uint8_t b);          // 44
  virtual void showKey(int index) { m_selectedKey = index; }  // 45

  // ---- Window notifications routed to the current page ----
  // The lighting panel's controls; true when the notification was one of
  // them and has been handled.
  virtual bool HandleLightNotify(TNotifyUI& /*msg*/) { return false; }
  // Everything else the window routes to the page (its own controls, the
  // key panel's buttons, the function tabs).
  virtual void OnPageNotify(TNotifyUI& /*msg*/) {}

  // ---- The keyboard's per-key colour groups, kept in its profile ----
  // The other page types keep none: they store nothing and read nothing.
  // False when the group was not stored (no profile loaded, group refused).
  virtual bool StoreCustomColours(int /*group*/, const std::vector<CustomColor>& /*colours*/) { return false; }
  // `count` colours of the group; empty when the page keeps no groups.
  virtual std::vector<CustomColor> ReadCustomColours(int /*group*/, int /*count*/) { return {}; }
  // The group the profile names as its current one.
  virtual void SetProfileCustomGroup(int /*group*/) {}

  // ---- Worker operations (after the fixed list) ----
  // A usage from the notification reader, on the reader's thread: 0x0401
  // asks for the current profile again (timer 1002); the keyboard's own
  // usages go to OnProfileReloadRequest and OnDeviceKey.
  virtual void OnNotificationUsage(std::uint16_t usage);
  virtual void OnProfileReloadRequest() {}
  // Key event 1 (down) or 2 (up) of a device key slot (keyboard).
  virtual void OnDeviceKey(int /*event*/, int /*key*/) {}
  // Lighting zones with their own thread (the keyboard runs three).
  virtual int LightingZoneCount() const { return 1; }
  // Milliseconds between two steps of the zone's current effect; 0 when it
  // has no timed step.
  virtual int LightingThreshold(int zone) const;
  // One step of the zone's current effect, on its lighting thread.
  virtual void RunLightingStep(int zone);
  virtual const char* LightingExitText() const { return "MS灯光线程设定退出"; }
  // Starts (restarting) the lighting threads; ReadDevice of a page calls it.
  void StartLightingThreads();
  void StopLightingThreads();
  // The effect or speed changed: the lighting threads take the new
  // threshold now instead of after their current sleep.
  void WakeLightingThreads();
  bool LightingThreadsRunning() const;
  // Notification channel: opened on the role-0xFF slot's path, then the
  // reader starts; closing ends a blocked read at once.
  bool OpenNotificationChannel(const std::string& path);
  void CloseNotificationChannel();
  bool NotificationReaderRunning() const { return m_notificationReader.IsRunning(); }
  // Every worker of the page, before the page goes.
  void StopWorkers();

  // ---- Plain operations ----
  const CDuiString& GetLayoutName() const { return m_layoutName; }
  void SetLayoutName(const char* name) { m_layoutName = name; }
  HWND GetWindowHandle() const { return m_hWnd; }
  void SetWindowHandle(HWND hWnd) { m_hWnd = hWnd; }
  const CDuiString& GetLightPrefix() const { return m_lightPrefix; }
  void SetLightPrefix(const char* prefix) { m_lightPrefix = prefix; }
  const CDuiString& GetModelName() const { return m_modelName; }
  void SetModelName(const char* name) { m_modelName = name; }
  const CDuiString& GetProfileId() const { return m_profileId; }
  void SetProfileId(const char* id) { m_profileId = id; }
  const CDuiString& GetDataFolder() const { return m_dataFolder; }
  void SetDataFolder(const char* folder) { m_dataFolder = folder; }
  int GetKeyCount() const { return m_keyCount; }
  void SetKeyCount(int count);
  int GetLedCount() const { return m_ledCount; }
  void SetLedCount(int count);
  int GetPowerPolling() const { return m_powerPolling; }
  // Also shows or hides the power indicator.
  void SetPowerPolling(int polling);
  int GetReserved() const { return m_reserved; }
  void SetReserved(int value) { m_reserved = value; }
  CMpDevicePowerUI* GetPowerIndicator() const { return m_pPowerIndicator; }
  void SetPowerIndicator(CMpDevicePowerUI* indicator) { m_pPowerIndicator = indicator; }
  CDeviceOptionUI* GetDeviceOption() const { return m_pDeviceOption; }
  void SetDeviceOption(CDeviceOptionUI* option) { m_pDeviceOption = option; }
  // Copies the slot record; device type and role come from it.
  void SetInterfaceRow(const DeviceCatalogueRow& row);
  const DeviceCatalogueRow& GetInterfaceRow() const { return m_interfaceRow; }
  int GetDeviceType() const { return m_deviceType; }
  void SetDeviceType(int type) { m_deviceType = type; }
  int GetRole() const { return m_role; }
  void SetRole(int role) { m_role = role; }
  bool IsHostLighting() const { return m_hostLighting != 0; }
  // On a keyboard, switching it on also sends StartHostLighting.
  void SetHostLighting(bool on);
  bool IsPreviewRepaint() const { return m_previewRepaint != 0; }
  void SetPreviewRepaint(bool on) { m_previewRepaint = on ? 1 : 0; }
  int GetSelectedKey() const { return m_selectedKey; }
  CContainerUI* GetSelectPanel() const { return m_pSelectPanel; }
  void SetTimerRequest(TimerRequest request) { m_timerRequest = std::move(request); }
  // Arms a list-entry timer through the window thread.
  void RequestEntryTimer(unsigned timerId, unsigned delayMs) const;

  DeviceChannel& CommandChannel() { return m_commandChannel; }
  DeviceChannel& NotificationChannel() { return m_notificationChannel; }
  DeviceOperations& Operations() { return *m_operations; }

  const std::vector<CDeviceKeyButtonUI*>& KeyButtons() const { return m_keyButtons; }
  const std::vector<CDeviceKeyButtonUI*>& LedButtons() const { return m_ledButtons; }
  // The frame PushLightFrame built last (512 bytes).
  const std::array<std::uint8_t, kLedFrameBytes>& LastFrame() const { return m_frame; }
  LightEffectState& LightState() { return m_light; }
  const LightSetting& MainLightSetting() const { return m_lightSettings[0]; }
  const LightSetting& LightSettingOfZone(int zone) const {
    return m_lightSettings[zone < 0 || zone > 2 ? 0 : zone];
  }
  std::vector<LedColour>& Zone2Colours() { return m_zone2Colours; }
  std::vector<LedColour>& Zone3Colours() { return m_zone3Colours; }
  const std::map<int, int>& KeyLedMap() const { return m_keyLedMap; }

  // The effect functions: phase stepping with wrap, index stepping.
  static std::uint8_t StepPhase(bool forward, std::uint8_t limit, std::uint8_t phase, std::uint8_t delta);
  static std::uint8_t StepIndex(bool forward, std::uint8_t limit, std::uint8_t index);

 protected:
  // The page changed m_lightSettings (a profile was read, a control moved):
  // the preview takes the new records.
  void ApplyLightSettings();
  static LightSetting MakeLightSetting(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3,
                                       std::uint32_t w4, std::uint32_t w5, std::uint32_t w6, std::uint16_t h,
                                       std::uint8_t b);
  // Gives a key button the lighting preview's colour and level.
  void ShowButtonLight(int ledIndex, DWORD colour, int level);
  CTabLayoutUI* FindTabLayout(CTabLayoutUI*& cache, const char* name);
  static std::int64_t NowMs();

  // Device link and identity.
  DeviceChannel m_commandChannel;
  DeviceChannel m_notificationChannel;
  // Made again when the device type changes (the sequences depend on it).
  std::unique_ptr<DeviceOperations> m_operations;
  CDuiString m_layoutName;
  CDuiString m_profileId;
  CDuiString m_lightPrefix{"tavix_light"};
  CDuiString m_modelName;
  CDuiString m_dataFolder;
  int m_deviceType = 0;
  int m_role = 0;
  int m_modelNumber = 0;
  DeviceCatalogueRow m_interfaceRow;
  HWND m_hWnd = nullptr;
  int m_powerPolling = 0;
  int m_reserved = 0;
  CMpDevicePowerUI* m_pPowerIndicator = nullptr;
  DeviceInfo m_deviceInfo;
  std::array<std::uint8_t, 512> m_keyMap{};
  std::array<std::uint8_t, 512> m_keyAttributes{};

  // Sizes and controls.
  int m_keyCount = 0;
  int m_ledCount = 0;
  int m_selectedKey = -1;
  int m_functionTab = kFunctionTabDefault;
  std::vector<CDeviceKeyButtonUI*> m_keyButtons;
  std::vector<CDeviceKeyButtonUI*> m_ledButtons;
  std::vector<CDeviceKeyButtonUI*> m_zone2Buttons;
  std::vector<CDeviceKeyButtonUI*> m_zone3Buttons;
  std::map<int, int> m_uiKeyToSlot;
  std::map<int, int> m_slotToAttribute;
  std::map<int, int> m_keyLedMap;
  std::vector<LedColour> m_zone2Colours;
  std::vector<LedColour> m_zone3Colours;
  CContainerUI* m_pSelectPanel = nullptr;
  CControlUI* m_pLightPanel = nullptr;
  CControlUI* m_pProfilePanel = nullptr;
  CDeviceOptionUI* m_pDeviceOption = nullptr;
  CTabLayoutUI* m_pFunctionSwitch = nullptr;
  CTabLayoutUI* m_pKeyFunctionSwitch = nullptr;

  // Lighting state: the main zone's LED colour list and effect scratch, the
  // three zone records, the frame last built.
  std::array<LightSetting, 3> m_lightSettings{};
  std::atomic<int> m_hostLighting{1};
  std::atomic<int> m_previewRepaint{1};
  LightEffectState m_light;
  std::vector<LightSetting> m_perLedStates;
  std::mutex m_customEffectLock;
  std::mutex m_perLedLock;
  // Guards the zone records between the window thread and the lighting threads.
  mutable std::mutex m_settingLock;
  std::array<std::uint8_t, kLedFrameBytes> m_frame{};
  Json::Value m_macroNames;
  Json::Value m_defaultLightNames;
  Json::Value m_userLightNames;

  TimerRequest m_timerRequest;
  NotificationReader m_notificationReader;
  std::array<LightingWorker, 3> m_lightingWorkers;
};

}  // namespace ostrel
