#include "devices/KeyFunctionText.h"

#include <bit>
#include <cstdio>

#include "devices/KeyTables.h"

namespace ostrel {

namespace {

using Parts = KeyFunctionText::Parts;

Parts Names(std::initializer_list<std::string_view> keys) {
  Parts parts;
  parts.kind = Parts::Kind::kNames;
  parts.nameKeys.assign(keys.begin(), keys.end());
  return parts;
}

Parts Literal(std::string text) {
  Parts parts;
  parts.kind = Parts::Kind::kLiteral;
  parts.literal = std::move(text);
  return parts;
}

Parts Unknown() { return Literal(std::string(kUnknownFunctionText)); }

Parts RowName(std::span<const KeyTableRow> rows, int row) {
  if (row < 0) return Unknown();
  return Names({rows[static_cast<std::size_t>(row)].nameKey});
}

int FindSpecial(std::uint8_t type, std::uint8_t p1) {
  for (std::size_t i = 0; i < SpecialActionTable.size(); ++i) {
    if (SpecialActionTable[i].action.type == type && SpecialActionTable[i].action.p1 == p1) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int FindSpecialType(std::uint8_t type) {
  for (std::size_t i = 0; i < SpecialActionTable.size(); ++i) {
    if (SpecialActionTable[i].action.type == type) return static_cast<int>(i);
  }
  return -1;
}

// SpecialActionTable by type and p1 first (smart key, off), else the
// KeyTable row with the action's type, p1 and p2 (Fn, game mode, M1-M5).
Parts SpecialKeyParts(const KeyAction& action) {
  const int special = FindSpecial(action.type, action.p1);
  if (special >= 0) return RowName(SpecialActionTable, special);
  return RowName(KeyTable, FindRow(KeyTable, action));
}

}  // namespace

Parts KeyFunctionText::KeyboardKeyParts(const KeyAction& action) {
  // A key the table names as it is (type not compared).
  for (const KeyTableRow& row : KeyTable) {
    if (row.action.p1 == action.p1 && row.action.p2 == action.p2) return Names({row.nameKey});
  }
  if (action.p1 == 0 && action.p2 == 0) return Names({kCloseTextName});

  // A modifier with a key: the modifier's name, "+", the key's name. Only a
  // single modifier is named when there is a key (several show as none in
  // the panel too); without a key every modifier held is named.
  Parts parts;
  parts.kind = Parts::Kind::kNames;
  const bool singleModifier = std::has_single_bit(action.p1);
  if (singleModifier || action.p2 == 0) {
    for (std::size_t r = 0; r < kKeyTableModifierRows; ++r) {
      if (action.p1 & KeyTable[r].action.p1) parts.nameKeys.push_back(KeyTable[r].nameKey);
    }
  }
  if (action.p2 != 0) {
    const int row = FindKeyboardUsageRow(action.p2, kKeyTableModifierRows);
    if (row >= 0) {
      parts.nameKeys.push_back(KeyTable[static_cast<std::size_t>(row)].nameKey);
    } else {
      // A usage no key names: its number, so that two such keys differ.
      char text[8];
      std::snprintf(text, sizeof text, "0x%02X", action.p2);
      if (parts.nameKeys.empty()) return Literal(text);
      parts.literal = text;  // appended after the names by Compose
    }
  }
  return parts;
}

Parts KeyFunctionText::Describe(const KeyAction& action, KeyPage page,
                                std::span<const std::string> macroNames) {
  switch (action.type) {
    case key_type::kNone:
    case key_type::kKeyboardKey:
      return KeyboardKeyParts(action);
    case key_type::kMouseButton:
      return RowName(MouseButtonTable, FindRowByP1(MouseButtonTable, action.p1));
    case key_type::kHorizontalScroll:
      return Names({(action.p2 & 0x80) ? kHorizontalScrollRightName : kHorizontalScrollLeftName});
    case key_type::kVerticalScroll:
      return Names({(action.p2 & 0x80) ? kVerticalScrollDownName : kVerticalScrollUpName});
    case key_type::kDpi:
      return RowName(DpiActionTable, FindRowByP1(DpiActionTable, action.p1));
    case key_type::kRapidFire:
      return Names({kRapidFireName});
    case key_type::kDpiShift:
      return RowName(SpecialActionTable, FindSpecialType(action.type));
    case key_type::kEditShortcut:
      return RowName(EditShortcutTable, FindRow(EditShortcutTable, action));
    case key_type::kShowWindow:
      return RowName(SpecialActionTable, FindRow(SpecialActionTable, action));
    case key_type::kConsumer:
      return RowName(ConsumerTable, FindRow(ConsumerTable, action));
    case key_type::kSystemPower:
      return RowName(SystemPowerTable, FindRow(SystemPowerTable, action));
    case key_type::kMacro:
    case key_type::kMacroRepeated:
      if (action.p1 < macroNames.size()) return Literal(macroNames[action.p1]);
      return {};
    case key_type::kGunPreset:
      if (page == KeyPage::kMouse) {
        if (action.p1 < GunPresetNames.size()) return Names({GunPresetNames[action.p1]});
        return Literal("");
      }
      return Unknown();
    case key_type::kSpecialKey:
      return SpecialKeyParts(action);
    case key_type::kKeyboardMacroKey:
      if (page == KeyPage::kKeyboard) return SpecialKeyParts(action);
      return Unknown();
    case 0x15:
    case 0x21:
    case 0x50:
    case 0x60:
    case key_type::kShortcut:
    case 0xC0:
      return {};
    default:
      return Unknown();
  }
}

std::string KeyFunctionText::Compose(const Parts& parts, const Translator& translate) {
  switch (parts.kind) {
    case Parts::Kind::kNoText:
      return {};
    case Parts::Kind::kLiteral:
      return parts.literal;
    case Parts::Kind::kNames:
      break;
  }
  std::string text;
  for (std::string_view key : parts.nameKeys) {
    if (!text.empty()) text += '+';
    text += translate ? translate(key) : std::string(key);
  }
  if (!parts.literal.empty()) {
    if (!text.empty()) text += '+';
    text += parts.literal;
  }
  return text;
}

std::string KeyFunctionText::Text(const KeyAction& action, KeyPage page,
                                  std::span<const std::string> macroNames, const Translator& translate) {
  return Compose(Describe(action, page, macroNames), translate);
}

}  // namespace ostrel
