#include "devices/KeyAssignment.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <span>

#include "devicelink/DeviceProtocol.h"
#include "devices/KeyTables.h"

namespace ostrel {

namespace {

constexpr std::uint8_t kDirectionBit = 0x80;
constexpr std::uint8_t kCountMask = 0x7F;
constexpr int kMaxScrollCount = 0x7F;

std::uint8_t Byte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

// Delay in the high nibble, speed in the low one.
std::uint8_t ScrollTiming(const std::string& delay, const std::string& speed) {
  return Byte(((KeyAssignment::ParseDecimal(delay) & 15) << 4) | (KeyAssignment::ParseDecimal(speed) & 15));
}

// A count above 127 would run into the direction bit and come back as
// another count in the other direction; the edit's largest useful value
// is 127.
int ScrollCount(const std::string& text) {
  return std::clamp(KeyAssignment::ParseDecimal(text), 0, kMaxScrollCount);
}

// The action of row `item` of a combo's table; nothing when no row is
// selected (the current action then stays).
template <typename Rows, typename Get>
std::optional<KeyAction> RowAction(const Rows& rows, int item, Get get) {
  if (item < 0 || static_cast<std::size_t>(item) >= rows.size()) return std::nullopt;
  return get(rows[static_cast<std::size_t>(item)]);
}

std::optional<KeyAction> TableRow(std::span<const KeyTableRow> rows, int item) {
  return RowAction(rows, item, [](const KeyTableRow& row) { return row.action; });
}

int RowOf(std::span<const KeyTableRow> rows, const KeyAction& action) { return FindRow(rows, action); }

}  // namespace

int KeyAssignment::ParseDecimal(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = std::min<long long>(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
  }
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

bool KeyAssignment::IsCategoryAvailable(FunctionCategory category) const {
  if (category == FunctionCategory::kNone) return false;
  if (deviceType_ == kDeviceKeyboard &&
      (category == FunctionCategory::kDpi || category == FunctionCategory::kGunPreset)) {
    return false;
  }
  return true;
}

void KeyAssignment::addMacroName(const std::string& name) {
  if (!name.empty()) macroNames_.push_back(name);
}

void KeyAssignment::removeMacroName(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= macroNames_.size()) return;
  macroNames_.erase(macroNames_.begin() + index);
}

void KeyAssignment::renameMacro(int index, const std::string& name) {
  if (index < 0 || static_cast<std::size_t>(index) >= macroNames_.size() || name.empty()) return;
  macroNames_[static_cast<std::size_t>(index)] = name;
}

KeyPanelView KeyAssignment::setAssignment(const KeyEntry& entry) {
  current_ = entry.current;
  default_ = entry.defaultAction;
  return Show(current_);
}

KeyPanelView KeyAssignment::showDefault() { return Show(default_); }

KeyPanelView KeyAssignment::showCurrent() { return Show(current_); }

KeyAction KeyAssignment::BuildKeyboardKey(int modifierOption, bool keyFieldEmpty) const {
  KeyAction action = current_;
  action.type = key_type::kKeyboardKey;
  // The options stand for the left-hand modifiers.
  action.p1 =
      modifierOption >= 1 && modifierOption < kModifierOptionCount ? Byte(1 << (modifierOption - 1)) : 0;
  if (keyFieldEmpty) action.p2 = 0;
  return action;
}

KeyEntry KeyAssignment::buildAssignment(const KeyPanelControls& c) {
  std::optional<KeyAction> built;
  switch (static_cast<FunctionCategory>(c.category)) {
    case FunctionCategory::kMouseButton:
      built = TableRow(MouseButtonTable, c.mouseKeyItem);
      if (!built) built = current_;
      break;
    case FunctionCategory::kDpi:
      built = TableRow(DpiActionTable, c.dpiItem);
      if (!built) built = current_;
      break;
    case FunctionCategory::kMedia:
      built = TableRow(ConsumerTable, c.mediaItem);
      if (!built) built = current_;
      break;
    case FunctionCategory::kSystemPower:
      built = TableRow(SystemPowerTable, c.systemItem);
      if (!built) built = current_;
      break;
    case FunctionCategory::kShortcut:
      built = RowAction(ShortcutTable, c.shortcutItem, [](const KeyAction& a) { return a; });
      if (!built) built = current_;
      break;
    case FunctionCategory::kHorizontalScroll: {
      const int count = ScrollCount(c.swingCount);
      const std::uint8_t p2 =
          c.swingDirectionItem == 1 ? Byte(count | kDirectionBit) : Byte(count & kCountMask);
      built = MakeAction(key_type::kHorizontalScroll, ScrollTiming(c.swingDelay, c.swingSpeed), p2);
      break;
    }
    case FunctionCategory::kVerticalScroll: {
      // Down is the negated count as a signed byte.
      const int count = ScrollCount(c.wheelCount);
      const std::uint8_t p2 =
          c.wheelDirectionItem == 1 ? Byte((128 - count) | kDirectionBit) : Byte(count & kCountMask);
      built = MakeAction(key_type::kVerticalScroll, ScrollTiming(c.wheelDelay, c.wheelSpeed), p2);
      break;
    }
    case FunctionCategory::kRapidFire:
      built = MakeAction(key_type::kRapidFire, Byte(ParseDecimal(c.fireInterval)),
                         Byte(ParseDecimal(c.fireCount)));
      break;
    case FunctionCategory::kKeyboardKey:
      built = BuildKeyboardKey(c.modifierOption, c.keyText.empty());
      break;
    case FunctionCategory::kMacro: {
      const int count = static_cast<int>(macroNames_.size());
      if (c.macroItem < 0 || c.macroItem >= count) {
        built = current_;
      } else if (c.macroModeItem == kMacroRepeatItem) {
        built = MakeAction(key_type::kMacroRepeated, Byte(c.macroItem), Byte(ParseDecimal(c.macroRepeat)));
      } else {
        const int mode =
            c.macroModeItem >= 0 && c.macroModeItem < kMacroPlayModeCount ? c.macroModeItem : 0xFF;
        built = MakeAction(key_type::kMacro, Byte(c.macroItem), Byte(mode));
      }
      break;
    }
    case FunctionCategory::kGunPreset:
      if (c.gunItem >= 0 && c.gunItem < kGunPresetCount) {
        built = MakeAction(key_type::kGunPreset, Byte(c.gunItem), 0);
      } else {
        built = current_;
      }
      break;
    case FunctionCategory::kDefault:
    case FunctionCategory::kNone:
    default:
      built = default_;
      break;
  }
  current_ = *built;
  return entry();
}

void KeyAssignment::ShowKeyboardKey(const KeyAction& a, KeyPanelView& view) {
  view.category = FunctionCategory::kKeyboardKey;
  if (a.p1 == 0) {
    const int row = FindKeyboardUsageRow(a.p2);
    if (row >= 0) {
      view.modifierOption = kModifierOptionNone;
      view.keyNameKey = KeyTable[static_cast<std::size_t>(row)].nameKey;
    } else {
      // A usage no key names: nothing to show, and the action becomes
      // the empty keyboard key.
      view.modifierOption = kNoModifierOption;
      view.keyNameKey = std::string_view{};
      current_ = a;
      current_.p1 = 0;
      current_.p2 = 0;
    }
    return;
  }
  if (a.p1 > 0x80) {
    view.category = FunctionCategory::kShortcut;
    view.shortcutItem = -1;
    for (std::size_t i = 0; i < ShortcutTable.size(); ++i) {
      if (ShortcutTable[i] == a) view.shortcutItem = static_cast<int>(i);
    }
    return;
  }
  // One modifier shows as its option; several show as no modifier.
  view.modifierOption = kModifierOptionNone;
  for (std::size_t r = 0; r < kKeyTableModifierRows; ++r) {
    if (KeyTable[r].action == MakeAction(key_type::kKeyboardKey, a.p1, 0)) {
      view.modifierOption = ModifierOptionOfRow(static_cast<int>(r));
      break;
    }
  }
  const int row = FindKeyboardUsageRow(a.p2, kKeyTableModifierRows);
  view.keyNameKey = row >= 0 ? KeyTable[static_cast<std::size_t>(row)].nameKey : std::string_view{};
}

void KeyAssignment::ShowMacro(const KeyAction& a, KeyPanelView& view) const {
  view.category = FunctionCategory::kMacro;
  // A macro number at or past the end of the list names no macro.
  const bool known = a.p1 < macroNames_.size();
  if (a.type == key_type::kMacro) {
    view.macroCycleVisible = false;
    view.macroItem = known ? a.p1 : -1;
    view.macroModeItem = known && a.p2 < kMacroPlayModeCount ? a.p2 : -1;
    return;
  }
  if (!known) {
    view.macroItem = -1;
    view.macroModeItem = -1;
    view.macroCycleVisible = false;
    return;
  }
  view.macroItem = a.p1;
  view.macroCycleVisible = true;
  view.macroRepeat = a.p2;
  view.macroModeItem = kMacroRepeatItem;
}

KeyPanelView KeyAssignment::Show(const KeyAction& a) {
  KeyPanelView view;
  if (a == default_ || a.type == key_type::kNone) {
    view.category = FunctionCategory::kDefault;
  } else {
    switch (a.type) {
      case key_type::kMouseButton:
        view.category = FunctionCategory::kMouseButton;
        view.mouseKeyItem = RowOf(MouseButtonTable, a);
        break;
      case key_type::kHorizontalScroll:
        view.category = FunctionCategory::kHorizontalScroll;
        view.swingDelay = a.p1 >> 4;
        view.swingSpeed = a.p1 & 15;
        view.swingDirectionItem = (a.p2 & kDirectionBit) ? 1 : 0;
        view.swingCount = a.p2 & kCountMask;
        break;
      case key_type::kVerticalScroll:
        view.category = FunctionCategory::kVerticalScroll;
        view.wheelDelay = a.p1 >> 4;
        view.wheelSpeed = a.p1 & 15;
        if (a.p2 & kDirectionBit) {
          view.wheelDirectionItem = 1;
          view.wheelCount = 128 - (a.p2 & kCountMask);
        } else {
          view.wheelDirectionItem = 0;
          view.wheelCount = a.p2;
        }
        break;
      case key_type::kDpi:
        view.category = FunctionCategory::kDpi;
        view.dpiItem = RowOf(DpiActionTable, a);
        break;
      case key_type::kRapidFire:
        view.category = FunctionCategory::kRapidFire;
        view.fireInterval = a.p1;
        view.fireCount = a.p2;
        break;
      case key_type::kKeyboardKey:
        ShowKeyboardKey(a, view);
        break;
      case key_type::kConsumer:
        view.category = FunctionCategory::kMedia;
        view.mediaItem = RowOf(ConsumerTable, a);
        break;
      case key_type::kSystemPower:
        view.category = FunctionCategory::kSystemPower;
        view.systemItem = RowOf(SystemPowerTable, a);
        break;
      case key_type::kMacro:
      case key_type::kMacroRepeated:
        ShowMacro(a, view);
        break;
      case key_type::kGunPreset:
        view.category = FunctionCategory::kGunPreset;
        view.gunItem = a.p1 < kGunPresetCount ? a.p1 : -1;
        break;
      case key_type::kShortcut:
        view.category = FunctionCategory::kShortcut;
        view.shortcutItem = -1;
        break;
      default:
        view.category = FunctionCategory::kNone;
        break;
    }
  }
  // A type without an editor (or one this device does not offer) hides the
  // editor rather than showing a wrong one.
  view.editorVisible = IsCategoryAvailable(view.category);
  if (!view.editorVisible) view.category = FunctionCategory::kNone;
  return view;
}

KeyPanelView KeyAssignment::ChangeCategory(int category) const {
  KeyPanelView view;
  view.category = static_cast<FunctionCategory>(category);
  view.editorVisible = true;
  if (view.category == FunctionCategory::kKeyboardKey) {
    view.keyNameKey = std::string_view{};
    view.modifierOption = kNoModifierOption;
  }
  return view;
}

KeyCaptureResult KeyAssignment::CaptureKey(const KeyHookEvent& event, int selectedModifier) {
  KeyCaptureResult result;
  if (!event.IsPress()) return result;
  const int row = FindScanCodeRow(event.record.scanCode, event.IsExtended());
  if (row < 0) return result;
  const KeyTableRow& key = KeyTable[static_cast<std::size_t>(row)];

  std::uint8_t p1 = key.action.p1;
  if (row < static_cast<int>(kKeyTableModifierRows)) {
    // A modifier alone: its option shows, the key field empties, and the
    // action keeps the very modifier pressed (right Ctrl stays right Ctrl
    // until the next build makes it the left-hand one).
    result.modifierOption = ModifierOptionOfRow(row);
    result.keyNameKey = {};
  } else {
    if (selectedModifier == kNoModifierOption) {
      result.modifierOption = kModifierOptionNone;
    } else {
      result.modifierOption = selectedModifier;
      p1 = BuildKeyboardKey(selectedModifier, false).p1;
    }
    result.keyNameKey = key.nameKey;
  }
  current_ = MakeAction(key_type::kKeyboardKey, p1, key.action.p2, key.action.keyId);
  result.handled = true;
  result.entry = entry();
  return result;
}

}  // namespace ostrel
