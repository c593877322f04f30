// Any byte string as a report descriptor: the parser must refuse or accept
// it without crashing, and what it accepts must be self-consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/hid/HidDescriptorParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<ostrel::HidPreparsedData> collections;
  if (!ostrel::HidDescriptorParser::Parse(data, size, collections)) return 0;
  for (const auto& c : collections) {
    ostrel::HIDP_CAPS caps;
    c.GetCaps(caps);
    for (int k = 0; k < ostrel::kHidReportKinds; ++k) {
      const auto kind = static_cast<ostrel::HIDP_REPORT_TYPE>(k);
      const std::uint16_t length = c.ReportByteLength(kind);
      if (length > ostrel::HidDescriptorParser::kMaxReportBytes) std::abort();
      for (const auto& cap : c.Caps(kind)) {
        // Every field lies inside the kind's report.
        const std::uint64_t end = cap.BytePosition * 8ull + cap.BitPosition + cap.BitCount;
        if (end > length * 8ull) std::abort();
      }
      std::vector<ostrel::HIDP_BUTTON_CAPS> buttons;
      std::vector<ostrel::HIDP_VALUE_CAPS> values;
      c.GetSpecificButtonCaps(kind, 0, 0, 0, buttons);
      c.GetSpecificValueCaps(kind, 0, 0, 0, values);
      c.MaxUsageListLength(kind, 0);
    }
    if (c.LinkCollections().empty()) std::abort();
  }
  return 0;
}
