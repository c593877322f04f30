#pragma once
// Reading the recorded Windows view of real devices: the descriptor bytes of
// each collection and what Windows computed for it. The files live in the
// shared fixtures folder ($OSTREL_SHARED_DIR/fixtures/hid-windows-caps).

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace ostrel::test {

struct WindowsCap {
  int kind = 0;                               // 0 input, 1 output, 2 feature
  std::map<std::string, std::string> fields;  // "UsagePage" -> "0x0009", ...
  long long Get(const std::string& name) const;
};

struct WindowsCollection {
  std::string name;  // VID_PID_USAGEPAGE_USAGE
  std::string path;
  std::uint16_t usagePage = 0, usage = 0;
  std::uint16_t byteLength[3] = {};
  std::vector<WindowsCap> caps;
  std::vector<std::map<std::string, std::string>> links;
  std::vector<std::uint8_t> descriptor;
  unsigned interfaceNumber = 0, collectionNumber = 0;
  bool hasInterface = false;
};

// The fixtures folder, or empty when it is absent.
std::filesystem::path WindowsCapsFolder();
std::vector<std::uint8_t> ReadDescriptorText(const std::filesystem::path& file);
bool ReadPpData(const std::filesystem::path& file, WindowsCollection& out);
// Every fixture, grouped by interface (same ids and interface number), each
// group in collection order.
std::vector<std::vector<WindowsCollection>> ReadWindowsCapsGroups();

long long ParseNumber(const std::string& text);

}  // namespace ostrel::test
