#pragma once
// A simulator in the test's own runtime folder with one device plugged in
// and a raw client connected to it.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "VhidClient.h"
#include "devsim/Simulator.h"

namespace ostrel::devsim::test {

class DevsimFixture : public ::testing::Test {
 protected:
  SimulatedDevice* PlugAndConnect(const std::string& model, DeviceOptions options = {}) {
    SimResult result;
    SimulatedDevice* device = simulator_.Plug(model, options, &result);
    EXPECT_NE(device, nullptr) << result.message;
    if (device == nullptr) return nullptr;
    client_ = std::make_unique<VhidClient>(device->SocketPath());
    EXPECT_TRUE(client_->Connected());
    return device;
  }

  Simulator simulator_;
  std::unique_ptr<VhidClient> client_;
};

}  // namespace ostrel::devsim::test
