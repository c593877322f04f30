#include "devices/KeyAssignmentEditor.h"

namespace ostrel {

std::optional<KeyPanelView> KeyAssignmentEditor::ShowKey(int index) {
  const std::optional<KeyEntry> entry = keys_.Select(index);
  if (!entry) return std::nullopt;
  return panel_.setAssignment(*entry);
}

KeyStoreOutcome KeyAssignmentEditor::StoreEntry(const KeyEntry& entry) {
  KeyStoreOutcome outcome;
  outcome.result = keys_.storeKey(entry, profile_);
  if (outcome.result == KeyStoreResult::kNoLeftButton) {
    outcome.messageKey = KeyList::kNoLeftButtonMessage;
    // The panel already holds the refused action: back to the stored one.
    const int selected = keys_.Selected();
    outcome.view = panel_.setAssignment(keys_.Entries()[static_cast<std::size_t>(selected)]);
  }
  return outcome;
}

KeyStoreOutcome KeyAssignmentEditor::Store(const KeyPanelControls& controls) {
  return StoreEntry(panel_.buildAssignment(controls));
}

KeyStoreOutcome KeyAssignmentEditor::StoreCaptured(const KeyCaptureResult& capture) {
  if (!capture.handled) return {};
  return StoreEntry(capture.entry);
}

KeyStoreOutcome KeyAssignmentEditor::RevertSelectedToDefault() {
  panel_.showDefault();
  // Category 0 builds the default action.
  KeyPanelControls controls;
  controls.category = static_cast<int>(FunctionCategory::kDefault);
  KeyStoreOutcome outcome = Store(controls);
  if (outcome.stored()) outcome.view = panel_.showCurrent();
  return outcome;
}

}  // namespace ostrel
