#include "devices/KeyPanelBinding.h"

#include "controls/CDeviceKeyButtonUI.h"
#include "devices/CKeySetControlUI.h"
#include "devices/FactoryKeyTable.h"
#include "devices/KeyAssignmentEditor.h"
#include "devices/KeyFunction.h"
#include "devices/KeyTextRefresh.h"
#include "platform/ui/CLabelUI.h"
#include "platform/ui/CListContainerElementUI.h"
#include "platform/ui/CListUI.h"
#include "platform/ui/UIDefs.h"

namespace ostrel {

namespace {

constexpr int kNameWidth = 200;
constexpr int kFunctionWidth = 180;
constexpr DWORD kNameColour = 0xFFFFFFFF;
constexpr DWORD kFunctionColour = 0xFF0099FF;

CLabelUI* MakeRowLabel(int width, DWORD colour) {
  auto* label = new CLabelUI;
  label->SetFixedWidth(width);
  label->SetTextColor(colour);
  label->SetTextStyle(label->GetTextStyle() | DT_END_ELLIPSIS);
  return label;
}

}  // namespace

KeyPanelBinding::KeyPanelBinding() : slots_(kMouseKeyCount, kMouseNoSlot) {}

KeyPanelBinding::~KeyPanelBinding() {
  if (panel_) panel_->Model().SetEditor(nullptr);
}

void KeyPanelBinding::Bind(CKeySetControlUI* panel, CBasicProfiledata* profile, int deviceType) {
  if (panel_) panel_->Model().SetEditor(nullptr);
  panel_ = panel;
  editor_.reset();
  if (!panel_) return;
  panel_->bindControls();
  panel_->setDeviceType(deviceType);
  panel_->setMacroNames(macroNames_);
  editor_ = std::make_unique<KeyAssignmentEditor>(panel_->Model().Assignment(), keys_, profile);
  panel_->Model().SetEditor(editor_.get());
  panel_->setEditorVisible(false);
}

std::vector<KeyEntry> KeyPanelBinding::CompleteKeyList(std::vector<KeyEntry> keys) {
  if (keys.size() > kMouseKeyCount) keys.resize(kMouseKeyCount);
  for (std::size_t i = keys.size(); i < kMouseKeyCount; ++i) {
    KeyAction factory = MouseFactoryKeyTable[i];
    factory.keyId = static_cast<std::uint16_t>(i);
    keys.push_back({factory, factory});
  }
  return keys;
}

void KeyPanelBinding::SetMacroNames(const std::vector<std::string>& names) {
  macroNames_ = names;
  if (panel_) panel_->setMacroNames(names);
}

void KeyPanelBinding::ShowKey(int index) {
  if (panel_) {
    panel_->showKey(index);
  } else {
    keys_.Select(index);
  }
}

void KeyPanelBinding::RefreshKeyTexts(const std::vector<CDeviceKeyButtonUI*>& buttons,
                                      CControlUI* keyInfoList, bool enabled,
                                      const KeyFunctionText::Translator& translate) const {
  const std::vector<KeyButtonText> texts = KeyTextRefresh::Mouse(keys_.Entries(), macroNames_, translate);
  auto* list = keyInfoList ? static_cast<CListUI*>(keyInfoList->GetInterface("List")) : nullptr;
  if (list) list->RemoveAll();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i < buttons.size() && buttons[i]) {
      buttons[i]->SetUserToolTipTitle(texts[i].toolTitle.c_str());
      buttons[i]->SetUserToolTipText(texts[i].toolText.c_str());
    }
    if (!list) continue;
    auto* row = new CListContainerElementUI;
    row->SetFixedHeight(kKeyInfoRowHeight);
    CLabelUI* name = MakeRowLabel(kNameWidth, kNameColour);
    CLabelUI* function = MakeRowLabel(kFunctionWidth, kFunctionColour);
    name->SetText(texts[i].toolTitle.c_str());
    function->SetText(texts[i].toolText.c_str());
    row->Add(name);
    row->Add(function);
    row->SetEnabled(enabled);
    list->Add(row);
  }
  if (keyInfoList) keyInfoList->SetVisible(true);
}

}  // namespace ostrel
