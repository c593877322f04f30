#pragma once
// The key list of a mouse or keyboard page: one KeyEntry per UI key in the
// order of the key buttons, the selected key, and the rules for changing
// it. The page copies the list into its profile after every change.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "devices/KeyFunctionText.h"
#include "profiles/KeyEntry.h"

namespace ostrel {

class CBasicProfiledata;

enum class KeyStoreResult {
  kStored,
  kNoKeySelected,  // the selected key has no entry: nothing stored
  kNoLeftButton,   // mouse: no key would keep the left button; show "message_text_6"
};

class KeyList {
 public:
  explicit KeyList(KeyPage page) : page_(page) {}

  KeyPage Page() const { return page_; }
  void SetEntries(std::vector<KeyEntry> entries) { entries_ = std::move(entries); }
  const std::vector<KeyEntry>& Entries() const { return entries_; }
  std::size_t Size() const { return entries_.size(); }

  // `showKey`: selects key button `index`; the entry to give the panel's
  // setAssignment, when the key has one.
  std::optional<KeyEntry> Select(int index);
  int Selected() const { return selected_; }

  // `storeKey`: replaces the selected key's entry and copies the whole list
  // into `profile` (when given). On a mouse page a change that would leave
  // no key with the left-button function is refused and nothing changes;
  // the panel then shows the message and the key's stored entry again.
  KeyStoreResult storeKey(const KeyEntry& entry, CBasicProfiledata* profile = nullptr);
  static constexpr std::string_view kNoLeftButtonMessage = "message_text_6";
  // Whether giving key `index` this entry leaves some key the left button.
  bool KeepsLeftButton(std::size_t index, const KeyEntry& entry) const;

  // `ValidateMacroKeys`: every key whose macro number is not below
  // `macroCount` gets its default function back. True when a key changed
  // (the page then stores the list in the profile and refreshes the texts).
  bool ValidateMacroKeys(std::size_t macroCount);

 private:
  KeyPage page_;
  std::vector<KeyEntry> entries_;
  int selected_ = -1;
};

}  // namespace ostrel
