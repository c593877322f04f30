#include "DialogTest.h"

#include <cstdlib>
#include <fstream>

#include "platform/os/DebugLog.h"
#include "platform/os/KnownFolders.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/CWindowWnd.h"
#include "platform/ui/WindowImplBase.h"
#include "shell/CSkinFrame.h"
#include "support/TestEnvironment.h"

namespace ostrel::test {

std::filesystem::path RepoDir() {
  const char* env = std::getenv("OSTREL_SOURCE_DIR");
  return env && *env ? std::filesystem::path(env) : std::filesystem::path(OSTREL_DIALOGS_SOURCE_DIR);
}

void DialogTest::SetUp() {
  CMessageLoop& loop = CMessageLoop::Instance();
  loop.AttachCurrentThread();
  loop.Reset();
  loop.SetBackend(std::make_unique<CHeadlessBackend>());
  loop.UseVirtualClock(true);
  CResourceManager::GetInstance()->Release();
  CPaintManagerUI::RemoveAllImages();
  CPaintManagerUI::SetResourcePath((RepoDir() / "skin").string().c_str());
  SetDebugSink([this](std::string_view line) { debugLines_.emplace_back(line); });
  SetDebugToStderr(false);
  programFolder_ = TestRoot() / "program";
  std::filesystem::create_directories(programFolder_ / "DefaultData");
  std::filesystem::copy_file(RepoDir() / "DefaultData" / "Language.config",
                             programFolder_ / "DefaultData" / "Language.config");
  SetProgramFolderOverride(programFolder_.string() + "/");
  Headless()->SetIdleHandler([this] {
    if (steps_.empty()) {
      if (!scripted_) return false;
      // A modal window waiting with nothing left to do would hang the test.
      for (const char* cls : {"MsgWnd", "FileDialogWnd"}) {
        if (HWND h = FindWindowOfClass(cls)) {
          ADD_FAILURE() << cls << " is still open when the test has nothing left to do";
          CMessageLoop::Instance().Post(h, WM_CLOSE, 0, 0);
          return true;
        }
      }
      return false;
    }
    auto step = std::move(steps_.front());
    steps_.pop_front();
    step();
    return true;
  });
}

void DialogTest::TearDown() {
  Headless()->SetIdleHandler({});
  CMessageLoop::Instance().Reset();
  CResourceManager::GetInstance()->Release();
  SetProgramFolderOverride("");
  SetDebugSink({});
  SetDebugToStderr(true);
}

CHeadlessBackend* DialogTest::Headless() {
  return static_cast<CHeadlessBackend*>(CMessageLoop::Instance().Backend());
}

void DialogTest::Pump() { CMessageLoop::Instance().PumpPending(); }

void DialogTest::WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

bool DialogTest::Logged(const std::string& text) const {
  for (const auto& l : debugLines_)
    if (l.find(text) != std::string::npos) return true;
  return false;
}

HWND DialogTest::FindWindowOfClass(const char* className) {
  return CMessageLoop::Instance().FindWindow(className, nullptr);
}

CPaintManagerUI* DialogTest::PaintManagerOf(HWND hwnd) {
  WindowRecord* rec = CMessageLoop::Instance().Find(hwnd);
  if (!rec) return nullptr;
  if (auto* wnd = dynamic_cast<WindowImplBase*>(rec->wnd)) return wnd->GetPaintManager();
  if (auto* frame = dynamic_cast<CSkinFrame*>(rec->wnd)) return frame->GetPaintManager();
  return nullptr;
}

void DialogTest::ClickControl(HWND hwnd, const char* name) {
  CPaintManagerUI* pm = PaintManagerOf(hwnd);
  ASSERT_NE(pm, nullptr) << name;
  pm->RenderToImage();  // laid out
  CControlUI* c = pm->FindControl(name);
  ASSERT_NE(c, nullptr) << name;
  RECT r = c->GetPos();
  Headless()->Click(hwnd, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void DialogTest::Script(std::vector<std::function<void()>> steps) {
  steps_.assign(std::make_move_iterator(steps.begin()), std::make_move_iterator(steps.end()));
  scripted_ = true;
}

std::function<void()> DialogTest::WhenOpen(const char* className, std::function<void(HWND)> act) {
  return [this, className, act] {
    if (HWND h = FindWindowOfClass(className)) {
      act(h);
    } else {
      steps_.push_front(WhenOpen(className, act));
    }
  };
}

}  // namespace ostrel::test
