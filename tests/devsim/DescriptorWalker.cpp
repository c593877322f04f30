#include "DescriptorWalker.h"

#include <algorithm>

namespace ostrel::devsim::test {

std::uint32_t TopCollection::Length(const std::map<std::uint8_t, std::uint32_t>& bits) {
  std::uint32_t longest = 0;
  for (const auto& [id, count] : bits) longest = std::max(longest, (count + 7) / 8);
  return bits.empty() ? 0 : longest + 1;
}

WalkResult WalkDescriptor(std::span<const std::uint8_t> d) {
  WalkResult result;
  std::uint32_t usagePage = 0, reportSize = 0, reportCount = 0;
  std::int32_t logicalMin = 0, logicalMax = 0;
  std::uint8_t reportId = 0;
  std::vector<std::uint32_t> usages;
  std::uint32_t usageMin = 0, usageMax = 0;
  int depth = 0;
  std::size_t i = 0;
  while (i < d.size()) {
    const std::uint8_t prefix = d[i];
    if (prefix == 0xFE) return result;  // long items are not used by these devices
    std::size_t size = prefix & 3;
    if (size == 3) size = 4;
    if (i + 1 + size > d.size()) return result;
    std::uint32_t value = 0;
    for (std::size_t b = 0; b < size; ++b) value |= static_cast<std::uint32_t>(d[i + 1 + b]) << (8 * b);
    std::int32_t signedValue = static_cast<std::int32_t>(value);
    if (size == 1) signedValue = static_cast<std::int8_t>(value);
    if (size == 2) signedValue = static_cast<std::int16_t>(value);
    const std::uint8_t type = (prefix >> 2) & 3;
    const std::uint8_t tag = prefix >> 4;
    i += 1 + size;

    if (type == 1) {  // global
      if (tag == 0) usagePage = value;
      if (tag == 1) logicalMin = signedValue;
      if (tag == 2) logicalMax = signedValue;
      if (tag == 7) reportSize = value;
      if (tag == 8) reportId = static_cast<std::uint8_t>(value);
      if (tag == 9) reportCount = value;
    } else if (type == 2) {  // local
      const std::uint32_t full = size == 4 ? value : (usagePage << 16) | value;
      if (tag == 0) usages.push_back(full);
      if (tag == 1) usageMin = value;
      if (tag == 2) usageMax = value;
    } else if (type == 0) {  // main
      if (tag == 0xA) {
        if (depth == 0) {
          TopCollection top;
          const std::uint32_t full = usages.empty() ? 0 : usages.front();
          top.usagePage = static_cast<std::uint16_t>(full >> 16);
          top.usage = static_cast<std::uint16_t>(full & 0xFFFF);
          result.collections.push_back(top);
        }
        ++depth;
      } else if (tag == 0xC) {
        if (--depth < 0) return result;
      } else if (tag == 0x8 || tag == 0x9 || tag == 0xB) {
        if (result.collections.empty() || depth == 0) return result;
        TopCollection& top = result.collections.back();
        auto& bits = tag == 0x8 ? top.inputBits : tag == 0x9 ? top.outputBits : top.featureBits;
        bits[reportId] += reportSize * reportCount;
        const bool isArray = (value & 0x02) == 0 && (value & 0x01) == 0;
        if (tag == 0x8 && isArray) top.inputArrays.push_back({logicalMin, logicalMax, usageMin, usageMax});
      }
      usages.clear();
      usageMin = usageMax = 0;
    }
  }
  result.wellFormed = depth == 0;
  return result;
}

}  // namespace ostrel::devsim::test
