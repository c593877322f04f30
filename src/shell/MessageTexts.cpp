#include "shell/MessageTexts.h"

#include <string>

#include "platform/ui/CResourceManager.h"

namespace ostrel {

CDuiString MessageTexts::FormatNumber(const char* key, int value) {
  const std::string text = CResourceManager::GetInstance()->GetText(key).str();
  std::string out;
  bool replaced = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size()) {
      if (text[i + 1] == '%') {
        out += '%';
        ++i;
        continue;
      }
      if (text[i + 1] == 'd' && !replaced) {
        out += std::to_string(value);
        replaced = true;
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return CDuiString(out);
}

}  // namespace ostrel
