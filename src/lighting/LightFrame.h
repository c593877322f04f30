#pragma once
// A page's frame output: the bytes streamed to the device's LEDs and the
// colour its LED buttons are painted with.

#include <cstddef>
#include <cstdint>
#include <span>

#include "lighting/LedColour.h"

namespace ostrel {

class DeviceChannel;

class LightFrame {
 public:
  static constexpr std::size_t kFrameSize = 512;
  // LED i at bytes 3i..3i+2, each colour × brightness ÷ 256; LED 126 is left
  // 0 and bytes past the 512 are dropped. Returns LED count × 3 (at most 512).
  static std::size_t BuildStreamFrame(std::span<const LedColour> leds,
                                      std::span<std::uint8_t, kFrameSize> frame);
  // The button colour: red | blue << 8 | green << 16.
  static std::uint32_t PackButtonColour(LedColour entry);
  // Builds the frame and sends it with StreamLedFrame unless the channel has
  // the long time-out (a wireless link cannot carry the stream) or there are
  // no LEDs. Returns the command's result, 1 when nothing had to be sent;
  // after another result the caller pauses 200 ms before its next frame.
  static int Stream(DeviceChannel& channel, std::span<const LedColour> leds);
};

}  // namespace ostrel
