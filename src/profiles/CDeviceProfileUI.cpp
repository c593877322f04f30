#include "profiles/CDeviceProfileUI.h"

#include <cstring>

#include "platform/os/DebugLog.h"
#include "platform/ui/CComboUI.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/CListLabelElementUI.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CResourceManager.h"

namespace ostrel {
namespace {

// The spread button shows which way the button row goes when clicked.
constexpr const char* kSpreadImage = "common\\profile\\spread.png";
constexpr const char* kFoldImage = "common\\profile\\fold.png";
constexpr const char* kMacroFailedMessage = "message_text_7";
constexpr const char* kMacroAnswerFormat = "message_text_16";
constexpr const char* kProfileExtension = ".json";

struct NameQuery {
  const char* name;
};

CControlUI* FindByName(CControlUI* control, void* data) {
  return control->GetName() == static_cast<NameQuery*>(data)->name ? control : nullptr;
}

// The language text of the macro download answer takes the number where it
// says %d. Translated text is never used as a printf format: a stray
// conversion in a language file must not read past the arguments.
std::string FormatNumber(const std::string& format, int number) {
  std::string out;
  bool substituted = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (format[i + 1] == 'd' && !substituted) {
        out += std::to_string(number);
        substituted = true;
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  if (!substituted) out += " " + std::to_string(number);
  return out;
}

// A chosen export name without an extension gets ".json", so the file shows
// up in the import dialog's filter.
std::string WithProfileExtension(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1)) return path;
  return path + kProfileExtension;
}

int g_panelCount = 0;

}  // namespace

CDeviceProfileUI::CDeviceProfileUI() : tabGroup_("device_profile_tabs_" + std::to_string(++g_panelCount)) {}

CDeviceProfileUI::~CDeviceProfileUI() = default;

void* CDeviceProfileUI::GetInterface(const char* pstrName) {
  const CDuiString name(pstrName);
  if (name.CompareNoCase(kElementName) == 0 || name.CompareNoCase(kClassName) == 0) return this;
  return CHorizontalLayoutUI::GetInterface(pstrName);
}

CControlUI* CDeviceProfileUI::CreateControl() { return new CDeviceProfileUI(); }

CControlUI* CDeviceProfileUI::CreateLayout() {
  CDialogBuilder builder;
  CControlUI* built = builder.Create(kLayoutFile);
  if (!built) DebugPrintf("DeviceProfile: layout %s could not be built", kLayoutFile);
  return built;
}

void CDeviceProfileUI::DoInit() {
  if (GetCount() == 0) {
    CDialogBuilder builder;
    if (!builder.Create(kLayoutFile, nullptr, nullptr, m_pManager, this))
      DebugPrintf("DeviceProfile: layout %s could not be built", kLayoutFile);
  }
  BindControls();
}

void CDeviceProfileUI::BindControls() {
  std::array<COptionUI*, ProfileTabs::kTabCount> tabs{};
  FindTabs(&tabs);
  for (COptionUI* tab : tabs)
    if (tab) tab->SetGroup(tabGroup_.c_str());
  if (CEditUI* edit = NameEdit()) {
    // Enter in the name edit saves the name like the save button.
    edit->OnNotify.push_back([this](TNotifyUI& msg) {
      if (msg.sType == DUI_MSGTYPE_RETURN) OnRename();
      return true;
    });
  }
  // Folded until the user spreads it, whatever the layout says.
  ShowProfileMenu(menuShown_);
  // A page may set the panel up before it joins the window: show what was
  // loaded and selected then.
  if (!list_.Entries().empty()) {
    FillCombo();
    ShowCurrent();
    ApplyTabVisibility();
  }
  if (selectedTab_ != 0) SelectTab(selectedTab_);
}

CControlUI* CDeviceProfileUI::FindInPanel(const char* name) const {
  NameQuery query{name};
  return const_cast<CDeviceProfileUI*>(this)->FindControl(FindByName, &query, UIFIND_ALL);
}

CComboUI* CDeviceProfileUI::Combo() const { return As<CComboUI>(FindInPanel(kComboName), "Combo"); }
CEditUI* CDeviceProfileUI::NameEdit() const { return As<CEditUI>(FindInPanel(kNameEditName), "Edit"); }
CControlUI* CDeviceProfileUI::MenuLayout() const { return FindInPanel(kMenuLayoutName); }

bool CDeviceProfileUI::FindTabs(std::array<COptionUI*, ProfileTabs::kTabCount>* tabs) const {
  bool all = true;
  for (std::size_t i = 0; i < ProfileTabs::kTabCount; ++i) {
    (*tabs)[i] = As<COptionUI>(FindInPanel(ProfileTabs::kTabNames[i]), "Option");
    all = all && (*tabs)[i];
  }
  return all;
}

ProfileOpResult CDeviceProfileUI::LoadProfileList() {
  ProfileOpResult result = list_.LoadProfileList();
  FillCombo();
  ShowCurrent();
  ApplyTabVisibility();
  return result;
}

void CDeviceProfileUI::FillCombo() {
  CComboUI* combo = Combo();
  if (!combo) return;
  combo->RemoveAll();
  for (const ProfileEntry& entry : list_.Entries()) AppendComboRow(entry.name);
}

void CDeviceProfileUI::AppendComboRow(const std::string& name) {
  CComboUI* combo = Combo();
  if (!combo) return;
  auto* row = new CListLabelElementUI();
  row->SetFixedHeight(kComboRowHeight);
  row->SetText(name.c_str());
  row->SetToolTip(name.c_str());
  combo->Add(row);
}

void CDeviceProfileUI::ShowCurrent() {
  const int index = list_.CurrentIndex();
  if (CComboUI* combo = Combo()) {
    if (combo->GetCurSel() != index) combo->SelectItem(index, false, false);
  }
  SetEditedName(list_.CurrentName());
}

bool CDeviceProfileUI::SelectProfile(int index, bool notify) {
  if (!list_.SelectProfile(index)) return false;
  if (CComboUI* combo = Combo()) {
    if (combo->GetCurSel() != index) combo->SelectItem(index, false, notify);
  }
  SetEditedName(list_.CurrentName());
  return true;
}

int CDeviceProfileUI::CurrentIndex() const {
  const CComboUI* combo = Combo();
  return combo ? combo->GetCurSel() : -1;
}

std::string CDeviceProfileUI::EditedName() const {
  const CEditUI* edit = NameEdit();
  return edit ? edit->GetText().str() : std::string();
}

void CDeviceProfileUI::SetEditedName(const std::string& name) {
  if (CEditUI* edit = NameEdit()) edit->SetText(name.c_str());
}

ProfileOpResult CDeviceProfileUI::AddProfile() {
  ProfileOpResult result = list_.AddProfile();
  if (result.done()) AppendComboRow(result.name);
  return result;
}

ProfileOpResult CDeviceProfileUI::DeleteProfile() {
  const int deleted = list_.CurrentIndex();
  ProfileOpResult result = list_.DeleteProfile();
  if (!result.done()) return result;
  if (CComboUI* combo = Combo()) combo->RemoveAt(deleted);
  ShowCurrent();
  return result;
}

ProfileOpResult CDeviceProfileUI::CopyProfile() {
  ProfileOpResult result = list_.CopyProfile();
  if (result.done()) AppendComboRow(result.name);
  return result;
}

ProfileOpResult CDeviceProfileUI::ImportProfile(const std::string& sourcePath) {
  ProfileOpResult result = list_.ImportProfile(sourcePath);
  if (result.done()) AppendComboRow(result.name);
  return result;
}

ProfileOpResult CDeviceProfileUI::ExportProfile(const std::string& destinationPath) {
  return list_.ExportProfile(destinationPath);
}

ProfileOpResult CDeviceProfileUI::ResetProfile() { return list_.ResetProfile(); }

int CDeviceProfileUI::RenameProfile(const std::string& name) {
  const int result = list_.RenameProfile(name);
  if (result != DeviceProfileList::kRenameDone) return result;
  if (CComboUI* combo = Combo()) {
    if (CControlUI* row = combo->GetItemAt(list_.CurrentIndex())) {
      row->SetText(name.c_str());
      row->SetToolTip(name.c_str());
      combo->Invalidate();
    }
  }
  SetEditedName(name);
  return result;
}

void CDeviceProfileUI::ApplyTabVisibility() {
  const auto visibility = ProfileTabs::VisibilityFor(list_.DeviceType());
  for (std::size_t i = 0; i < ProfileTabs::kTabCount; ++i) {
    CControlUI* tab = FindInPanel(ProfileTabs::kTabNames[i]);
    if (!tab || visibility[i] == ProfileTabs::Visibility::kUnchanged) continue;
    tab->SetVisible(visibility[i] == ProfileTabs::Visibility::kShown);
  }
}

void CDeviceProfileUI::SelectTab(int tabNumber) {
  selectedTab_ = tabNumber;
  std::array<COptionUI*, ProfileTabs::kTabCount> tabs{};
  if (!FindTabs(&tabs)) return;
  const auto selection = ProfileTabs::SelectionFor(tabNumber);
  // Unselect first: selecting one of the group would unselect the others anyway.
  for (std::size_t i = 0; i < ProfileTabs::kTabCount; ++i)
    if (selection[i] && !*selection[i]) tabs[i]->Selected(false, false);
  for (std::size_t i = 0; i < ProfileTabs::kTabCount; ++i)
    if (selection[i] && *selection[i]) tabs[i]->Selected(true, false);
}

void CDeviceProfileUI::ShowProfileMenu(bool show) {
  menuShown_ = show;
  if (CControlUI* menu = MenuLayout()) menu->SetVisible(show);
  UpdateSpreadButton();
}

void CDeviceProfileUI::UpdateSpreadButton() {
  CControlUI* button = FindInPanel(kSpreadButtonName);
  if (!button) return;
  button->SetForeImage(IsProfileMenuShown() ? kFoldImage : kSpreadImage);
}

bool CDeviceProfileUI::HandleClick(const char* senderName) {
  if (!senderName) return false;
  // The spread button's name is compared exactly, the others ignoring case.
  if (std::strcmp(senderName, kSpreadButtonName) == 0) {
    ShowProfileMenu(!IsProfileMenuShown());
    return true;
  }
  struct ClickRow {
    const char* name;
    void (CDeviceProfileUI::*handler)();
  };
  static constexpr ClickRow kClickRows[] = {
      {kAddButtonName, &CDeviceProfileUI::OnAdd},       {kDeleteButtonName, &CDeviceProfileUI::OnDelete},
      {kCopyButtonName, &CDeviceProfileUI::OnCopy},     {kImportButtonName, &CDeviceProfileUI::OnImport},
      {kExportButtonName, &CDeviceProfileUI::OnExport}, {kResetButtonName, &CDeviceProfileUI::OnReset},
      {kRenameButtonName, &CDeviceProfileUI::OnRename},
  };
  const CDuiString name(senderName);
  for (const ClickRow& row : kClickRows) {
    if (name.CompareNoCase(row.name) != 0) continue;
    // A switch still waiting for its timer happens first: the buttons act on
    // the profile the combo shows.
    SwitchToComboSelection();
    (this->*row.handler)();
    return true;
  }
  return false;
}

void CDeviceProfileUI::OnAdd() {
  const ProfileOpResult result = AddProfile();
  if (!result.done()) {
    // Refused only at the limit; the user is told why nothing happened.
    if (result.status == ProfileOpResult::Status::kRefused && host_)
      host_->ShowMessage(kProfileLimitMessage, true, IDeviceProfileHost::kButtonsOk);
    return;
  }
  // The new profile is the one the user goes on to edit.
  SelectProfile(result.index, false);
  ActivateCurrentProfile();
}

void CDeviceProfileUI::OnDelete() {
  const ProfileOpResult result = DeleteProfile();
  if (result.done() && result.reloadProfile) ActivateCurrentProfile();
}

void CDeviceProfileUI::OnCopy() { CopyProfile(); }

void CDeviceProfileUI::OnImport() {
  if (!host_) return;
  std::string path;
  if (!host_->ChooseOpenFile(DeviceProfileList::kFileFilterDescription, DeviceProfileList::kFileFilterPattern,
                             &path) ||
      path.empty())
    return;
  const ProfileOpResult result = ImportProfile(path);
  if (result.status == ProfileOpResult::Status::kIgnored)
    DebugPrintf("DeviceProfile: %s is not a profile; not imported", path.c_str());
}

void CDeviceProfileUI::OnExport() {
  if (!host_) return;
  std::string path;
  if (!host_->ChooseSaveFile(DeviceProfileList::kFileFilterDescription, DeviceProfileList::kFileFilterPattern,
                             &path) ||
      path.empty())
    return;
  const ProfileOpResult result = ExportProfile(WithProfileExtension(path));
  if (result.status == ProfileOpResult::Status::kFailed)
    host_->ShowMessage(kExportFailedMessage, true, IDeviceProfileHost::kButtonsOk);
}

void CDeviceProfileUI::OnReset() {
  if (!host_) return;
  if (host_->ShowMessage(DeviceProfileList::kResetQuestion, true, IDeviceProfileHost::kButtonsOkCancel) != 1)
    return;
  const ProfileOpResult result = ResetProfile();
  if (result.done() && result.reloadProfile) ActivateCurrentProfile();
}

void CDeviceProfileUI::OnRename() {
  const std::string name = EditedName();
  // An empty field is blank too: the user is told rather than ignored.
  const int result = name.empty() ? DeviceProfileList::kRenameBlank : RenameProfile(name);
  const char* message = DeviceProfileList::RenameMessage(result);
  if (*message && host_) host_->ShowMessage(message, true, IDeviceProfileHost::kButtonsOk);
}

void CDeviceProfileUI::SwitchToComboSelection() {
  const int index = CurrentIndex();
  if (index == list_.CurrentIndex()) {
    // The selection came back to the current profile: stored, nothing to
    // reload, and the name being edited stays.
    if (list_.StoredSelection() != index) list_.SelectProfile(index);
    return;
  }
  if (!SelectProfile(index, false)) return;
  ActivateCurrentProfile();
}

void CDeviceProfileUI::ActivateCurrentProfile() {
  if (!host_) return;
  ShowMacroDownloadResult(host_->ActivateProfile(list_.CurrentUuid()));
}

void CDeviceProfileUI::ShowMacroDownloadResult(int downloadResult) {
  const std::string key = DeviceProfileList::MacroDownloadMessage(downloadResult);
  if (key.empty() || !host_) return;
  if (key == kMacroFailedMessage) {
    host_->ShowMessage(key, true, IDeviceProfileHost::kButtonsOk);
    return;
  }
  const std::string format = CResourceManager::GetInstance()->GetText(kMacroAnswerFormat).str();
  host_->ShowMessage(FormatNumber(format, downloadResult), false, IDeviceProfileHost::kButtonsOk);
}

}  // namespace ostrel
