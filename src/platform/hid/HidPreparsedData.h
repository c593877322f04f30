#pragma once
// What the report descriptor says about one top-level collection, in the form
// the device link expects of a HID interface: capabilities with their bit
// positions, link collections and report lengths, and the operations that
// decode a report with them.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/hid/HidTypes.h"

namespace ostrel {

class HidPreparsedData {
 public:
  // One capability: a run of report fields that share a usage (or a usage
  // range) and a layout.
  struct Cap {
    std::uint16_t UsagePage = 0;
    std::uint8_t ReportID = 0;
    std::uint8_t BitPosition = 0;    // first bit inside BytePosition
    std::uint16_t BitSize = 0;       // bits of one field
    std::uint16_t ReportCount = 0;   // fields
    std::uint16_t BytePosition = 0;  // byte of the first field, the report id being byte 0
    std::uint32_t BitCount = 0;      // BitSize * ReportCount
    std::uint16_t BitField = 0;      // the main item's data
    std::uint16_t LinkCollection = 0;
    std::uint16_t LinkUsagePage = 0;
    std::uint16_t LinkUsage = 0;
    bool IsMultipleItemsForArray = false;
    bool IsButtonCap = false;
    bool IsPadding = false;  // a constant field that has a usage
    bool IsAbsolute = false;
    bool IsRange = false;
    bool HasNull = false;
    std::uint16_t UsageMin = 0;  // the single usage twice when not a range
    std::uint16_t UsageMax = 0;
    std::uint16_t DataIndexMin = 0;
    std::uint16_t DataIndexMax = 0;
    // Buttons made of single bits carry 0 here; arrays and values their range.
    std::int32_t LogicalMin = 0;
    std::int32_t LogicalMax = 0;
    std::int32_t PhysicalMin = 0;
    std::int32_t PhysicalMax = 0;
    std::uint32_t Units = 0;
    std::uint32_t UnitsExp = 0;
    // Arrays: index into the array fields; -1 for bitmap buttons and values.
    std::int32_t ArrayField = -1;
  };

  // One array field: the selector values LogicalMin.. map to the usages of
  // its entries in declaration order.
  struct ArrayEntry {
    std::uint16_t UsagePage = 0;
    std::uint16_t UsageMin = 0;
    std::uint16_t UsageMax = 0;
  };
  struct ArrayField {
    HIDP_REPORT_TYPE Kind = HidP_Input;
    std::uint8_t ReportID = 0;
    std::uint32_t FirstBit = 0;  // from the start of the report, id byte included
    std::uint16_t BitSize = 0;
    std::uint16_t ReportCount = 0;
    std::int32_t LogicalMin = 0;
    std::int32_t LogicalMax = 0;
    std::uint16_t LinkCollection = 0;
    std::vector<ArrayEntry> Entries;
  };

  std::uint16_t UsagePage() const { return usagePage_; }
  std::uint16_t Usage() const { return usage_; }
  const std::vector<Cap>& Caps(HIDP_REPORT_TYPE kind) const { return caps_[kind]; }
  const std::vector<HIDP_LINK_COLLECTION_NODE>& LinkCollections() const { return links_; }
  std::uint16_t ReportByteLength(HIDP_REPORT_TYPE kind) const { return byteLength_[kind]; }
  // 1 + the data bytes of one report, 0 when the collection has no such report.
  std::uint16_t ReportLength(HIDP_REPORT_TYPE kind, std::uint8_t reportId) const {
    return reportLength_[kind][reportId];
  }
  // Whether the whole interface descriptor numbers its reports.
  bool UsesReportIds() const { return usesReportIds_; }

  void GetCaps(HIDP_CAPS& caps) const;
  // Every capability of the kind matching the filters (0 = any).
  HIDP_STATUS GetSpecificButtonCaps(HIDP_REPORT_TYPE kind, std::uint16_t usagePage,
                                    std::uint16_t linkCollection, std::uint16_t usage,
                                    std::vector<HIDP_BUTTON_CAPS>& out) const;
  HIDP_STATUS GetSpecificValueCaps(HIDP_REPORT_TYPE kind, std::uint16_t usagePage,
                                   std::uint16_t linkCollection, std::uint16_t usage,
                                   std::vector<HIDP_VALUE_CAPS>& out) const;
  // The most usages GetUsages can return for the kind and usage page (0 = any).
  std::uint32_t MaxUsageListLength(HIDP_REPORT_TYPE kind, std::uint16_t usagePage) const;

  // The pressed button usages of the page (linkCollection 0 = any) in the
  // report, whose first byte is its id and whose length is the kind's
  // report byte length. `length` is the list size in and the count out.
  HIDP_STATUS GetUsages(HIDP_REPORT_TYPE kind, std::uint16_t usagePage, std::uint16_t linkCollection,
                        std::uint16_t* usages, std::uint32_t& length, const std::uint8_t* report,
                        std::size_t reportLength) const;
  HIDP_STATUS GetUsageValue(HIDP_REPORT_TYPE kind, std::uint16_t usagePage, std::uint16_t linkCollection,
                            std::uint16_t usage, std::uint32_t& value, const std::uint8_t* report,
                            std::size_t reportLength) const;
  HIDP_STATUS GetScaledUsageValue(HIDP_REPORT_TYPE kind, std::uint16_t usagePage,
                                  std::uint16_t linkCollection, std::uint16_t usage, std::int32_t& value,
                                  const std::uint8_t* report, std::size_t reportLength) const;

 private:
  friend class HidDescriptorReader;  // fills the record while reading a descriptor

  // Finds the value capability holding the usage and the field index in it.
  HIDP_STATUS FindValue(HIDP_REPORT_TYPE kind, std::uint16_t usagePage, std::uint16_t linkCollection,
                        std::uint16_t usage, const std::uint8_t* report, std::size_t reportLength,
                        const Cap*& cap, std::uint32_t& field) const;
  HIDP_STATUS CheckReport(HIDP_REPORT_TYPE kind, const std::uint8_t* report, std::size_t reportLength) const;

  std::uint16_t usagePage_ = 0;
  std::uint16_t usage_ = 0;
  bool usesReportIds_ = false;
  std::array<std::vector<Cap>, kHidReportKinds> caps_;
  std::array<std::uint16_t, kHidReportKinds> dataIndices_ = {};
  std::array<std::uint16_t, kHidReportKinds> byteLength_ = {};
  std::array<std::array<std::uint16_t, 256>, kHidReportKinds> reportLength_ = {};
  std::vector<ArrayField> arrays_;
  std::vector<HIDP_LINK_COLLECTION_NODE> links_;
};

}  // namespace ostrel
