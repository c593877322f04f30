#pragma once
// The headset's LED registers as its 17-byte LED output reports set them:
// report byte 1 is the target (0x22 or 0x44), byte 2 the register (0xAA-0xAC
// red, green, blue of LEDs 0-6; 0xAD-0xAF of LEDs 7-12), bytes 4-10 the values.
// Thread-safe.

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace ostrel::devsim {

struct LedColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const LedColour&) const = default;
};

class HeadsetLedRegisters {
 public:
  static constexpr std::size_t kLedCount = 13;
  static constexpr std::size_t kValuesPerRegister = 7;
  static constexpr std::uint8_t kTargets[2] = {0x22, 0x44};
  static constexpr std::uint8_t kFirstRegister = 0xAA;
  static constexpr std::uint8_t kLastRegister = 0xAF;

  // Takes one LED output report (report id 0xFF first). False, and nothing
  // changed, for a report of another id, size, target or register.
  bool Apply(std::span<const std::uint8_t> report);

  // The seven values last written to a register of a target; empty when
  // the target or register is unknown.
  std::optional<std::array<std::uint8_t, kValuesPerRegister>> Register(std::uint8_t target,
                                                                       std::uint8_t reg) const;
  // The colour of one LED (0-12) as a target's registers give it.
  LedColour Colour(std::uint8_t target, std::size_t led) const;
  // Every accepted report, in order.
  std::vector<std::vector<std::uint8_t>> Reports() const;
  void Clear();

 private:
  static std::optional<std::size_t> TargetIndex(std::uint8_t target);

  mutable std::mutex mutex_;
  std::array<std::array<std::array<std::uint8_t, kValuesPerRegister>, 6>, 2> values_{};
  std::vector<std::vector<std::uint8_t>> reports_;
};

}  // namespace ostrel::devsim
