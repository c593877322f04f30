#include "shell/IniFile.h"

#include <strings.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "profiles/AtomicFile.h"

namespace ostrel {
namespace {

// INI files stay small; anything larger is not one of ours.
constexpr std::streamoff kMaxIniSize = 1 << 20;

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return std::string();
  size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

bool SameName(const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) == 0; }

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  // Only plain files: opening a FIFO put in the file's place would block.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return lines;
  std::ifstream in(path, std::ios::binary);
  if (!in) return lines;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0 || size > kMaxIniSize) return lines;
  in.seekg(0);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  // A UTF-8 byte order mark is not part of the first line.
  if (!lines.empty() && lines[0].rfind("\xEF\xBB\xBF", 0) == 0) lines[0].erase(0, 3);
  return lines;
}

// The section name of a "[name]" line, or nothing.
std::optional<std::string> SectionOf(const std::string& line) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return std::nullopt;
  return Trim(t.substr(1, t.size() - 2));
}

bool KeyOf(const std::string& line, std::string* key, std::string* value) {
  std::string t = Trim(line);
  if (t.empty() || t[0] == ';' || t[0] == '#') return false;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  *key = Trim(t.substr(0, eq));
  if (value) *value = Trim(t.substr(eq + 1));
  return true;
}

}  // namespace

std::optional<std::string> IniFile::ReadString(const std::string& path, const std::string& section,
                                               const std::string& key) {
  bool inSection = false;
  for (const std::string& line : ReadLines(path)) {
    if (auto s = SectionOf(line)) {
      inSection = SameName(*s, section);
      continue;
    }
    std::string k, v;
    if (inSection && KeyOf(line, &k, &v) && SameName(k, key)) return v;
  }
  return std::nullopt;
}

bool IniFile::HasSection(const std::string& path, const std::string& section) {
  for (const std::string& line : ReadLines(path)) {
    auto s = SectionOf(line);
    if (s && SameName(*s, section)) return true;
  }
  return false;
}

bool IniFile::WriteString(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& value) {
  // A line break in a value would forge further keys.
  if (key.find_first_of("\r\n=[]") != std::string::npos || value.find_first_of("\r\n") != std::string::npos ||
      section.find_first_of("\r\n]") != std::string::npos)
    return false;
  std::vector<std::string> lines = ReadLines(path);
  const std::string entry = key + "=" + value;
  int sectionLine = -1;
  int lastInSection = -1;
  bool inSection = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (auto s = SectionOf(lines[i])) {
      inSection = SameName(*s, section);
      if (inSection && sectionLine < 0) {
        sectionLine = static_cast<int>(i);
        lastInSection = sectionLine;
      }
      continue;
    }
    if (!inSection || sectionLine < 0) continue;
    std::string k;
    if (KeyOf(lines[i], &k, nullptr) && SameName(k, key)) {
      lines[i] = entry;
      sectionLine = -2;  // replaced
      break;
    }
    if (!Trim(lines[i]).empty()) lastInSection = static_cast<int>(i);
  }
  if (sectionLine >= 0) {
    lines.insert(lines.begin() + lastInSection + 1, entry);
  } else if (sectionLine == -1) {
    if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
    lines.push_back("[" + section + "]");
    lines.push_back(entry);
  }
  std::ostringstream out;
  for (const std::string& line : lines) out << line << "\r\n";
  return AtomicFile::Write(path, out.str());
}

}  // namespace ostrel
