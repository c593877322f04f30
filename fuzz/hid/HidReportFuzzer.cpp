// Report decoding: a descriptor and a report chosen by the fuzzer. Input
// layout: two bytes of descriptor length (little endian), the descriptor,
// then the report. When the descriptor does not parse, a built-in one is
// used so the time goes into decoding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/hid/HidDescriptorParser.h"

namespace {

// Consumer control (array) and a vendor collection with report ids, then a
// mouse-like collection with values and a negative logical minimum.
const std::vector<std::uint8_t> kFallback = {
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x03, 0x15, 0x01, 0x26, 0x8C, 0x02, 0x19, 0x01,
    0x2A, 0x8C, 0x02, 0x75, 0x10, 0x95, 0x02, 0x81, 0x00, 0xC0, 0x05, 0x01, 0x09, 0x02, 0xA1,
    0x01, 0x85, 0x02, 0x05, 0x09, 0x19, 0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x95, 0x05,
    0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x03, 0x81, 0x01, 0x05, 0x01, 0x09, 0x30, 0x09,
    0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  std::size_t descriptorSize = data[0] | (std::size_t(data[1]) << 8);
  if (descriptorSize > size - 2) descriptorSize = size - 2;
  std::vector<ostrel::HidPreparsedData> collections;
  if (!ostrel::HidDescriptorParser::Parse(data + 2, descriptorSize, collections) &&
      !ostrel::HidDescriptorParser::Parse(kFallback.data(), kFallback.size(), collections))
    std::abort();
  const std::uint8_t* reportBytes = data + 2 + descriptorSize;
  const std::size_t reportSize = size - 2 - descriptorSize;
  for (const auto& c : collections) {
    for (int k = 0; k < ostrel::kHidReportKinds; ++k) {
      const auto kind = static_cast<ostrel::HIDP_REPORT_TYPE>(k);
      // The decoder is given a report of exactly the kind's length, as the
      // link delivers them; the fuzzer's bytes fill it.
      std::vector<std::uint8_t> report(c.ReportByteLength(kind), 0);
      for (std::size_t i = 0; i < report.size() && i < reportSize; ++i) report[i] = reportBytes[i];
      const std::uint32_t room = c.MaxUsageListLength(kind, 0);
      std::vector<std::uint16_t> usages(room);
      std::uint32_t length = room;
      c.GetUsages(kind, 0, 0, usages.data(), length, report.data(), report.size());
      if (length > room) std::abort();
      for (const auto& cap : c.Caps(kind)) {
        length = room;
        c.GetUsages(kind, cap.UsagePage, cap.LinkCollection, usages.data(), length, report.data(),
                    report.size());
        if (length > room) std::abort();
        std::uint32_t raw = 0;
        std::int32_t scaled = 0;
        c.GetUsageValue(kind, cap.UsagePage, 0, cap.UsageMax, raw, report.data(), report.size());
        c.GetScaledUsageValue(kind, cap.UsagePage, 0, cap.UsageMin, scaled, report.data(), report.size());
      }
      // Reports of the wrong length are refused, never read past.
      std::uint32_t raw = 0;
      c.GetUsageValue(kind, 1, 0, 0x30, raw, reportBytes, reportSize);
      length = room;
      c.GetUsages(kind, 0, 0, usages.data(), length, reportBytes, reportSize);
    }
  }
  return 0;
}
