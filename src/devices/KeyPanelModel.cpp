#include "devices/KeyPanelModel.h"

#include "devices/KeyAssignment.h"
#include "devices/KeyAssignmentEditor.h"
#include "platform/input/KeyCodeTable.h"
#include "platform/input/KeyRecordMapper.h"
#include "platform/input/XRecordKeyCapture.h"

namespace ostrel {

struct KeyPanelModel::QueuedKey {
  KeyHookEvent event;
};

namespace {

// The toolkit reports Shift, Ctrl and Alt by their generic codes; the
// capture rules want the key itself, taken as the left-hand one.
struct GenericVirtualKey {
  std::uint32_t generic;
  std::uint32_t leftHand;
};
constexpr GenericVirtualKey kGenericKeys[] = {{0x10, 0xA0}, {0x11, 0xA2}, {0x12, 0xA4}};

// The key table row of a toolkit key: the one with the same extended flag
// when the code names two keys (Enter and keypad Enter), else the first.
const KeyCodeRow* FindVirtualKey(std::uint32_t virtualKey, bool extended) {
  for (const GenericVirtualKey& key : kGenericKeys)
    if (key.generic == virtualKey) virtualKey = key.leftHand;
  const KeyCodeRow* first = nullptr;
  for (const KeyCodeRow& row : KeyCodeTable) {
    if (row.vkCode != virtualKey || row.hidUsage == 0) continue;
    if ((row.extended != 0) == extended) return &row;
    if (!first) first = &row;
  }
  return first;
}

KeyPanelStoreOutcome FromEditor(const KeyStoreOutcome& outcome) {
  KeyPanelStoreOutcome out;
  out.stored = outcome.stored();
  out.messageKey = outcome.messageKey;
  out.view = outcome.view;
  return out;
}

}  // namespace

KeyPanelModel::KeyPanelModel() : assignment_(std::make_unique<KeyAssignment>()) {}

KeyPanelModel::~KeyPanelModel() { StopCapture(); }

void KeyPanelModel::setDeviceType(int deviceType) { assignment_->setDeviceType(deviceType); }
int KeyPanelModel::deviceType() const { return assignment_->deviceType(); }
bool KeyPanelModel::IsCategoryAvailable(int category) const {
  return assignment_->IsCategoryAvailable(static_cast<FunctionCategory>(category));
}
void KeyPanelModel::setMacroNames(std::vector<std::string> names) {
  assignment_->setMacroNames(std::move(names));
}
void KeyPanelModel::addMacroName(const std::string& name) { assignment_->addMacroName(name); }
void KeyPanelModel::removeMacroName(int index) { assignment_->removeMacroName(index); }
void KeyPanelModel::renameMacro(int index, const std::string& name) { assignment_->renameMacro(index, name); }
const std::vector<std::string>& KeyPanelModel::macroNames() const { return assignment_->macroNames(); }

KeyPanelView KeyPanelModel::setAssignment(const KeyEntry& entry) { return assignment_->setAssignment(entry); }
KeyPanelView KeyPanelModel::showDefault() { return assignment_->showDefault(); }
KeyPanelView KeyPanelModel::showCurrent() { return assignment_->showCurrent(); }
void KeyPanelModel::setCurrent(const KeyAction& action) { assignment_->setCurrent(action); }
KeyEntry KeyPanelModel::entry() const { return assignment_->entry(); }
KeyEntry KeyPanelModel::buildAssignment(const KeyPanelControls& controls) {
  return assignment_->buildAssignment(controls);
}
KeyPanelView KeyPanelModel::ChangeCategory(int category) const {
  return assignment_->ChangeCategory(category);
}
bool KeyPanelModel::MacroCycleVisible(int macroModeItem) {
  return KeyAssignment::MacroCycleVisible(macroModeItem);
}

std::optional<KeyPanelView> KeyPanelModel::ShowKey(int index) {
  if (!editor_) return std::nullopt;
  return editor_->ShowKey(index);
}

KeyPanelStoreOutcome KeyPanelModel::Store(const KeyPanelControls& controls) {
  if (!editor_) {
    assignment_->buildAssignment(controls);
    return {};
  }
  return FromEditor(editor_->Store(controls));
}

KeyPanelStoreOutcome KeyPanelModel::StoreCaptured(const KeyCaptureResult& capture) {
  if (!editor_) return {};
  return FromEditor(editor_->StoreCaptured(capture));
}

bool KeyPanelModel::ToolkitKey(std::uint32_t virtualKey, bool extended, std::uint32_t time,
                               int selectedModifier, KeyCaptureResult* capture,
                               KeyPanelStoreOutcome* outcome) {
  const KeyCodeRow* row = FindVirtualKey(virtualKey, extended);
  if (!row) return false;
  const std::optional<KeyHookEvent> event = KeyRecordMapper::FromToolkitScancode(row->hidUsage, true, time);
  if (!event) return false;
  *capture = assignment_->CaptureKey(*event, selectedModifier);
  if (!capture->handled) return false;
  *outcome = StoreCaptured(*capture);
  return true;
}

bool KeyPanelModel::StartCapture(std::function<void()> wake) {
  if (capturing_) return true;
  if (!capture_) capture_ = std::make_unique<XRecordKeyCapture>();
  const auto result = capture_->Start([this, wake](const KeyHookEvent& event) {
    if (!event.IsPress()) return;
    {
      std::lock_guard<std::mutex> lock(queueLock_);
      queue_.push_back(std::make_unique<QueuedKey>(QueuedKey{event}));
    }
    if (wake) wake();
  });
  capturing_ = result != XRecordKeyCapture::StartResult::kNotAvailable;
  return capturing_;
}

void KeyPanelModel::StopCapture() {
  if (capture_) capture_->Stop();
  capturing_ = false;
  std::lock_guard<std::mutex> lock(queueLock_);
  queue_.clear();
}

bool KeyPanelModel::NextCaptured(int selectedModifier, KeyCaptureResult* capture,
                                 KeyPanelStoreOutcome* outcome) {
  while (true) {
    std::unique_ptr<QueuedKey> key;
    {
      std::lock_guard<std::mutex> lock(queueLock_);
      if (queue_.empty()) return false;
      key = std::move(queue_.front());
      queue_.pop_front();
    }
    *capture = assignment_->CaptureKey(key->event, selectedModifier);
    if (!capture->handled) continue;
    *outcome = StoreCaptured(*capture);
    return true;
  }
}

}  // namespace ostrel
