#include "platform/hid/VirtualHidSource.h"

#include <json/json.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/hid/HidDescriptorParser.h"
#include "platform/os/KnownFolders.h"

namespace ostrel {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMaxDescriptionBytes = 64 * 1024;

// "05 01 09 06": two hexadecimal digits a byte, single spaces between.
bool ParseHexBytes(const std::string& text, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  if (text.empty() || (text.size() + 1) % 3 != 0) return false;
  for (std::size_t i = 0; i < text.size(); i += 3) {
    if (i > 0 && text[i - 1] != ' ') return false;
    if (!std::isxdigit(static_cast<unsigned char>(text[i])) ||
        !std::isxdigit(static_cast<unsigned char>(text[i + 1])))
      return false;
    bytes.push_back(static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
  }
  return true;
}

bool IntegerIn(const Json::Value& root, const char* key, unsigned maximum, unsigned& out) {
  const Json::Value& value = root[key];
  if (!value.isIntegral() || !value.isUInt()) return false;
  if (value.asUInt() > maximum) return false;
  out = value.asUInt();
  return true;
}

}  // namespace

VirtualHidSource::VirtualHidSource(std::string directory) : directory_(std::move(directory)) {
  if (directory_.empty()) directory_ = DefaultDirectory();
}

std::string VirtualHidSource::DefaultDirectory() {
  std::string runtime = RuntimeDir();
  if (!runtime.empty()) {
    if (runtime.back() != '/') runtime += '/';
    return runtime + "ostrel/vhid/";
  }
  return "/tmp/ostrel-" + std::to_string(getuid()) + "/vhid/";
}

bool VirtualHidSource::ValidName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.';
  });
}

bool VirtualHidSource::DirectoryTrusted() const {
  struct stat info {};
  // Not followed through a link: the directory itself must be ours.
  std::string dir = directory_;
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  if (lstat(dir.c_str(), &info) != 0) return false;
  if (!S_ISDIR(info.st_mode)) return false;
  if (info.st_uid != geteuid()) return false;
  return (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool VirtualHidSource::ParseDescription(const std::string& json, HidInterface& out) {
  Json::CharReaderBuilder builder;
  builder["collectComments"] = false;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value root;
  std::string errors;
  if (!reader->parse(json.data(), json.data() + json.size(), &root, &errors) || !root.isObject())
    return false;
  unsigned vendor = 0, product = 0, version = 0, interface = 0;
  if (!IntegerIn(root, "vendor_id", 0xFFFF, vendor) || !IntegerIn(root, "product_id", 0xFFFF, product) ||
      !IntegerIn(root, "version", 0xFFFF, version) || !IntegerIn(root, "interface", 0xFF, interface))
    return false;
  const Json::Value& descriptor = root["report_descriptor"];
  if (!descriptor.isString() || !ParseHexBytes(descriptor.asString(), out.descriptor)) return false;
  out.vendorId = static_cast<std::uint16_t>(vendor);
  out.productId = static_cast<std::uint16_t>(product);
  out.version = static_cast<std::uint16_t>(version);
  out.interfaceNumber = static_cast<int>(interface);
  if (root["name"].isString()) out.productName = root["name"].asString();
  if (root["serial"].isString()) out.serial = root["serial"].asString();
  return true;
}

bool VirtualHidSource::Read(const std::string& name, HidInterface& out) const {
  const fs::path dir(directory_);
  const std::string socketPath = (dir / (name + ".sock")).string();
  struct stat info {};
  if (lstat(socketPath.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) return false;
  // Only a plain file is read: a pipe or device in its place would block
  // the scanning thread.
  const std::string jsonPath = (dir / (name + ".json")).string();
  struct stat jsonInfo {};
  if (lstat(jsonPath.c_str(), &jsonInfo) != 0 || !S_ISREG(jsonInfo.st_mode)) return false;
  std::ifstream in(jsonPath, std::ios::binary);
  if (!in) return false;
  std::string json(kMaxDescriptionBytes + 1, '\0');
  in.read(json.data(), static_cast<std::streamsize>(json.size()));
  json.resize(static_cast<std::size_t>(in.gcount()));
  if (json.size() > kMaxDescriptionBytes) return false;
  HidInterface iface;
  if (!ParseDescription(json, iface)) return false;
  iface.source = HidSourceKind::Virtual;
  iface.name = name;
  iface.node = socketPath;
  // A replugged interface gets a new socket: a new inode or creation time.
  iface.identity = std::to_string(static_cast<unsigned long long>(info.st_ino)) + "." +
                   std::to_string(static_cast<long long>(info.st_ctim.tv_sec)) + "." +
                   std::to_string(static_cast<long long>(info.st_ctim.tv_nsec));
  out = std::move(iface);
  return true;
}

bool VirtualHidSource::Find(const std::string& name, HidInterface& out) const {
  if (!ValidName(name) || !DirectoryTrusted()) return false;
  return Read(name, out);
}

std::vector<HidInterface> VirtualHidSource::List() const {
  std::vector<HidInterface> interfaces;
  if (!DirectoryTrusted()) return interfaces;
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(directory_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string file = it->path().filename().string();
    constexpr std::string_view kSuffix = ".json";
    if (file.size() <= kSuffix.size() ||
        file.compare(file.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
      continue;
    const std::string name = file.substr(0, file.size() - kSuffix.size());
    if (ValidName(name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  for (const auto& name : names) {
    HidInterface iface;
    if (Read(name, iface)) interfaces.push_back(std::move(iface));
  }
  return interfaces;
}

}  // namespace ostrel
