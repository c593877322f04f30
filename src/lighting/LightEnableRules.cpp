#include "lighting/LightEnableRules.h"

#include <span>

namespace ostrel {
namespace {

// Row flags.
enum : std::uint32_t {
  M = 1u << 0,    // multi-colour check
  C = 1u << 1,    // colour edits
  S = 1u << 2,    // preset colours
  P = 1u << 3,    // palette
  B = 1u << 4,    // brightness
  V = 1u << 5,    // speed
  D = 1u << 6,    // direction
  R = 1u << 7,    // RGB layout
  Y = 1u << 8,    // sync button
  HV = 1u << 9,   // speed layout hidden
  HD = 1u << 10,  // direction layout hidden
  A = 1u << 11,   // area combo shown
  U = 1u << 12,   // custom effect layouts shown
};

struct Row {
  int first;
  int last;
  std::uint32_t flags;
  const char* fxl = nullptr;
  const char* fxr = nullptr;
};

constexpr const char* kClockwise = "light_set_clockwise_text";
constexpr const char* kAnticlockwise = "light_set_anticlockwise_text";
constexpr const char* kDownToUp = "light_set_down_to_up_text";
constexpr const char* kUpToDown = "light_set_up_to_down_text";
constexpr const char* kOutsideToInside = "light_set_outside_to_inside_text";
constexpr const char* kInsideToOutside = "light_set_inside_to_outside_text";

constexpr std::uint32_t kAllColour = M | C | S | P;

constexpr Row kKeyboardMain[] = {
    {1, 2, kAllColour | B | V | D | R},
    {3, 3, kAllColour | B | V | D | R, kClockwise, kAnticlockwise},
    {27, 27, kAllColour | B | V | D | R, kClockwise, kAnticlockwise},
    {4, 4, B | V | Y},
    {5, 5, kAllColour | B | V | R | Y},
    {26, 26, kAllColour | B | V | R | Y},
    {6, 6, kAllColour | B | R | Y},
    {7, 10, kAllColour | B | V | R},
    {13, 13, kAllColour | B | V | R},
    {15, 15, kAllColour | B | V | R},
    {21, 21, kAllColour | B | V | R},
    {11, 11, B | V},
    {12, 12, B | V | D, kDownToUp, kUpToDown},
    {14, 14, kAllColour | B | V | R},
    {16, 16, kAllColour | B | R},
    {17, 17, B | HV | A},
    {18, 18, B | D, kOutsideToInside, kInsideToOutside},
    {20, 20, C | P | B | HV | HD | R | U},
    {22, 23, B | V | R},
    {24, 24, R | Y},
};
constexpr std::uint32_t kKeyboardMainOther = R;

constexpr Row kKeyboardZone[] = {
    {0, 0, M | C | P | B | V | D | R | Y},
    {1, 3, M | C | P | B | V | R | Y},
    {4, 4, M | C | P | B | R | Y},
    {5, 5, Y},
};
constexpr std::uint32_t kKeyboardZoneOther = R;

// Mouse pages have no preset column: the presets set the fixed colour, so
// they follow the colour edits.
constexpr Row kMouse[] = {
    {0, 0, M | C | S | P | B | V | D},
    {5, 5, M | C | S | P | B | V | D},
    {1, 1, B | V | Y},
    {2, 2, M | C | S | P | B | V | D | Y},
    {3, 3, C | S | P | B | Y},
    {4, 4, M | C | S | P | B | V | Y},
    {6, 7, B | V},
    {8, 8, Y},
};

constexpr Row kPadAndHeadset[] = {
    {0, 0, M | C | S | P | B | V | D}, {1, 1, B | V | Y},
    {2, 2, M | C | S | P | B | V | Y}, {3, 3, C | S | P | B | Y},
    {4, 4, M | C | S | P | B | V | Y}, {8, 8, Y},
};

constexpr Row kHub[] = {
    {0, 0, M | C | S | P | B | V},
    {2, 3, M | C | S | P | B | V},
    {1, 1, C | S | P | B},
    {4, 4, B | V},
};

struct Table {
  std::span<const Row> rows;
  std::uint32_t other;
};

Table TableFor(int deviceType, LightZone zone) {
  switch (deviceType) {
    case 1:
      if (zone == LightZone::kMain) return {kKeyboardMain, kKeyboardMainOther};
      return {kKeyboardZone, kKeyboardZoneOther};
    case 2:
    case 6:
      return {kMouse, 0};
    case 3:
    case 7:
      return {kPadAndHeadset, 0};
    case 5:
      return {kHub, 0};
    default:
      return {{}, 0};
  }
}

}  // namespace

LightEnableRule LightEnableRules::For(int deviceType, LightZone zone, int effect) {
  const Table table = TableFor(deviceType, zone);
  std::uint32_t flags = table.other;
  const char* fxl = nullptr;
  const char* fxr = nullptr;
  for (const Row& row : table.rows) {
    if (effect >= row.first && effect <= row.last) {
      flags = row.flags;
      fxl = row.fxl;
      fxr = row.fxr;
      break;
    }
  }
  if (deviceType == 1 && zone == LightZone::kMain && !fxl) {
    fxl = kRightToLeftText;
    fxr = kLeftToRightText;
  }
  LightEnableRule rule;
  rule.multiColour = flags & M;
  rule.colour = flags & C;
  rule.select = flags & S;
  rule.palette = flags & P;
  rule.brightness = flags & B;
  rule.speed = flags & V;
  rule.direction = flags & D;
  // Only the keyboard has an RGB layout to switch; elsewhere it stays enabled.
  rule.rgb = deviceType != 1 || (flags & R);
  rule.sync = flags & Y;
  rule.speedHidden = flags & HV;
  rule.directionHidden = flags & HD;
  rule.areaShown = flags & A;
  rule.customShown = flags & U;
  rule.fxlText = fxl;
  rule.fxrText = fxr;
  return rule;
}

}  // namespace ostrel
