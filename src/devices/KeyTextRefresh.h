#pragma once
// The texts the key buttons show for their functions (`refreshKeyTexts`):
// per key the tooltip title and text, and on the keyboard the button's
// same-as-label flag. The page applies them to its buttons and, on the
// mouse, to the rows of "device_setkeyinfo_list".

#include <span>
#include <string>
#include <vector>

#include "devices/KeyFunctionText.h"
#include "profiles/KeyEntry.h"

namespace ostrel {

struct KeyButtonText {
  std::string toolTitle;     // SetUserToolTitle; first label of the key list row
  std::string toolText;      // SetUserToolText; second label of the key list row
  bool sameAsLabel = false;  // keyboard: the function is the key's own
};

class KeyTextRefresh {
 public:
  // Title: the mouse key's name; text: its function.
  static std::vector<KeyButtonText> Mouse(std::span<const KeyEntry> keys,
                                          std::span<const std::string> macroNames,
                                          const KeyFunctionText::Translator& translate);
  // Title: the name of the key's factory function; text: "Key_Set" and the
  // function; same-as-label when the function text is the key's name.
  static std::vector<KeyButtonText> Keyboard(std::span<const KeyEntry> keys,
                                             std::span<const std::string> macroNames,
                                             const KeyFunctionText::Translator& translate);
  // Equal ignoring the case of ASCII letters (language texts may hold
  // other scripts, which are compared as they are).
  static bool SameText(const std::string& a, const std::string& b);
};

}  // namespace ostrel
