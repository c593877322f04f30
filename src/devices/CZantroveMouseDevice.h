#pragma once
// The page of a mouse, wired or behind the wireless receiver: its ten keys
// with the key assignment panel, five DPI stages, the polling rate, the
// pointer settings kept only in the profile, and the lighting record. It
// turns them into the mouse's onboard profile record and key table and
// reads them back.
//
// Every change the user makes follows one path: the page's copy and its
// controls, the profile object, the device, the profile file. The record
// write and the file save overlap: the file is written in the pause the
// mouse needs between the record's last frame and EndConfig, so neither
// waits for the other.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/CZantroveUSBDevice.h"
#include "devices/DpiStageRules.h"
#include "devices/KeyPanelBinding.h"
#include "devices/MouseProfileRecord.h"
#include "profiles/CMouseProfiledata.h"

namespace ostrel {

class CCheckBoxUI;
class CDeviceProfileUI;
class CEditUI;
class CKeySetControlUI;
class CLightControlUI;
class CSliderUI;

class CZantroveMouseDevice : public CZantroveUSBDevice {
 public:
  static constexpr int kStageCount = MouseProfileRecord::kStageCount;
  static constexpr int kPollingRateCount = MouseProfileRecord::kPollingRateCount;
  static constexpr const char* kClassName = "CZantroveMouseDevice";
  static constexpr const char* kElementName = "ZantroveMouseDevice";

  CZantroveMouseDevice();
  ~CZantroveMouseDevice() override;

  const char* GetClass() const override { return kElementName; }
  void* GetInterface(const char* pstrName) override;

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
  void showKey(int index) override;
  void OnPageNotify(TNotifyUI& msg) override;

  // The page's own first operation: finds the key and light buttons and the
  // sub-panels of the layout.
  virtual void BindPageControls();

  // ---- Operations the window calls ----
  void enableStage(int stage, bool on);
  bool isStageChecked(int stage) const;
  void setStageControls(int stage, int steps);
  int stageSliderValue(int stage) const;
  int stageEditValue(int stage) const;
  void selectPollingRate(int index);
  void setPointerSpeed(int speed);
  int pointerSpeed() const { return m_system.mouseSpeed; }
  void setPointerPrecision(bool on);
  bool pointerPrecision() const { return m_system.pointerPrecision != 0; }
  void setScroll(bool byPage, int lines);
  bool scrollByPage() const { return m_system.scrollPage != 0; }
  int scrollLines() const { return m_system.wheelScrollLines; }
  void setDoubleClick(int time);
  int doubleClick() const { return m_system.doubleClickTime; }
  const std::vector<DpiStage>& getStages() const { return m_stages; }
  void setStages(const std::vector<DpiStage>& stages);
  const MouseSystemSettings& getPointerSettings() const { return m_system; }
  void setPointerSettings(const MouseSystemSettings& settings);

  // The user's changes, as the window's notifications deliver them.
  void OnStageSliderReleased(int stage);
  void OnStageEditLeft(int stage);
  void OnStageCheckChanged(int stage, bool selected);
  void OnPollingRateSelected(int index);
  void OnMirrorSliderMoved(int number);
  void OnMirrorEditLeft(int number);

  // Messages the user must see (a language text key, or finished text when
  // `isResource` is false); the main window shows them in its message box.
  using MessageSink = std::function<void(std::string_view text, bool isResource)>;
  void SetMessageSink(MessageSink sink) { m_messageSink = std::move(sink); }

  // What the page works with, for the window and the tests.
  CMouseProfiledata& Profile() { return m_profile; }
  const KeyPanelBinding& KeyPanel() const { return m_keyPanel; }
  int ActiveStage() const { return m_activeStage; }
  const DpiLimits& Limits() const { return m_limits; }
  bool IsWireless() const;
  // The record the page would write now.
  std::array<std::uint8_t, MouseProfileRecord::kWriteLength> BuildRecord() const;
  // The screen size the record carries (taken once, at the first page).
  static int ScreenWidth();
  static int ScreenHeight();

 private:
  CControlUI* Find(const char* name) const;
  CControlUI* FindNumbered(const char* prefix, int number) const;
  CSliderUI* StageSlider(int stage) const;
  CEditUI* StageEdit(int stage) const;
  CCheckBoxUI* StageCheck(int stage) const;
  void BindSelectPanel(CContainerUI* panel);
  void SetUpProfilePanel();
  std::string DeviceFolder() const;
  // The stage list reaches stage `stage`; missing stages are all zero.
  void GrowStages(int stage);
  void StoreStages();
  // The device, then the file (saved while the device settles).
  int CommitStageChange();
  int WriteRecord(int profile, const std::function<void()>& whileSettling);
  void ApplyStageChecksRule();
  void ShowStageChecks();
  void RefreshKeyTexts();
  void ShowMessage(std::string_view text, bool isResource = true) const;
  void SaveKeysToDevice();

  CMouseProfiledata m_profile;
  KeyPanelBinding m_keyPanel;
  std::vector<DpiStage> m_stages;
  int m_activeStage = 0;
  MouseSystemSettings m_system;
  DpiLimits m_limits;

  CKeySetControlUI* m_pKeySetPanel = nullptr;
  CControlUI* m_pMacroPanel = nullptr;
  CControlUI* m_pShootPanel = nullptr;
  CDeviceProfileUI* m_pDeviceProfilePanel = nullptr;
  CLightControlUI* m_pLightControl = nullptr;
  CDeviceKeyButtonUI* m_pLogoButton = nullptr;
  bool m_profileLoaded = false;
  MessageSink m_messageSink;
};

// "CZantroveMouseDevice" and "ZantroveMouseDevice" in the control factory.
void RegisterMouseDevicePage();

}  // namespace ostrel
