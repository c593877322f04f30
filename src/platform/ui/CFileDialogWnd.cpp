#include "platform/ui/CFileDialogWnd.h"

#include <fnmatch.h>
#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/os/DebugLog.h"
#include "platform/ui/CComboUI.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/CListLabelElementUI.h"
#include "platform/ui/CListUI.h"
#include "platform/ui/IListItemUI.h"
#include "platform/ui/WindowApi.h"

namespace fs = std::filesystem;

namespace ostrel {
namespace {

std::string g_lastFolder;

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return std::string();
  size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

bool IsFolder(const std::string& path) {
  std::error_code ec;
  return fs::is_directory(path, ec);
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool HasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? std::string(home) : std::string("/");
}

// A clean absolute form without resolving links the user did not ask for.
std::string Clean(const std::string& path) {
  std::string s = fs::path(path).lexically_normal().string();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s.empty() ? std::string("/") : s;
}

bool LessNoCase(const std::string& a, const std::string& b) {
  int c = strcasecmp(a.c_str(), b.c_str());
  return c != 0 ? c < 0 : a < b;
}

}  // namespace

CFileDialogWnd::CFileDialogWnd(Mode mode, std::span<const FileDialogFilter> filters) : m_mode(mode) {
  for (const FileDialogFilter& f : filters)
    m_filters.push_back(Filter{f.description ? f.description : "", f.pattern ? f.pattern : ""});
  if (m_filters.empty()) m_filters.push_back(Filter{"filedlg_all_files_text", "*.*"});
}

const std::string& CFileDialogWnd::LastFolder() { return g_lastFolder; }

bool CFileDialogWnd::MatchesPattern(const std::string& name, const std::string& patterns) {
  size_t start = 0;
  bool any = false;
  while (start <= patterns.size()) {
    size_t end = patterns.find(';', start);
    if (end == std::string::npos) end = patterns.size();
    std::string p = Trim(patterns.substr(start, end - start));
    start = end + 1;
    if (p.empty()) continue;
    any = true;
    if (p == "*.*") p = "*";  // as on Windows: every file, with or without a dot
    if (fnmatch(p.c_str(), name.c_str(), FNM_CASEFOLD | FNM_PERIOD) == 0) return true;
  }
  return !any;  // an empty pattern lists everything
}

bool CFileDialogWnd::Run(HWND owner, std::string* path) {
  if (path) path->clear();
  if (!Create(owner, "filedlg", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW)) return false;
  CenterWindow();
  UINT code = ShowModal();
  if (code != IDOK || m_chosen.empty()) return false;
  if (path) *path = m_chosen;
  return true;
}

void CFileDialogWnd::InitWindow() {
  m_pList = static_cast<CListUI*>(m_pm.FindControl("filedlg_list"));
  m_pPathEdit = m_pm.FindControl("filedlg_path_edit");
  m_pNameEdit = m_pm.FindControl("filedlg_name_edit");
  m_pError = m_pm.FindControl("filedlg_error_label");
  const bool open = m_mode == Mode::Open;
  if (CControlUI* t = m_pm.FindControl("filedlg_title"))
    t->SetText(open ? "filedlg_open_title" : "filedlg_save_title");
  if (CControlUI* ok = m_pm.FindControl("filedlg_ok_btn"))
    ok->SetText(open ? "filedlg_open_text" : "filedlg_save_text");
  if (auto* combo = static_cast<CComboUI*>(m_pm.FindControl("filedlg_filter_combo"))) {
    for (const Filter& f : m_filters) {
      auto* item = new CListLabelElementUI();
      item->SetResourceText(true);
      item->SetText(f.description.c_str());
      item->SetFixedHeight(30);
      combo->Add(item);
    }
    combo->SelectItem(0, false, false);
  }
  if (HasWildcard(m_initialName)) {
    m_customPattern = m_initialName;
  } else if (m_pNameEdit) {
    m_pNameEdit->SetText(m_initialName.c_str());
  }
  std::string start = !m_initialFolder.empty() ? m_initialFolder : g_lastFolder;
  if (start.empty() || !Navigate(start)) {
    if (!Navigate(HomeFolder())) Navigate("/");
  }
  if (m_pList) m_pm.SetFocus(m_pList);
}

std::string CFileDialogWnd::CurrentPattern() const {
  if (!m_customPattern.empty()) return m_customPattern;
  if (m_filterIndex >= 0 && m_filterIndex < static_cast<int>(m_filters.size()))
    return m_filters[static_cast<size_t>(m_filterIndex)].pattern;
  return "*";
}

std::string CFileDialogWnd::DefaultExtension() const {
  // The extension of the type when it names exactly one: "*.json;" -> ".json".
  std::string p = Trim(CurrentPattern());
  while (!p.empty() && p.back() == ';') p.pop_back();
  if (p.size() < 3 || p.compare(0, 2, "*.") != 0) return std::string();
  std::string ext = p.substr(1);
  if (ext.find_first_of("*?;[ ") != std::string::npos) return std::string();
  return ext;
}

std::string CFileDialogWnd::Resolve(const std::string& text) const {
  std::string t = text;
  if (t == "~" || t.rfind("~/", 0) == 0) t = HomeFolder() + t.substr(1);
  if (t.empty() || t[0] != '/') t = m_folder + "/" + t;
  return Clean(t);
}

bool CFileDialogWnd::Navigate(const std::string& folder) {
  std::string target = Clean(folder);
  if (!IsFolder(target)) return false;
  std::vector<Entry> entries;
  std::error_code ec;
  fs::directory_iterator it(target, fs::directory_options::skip_permission_denied, ec);
  if (ec) {
    DebugPrintf("file dialog: cannot list %s: %s", target.c_str(), ec.message().c_str());
    ShowError("filedlg_folder_unreadable");
    return false;
  }
  std::string pattern = CurrentPattern();
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::string name = it->path().filename().string();
    if (name.empty() || name[0] == '.') continue;  // hidden files, and our temporary files
    std::error_code e2;
    if (it->is_directory(e2)) {
      entries.push_back(Entry{name, true});
    } else if (it->is_regular_file(e2) && MatchesPattern(name, pattern)) {
      entries.push_back(Entry{name, false});
    }
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.folder != b.folder) return a.folder;
    return LessNoCase(a.name, b.name);
  });
  m_folder = target;
  m_entries = std::move(entries);
  m_pendingOverwrite.clear();
  ShowError("");
  if (m_pPathEdit) m_pPathEdit->SetText(m_folder.c_str());
  Fill();
  return true;
}

void CFileDialogWnd::Fill() {
  if (!m_pList) return;
  m_pList->RemoveAll();
  for (const Entry& e : m_entries) {
    auto* row = new CListLabelElementUI();
    row->SetText(e.name.c_str());
    row->SetUserData(e.name.c_str());
    row->SetTag(e.folder ? 1 : 0);
    row->SetFixedHeight(30);
    row->SetBkImage(e.folder ? "file='dialogs/folder.png' dest='8,5,28,25'"
                             : "file='dialogs/file.png' dest='8,5,28,25'");
    m_pList->Add(row);
  }
}

std::vector<std::string> CFileDialogWnd::ListedNames() const {
  std::vector<std::string> names;
  for (const Entry& e : m_entries) names.push_back(e.folder ? e.name + "/" : e.name);
  return names;
}

bool CFileDialogWnd::GoUp() {
  if (m_folder.empty() || m_folder == "/") return false;
  std::string came = fs::path(m_folder).filename().string();
  if (!Navigate(fs::path(m_folder).parent_path().string())) return false;
  // Keep the place: the folder we came from is selected.
  for (size_t i = 0; i < m_entries.size(); ++i) {
    if (m_entries[i].folder && m_entries[i].name == came) {
      if (m_pList) m_pList->SelectItem(static_cast<int>(i), false, false);
      break;
    }
  }
  return true;
}

void CFileDialogWnd::ShowError(const char* key) {
  m_errorKey = key ? key : "";
  if (!m_pError) return;
  m_pError->SetResourceText(true);
  m_pError->SetText(m_errorKey.c_str());
  m_pError->SetVisible(!m_errorKey.empty());
}

void CFileDialogWnd::OnListSelect(int index) {
  if (index < 0 || index >= static_cast<int>(m_entries.size())) return;
  const Entry& e = m_entries[static_cast<size_t>(index)];
  if (!e.folder && m_pNameEdit) m_pNameEdit->SetText(e.name.c_str());
}

void CFileDialogWnd::OnActivate(int index) {
  if (index < 0 || index >= static_cast<int>(m_entries.size())) return;
  Entry e = m_entries[static_cast<size_t>(index)];
  if (e.folder) {
    Navigate(m_folder + "/" + e.name);
    if (m_pList) m_pm.SetFocus(m_pList);
    return;
  }
  if (m_pNameEdit) m_pNameEdit->SetText(e.name.c_str());
  Accept();
}

void CFileDialogWnd::OnPathEntered() {
  std::string text = Trim(m_pPathEdit ? m_pPathEdit->GetText().str() : std::string());
  if (text.empty()) {
    if (m_pPathEdit) m_pPathEdit->SetText(m_folder.c_str());
    return;
  }
  std::string target = Resolve(text);
  if (IsFolder(target)) {
    Navigate(target);
    if (m_pList) m_pm.SetFocus(m_pList);
    return;
  }
  // A path to a file: its folder, then the name as if typed in the name field.
  std::string parent = fs::path(target).parent_path().string();
  if (!IsFolder(parent)) {
    ShowError("filedlg_path_not_found");
    return;
  }
  std::string name = fs::path(target).filename().string();
  Navigate(parent);
  if (m_pNameEdit) m_pNameEdit->SetText(name.c_str());
  Accept();
}

void CFileDialogWnd::Accept() {
  std::string name = Trim(m_pNameEdit ? m_pNameEdit->GetText().str() : std::string());
  if (name.empty()) {
    // Nothing named: a selected folder opens, anything else stays as it is.
    int sel = m_pList ? m_pList->GetCurSel() : -1;
    if (sel >= 0 && sel < static_cast<int>(m_entries.size()) && m_entries[static_cast<size_t>(sel)].folder)
      OnActivate(sel);
    return;
  }
  if (HasWildcard(name)) {
    m_customPattern = name;
    Navigate(m_folder);
    return;
  }
  std::string target = Resolve(name);
  if (IsFolder(target)) {
    Navigate(target);
    if (m_pNameEdit) m_pNameEdit->SetText("");
    return;
  }
  if (m_mode == Mode::Open) {
    if (!IsFile(target)) {
      ShowError("filedlg_file_not_found");
      return;
    }
    Choose(target);
    return;
  }
  std::string parent = fs::path(target).parent_path().string();
  if (!IsFolder(parent)) {
    ShowError("filedlg_path_not_found");
    return;
  }
  if (fs::path(target).extension().empty()) target += DefaultExtension();
  if (IsFolder(target)) {
    Navigate(target);
    return;
  }
  std::error_code ec;
  if (fs::exists(target, ec) && m_pendingOverwrite != target) {
    // A second confirmation replaces the file.
    m_pendingOverwrite = target;
    ShowError("filedlg_overwrite_text");
    return;
  }
  Choose(target);
}

void CFileDialogWnd::Choose(const std::string& path) {
  m_chosen = path;
  g_lastFolder = fs::path(path).parent_path().string();
  Close(IDOK);
}

bool CFileDialogWnd::ListHasFocus() const {
  CControlUI* focus = m_pm.GetFocus();
  for (CControlUI* c = focus; c; c = c->GetParent())
    if (c == m_pList) return true;
  return false;
}

LRESULT CFileDialogWnd::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
  if (uMsg == WM_KEYDOWN && wParam == VK_BACK && m_pList && ListHasFocus()) {
    GoUp();
    m_pm.SetFocus(m_pList);
    bHandled = true;
    return 1;
  }
  if (uMsg == WM_CHAR && wParam >= 0x20 && wParam != 0x7F && m_pPathEdit && ListHasFocus()) {
    // Typing in the list starts a path: from the root or home for '/' and
    // '~', else below the current folder. The character itself then goes
    // to the path field, which has the focus from here on.
    std::string start;
    if (wParam != '/' && wParam != '~') start = m_folder == "/" ? std::string("/") : m_folder + "/";
    m_pPathEdit->SetText(start.c_str());
    if (auto* edit = static_cast<CEditUI*>(m_pPathEdit->GetInterface("Edit")))
      edit->SetSel(static_cast<int>(start.size()), static_cast<int>(start.size()));
    m_pm.SetFocus(m_pPathEdit);
    return 0;
  }
  if (uMsg == WM_KEYDOWN && wParam == VK_RETURN) {
    // Enter belongs to the focused edit or list row; elsewhere it confirms.
    CControlUI* focus = m_pm.GetFocus();
    if (!focus ||
        (!ListHasFocus() && focus != m_pPathEdit && focus != m_pNameEdit && !focus->GetInterface("Button"))) {
      Accept();
      bHandled = true;
      return 1;
    }
    return 0;
  }
  return WindowImplBase::MessageHandler(uMsg, wParam, lParam, bHandled);
}

LRESULT CFileDialogWnd::ResponseDefaultKeyEvent(WPARAM wParam) {
  if (wParam == VK_ESCAPE) {
    Close(IDCANCEL);
    return 1;
  }
  return 0;
}

void CFileDialogWnd::Notify(TNotifyUI& msg) {
  CControlUI* sender = msg.pSender;
  const CDuiString name = sender ? sender->GetName() : CDuiString();
  if (msg.sType == "click") {
    if (name == "filedlg_ok_btn") {
      Accept();
      return;
    }
    if (name == "filedlg_cancel_btn" || name == "closebtn") {
      Close(IDCANCEL);
      return;
    }
    if (name == "filedlg_up_btn") {
      GoUp();
      return;
    }
  } else if (msg.sType == "itemselect") {
    if (sender == m_pList) {
      OnListSelect(static_cast<int>(msg.wParam));
    } else if (name == "filedlg_filter_combo") {
      m_filterIndex = static_cast<int>(msg.wParam);
      m_customPattern.clear();
      Navigate(m_folder);
    }
    return;
  } else if (msg.sType == "itemactivate") {
    auto* item = sender ? static_cast<IListItemUI*>(sender->GetInterface("ListItem")) : nullptr;
    if (item && m_pList && item->GetOwner() == static_cast<IListOwnerUI*>(m_pList))
      OnActivate(item->GetIndex());
    return;
  } else if (msg.sType == "return") {
    if (sender == m_pPathEdit) {
      OnPathEntered();
    } else if (sender == m_pNameEdit) {
      Accept();
    }
    return;
  }
  WindowImplBase::Notify(msg);
}

}  // namespace ostrel
