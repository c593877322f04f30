#pragma once
// What the main window offers the profile panels of the device pages: its
// message box and file dialogs, and taking a profile on the current page.

#include <functional>
#include <string>

#include "platform/ui/UIDefs.h"
#include "profiles/IDeviceProfileHost.h"

namespace ostrel {

class CZantroveUSBDevice;

class MainWndProfileHost : public IDeviceProfileHost {
 public:
  // `window` owns the dialogs; `dpi` and `currentPage` are asked each time.
  MainWndProfileHost(std::function<HWND()> window, std::function<int()> dpi,
                     std::function<CZantroveUSBDevice*()> currentPage);

  int ShowMessage(const std::string& text, bool isResource, int buttonStyle) override;
  bool ChooseOpenFile(const std::string& filterDescription, const std::string& filterPattern,
                      std::string* path) override;
  bool ChooseSaveFile(const std::string& filterDescription, const std::string& filterPattern,
                      std::string* path) override;
  int ActivateProfile(const std::string& uuid) override;

 private:
  std::function<HWND()> window_;
  std::function<int()> dpi_;
  std::function<CZantroveUSBDevice*()> currentPage_;
};

}  // namespace ostrel
