#pragma once
// "Language.config" in the default-data folder: the offered languages in
// display order; the position in the list is the language index.

#include <optional>
#include <string>
#include <vector>

#include "shell/LanguageEntry.h"

namespace ostrel {

class LanguageConfig {
 public:
  static std::string Path();
  // Every well-formed entry; empty when the file is missing or does not parse.
  static std::vector<LanguageEntry> Read();
  static std::vector<LanguageEntry> Read(const std::string& path);
  // Entry `index`, when there is one.
  static std::optional<LanguageEntry> Entry(int index);
  // The first index whose identifier is `id`.
  static std::optional<int> IndexOfId(const std::vector<LanguageEntry>& entries, int id);
};

}  // namespace ostrel
