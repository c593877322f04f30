// Frames of the engine streamed with StreamLedFrame to simulated devices:
// the bytes the device receives are the LED list times its brightness.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "FakeLightClock.h"
#include "VendorInterface.h"
#include "devicelink/DeviceChannel.h"
#include "devicelink/DeviceProtocol.h"
#include "devsim/Simulator.h"
#include "lighting/LightAnimator.h"
#include "lighting/LightFrame.h"
#include "lighting/LightMath.h"
#include "lighting/LightingThread.h"

namespace ostrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

class LightStreamSim : public ::testing::Test {
 protected:
  devsim::SimulatedDevice* Connect(const char* model) {
    devsim::DeviceOptions options;
    options.usbInterval = std::chrono::microseconds(0);
    device_ = simulator_.Plug(model, options);
    if (device_ == nullptr) return nullptr;
    const auto& info = device_->Model();
    const std::string path = test::FindVendorInterface(info.vendorId, info.productId);
    if (path.empty() || !channel_.Connect(path, info.deviceType == kDeviceWirelessMouse)) return nullptr;
    return device_;
  }
  void TearDown() override { channel_.Disconnect(); }

  devsim::Simulator simulator_;
  devsim::SimulatedDevice* device_ = nullptr;
  DeviceChannel channel_;
};

TEST_F(LightStreamSim, MouseReceivesTheWaveFrameByFrame) {
  ASSERT_NE(Connect("mouse"), nullptr);
  LightAnimator mouse(kDeviceMouse, 6);
  LightSetting wave;
  wave.selectItem = 0;
  wave.light = 3;
  wave.speed = 4;
  wave.fx = 1;
  wave.multiColor = 1;
  mouse.SetLightSetting(wave);
  std::int64_t due = 0;
  for (int frame = 0; frame < 3; ++frame) {
    due = mouse.RunDue(due);
    std::array<LedColour, 6> leds{};
    ASSERT_EQ(mouse.CopyLeds(leds), 6u);
    ASSERT_EQ(LightFrame::Stream(channel_, leds), 1);
    Bytes expected;
    for (const LedColour& c : leds)
      for (std::uint8_t v : {c.red, c.green, c.blue}) expected.push_back(Scale(v, c.brightness));
    const Bytes live = device_->State().Contents(devsim::MemoryArea::kLiveFrame);
    ASSERT_GE(live.size(), 18u);
    EXPECT_EQ(Bytes(live.begin(), live.begin() + 18), expected) << "frame " << frame;
  }
  const auto frames = device_->Log().CommandFrames();
  ASSERT_EQ(frames.size(), 3u);
  for (const auto& f : frames) {
    EXPECT_EQ(f[3], 18);  // StreamLedFrame
    EXPECT_EQ(f[4], 18);  // six LEDs, three bytes each
  }
}

// The pad's runner animates its ring on its own thread; each 50 ms frame the
// window would push reaches the pad as the runner left the LED list, which a
// twin animator stepped by hand at the same times reproduces.
TEST_F(LightStreamSim, MousePadFollowsItsRunner) {
  ASSERT_NE(Connect("mousepad"), nullptr);
  LightSetting ring;
  ring.selectItem = 6;
  ring.light = 4;
  ring.speed = 2;
  ring.fx = 1;
  ring.multiColor = 1;
  LightAnimator pad(kDeviceMousePad, 15);
  LightAnimator twin(kDeviceMousePad, 15);
  pad.SetLightSetting(ring);
  twin.SetLightSetting(ring);
  test::FakeLightClock clock;
  LightingThread runner(pad, clock, "MS灯光线程设定退出");
  runner.Start();
  std::int64_t twinDue = 0;
  for (std::int64_t frameTime = 50; frameTime <= 300; frameTime += 50) {
    clock.RunTo(frameTime);
    while (twinDue <= frameTime) twinDue = twin.RunDue(twinDue);
    std::array<LedColour, 15> leds{};
    std::array<LedColour, 15> expected{};
    pad.CopyLeds(leds);
    twin.CopyLeds(expected);
    ASSERT_EQ(leds, expected) << "at " << frameTime;
    ASSERT_EQ(LightFrame::Stream(channel_, leds), 1);
    std::array<std::uint8_t, 512> bytes{};
    LightFrame::BuildStreamFrame(expected, bytes);
    const Bytes live = device_->State().Contents(devsim::MemoryArea::kLiveFrame);
    EXPECT_EQ(Bytes(live.begin(), live.begin() + 45), Bytes(bytes.begin(), bytes.begin() + 45)) << frameTime;
  }
  runner.Stop();
  EXPECT_EQ(device_->Log().CommandFrames().size(), 6u);
}

TEST_F(LightStreamSim, WirelessMouseGetsNoStream) {
  ASSERT_NE(Connect("receiver"), nullptr);
  LightAnimator mouse(kDeviceWirelessMouse, 6);
  mouse.RunDue(0);
  std::array<LedColour, 6> leds{};
  mouse.CopyLeds(leds);
  EXPECT_EQ(LightFrame::Stream(channel_, leds), 1);
  EXPECT_TRUE(device_->Log().CommandFrames().empty());
}

}  // namespace
}  // namespace ostrel
