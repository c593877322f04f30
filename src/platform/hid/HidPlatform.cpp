#include "platform/hid/HidPlatform.h"

#include <unistd.h>

#include <mutex>

#include "platform/hid/HidDescriptorParser.h"
#include "platform/hid/HidrawSource.h"
#include "platform/hid/VirtualHidSource.h"

namespace ostrel {

namespace {

constexpr const char* kSystemSysfs = "/sys";
constexpr const char* kSystemDev = "/dev";

std::mutex& RootsMutex() {
  static std::mutex mutex;
  return mutex;
}
std::string& TestSysfsRoot() {
  static std::string root;
  return root;
}
std::string& TestDevRoot() {
  static std::string root;
  return root;
}

void AddPaths(const std::vector<HidInterface>& interfaces, std::vector<std::string>& paths) {
  for (const auto& iface : interfaces) {
    std::vector<HidPreparsedData> collections;
    if (!HidDescriptorParser::Parse(iface.descriptor.data(), iface.descriptor.size(), collections)) continue;
    for (std::size_t i = 0; i < collections.size(); ++i)
      paths.push_back(HidDevicePath::Format(iface, i, collections.size()));
  }
}

}  // namespace

HidPlatform::HidPlatform() {
  std::lock_guard<std::mutex> lock(RootsMutex());
  sysfsRoot_ = TestSysfsRoot().empty() ? kSystemSysfs : TestSysfsRoot();
  devRoot_ = TestDevRoot().empty() ? kSystemDev : TestDevRoot();
}

HidPlatform::HidPlatform(std::string sysfsRoot, std::string devRoot, std::string vhidDirectory)
    : sysfsRoot_(std::move(sysfsRoot)),
      devRoot_(std::move(devRoot)),
      vhidDirectory_(std::move(vhidDirectory)) {}

void HidPlatform::SetRootsForTesting(const std::string& sysfsRoot, const std::string& devRoot) {
  std::lock_guard<std::mutex> lock(RootsMutex());
  TestSysfsRoot() = sysfsRoot;
  TestDevRoot() = devRoot;
}

std::vector<std::string> HidPlatform::Enumerate() const {
  std::vector<std::string> paths;
  AddPaths(HidrawSource(sysfsRoot_, devRoot_).List(), paths);
  // The virtual directory is looked up on every call: it follows the
  // runtime folder of the moment.
  AddPaths(VirtualHidSource(vhidDirectory_).List(), paths);
  return paths;
}

bool HidPlatform::Resolve(const std::string& path, HidInterface& iface,
                          std::vector<HidPreparsedData>& collections, std::size_t& index,
                          std::string* error) const {
  auto fail = [&](const char* why) {
    if (error) *error = why;
    return false;
  };
  HidDevicePath::Parts parts;
  if (!HidDevicePath::Parse(path, parts)) return fail("not a device path");
  const bool found = parts.source == HidSourceKind::Hidraw
                         ? HidrawSource(sysfsRoot_, devRoot_).Find(parts.name, iface)
                         : VirtualHidSource(vhidDirectory_).Find(parts.name, iface);
  if (!found) return fail("no such interface");
  if (iface.identity != parts.identity || iface.vendorId != parts.vendorId ||
      iface.productId != parts.productId)
    return fail("interface now belongs to another device");
  std::string why;
  if (!HidDescriptorParser::Parse(iface.descriptor.data(), iface.descriptor.size(), collections, &why)) {
    if (error) *error = "report descriptor: " + why;
    return false;
  }
  // A path without "&col" names the only collection; with it, one of several.
  if (parts.collectionNumber == 0) {
    if (collections.size() != 1) return fail("no such collection");
    index = 0;
  } else {
    if (collections.size() < 2 || parts.collectionNumber > collections.size())
      return fail("no such collection");
    index = parts.collectionNumber - 1;
  }
  // The path must be exactly the one this interface gives now.
  if (HidDevicePath::Format(iface, index, collections.size()) != path) return fail("no such collection");
  return true;
}

std::unique_ptr<HidDevice> HidPlatform::Open(const std::string& path, bool read, bool write,
                                             std::string* error) const {
  HidInterface iface;
  std::vector<HidPreparsedData> collections;
  std::size_t index = 0;
  if (!Resolve(path, iface, collections, index, error)) return nullptr;
  return HidDevice::Open(iface, std::move(collections[index]), read, write, error);
}

bool HidPlatform::Exists(const std::string& path) const {
  HidInterface iface;
  std::vector<HidPreparsedData> collections;
  std::size_t index = 0;
  if (!Resolve(path, iface, collections, index, nullptr)) return false;
  // A hidraw node also needs its device file.
  if (iface.source == HidSourceKind::Hidraw) return access(iface.node.c_str(), F_OK) == 0;
  return true;
}

}  // namespace ostrel
