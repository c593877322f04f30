#pragma once
// The function tabs of a device page that the profile panel shows, hides and
// selects: which tabs each device type has, and which tab a tab number selects.

#include <array>
#include <cstdint>
#include <optional>

namespace ostrel {

class ProfileTabs {
 public:
  static constexpr std::size_t kTabCount = 8;
  // Tab number n (1-8) is kTabNames[n - 1].
  static constexpr std::array<const char*, kTabCount> kTabNames = {
      "deng_Op_tab",   "key_Op_tab",        "macro_Op_tab", "system_Op_tab",
      "cursor_Op_tab", "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab",
  };

  enum class Visibility : std::uint8_t { kUnchanged, kHidden, kShown };

  // What the panel does with each tab for a device type; other types leave
  // the layout as it is.
  static std::array<Visibility, kTabCount> VisibilityFor(int deviceType);

  // The selected state each tab gets for a tab number: exactly one tab for
  // 1-8; any other number clears all but "Virtual7.1_Op_tab", which keeps its
  // state (nullopt: leave as it is).
  static std::array<std::optional<bool>, kTabCount> SelectionFor(int tabNumber);
};

}  // namespace ostrel
