#include "shell/MainWndProfileHost.h"

#include "devices/CZantroveUSBDevice.h"
#include "platform/ui/FileDialogFilter.h"
#include "shell/FileDialogs.h"
#include "shell/MessageBox.h"

namespace ostrel {

MainWndProfileHost::MainWndProfileHost(std::function<HWND()> window, std::function<int()> dpi,
                                       std::function<CZantroveUSBDevice*()> currentPage)
    : window_(std::move(window)), dpi_(std::move(dpi)), currentPage_(std::move(currentPage)) {}

int MainWndProfileHost::ShowMessage(const std::string& text, bool isResource, int buttonStyle) {
  return ShowMessageBox(window_(), "", text.c_str(), dpi_(), isResource, buttonStyle);
}

bool MainWndProfileHost::ChooseOpenFile(const std::string& filterDescription,
                                        const std::string& filterPattern, std::string* path) {
  const FileDialogFilter filter[] = {{filterDescription.c_str(), filterPattern.c_str()}};
  CDuiString chosen;
  if (!path || !ShowOpenFileDialog(filter, window_(), chosen)) return false;
  *path = chosen.str();
  return true;
}

bool MainWndProfileHost::ChooseSaveFile(const std::string& filterDescription,
                                        const std::string& filterPattern, std::string* path) {
  const FileDialogFilter filter[] = {{filterDescription.c_str(), filterPattern.c_str()}};
  CDuiString chosen;
  if (!path || !ShowSaveFileDialog(filter, window_(), chosen)) return false;
  *path = chosen.str();
  return true;
}

int MainWndProfileHost::ActivateProfile(const std::string& uuid) {
  CZantroveUSBDevice* page = currentPage_();
  if (!page) return 0;
  // The page's usual order for a change: its copy, the device, the file.
  page->SetProfileId(uuid.c_str());
  page->LoadActiveProfile();
  page->WriteProfileRecord(0);
  return page->DownloadMacros(0);
}

}  // namespace ostrel
