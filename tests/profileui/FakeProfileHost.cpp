#include "FakeProfileHost.h"

namespace ostrel::test {

int FakeProfileHost::ShowMessage(const std::string& text, bool isResource, int buttonStyle) {
  messages.push_back(ShownMessage{text, isResource, buttonStyle});
  return messageAnswer;
}

bool FakeProfileHost::Choose(bool save, const std::string& description, const std::string& pattern,
                             std::string* path) {
  fileChoices.push_back(FileChoice{save, description, pattern});
  if (paths.empty() || !paths.front()) {
    if (!paths.empty()) paths.pop_front();
    return false;
  }
  *path = *paths.front();
  paths.pop_front();
  return true;
}

bool FakeProfileHost::ChooseOpenFile(const std::string& description, const std::string& pattern,
                                     std::string* path) {
  return Choose(false, description, pattern, path);
}

bool FakeProfileHost::ChooseSaveFile(const std::string& description, const std::string& pattern,
                                     std::string* path) {
  return Choose(true, description, pattern, path);
}

int FakeProfileHost::ActivateProfile(const std::string& uuid) {
  activated.push_back(uuid);
  return macroDownloadResult;
}

}  // namespace ostrel::test
