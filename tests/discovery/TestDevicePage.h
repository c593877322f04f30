#pragma once
// A device page for the tests: it reads the device with the real command
// sequences and starts its lighting threads, as the pages do, and records
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
  int LightingZoneCount() const override { return GetDeviceType() == 1 ? 3 : 1; }
  int LightingThreshold(int) const override { return threshold.load(); }
  void RunLightingStep(int zone) override {
    ++steps[zone];
    CZantroveUSBDevice::RunLightingStep(zone);
  }
  void OnDeviceKey(int event, int key) override {
    std::lock_guard<std::mutex> lock(keyMutex);
    deviceKeys.emplace_back(event, key);
  }

  // Window thread only.
  std::vector<Clock::time_point> readDeviceTimes;
  std::vector<Clock::time_point> profileReadTimes;
  int readDeviceResult = 0;
  int framesPushed = 0;
  // Lighting threads.
  std::atomic<int> threshold{0};
  std::atomic<int> steps[3] = {0, 0, 0};
  // Notification reader.
  std::mutex keyMutex;
  std::vector<std::pair<int, int>> deviceKeys;
};

}  // namespace ostrel::test
