#pragma once
// A device page for the tests: it reads the device with the real command
// sequences and starts its lighting thread, as the pages do, and records
// when the window and the workers drove it.

#include <atomic>
#include <chrono>
#include <mutex>
#include <vector>

#include "devices/CZantroveUSBDevice.h"

namespace ostrel::test {

class TestDevicePage : public CZantroveUSBDevice {
 public:
  using Clock = std::chrono::steady_clock;

  // The workers call this page's overrides: they end before it goes.
  ~TestDevicePage() override { StopWorkers(); }

  void ReadDevice() override {
    readDeviceTimes.push_back(Clock::now());
    readDeviceResult = Operations().ReadDevice();
    StartLightingThreads();
  }
  void ReadCurrentProfile() override {
    profileReadTimes.push_back(Clock::now());
    Operations().ReadCurrentProfile();
  }
  void PushLightFrame() override {
    ++framesPushed;
    CZantroveUSBDevice::PushLightFrame();
  }
  void OnDeviceKey(int event, int key) override {
    {
      std::lock_guard<std::mutex> lock(keyMutex);
      deviceKeys.emplace_back(event, key);
    }
    CZantroveUSBDevice::OnDeviceKey(event, key);
  }

  // Window thread only.
  std::vector<Clock::time_point> readDeviceTimes;
  std::vector<Clock::time_point> profileReadTimes;
  int readDeviceResult = 0;
  int framesPushed = 0;
  // Notification reader.
  std::mutex keyMutex;
  std::vector<std::pair<int, int>> deviceKeys;
};

}  // namespace ostrel::test
