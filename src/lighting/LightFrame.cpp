#include "lighting/LightFrame.h"

#include <algorithm>
#include <array>

#include "devicelink/DeviceChannel.h"
#include "lighting/LightMath.h"

namespace ostrel {

std::size_t LightFrame::BuildStreamFrame(std::span<const LedColour> leds,
                                         std::span<std::uint8_t, kFrameSize> frame) {
  std::fill(frame.begin(), frame.end(), 0);
  for (std::size_t i = 0; i < leds.size(); ++i) {
    if (i == 126) continue;
    const LedColour& e = leds[i];
    const std::uint8_t bytes[3] = {Scale(e.red, e.brightness), Scale(e.green, e.brightness),
                                   Scale(e.blue, e.brightness)};
    for (std::size_t k = 0; k < 3; ++k)
      if (3 * i + k < kFrameSize) frame[3 * i + k] = bytes[k];
  }
  return std::min(leds.size() * 3, kFrameSize);
}

std::uint32_t LightFrame::PackButtonColour(LedColour entry) {
  return static_cast<std::uint32_t>(entry.red) | static_cast<std::uint32_t>(entry.blue) << 8 |
         static_cast<std::uint32_t>(entry.green) << 16;
}

int LightFrame::Stream(DeviceChannel& channel, std::span<const LedColour> leds) {
  if (channel.HasLongTimeout() || leds.empty()) return 1;
  std::array<std::uint8_t, kFrameSize> frame{};
  const std::size_t length = BuildStreamFrame(leds, frame);
  return channel.StreamLedFrame(frame.data(), length);
}

}  // namespace ostrel
