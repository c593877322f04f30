// Latency of one command exchange and of a 512-byte LED table write over a
// virtual HID socket against the simulated keyboard, and the channel's own
// cost beside a bare link round trip (write one report, read one report).
// The simulator runs with no USB interval unless the benchmark says so, so
// what is measured is the program, the kernel's socket and the simulator.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "devicelink/CommandFrame.h"
#include "devicelink/DeviceChannel.h"
#include "devicelink/HidLink.h"
#include "devsim/Simulator.h"
#include "platform/os/DebugLog.h"

namespace {

using Clock = std::chrono::steady_clock;

// Private folders: the log file and the vhid directory of this run.
void UsePrivateFolders() {
  static const std::string root = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "ostrel-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    for (const char* sub : {"runtime", "state", "config", "cache"}) {
      std::filesystem::create_directories(pattern + "/" + sub);
    }
    std::filesystem::permissions(pattern + "/runtime", std::filesystem::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", (pattern + "/runtime").c_str(), 1);
    ::setenv("XDG_STATE_HOME", (pattern + "/state").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (pattern + "/config").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (pattern + "/cache").c_str(), 1);
    return pattern;
  }();
  ostrel::SetDebugToStderr(false);
}

std::string FindVendorPath(std::uint16_t vendorId, std::uint16_t productId) {
  ostrel::HidLink discovery;
  if (!discovery.Enumerate()) return {};
  while (const char* path = discovery.NextPath()) {
    ostrel::HidLink probe;
    if (probe.Open(path, true, false, true, false) && probe.Attributes().VendorID == vendorId &&
        probe.Attributes().ProductID == productId && probe.Caps().UsagePage == 0xFF1C) {
      return path;
    }
  }
  return {};
}

// Takes the private folders before the simulator picks its directory.
struct PrivateFolders {
  PrivateFolders() { UsePrivateFolders(); }
};

struct Rig {
  explicit Rig(std::chrono::microseconds usbInterval) {
    ostrel::devsim::DeviceOptions options;
    options.usbInterval = usbInterval;
    device = simulator.Plug("keyboard", options);
    if (device == nullptr) return;
    path = FindVendorPath(device->Model().vendorId, device->Model().productId);
    ready = !path.empty() && channel.Connect(path, false);
  }
  PrivateFolders folders;
  ostrel::devsim::Simulator simulator;
  ostrel::devsim::SimulatedDevice* device = nullptr;
  std::string path;
  ostrel::DeviceChannel channel;
  bool ready = false;
};

void ReportPercentiles(benchmark::State& state, std::vector<double>& micros, double framesPerIteration) {
  if (micros.empty()) return;
  std::sort(micros.begin(), micros.end());
  auto at = [&](double q) {
    return micros[static_cast<std::size_t>(q * static_cast<double>(micros.size() - 1))];
  };
  state.counters["p50_us"] = at(0.50);
  state.counters["p99_us"] = at(0.99);
  state.counters["per_frame_p50_us"] = at(0.50) / framesPerIteration;
}

// One Exchange (a one-byte ReadMemory frame) with its log, locks and checks.
void BM_Exchange(benchmark::State& state) {
  Rig rig(std::chrono::microseconds(state.range(0)));
  if (!rig.ready) {
    state.SkipWithError("simulator not reachable");
    return;
  }
  ostrel::CommandFrame frame(ostrel::CommandId::kReadMemory, 1, 0);
  frame.Seal();
  std::array<std::uint8_t, 64> reply{};
  std::vector<double> micros;
  micros.reserve(100000);
  for (auto _ : state) {
    const auto start = Clock::now();
    const int result = rig.channel.Exchange(frame.data(), frame.size(), reply.data(), reply.size(), nullptr);
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    if (result != 1) {
      state.SkipWithError("exchange failed");
      break;
    }
  }
  ReportPercentiles(state, micros, 1);
}
BENCHMARK(BM_Exchange)->Arg(0)->Arg(1000)->ArgName("usb_interval_us")->UseRealTime();

// The same frame through the bare link: one write, one read, nothing else.
void BM_BareLinkRoundTrip(benchmark::State& state) {
  Rig rig(std::chrono::microseconds(0));
  if (!rig.ready) {
    state.SkipWithError("simulator not reachable");
    return;
  }
  ostrel::CommandFrame frame(ostrel::CommandId::kReadMemory, 1, 0);
  frame.Seal();
  std::array<std::uint8_t, 64> reply{};
  std::vector<double> micros;
  micros.reserve(100000);
  ostrel::HidLink& link = rig.channel.Link();
  for (auto _ : state) {
    const auto start = Clock::now();
    const bool ok = link.Write(64, frame.data(), 1000) && link.Read(64, reply.data(), 1000);
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    if (!ok) {
      state.SkipWithError("link failed");
      break;
    }
  }
  ReportPercentiles(state, micros, 1);
}
BENCHMARK(BM_BareLinkRoundTrip)->UseRealTime();

// The keyboard's per-key colour table: 512 bytes, ten frames under the light lock.
void BM_WriteLedTable512(benchmark::State& state) {
  Rig rig(std::chrono::microseconds(state.range(0)));
  if (!rig.ready) {
    state.SkipWithError("simulator not reachable");
    return;
  }
  std::array<std::uint8_t, 512> colours{};
  for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = static_cast<std::uint8_t>(i);
  std::vector<double> micros;
  micros.reserve(20000);
  for (auto _ : state) {
    const auto start = Clock::now();
    const int result = rig.channel.WriteLedColours(colours.data(), colours.size(), 0, 512);
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    if (result != 1) {
      state.SkipWithError("write failed");
      break;
    }
  }
  ReportPercentiles(state, micros, 10);
}
BENCHMARK(BM_WriteLedTable512)->Arg(0)->Arg(1000)->ArgName("usb_interval_us")->UseRealTime();

// The stream of a preview frame (no log, single read): 126 keys, 7 frames.
void BM_StreamLedFrame(benchmark::State& state) {
  Rig rig(std::chrono::microseconds(0));
  if (!rig.ready) {
    state.SkipWithError("simulator not reachable");
    return;
  }
  std::array<std::uint8_t, 378> frame{};
  std::vector<double> micros;
  micros.reserve(20000);
  for (auto _ : state) {
    const auto start = Clock::now();
    const int result = rig.channel.StreamLedFrame(frame.data(), frame.size());
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    if (result != 1) {
      state.SkipWithError("stream failed");
      break;
    }
  }
  ReportPercentiles(state, micros, 7);
}
BENCHMARK(BM_StreamLedFrame)->UseRealTime();

// Building and sealing a frame, and formatting its log lines, without I/O.
void BM_FrameBuildAndFormat(benchmark::State& state) {
  std::array<std::uint8_t, 56> payload{};
  for (auto _ : state) {
    ostrel::CommandFrame frame(ostrel::CommandId::kWriteLedColours, 56, 112);
    frame.SetPayload(payload.data(), payload.size());
    frame.Seal();
    std::string line =
        ostrel::FormatFrameLine(frame.data(), 32) + ostrel::FormatFrameLine(frame.data() + 32, 32);
    benchmark::DoNotOptimize(line);
  }
}
BENCHMARK(BM_FrameBuildAndFormat);

// The request and reply dumps of one Exchange: the log is always on and
// every line is appended to the debug log file.
void BM_LogFramePair(benchmark::State& state) {
  UsePrivateFolders();
  std::array<std::uint8_t, 64> frame{};
  frame[0] = 4;
  for (auto _ : state) {
    ostrel::LogFrame("命令", frame.data(), frame.size());
    ostrel::LogFrame("返回", frame.data(), frame.size());
  }
}
BENCHMARK(BM_LogFramePair)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
