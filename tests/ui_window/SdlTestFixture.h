#pragma once
// Tests with the SDL backend installed: on SDL's dummy video driver (no
// display, events fed by hand) or on a private Xvfb server with real input
// from xdotool. The loop runs on real time; every wait is bounded.

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <memory>
#include <string>

#include "XvfbServer.h"
#include "platform/ui/CSdlBackend.h"

namespace ostrel::test {

class SdlTestFixture : public ::testing::Test {
 protected:
  void TearDown() override;
  // False when the driver cannot start (the test should skip).
  bool StartDummy();
  bool StartX();
  // Pumps the loop until `done` or the time is up; false on time-out.
  bool RunUntil(const std::function<bool()>& done, int timeout_ms = 5000);
  // Runs xdotool on the test's display in the background.
  std::future<int> Xdotool(const std::string& args);
  // Moves the pointer to a screen point and clicks (button 1 or 3).
  std::future<int> ClickAt(POINT screen, int button = 1);

  CSdlBackend* backend = nullptr;
  std::unique_ptr<XvfbServer> xvfb;

 private:
  bool Install(const char* driver);
};

}  // namespace ostrel::test
