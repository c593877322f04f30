#include "KeyPanelTestPage.h"

#include "devices/KeyAssignmentEditor.h"
#include "devices/KeyPanelModel.h"

namespace ostrel::test {

KeyPanelTestPage::KeyPanelTestPage(KeyPage page, KeyPanelModel& model, std::vector<KeyEntry> entries)
    : keys_(page) {
  keys_.SetEntries(std::move(entries));
  editor_ = std::make_unique<KeyAssignmentEditor>(model.Assignment(), keys_);
  model.SetEditor(editor_.get());
}

KeyPanelTestPage::~KeyPanelTestPage() = default;

}  // namespace ostrel::test
