#pragma once
// The profile panel of a device page: the device's profiles in a combo box,
// the name edit, the profile buttons and the page's function tabs, built
// from "XML\CustomControlXML\DeviceProfile.xml". The profile list itself is
// DeviceProfileList; this control keeps the combo box, the name edit and
// the tabs in step with it and runs the button handlers.
//
// Who does what:
// - The device page sets it up once: SetDeviceType, SetPaths,
//   LoadProfileList, SelectTab(1), then takes CurrentUuid as its profile.
// - The main window gives it an IDeviceProfileHost (messages, file dialogs,
//   the page's reload) and routes the clicks of the panel's buttons to
//   HandleClick.
// - The switch after a change of the combo selection is the main window's
//   timer: on "itemselect" of "device_profile_combo" it (re)starts window
//   timer kSwitchTimerId with kSwitchDelayMs; when the timer fires it kills
//   it and calls SwitchToComboSelection, so quick changes cause one switch.
//
// Controls are looked up inside this panel only: every device page has one,
// all with the same names.

#include <array>
#include <string>

#include "platform/ui/CHorizontalLayoutUI.h"
#include "profiles/DeviceProfileList.h"
#include "profiles/IDeviceProfileHost.h"
#include "profiles/ProfileOpResult.h"
#include "profiles/ProfileTabs.h"

namespace ostrel {

class CComboUI;
class CEditUI;
class COptionUI;

class CDeviceProfileUI : public CHorizontalLayoutUI {
 public:
  CDeviceProfileUI();
  ~CDeviceProfileUI() override;

  const char* GetClass() const override { return "DeviceProfile"; }
  void* GetInterface(const char* pstrName) override;
  // Builds the panel's layout into the control when the page's layout gave
  // it no children.
  void DoInit() override;

  // Creators for the window's control factory: "CDeviceProfileUI" and
  // "DeviceProfile" (this control), "DeviceProfileUI" (only the layout's
  // subtree).
  static CControlUI* CreateControl();
  static CControlUI* CreateLayout();
  static constexpr const char* kClassName = "CDeviceProfileUI";
  static constexpr const char* kElementName = "DeviceProfile";
  static constexpr const char* kLayoutElementName = "DeviceProfileUI";
  static constexpr const char* kLayoutFile = "XML\\CustomControlXML\\DeviceProfile.xml";

  // The control names of the layout.
  static constexpr const char* kComboName = "device_profile_combo";
  static constexpr const char* kNameEditName = "device_profile_name_edit";
  static constexpr const char* kMenuLayoutName = "profile_menu_layout";
  static constexpr const char* kSpreadButtonName = "profile_fun_spread_btn";
  static constexpr const char* kAddButtonName = "device_add_btn";
  static constexpr const char* kDeleteButtonName = "device_sub_btn";
  static constexpr const char* kCopyButtonName = "device_copy_btn";
  static constexpr const char* kImportButtonName = "device_import_btn";
  static constexpr const char* kExportButtonName = "device_export_btn";
  static constexpr const char* kResetButtonName = "device_reset_btn";
  static constexpr const char* kRenameButtonName = "device_profile_edit_save_btn";
  // Combo rows have the list's fixed row height.
  static constexpr int kComboRowHeight = 30;
  // Shown when an add is refused at DeviceProfileList::kMaxAddedProfiles.
  static constexpr const char* kProfileLimitMessage = "profile_limit_text";
  // Shown when an export could not be written.
  static constexpr const char* kExportFailedMessage = "profile_export_failed_text";

  void SetHost(IDeviceProfileHost* host) { host_ = host; }
  IDeviceProfileHost* Host() const { return host_; }

  // Set-up.
  void SetDeviceType(int deviceType) { list_.SetDeviceType(deviceType); }
  int DeviceType() const { return list_.DeviceType(); }
  void SetPaths(const std::string& appDataFolder, const std::string& defaultProfilePath) {
    list_.SetPaths(appDataFolder, defaultProfilePath);
  }
  // Reads the list (creating "profile1" on first start), fills the combo,
  // selects the stored profile quietly and applies the tab visibility.
  ProfileOpResult LoadProfileList();

  // Selects a profile: combo selection (raising "itemselect" only with
  // `notify`), the name edit, the stored selection and the current id.
  bool SelectProfile(int index, bool notify);
  // The combo's selection, or -1.
  int CurrentIndex() const;
  const std::string& CurrentUuid() const { return list_.CurrentUuid(); }
  const DeviceProfileList& List() const { return list_; }

  std::string EditedName() const;
  void SetEditedName(const std::string& name);

  // The operations on whole profiles, with the combo kept in step. They do
  // not reload the page; HandleClick and SwitchToComboSelection do.
  // Add leaves the combo selection and the current profile as they are.
  ProfileOpResult AddProfile();
  // The profile before the deleted one (or the first) becomes current and selected.
  ProfileOpResult DeleteProfile();
  ProfileOpResult CopyProfile();
  ProfileOpResult ImportProfile(const std::string& sourcePath);
  ProfileOpResult ExportProfile(const std::string& destinationPath);
  ProfileOpResult ResetProfile();
  // DeviceProfileList::kRename*; on success the combo row and the edit show the name.
  int RenameProfile(const std::string& name);

  // Function tabs: the visibility of the device type, and selecting tab
  // 1-8 quietly (another number clears all but the last). Nothing happens
  // unless the layout holds all eight.
  void ApplyTabVisibility();
  void SelectTab(int tabNumber);

  // The row of profile buttons, folded and spread by "profile_fun_spread_btn".
  void ShowProfileMenu(bool show);
  bool IsProfileMenuShown() const { return menuShown_; }

  // The click handlers of the panel's buttons, as the main window's click
  // table runs them: asks for file names and confirmations through the
  // host, shows the messages, and has the page reload after a change of
  // the current profile. False for a name that is not one of the panel's.
  bool HandleClick(const char* senderName);
  // The switch of timer kSwitchTimerId: the combo's selection becomes the
  // current profile and the page reloads it.
  void SwitchToComboSelection();

 private:
  CComboUI* Combo() const;
  CEditUI* NameEdit() const;
  CControlUI* MenuLayout() const;
  CControlUI* FindInPanel(const char* name) const;
  // All eight tab options, or false when one is missing.
  bool FindTabs(std::array<COptionUI*, ProfileTabs::kTabCount>* tabs) const;
  void FillCombo();
  void AppendComboRow(const std::string& name);
  void ShowCurrent();
  void UpdateSpreadButton();
  void BindControls();

  // The button handlers.
  void OnAdd();
  void OnDelete();
  void OnCopy();
  void OnImport();
  void OnExport();
  void OnReset();
  void OnRename();
  // Tells the page about a new current profile and shows what the macro
  // download answered.
  void ActivateCurrentProfile();
  void ShowMacroDownloadResult(int downloadResult);

  DeviceProfileList list_;
  IDeviceProfileHost* host_ = nullptr;
  // The tab options select exclusively within this panel only.
  std::string tabGroup_;
  // The last SelectTab, applied again when the layout arrives later.
  int selectedTab_ = 0;
  // The state of the button row; its own, since a hidden page hides it too.
  bool menuShown_ = false;
};

}  // namespace ostrel
