#include "devices/KeyList.h"

#include "devices/KeyFunction.h"
#include "profiles/CBasicProfiledata.h"

namespace ostrel {

std::optional<KeyEntry> KeyList::Select(int index) {
  selected_ = index;
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return std::nullopt;
  return entries_[static_cast<std::size_t>(index)];
}

bool KeyList::KeepsLeftButton(std::size_t index, const KeyEntry& entry) const {
  if (entry.current == kLeftButtonAction) return true;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (i != index && entries_[i].current == kLeftButtonAction) return true;
  }
  return false;
}

KeyStoreResult KeyList::storeKey(const KeyEntry& entry, CBasicProfiledata* profile) {
  if (selected_ < 0 || static_cast<std::size_t>(selected_) >= entries_.size())
    return KeyStoreResult::kNoKeySelected;
  const auto index = static_cast<std::size_t>(selected_);
  // Without a left button the mouse could no longer click its way back.
  if (page_ == KeyPage::kMouse && !KeepsLeftButton(index, entry)) return KeyStoreResult::kNoLeftButton;
  entries_[index] = entry;
  if (profile != nullptr) profile->WriteKeyList(entries_);
  return KeyStoreResult::kStored;
}

bool KeyList::ValidateMacroKeys(std::size_t macroCount) {
  bool changed = false;
  for (KeyEntry& entry : entries_) {
    const std::uint8_t type = entry.current.type;
    if ((type == key_type::kMacro || type == key_type::kMacroRepeated) && entry.current.p1 >= macroCount) {
      entry.current = entry.defaultAction;
      changed = true;
    }
  }
  return changed;
}

}  // namespace ostrel
