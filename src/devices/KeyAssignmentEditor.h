#pragma once
// The panel's events on a page's key list: show a key, store what the
// controls hold or what capture produced, revert the selected key to its
// default. It keeps the panel's model and the page's list in step, so that
// a refused change leaves neither changed.

#include <optional>
#include <string_view>

#include "devices/KeyAssignment.h"
#include "devices/KeyList.h"

namespace ostrel {

class CBasicProfiledata;

struct KeyStoreOutcome {
  KeyStoreResult result = KeyStoreResult::kNoKeySelected;
  // The message to show: "message_text_6" when the change was refused.
  std::string_view messageKey;
  // When refused: the key's stored entry, shown again in the controls.
  std::optional<KeyPanelView> view;
  // Stored: the page refreshes its key texts and enables the panel's
  // save, cancel and download buttons.
  bool stored() const { return result == KeyStoreResult::kStored; }
};

class KeyAssignmentEditor {
 public:
  // `profile` (may be null) receives the whole list after each store.
  KeyAssignmentEditor(KeyAssignment& panel, KeyList& keys, CBasicProfiledata* profile = nullptr)
      : panel_(panel), keys_(keys), profile_(profile) {}

  // `showKey`: selects the key; the view when the key has an entry (the
  // editor is then shown with it), nothing otherwise.
  std::optional<KeyPanelView> ShowKey(int index);
  // A combo item picked, a numeric edit left, "key_butt_keysave": build
  // from the controls and store.
  KeyStoreOutcome Store(const KeyPanelControls& controls);
  // A key captured in the keyboard category.
  KeyStoreOutcome StoreCaptured(const KeyCaptureResult& capture);
  // The macros no longer fit the device: the selected key gets its default
  // back (shown, built and stored).
  KeyStoreOutcome RevertSelectedToDefault();

 private:
  KeyStoreOutcome StoreEntry(const KeyEntry& entry);

  KeyAssignment& panel_;
  KeyList& keys_;
  CBasicProfiledata* profile_;
};

}  // namespace ostrel
