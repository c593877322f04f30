// The report-descriptor parser: lengths and collections of our own
// descriptors, refusal of malformed ones, and report decoding.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "HidTestDescriptors.h"
#include "platform/hid/HidDescriptorParser.h"

namespace ostrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<HidPreparsedData> ParseOrFail(const Bytes& bytes) {
  std::vector<HidPreparsedData> collections;
  std::string error;
  EXPECT_TRUE(HidDescriptorParser::Parse(bytes.data(), bytes.size(), collections, &error)) << error;
  return collections;
}

std::vector<std::uint16_t> Pressed(const HidPreparsedData& data, std::uint16_t page, const Bytes& report,
                                   HIDP_STATUS expected = HIDP_STATUS_SUCCESS) {
  std::vector<std::uint16_t> usages(data.MaxUsageListLength(HidP_Input, page));
  std::uint32_t length = static_cast<std::uint32_t>(usages.size());
  EXPECT_EQ(data.GetUsages(HidP_Input, page, 0, usages.data(), length, report.data(), report.size()),
            expected);
  usages.resize(length);
  return usages;
}

TEST(HidDescriptor, SplitsTopLevelCollectionsWithTheirOwnLengths) {
  const auto collections = ParseOrFail(test::kKeyboardInterface);
  ASSERT_EQ(collections.size(), 2u);
  HIDP_CAPS consumer, vendor;
  collections[0].GetCaps(consumer);
  collections[1].GetCaps(vendor);
  EXPECT_EQ(consumer.UsagePage, 0x0C);
  EXPECT_EQ(consumer.Usage, 0x01);
  EXPECT_EQ(consumer.InputReportByteLength, 5);  // id + two 16-bit selectors
  EXPECT_EQ(consumer.OutputReportByteLength, 0);
  EXPECT_EQ(consumer.NumberInputButtonCaps, 1);
  EXPECT_EQ(consumer.NumberInputDataIndices, 0x28C);
  EXPECT_EQ(vendor.UsagePage, 0xFF1C);
  EXPECT_EQ(vendor.Usage, 0x92);
  EXPECT_EQ(vendor.InputReportByteLength, 64);
  EXPECT_EQ(vendor.OutputReportByteLength, 64);
  EXPECT_EQ(vendor.NumberInputValueCaps, 1);
  EXPECT_EQ(vendor.NumberOutputValueCaps, 1);
  EXPECT_TRUE(collections[1].UsesReportIds());
  EXPECT_EQ(collections[1].ReportLength(HidP_Output, 4), 64);
  EXPECT_EQ(collections[1].ReportLength(HidP_Output, 3), 0);
  EXPECT_EQ(collections[0].ReportLength(HidP_Input, 3), 5);
}

TEST(HidDescriptor, UnnumberedReportsStillCountTheIdByte) {
  const auto mouse = ParseOrFail(test::kMouse);
  ASSERT_EQ(mouse.size(), 1u);
  HIDP_CAPS caps;
  mouse[0].GetCaps(caps);
  EXPECT_FALSE(mouse[0].UsesReportIds());
  EXPECT_EQ(caps.InputReportByteLength, 5);  // 0 + 1 button byte + X + Y + Z
  EXPECT_EQ(caps.NumberLinkCollectionNodes, 2);
  EXPECT_EQ(caps.NumberInputButtonCaps, 1);
  EXPECT_EQ(caps.NumberInputValueCaps, 3);
  EXPECT_EQ(mouse[0].MaxUsageListLength(HidP_Input, 0x09), 5u);
  std::vector<HIDP_VALUE_CAPS> values;
  ASSERT_EQ(mouse[0].GetSpecificValueCaps(HidP_Input, 0, 0, 0, values), HIDP_STATUS_SUCCESS);
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values[0].LinkCollection, 1);
  EXPECT_EQ(values[0].LinkUsage, 0x01);
  EXPECT_EQ(values[0].LogicalMin, -127);
}

struct MalformedCase {
  const char* name;
  Bytes bytes;
};

Bytes Repeat(std::size_t times, const Bytes& part, const Bytes& tail = {}) {
  Bytes out;
  for (std::size_t i = 0; i < times; ++i) out.insert(out.end(), part.begin(), part.end());
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

TEST(HidDescriptor, RefusesMalformedDescriptors) {
  const std::vector<MalformedCase> cases = {
      {"empty", {}},
      {"truncated short item", {0x05, 0x01, 0xA1, 0x01, 0x26, 0xFF}},
      {"truncated long item", {0xA1, 0x01, 0xFE, 0x05, 0x00, 0x01, 0xC0}},
      {"long item header cut", {0xA1, 0x01, 0xFE, 0x05}},
      {"pop without push", {0xB4, 0xA1, 0x01, 0xC0}},
      {"push too deep", Repeat(40, {0xA4}, {0xA1, 0x01, 0xC0})},
      {"end collection alone", {0xC0}},
      {"collection not closed", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}},
      {"main item outside a collection", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02}},
      {"report id 0", {0xA1, 0x01, 0x85, 0x00, 0xC0}},
      {"report id above 255", {0xA1, 0x01, 0x86, 0x00, 0x01, 0xC0}},
      {"nested delimiter", {0xA1, 0x01, 0xA9, 0x01, 0xA9, 0x01, 0xA9, 0x00, 0xA9, 0x00, 0xC0}},
      {"delimiter closed without open", {0xA1, 0x01, 0xA9, 0x00, 0xC0}},
      {"main item inside a delimiter",
       {0xA1, 0x01, 0xA9, 0x01, 0x09, 0x30, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0}},
      {"huge report count",
       {0xA1, 0x01, 0x75, 0x08, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x09, 0x01, 0x81, 0x02, 0xC0}},
      {"huge report size",
       {0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0x7F, 0x95, 0x02, 0x09, 0x01, 0x81, 0x02, 0xC0}},
      {"reports grow past the largest buffer",
       Repeat(1, {0xA1, 0x01, 0x75, 0x08, 0x96, 0x00, 0x20}, Repeat(3, {0x09, 0x01, 0x81, 0x02}, {0xC0}))},
      {"too many data indices",
       Repeat(1, {0xA1, 0x01, 0x75, 0x10, 0x95, 0x01, 0x15, 0x00, 0x27, 0xFF, 0xFF, 0x00, 0x00},
              Repeat(2, {0x19, 0x00, 0x2A, 0xFF, 0xFF, 0x81, 0x00}, {0xC0}))},
      {"collections nested too deep", Repeat(70, {0xA1, 0x00}, Repeat(70, {0xC0}))},
      {"no top-level collection", {0x05, 0x01, 0x09, 0x02}},
      {"longer than the kernel allows", Repeat(1400, {0xA1, 0x00, 0xC0})},
  };
  for (const auto& c : cases) {
    std::vector<HidPreparsedData> collections;
    std::string error;
    EXPECT_FALSE(HidDescriptorParser::Parse(c.bytes.data(), c.bytes.size(), collections, &error)) << c.name;
    EXPECT_TRUE(collections.empty()) << c.name;
    EXPECT_FALSE(error.empty()) << c.name;
  }
}

TEST(HidDescriptor, AcceptsUnusualButWellFormedItems) {
  const std::vector<MalformedCase> cases = {
      {"long item skipped",
       {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0xA1, 0x01, 0x09, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0}},
      {"push and pop",
       {0xA1, 0x01, 0x75, 0x08, 0xA4, 0x75, 0x10, 0xB4, 0x95, 0x01, 0x09, 0x01, 0x81, 0x02, 0xC0}},
      {"delimiter set",
       {0xA1, 0x01, 0xA9, 0x01, 0x09, 0x30, 0x09, 0x31, 0xA9, 0x00, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02,
        0xC0}},
      {"reserved item type", {0xA1, 0x01, 0x0C, 0xC0}},
  };
  for (const auto& c : cases) {
    std::vector<HidPreparsedData> collections;
    std::string error;
    ASSERT_TRUE(HidDescriptorParser::Parse(c.bytes.data(), c.bytes.size(), collections, &error))
        << c.name << ": " << error;
    ASSERT_EQ(collections.size(), 1u) << c.name;
  }
  // The pushed size was restored by the pop: the field is 8 bits wide.
  std::vector<HidPreparsedData> pushed;
  const Bytes pushPop = cases[1].bytes;
  ASSERT_TRUE(HidDescriptorParser::Parse(pushPop.data(), pushPop.size(), pushed));
  EXPECT_EQ(pushed[0].ReportByteLength(HidP_Input), 2);
  // Only the preferred usage of a delimiter set is reported.
  std::vector<HidPreparsedData> delimited;
  const Bytes delimiter = cases[2].bytes;
  ASSERT_TRUE(HidDescriptorParser::Parse(delimiter.data(), delimiter.size(), delimited));
  ASSERT_EQ(delimited[0].Caps(HidP_Input).size(), 1u);
  EXPECT_EQ(delimited[0].Caps(HidP_Input)[0].UsageMin, 0x30);
}

// Random damage to real-looking descriptors never crashes the parser or the
// decoder (the fuzz targets search far deeper; this runs in every build).
TEST(HidDescriptor, SurvivesRandomDamage) {
  std::mt19937 random(12345);
  const std::vector<Bytes> seeds = {test::kKeyboardInterface, test::kMouse, test::kBootKeyboard,
                                    test::kSystemControl};
  for (int round = 0; round < 3000; ++round) {
    Bytes bytes = seeds[round % seeds.size()];
    const int edits = 1 + int(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % bytes.size();
      switch (random() % 3) {
        case 0:
          bytes[at] = static_cast<std::uint8_t>(random());
          break;
        case 1:
          bytes.erase(bytes.begin() + static_cast<long>(at));
          break;
        default:
          bytes.insert(bytes.begin() + static_cast<long>(at), static_cast<std::uint8_t>(random()));
          break;
      }
      if (bytes.empty()) bytes.push_back(0);
    }
    std::vector<HidPreparsedData> collections;
    if (!HidDescriptorParser::Parse(bytes.data(), bytes.size(), collections)) continue;
    for (const auto& c : collections) {
      const std::size_t size = c.ReportByteLength(HidP_Input);
      if (size == 0) continue;
      Bytes report(size, 0xFF);
      std::vector<std::uint16_t> usages(c.MaxUsageListLength(HidP_Input, 0) + 1);
      std::uint32_t length = static_cast<std::uint32_t>(usages.size());
      c.GetUsages(HidP_Input, 0, 0, usages.data(), length, report.data(), report.size());
      EXPECT_LE(length, usages.size());
      for (const auto& cap : c.Caps(HidP_Input)) {
        std::uint32_t raw;
        std::int32_t scaled;
        c.GetUsageValue(HidP_Input, cap.UsagePage, 0, cap.UsageMin, raw, report.data(), report.size());
        c.GetScaledUsageValue(HidP_Input, cap.UsagePage, 0, cap.UsageMin, scaled, report.data(),
                              report.size());
      }
    }
  }
}

TEST(HidReportDecoding, BitmapButtonsAndValues) {
  const auto mouse = ParseOrFail(test::kMouse);
  ASSERT_EQ(mouse.size(), 1u);
  const HidPreparsedData& data = mouse[0];
  // Buttons 1 and 3; the padding bits set must not show; X -1, Y 5, Z 128.
  const Bytes report = {0x00, 0b11100101, 0xFF, 0x05, 0x80};
  EXPECT_EQ(Pressed(data, 0x09, report), (std::vector<std::uint16_t>{1, 3}));

  struct ValueCase {
    std::uint16_t usage;
    std::uint32_t raw;
    std::int32_t scaled;
  };
  const std::vector<ValueCase> values = {
      {0x30, 0xFF, -1},   // signed field, no physical range: the logical value
      {0x31, 0x05, 5},    //
      {0x32, 0x80, 501},  // 128 of 0..255 over 0..1000
  };
  for (const auto& v : values) {
    std::uint32_t raw = 0;
    std::int32_t scaled = 0;
    EXPECT_EQ(data.GetUsageValue(HidP_Input, 0x01, 0, v.usage, raw, report.data(), report.size()),
              HIDP_STATUS_SUCCESS);
    EXPECT_EQ(data.GetScaledUsageValue(HidP_Input, 0x01, 0, v.usage, scaled, report.data(), report.size()),
              HIDP_STATUS_SUCCESS);
    EXPECT_EQ(raw, v.raw) << v.usage;
    EXPECT_EQ(scaled, v.scaled) << v.usage;
  }
  std::uint32_t raw = 0;
  EXPECT_EQ(data.GetUsageValue(HidP_Input, 0x01, 0, 0x38, raw, report.data(), report.size()),
            HIDP_STATUS_USAGE_NOT_FOUND);
  const Bytes shortReport = {0x00, 0x01};
  EXPECT_EQ(data.GetUsageValue(HidP_Input, 0x01, 0, 0x30, raw, shortReport.data(), shortReport.size()),
            HIDP_STATUS_INVALID_REPORT_LENGTH);
}

TEST(HidReportDecoding, ArraySelectors) {
  const auto keyboard = ParseOrFail(test::kBootKeyboard);
  ASSERT_EQ(keyboard.size(), 1u);
  // Left shift; keys 4 and 0x29; a 0x66 selector is outside 0..0x65 and a 0
  // selector names no key.
  const Bytes report = {0x00, 0x02, 0x00, 0x04, 0x66, 0x29, 0x00, 0x00, 0x00};
  EXPECT_EQ(Pressed(keyboard[0], 0x07, report), (std::vector<std::uint16_t>{0xE1, 0x04, 0x29}));
  EXPECT_EQ(keyboard[0].MaxUsageListLength(HidP_Input, 0x07), 8u + 6u);
  // A list too short for every pressed usage is reported as such.
  std::vector<std::uint16_t> two(2);
  std::uint32_t length = 2;
  EXPECT_EQ(keyboard[0].GetUsages(HidP_Input, 0x07, 0, two.data(), length, report.data(), report.size()),
            HIDP_STATUS_BUFFER_TOO_SMALL);
  EXPECT_EQ(length, 2u);

  const auto consumer = ParseOrFail(test::kKeyboardInterface);
  const Bytes volume = {0x03, 0xE9, 0x00, 0x00, 0x00};  // volume up, second selector empty
  EXPECT_EQ(Pressed(consumer[0], 0x0C, volume), (std::vector<std::uint16_t>{0xE9}));
  const Bytes otherReport = {0x04, 0xE9, 0x00, 0x00, 0x00};
  EXPECT_TRUE(Pressed(consumer[0], 0x0C, otherReport, HIDP_STATUS_INCOMPATIBLE_REPORT_ID).empty());
}

TEST(HidReportDecoding, NegativeLogicalMinimum) {
  const auto system = ParseOrFail(test::kSystemControl);
  ASSERT_EQ(system.size(), 1u);
  const HidPreparsedData& data = system[0];
  ASSERT_EQ(data.ReportByteLength(HidP_Input), 3);
  // The 2-bit selector runs -1..1 over 0x81, 0x82, 0x83.
  struct SelectorCase {
    std::uint8_t bits;
    std::vector<std::uint16_t> usages;
  };
  const std::vector<SelectorCase> selectors = {
      {0x3, {0x81}},  // -1
      {0x0, {0x82}},  //  0
      {0x1, {0x83}},  //  1
      {0x2, {}},      // -2: outside the logical range, nothing pressed
  };
  for (const auto& s : selectors) {
    const Bytes report = {0x05, s.bits, 0x00};
    EXPECT_EQ(Pressed(data, 0x01, report), s.usages) << int(s.bits);
  }
  // The wheel: logical -100..100 over physical 0..20.
  struct WheelCase {
    std::uint8_t byte;
    HIDP_STATUS status;
    std::int32_t scaled;
  };
  const std::vector<WheelCase> wheel = {
      {0x9C, HIDP_STATUS_SUCCESS, 0},   // -100
      {0x00, HIDP_STATUS_SUCCESS, 10},  //    0
      {0x64, HIDP_STATUS_SUCCESS, 20},  //  100
      {0x65, HIDP_STATUS_VALUE_OUT_OF_RANGE, 0},
  };
  for (const auto& w : wheel) {
    const Bytes report = {0x05, 0x00, w.byte};
    std::int32_t scaled = -1;
    EXPECT_EQ(data.GetScaledUsageValue(HidP_Input, 0x01, 0, 0x38, scaled, report.data(), report.size()),
              w.status)
        << int(w.byte);
    EXPECT_EQ(scaled, w.scaled) << int(w.byte);
    std::uint32_t raw = 0;
    EXPECT_EQ(data.GetUsageValue(HidP_Input, 0x01, 0, 0x38, raw, report.data(), report.size()),
              HIDP_STATUS_SUCCESS);
    EXPECT_EQ(raw, w.byte);
  }
}

}  // namespace
}  // namespace ostrel
