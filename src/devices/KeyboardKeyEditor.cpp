#include "devices/KeyboardKeyEditor.h"

#include "devices/KeyAssignmentEditor.h"
#include "devices/KeyPanelModel.h"

namespace ostrel {

KeyboardKeyEditor::KeyboardKeyEditor() = default;
KeyboardKeyEditor::~KeyboardKeyEditor() = default;

void KeyboardKeyEditor::Attach(KeyPanelModel& model, KeyList& keys, CBasicProfiledata* profile) {
  if (editor_) return;
  editor_ = std::make_unique<KeyAssignmentEditor>(model.Assignment(), keys, profile);
  model.SetEditor(editor_.get());
}

std::optional<KeyPanelView> KeyboardKeyEditor::RevertSelectedToDefault() {
  if (!editor_) return std::nullopt;
  return editor_->RevertSelectedToDefault().view;
}

}  // namespace ostrel
