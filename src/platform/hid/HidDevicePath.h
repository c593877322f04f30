#pragma once
// Device paths of top-level collections. A path names the source, the
// interface ids the device link matches on, the node and its identity:
//
//   hidraw#vid_320f&pid_511e&mi_01&col04#hidraw3#0003:320F:511E.0007
//   vhid#vid_320f&pid_511e&mi_01&col04#keyboard#1234567
//
// "&col" is left out when the interface has a single top-level collection,
// "&mi_" when the interface is not part of a USB device.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/hid/HidInterface.h"

namespace ostrel {

class HidDevicePath {
 public:
  struct Parts {
    HidSourceKind source = HidSourceKind::Hidraw;
    std::string name;
    std::string identity;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint32_t interfaceNumber = 0;
    std::uint32_t collectionNumber = 0;  // 1-based; 0 when the interface has one collection
  };

  // collectionIndex is 0-based; collectionCount the interface's top-level collections.
  static std::string Format(const HidInterface& iface, std::size_t collectionIndex,
                            std::size_t collectionCount);
  static bool Parse(std::string_view path, Parts& parts);

  // The hexadecimal number right after the first occurrence of `marker`,
  // found ignoring letter case; 0 when the marker is absent or no digit follows.
  static std::uint32_t HexAfter(std::string_view path, std::string_view marker);
  static bool Contains(std::string_view path, std::string_view marker);

  static constexpr std::string_view kHidrawPrefix = "hidraw";
  static constexpr std::string_view kVirtualPrefix = "vhid";
};

}  // namespace ostrel
