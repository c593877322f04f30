#pragma once
// A command channel connected to a scripted peer, with helpers to look at
// the frames the peer received.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ScriptedPeer.h"
#include "devicelink/DeviceChannel.h"

namespace ostrel::test {

class PeerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(peer_.Plug());
    path_ = peer_.FindPath();
    ASSERT_FALSE(path_.empty()) << "the scripted interface is not enumerated";
    ASSERT_TRUE(channel_.Connect(path_, false));
  }
  void TearDown() override {
    channel_.Disconnect();
    peer_.Unplug();
  }

  // Frames received by the peer, in order.
  std::vector<Bytes> Sent() { return peer_.Requests(); }
  std::vector<std::uint8_t> CommandIds() {
    std::vector<std::uint8_t> ids;
    for (const auto& frame : Sent()) ids.push_back(frame.size() > 3 ? frame[3] : 0);
    return ids;
  }
  static int Address(const Bytes& frame) { return frame[5] | (frame[6] << 8); }

  ScriptedPeer peer_;
  DeviceChannel channel_;
  std::string path_;
};

}  // namespace ostrel::test
