// CPU per lighting step for each device type (with the allocations a step
// makes, counted by a replaced operator new), and the CPU four lighting
// threads use per second: the runner that sleeps until the next due step
// against a loop that wakes every millisecond.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "AllocationCounter.h"
#include "ProcessCpu.h"
#include "lighting/KeyboardLightAnimator.h"
#include "lighting/LightAnimator.h"
#include "lighting/LightEffectCodes.h"
#include "lighting/LightTables.h"
#include "lighting/LightingThread.h"
#include "lighting/SteadyLightClock.h"

namespace ostrel {
namespace {

LightSetting Effect(int code, int multi) {
  LightSetting s;
  s.selectItem = static_cast<std::uint8_t>(code);
  s.light = 4;
  s.speed = 4;
  s.fx = 1;
  s.multiColor = static_cast<std::uint8_t>(multi);
  s.red = 200;
  s.green = 100;
  s.blue = 50;
  s.logoSelectItem = 0;
  s.logoLight = 4;
  s.stSelectItem = 2;
  s.stLight = 4;
  return s;
}

// One step of a page's effect, forced due at every call.
void PageStep(benchmark::State& state, int deviceType, int ledCount, int code) {
  LightAnimator page(deviceType, ledCount);
  page.SetLightSetting(Effect(code, 1));
  const LightStep step = LightEffectCodes::StepFor(deviceType, code);
  std::int64_t now = 0;
  page.RunStep(step, now);
  const std::uint64_t before = bench::AllocationCount();
  for (auto _ : state) {
    page.RunStep(step, now += 14);
    benchmark::DoNotOptimize(page.State().Leds().data());
  }
  state.counters["allocs_per_step"] = benchmark::Counter(
      static_cast<double>(bench::AllocationCount() - before) / static_cast<double>(state.iterations()));
}

void BM_MouseWave(benchmark::State& s) { PageStep(s, 2, 6, 0); }
void BM_MouseRunningRing(benchmark::State& s) { PageStep(s, 2, 19, 5); }
void BM_MouseBreathing(benchmark::State& s) { PageStep(s, 2, 6, 2); }
void BM_PadRing(benchmark::State& s) { PageStep(s, 3, 15, 6); }
void BM_PadSpectrum(benchmark::State& s) { PageStep(s, 3, 15, 1); }
void BM_HeadsetWave(benchmark::State& s) { PageStep(s, 7, 13, 0); }
void BM_HeadsetRunningRing(benchmark::State& s) { PageStep(s, 7, 13, 7); }
BENCHMARK(BM_MouseWave);
BENCHMARK(BM_MouseRunningRing);
BENCHMARK(BM_MouseBreathing);
BENCHMARK(BM_PadRing);
BENCHMARK(BM_PadSpectrum);
BENCHMARK(BM_HeadsetWave);
BENCHMARK(BM_HeadsetRunningRing);

// A whole due pass of a page with per-LED modes (the pad's 15 LEDs).
void BM_PadPassWithPerLedModes(benchmark::State& state) {
  LightAnimator pad(3, 15);
  pad.SetLightSetting(Effect(1, 1));
  std::vector<LightListEntry> list(15);
  for (int i = 0; i < 15; ++i) {
    list[i].ledRegMode = static_cast<std::uint8_t>(i % 5);
    list[i].ledBrightness = 4;
    list[i].present = 1;
  }
  pad.SetLightList(list, 0);
  std::int64_t now = 0;
  pad.RunDue(now);
  const std::uint64_t before = bench::AllocationCount();
  for (auto _ : state) benchmark::DoNotOptimize(pad.RunDue(now += 14));
  state.counters["allocs_per_step"] = benchmark::Counter(
      static_cast<double>(bench::AllocationCount() - before) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_PadPassWithPerLedModes);

// The keyboard's main zone (126 keys) by effect code, plus its two zones.
void BM_KeyboardMain(benchmark::State& state) {
  const int code = static_cast<int>(state.range(0));
  KeyboardLightAnimator kb;
  kb.SetLightSetting(Effect(code, 1));
  std::int64_t now = 0;
  kb.StepMain(now);
  const std::uint64_t before = bench::AllocationCount();
  for (auto _ : state) {
    kb.StepMain(now += 4);
    kb.StepLogo(now);
    kb.StepSt(now);
    benchmark::DoNotOptimize(kb.State().Leds().data());
  }
  state.counters["allocs_per_step"] = benchmark::Counter(
      static_cast<double>(bench::AllocationCount() - before) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_KeyboardMain)
    ->Arg(1)
    ->Arg(3)
    ->Arg(4)
    ->Arg(5)
    ->Arg(6)
    ->Arg(7)
    ->Arg(8)
    ->Arg(10)
    ->Arg(14)
    ->Arg(15)
    ->Arg(18)
    ->Arg(27);

// Four pages animating for a second of wall time: keyboard (column wave,
// 4 ms a step), mouse (wave, 14 ms), mouse pad (ring, 14 ms), headset
// (running ring, 14 ms).
struct FourPages {
  KeyboardLightAnimator keyboard;
  LightAnimator mouse{2, 6};
  LightAnimator pad{3, 15};
  LightAnimator headset{7, 13};
  FourPages() {
    keyboard.SetLightSetting(Effect(1, 1));
    mouse.SetLightSetting(Effect(0, 1));
    pad.SetLightSetting(Effect(6, 1));
    headset.SetLightSetting(Effect(7, 1));
  }
};

constexpr auto kRunFor = std::chrono::seconds(1);

void BM_FourRunnersSleepingUntilDue(benchmark::State& state) {
  for (auto _ : state) {
    FourPages pages;
    LightClock& clock = SteadyLightClock::Instance();
    std::vector<std::unique_ptr<LightingThread>> runners;
    runners.push_back(std::make_unique<LightingThread>(pages.keyboard, clock, "KB灯光线程设定退出"));
    runners.push_back(std::make_unique<LightingThread>(pages.mouse, clock, "MS灯光线程设定退出"));
    runners.push_back(std::make_unique<LightingThread>(pages.pad, clock, "MS灯光线程设定退出"));
    runners.push_back(std::make_unique<LightingThread>(pages.headset, clock, "MS灯光线程设定退出"));
    const double cpu0 = bench::ProcessCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    for (auto& r : runners) r->Start();
    std::this_thread::sleep_for(kRunFor);
    for (auto& r : runners) r->Stop();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = bench::ProcessCpuSeconds() - cpu0;
    std::uint64_t passes = 0;
    for (auto& r : runners) passes += r->Passes();
    state.SetIterationTime(wall);
    state.counters["cpu_ms_per_s"] = cpu * 1000.0 / wall;
    state.counters["wakeups_per_s"] = static_cast<double>(passes) / wall;
  }
}
BENCHMARK(BM_FourRunnersSleepingUntilDue)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// The loop a thread runs when it polls: wake every millisecond, count ticks
// (one per 2 ms of clock), run the step at the threshold.
void PollingLoop(std::atomic<bool>& stop, std::atomic<std::uint64_t>& wakeups,
                 const std::function<void()>& step, int thresholdTicks) {
  std::mutex m;
  std::condition_variable cv;
  std::int64_t last = SteadyLightClock::Instance().NowMs();
  int ticks = 0;
  std::unique_lock lock(m);
  while (!stop.load()) {
    cv.wait_for(lock, std::chrono::milliseconds(1));
    wakeups.fetch_add(1, std::memory_order_relaxed);
    const std::int64_t now = SteadyLightClock::Instance().NowMs();
    if (now - last >= kTickMs) {
      ++ticks;
      last = now;
    }
    if (ticks >= thresholdTicks) {
      step();
      ticks = 0;
    }
  }
}

void BM_FourPollingLoops1ms(benchmark::State& state) {
  for (auto _ : state) {
    FourPages pages;
    std::atomic<bool> stop{false};
    std::atomic<std::uint64_t> wakeups{0};
    const double cpu0 = bench::ProcessCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    std::vector<std::thread> threads;
    threads.emplace_back([&] {
      PollingLoop(
          stop, wakeups, [&] { pages.keyboard.StepMain(0); }, 2);
    });
    threads.emplace_back([&] {
      PollingLoop(
          stop, wakeups, [&] { pages.mouse.RunStep(LightStep::kWave, 0); }, 7);
    });
    threads.emplace_back([&] {
      PollingLoop(
          stop, wakeups, [&] { pages.pad.RunStep(LightStep::kRing, 0); }, 7);
    });
    threads.emplace_back([&] {
      PollingLoop(
          stop, wakeups, [&] { pages.headset.RunStep(LightStep::kRunningRing, 0); }, 7);
    });
    std::this_thread::sleep_for(kRunFor);
    stop.store(true);
    for (auto& t : threads) t.join();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpu = bench::ProcessCpuSeconds() - cpu0;
    state.SetIterationTime(wall);
    state.counters["cpu_ms_per_s"] = cpu * 1000.0 / wall;
    state.counters["wakeups_per_s"] = static_cast<double>(wakeups.load()) / wall;
  }
}
BENCHMARK(BM_FourPollingLoops1ms)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ostrel

BENCHMARK_MAIN();
