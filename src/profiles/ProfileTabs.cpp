#include "profiles/ProfileTabs.h"

namespace ostrel {
namespace {

// Bit n stands for tab number n + 1.
constexpr std::uint8_t kKey = 1 << 1, kMacro = 1 << 2, kSystem = 1 << 3, kCursor = 1 << 4, kVoice = 1 << 5,
                       kMagic = 1 << 6, kVirtual = 1 << 7;

struct TabRule {
  int deviceType;
  std::uint8_t hidden;
  std::uint8_t shown;
};

constexpr TabRule kTabRules[] = {
    {1, kCursor, 0},
    {3, kCursor | kMacro | kSystem | kKey, 0},
    {4, kCursor | kMacro | kKey, 0},
    {5, kCursor | kMacro | kSystem | kKey, 0},
    {7, kCursor | kMacro | kSystem | kKey, kVoice | kMagic | kVirtual},
};

}  // namespace

std::array<ProfileTabs::Visibility, ProfileTabs::kTabCount> ProfileTabs::VisibilityFor(int deviceType) {
  std::array<Visibility, kTabCount> result{};
  result.fill(Visibility::kUnchanged);
  for (const TabRule& rule : kTabRules) {
    if (rule.deviceType != deviceType) continue;
    for (std::size_t i = 0; i < kTabCount; ++i) {
      if (rule.hidden & (1u << i)) result[i] = Visibility::kHidden;
      if (rule.shown & (1u << i)) result[i] = Visibility::kShown;
    }
  }
  return result;
}

std::array<std::optional<bool>, ProfileTabs::kTabCount> ProfileTabs::SelectionFor(int tabNumber) {
  std::array<std::optional<bool>, kTabCount> result{};
  for (std::size_t i = 0; i < kTabCount; ++i) result[i] = static_cast<int>(i) + 1 == tabNumber;
  if (tabNumber < 1 || tabNumber > static_cast<int>(kTabCount)) result[kTabCount - 1].reset();
  return result;
}

}  // namespace ostrel
