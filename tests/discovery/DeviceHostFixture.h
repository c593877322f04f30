#pragma once
// The device tests' fixture: a real-time headless message loop, the test
// skin, a captured debug stream and the main window with its page host.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "TestDevicePage.h"
#include "TestMainWindow.h"

namespace ostrel::test {

class DeviceHostFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Builds the main window (its InitWindow creates the pages).
  void CreateWindow();
  // Runs the message loop until `done` holds or `timeout` passes.
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);
  void PumpFor(std::chrono::milliseconds time);
  TestDevicePage* PageOfType(int deviceType);
  bool SawLine(const std::string& text) const;
  int CountLines(const std::string& text) const;

  std::unique_ptr<TestMainWindow> window;

 private:
  mutable std::mutex linesMutex_;
  std::vector<std::string> lines_;
};

}  // namespace ostrel::test
