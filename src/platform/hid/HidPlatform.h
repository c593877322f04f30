#pragma once
// The HID interfaces of the machine as the device link sees them: one path
// per top-level collection of every hidraw node and every virtual
// interface, opening a path, and the existence test of a path.

#include <memory>
#include <string>
#include <vector>

#include "platform/hid/HidDevice.h"
#include "platform/hid/HidDevicePath.h"

namespace ostrel {

class HidPlatform {
 public:
  // The process-wide roots (the real system unless a test moved them).
  HidPlatform();
  // Explicit roots; an empty vhid directory means the default one.
  HidPlatform(std::string sysfsRoot, std::string devRoot, std::string vhidDirectory);

  // Tests point every later HidPlatform() at a fake tree; empty strings
  // restore the system's /sys and /dev.
  static void SetRootsForTesting(const std::string& sysfsRoot, const std::string& devRoot);

  // Every collection path, hidraw nodes first. Interfaces whose descriptor
  // cannot be read are left out. Never fails: no devices is an empty list.
  std::vector<std::string> Enumerate() const;
  std::unique_ptr<HidDevice> Open(const std::string& path, bool read, bool write, std::string* error) const;
  // The path still names a present collection of the same device.
  bool Exists(const std::string& path) const;

 private:
  // The interface a path names, as it is now, with its collections.
  bool Resolve(const std::string& path, HidInterface& iface, std::vector<HidPreparsedData>& collections,
               std::size_t& index, std::string* error) const;

  std::string sysfsRoot_;
  std::string devRoot_;
  std::string vhidDirectory_;
};

}  // namespace ostrel
