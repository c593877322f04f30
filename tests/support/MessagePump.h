#pragma once
// Runs the window thread's message loop in a test: what is pending, again and
// again, until a condition holds or the time is up.

#include <chrono>
#include <functional>

namespace ostrel::test {

// True as soon as `done` is; false when `limit` passed first. Sleeps `pause`
// between two rounds, so a worker thread's posted messages can arrive.
bool PumpMessagesUntil(const std::function<bool()>& done, std::chrono::milliseconds limit,
                       std::chrono::milliseconds pause = std::chrono::milliseconds(1));

}  // namespace ostrel::test
