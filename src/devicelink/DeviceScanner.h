#pragma once
// The scanning thread: every cycle it compares the HID interfaces present
// with the interface table, claims the slot of each supported interface
// that arrived and frees the slot of each claimed interface that went away.
// Enumeration runs only while a slot is free; a cycle with every slot
// claimed costs one existence test per slot.
//
// It reports through three callbacks run on its own thread: the host sends
// the window messages (3090 arrived, 3091 removed, both sent so the thread
// waits for their handling) and posts the first-scan message.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "devicelink/DeviceSlotList.h"
#include "devicelink/WorkerThread.h"

namespace ostrel {

class DeviceScanner {
 public:
  using SlotCallback = std::function<void(std::size_t slot)>;
  using FirstScanCallback = std::function<void()>;
  // Fills `paths` with the present interfaces; false when the list cannot
  // be made.
  using EnumerateFunction = std::function<bool(std::vector<std::string>& paths)>;

  static constexpr std::chrono::milliseconds kStopPoll{1};
  static constexpr std::chrono::milliseconds kCyclePause{100};

  explicit DeviceScanner(DeviceSlotList& slots);
  ~DeviceScanner();
  DeviceScanner(const DeviceScanner&) = delete;
  DeviceScanner& operator=(const DeviceScanner&) = delete;

  void SetCallbacks(SlotCallback arrived, SlotCallback removed, FirstScanCallback firstScanDone);
  // Tests put failures in; the default lists the HID interfaces (HidLink).
  void SetEnumerateFunction(EnumerateFunction enumerate);

  void Start();
  WorkerThread::StopResult Stop(std::chrono::milliseconds bound = std::chrono::milliseconds(1000));
  void Signal() { worker_.Signal(); }
  bool IsRunning() const { return worker_.IsRunning(); }

  // One pass of steps 2 and 3 (enumerate while a slot is free, then test
  // the claimed slots), on the calling thread.
  void ScanOnce();
  std::size_t Cycles() const { return cycles_; }

 private:
  void Run(const StopEvent& stop);
  void ClaimPresentInterfaces(const std::vector<std::string>& paths);
  void TestClaimedSlots();

  DeviceSlotList& slots_;
  SlotCallback arrived_;
  SlotCallback removed_;
  FirstScanCallback firstScanDone_;
  EnumerateFunction enumerate_;
  bool firstPassDone_ = false;
  std::atomic<std::size_t> cycles_{0};
  WorkerThread worker_;
};

}  // namespace ostrel
