#pragma once
// The keyboard's onboard profile record: 46 bytes at profile x 46 in the
// device's memory, holding the three lighting zones (main, logo, strip) and
// the system options. Key repeat rate and delay are not part of it; they
// stay in the profile.
//
// Values the device cannot take are sent as the page shows them: a lighting
// mode of 25 or more as 0, a speed above 4 as 4 (stored as 4 - speed), a
// flag as 0 or 1, and a polling or scan delay option outside 0-3 as option 0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "profiles/KeyboardSystemSettings.h"
#include "profiles/LightSetting.h"

namespace ostrel {

class KeyboardProfileRecord {
 public:
  static constexpr std::size_t kSize = 46;
  using Bytes = std::array<std::uint8_t, kSize>;

  // Byte offsets of the record.
  static constexpr std::size_t kMainZone = 1;  // mode, brightness, 4 - speed, direction, multicolour, r, g, b
  static constexpr std::size_t kZzccLedMode = 18;
  static constexpr std::size_t kWFlag = 19;
  static constexpr std::size_t kSixKeyFlag = 20;
  static constexpr std::size_t kWinLockFlag = 21;
  static constexpr std::size_t kPollingRate = 22;
  static constexpr std::size_t kScanDelay = 25;
  static constexpr std::size_t kCustomGroup = 26;
  static constexpr std::size_t kLogoZone = 27;
  static constexpr std::size_t kLogoOnOff = 36;
  static constexpr std::size_t kStripZone = 37;

  // Modes from this one on are not the device's.
  static constexpr std::uint8_t kModeLimit = 25;
  static constexpr std::uint8_t kMaxSpeed = 4;
  // The option groups of the page have four options each.
  static constexpr int kOptionCount = 4;

  // The record of the page's three zone records and system values; byte 0
  // is `firstByte` (the page always writes 0).
  static Bytes Build(const LightSetting& main, const LightSetting& logo, const LightSetting& strip,
                     const KeyboardSystemSettings& system, std::uint8_t firstByte = 0);

  // The zone fields of a record read from the device (mode, brightness,
  // speed, direction, multicolour and colour of each zone, "ZZCCLedMode",
  // the custom group index, the logo on/off) into the three zone records;
  // their other bytes are kept. False, nothing changed, when the record is
  // shorter than kSize.
  static bool ReadZones(std::span<const std::uint8_t> record, LightSetting& main, LightSetting& logo,
                        LightSetting& strip);

  // 4 - speed, with speeds above 4 taken as 4.
  static std::uint8_t StoredSpeed(std::uint8_t speed);
  // The speed of a stored byte: 4 - byte, with bytes above 4 taken as 4.
  static std::uint8_t SpeedOfStored(std::uint8_t stored);
  static std::uint8_t Mode(std::uint8_t mode) { return mode >= kModeLimit ? 0 : mode; }
  static std::uint8_t Flag(std::uint16_t value) { return value != 0 ? 1 : 0; }
  // An option index as the option groups show it: outside 0-3 is option 0.
  static int Option(int index) { return index >= 0 && index < kOptionCount ? index : 0; }
};

}  // namespace ostrel
