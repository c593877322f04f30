#include "profiles/DefaultProfileBuilder.h"

#include <vector>

#include "profiles/CHs6533Profiledata.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/CMouseProfiledata.h"
#include "profiles/JsonFields.h"

namespace ostrel {
namespace {

constexpr KeyAction Key(std::uint8_t usage) { return {0, 0x20, 0, usage, 0}; }
constexpr KeyAction Modifier(std::uint8_t bits) { return {0, 0x20, bits, 0, 0}; }
constexpr KeyAction Consumer(std::uint16_t usage) {
  return {0, 0x30, static_cast<std::uint8_t>(usage & 0xFF), static_cast<std::uint8_t>(usage >> 8), 0};
}
constexpr KeyAction Action(std::uint8_t type, std::uint8_t p1, std::uint8_t p2) {
  return {0, type, p1, p2, 0};
}

// The mouse-wide DPI step the stages are counted in (DPI = steps x 50).
constexpr int kDpiStep = 50;

struct StageDefault {
  int dpi;
  std::uint8_t red, green, blue;
};

constexpr StageDefault kStageDefaults[] = {
    {400, 255, 0, 0}, {800, 0, 255, 0}, {1600, 0, 0, 255}, {3200, 255, 255, 0}, {6400, 255, 0, 255},
};

struct CorrectDefault {
  const char* name;
  int pixThresh, minSq, select;
};

constexpr CorrectDefault kCorrectDefaults[] = {
    {"Off", 0, 0, 1},
    {"Low", 2, 4, 0},
    {"Medium", 4, 8, 0},
    {"High", 8, 16, 0},
};

// The keys of WASD and the arrow keys, lit in the "gaming" colour group.
constexpr int kGamingKeys[] = {44, 64, 65, 66, 96, 113, 114, 115};

LightSetting MainLight(std::uint8_t effect) {
  LightSetting light;
  light.selectItem = effect;
  light.light = 4;
  light.speed = 2;
  light.multiColor = 1;
  light.red = 255;
  return light;
}

Json::Value NullLightList(int count) {
  Json::Value list(Json::arrayValue);
  for (int i = 0; i < count; ++i) list.append(Json::Value());
  return list;
}

// "DefaultAssignment" is read only to the program; the defaults carry it.
template <std::size_t N>
void AddKeyList(CBasicProfiledata& profile, Json::Value& section, const std::array<KeyAction, N>& keys) {
  std::vector<KeyEntry> entries;
  for (const KeyAction& key : keys) entries.push_back({key, key});
  profile.WriteKeyList(entries);
  section = profile.Section();
  for (std::size_t i = 0; i < N; ++i)
    section["KeyList"][static_cast<Json::ArrayIndex>(i)]["DefaultAssignment"] = keys[i].Packed();
}

Json::Value Document(const Json::Value& section) {
  Json::Value document(Json::objectValue);
  document["Device"].append(section);
  return document;
}

// A hue around the colour wheel, full saturation.
CustomColor Hue(int step, int steps) {
  const int h = step * 1536 / steps;  // six sectors of 256
  const int x = h % 256;
  const std::uint8_t up = static_cast<std::uint8_t>(x), down = static_cast<std::uint8_t>(255 - x);
  switch (h / 256) {
    case 0:
      return {255, up, 0, 255};
    case 1:
      return {down, 255, 0, 255};
    case 2:
      return {0, 255, up, 255};
    case 3:
      return {0, down, 255, 255};
    case 4:
      return {up, 0, 255, 255};
    default:
      return {255, 0, down, 255};
  }
}

std::vector<CustomColor> ColorGroup(int group, int keys) {
  std::vector<CustomColor> colors(static_cast<std::size_t>(keys));
  const int rows =
      (keys + DefaultProfileBuilder::kKeyboardColumns - 1) / DefaultProfileBuilder::kKeyboardColumns;
  for (int i = 0; i < keys; ++i) {
    const int column = i % DefaultProfileBuilder::kKeyboardColumns;
    const int row = i / DefaultProfileBuilder::kKeyboardColumns;
    switch (group) {
      case 0:
        colors[i] = Hue(column, DefaultProfileBuilder::kKeyboardColumns);
        break;  // rainbow across
      case 1:
        colors[i] = {0, 0, 96, 255};
        break;  // gaming, below
      case 2:
        colors[i] = Hue(row, rows);
        break;  // one colour a row
      case 3:
        colors[i] = {255, 255, 255, 255};
        break;  // white
      default:
        colors[i] = {255, 0, 0, 255};
        break;  // red
    }
  }
  if (group == 1)
    for (int key : kGamingKeys) colors[key] = {255, 0, 0, 255};
  return colors;
}

}  // namespace

const std::array<KeyAction, 126> DefaultProfileBuilder::kKeyboardFactoryKeys = {
    // 0-20: Esc, F1-F12, Print Screen, Scroll Lock, Pause, empty, media keys
    Key(0x29),
    Key(0x3A),
    Key(0x3B),
    Key(0x3C),
    Key(0x3D),
    Key(0x3E),
    Key(0x3F),
    Key(0x40),
    Key(0x41),
    Key(0x42),
    Key(0x43),
    Key(0x44),
    Key(0x45),
    Key(0x46),
    Key(0x47),
    Key(0x48),
    Key(0x00),
    Consumer(0x0192),
    Consumer(0x00E2),
    Consumer(0x00EA),
    Consumer(0x00E9),
    // 21-41: ` 1-9 0 - = Backspace, Insert Home Page Up, Num Lock, keypad / * -
    Key(0x35),
    Key(0x1E),
    Key(0x1F),
    Key(0x20),
    Key(0x21),
    Key(0x22),
    Key(0x23),
    Key(0x24),
    Key(0x25),
    Key(0x26),
    Key(0x27),
    Key(0x2D),
    Key(0x2E),
    Key(0x2A),
    Key(0x49),
    Key(0x4A),
    Key(0x4B),
    Key(0x53),
    Key(0x54),
    Key(0x55),
    Key(0x56),
    // 42-62: Tab Q-P [ ] \, Delete End Page Down, keypad 7 8 9, non-US #
    Key(0x2B),
    Key(0x14),
    Key(0x1A),
    Key(0x08),
    Key(0x15),
    Key(0x17),
    Key(0x1C),
    Key(0x18),
    Key(0x0C),
    Key(0x12),
    Key(0x13),
    Key(0x2F),
    Key(0x30),
    Key(0x31),
    Key(0x4C),
    Key(0x4D),
    Key(0x4E),
    Key(0x5F),
    Key(0x60),
    Key(0x61),
    Key(0x32),
    // 63-83: Caps Lock A-L ; ' Enter, keypad 4 5 6, international keys
    Key(0x39),
    Key(0x04),
    Key(0x16),
    Key(0x07),
    Key(0x09),
    Key(0x0A),
    Key(0x0B),
    Key(0x0D),
    Key(0x0E),
    Key(0x0F),
    Key(0x33),
    Key(0x34),
    Key(0x28),
    Key(0x5C),
    Key(0x5D),
    Key(0x5E),
    Key(0x8A),
    Key(0x8B),
    Key(0x90),
    Key(0x91),
    Key(0x88),
    // 84-104: left Shift Z-/ right Shift, Up, keypad 1 2 3, international keys, empty
    Modifier(0x02),
    Key(0x1D),
    Key(0x1B),
    Key(0x06),
    Key(0x19),
    Key(0x05),
    Key(0x11),
    Key(0x10),
    Key(0x36),
    Key(0x37),
    Key(0x38),
    Modifier(0x20),
    Key(0x52),
    Key(0x59),
    Key(0x5A),
    Key(0x5B),
    Key(0x87),
    Key(0x89),
    Key(0x64),
    Key(0x85),
    Key(0x00),
    // 105-125: Ctrl Win Alt Space Alt Win Fn Ctrl, arrows, keypad 0 . Enter +, M1-M5, none
    Modifier(0x01),
    Modifier(0x08),
    Modifier(0x04),
    Key(0x2C),
    Modifier(0x40),
    Modifier(0x80),
    Action(0xA0, 0x01, 0),
    Modifier(0x10),
    Key(0x50),
    Key(0x51),
    Key(0x4F),
    Key(0x62),
    Key(0x63),
    Key(0x58),
    Key(0x57),
    Action(0xD0, 0xA2, 1),
    Action(0xD0, 0xA2, 2),
    Action(0xD0, 0xA2, 3),
    Action(0xD0, 0xA2, 4),
    Action(0xD0, 0xA2, 5),
    Action(0x00, 0, 0),
};

const std::array<KeyAction, 10> DefaultProfileBuilder::kMouseFactoryKeys = {
    Action(0x10, 0x01, 0),     // left
    Action(0x10, 0x02, 0),     // right
    Action(0x10, 0x04, 0),     // middle
    Action(0x10, 0x10, 0),     // forward
    Action(0x10, 0x08, 0),     // back
    Action(0x13, 0x01, 0),     // DPI up
    Action(0x13, 0x02, 0),     // DPI down
    Action(0x13, 0x03, 0),     // DPI cycle
    Action(0xA0, 0x1B, 0),     // game mode
    Action(0x16, 0x90, 0x01),  // DPI shift
};

Json::Value DefaultProfileBuilder::Keyboard() {
  CKeyboardProfiledata profile;
  profile.WriteLightSetting(MainLight(4));  // spectrum
  LightSetting zones;
  zones.logoLight = zones.stLight = 4;
  zones.logoSpeed = zones.stSpeed = 2;
  zones.logoMultiColor = zones.stMultiColor = 1;
  zones.logoRed = zones.stRed = 255;
  zones.rgbDengOffOn = 1;
  profile.WriteLogoLightSetting(zones);  // wave
  profile.WriteStLightSetting(zones);
  KeyboardSystemSettings system;
  system.repeat = 20;
  system.repeatDelay = 1;
  profile.WriteSystemSettings(system);
  for (int group = 0; group < kCustomColorGroups; ++group)
    profile.WriteCustomColors(ColorGroup(group, kKeyboardLedCount), group);
  profile.WriteCustomGroupIndex(0);
  Json::Value section;
  AddKeyList(profile, section, kKeyboardFactoryKeys);
  section["LightList"] = NullLightList(kKeyboardLedCount);
  return Document(section);
}

Json::Value DefaultProfileBuilder::Mouse() {
  CMouseProfiledata profile;
  profile.WriteLightSetting(MainLight(1));  // spectrum
  std::vector<DpiStage> stages;
  for (const StageDefault& s : kStageDefaults) {
    const auto steps = static_cast<std::uint16_t>(s.dpi / kDpiStep);
    stages.push_back({1, 1, steps, steps, s.red, s.green, s.blue});
  }
  profile.WriteDpiStages(stages);
  profile.SetActiveStage(1);
  MouseSystemSettings system;
  system.doubleClickTime = 500;
  system.mouseSpeed = 10;
  system.pointerPrecision = 1;
  system.wheelScrollLines = 3;
  profile.WriteSystemSettings(system);
  Json::Value section;
  AddKeyList(profile, section, kMouseFactoryKeys);
  section["LightList"] = NullLightList(kMouseLedCount);
  Json::Value& correct = section["CorrectInfo"] = Json::Value(Json::arrayValue);
  for (const CorrectDefault& c : kCorrectDefaults) {
    Json::Value entry(Json::objectValue);
    entry["CorrectPixThresh"] = c.pixThresh;
    entry["CorrectMinSq"] = c.minSq;
    entry["CorrectSelect"] = c.select;
    entry["CorrectName"] = c.name;
    correct.append(entry);
  }
  return Document(section);
}

Json::Value DefaultProfileBuilder::MousePad() {
  CBasicProfiledata profile;
  profile.WriteLightSetting(MainLight(1));
  Json::Value section = profile.Section();
  section["LightList"] = NullLightList(kMousePadLedCount);
  return Document(section);
}

Json::Value DefaultProfileBuilder::Headset() {
  CHs6533Profiledata profile;
  profile.WriteLightSetting(MainLight(1));
  HeadsetSettings settings;
  settings.magicType = 1;
  settings.eqType = 5;  // the flat curve
  settings.micInSelect = 1;
  settings.micInValue = 80;
  settings.micMonitorValue = 50;
  profile.WriteHeadsetSettings(settings);
  for (int type = 1; type <= 12; ++type)
    profile.WriteEqBands(type,
                         std::vector<int>(std::begin(kEqPresets[type - 1]), std::end(kEqPresets[type - 1])));
  profile.WriteCustomEqNames({});
  Json::Value section = profile.Section();
  // Slot 0 is never used (type 0 reads slot 1); keep it a flat curve rather than null.
  section["EQHzValueInfo"][0] = section["EQHzValueInfo"][5];
  section["CustomEQHzValueInfo"] = Json::Value(Json::arrayValue);
  section["LightList"] = NullLightList(kHeadsetLedCount);
  return Document(section);
}

Json::Value DefaultProfileBuilder::ForModel(const std::string& name) {
  if (name == kKeyboardName) return Keyboard();
  if (name == kMouseName) return Mouse();
  if (name == kMousePadName) return MousePad();
  if (name == kHeadsetName) return Headset();
  return Json::Value();
}

}  // namespace ostrel
