#pragma once
// One offered language of "Language.config".

#include <string>

namespace ostrel {

struct LanguageEntry {
  int id = 0;        // "Language_ID", the value stored in the registry
  std::string name;  // "Language_name", handed to CResourceManager::SetLanguage
  std::string file;  // "Language_file", the skin's language file
  std::string text;  // "Language_text", the text key shown in the language list
};

}  // namespace ostrel
