#include "platform/os/BusWait.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <ctime>

namespace ostrel {

bool ProcessBus(sd_bus* bus, BusPollPlan& plan) {
  while (sd_bus_process(bus, nullptr) > 0) {
  }
  plan.fd = sd_bus_get_fd(bus);
  if (plan.fd < 0) return false;
  plan.events = static_cast<short>(sd_bus_get_events(bus));
  std::uint64_t timeoutUsec = UINT64_MAX;
  sd_bus_get_timeout(bus, &timeoutUsec);
  plan.timeoutMs = -1;
  if (timeoutUsec != UINT64_MAX) {
    // sd-bus gives an absolute CLOCK_MONOTONIC time.
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const std::uint64_t nowUsec = static_cast<std::uint64_t>(now.tv_sec) * 1000000u + now.tv_nsec / 1000;
    plan.timeoutMs = timeoutUsec <= nowUsec ? 0 : static_cast<int>((timeoutUsec - nowUsec + 999) / 1000);
  }
  return true;
}

BusWaitResult WaitOnBus(const BusPollPlan& plan, int wakeFd) {
  pollfd fds[2] = {{plan.fd, plan.events, 0}, {wakeFd, POLLIN, 0}};
  const int n = ::poll(fds, 2, plan.timeoutMs);
  if (n < 0) return errno == EINTR ? BusWaitResult::kReady : BusWaitResult::kFailed;
  if (fds[1].revents & POLLIN) {
    std::uint64_t value;
    ssize_t ignored = ::read(wakeFd, &value, sizeof value);
    (void)ignored;
    return BusWaitResult::kWoken;
  }
  if (fds[0].revents & (POLLERR | POLLHUP)) return BusWaitResult::kClosed;
  return BusWaitResult::kReady;
}

}  // namespace ostrel
