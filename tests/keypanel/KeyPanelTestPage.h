#pragma once
// The device page's side of the key assignment panel: the key list and the
// editor built on the panel's model. Kept apart from the toolkit's headers,
// as the model's keyboard records name the same messages.

#include <memory>
#include <vector>

#include "devices/KeyList.h"

namespace ostrel {
class KeyPanelModel;
class KeyAssignmentEditor;
}  // namespace ostrel

namespace ostrel::test {

class KeyPanelTestPage {
 public:
  KeyPanelTestPage(KeyPage page, KeyPanelModel& model, std::vector<KeyEntry> entries);
  ~KeyPanelTestPage();
  KeyList& Keys() { return keys_; }

 private:
  KeyList keys_;
  std::unique_ptr<KeyAssignmentEditor> editor_;
};

}  // namespace ostrel::test
