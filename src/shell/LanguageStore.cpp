#include "shell/LanguageStore.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "platform/os/DebugLog.h"
#include "profiles/DataFolders.h"
#include "shell/IniFile.h"
#include "shell/LanguageConfig.h"

namespace ostrel {

std::string LanguageStore::RegistryPath() { return DataFolders::AppDataFolder() + "registry.ini"; }

std::string LanguageStore::RegistryKey() {
  char key[64];
  std::snprintf(key, sizeof key, "SOFTWARE\\%s", DataFolders::kProductName);
  return key;
}

bool LanguageStore::ReadLanguageId(int* id) {
  auto text = IniFile::ReadString(RegistryPath(), RegistryKey(), kValueName);
  if (!text || text->empty()) return false;
  // A DWORD, written in decimal; hexadecimal ("0x804") is accepted too.
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(text->c_str(), &end, 0);
  if (errno != 0 || end == text->c_str() || *end != '\0' || v < 0 || v > UINT32_MAX) return false;
  *id = static_cast<int>(static_cast<unsigned>(v));
  return true;
}

int LanguageStore::LoadLanguageIndex() {
  if (!IniFile::HasSection(RegistryPath(), RegistryKey())) return 0;
  int id = kUnsetLanguageId;
  ReadLanguageId(&id);  // a missing or unreadable value keeps the default
  return LanguageConfig::IndexOfId(LanguageConfig::Read(), id).value_or(0);
}

bool LanguageStore::StoreLanguageId(int id) {
  // The Windows program only opened a key its installer had made; here no
  // installer exists, so the section is created on first use, or a chosen
  // language would never be remembered.
  bool ok = IniFile::WriteString(RegistryPath(), RegistryKey(), kValueName,
                                 std::to_string(static_cast<unsigned>(id)));
  if (ok) OutputDebugString("写成功！");
  return ok;
}

}  // namespace ostrel
