#include "ProcessCpu.h"

#include <time.h>

#include <thread>

namespace ostrel::bench {

double ProcessCpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double MeasureCpuPercent(std::chrono::milliseconds window) {
  const double cpu0 = ProcessCpuSeconds();
  const auto t0 = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(window);
  const double cpu = ProcessCpuSeconds() - cpu0;
  return 100.0 * cpu / std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

}  // namespace ostrel::bench
