#pragma once
// The mouse page's side of the key assignment panel: its ten keys' list,
// their device slots, the editor tying the panel's model to the list and
// the profile, and the function texts on the key buttons and in the key
// list "device_setkeyinfo_list".

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "devices/KeyFunctionText.h"
#include "devices/KeyList.h"
#include "devices/KeySlotMap.h"

namespace ostrel {

class CBasicProfiledata;
class CControlUI;
class CDeviceKeyButtonUI;
class CKeySetControlUI;
class KeyAssignmentEditor;

class KeyPanelBinding {
 public:
  KeyPanelBinding();
  ~KeyPanelBinding();
  KeyPanelBinding(const KeyPanelBinding&) = delete;
  KeyPanelBinding& operator=(const KeyPanelBinding&) = delete;

  // `bindControls`, `setDeviceType`, the editor on the page's list and
  // profile; the editor starts hidden. A null panel binds nothing.
  void Bind(CKeySetControlUI* panel, CBasicProfiledata* profile, int deviceType);
  CKeySetControlUI* Panel() const { return panel_; }
  KeyAssignmentEditor* Editor() const { return editor_.get(); }

  // The list read from a profile, completed to the mouse's ten keys: keys
  // the file lacks carry their factory function (current and default), so
  // that every key button has an entry and the left button is never lost.
  static std::vector<KeyEntry> CompleteKeyList(std::vector<KeyEntry> keys);
  void SetKeys(std::vector<KeyEntry> keys) { keys_.SetEntries(CompleteKeyList(std::move(keys))); }
  KeyList& Keys() { return keys_; }
  const KeyList& Keys() const { return keys_; }
  KeySlotMap& Slots() { return slots_; }
  const KeySlotMap& Slots() const { return slots_; }

  void SetMacroNames(const std::vector<std::string>& names);
  const std::vector<std::string>& MacroNames() const { return macroNames_; }

  // `showKey`: the key in the panel (the editor shows when it has an entry).
  void ShowKey(int index);

  // `refreshKeyTexts`: tooltip title and text of each key button, and one
  // row per key (name, function) in `keyInfoList` (may be null).
  void RefreshKeyTexts(const std::vector<CDeviceKeyButtonUI*>& buttons, CControlUI* keyInfoList, bool enabled,
                       const KeyFunctionText::Translator& translate) const;

  static constexpr const char* kKeyInfoListName = "device_setkeyinfo_list";
  static constexpr int kKeyInfoRowHeight = 25;

 private:
  KeyList keys_{KeyPage::kMouse};
  KeySlotMap slots_;
  std::unique_ptr<KeyAssignmentEditor> editor_;
  CKeySetControlUI* panel_ = nullptr;
  std::vector<std::string> macroNames_;
};

}  // namespace ostrel
