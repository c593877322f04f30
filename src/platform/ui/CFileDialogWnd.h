#pragma once
// The skinned open and save dialog: the folder as an editable path, its
// sub-folders and the files that match the chosen type, a name field and
// the type list. Keyboard: a path typed into the path field and Enter goes
// there (or chooses the file it names); arrows move in the list, Enter
// opens a folder or chooses a file, Backspace goes to the parent folder,
// typing starts a path in the path field, Esc cancels. A name with wildcards ("*.png") becomes the listed pattern.

#include <span>
#include <string>
#include <vector>

#include "platform/ui/FileDialogFilter.h"
#include "platform/ui/WindowImplBase.h"

namespace ostrel {

class CListUI;

class CFileDialogWnd : public WindowImplBase {
 public:
  enum class Mode { Open, Save };

  CFileDialogWnd(Mode mode, std::span<const FileDialogFilter> filters);

  // Where the dialog starts (default: the folder of the last choice in this
  // process, else the home folder) and the name field's first text.
  void SetInitialFolder(const std::string& folder) { m_initialFolder = folder; }
  void SetInitialName(const std::string& name) { m_initialName = name; }

  // Shows the dialog modal over `owner`; true with the chosen full path,
  // false (path emptied) when cancelled.
  bool Run(HWND owner, std::string* path);

  // The dialog's state, for its own use and for tests.
  bool Navigate(const std::string& folder);
  bool GoUp();
  const std::string& CurrentFolder() const { return m_folder; }
  std::vector<std::string> ListedNames() const;
  const std::string& ChosenPath() const { return m_chosen; }
  // The language key shown as the error line ("" when none).
  const std::string& ErrorKey() const { return m_errorKey; }

  // Whether `name` matches one of the ';'-separated patterns (no case).
  static bool MatchesPattern(const std::string& name, const std::string& patterns);
  // The folder of the last choice made in this process.
  static const std::string& LastFolder();

  void InitWindow() override;
  void Notify(TNotifyUI& msg) override;

  static constexpr const char* kLayoutFile = "XML\\FileDialog.xml";

 protected:
  const char* GetWindowClassName() const override { return "FileDialogWnd"; }
  CDuiString GetSkinFile() override { return CDuiString(kLayoutFile); }
  LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
  LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

 private:
  struct Entry {
    std::string name;
    bool folder;
  };
  std::string CurrentPattern() const;
  std::string Resolve(const std::string& text) const;
  void Fill();
  void ShowError(const char* key);
  void OnListSelect(int index);
  void OnActivate(int index);
  void OnPathEntered();
  void Accept();
  void Choose(const std::string& path);
  bool ListHasFocus() const;
  std::string DefaultExtension() const;

  Mode m_mode;
  struct Filter {
    std::string description;
    std::string pattern;
  };
  std::vector<Filter> m_filters;
  int m_filterIndex = 0;
  std::string m_customPattern;
  std::string m_initialFolder;
  std::string m_initialName;
  std::string m_folder;
  std::vector<Entry> m_entries;
  std::string m_chosen;
  std::string m_errorKey;
  std::string m_pendingOverwrite;
  CListUI* m_pList = nullptr;
  CControlUI* m_pPathEdit = nullptr;
  CControlUI* m_pNameEdit = nullptr;
  CControlUI* m_pError = nullptr;
};

}  // namespace ostrel
