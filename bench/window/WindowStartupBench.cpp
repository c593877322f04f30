// Time from process start to the first painted frame, and the resident
// memory of the idle window: a 1000x640 window with 132 labelled buttons
// (the main window's size and about its number of key buttons) on the SDL
// backend. Run under a display, e.g. `xvfb-run -a build/bin/bench_window_startup`.
// Prints one line per figure; exit code 1 when there is no display.

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CSdlBackend.h"
#include "platform/ui/WindowApi.h"
#include "platform/ui/WindowImplBase.h"

namespace ostrel {
namespace {

constexpr int kButtons = 132;

std::string Layout() {
  std::ostringstream xml;
  xml << R"(<Window size="1000,640" caption="0,0,0,40"><VerticalLayout bkcolor="#FF14161A">)"
      << R"(<HorizontalLayout height="40" bkcolor="#FF1C1F24"/>)"
      << R"(<TileLayout columns="22" inset="8,8,8,8" childpadding="2">)";
  for (int i = 0; i < kButtons; ++i)
    xml << R"(<Button name="key_)" << i << R"(" height="40" text="K)" << i
        << R"(" bkcolor="#FF262A31" hotbkcolor="#FF30353D" borderround="4,4"/>)";
  xml << "</TileLayout></VerticalLayout></Window>";
  return xml.str();
}

class BenchWindow : public WindowImplBase {
 public:
  explicit BenchWindow(std::string layout) : layout_(std::move(layout)) {}

 protected:
  CDuiString GetSkinFile() override { return CDuiString(layout_); }
  const char* GetWindowClassName() const override { return "BenchWindow"; }

 private:
  std::string layout_;
};

// Milliseconds since the process started (the kernel's start time is in clock ticks since boot).
double SinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string line;
  std::getline(stat, line);
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  unsigned long long start_ticks = 0;
  for (int i = 3; i <= 22 && fields >> field; ++i)
    if (i == 22) start_ticks = std::stoull(field);
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  double now_ms = now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
  return now_ms - start_ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long StatusKiB(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::string(key).size());
  return -1;
}

}  // namespace
}  // namespace ostrel

int main() {
  using namespace ostrel;
  auto sdl = CSdlBackend::Create();
  if (!sdl) {
    std::fprintf(stderr, "no display: run under xvfb-run\n");
    return 1;
  }
  CSdlBackend* backend = sdl.get();
  CMessageLoop& loop = CMessageLoop::Instance();
  loop.SetBackend(std::move(sdl));
  BenchWindow window(Layout());
  if (!window.Create(nullptr, "Kestrane", 0x96CA0000, 0, 0, 0, 1000, 640)) return 1;
  window.CenterWindow();
  while (backend->PresentedPixels() == 0) {
    loop.PumpPending();
    if (backend->PresentedPixels() == 0) backend->WaitForEvents(5);
  }
  double first_frame = SinceProcessStart();
  // Idle for a second: hover timers and exposes settle.
  DWORD until = GetTickCount() + 1000;
  while (static_cast<std::int32_t>(GetTickCount() - until) < 0) {
    loop.PumpPending();
    backend->WaitForEvents(20);
  }
  std::printf("first painted frame after process start: %.1f ms (target < 300)\n", first_frame);
  std::printf("idle resident memory: %.1f MiB (peak %.1f MiB, target < 40)\n", StatusKiB("VmRSS:") / 1024.0,
              StatusKiB("VmHWM:") / 1024.0);
  std::printf("pixels presented: %lld (one full frame is %d)\n", backend->PresentedPixels(), 1000 * 640);
  loop.Reset();
  return 0;
}
