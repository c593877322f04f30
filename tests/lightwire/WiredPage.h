#pragma once
// A device page for the lighting tests, of whatever device type its
// interface row gives: it reads the device and starts its lighting as the
// pages do, and keeps a profile of its own: the three records, the colour
// groups and the current group, counting saves; its profile record 0 goes
// to the device with the real command sequence.

#include <cstring>
#include <map>
#include <vector>

#include "devices/CZantroveUSBDevice.h"

namespace ostrel::test {

class WiredPage : public CZantroveUSBDevice {
 public:
  ~WiredPage() override { StopWorkers(); }

  void ReadDevice() override {
    Operations().ReadDevice();
    StartLightingThreads();
  }
  void SetLightSetting(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3,
                       std::uint32_t w4, std::uint32_t w5, std::uint32_t w6, std::uint16_t h,
                       std::uint8_t b) override {
    CZantroveUSBDevice::SetLightSetting(w0, w1, w2, w3, w4, w5, w6, h, b);
    profile[0] = MainLightSetting();
  }
  void SetLightSettingZone2(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3,
                            std::uint32_t w4, std::uint32_t w5, std::uint32_t w6, std::uint16_t h,
                            std::uint8_t b) override {
    CZantroveUSBDevice::SetLightSettingZone2(w0, w1, w2, w3, w4, w5, w6, h, b);
    profile[1] = LightSettingOfZone(1);
  }
  void SetLightSettingZone3(std::uint32_t w0, std::uint32_t w1, std::uint32_t w2, std::uint32_t w3,
                            std::uint32_t w4, std::uint32_t w5, std::uint32_t w6, std::uint16_t h,
                            std::uint8_t b) override {
    CZantroveUSBDevice::SetLightSettingZone3(w0, w1, w2, w3, w4, w5, w6, h, b);
    profile[2] = LightSettingOfZone(2);
  }
  void SaveActiveProfile() override { ++saves; }
  int WriteProfileRecord(int onboard) override {
    std::uint8_t bytes[sizeof(LightSetting)];
    std::memcpy(bytes, &MainLightSetting(), sizeof(bytes));
    ++recordWrites;
    return Operations().WriteProfileRecord(onboard, bytes);
  }
  bool StoreCustomColours(int group, const std::vector<CustomColor>& colours) override {
    groups[group] = colours;
    return true;
  }
  std::vector<CustomColor> ReadCustomColours(int group, int count) override {
    std::vector<CustomColor> colours = groups[group];
    colours.resize(static_cast<std::size_t>(count));
    return colours;
  }
  void SetProfileCustomGroup(int group) override { currentGroup = group; }

  // Lets a test change the records the way a page does after reading its profile.
  void LoadRecords(const LightSetting& main) {
    m_lightSettings[0] = main;
    ApplyLightSettings();
  }

  LightSetting profile[3]{};
  std::map<int, std::vector<CustomColor>> groups;
  int currentGroup = -1;
  int saves = 0;
  int recordWrites = 0;
};

}  // namespace ostrel::test
