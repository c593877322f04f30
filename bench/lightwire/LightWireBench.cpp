// Four connected simulated devices whose pages all animate (keyboard wave
// with the logo wave and the St bounce, mouse wave, mouse pad ring, headset
// running ring, every one at speed 4), driven through the page base: each
// page's one lighting thread sleeps until its next due step, and a frame
// pusher does what the window's 50 ms timer does (PushLightFrame and the
// two zone outputs of every page, then 50 ms until the next; the frame runs
// the due steps itself, and the thread only watches while frames come).
// Measured in one run, side by side:
// - the CPU of the program's threads (the lighting threads and the frame
//   output, read per thread from /proc/self/task/<tid>/schedstat, so the
//   simulated devices' own threads do not count), with our threads and with
//   the same animators stepped by the literal reading instead: a thread per
//   page waking every millisecond to see whether a step is due; also the
//   whole process, simulator included;
// - allocations per lighting step (operator new is counted);
// - the intervals between the frames each streaming device receives.

#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "AllocationCounter.h"
#include "ProcessCpu.h"
#include "devicelink/HidLink.h"
#include "devices/CZantroveUSBDevice.h"
#include "devsim/Simulator.h"
#include "lighting/SteadyLightClock.h"
#include "platform/os/DebugLog.h"

namespace ostrel {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

class BenchPage : public CZantroveUSBDevice {
 public:
  ~BenchPage() override { StopWorkers(); }
  void Load(const LightSetting& main, const LightSetting& logo, const LightSetting& st) {
    m_lightSettings = {main, logo, st};
    ApplyLightSettings();
  }
  LightSchedule& ScheduleOfType() {
    if (KeyboardAnimator()) return *KeyboardAnimator();
    return *Animator();
  }
};

// The threads of the process, by id.
std::set<std::string> Tasks() {
  std::set<std::string> tasks;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task"))
    tasks.insert(entry.path().filename().string());
  return tasks;
}

// CPU nanoseconds of the threads not in `excluded`.
double ThreadsCpuNs(const std::set<std::string>& excluded) {
  double total = 0;
  for (const std::string& task : Tasks()) {
    if (excluded.count(task)) continue;
    std::ifstream stat("/proc/self/task/" + task + "/schedstat");
    double ns = 0;
    if (stat >> ns) total += ns;
  }
  return total;
}

// Percent of one core the threads not in `excluded` used over `window`
// (threads that end within the window are not seen: none does here).
double MeasureThreadsPercent(const std::set<std::string>& excluded, milliseconds window) {
  const double cpu0 = ThreadsCpuNs(excluded);
  const auto t0 = Clock::now();
  std::this_thread::sleep_for(window);
  const double cpu = ThreadsCpuNs(excluded) - cpu0;
  return 100.0 * cpu * 1e-9 / std::chrono::duration<double>(Clock::now() - t0).count();
}

std::string FindPath(const std::string& marker) {
  HidLink link;
  link.Enumerate();
  while (const char* path = link.NextPath())
    if (std::string(path).find(marker) != std::string::npos) return path;
  return {};
}

LightSetting Main(int code) {
  LightSetting s;
  s.selectItem = static_cast<std::uint8_t>(code);
  s.light = 4;
  s.speed = 4;
  s.fx = 1;
  s.multiColor = 1;
  s.red = 200;
  return s;
}

struct Rig {
  devsim::Simulator simulator;
  std::vector<devsim::SimulatedDevice*> devices;
  std::vector<std::unique_ptr<BenchPage>> pages;

  bool Build() {
    struct Model {
      const char* name;
      int type;
      int leds;
      const char* command;
      int effect;
    } models[] = {{"keyboard", kDeviceKeyboard, 126, "&col04#keyboard#", 1},
                  {"mouse", kDeviceMouse, 6, "&col04#mouse#", 0},
                  {"mousepad", kDeviceMousePad, 15, "&col04#mousepad#", 6},
                  {"headset", kDeviceHeadset, 13, "mi_03#headset#", 7}};
    for (const Model& m : models) {
      devsim::SimulatedDevice* device = simulator.Plug(m.name);
      if (!device) return false;
      devices.push_back(device);
      auto page = std::make_unique<BenchPage>();
      DeviceCatalogueRow row;
      row.deviceType = static_cast<std::uint16_t>(m.type);
      page->SetLedCount(m.leds);
      page->SetInterfaceRow(row);
      LightSetting logo, st;
      logo.logoSelectItem = 0;  // wave
      logo.logoLight = 4;
      logo.logoSpeed = 4;
      logo.logoMultiColor = 1;
      st.stSelectItem = 2;  // bounce
      st.stLight = 4;
      st.stSpeed = 4;
      st.stRed = 255;
      page->Load(Main(m.effect), logo, st);
      if (!page->CommandChannel().Connect(FindPath(m.command), false)) return false;
      pages.push_back(std::move(page));
    }
    return true;
  }
  std::uint64_t Passes() const {
    std::uint64_t n = 0;
    for (const auto& page : pages) n += page->LightingPasses();
    return n;
  }
};

// One thread per page running `round` until it is destroyed.
class PageThreads {
 public:
  PageThreads(Rig& rig, const std::function<void(BenchPage&)>& round) {
    for (auto& page : rig.pages) {
      BenchPage* p = page.get();
      threads_.emplace_back([this, p, round] {
        while (!stop_) round(*p);
      });
    }
  }
  ~PageThreads() {
    stop_ = true;
    for (std::thread& t : threads_) t.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::vector<std::thread> threads_;
};

// What timer 1000 of each page's list entry does: push, then 50 ms until
// the next (the timer is armed again after the push).
void PushFrame(BenchPage& page) {
  page.PushLightFrame();
  page.PushLightFrameZone2();
  page.PushLightFrameZone3();
  std::this_thread::sleep_for(milliseconds(50));
}

// The literal reading: every page's thread wakes every millisecond and runs
// what is due.
void PollOnce(BenchPage& page) {
  std::this_thread::sleep_for(milliseconds(1));
  page.ScheduleOfType().RunDue(SteadyLightClock::Instance().NowMs());
}

void BM_FourPagesAnimatingAgainstMillisecondPolling(benchmark::State& state) {
  SetDebugToStderr(false);
  const milliseconds window(state.range(0));
  double passesPerSecond = 0, stepsOnly = 0, idle = 0, ours = 0, reference = 0, oursProcess = 0,
         referenceProcess = 0, allocationsPerStep = 0, passesWithFrames = 0;
  double mean = 0, sd = 0, within = 0;
  std::uint64_t intervals = 0;
  for (auto _ : state) {
    Rig rig;
    if (!rig.Build()) {
      state.SkipWithError("simulated devices could not be connected");
      return;
    }
    std::this_thread::sleep_for(milliseconds(200));
    idle = bench::MeasureCpuPercent(milliseconds(1000));  // connected, nothing running
    // What the rest of the process (the simulated devices) allocates meanwhile.
    const std::uint64_t quiet0 = bench::AllocationCount();
    std::this_thread::sleep_for(milliseconds(1000));
    const std::uint64_t quietAllocations = bench::AllocationCount() - quiet0;
    // Every thread from here on is the program's lighting.
    const std::set<std::string> before = Tasks();

    // Allocations of the steps alone: our threads, no frames (whose
    // simulated devices log every report they receive).
    for (auto& page : rig.pages) page->StartLightingThreads();
    std::this_thread::sleep_for(milliseconds(100));
    const std::uint64_t passes0 = rig.Passes();
    const std::uint64_t allocations0 = bench::AllocationCount();
    std::this_thread::sleep_for(milliseconds(1000));
    const std::uint64_t steps = rig.Passes() - passes0;
    const std::uint64_t stepAllocations = bench::AllocationCount() - allocations0;
    allocationsPerStep =
        steps ? (static_cast<double>(stepAllocations) - static_cast<double>(quietAllocations)) /
                    static_cast<double>(steps)
              : -1;
    state.counters["allocations_idle_per_s"] = static_cast<double>(quietAllocations);
    // (Reading the threads' CPU allocates: measured apart.)
    stepsOnly = MeasureThreadsPercent(before, milliseconds(1000));
    passesPerSecond = static_cast<double>(steps);

    // Ours: the paced threads and the frames.
    for (auto* device : rig.devices) device->Log().Clear();
    {
      PageThreads pusher(rig, PushFrame);
      std::this_thread::sleep_for(milliseconds(200));
      double cpu0 = bench::ProcessCpuSeconds();
      auto t0 = Clock::now();
      const std::uint64_t framePasses0 = rig.Passes();
      ours = MeasureThreadsPercent(before, window);
      const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
      oursProcess = 100.0 * (bench::ProcessCpuSeconds() - cpu0) / seconds;
      passesWithFrames = static_cast<double>(rig.Passes() - framePasses0) / seconds;
      for (auto& page : rig.pages) page->StopLightingThreads();
      // The same animators and frames, stepped by 1 ms loops.
      PageThreads loops(rig, PollOnce);
      std::this_thread::sleep_for(milliseconds(200));
      cpu0 = bench::ProcessCpuSeconds();
      t0 = Clock::now();
      reference = MeasureThreadsPercent(before, window);
      referenceProcess = 100.0 * (bench::ProcessCpuSeconds() - cpu0) /
                         std::chrono::duration<double>(Clock::now() - t0).count();
    }

    // Frame intervals as the streaming devices received them.
    std::vector<double> gaps;
    for (std::size_t d = 1; d < rig.devices.size(); ++d) {
      Clock::time_point last{};
      for (const auto& report : rig.devices[d]->Log().FromHost()) {
        if (report.bytes.size() < 8 || report.bytes[0] != 4 || report.bytes[3] != 18) continue;
        // A frame longer than one report arrives as several: the first counts.
        if (report.bytes[5] != 0 || report.bytes[6] != 0) continue;
        if (last != Clock::time_point{})
          gaps.push_back(std::chrono::duration<double, std::milli>(report.time - last).count());
        last = report.time;
      }
    }
    intervals = gaps.size();
    double sum = 0, squares = 0, ok = 0;
    for (double g : gaps) {
      sum += g;
      ok += std::fabs(g - 50.0) <= 5.0;
    }
    mean = gaps.empty() ? 0 : sum / static_cast<double>(gaps.size());
    for (double g : gaps) squares += (g - mean) * (g - mean);
    sd = gaps.size() > 1 ? std::sqrt(squares / static_cast<double>(gaps.size() - 1)) : 0;
    within = gaps.empty() ? 0 : 100.0 * ok / static_cast<double>(gaps.size());
  }
  state.counters["idle_process_pct_core"] = idle;
  state.counters["ours_pct_core"] = ours;
  state.counters["ours_steps_only_pct_core"] = stepsOnly;
  state.counters["polling_1ms_pct_core"] = reference;
  state.counters["ours_process_pct_core"] = oursProcess;
  state.counters["polling_1ms_process_pct_core"] = referenceProcess;
  state.counters["lighting_passes_per_s"] = passesPerSecond;
  state.counters["thread_passes_with_frames_per_s"] = passesWithFrames;
  state.counters["allocations_per_step"] = allocationsPerStep;
  state.counters["frame_interval_mean_ms"] = mean;
  state.counters["frame_interval_sd_ms"] = sd;
  state.counters["frames_within_5ms_pct"] = within;
  state.counters["intervals"] = static_cast<double>(intervals);
}
BENCHMARK(BM_FourPagesAnimatingAgainstMillisecondPolling)
    ->Arg(3000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ostrel

BENCHMARK_MAIN();
