// The whole start-up and shutdown in this process, on the headless backend.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/os/DebugLog.h"
#include "platform/os/KnownFolders.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/WindowApi.h"
#include "shell/CMainWnd.h"
#include "shell/PrivateFontFile.h"
#include "shell/ShellApplication.h"
#include "shell/ShellBus.h"
#include "support/PrivateSessionBus.h"
#include "support/TestEnvironment.h"

namespace fs = std::filesystem;

namespace ostrel {
namespace {

using namespace std::chrono_literals;

const char* kSystemFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

int ApplicationFontCount() {
  FcFontSet* set = FcConfigGetFonts(nullptr, FcSetApplication);
  return set ? set->nfont : 0;
}

class ShellStartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    program = test::TestRoot() / "program";
    fs::create_directories(program / "Font");
    const char* source = std::getenv("OSTREL_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    fs::create_directory_symlink(fs::path(source) / "skin", program / "skin");
    SetProgramFolderOverride(program.string() + "/");
    SetDebugSink([this](std::string_view line) {
      std::lock_guard<std::mutex> lock(mutex);
      lines.emplace_back(line);
    });
    CMessageLoop& loop = CMessageLoop::Instance();
    loop.AttachCurrentThread();
    loop.Reset();
    loop.SetBackend(std::make_unique<CHeadlessBackend>());
    loop.UseVirtualClock(false);
    CResourceManager::GetInstance()->Release();
  }
  void TearDown() override {
    SetDebugSink({});
    SetProgramFolderOverride("");
    CMessageLoop::Instance().Reset();
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
  }
  int IndexOf(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex);
    for (std::size_t i = 0; i < lines.size(); ++i)
      if (lines[i].find(text) != std::string::npos) return static_cast<int>(i);
    return -1;
  }

  fs::path program;
  std::mutex mutex;
  std::vector<std::string> lines;
};

TEST_F(ShellStartupTest, StartsAndShutsDownInOrder) {
  bool haveFont = fs::exists(kSystemFont);
  if (haveFont) {
    fs::copy_file(kSystemFont, program / "Font" / "Helvetica.ttf");
    fs::copy_file(kSystemFont, program / "Font" / "Simplified_Chinese.ttf");
  }
  const int fontsBefore = ApplicationFontCount();
  int fontsWhileRunning = -1;
  HWND window = nullptr;
  std::thread closer;
  ShellApplication::Options options;
  options.watchSleep = false;
  options.useDisplay = false;
  options.onStarted = [&](CMainWnd& w) {
    window = w.GetHWND();
    fontsWhileRunning = ApplicationFontCount();
    closer = std::thread([&, hwnd = window] {
      for (int i = 0; i < 500 && IndexOf("windowinit") < 0; ++i) std::this_thread::sleep_for(10ms);
      PostMessage(hwnd, WM_CLOSE, 0, 0);
    });
  };
  EXPECT_EQ(ShellApplication::Run(options), 0);
  closer.join();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindow(window));
  if (haveFont) {
    EXPECT_EQ(fontsWhileRunning, fontsBefore + 2);
  }
  EXPECT_EQ(ApplicationFontCount(), fontsBefore);  // every font loaded was removed
  int id = IndexOf("软件标示：");
  int init = IndexOf("InitWindow");
  int shown = IndexOf("windowinit");
  int quit = IndexOf("退出测试");
  EXPECT_GE(id, 0);
  EXPECT_GT(init, id);
  EXPECT_GT(shown, init);
  EXPECT_GT(quit, shown);
  EXPECT_EQ(CMainWnd::MainWindowHandle(), nullptr);
}

TEST_F(ShellStartupTest, ASecondStartWakesTheFirstAndLeavesNoFontBehind) {
  if (!fs::exists(kSystemFont)) GTEST_SKIP() << "DejaVu fonts not installed";
  fs::copy_file(kSystemFont, program / "Font" / "Helvetica.ttf");
  test::PrivateSessionBus bus;
  ASSERT_TRUE(bus.ok());
  // The running instance, as far as the bus sees it.
  ShellBus first;
  ASSERT_EQ(first.Open(), ShellBus::Claim::First);
  ASSERT_TRUE(first.Start());
  const int fontsBefore = ApplicationFontCount();
  bool started = false;
  ShellApplication::Options options;
  options.watchSleep = false;
  options.useDisplay = false;
  options.onStarted = [&](CMainWnd&) { started = true; };
  EXPECT_EQ(ShellApplication::Run(options), 0);
  EXPECT_FALSE(started);
  EXPECT_LT(IndexOf("InitWindow"), 0);
  EXPECT_EQ(ApplicationFontCount(), fontsBefore);
  // The wake-up reached the first one (which has no window to show here).
  first.Close();
  EXPECT_GE(IndexOf("ipc: message 0x"), 0);
}

TEST_F(ShellStartupTest, MissingFontsAreSkipped) {
  PrivateFontFile font;
  EXPECT_FALSE(font.Load("Font\\Harrowen-Regular.otf"));
  EXPECT_FALSE(font.IsLoaded());
  EXPECT_EQ(font.Path(), program.string() + "/Font/Harrowen-Regular.otf");
  font.Unload();  // harmless
  if (!fs::exists(kSystemFont)) GTEST_SKIP() << "DejaVu fonts not installed";
  fs::copy_file(kSystemFont, program / "Font" / "Helvetica.ttf");
  const int before = ApplicationFontCount();
  {
    PrivateFontFile loaded;
    EXPECT_TRUE(loaded.Load("Font\\Helvetica.ttf"));
    EXPECT_EQ(ApplicationFontCount(), before + 1);
  }
  EXPECT_EQ(ApplicationFontCount(), before);
}

}  // namespace
}  // namespace ostrel
