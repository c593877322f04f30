#pragma once
// Where the chosen language is kept between runs: the value "LANGUAGE" of
// the section [SOFTWARE\Kestrane] in "registry.ini" of the application-data
// folder (the registry of the Windows program).

#include <string>

namespace ostrel {

class LanguageStore {
 public:
  // The language index to start with: the position in "Language.config" of
  // the stored identifier; 0 when nothing is stored or nothing matches.
  static int LoadLanguageIndex();
  // Stores the identifier; true when written. Writes "写成功！" on success.
  static bool StoreLanguageId(int id);
  // The stored identifier, when there is a readable one.
  static bool ReadLanguageId(int* id);

  static std::string RegistryPath();
  static std::string RegistryKey();  // "SOFTWARE\Kestrane"
  static constexpr const char* kValueName = "LANGUAGE";
  // The identifier assumed when the key holds no value.
  static constexpr int kUnsetLanguageId = 0x208;
};

}  // namespace ostrel
