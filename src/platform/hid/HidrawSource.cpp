#include "platform/hid/HidrawSource.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/hid/HidDescriptorParser.h"

namespace ostrel {

namespace fs = std::filesystem;

namespace {

bool ReadText(const fs::path& file, std::string& text, std::size_t limit = 64 * 1024) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  text.assign(limit, '\0');
  in.read(text.data(), static_cast<std::streamsize>(limit));
  text.resize(static_cast<std::size_t>(in.gcount()));
  return true;
}

bool ReadHexFile(const fs::path& file, unsigned long& value) {
  std::string text;
  if (!ReadText(file, text, 64)) return false;
  char* end = nullptr;
  value = std::strtoul(text.c_str(), &end, 16);
  return end != text.c_str();
}

// HID_ID=0003:0000320F:0000511E (bus, vendor, product).
bool ParseHidId(const std::string& uevent, unsigned long& bus, unsigned long& vendor,
                unsigned long& product) {
  std::istringstream lines(uevent);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("HID_ID=", 0) != 0) continue;
    const char* p = line.c_str() + 7;
    char* end = nullptr;
    bus = std::strtoul(p, &end, 16);
    if (*end != ':') return false;
    vendor = std::strtoul(end + 1, &end, 16);
    if (*end != ':') return false;
    product = std::strtoul(end + 1, &end, 16);
    return true;
  }
  return false;
}

std::string UeventValue(const std::string& uevent, const std::string& key) {
  std::istringstream lines(uevent);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  return {};
}

constexpr unsigned long kBusUsb = 0x03;

}  // namespace

HidrawSource::HidrawSource(std::string sysfsRoot, std::string devRoot)
    : sysfsRoot_(std::move(sysfsRoot)), devRoot_(std::move(devRoot)) {}

bool HidrawSource::ValidName(const std::string& name) {
  if (name.size() <= 6 || name.compare(0, 6, "hidraw") != 0) return false;
  return std::all_of(name.begin() + 6, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool HidrawSource::Find(const std::string& name, HidInterface& out) const {
  if (!ValidName(name)) return false;
  std::error_code ec;
  const fs::path classDir = fs::path(sysfsRoot_) / "class" / "hidraw" / name;
  const fs::path device = fs::canonical(classDir / "device", ec);
  if (ec) return false;

  HidInterface iface;
  iface.source = HidSourceKind::Hidraw;
  iface.name = name;
  iface.node = (fs::path(devRoot_) / name).string();
  // The HID device's name carries a sequence number that the kernel never
  // reuses while running, so a node taken over by another device differs.
  iface.identity = device.filename().string();

  std::string text;
  if (!ReadText(device / "report_descriptor", text, HidDescriptorParser::kMaxDescriptorSize + 1))
    return false;
  iface.descriptor.assign(text.begin(), text.end());
  std::string uevent;
  if (!ReadText(device / "uevent", uevent)) return false;
  unsigned long bus = 0, vendor = 0, product = 0;
  if (!ParseHidId(uevent, bus, vendor, product)) return false;
  iface.vendorId = static_cast<std::uint16_t>(vendor);
  iface.productId = static_cast<std::uint16_t>(product);
  iface.productName = UeventValue(uevent, "HID_NAME");
  iface.serial = UeventValue(uevent, "HID_UNIQ");

  if (bus == kBusUsb) {
    // .../usbD-P/D-P:C.I/BBBB:VVVV:PPPP.NNNN: the interface, then the device.
    const fs::path usbInterface = device.parent_path();
    unsigned long number = 0, release = 0;
    if (ReadHexFile(usbInterface / "bInterfaceNumber", number))
      iface.interfaceNumber = static_cast<int>(number & 0xFF);
    if (ReadHexFile(usbInterface.parent_path() / "bcdDevice", release))
      iface.version = static_cast<std::uint16_t>(release);
  }
  out = std::move(iface);
  return true;
}

std::vector<HidInterface> HidrawSource::List() const {
  std::vector<std::pair<unsigned long, std::string>> names;
  std::error_code ec;
  for (fs::directory_iterator it(fs::path(sysfsRoot_) / "class" / "hidraw", ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (ValidName(name)) names.emplace_back(std::strtoul(name.c_str() + 6, nullptr, 10), name);
  }
  std::sort(names.begin(), names.end());
  std::vector<HidInterface> interfaces;
  for (const auto& [number, name] : names) {
    HidInterface iface;
    if (Find(name, iface)) interfaces.push_back(std::move(iface));
  }
  return interfaces;
}

}  // namespace ostrel
