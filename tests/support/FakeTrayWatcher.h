#pragma once
// A stand-in tray host on the session bus: owns the watcher name, records
// the items that register, and can call an item like a host does.

#include <systemd/sd-bus.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ostrel::test {

class FakeTrayWatcher {
 public:
  FakeTrayWatcher();
  ~FakeTrayWatcher();
  FakeTrayWatcher(const FakeTrayWatcher&) = delete;
  FakeTrayWatcher& operator=(const FakeTrayWatcher&) = delete;

  bool ok() const { return ok_; }
  // The first registered service, waiting up to five seconds.
  bool WaitForRegistration(std::string* service);

 private:
  static int OnRegister(sd_bus_message* m, void* userdata, sd_bus_error* error);

  sd_bus* bus_ = nullptr;
  bool ok_ = false;
  std::atomic<bool> stop_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable cv_;
  std::vector<std::string> services_;
};

}  // namespace ostrel::test
