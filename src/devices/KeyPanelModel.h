#pragma once
// What the key assignment panel needs of its model, behind a header that
// leaves out the keyboard records: those name the keyboard messages the way
// the hook reports them (WM_KEYDOWN ...), and so does the UI toolkit, so the
// two cannot meet in one source. The panel talks to the model, the page's
// key list editor and the X key capture only through this class.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/KeyPanelRecords.h"

namespace ostrel {

class KeyAssignment;
class KeyAssignmentEditor;
class XRecordKeyCapture;

// The outcome of a store as the panel acts on it.
struct KeyPanelStoreOutcome {
  bool stored = false;
  // Set when the change was refused ("message_text_6").
  std::string_view messageKey;
  // The key's stored entry, shown again after a refusal.
  std::optional<KeyPanelView> view;
};

class KeyPanelModel {
 public:
  KeyPanelModel();
  ~KeyPanelModel();
  KeyPanelModel(const KeyPanelModel&) = delete;
  KeyPanelModel& operator=(const KeyPanelModel&) = delete;

  // The page builds its KeyAssignmentEditor on this model and hands it back
  // with SetEditor; without one a store only builds the action.
  KeyAssignment& Assignment() { return *assignment_; }
  void SetEditor(KeyAssignmentEditor* editor) { editor_ = editor; }

  void setDeviceType(int deviceType);
  int deviceType() const;
  bool IsCategoryAvailable(int category) const;
  void setMacroNames(std::vector<std::string> names);
  void addMacroName(const std::string& name);
  void removeMacroName(int index);
  void renameMacro(int index, const std::string& name);
  const std::vector<std::string>& macroNames() const;

  KeyPanelView setAssignment(const KeyEntry& entry);
  KeyPanelView showDefault();
  KeyPanelView showCurrent();
  void setCurrent(const KeyAction& action);
  KeyEntry entry() const;
  KeyEntry buildAssignment(const KeyPanelControls& controls);
  KeyPanelView ChangeCategory(int category) const;
  static bool MacroCycleVisible(int macroModeItem);

  // The page's key list through the editor: the view of key `index`, when
  // it has an entry.
  std::optional<KeyPanelView> ShowKey(int index);
  KeyPanelStoreOutcome Store(const KeyPanelControls& controls);

  // A key press of the toolkit in the key field: `virtualKey` as the
  // toolkit reports it (the generic Shift, Ctrl and Alt codes stand for
  // the left-hand keys), `extended` for the keypad's Enter and the like.
  // `capture` receives what the field must show; false when the key is not
  // one the panel takes (nothing changes then).
  bool ToolkitKey(std::uint32_t virtualKey, bool extended, std::uint32_t time, int selectedModifier,
                  KeyCaptureResult* capture, KeyPanelStoreOutcome* outcome);

  // Key events of the whole X session while the key field has the focus.
  // `wake` runs on the capture thread after each event is queued; the
  // window thread then drains the queue with NextCaptured. False when no
  // X capture is available (the toolkit's keys are used then).
  bool StartCapture(std::function<void()> wake);
  void StopCapture();
  bool Capturing() const { return capturing_; }
  // The next queued press, handled as a typed key; false when none is left.
  bool NextCaptured(int selectedModifier, KeyCaptureResult* capture, KeyPanelStoreOutcome* outcome);

 private:
  struct QueuedKey;
  KeyPanelStoreOutcome StoreCaptured(const KeyCaptureResult& capture);

  std::unique_ptr<KeyAssignment> assignment_;
  KeyAssignmentEditor* editor_ = nullptr;
  std::unique_ptr<XRecordKeyCapture> capture_;
  bool capturing_ = false;
  std::mutex queueLock_;
  std::deque<std::unique_ptr<QueuedKey>> queue_;
};

}  // namespace ostrel
