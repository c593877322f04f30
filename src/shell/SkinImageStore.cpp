#include "shell/SkinImageStore.h"

#include "profiles/DataFolders.h"
#include "shell/IniFile.h"

namespace ostrel {

std::string SkinImageStore::Path() { return DataFolders::AppDataFolder() + "main.ini"; }

bool SkinImageStore::WriteSkinImage(bool chosen, const std::string& image) {
  bool ok = IniFile::WriteString(Path(), kSection, "FLAGS", chosen ? "1" : "0");
  return IniFile::WriteString(Path(), kSection, "IMAGE", image) && ok;
}

}  // namespace ostrel
