#pragma once
// The main window's worker threads: 20 slots, each with a manual-reset stop
// event. Stopping sets every event and waits for each thread a bounded time.
// A thread cannot be killed safely here; one that overruns is left detached
// (its state is shared, so it never touches freed memory) and reported.

#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace ostrel {

class WorkerTable {
 public:
  static constexpr int kSlots = 20;

  // What a worker sees of its slot: the stop event.
  class Stop {
   public:
    bool IsSet() const;
    // True when the event is set within `timeout` (a worker's sleep).
    bool WaitFor(std::chrono::milliseconds timeout) const;

   private:
    friend class WorkerTable;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    bool set_ = false;
    bool finished_ = false;
  };
  using Worker = std::function<void(const Stop& stop)>;

  WorkerTable() = default;
  ~WorkerTable();
  WorkerTable(const WorkerTable&) = delete;
  WorkerTable& operator=(const WorkerTable&) = delete;

  // False for a bad slot or one already running.
  bool Start(int slot, Worker worker);
  bool IsRunning(int slot) const;
  // Sets all stop events, waits up to `timeout` per thread; the result is
  // how many threads overran.
  int StopAll(std::chrono::milliseconds timeout = std::chrono::milliseconds(1000));

 private:
  struct Slot {
    std::shared_ptr<Stop> stop;
    std::thread thread;
  };
  std::array<Slot, kSlots> slots_;
};

}  // namespace ostrel
