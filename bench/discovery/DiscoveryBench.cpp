// CPU time per second of four connected simulated devices whose lighting
// threads have nothing to do (keyboard with three zones, mouse, mouse pad,
// headset: six lighting threads, three notification readers blocked in
// their reads), measured side by side with a reference: the same number of
// threads each running the literal loop that wakes every millisecond to
// count ticks. Also the scanning thread with those devices attached.

#include <benchmark/benchmark.h>
#include <time.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ProcessCpu.h"
#include "devicelink/DeviceScanner.h"
#include "devicelink/DeviceSlotList.h"
#include "devicelink/HidLink.h"
#include "devicelink/StopEvent.h"
#include "devicelink/WorkerThread.h"
#include "devices/CZantroveUSBDevice.h"
#include "devsim/Simulator.h"
#include "lighting/LightEffectCodes.h"
#include "platform/os/DebugLog.h"

namespace ostrel {
namespace {

using std::chrono::milliseconds;

class IdlePage : public CZantroveUSBDevice {
 public:
  ~IdlePage() override { StopWorkers(); }
  // A static colour: drawn once, then nothing is due until a setting changes.
  // The keyboard's logo and St zones too (their effect 0 is a wave).
  void ShowStaticColour() {
    m_lightSettings[0].selectItem = static_cast<std::uint8_t>(
        LightEffectCodes::CodeForCommonEffect(GetDeviceType(), CommonEffect::kStatic));
    for (LightSetting& setting : m_lightSettings) {
      setting.logoSelectItem = kZoneStatic;
      setting.stSelectItem = kZoneStatic;
    }
    ApplyLightSettings();
  }

 private:
  static constexpr std::uint8_t kZoneStatic = 4;
};

std::string FindPath(const std::string& marker) {
  HidLink link;
  link.Enumerate();
  while (const char* path = link.NextPath())
    if (std::string(path).find(marker) != std::string::npos) return path;
  return {};
}

struct Rig {
  devsim::Simulator simulator;
  std::vector<std::unique_ptr<IdlePage>> pages;
  int lightingThreads = 0;

  bool Build() {
    struct Model {
      const char* name;
      int type;
      const char* command;
      const char* notification;
    } models[] = {{"keyboard", kDeviceKeyboard, "&col04#keyboard#", "&col03#keyboard#"},
                  {"mouse", kDeviceMouse, "&col04#mouse#", "&col03#mouse#"},
                  {"mousepad", kDeviceMousePad, "&col04#mousepad#", "&col03#mousepad#"},
                  {"headset", kDeviceHeadset, "mi_03#headset#", nullptr}};
    for (const Model& m : models) {
      if (!simulator.Plug(m.name)) return false;
      auto page = std::make_unique<IdlePage>();
      DeviceCatalogueRow row;
      row.deviceType = static_cast<std::uint16_t>(m.type);
      page->SetInterfaceRow(row);
      page->ShowStaticColour();
      if (!page->CommandChannel().Connect(FindPath(m.command), false)) return false;
      if (m.notification && !page->OpenNotificationChannel(FindPath(m.notification))) return false;
      page->StartLightingThreads();
      ++lightingThreads;  // one per page, the keyboard's three zones included
      pages.push_back(std::move(page));
    }
    return true;
  }
};

// The loop a literal reading gives: wake every millisecond, count ticks by
// the clock, step when the count reaches a threshold (never, here).
void MillisecondLoop(const StopEvent& stop, const std::atomic<bool>& connected) {
  auto last = std::chrono::steady_clock::now();
  long ticks = 0;
  while (!stop.Wait(milliseconds(1))) {
    if (!connected) continue;
    const auto now = std::chrono::steady_clock::now();
    if (now - last > milliseconds(1) || now - last < milliseconds(0)) {
      ++ticks;
      last = now;
    }
    benchmark::DoNotOptimize(ticks);
  }
}

void BM_IdleLightingAgainstMillisecondPolling(benchmark::State& state) {
  SetDebugToStderr(false);
  const milliseconds window(state.range(0));
  double ours = 0, reference = 0, baseline = 0;
  for (auto _ : state) {
    Rig rig;
    if (!rig.Build()) {
      state.SkipWithError("simulated devices could not be connected");
      return;
    }
    std::this_thread::sleep_for(milliseconds(200));  // threads settled
    ours = bench::MeasureCpuPercent(window);

    std::atomic<bool> connected{true};
    std::vector<std::unique_ptr<WorkerThread>> literal;
    for (int i = 0; i < rig.lightingThreads; ++i) {
      literal.push_back(std::make_unique<WorkerThread>());
      literal.back()->Start([&connected](const StopEvent& stop) { MillisecondLoop(stop, connected); });
    }
    std::this_thread::sleep_for(milliseconds(200));
    const double withBoth = bench::MeasureCpuPercent(window);
    for (auto& w : literal) w->Stop();
    reference = withBoth - ours;  // the reference loops alone

    for (auto& page : rig.pages) page->StopWorkers();
    baseline = bench::MeasureCpuPercent(milliseconds(200));  // simulator and process without workers
  }
  state.counters["ours_pct_core"] = ours;
  state.counters["reference_pct_core"] = reference;
  state.counters["ratio"] = ours > 0 ? reference / ours : 0;
  state.counters["no_workers_pct_core"] = baseline;
}
BENCHMARK(BM_IdleLightingAgainstMillisecondPolling)->Arg(3000)->Iterations(1)->Unit(benchmark::kMillisecond);

// The scanning thread with the four devices attached: the zero-id rows of
// the catalogue never claim their slots, so it lists the interfaces every
// cycle.
void BM_ScannerWithFourDevices(benchmark::State& state) {
  SetDebugToStderr(false);
  double scanning = 0;
  for (auto _ : state) {
    devsim::Simulator simulator;
    for (const char* model : {"keyboard", "mouse", "mousepad", "headset"}) simulator.Plug(model);
    const double idle = bench::MeasureCpuPercent(milliseconds(500));
    DeviceSlotList slots;
    DeviceScanner scanner(slots);
    scanner.Start();
    std::this_thread::sleep_for(milliseconds(200));
    scanning = bench::MeasureCpuPercent(milliseconds(state.range(0))) - idle;
    scanner.Stop();
  }
  state.counters["scanner_pct_core"] = scanning;
}
BENCHMARK(BM_ScannerWithFourDevices)->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ostrel

BENCHMARK_MAIN();
