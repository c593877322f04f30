#pragma once
// The profile panel's window services as a test sees them: every message,
// file choice and page reload is recorded; the answers are set by the test.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "profiles/IDeviceProfileHost.h"

namespace ostrel::test {

struct ShownMessage {
  std::string text;
  bool isResource;
  int buttonStyle;
  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

struct FileChoice {
  bool save;
  std::string description;
  std::string pattern;
};

class FakeProfileHost : public IDeviceProfileHost {
 public:
  int ShowMessage(const std::string& text, bool isResource, int buttonStyle) override;
  bool ChooseOpenFile(const std::string& description, const std::string& pattern, std::string* path) override;
  bool ChooseSaveFile(const std::string& description, const std::string& pattern, std::string* path) override;
  int ActivateProfile(const std::string& uuid) override;

  std::vector<ShownMessage> messages;
  std::vector<FileChoice> fileChoices;
  std::vector<std::string> activated;
  // What the dialogs answer: the next path, or nullopt for a cancelled dialog.
  std::deque<std::optional<std::string>> paths;
  int messageAnswer = 1;
  int macroDownloadResult = 0;

 private:
  bool Choose(bool save, const std::string& description, const std::string& pattern, std::string* path);
};

}  // namespace ostrel::test
