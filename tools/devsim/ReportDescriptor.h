#pragma once
// The HID report descriptors of the simulated interfaces.

#include <cstdint>
#include <span>
#include <string>

#include "devsim/ModelCatalogue.h"

namespace ostrel::devsim {

class ReportDescriptor {
 public:
  static std::span<const std::uint8_t> For(CollectionLayout layout);
  // Two hex digits per byte, separated by single spaces ("05 01 09 06").
  static std::string ToHex(std::span<const std::uint8_t> bytes);
};

}  // namespace ostrel::devsim
