#pragma once
// The mouse's onboard profile record: the 66 bytes the host writes at
// profile x 128 and the first bytes of the 71 it reads back.
//
//   0 0 | 1 lighting mode | 2 brightness | 3 effect speed | 4 direction
//   5 multicolour | 6-8 red, green, blue | 9-10 0 | 11 polling rate index
//   12 active DPI stage | 13 0 | 14 + 9i DPI stage i (i < 5) | 59 1
//   60-61 screen width | 62-63 screen height (little-endian)
//   64-65 minimum square and pixel threshold of the selected correction

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "profiles/CorrectEntry.h"
#include "profiles/DpiStage.h"
#include "profiles/LightSetting.h"

namespace ostrel {

struct MouseRecordInput {
  LightSetting light;
  int pollingRate = 0;
  int activeStage = 0;
  std::vector<DpiStage> stages;
  std::vector<CorrectEntry> correction;
  int screenWidth = 0;
  int screenHeight = 0;
  // A mouse behind the wireless receiver counts the effect speed backwards.
  bool wireless = false;
};

// What a record read from the device tells the page.
struct MouseRecordState {
  int lightMode = 0;
  int brightness = 0;
  int speed = 0;
  int multiColour = 0;
  int red = 0, green = 0, blue = 0;
  int activeStage = 0;
};

class MouseProfileRecord {
 public:
  static constexpr std::size_t kWriteLength = 66;
  static constexpr std::size_t kReadLength = 71;
  static constexpr int kStageCount = 5;
  static constexpr std::size_t kStageOffset = 14;
  static constexpr int kPollingRateCount = 5;
  // The firmware knows lighting modes 0-8; higher ones are the host's own
  // animations and go to the device as 0 (off on the device itself).
  static constexpr int kDeviceModeCount = 9;
  static constexpr int kHighestSpeed = 4;

  static std::array<std::uint8_t, kWriteLength> Build(const MouseRecordInput& input);
  // Empty when the record is shorter than the bytes read from it.
  static std::optional<MouseRecordState> Parse(std::span<const std::uint8_t> record, bool wireless);

  // The effect speed as the record carries it, kept within 0-4 so that the
  // wireless mirror cannot wrap round.
  static std::uint8_t SpeedByte(int speed, bool wireless);
  static int SpeedFromByte(std::uint8_t byte, bool wireless);
};

}  // namespace ostrel
