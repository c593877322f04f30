#pragma once
// Shared set-up of the dialog tests: a headless window system on a virtual
// clock, the repository's skin as resource folder, a program folder of the
// test's own (DefaultData with the repository's Language.config), and a
// helper that drives modal windows from the idle loop.

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/UIDefs.h"

namespace ostrel {
class CPaintManagerUI;
class WindowImplBase;
}  // namespace ostrel

namespace ostrel::test {

std::filesystem::path RepoDir();

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  CHeadlessBackend* Headless();
  void Pump();
  void WriteFile(const std::filesystem::path& path, const std::string& text);
  bool Logged(const std::string& text) const;

  // The paint manager of the first window of a class (null when none).
  static HWND FindWindowOfClass(const char* className);
  static CPaintManagerUI* PaintManagerOf(HWND hwnd);
  // Clicks the centre of a named control of a window.
  void ClickControl(HWND hwnd, const char* name);

  // Steps run one at a time whenever the loop would wait (modal windows).
  void Script(std::vector<std::function<void()>> steps);

  std::filesystem::path programFolder_;
  std::vector<std::string> debugLines_;

 private:
  std::deque<std::function<void()>> steps_;
  bool scripted_ = false;
};

}  // namespace ostrel::test
