#pragma once
// The three lighting zones of a page. Every page has the main zone; the
// keyboard page also has its logo zone and its strip ("St") zone, each with
// its own record and its own controls, named like the main zone's with a
// prefix.

namespace ostrel {

enum class LightZone { kMain = 0, kLogo = 1, kSt = 2 };

inline constexpr int kLightZoneCount = 3;

// The control name prefix of a zone.
inline constexpr const char* LightZonePrefix(LightZone zone) {
  switch (zone) {
    case LightZone::kLogo:
      return "LightTab1_";
    case LightZone::kSt:
      return "LightTab2_";
    case LightZone::kMain:
      break;
  }
  return "";
}

}  // namespace ostrel
