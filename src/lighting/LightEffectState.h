#pragma once
// The lighting state a device page owns: the LED colour list it shows and
// streams, the effect scratch the steps work in, the user's custom
// animation and the per-LED modes.

#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "lighting/CustomAnimation.h"
#include "lighting/LedColour.h"
#include "lighting/PerLedEffects.h"

namespace ostrel {

inline constexpr std::int64_t kNeverDue = std::numeric_limits<std::int64_t>::max();
// A toggle time long past, so that the first flash step switches on at once.
inline constexpr std::int64_t kLongAgoMs = std::numeric_limits<std::int64_t>::min() / 4;

class LightEffectState {
 public:
  static constexpr int kIntensityCount = 126;
  static constexpr int kRingSize = 23;

  explicit LightEffectState(int ledCount = 0);

  // Resizes the list when the count changes (the only allocation), then
  // zeroes every LED.
  void SetLedCount(int count);
  int LedCount() const { return static_cast<int>(leds_.size()); }
  std::span<LedColour> Leds() { return leds_; }
  std::span<const LedColour> Leds() const { return leds_; }
  // Out-of-range indices are ignored, and read as 0.
  void SetLedColour(int index, LedColour colour);
  LedColour GetLedColour(int index) const;
  void FillAll(LedColour colour);

  // Intensity decay of one key: 255 reaches 0 in 18 calls.
  void FadeKey(int key);
  // Non-zero ring bytes among the first `count` light the intensity of the
  // same number.
  void LightRingKeys(int count);
  // Rotates the first `length` ring bytes by one: forward moves the last to
  // the front, backward the first to the back.
  void RotateRing(int length, int direction);
  void ClearEffectBuffers();

  // Effect scratch.
  std::uint8_t phase = 0;
  std::uint8_t colourIndex = 0;
  std::uint8_t toggle = 0;
  std::int64_t lastToggleMs = kLongAgoMs;
  std::uint32_t stepCounter = 0;
  std::array<std::uint8_t, kIntensityCount> intensity{};
  std::array<std::uint8_t, kRingSize> ring{};

  CustomAnimation custom;
  PerLedEffects perLed;

 private:
  std::vector<LedColour> leds_;
};

}  // namespace ostrel
