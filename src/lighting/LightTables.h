#pragma once
// The fixed colour and curve tables every lighting step uses.

#include <array>
#include <cstddef>
#include <cstdint>

#include "lighting/LedColour.h"

namespace ostrel {

// Brightness value of the brightness levels 0-4.
inline constexpr std::array<std::uint8_t, 5> kBrightnessTable = {0, 63, 126, 190, 255};

inline constexpr std::array<Rgb, 4> kFourColours = {
    {{0, 255, 180}, {0, 255, 0}, {255, 255, 255}, {255, 0, 0}}};

inline constexpr std::array<std::uint8_t, 64> kBreathingRise = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

namespace lighttables_detail {
constexpr std::array<std::uint8_t, 128> MakeBreathing() {
  std::array<std::uint8_t, 128> curve{};
  for (std::size_t i = 0; i < 64; ++i) {
    curve[i] = kBreathingRise[i];
    curve[127 - i] = kBreathingRise[i];
  }
  return curve;
}
constexpr std::array<std::uint8_t, 96> MakeWave() {
  std::array<std::uint8_t, 96> curve{};
  for (std::size_t i = 0; i < 48; ++i) {
    curve[i] = kBreathingRise[16 + i];
    curve[95 - i] = kBreathingRise[16 + i];
  }
  return curve;
}
// Six segments of `n` entries: (255, R, 0), (F, 255, 0), (0, 255, R),
// (0, F, 255), (R, 0, 255), (255, 0, F), then the first `repeat` entries again.
template <std::size_t Total, std::size_t N>
constexpr std::array<Rgb, Total> MakeWheel(const std::array<std::uint8_t, N>& rise,
                                           const std::array<std::uint8_t, N>& fall) {
  std::array<Rgb, Total> wheel{};
  for (std::size_t i = 0; i < N; ++i) {
    const std::uint8_t r = rise[i];
    const std::uint8_t f = fall[i];
    wheel[i] = {255, r, 0};
    wheel[N + i] = {f, 255, 0};
    wheel[2 * N + i] = {0, 255, r};
    wheel[3 * N + i] = {0, f, 255};
    wheel[4 * N + i] = {r, 0, 255};
    wheel[5 * N + i] = {255, 0, f};
  }
  for (std::size_t i = 6 * N; i < Total; ++i) wheel[i] = wheel[i - 6 * N];
  return wheel;
}
inline constexpr std::array<std::uint8_t, 32> kWheelRise = {
    1,  3,  5,  7,   10,  14,  18,  22,  26,  32,  38,  44,  50,  57,  65,  73,
    81, 89, 99, 109, 119, 129, 140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
inline constexpr std::array<std::uint8_t, 32> kWheelFall = {
    248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124, 114, 104, 94, 85, 77,
    69,  61,  53,  47,  41,  35,  29,  24,  20,  16,  12,  8,   6,   4,  2,  0};
inline constexpr std::array<std::uint8_t, 16> kSmallRise = {1,  5,  10,  18,  26,  38,  50,  65,
                                                            81, 99, 119, 140, 164, 188, 213, 241};
inline constexpr std::array<std::uint8_t, 16> kSmallFall = {248, 220, 194, 170, 146, 124, 104, 85,
                                                            69,  53,  41,  29,  20,  12,  6,   2};
}  // namespace lighttables_detail

inline constexpr std::array<std::uint8_t, 128> kBreathingCurve = lighttables_detail::MakeBreathing();
inline constexpr std::array<std::uint8_t, 96> kWaveCurve = lighttables_detail::MakeWave();
// 192 colours, then entries 0-63 again so that every byte is a valid index.
inline constexpr std::array<Rgb, 256> kColourWheel =
    lighttables_detail::MakeWheel<256>(lighttables_detail::kWheelRise, lighttables_detail::kWheelFall);
// The logo and St zones' wheel: 96 colours, then entries 0-31 again.
inline constexpr std::array<Rgb, 128> kSmallColourWheel =
    lighttables_detail::MakeWheel<128>(lighttables_detail::kSmallRise, lighttables_detail::kSmallFall);

// Step thresholds in ticks by speed 0-4.
inline constexpr std::array<std::uint8_t, 5> kSlowTimingRow = {28, 23, 18, 13, 7};
inline constexpr std::array<std::uint8_t, 5> kFastTimingRow = {6, 5, 4, 3, 2};
inline constexpr std::array<std::uint8_t, 5> kKeyboardFlashTimingRow = {0, 28, 23, 18, 13};
// Flash toggles: the slow row times this many milliseconds (keyboard logo
// and St zones use 100).
inline constexpr int kFlashToggleUnitMs = 200;
inline constexpr int kZoneFlashToggleUnitMs = 100;

// A tick: the lighting loop counts one when the clock has moved by 2 ms or
// more since the last tick (a 1 ms move does not count).
inline constexpr int kTickMs = 2;

static_assert(kBreathingCurve[63] == 255 && kBreathingCurve[64] == 255 && kBreathingCurve[127] == 0);
static_assert(kWaveCurve[0] == 22 && kWaveCurve[47] == 255 && kWaveCurve[95] == 22);
static_assert(kColourWheel[192] == kColourWheel[0] && kColourWheel[255] == kColourWheel[63]);
static_assert(kColourWheel[31] == Rgb{255, 255, 0} && kColourWheel[63] == Rgb{0, 255, 0});
static_assert(kSmallColourWheel[96] == kSmallColourWheel[0] &&
              kSmallColourWheel[127] == kSmallColourWheel[31]);

}  // namespace ostrel
