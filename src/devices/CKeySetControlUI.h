#pragma once
// The key assignment panel of a device page, built from
// "XML\CustomControlXML\KeySetControl.xml": the function combo, one tab page
// per function category, the key field with its modifier options and the
// store, default, revert and download buttons. The rules live in the model
// (KeyAssignment through KeyPanelModel); this control reads its controls into
// a KeyPanelControls, hands them over and shows the KeyPanelView it gets back.
//
// Who does what:
// - The page sets it up once: bindControls (done by DoInit as well),
//   setDeviceType, setMacroNames; builds its KeyAssignmentEditor on
//   Model().Assignment() and gives it back with Model().SetEditor.
// - The page gives it SetMessageHandler (shows a message box with the text
//   of a language key) and SetStoredHandler (refreshKeyTexts after a store).
// - The panel takes its own controls' notifications: combo selections, the
//   numeric edits losing the focus, the key field's focus and keys, and the
//   clicks of "key_butt_keysave", "key_butt_keydefalut" and
//   "key_butt_keycancel". "key_butt_prosave" needs the page's device and is
//   left to it (SetSaveToDeviceHandler).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/KeyPanelModel.h"
#include "platform/ui/CHorizontalLayoutUI.h"
#include "platform/ui/IMessageFilterUI.h"

namespace ostrel {

class CComboUI;
class CEditUI;
class COptionUI;
class CTabLayoutUI;

class CKeySetControlUI : public CHorizontalLayoutUI, public IMessageFilterUI {
 public:
  CKeySetControlUI();
  ~CKeySetControlUI() override;

  const char* GetClass() const override { return kElementName; }
  void* GetInterface(const char* pstrName) override;
  // Builds the panel's layout into the control when the page's layout gave
  // it no children, then binds the controls.
  void DoInit() override;

  static CControlUI* CreateControl();
  static CControlUI* CreateLayout();
  static constexpr const char* kClassName = "CKeySetControlUI";
  static constexpr const char* kElementName = "KeySetControl";
  static constexpr const char* kLayoutElementName = "KeySetControlUI";
  static constexpr const char* kLayoutFile = "XML\\CustomControlXML\\KeySetControl.xml";

  static constexpr const char* kEditorLayoutName = "keyset_layout";
  static constexpr const char* kFunctionComboName = "keyset_function_combo";
  static constexpr const char* kTabLayoutName = "function_switch_tablayout";
  static constexpr const char* kKeyFieldName = "keyset_keyboard_text_edit";
  static constexpr const char* kModifierOptionPrefix = "key_ComBox_check_";
  static constexpr int kModifierOptionCount = 5;
  static constexpr const char* kMacroComboName = "keyset_macro_combo";
  static constexpr const char* kMacroModeComboName = "keyset_macro_over_combo";
  static constexpr const char* kMacroCycleLayoutName = "keyset_macro_cycle_layout";
  static constexpr const char* kDefaultButtonName = "key_butt_keydefalut";
  static constexpr const char* kSaveButtonName = "key_butt_keysave";
  static constexpr const char* kCancelButtonName = "key_butt_keycancel";
  static constexpr const char* kSaveToDeviceButtonName = "key_butt_prosave";
  static constexpr int kComboRowHeight = 30;

  KeyPanelModel& Model() { return model_; }

  void SetMessageHandler(std::function<void(std::string_view messageKey)> handler) {
    messageHandler_ = std::move(handler);
  }
  void SetStoredHandler(std::function<void()> handler) { storedHandler_ = std::move(handler); }
  void SetSaveToDeviceHandler(std::function<void()> handler) { saveToDeviceHandler_ = std::move(handler); }

  // Finds the controls by name inside the panel and hooks their events.
  void bindControls();
  void setDeviceType(int deviceType);
  void setMacroNames(const std::vector<std::string>& names);
  void addMacroName(const std::string& name);
  void removeMacroName(int index);
  void renameMacro(int index, const std::string& name);

  void setAssignment(const KeyEntry& entry);
  void showDefault();
  void showCurrent();
  void setCurrent(const KeyAction& action) { model_.setCurrent(action); }
  KeyEntry buildAssignment();
  // `showKey` of the page: the key's entry through the editor.
  void showKey(int index);

  void selectModifier(int option);
  int selectedModifier() const;
  // The translated name key into the key field; an empty key empties it.
  void setKeyText(std::string_view nameKey);
  void setButtonsEnabled(bool enabled);
  void setEditorVisible(bool visible);
  bool IsEditorVisible() const;

  KeyPanelControls ReadControls() const;
  void ApplyView(const KeyPanelView& view);

  // Captured keys posted from the capture thread.
  LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
  static constexpr UINT kCapturedKeyMessage = 0x8000 + 0x4B53;  // WM_APP + 'KS'

 private:
  CControlUI* FindInPanel(const char* name) const;
  CComboUI* Combo(const char* name) const;
  CEditUI* Edit(const char* name) const;
  void SelectComboItem(const char* name, int item);
  int ComboItem(const char* name) const;
  void SetNumber(const char* name, int value);
  std::string EditText(const char* name) const;
  void AppendMacroItem(CComboUI* combo, const std::string& name);

  // The panel's events.
  void OnComboSelected(const CDuiString& name);
  void StoreFromControls();
  void ActOn(const KeyPanelStoreOutcome& outcome);
  void OnKeyFieldKey(const TEventUI& event);
  void OnKeyCaptured(const KeyCaptureResult& capture, const KeyPanelStoreOutcome& outcome);
  void StartKeyCapture();
  void StopKeyCapture();

  KeyPanelModel model_;
  std::function<void(std::string_view)> messageHandler_;
  std::function<void()> storedHandler_;
  std::function<void()> saveToDeviceHandler_;
  std::string modifierGroup_;
  bool bound_ = false;
  // Applying a view selects combo items quietly; this guards against a
  // toolkit that notifies anyway.
  bool applying_ = false;
  bool filterAdded_ = false;
};

void RegisterKeySetControl();

}  // namespace ostrel
