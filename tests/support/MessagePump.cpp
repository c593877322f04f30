#include "support/MessagePump.h"

#include <thread>

#include "platform/ui/CMessageLoop.h"

namespace ostrel::test {

bool PumpMessagesUntil(const std::function<bool()>& done, std::chrono::milliseconds limit,
                       std::chrono::milliseconds pause) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    CMessageLoop::Instance().PumpPending();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
  }
}

}  // namespace ostrel::test
