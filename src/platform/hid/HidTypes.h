#pragma once
// The records and status codes of the HID layer, shaped like the ones the
// device link was written against (capabilities, attributes, capability
// arrays), so that the link keeps its names and algorithms.

#include <cstdint>
#include <vector>

namespace ostrel {

enum HIDP_REPORT_TYPE : int { HidP_Input = 0, HidP_Output = 1, HidP_Feature = 2 };
inline constexpr int kHidReportKinds = 3;

using HIDP_STATUS = std::uint32_t;
inline constexpr HIDP_STATUS HIDP_STATUS_SUCCESS = 0x00110000u;
inline constexpr HIDP_STATUS HIDP_STATUS_NULL = 0x80110001u;
inline constexpr HIDP_STATUS HIDP_STATUS_INVALID_PREPARSED_DATA = 0xC0110001u;
inline constexpr HIDP_STATUS HIDP_STATUS_INVALID_REPORT_TYPE = 0xC0110002u;
inline constexpr HIDP_STATUS HIDP_STATUS_INVALID_REPORT_LENGTH = 0xC0110003u;
inline constexpr HIDP_STATUS HIDP_STATUS_USAGE_NOT_FOUND = 0xC0110004u;
inline constexpr HIDP_STATUS HIDP_STATUS_VALUE_OUT_OF_RANGE = 0xC0110005u;
inline constexpr HIDP_STATUS HIDP_STATUS_BAD_LOG_PHY_VALUES = 0xC0110006u;
inline constexpr HIDP_STATUS HIDP_STATUS_BUFFER_TOO_SMALL = 0xC0110007u;
inline constexpr HIDP_STATUS HIDP_STATUS_INTERNAL_ERROR = 0xC0110008u;
inline constexpr HIDP_STATUS HIDP_STATUS_INCOMPATIBLE_REPORT_ID = 0xC011000Au;

struct HIDP_CAPS {
  std::uint16_t Usage = 0;
  std::uint16_t UsagePage = 0;
  std::uint16_t InputReportByteLength = 0;
  std::uint16_t OutputReportByteLength = 0;
  std::uint16_t FeatureReportByteLength = 0;
  std::uint16_t Reserved[17] = {};
  std::uint16_t NumberLinkCollectionNodes = 0;
  std::uint16_t NumberInputButtonCaps = 0;
  std::uint16_t NumberInputValueCaps = 0;
  std::uint16_t NumberInputDataIndices = 0;
  std::uint16_t NumberOutputButtonCaps = 0;
  std::uint16_t NumberOutputValueCaps = 0;
  std::uint16_t NumberOutputDataIndices = 0;
  std::uint16_t NumberFeatureButtonCaps = 0;
  std::uint16_t NumberFeatureValueCaps = 0;
  std::uint16_t NumberFeatureDataIndices = 0;
};

struct HIDD_ATTRIBUTES {
  std::uint32_t Size = sizeof(HIDD_ATTRIBUTES);
  std::uint16_t VendorID = 0;
  std::uint16_t ProductID = 0;
  std::uint16_t VersionNumber = 0;
};

// Both views of a capability's usage: a range, or a single usage. The two
// structures share their layout, so either may be read.
struct HIDP_RANGE {
  std::uint16_t UsageMin = 0, UsageMax = 0;
  std::uint16_t StringMin = 0, StringMax = 0;
  std::uint16_t DesignatorMin = 0, DesignatorMax = 0;
  std::uint16_t DataIndexMin = 0, DataIndexMax = 0;
};
struct HIDP_NOT_RANGE {
  std::uint16_t Usage = 0, Reserved1 = 0;
  std::uint16_t StringIndex = 0, Reserved2 = 0;
  std::uint16_t DesignatorIndex = 0, Reserved3 = 0;
  std::uint16_t DataIndex = 0, Reserved4 = 0;
};

struct HIDP_BUTTON_CAPS {
  std::uint16_t UsagePage = 0;
  std::uint8_t ReportID = 0;
  bool IsAlias = false;
  std::uint16_t BitField = 0;
  std::uint16_t LinkCollection = 0;
  std::uint16_t LinkUsage = 0;
  std::uint16_t LinkUsagePage = 0;
  bool IsRange = false;
  bool IsStringRange = false;
  bool IsDesignatorRange = false;
  bool IsAbsolute = false;
  std::uint16_t ReportCount = 0;
  union {
    HIDP_RANGE Range;
    HIDP_NOT_RANGE NotRange;
  };
  HIDP_BUTTON_CAPS() : Range() {}
};

struct HIDP_VALUE_CAPS {
  std::uint16_t UsagePage = 0;
  std::uint8_t ReportID = 0;
  bool IsAlias = false;
  std::uint16_t BitField = 0;
  std::uint16_t LinkCollection = 0;
  std::uint16_t LinkUsage = 0;
  std::uint16_t LinkUsagePage = 0;
  bool IsRange = false;
  bool IsStringRange = false;
  bool IsDesignatorRange = false;
  bool IsAbsolute = false;
  bool HasNull = false;
  std::uint16_t BitSize = 0;
  std::uint16_t ReportCount = 0;
  std::uint32_t UnitsExp = 0;
  std::uint32_t Units = 0;
  std::int32_t LogicalMin = 0, LogicalMax = 0;
  std::int32_t PhysicalMin = 0, PhysicalMax = 0;
  union {
    HIDP_RANGE Range;
    HIDP_NOT_RANGE NotRange;
  };
  HIDP_VALUE_CAPS() : Range() {}
};

struct HIDP_LINK_COLLECTION_NODE {
  std::uint16_t LinkUsage = 0;
  std::uint16_t LinkUsagePage = 0;
  std::uint16_t Parent = 0;
  std::uint16_t NumberOfChildren = 0;
  std::uint16_t NextSibling = 0;
  std::uint16_t FirstChild = 0;
  std::uint8_t CollectionType = 0;
  bool IsAlias = false;
};

// One decoded element of a report: a button capability (the usages pressed in
// the last report) or one usage of a value capability.
struct HidDataItem {
  bool IsButtonData = false;
  std::uint8_t Reserved = 0;
  std::uint16_t UsagePage = 0;
  HIDP_STATUS Status = HIDP_STATUS_SUCCESS;
  std::uint32_t ReportID = 0;
  bool IsDataSet = false;
  struct {
    std::uint32_t UsageMin = 0;
    std::uint32_t UsageMax = 0;
    std::uint32_t MaxUsageLength = 0;
    std::vector<std::uint16_t> Usages;  // MaxUsageLength entries, 0-terminated when shorter
  } ButtonData;
  struct {
    std::uint16_t Usage = 0;
    std::uint16_t Reserved = 0;
    std::uint32_t Value = 0;
    std::int32_t ScaledValue = 0;
  } ValueData;
};

}  // namespace ostrel
