#include "shell/LanguageConfig.h"

#include "profiles/DataFolders.h"
#include "profiles/JsonFileUtil.h"

namespace ostrel {

std::string LanguageConfig::Path() { return DataFolders::DefaultDataFolder() + "Language.config"; }

std::vector<LanguageEntry> LanguageConfig::Read() { return Read(Path()); }

std::vector<LanguageEntry> LanguageConfig::Read(const std::string& path) {
  std::vector<LanguageEntry> entries;
  Json::Value doc = JsonFileUtil::ReadJson(path);
  if (!doc.isObject()) return entries;
  const Json::Value& list = doc["Language"];
  if (!list.isArray()) return entries;
  for (const Json::Value& item : list) {
    // Keep positions: an entry of the wrong shape still counts as an index,
    // with empty fields, so later entries keep their indexes.
    LanguageEntry e;
    if (item.isObject()) {
      if (item["Language_ID"].isIntegral()) e.id = item["Language_ID"].asInt();
      if (item["Language_name"].isString()) e.name = item["Language_name"].asString();
      if (item["Language_file"].isString()) e.file = item["Language_file"].asString();
      if (item["Language_text"].isString()) e.text = item["Language_text"].asString();
    }
    entries.push_back(e);
  }
  return entries;
}

std::optional<LanguageEntry> LanguageConfig::Entry(int index) {
  std::vector<LanguageEntry> entries = Read();
  if (index < 0 || index >= static_cast<int>(entries.size())) return std::nullopt;
  return entries[static_cast<size_t>(index)];
}

std::optional<int> LanguageConfig::IndexOfId(const std::vector<LanguageEntry>& entries, int id) {
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].id == id) return static_cast<int>(i);
  return std::nullopt;
}

}  // namespace ostrel
