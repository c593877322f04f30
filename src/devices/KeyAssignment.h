#pragma once
// The model beneath the key assignment panel: the selected key's current
// and default action, the device type, the macro names, and the rules that
// build an action from the panel's controls, show an action in them and
// turn a captured key press into a keyboard action. The panel reads its
// controls into a KeyPanelControls and applies the KeyPanelView it gets
// back; it holds no rule of its own.

#include <string>
#include <vector>

#include "devices/KeyPanelRecords.h"
#include "platform/input/KeyboardHookRecord.h"

namespace ostrel {

class KeyAssignment {
 public:
  // Remembers the page's device type; a keyboard (1) has no DPI and no gun
  // preset category.
  void setDeviceType(int deviceType) { deviceType_ = deviceType; }
  int deviceType() const { return deviceType_; }
  // Whether the function combo offers the category on this device.
  bool IsCategoryAvailable(FunctionCategory category) const;

  // The items of "keyset_macro_combo". An index out of range or an empty
  // name is ignored.
  void setMacroNames(std::vector<std::string> names) { macroNames_ = std::move(names); }
  void addMacroName(const std::string& name);
  void removeMacroName(int index);
  void renameMacro(int index, const std::string& name);
  const std::vector<std::string>& macroNames() const { return macroNames_; }

  // Stores current and default and shows the current action.
  KeyPanelView setAssignment(const KeyEntry& entry);
  KeyPanelView showDefault();
  KeyPanelView showCurrent();
  // Replaces the current action without touching the controls.
  void setCurrent(const KeyAction& action) { current_ = action; }
  const KeyAction& current() const { return current_; }
  const KeyAction& defaultAction() const { return default_; }
  KeyEntry entry() const { return {current_, default_}; }

  // Builds the current action from the controls, stores it as current and
  // returns (current, default).
  KeyEntry buildAssignment(const KeyPanelControls& controls);

  // The user picked another function item: the tab page follows; the
  // keyboard category starts with an empty key field and no modifier.
  KeyPanelView ChangeCategory(int category) const;
  // "keyset_macro_over_combo" item selected: the repeat count shows for
  // the repeat item only.
  static bool MacroCycleVisible(int macroModeItem) { return macroModeItem == kMacroRepeatItem; }

  // A key event while "keyset_keyboard_text_edit" has the focus, with the
  // modifier option the panel shows. Key releases and keys the scan code
  // table does not know are not handled. The returned entry is also the
  // new current action.
  KeyCaptureResult CaptureKey(const KeyHookEvent& event, int selectedModifier);

  // Decimal text of an edit: leading blanks, an optional sign, digits;
  // anything else ends the number, text without digits reads as 0.
  static int ParseDecimal(const std::string& text);

 private:
  KeyPanelView Show(const KeyAction& action);
  void ShowKeyboardKey(const KeyAction& action, KeyPanelView& view);
  void ShowMacro(const KeyAction& action, KeyPanelView& view) const;
  KeyAction BuildKeyboardKey(int modifierOption, bool keyFieldEmpty) const;

  int deviceType_ = 0;
  std::vector<std::string> macroNames_;
  KeyAction current_;
  KeyAction default_;
};

}  // namespace ostrel
