#include "shell/FileDialogs.h"

#include <string>

#include "platform/ui/CFileDialogWnd.h"

namespace ostrel {
namespace {

bool Show(CFileDialogWnd::Mode mode, std::span<const FileDialogFilter> filter, HWND owner, CDuiString& path) {
  CFileDialogWnd dialog(mode, filter);
  std::string chosen;
  bool ok = dialog.Run(owner, &chosen) && !chosen.empty();
  path = ok ? CDuiString(chosen) : CDuiString();
  return ok;
}

}  // namespace

bool ShowOpenFileDialog(std::span<const FileDialogFilter> filter, HWND owner, CDuiString& path) {
  return Show(CFileDialogWnd::Mode::Open, filter, owner, path);
}

bool ShowSaveFileDialog(std::span<const FileDialogFilter> filter, HWND owner, CDuiString& path) {
  return Show(CFileDialogWnd::Mode::Save, filter, owner, path);
}

}  // namespace ostrel
