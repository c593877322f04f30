#pragma once
// Just enough of a HID report-descriptor parser for the tests to check the
// simulated interfaces the way the program's HID layer will see them: the
// top-level collections in order, their report ids, the Windows report byte
// lengths, and the ranges of their array fields.

#include <cstdint>
#include <map>
#include <span>
#include <vector>

namespace ostrel::devsim::test {

struct ArrayField {
  std::int32_t logicalMinimum = 0;
  std::int32_t logicalMaximum = 0;
  std::uint32_t usageMinimum = 0;
  std::uint32_t usageMaximum = 0;
};

struct TopCollection {
  std::uint16_t usagePage = 0;
  std::uint16_t usage = 0;
  // Bits per report id and kind.
  std::map<std::uint8_t, std::uint32_t> inputBits, outputBits, featureBits;
  std::vector<ArrayField> inputArrays;

  // Report byte length as Windows gives it: the longest report of the kind
  // in bytes, plus one byte for the report id (0 when the kind is absent).
  std::uint32_t InputLength() const { return Length(inputBits); }
  std::uint32_t OutputLength() const { return Length(outputBits); }
  static std::uint32_t Length(const std::map<std::uint8_t, std::uint32_t>& bits);
};

struct WalkResult {
  bool wellFormed = false;  // balanced collections, no truncated item
  std::vector<TopCollection> collections;
};

WalkResult WalkDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace ostrel::devsim::test
