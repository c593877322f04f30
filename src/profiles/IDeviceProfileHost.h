#pragma once
// What the profile panel of a device page needs from the window it lives in:
// the message box, the open and save file dialogs, and the device page that
// takes a new active profile. The main window fills it in for each page's
// panel (CDeviceProfileUI::SetHost); tests give a fake.

#include <string>

namespace ostrel {

class IDeviceProfileHost {
 public:
  // Button styles of ShowMessage.
  static constexpr int kButtonsOk = 0;
  static constexpr int kButtonsOkCancel = 1;

  virtual ~IDeviceProfileHost() = default;

  // A modal message. `text` is a language text key when `isResource`, else
  // finished text. Returns 1 when the user confirmed, 0 otherwise.
  virtual int ShowMessage(const std::string& text, bool isResource, int buttonStyle) = 0;

  // The open and save file dialogs with one filter (description, pattern).
  // True with the chosen full path; false, path untouched, when cancelled.
  virtual bool ChooseOpenFile(const std::string& filterDescription, const std::string& filterPattern,
                              std::string* path) = 0;
  virtual bool ChooseSaveFile(const std::string& filterDescription, const std::string& filterPattern,
                              std::string* path) = 0;

  // The panel's current profile changed (a switch, an add, a delete or a
  // reset): the device page takes `uuid` as its active profile, reloads it,
  // applies it to the device and downloads the macros. Returns the macro
  // download's result (-1 failed, a positive number the device's answer, 0
  // nothing to tell); the panel shows the message for it.
  virtual int ActivateProfile(const std::string& uuid) = 0;
};

}  // namespace ostrel
