#pragma once
// One turn of a thread that serves an sd-bus connection: take what the bus
// has queued, then sleep until the bus has more, its next time-out comes, or
// the thread's wake descriptor (an eventfd) is written.

#include <systemd/sd-bus.h>

namespace ostrel {

struct BusPollPlan {
  int fd = -1;
  short events = 0;
  int timeoutMs = -1;  // -1: no time-out
};

enum class BusWaitResult {
  kReady,   // the bus has something (or its time-out came): process again
  kWoken,   // the wake descriptor was written (and is read empty again)
  kClosed,  // the bus connection is gone
  kFailed,  // the wait itself failed
};

// Processes every queued message of `bus` and says how to wait for the next;
// false when the bus has no descriptor. The caller holds the bus's lock.
bool ProcessBus(sd_bus* bus, BusPollPlan& plan);
// Sleeps as `plan` says, without the bus's lock.
BusWaitResult WaitOnBus(const BusPollPlan& plan, int wakeFd);

}  // namespace ostrel
