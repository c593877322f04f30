#include "HidFixtures.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

namespace ostrel::test {

namespace fs = std::filesystem;

long long ParseNumber(const std::string& text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    return std::stoll(text.substr(2), nullptr, 16);
  return std::stoll(text);
}

long long WindowsCap::Get(const std::string& name) const {
  auto it = fields.find(name);
  return it == fields.end() ? -999999 : ParseNumber(it->second);
}

fs::path WindowsCapsFolder() {
  const char* shared = std::getenv("OSTREL_SHARED_DIR");
#ifdef OSTREL_HID_DEFAULT_SHARED_DIR
  if (!shared || !*shared) shared = OSTREL_HID_DEFAULT_SHARED_DIR;
#endif
  if (!shared || !*shared) return {};
  fs::path folder = fs::path(shared) / "fixtures" / "hid-windows-caps";
  return fs::is_directory(folder) ? folder : fs::path();
}

namespace {
bool IsHexByte(const std::string& t) {
  return t.size() == 2 && std::isxdigit(static_cast<unsigned char>(t[0])) &&
         std::isxdigit(static_cast<unsigned char>(t[1]));
}
}  // namespace

// Three layouts occur: C arrays ("0x05, 0x01, // Usage Page"), possibly
// after a raw dump of the whole device (the array is the collection), and
// one item a line with its bytes at the end ("Usage (X) 09 30").
std::vector<std::uint8_t> ReadDescriptorText(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  static const std::regex arrayLine(R"(^\s*#?\s*0x[0-9A-Fa-f]{2}\s*,)");
  static const std::regex arrayByte(R"(0x([0-9A-Fa-f]{2}))");
  std::vector<std::uint8_t> bytes;
  bool anyArray = std::any_of(lines.begin(), lines.end(),
                              [](const std::string& l) { return std::regex_search(l, arrayLine); });
  for (const auto& full : lines) {
    if (anyArray) {
      if (!std::regex_search(full, arrayLine)) continue;
      std::string code = full.substr(0, full.find("//"));
      for (std::sregex_iterator it(code.begin(), code.end(), arrayByte), end; it != end; ++it)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi((*it)[1].str(), nullptr, 16)));
    } else {
      std::istringstream words(full);
      std::vector<std::string> tokens;
      for (std::string w; words >> w;) tokens.push_back(w);
      std::size_t first = tokens.size();
      while (first > 0 && IsHexByte(tokens[first - 1])) --first;
      if (first == 0) continue;  // a line of bare bytes is a dump, not an item
      for (std::size_t i = first; i < tokens.size(); ++i)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(tokens[i], nullptr, 16)));
    }
  }
  return bytes;
}

bool ReadPpData(const fs::path& file, WindowsCollection& out) {
  std::ifstream in(file);
  if (!in) return false;
  static const std::regex capLine(R"(^pp_data->cap\[(\d+)\]->(\S+)\s*=\s*(\S+))");
  static const std::regex infoLine(R"(^pp_data->caps_info\[(\d)\]->(\S+)\s*=\s*(\S+))");
  static const std::regex linkLine(R"(^pp_data->LinkCollectionArray\[(\d+)\]->(\S+)\s*=\s*(\S+))");
  static const std::regex topLine(R"(^pp_data->(Usage|UsagePage)\s*=\s*(\S+))");
  static const std::regex pathLine(R"(^dev->path\s*=\s*"(.*)\")");
  std::map<int, std::map<std::string, std::string>> caps;
  std::map<int, std::map<std::string, std::string>> info;
  std::map<int, std::map<std::string, std::string>> links;
  std::smatch m;
  for (std::string line; std::getline(in, line);) {
    if (std::regex_search(line, m, capLine)) {
      caps[std::stoi(m[1])][m[2]] = m[3];
    } else if (std::regex_search(line, m, infoLine)) {
      info[std::stoi(m[1])][m[2]] = m[3];
    } else if (std::regex_search(line, m, linkLine)) {
      links[std::stoi(m[1])][m[2]] = m[3];
    } else if (std::regex_search(line, m, topLine)) {
      (m[1] == "Usage" ? out.usage : out.usagePage) = static_cast<std::uint16_t>(ParseNumber(m[2]));
    } else if (std::regex_search(line, m, pathLine)) {
      out.path = m[1];
    }
  }
  if (info.size() != 3) return false;
  for (int kind = 0; kind < 3; ++kind) {
    out.byteLength[kind] = static_cast<std::uint16_t>(ParseNumber(info[kind]["ReportByteLength"]));
    const long long first = ParseNumber(info[kind]["FirstCap"]), last = ParseNumber(info[kind]["LastCap"]);
    for (long long i = first; i < last; ++i) out.caps.push_back({kind, caps[static_cast<int>(i)]});
  }
  for (auto& [index, fields] : links) out.links.push_back(fields);
  std::string lower = out.path;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  if (auto at = lower.find("&mi_"); at != std::string::npos) {
    out.interfaceNumber = std::stoul(lower.substr(at + 4, 2), nullptr, 16);
    out.hasInterface = true;
  }
  if (auto at = lower.find("&col"); at != std::string::npos)
    out.collectionNumber = std::stoul(lower.substr(at + 4, 2), nullptr, 16);
  return true;
}

std::vector<std::vector<WindowsCollection>> ReadWindowsCapsGroups() {
  std::vector<std::vector<WindowsCollection>> groups;
  const fs::path folder = WindowsCapsFolder();
  if (folder.empty()) return groups;
  std::map<std::string, std::vector<WindowsCollection>> byInterface;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.path().extension() == ".pp_data") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const auto& file : files) {
    WindowsCollection c;
    c.name = file.stem().string();
    if (!ReadPpData(file, c)) continue;
    c.descriptor = ReadDescriptorText(folder / (c.name + "_real.rpt_desc"));
    const std::string key = c.name.substr(0, 9) + "_" + std::to_string(c.interfaceNumber);
    byInterface[key].push_back(std::move(c));
  }
  for (auto& [key, group] : byInterface) {
    std::sort(group.begin(), group.end(),
              [](const auto& a, const auto& b) { return a.collectionNumber < b.collectionNumber; });
    groups.push_back(std::move(group));
  }
  return groups;
}

}  // namespace ostrel::test
