#pragma once
// Reads a HID report descriptor (the bytes an interface gives, all its
// top-level collections) into one HidPreparsedData per top-level
// collection, in descriptor order.
//
// Descriptors come from devices and files, so everything is checked: a
// truncated or inconsistent descriptor is refused, and the sizes it may ask
// for are bounded (the kernel's own limits), so no descriptor can make the
// program allocate without bound.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/hid/HidPreparsedData.h"

namespace ostrel {

class HidDescriptorParser {
 public:
  static constexpr std::size_t kMaxDescriptorSize = 4096;  // the kernel's limit for a report descriptor
  static constexpr std::size_t kMaxReportBytes = 16384;    // the kernel's largest report buffer
  static constexpr std::size_t kMaxGlobalStack = 32;       // push depth
  static constexpr std::size_t kMaxCollectionDepth = 64;

  // False (with a short reason in `error`) when the descriptor is malformed
  // or has no top-level collection; `collections` is then empty.
  static bool Parse(const std::uint8_t* data, std::size_t size, std::vector<HidPreparsedData>& collections,
                    std::string* error = nullptr);
};

}  // namespace ostrel
