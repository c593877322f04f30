#include "devices/CKeySetControlUI.h"

#include <cstdlib>
#include <optional>

#include "platform/os/DebugLog.h"
#include "platform/ui/CComboUI.h"
#include "platform/ui/CControlFactory.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CEditUI.h"
#include "platform/ui/CListLabelElementUI.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/CTabLayoutUI.h"

namespace ostrel {
namespace {

// The combos whose selection builds and stores the action. The function
// combo and the play mode combo change what the panel shows first.
constexpr const char* kStoringCombos[] = {
    "keyset_function_combo",   "keyset_mousekey_combo", "keyset_mouseswing_combo", "keyset_mousewheel_combo",
    "keyset_mousedpi_combo",   "keyset_media_combo",    "keyset_system_combo",     "keyset_macro_combo",
    "keyset_macro_over_combo", "keyset_gunkey_combo",   "keyset_combokey_combo",
};

// The numeric edits; leaving one builds and stores the action.
constexpr const char* kNumericEdits[] = {
    "keyset_mouseswing_num_edit",     "keyset_mouseswing_delay_edit", "keyset_mouseswing_speed_edit",
    "keyset_mousewheel_num_edit",     "keyset_mousewheel_delay_edit", "keyset_mousewheel_speed_edit",
    "keyset_mousefire_interval_edit", "keyset_mousefire_num_edit",    "keyset_macro_cycle_edit",
};

// The optional combo items of a view and the combo that shows each.
struct ComboField {
  const char* combo;
  std::optional<int> KeyPanelView::*item;
};
constexpr ComboField kComboFields[] = {
    {"keyset_mousekey_combo", &KeyPanelView::mouseKeyItem},
    {"keyset_mouseswing_combo", &KeyPanelView::swingDirectionItem},
    {"keyset_mousewheel_combo", &KeyPanelView::wheelDirectionItem},
    {"keyset_mousedpi_combo", &KeyPanelView::dpiItem},
    {"keyset_media_combo", &KeyPanelView::mediaItem},
    {"keyset_system_combo", &KeyPanelView::systemItem},
    {"keyset_macro_combo", &KeyPanelView::macroItem},
    {"keyset_macro_over_combo", &KeyPanelView::macroModeItem},
    {"keyset_gunkey_combo", &KeyPanelView::gunItem},
    {"keyset_combokey_combo", &KeyPanelView::shortcutItem},
};

// The optional numbers of a view and the edit that shows each.
struct NumberField {
  const char* edit;
  std::optional<int> KeyPanelView::*value;
};
constexpr NumberField kNumberFields[] = {
    {"keyset_mouseswing_num_edit", &KeyPanelView::swingCount},
    {"keyset_mouseswing_delay_edit", &KeyPanelView::swingDelay},
    {"keyset_mouseswing_speed_edit", &KeyPanelView::swingSpeed},
    {"keyset_mousewheel_num_edit", &KeyPanelView::wheelCount},
    {"keyset_mousewheel_delay_edit", &KeyPanelView::wheelDelay},
    {"keyset_mousewheel_speed_edit", &KeyPanelView::wheelSpeed},
    {"keyset_mousefire_interval_edit", &KeyPanelView::fireInterval},
    {"keyset_mousefire_num_edit", &KeyPanelView::fireCount},
    {"keyset_macro_cycle_edit", &KeyPanelView::macroRepeat},
};

// The combo items of the controls record.
struct ComboControl {
  const char* combo;
  int KeyPanelControls::*item;
};
constexpr ComboControl kComboControls[] = {
    {"keyset_mousekey_combo", &KeyPanelControls::mouseKeyItem},
    {"keyset_mouseswing_combo", &KeyPanelControls::swingDirectionItem},
    {"keyset_mousewheel_combo", &KeyPanelControls::wheelDirectionItem},
    {"keyset_mousedpi_combo", &KeyPanelControls::dpiItem},
    {"keyset_media_combo", &KeyPanelControls::mediaItem},
    {"keyset_system_combo", &KeyPanelControls::systemItem},
    {"keyset_macro_combo", &KeyPanelControls::macroItem},
    {"keyset_macro_over_combo", &KeyPanelControls::macroModeItem},
    {"keyset_gunkey_combo", &KeyPanelControls::gunItem},
    {"keyset_combokey_combo", &KeyPanelControls::shortcutItem},
};

// The edit texts of the controls record.
struct EditControl {
  const char* edit;
  std::string KeyPanelControls::*text;
};
constexpr EditControl kEditControls[] = {
    {"keyset_mouseswing_num_edit", &KeyPanelControls::swingCount},
    {"keyset_mouseswing_delay_edit", &KeyPanelControls::swingDelay},
    {"keyset_mouseswing_speed_edit", &KeyPanelControls::swingSpeed},
    {"keyset_mousewheel_num_edit", &KeyPanelControls::wheelCount},
    {"keyset_mousewheel_delay_edit", &KeyPanelControls::wheelDelay},
    {"keyset_mousewheel_speed_edit", &KeyPanelControls::wheelSpeed},
    {"keyset_mousefire_interval_edit", &KeyPanelControls::fireInterval},
    {"keyset_mousefire_num_edit", &KeyPanelControls::fireCount},
    {"keyset_keyboard_text_edit", &KeyPanelControls::keyText},
    {"keyset_macro_cycle_edit", &KeyPanelControls::macroRepeat},
};

// The toolkit's key message carries the extended flag where Windows has it.
constexpr LPARAM kExtendedKeyBit = LPARAM(1) << 24;

struct NameQuery {
  const char* name;
};

CControlUI* FindByName(CControlUI* control, void* data) {
  return control->GetName() == static_cast<NameQuery*>(data)->name ? control : nullptr;
}

bool IsOneOf(const CDuiString& name, const auto& names) {
  for (const char* n : names)
    if (name == n) return true;
  return false;
}

int g_panelCount = 0;

}  // namespace

CKeySetControlUI::CKeySetControlUI() : modifierGroup_("keyset_modifier_" + std::to_string(++g_panelCount)) {}

CKeySetControlUI::~CKeySetControlUI() {
  model_.StopCapture();
  if (filterAdded_ && m_pManager) m_pManager->RemoveMessageFilter(this);
}

void* CKeySetControlUI::GetInterface(const char* pstrName) {
  const CDuiString name(pstrName);
  if (name.CompareNoCase(kElementName) == 0 || name.CompareNoCase(kClassName) == 0) return this;
  return CHorizontalLayoutUI::GetInterface(pstrName);
}

CControlUI* CKeySetControlUI::CreateControl() { return new CKeySetControlUI(); }

CControlUI* CKeySetControlUI::CreateLayout() {
  CDialogBuilder builder;
  CControlUI* built = builder.Create(kLayoutFile);
  if (!built) DebugPrintf("KeySetControl: layout %s could not be built", kLayoutFile);
  return built;
}

void CKeySetControlUI::DoInit() {
  if (GetCount() == 0) {
    CDialogBuilder builder;
    if (!builder.Create(kLayoutFile, nullptr, nullptr, m_pManager, this))
      DebugPrintf("KeySetControl: layout %s could not be built", kLayoutFile);
  }
  bindControls();
}

CControlUI* CKeySetControlUI::FindInPanel(const char* name) const {
  NameQuery query{name};
  return const_cast<CKeySetControlUI*>(this)->FindControl(FindByName, &query, UIFIND_ALL);
}

CComboUI* CKeySetControlUI::Combo(const char* name) const { return As<CComboUI>(FindInPanel(name), "Combo"); }
CEditUI* CKeySetControlUI::Edit(const char* name) const { return As<CEditUI>(FindInPanel(name), "Edit"); }

void CKeySetControlUI::bindControls() {
  if (bound_) return;
  if (!FindInPanel(kEditorLayoutName)) return;  // no layout yet
  bound_ = true;
  if (m_pManager && !filterAdded_) filterAdded_ = m_pManager->AddMessageFilter(this);

  for (const char* name : kStoringCombos) {
    if (CComboUI* combo = Combo(name)) {
      combo->OnNotify.push_back([this](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_ITEMSELECT && !applying_) OnComboSelected(msg.pSender->GetName());
        return true;
      });
    } else {
      DebugPrintf("KeySetControl: combo %s missing from the layout", name);
    }
  }
  for (const char* name : kNumericEdits) {
    if (CEditUI* edit = Edit(name)) {
      edit->OnNotify.push_back([this](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_KILLFOCUS && !applying_) StoreFromControls();
        return true;
      });
    }
  }
  for (int i = 0; i < kModifierOptionCount; ++i) {
    const std::string name = kModifierOptionPrefix + std::to_string(i);
    if (COptionUI* option = As<COptionUI>(FindInPanel(name.c_str()), "Option"))
      option->SetGroup(modifierGroup_.c_str());
  }
  if (CEditUI* field = Edit(kKeyFieldName)) {
    field->OnNotify.push_back([this](TNotifyUI& msg) {
      if (msg.sType == DUI_MSGTYPE_SETFOCUS) StartKeyCapture();
      if (msg.sType == DUI_MSGTYPE_KILLFOCUS) StopKeyCapture();
      return true;
    });
    // The field shows key names only: typed keys become the key, typed
    // text never lands in it.
    field->OnEvent.push_back([this](TEventUI& event) {
      if (event.Type == UIEVENT_KEYDOWN) {
        OnKeyFieldKey(event);
        return false;
      }
      return !(event.Type == UIEVENT_CHAR);
    });
  }
  const struct {
    const char* name;
    void (CKeySetControlUI::*handler)();
  } buttons[] = {
      {kSaveButtonName, &CKeySetControlUI::StoreFromControls},
      {kDefaultButtonName, &CKeySetControlUI::showDefault},
      {kCancelButtonName, &CKeySetControlUI::showCurrent},
  };
  for (const auto& button : buttons) {
    if (CControlUI* control = FindInPanel(button.name)) {
      auto handler = button.handler;
      control->OnNotify.push_back([this, handler](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_CLICK) (this->*handler)();
        return true;
      });
    }
  }
  if (CControlUI* control = FindInPanel(kSaveToDeviceButtonName)) {
    control->OnNotify.push_back([this](TNotifyUI& msg) {
      if (msg.sType == DUI_MSGTYPE_CLICK && saveToDeviceHandler_) saveToDeviceHandler_();
      return true;
    });
  }
  // A page may set the panel up before it joins the window.
  setDeviceType(model_.deviceType());
  setMacroNames(model_.macroNames());
  setEditorVisible(false);
}

void CKeySetControlUI::setDeviceType(int deviceType) {
  model_.setDeviceType(deviceType);
  CComboUI* combo = Combo(kFunctionComboName);
  if (!combo) return;
  for (int i = 0; i < combo->GetCount(); ++i) {
    CControlUI* item = combo->GetItemAt(i);
    item->SetVisible(model_.IsCategoryAvailable(std::atoi(item->GetUserData().GetData())));
  }
}

void CKeySetControlUI::AppendMacroItem(CComboUI* combo, const std::string& name) {
  auto* item = new CListLabelElementUI();
  item->SetFixedHeight(kComboRowHeight);
  item->SetText(name.c_str());
  combo->Add(item);
}

void CKeySetControlUI::setMacroNames(const std::vector<std::string>& names) {
  const std::vector<std::string> copy = names;  // `names` may be the model's own list
  model_.setMacroNames(copy);
  CComboUI* combo = Combo(kMacroComboName);
  if (!combo) return;
  applying_ = true;
  combo->RemoveAll();
  for (const std::string& name : model_.macroNames()) AppendMacroItem(combo, name);
  combo->SelectItem(-1, false, false);
  applying_ = false;
}

void CKeySetControlUI::addMacroName(const std::string& name) {
  const std::size_t before = model_.macroNames().size();
  model_.addMacroName(name);
  if (model_.macroNames().size() == before) return;
  if (CComboUI* combo = Combo(kMacroComboName)) AppendMacroItem(combo, name);
}

void CKeySetControlUI::removeMacroName(int index) {
  const std::size_t before = model_.macroNames().size();
  model_.removeMacroName(index);
  if (model_.macroNames().size() == before) return;
  CComboUI* combo = Combo(kMacroComboName);
  if (!combo || index >= combo->GetCount()) return;
  applying_ = true;
  const int selected = combo->GetCurSel();
  combo->RemoveAt(index);
  if (selected == index) combo->SelectItem(-1, false, false);
  applying_ = false;
}

void CKeySetControlUI::renameMacro(int index, const std::string& name) {
  model_.renameMacro(index, name);
  CComboUI* combo = Combo(kMacroComboName);
  if (!combo || index < 0 || index >= combo->GetCount()) return;
  if (static_cast<std::size_t>(index) < model_.macroNames().size())
    combo->GetItemAt(index)->SetText(model_.macroNames()[static_cast<std::size_t>(index)].c_str());
}

void CKeySetControlUI::setAssignment(const KeyEntry& entry) { ApplyView(model_.setAssignment(entry)); }

void CKeySetControlUI::showDefault() {
  ApplyView(model_.showDefault());
  setButtonsEnabled(true);
}

void CKeySetControlUI::showCurrent() {
  ApplyView(model_.showCurrent());
  setButtonsEnabled(false);
}

KeyEntry CKeySetControlUI::buildAssignment() { return model_.buildAssignment(ReadControls()); }

void CKeySetControlUI::showKey(int index) {
  if (const std::optional<KeyPanelView> view = model_.ShowKey(index)) ApplyView(*view);
}

void CKeySetControlUI::selectModifier(int option) {
  for (int i = 0; i < kModifierOptionCount; ++i) {
    const std::string name = kModifierOptionPrefix + std::to_string(i);
    if (COptionUI* o = As<COptionUI>(FindInPanel(name.c_str()), "Option")) o->Selected(i == option, false);
  }
}

int CKeySetControlUI::selectedModifier() const {
  for (int i = 0; i < kModifierOptionCount; ++i) {
    const std::string name = kModifierOptionPrefix + std::to_string(i);
    if (COptionUI* o = As<COptionUI>(FindInPanel(name.c_str()), "Option"); o && o->IsSelected()) return i;
  }
  return kNoModifierOption;
}

void CKeySetControlUI::setKeyText(std::string_view nameKey) {
  CEditUI* field = Edit(kKeyFieldName);
  if (!field) return;
  if (nameKey.empty()) {
    field->SetText("");
    return;
  }
  const std::string key(nameKey);
  field->SetText(CResourceManager::GetInstance()->GetText(key.c_str()).GetData());
}

void CKeySetControlUI::setButtonsEnabled(bool enabled) {
  for (const char* name : {kSaveButtonName, kCancelButtonName, kSaveToDeviceButtonName})
    if (CControlUI* button = FindInPanel(name)) button->SetEnabled(enabled);
}

void CKeySetControlUI::setEditorVisible(bool visible) {
  if (CControlUI* editor = FindInPanel(kEditorLayoutName)) editor->SetVisible(visible);
}

bool CKeySetControlUI::IsEditorVisible() const {
  CControlUI* editor = FindInPanel(kEditorLayoutName);
  return editor && editor->IsVisible();
}

int CKeySetControlUI::ComboItem(const char* name) const {
  CComboUI* combo = Combo(name);
  return combo ? combo->GetCurSel() : -1;
}

std::string CKeySetControlUI::EditText(const char* name) const {
  CEditUI* edit = Edit(name);
  return edit ? edit->GetText().str() : std::string();
}

void CKeySetControlUI::SelectComboItem(const char* name, int item) {
  CComboUI* combo = Combo(name);
  if (!combo) return;
  if (item < 0 || item >= combo->GetCount()) item = -1;
  combo->SelectItem(item, false, false);
}

void CKeySetControlUI::SetNumber(const char* name, int value) {
  if (CEditUI* edit = Edit(name)) edit->SetText(std::to_string(value).c_str());
}

KeyPanelControls CKeySetControlUI::ReadControls() const {
  KeyPanelControls controls;
  if (CComboUI* functions = Combo(kFunctionComboName)) {
    const int selected = functions->GetCurSel();
    if (selected >= 0) controls.category = std::atoi(functions->GetItemAt(selected)->GetUserData().GetData());
  }
  for (const ComboControl& c : kComboControls) controls.*c.item = ComboItem(c.combo);
  for (const EditControl& e : kEditControls) controls.*e.text = EditText(e.edit);
  controls.modifierOption = selectedModifier();
  return controls;
}

void CKeySetControlUI::ApplyView(const KeyPanelView& view) {
  applying_ = true;
  setEditorVisible(view.editorVisible);
  if (view.editorVisible) {
    const int category = static_cast<int>(view.category);
    if (CComboUI* functions = Combo(kFunctionComboName)) {
      int item = -1;
      for (int i = 0; i < functions->GetCount(); ++i)
        if (std::atoi(functions->GetItemAt(i)->GetUserData().GetData()) == category) item = i;
      functions->SelectItem(item, false, false);
    }
    if (CTabLayoutUI* tabs = As<CTabLayoutUI>(FindInPanel(kTabLayoutName), "TabLayout"))
      tabs->SelectItem(category, false);
  }
  for (const ComboField& f : kComboFields)
    if (const std::optional<int>& item = view.*f.item) SelectComboItem(f.combo, *item);
  for (const NumberField& f : kNumberFields)
    if (const std::optional<int>& value = view.*f.value) SetNumber(f.edit, *value);
  if (view.modifierOption) selectModifier(*view.modifierOption);
  if (view.keyNameKey) setKeyText(*view.keyNameKey);
  if (view.macroCycleVisible)
    if (CControlUI* cycle = FindInPanel(kMacroCycleLayoutName)) cycle->SetVisible(*view.macroCycleVisible);
  applying_ = false;
}

void CKeySetControlUI::OnComboSelected(const CDuiString& name) {
  if (name == kFunctionComboName) {
    const KeyPanelControls controls = ReadControls();
    ApplyView(model_.ChangeCategory(controls.category));
  } else if (name == kMacroModeComboName) {
    if (CControlUI* cycle = FindInPanel(kMacroCycleLayoutName))
      cycle->SetVisible(KeyPanelModel::MacroCycleVisible(ComboItem(kMacroModeComboName)));
  }
  StoreFromControls();
}

void CKeySetControlUI::StoreFromControls() { ActOn(model_.Store(ReadControls())); }

void CKeySetControlUI::ActOn(const KeyPanelStoreOutcome& outcome) {
  if (outcome.stored) {
    if (storedHandler_) storedHandler_();
    setButtonsEnabled(true);
    return;
  }
  if (!outcome.messageKey.empty() && messageHandler_) messageHandler_(outcome.messageKey);
  if (outcome.view) ApplyView(*outcome.view);
}

void CKeySetControlUI::OnKeyCaptured(const KeyCaptureResult& capture, const KeyPanelStoreOutcome& outcome) {
  selectModifier(capture.modifierOption);
  setKeyText(capture.keyNameKey);
  ActOn(outcome);
}

void CKeySetControlUI::OnKeyFieldKey(const TEventUI& event) {
  // While the X capture runs the server delivers the same keys to it.
  if (model_.Capturing()) return;
  KeyCaptureResult capture;
  KeyPanelStoreOutcome outcome;
  const bool extended = (event.lParam & kExtendedKeyBit) != 0;
  if (model_.ToolkitKey(static_cast<std::uint32_t>(event.wParam), extended, event.dwTimestamp,
                        selectedModifier(), &capture, &outcome))
    OnKeyCaptured(capture, outcome);
}

void CKeySetControlUI::StartKeyCapture() {
  HWND window = m_pManager ? m_pManager->GetPaintWindow() : nullptr;
  if (!window) return;
  if (!model_.StartCapture([window] { CMessageLoop::Instance().Post(window, kCapturedKeyMessage, 0, 0); }))
    DebugPrintf("KeySetControl: no X key capture, the key field takes the window's keys");
}

void CKeySetControlUI::StopKeyCapture() { model_.StopCapture(); }

LRESULT CKeySetControlUI::MessageHandler(UINT uMsg, WPARAM, LPARAM, bool& bHandled) {
  if (uMsg != kCapturedKeyMessage) return 0;
  bHandled = true;
  KeyCaptureResult capture;
  KeyPanelStoreOutcome outcome;
  while (model_.NextCaptured(selectedModifier(), &capture, &outcome)) OnKeyCaptured(capture, outcome);
  return 0;
}

void RegisterKeySetControl() {
  CControlFactory* factory = CControlFactory::GetInstance();
  factory->RegistControl(CKeySetControlUI::kClassName, &CKeySetControlUI::CreateControl);
  factory->RegistControl(CKeySetControlUI::kElementName, &CKeySetControlUI::CreateControl);
  factory->RegistControl(CKeySetControlUI::kLayoutElementName, &CKeySetControlUI::CreateLayout);
}

}  // namespace ostrel
