#pragma once
// The records passed between the key assignment panel and its model: what
// the panel's controls hold when an action is built, what they must show
// for an action, and what a captured key press changes.

#include <optional>
#include <string>
#include <string_view>

#include "devices/KeyFunction.h"
#include "profiles/KeyEntry.h"

namespace ostrel {

// Read from the controls before a build. Combo items are indexes, -1 when
// no item is selected; edits are their texts.
struct KeyPanelControls {
  int category = -1;  // user data of the selected "keyset_function_combo" item
  int mouseKeyItem = -1;
  int swingDirectionItem = -1;  // 0 left, 1 right
  std::string swingCount, swingDelay, swingSpeed;
  int wheelDirectionItem = -1;  // 0 up, 1 down
  std::string wheelCount, wheelDelay, wheelSpeed;
  int dpiItem = -1;
  std::string fireInterval, fireCount;
  int modifierOption = kNoModifierOption;
  std::string keyText;  // "keyset_keyboard_text_edit"
  int mediaItem = -1;
  int systemItem = -1;
  int macroItem = -1;
  int macroModeItem = -1;
  std::string macroRepeat;
  int gunItem = -1;
  int shortcutItem = -1;
};

// What the controls must show. Fields left empty keep what the controls
// show; a combo item of -1 means "select no item".
struct KeyPanelView {
  bool editorVisible = false;  // "keyset_layout"
  // Selected "keyset_function_combo" item (by user data) and tab page;
  // meaningful while the editor is visible.
  FunctionCategory category = FunctionCategory::kNone;

  std::optional<int> mouseKeyItem;
  std::optional<int> swingDirectionItem, swingCount, swingDelay, swingSpeed;
  std::optional<int> wheelDirectionItem, wheelCount, wheelDelay, wheelSpeed;
  std::optional<int> dpiItem;
  std::optional<int> fireInterval, fireCount;
  // Selects this option after clearing all five; -1 clears them all.
  std::optional<int> modifierOption;
  // The name key to translate into the key field (`setKeyText`); an empty
  // key empties the field.
  std::optional<std::string_view> keyNameKey;
  std::optional<int> mediaItem;
  std::optional<int> systemItem;
  std::optional<int> macroItem, macroModeItem, macroRepeat;
  std::optional<bool> macroCycleVisible;  // "keyset_macro_cycle_layout"
  std::optional<int> gunItem;
  std::optional<int> shortcutItem;
};

// The outcome of one key event while the key field has the focus.
struct KeyCaptureResult {
  bool handled = false;                    // false: ignore the event, nothing changes
  int modifierOption = kNoModifierOption;  // option to select
  std::string_view keyNameKey;             // into the key field; empty empties it
  KeyEntry entry;                          // to store on the page (storeKey)
};

}  // namespace ostrel
