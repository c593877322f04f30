#include "DeviceHostFixture.h"


#include "controls/ProgramControls.h"
#include "platform/os/DebugLog.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/WindowApi.h"
#include "support/MessagePump.h"

namespace ostrel::test {

void DeviceHostFixture::SetUp() {
  CMessageLoop& loop = CMessageLoop::Instance();
  loop.AttachCurrentThread();
  loop.Reset();
  loop.SetBackend(std::make_unique<CHeadlessBackend>());
  loop.UseVirtualClock(false);
  CPaintManagerUI::SetResourcePath(OSTREL_DISCOVERY_TEST_SKIN);
  RegisterProgramControls();
  SetDebugToStderr(false);
  SetDebugSink([this](std::string_view line) {
    std::lock_guard<std::mutex> lock(linesMutex_);
    lines_.emplace_back(line);
  });
}

void DeviceHostFixture::TearDown() {
  if (window) {
    if (window->GetHWND()) DestroyWindow(window->GetHWND());
    window.reset();
  }
  CMessageLoop::Instance().Reset();
  SetDebugSink({});
}

void DeviceHostFixture::CreateWindow() {
  window = std::make_unique<TestMainWindow>();
  ASSERT_NE(window->CreateHidden(), nullptr);
  ASSERT_TRUE(window->created);
}

bool DeviceHostFixture::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  return PumpMessagesUntil(done, timeout);
}

void DeviceHostFixture::PumpFor(std::chrono::milliseconds time) {
  PumpUntil([] { return false; }, time);
}

TestDevicePage* DeviceHostFixture::PageOfType(int deviceType) {
  for (CZantroveUSBDevice* page : window->host.Pages())
    if (page->GetDeviceType() == deviceType) return static_cast<TestDevicePage*>(page);
  return nullptr;
}

bool DeviceHostFixture::SawLine(const std::string& text) const { return CountLines(text) > 0; }

int DeviceHostFixture::CountLines(const std::string& text) const {
  std::lock_guard<std::mutex> lock(linesMutex_);
  int n = 0;
  for (const std::string& line : lines_)
    if (line.find(text) != std::string::npos) ++n;
  return n;
}

}  // namespace ostrel::test
