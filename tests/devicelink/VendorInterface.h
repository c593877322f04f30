#pragma once
// Finds the command collection of a device (the vendor collection, usage
// page 0xFF1C, unless told otherwise) among the interfaces the program
// enumerates.

#include <cstdint>
#include <string>

#include "devicelink/HidLink.h"

namespace ostrel::test {

inline std::string FindVendorInterface(std::uint16_t vendorId, std::uint16_t productId,
                                       std::uint16_t usagePage = 0xFF1C) {
  HidLink discovery;
  if (!discovery.Enumerate()) return {};
  while (const char* path = discovery.NextPath()) {
    HidLink probe;
    if (!probe.Open(path, true, false, true, false)) continue;
    if (probe.Attributes().VendorID == vendorId && probe.Attributes().ProductID == productId &&
        probe.Caps().UsagePage == usagePage) {
      return path;
    }
  }
  return {};
}

}  // namespace ostrel::test
