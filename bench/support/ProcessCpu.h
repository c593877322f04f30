#pragma once
// The CPU time the whole process used, and what share of one core it used
// over a stretch of wall time.

#include <chrono>

namespace ostrel::bench {

// Seconds of CPU of every thread of the process so far.
double ProcessCpuSeconds();
// Percent of one core the process used while the caller slept `window`.
double MeasureCpuPercent(std::chrono::milliseconds window);

}  // namespace ostrel::bench
