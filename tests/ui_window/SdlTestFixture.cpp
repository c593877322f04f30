#include "SdlTestFixture.h"

#include <chrono>
#include <cstdlib>

#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CResourceManager.h"

namespace ostrel::test {

bool SdlTestFixture::Install(const char* driver) {
  ::setenv("SDL_VIDEODRIVER", driver, 1);
  CMessageLoop& loop = CMessageLoop::Instance();
  loop.AttachCurrentThread();
  loop.Reset();
  loop.UseVirtualClock(false);
  CResourceManager::GetInstance()->Release();
  auto sdl = CSdlBackend::Create();
  if (!sdl) return false;
  backend = sdl.get();
  loop.SetBackend(std::move(sdl));
  return true;
}

bool SdlTestFixture::StartDummy() { return Install("dummy"); }

bool SdlTestFixture::StartX() {
  if (std::system("command -v xdotool >/dev/null 2>&1") != 0) return false;
  xvfb = std::make_unique<XvfbServer>();
  if (!xvfb->ok()) return false;
  return Install("x11");
}

void SdlTestFixture::TearDown() {
  CMessageLoop& loop = CMessageLoop::Instance();
  loop.Reset();
  if (backend) loop.SetBackend(std::make_unique<CHeadlessBackend>());
  backend = nullptr;
  xvfb.reset();
}

bool SdlTestFixture::RunUntil(const std::function<bool()>& done, int timeout_ms) {
  CMessageLoop& loop = CMessageLoop::Instance();
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    loop.PumpPending();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    loop.Backend()->WaitForEvents(10);
  }
}

std::future<int> SdlTestFixture::Xdotool(const std::string& args) {
  std::string command = "xdotool " + args + " >/dev/null 2>&1";
  return std::async(std::launch::async, [command] { return std::system(command.c_str()); });
}

std::future<int> SdlTestFixture::ClickAt(POINT screen, int button) {
  return Xdotool("mousemove --sync " + std::to_string(screen.x) + " " + std::to_string(screen.y) +
                 " sleep 0.05 click " + std::to_string(button));
}

}  // namespace ostrel::test
