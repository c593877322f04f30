#pragma once
// One HID interface as a source finds it (a hidraw node or a virtual
// interface), before it is split into its top-level collections.

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel {

enum class HidSourceKind { Hidraw, Virtual };

struct HidInterface {
  HidSourceKind source = HidSourceKind::Hidraw;
  std::string name;      // "hidraw3", or the base name of a virtual interface
  std::string node;      // what Open opens: "/dev/hidraw3" or ".../N.sock"
  std::string identity;  // changes when the name is taken by another device
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t version = 0;
  int interfaceNumber = -1;  // USB interface number, -1 when not a USB device
  std::vector<std::uint8_t> descriptor;
  std::string productName;
  std::string serial;
};

}  // namespace ostrel
