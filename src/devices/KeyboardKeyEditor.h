#pragma once
// The keyboard page's KeyAssignmentEditor, kept behind this header: the
// editor's model names the keyboard messages the way the hook reports them,
// as the UI toolkit does, so the page's own source cannot include it.

#include <memory>
#include <optional>

#include "devices/KeyPanelRecords.h"

namespace ostrel {

class CBasicProfiledata;
class KeyAssignmentEditor;
class KeyList;
class KeyPanelModel;

class KeyboardKeyEditor {
 public:
  KeyboardKeyEditor();
  ~KeyboardKeyEditor();
  KeyboardKeyEditor(const KeyboardKeyEditor&) = delete;
  KeyboardKeyEditor& operator=(const KeyboardKeyEditor&) = delete;

  // Builds the editor on the panel's model and the page's list and hands it
  // to the model; `profile` receives the list after each store. Once: a
  // second call changes nothing.
  void Attach(KeyPanelModel& model, KeyList& keys, CBasicProfiledata* profile);
  bool IsAttached() const { return editor_ != nullptr; }
  // The selected key gets its default back; the view the panel shows then.
  std::optional<KeyPanelView> RevertSelectedToDefault();

 private:
  std::unique_ptr<KeyAssignmentEditor> editor_;
};

}  // namespace ostrel
