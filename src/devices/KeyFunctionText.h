#pragma once
// The text that names a key's function on the key buttons and in the key
// list: language keys passed through the toolkit's lookup, joined with "+"
// for a modifier with a key, or a literal text (macro names).

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/KeyAction.h"

namespace ostrel {

// Which page names the function: a few types read differently.
enum class KeyPage { kMouse, kKeyboard };

class KeyFunctionText {
 public:
  // The toolkit's language lookup (the page's hidden "text_test" label).
  using Translator = std::function<std::string(std::string_view nameKey)>;

  struct Parts {
    enum class Kind { kNoText, kNames, kLiteral };
    Kind kind = Kind::kNoText;
    std::vector<std::string_view> nameKeys;  // kNames: translated, joined with "+"
    std::string literal;                     // kLiteral: shown as it is
  };

  static Parts Describe(const KeyAction& action, KeyPage page, std::span<const std::string> macroNames);
  // The display text; empty for a function that has no text.
  static std::string Text(const KeyAction& action, KeyPage page, std::span<const std::string> macroNames,
                          const Translator& translate);
  static std::string Compose(const Parts& parts, const Translator& translate);

 private:
  static Parts KeyboardKeyParts(const KeyAction& action);
};

}  // namespace ostrel
