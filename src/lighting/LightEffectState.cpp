#include "lighting/LightEffectState.h"

#include <algorithm>

namespace ostrel {

LightEffectState::LightEffectState(int ledCount) { SetLedCount(ledCount); }

void LightEffectState::SetLedCount(int count) {
  count = std::max(count, 0);
  if (count != LedCount()) leds_.resize(static_cast<std::size_t>(count));
  FillAll({});
}

void LightEffectState::SetLedColour(int index, LedColour colour) {
  if (index >= 0 && index < LedCount()) leds_[static_cast<std::size_t>(index)] = colour;
}

LedColour LightEffectState::GetLedColour(int index) const {
  if (index < 0 || index >= LedCount()) return {};
  return leds_[static_cast<std::size_t>(index)];
}

void LightEffectState::FillAll(LedColour colour) { std::fill(leds_.begin(), leds_.end(), colour); }

void LightEffectState::FadeKey(int key) {
  if (key < 0 || key >= kIntensityCount) return;
  std::uint8_t& v = intensity[static_cast<std::size_t>(key)];
  if (v >= 128)
    v -= 40;
  else if (v >= 64)
    v -= 30;
  else if (v >= 32)
    v -= 10;
  else if (v >= 17)
    v -= 8;
  else if (v >= 1)
    v -= 1;
}

void LightEffectState::LightRingKeys(int count) {
  // The ring has 23 bytes: pages with more LEDs only light the first 23.
  const int n = std::clamp(count, 0, kRingSize);
  for (int p = 0; p < n; ++p)
    if (ring[static_cast<std::size_t>(p)] != 0) intensity[static_cast<std::size_t>(p)] = 255;
}

void LightEffectState::RotateRing(int length, int direction) {
  const int n = std::clamp(length, 0, kRingSize);
  if (n < 2) return;
  if (direction != 0)
    std::rotate(ring.begin(), ring.begin() + (n - 1), ring.begin() + n);
  else
    std::rotate(ring.begin(), ring.begin() + 1, ring.begin() + n);
}

void LightEffectState::ClearEffectBuffers() {
  intensity.fill(0);
  ring.fill(0);
}

}  // namespace ostrel
