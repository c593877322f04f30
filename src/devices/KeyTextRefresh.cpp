#include "devices/KeyTextRefresh.h"

#include "devices/FactoryKeyTable.h"
#include "devices/KeyTables.h"

namespace ostrel {

namespace {

std::string Translate(const KeyFunctionText::Translator& translate, std::string_view key) {
  return translate ? translate(key) : std::string(key);
}

}  // namespace

bool KeyTextRefresh::SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::vector<KeyButtonText> KeyTextRefresh::Mouse(std::span<const KeyEntry> keys,
                                                 std::span<const std::string> macroNames,
                                                 const KeyFunctionText::Translator& translate) {
  std::vector<KeyButtonText> texts(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i < MouseKeyNames.size()) texts[i].toolTitle = Translate(translate, MouseKeyNames[i]);
    texts[i].toolText = KeyFunctionText::Text(keys[i].current, KeyPage::kMouse, macroNames, translate);
  }
  return texts;
}

std::vector<KeyButtonText> KeyTextRefresh::Keyboard(std::span<const KeyEntry> keys,
                                                    std::span<const std::string> macroNames,
                                                    const KeyFunctionText::Translator& translate) {
  std::vector<KeyButtonText> texts(keys.size());
  const std::string keySet = Translate(translate, kKeySetName);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (i < KeyboardFactoryKeyTable.size()) {
      const int row = FindRow(KeyTable, KeyboardFactoryKeyTable[i]);
      if (row >= 0)
        texts[i].toolTitle = Translate(translate, KeyTable[static_cast<std::size_t>(row)].nameKey);
    }
    const std::string function =
        KeyFunctionText::Text(keys[i].current, KeyPage::kKeyboard, macroNames, translate);
    texts[i].toolText = keySet + function;
    texts[i].sameAsLabel = !texts[i].toolTitle.empty() && SameText(function, texts[i].toolTitle);
  }
  return texts;
}

}  // namespace ostrel
