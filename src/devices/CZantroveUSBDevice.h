#pragma once
// The common base of the device pages. A page is a container of the UI
// (its layout's root) and the owner of everything known about one model:
// the command and notification channels, its sizes from the catalogue, its
// key and LED buttons, its lighting (an animator chosen by device type, the
// paced thread that steps it, the frame output, the lighting panel's
// changes) and the notification reader.
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
#include <span>
#include <vector>

#include "devicelink/DeviceCatalogue.h"
#include "devicelink/DeviceChannel.h"
#include "devicelink/DeviceInfo.h"
#include "devicelink/DeviceOperations.h"
#include "devicelink/DeviceProtocol.h"
#include "devicelink/NotificationReader.h"
#include "lighting/ILightControlHost.h"
#include "lighting/KeyboardLightAnimator.h"
#include "lighting/LedColour.h"
#include "lighting/LightAnimator.h"
#include "lighting/LightClock.h"
#include "lighting/LightEffectState.h"
#include "lighting/LightingThread.h"
#include "platform/ui/CDuiString.h"
#include "platform/ui/CHorizontalLayoutUI.h"
#include "profiles/CustomColor.h"
#include "profiles/KeyEntry.h"
#include "profiles/LightEffectStep.h"
#include "profiles/LightListEntry.h"
#include "profiles/LightSetting.h"

namespace ostrel {

class CContainerUI;
class CDeviceKeyButtonUI;
class CDeviceOptionUI;
class CLightControlUI;
class CMpDevicePowerUI;
class CTabLayoutUI;
struct TNotifyUI;

class CZantroveUSBDevice : public CHorizontalLayoutUI, public ILightControlHost {
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
  // LEDs a frame can carry (512 bytes, three per LED).
  static constexpr int kMaxFrameLeds = (kLedFrameBytes + 2) / 3;

  // The window's lighting synchronisation, asked for from this page's
  // "deng_same_mode".
  using LightSyncRequest = std::function<void(CZantroveUSBDevice& source)>;

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
  virtual void PushLightFrameZone2();                      // 11
  virtual void PushLightFrameZone3();                      // 12
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
  virtual int DownloadLedColours();                                                                // 28
  virtual void ReloadNameLists();                                                                  // 29
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
  // The lighting panel's controls, the per-key colouring of the keyboard's
  // effect 20 ("custom_bright_color_btn", "custom_off_color_btn", the
  // rubber band "click_select_end" on "keyboard_device_key_light_0", key
  // clicks on the lighting tab); true when the notification was one of them
  // and has been handled.
  virtual bool HandleLightNotify(TNotifyUI& msg);
  // Everything else the window routes to the page (its own controls, the
  // key panel's buttons, the function tabs).
  virtual void OnPageNotify(TNotifyUI& /*msg*/) {}

  // ---- The keyboard's per-key colour groups, kept in its profile ----
  // The other page types keep none: they store nothing and read nothing.
  // False when the group was not stored (no profile loaded, group refused).
  virtual bool StoreCustomColours(int /*group*/, const std::vector<CustomColor>& /*colours*/) {
    return false;
  }
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
  // The keyboard's key reactions (effects 7, 8, 9).
  virtual void OnDeviceKey(int event, int key);
  // Lighting zones of the page (the keyboard has three; one thread runs them).
  virtual int LightingZoneCount() const { return m_deviceType == kDeviceKeyboard ? 3 : 1; }
  virtual const char* LightingExitText() const {
    return m_deviceType == kDeviceKeyboard ? "KB灯光线程设定退出" : "MS灯光线程设定退出";
  }
  // Starts (restarting) the page's lighting thread; ReadDevice of a page
  // calls it. The thread sleeps until the animator's next step is due.
  void StartLightingThreads();
  void StopLightingThreads();
  // The records changed: the thread runs the animator again now.
  void WakeLightingThreads();
  bool LightingThreadsRunning() const;
  // The clock the lighting thread reads and sleeps on (tests give their
  // own); takes effect at the next start.
  void SetLightClock(LightClock& clock);
  LightClock& GetLightClock() const { return *m_lightClock; }
  std::uint64_t LightingPasses() const;

  // ---- Lighting ----
  // ILightControlHost: the lighting panel's record of a zone and its news.
  bool CurrentLightSetting(LightZone zone, LightSetting* record) override;
  void LightSettingChanged(LightZone zone, const LightSetting& record, LightChange change) override;
  void SynchroniseLightingRequested() override;
  // A zone's new record, the way every change goes: stored with
  // SetLightSetting / Zone2 / Zone3 (the pages also keep it in their
  // profile), the profile saved, the preview restarted and shown in the
  // panel, the device's profile record 0 written. False when the device
  // write failed (the profile keeps the change).
  bool CommitLightSetting(LightZone zone, const LightSetting& record);
  // Synchronisation: a paused page shows what the window's synchronisation
  // writes into it; its own steps stop. Also the command channel's flag.
  void SetLightingPaused(bool paused);
  bool IsLightingPaused() const { return m_commandChannel.IsPaused(); }
  // "deng_same_mode" is offered while two or more devices are connected;
  // without it the page leaves synchronisation.
  void SetLightSyncAllowed(bool allowed);
  void SetLightSyncRequest(LightSyncRequest request) { m_lightSyncRequest = std::move(request); }
  // What the window's synchronisation writes into.
  LightSyncTarget& SyncTarget();
  // The page's lists from its profile: the custom animation's steps and the
  // per-LED modes.
  void SetCustomLightSteps(std::vector<LightEffectStep> steps);
  void SetPerLedList(std::vector<LightListEntry> list);
  // UI key -> device key slot, for the keyboard's key reactions.
  void SetKeySlotMap(const std::map<int, int>& map);
  // The lighting panel inside the page (null when the layout has none).
  CLightControlUI* LightPanel();
  // The animator of the page's device type: one of the two is set.
  LightAnimator* Animator() { return m_animator.get(); }
  KeyboardLightAnimator* KeyboardAnimator() { return m_keyboardAnimator.get(); }
  // Copies the page's LED list (what the next frame shows); returns how many.
  std::size_t CopyLeds(std::span<LedColour> out) const;
  // The documents ReloadNameLists read ("macro.config" or
  // "tavix_macro.config", "default_light.json", the light prefix + ".config").
  const Json::Value& MacroNames() const { return m_macroNames; }
  // "MacroInfo"[i]."MacroName" in order.
  // The model's folder in the data folder: its macro list and light names.
  std::string DeviceDataFolder() const;
  std::vector<std::string> MacroNameList() const;
  const Json::Value& DefaultLightNames() const { return m_defaultLightNames; }
  const Json::Value& UserLightNames() const { return m_userLightNames; }

  // ---- The keyboard's per-key colour groups (effect 20) ----
  // Nothing happens on other page types.
  void SetCustomGroup(int group);
  void LoadCustomGroup(int group);
  void ReloadCustomGroup();
  void FillCustomColours(bool on);
  void ColourKey(int key);
  void ColourSelectedKeys(const std::vector<int>& keys);

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
  // A new type makes the page's animator anew (the running thread stops).
  void SetDeviceType(int type);
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
  // The main zone's state: direct access for tests and single-threaded use.
  LightEffectState& LightState();
  const LightSetting& MainLightSetting() const { return m_lightSettings[0]; }
  const LightSetting& LightSettingOfZone(int zone) const {
    return m_lightSettings[zone < 0 || zone > 2 ? 0 : zone];
  }
  const std::map<int, int>& KeyLedMap() const { return m_keyLedMap; }

  // The effect functions: phase stepping with wrap, index stepping.
  static std::uint8_t StepPhase(bool forward, std::uint8_t limit, std::uint8_t phase, std::uint8_t delta);
  static std::uint8_t StepIndex(bool forward, std::uint8_t limit, std::uint8_t index);

 protected:
  // The page changed m_lightSettings (a profile was read, a control moved):
  // the animator takes the new records (a changed effect starts anew, a
  // changed speed retimes it), the thread runs it now and the lighting
  // panel shows the records.
  void ApplyLightSettings();
  static LightSetting MakeLightSetting(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3,
                                       std::uint32_t w4, std::uint32_t w5, std::uint32_t w6, std::uint16_t h,
                                       std::uint8_t b);
  // Gives a key button the lighting preview's colour and level.
  void ShowButtonLight(int ledIndex, DWORD colour, int level);
  CTabLayoutUI* FindTabLayout(CTabLayoutUI*& cache, const char* name);
  std::int64_t NowMs() const;

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
  CContainerUI* m_pSelectPanel = nullptr;
  CControlUI* m_pLightPanel = nullptr;  // the CLightControlUI, found on first use
  CControlUI* m_pProfilePanel = nullptr;
  CDeviceOptionUI* m_pDeviceOption = nullptr;
  CTabLayoutUI* m_pFunctionSwitch = nullptr;
  CTabLayoutUI* m_pKeyFunctionSwitch = nullptr;

  // Lighting: the three zone records, the flags, the animator of the
  // device type (it keeps the LED lists and the effect state behind its own
  // lock, so the page needs none), its thread and the frame last built.
  std::array<LightSetting, 3> m_lightSettings{};
  std::atomic<int> m_hostLighting{1};
  std::atomic<int> m_previewRepaint{1};
  std::array<std::uint8_t, kLedFrameBytes> m_frame{};
  Json::Value m_macroNames;
  Json::Value m_defaultLightNames;
  Json::Value m_userLightNames;

  TimerRequest m_timerRequest;
  NotificationReader m_notificationReader;

 private:
  class KeyboardHost;
  // Makes the animator and thread of the device type (the thread stopped).
  void MakeLighting();
  std::span<const LedColour> FrameLeds();
  void PaintButtons(const std::vector<CDeviceKeyButtonUI*>& buttons, std::span<const LedColour> leds);
  void ShowRecordsInPanel();
  void ApplyRecordsToAnimator();
  void SyncTargetPaused();
  void StoreZoneRecord(LightZone zone, const LightSetting& record);
  void PauseAfterFailedWrite() const;
  LightSchedule& Schedule();
  // f(main zone state, main record) under the animator's lock.
  template <typename F>
  void WithPageState(F&& f) {
    if (m_keyboardAnimator) m_keyboardAnimator->WithState(f);
    if (m_animator) m_animator->WithState(f);
  }

  LightClock* m_lightClock;
  std::unique_ptr<LightAnimator> m_animator;
  std::unique_ptr<KeyboardLightAnimator> m_keyboardAnimator;
  std::unique_ptr<KeyboardHost> m_keyboardHost;
  std::unique_ptr<LightingThread> m_lightingThread;
  // The frame output's copy of the LED list (no allocation per frame).
  std::array<LedColour, kMaxFrameLeds> m_frameLeds{};
  bool m_lightSyncAllowed = false;
  LightSyncRequest m_lightSyncRequest;
};

}  // namespace ostrel
