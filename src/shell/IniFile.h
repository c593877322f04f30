#pragma once
// Small INI files of the program ("main.ini", "registry.ini"): sections in
// brackets, one "key=value" a line. Writing keeps every other line of the
// file as it was and replaces the file only once the new one is complete.

#include <optional>
#include <string>

namespace ostrel {

class IniFile {
 public:
  // The value of `key` in `section` (names compare without regard to case);
  // nothing when the file, the section or the key is missing.
  static std::optional<std::string> ReadString(const std::string& path, const std::string& section,
                                               const std::string& key);
  // Whether the file holds the section at all.
  static bool HasSection(const std::string& path, const std::string& section);
  // Sets `key` (adding the section or the key when missing; creates the file).
  static bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& value);
};

}  // namespace ostrel
