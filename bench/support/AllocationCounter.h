#pragma once
// Counts every operator new of the process. A benchmark that links the
// counter reads it before and after a piece of work to tell how many
// allocations the work made.

#include <cstdint>

namespace ostrel::bench {

std::uint64_t AllocationCount();

}  // namespace ostrel::bench
