#include "platform/hid/HidPreparsedData.h"

#include <algorithm>

namespace ostrel {

namespace {

// Up to 32 bits of a field starting `bit` bits into the report; bits past the
// end of the report read as 0.
std::uint32_t ExtractBits(const std::uint8_t* report, std::size_t length, std::uint32_t bit,
                          std::uint32_t size) {
  size = std::min<std::uint32_t>(size, 32);
  std::uint64_t value = 0;
  std::uint32_t got = 0;
  while (got < size) {
    const std::size_t index = bit >> 3;
    if (index >= length) break;
    const std::uint32_t offset = bit & 7;
    const std::uint32_t take = std::min<std::uint32_t>(8 - offset, size - got);
    value |= std::uint64_t((report[index] >> offset) & ((1u << take) - 1)) << got;
    got += take;
    bit += take;
  }
  return static_cast<std::uint32_t>(value);
}

std::int64_t SignExtend(std::uint32_t raw, std::uint32_t bits) {
  if (bits == 0 || bits >= 32) return static_cast<std::int32_t>(raw);
  const std::uint32_t sign = 1u << (bits - 1);
  return static_cast<std::int64_t>(raw ^ sign) - static_cast<std::int64_t>(sign);
}

bool ValidKind(HIDP_REPORT_TYPE kind) { return kind >= HidP_Input && kind <= HidP_Feature; }

template <typename Caps>
void FillCommon(const HidPreparsedData::Cap& cap, Caps& out) {
  out.UsagePage = cap.UsagePage;
  out.ReportID = cap.ReportID;
  out.BitField = cap.BitField;
  out.LinkCollection = cap.LinkCollection;
  out.LinkUsage = cap.LinkUsage;
  out.LinkUsagePage = cap.LinkUsagePage;
  out.IsRange = cap.IsRange;
  out.IsAbsolute = cap.IsAbsolute;
  out.ReportCount = cap.ReportCount;
  if (cap.IsRange) {
    out.Range.UsageMin = cap.UsageMin;
    out.Range.UsageMax = cap.UsageMax;
    out.Range.DataIndexMin = cap.DataIndexMin;
    out.Range.DataIndexMax = cap.DataIndexMax;
  } else {
    out.NotRange.Usage = cap.UsageMin;
    out.NotRange.DataIndex = cap.DataIndexMin;
  }
}

bool Matches(const HidPreparsedData::Cap& cap, std::uint16_t usagePage, std::uint16_t linkCollection,
             std::uint16_t usage) {
  if (usagePage != 0 && cap.UsagePage != usagePage) return false;
  if (linkCollection != 0 && cap.LinkCollection != linkCollection) return false;
  if (usage != 0 && (usage < cap.UsageMin || usage > cap.UsageMax)) return false;
  return true;
}

}  // namespace

void HidPreparsedData::GetCaps(HIDP_CAPS& caps) const {
  caps = HIDP_CAPS();
  caps.Usage = usage_;
  caps.UsagePage = usagePage_;
  caps.InputReportByteLength = byteLength_[HidP_Input];
  caps.OutputReportByteLength = byteLength_[HidP_Output];
  caps.FeatureReportByteLength = byteLength_[HidP_Feature];
  caps.NumberLinkCollectionNodes = static_cast<std::uint16_t>(links_.size());
  std::array<std::uint16_t, kHidReportKinds> buttons = {}, values = {};
  for (int kind = 0; kind < kHidReportKinds; ++kind)
    for (const auto& cap : caps_[kind]) ++(cap.IsButtonCap ? buttons : values)[kind];
  caps.NumberInputButtonCaps = buttons[HidP_Input];
  caps.NumberInputValueCaps = values[HidP_Input];
  caps.NumberInputDataIndices = dataIndices_[HidP_Input];
  caps.NumberOutputButtonCaps = buttons[HidP_Output];
  caps.NumberOutputValueCaps = values[HidP_Output];
  caps.NumberOutputDataIndices = dataIndices_[HidP_Output];
  caps.NumberFeatureButtonCaps = buttons[HidP_Feature];
  caps.NumberFeatureValueCaps = values[HidP_Feature];
  caps.NumberFeatureDataIndices = dataIndices_[HidP_Feature];
}

HIDP_STATUS HidPreparsedData::GetSpecificButtonCaps(HIDP_REPORT_TYPE kind, std::uint16_t usagePage,
                                                    std::uint16_t linkCollection, std::uint16_t usage,
                                                    std::vector<HIDP_BUTTON_CAPS>& out) const {
  out.clear();
  if (!ValidKind(kind)) return HIDP_STATUS_INVALID_REPORT_TYPE;
  for (const auto& cap : caps_[kind]) {
    if (!cap.IsButtonCap || !Matches(cap, usagePage, linkCollection, usage)) continue;
    HIDP_BUTTON_CAPS button;
    FillCommon(cap, button);
    out.push_back(button);
  }
  return out.empty() ? HIDP_STATUS_USAGE_NOT_FOUND : HIDP_STATUS_SUCCESS;
}

HIDP_STATUS HidPreparsedData::GetSpecificValueCaps(HIDP_REPORT_TYPE kind, std::uint16_t usagePage,
                                                   std::uint16_t linkCollection, std::uint16_t usage,
                                                   std::vector<HIDP_VALUE_CAPS>& out) const {
  out.clear();
  if (!ValidKind(kind)) return HIDP_STATUS_INVALID_REPORT_TYPE;
  for (const auto& cap : caps_[kind]) {
    if (cap.IsButtonCap || !Matches(cap, usagePage, linkCollection, usage)) continue;
    HIDP_VALUE_CAPS value;
    FillCommon(cap, value);
    value.HasNull = cap.HasNull;
    value.BitSize = cap.BitSize;
    value.UnitsExp = cap.UnitsExp;
    value.Units = cap.Units;
    value.LogicalMin = cap.LogicalMin;
    value.LogicalMax = cap.LogicalMax;
    value.PhysicalMin = cap.PhysicalMin;
    value.PhysicalMax = cap.PhysicalMax;
    out.push_back(value);
  }
  return out.empty() ? HIDP_STATUS_USAGE_NOT_FOUND : HIDP_STATUS_SUCCESS;
}

std::uint32_t HidPreparsedData::MaxUsageListLength(HIDP_REPORT_TYPE kind, std::uint16_t usagePage) const {
  if (!ValidKind(kind)) return 0;
  std::uint32_t total = 0;
  for (const auto& cap : caps_[kind])
    if (cap.IsButtonCap && cap.ArrayField < 0 && (usagePage == 0 || cap.UsagePage == usagePage))
      total += cap.ReportCount;
  for (const auto& array : arrays_) {
    if (array.Kind != kind) continue;
    const bool pageMatches =
        usagePage == 0 || std::any_of(array.Entries.begin(), array.Entries.end(),
                                      [&](const auto& e) { return e.UsagePage == usagePage; });
    if (pageMatches) total += array.ReportCount;
  }
  return total;
}

HIDP_STATUS HidPreparsedData::CheckReport(HIDP_REPORT_TYPE kind, const std::uint8_t* report,
                                          std::size_t reportLength) const {
  if (!ValidKind(kind)) return HIDP_STATUS_INVALID_REPORT_TYPE;
  if (report == nullptr || byteLength_[kind] == 0 || reportLength != byteLength_[kind])
    return HIDP_STATUS_INVALID_REPORT_LENGTH;
  return HIDP_STATUS_SUCCESS;
}

HIDP_STATUS HidPreparsedData::GetUsages(HIDP_REPORT_TYPE kind, std::uint16_t usagePage,
                                        std::uint16_t linkCollection, std::uint16_t* usages,
                                        std::uint32_t& length, const std::uint8_t* report,
                                        std::size_t reportLength) const {
  const std::uint32_t room = usages ? length : 0;
  length = 0;
  if (HIDP_STATUS status = CheckReport(kind, report, reportLength); status != HIDP_STATUS_SUCCESS)
    return status;
  const std::uint8_t reportId = report[0];
  bool pageFound = false, reportFound = false, overflow = false;
  auto add = [&](std::uint16_t usage) {
    if (length < room)
      usages[length++] = usage;
    else
      overflow = true;
  };

  for (const auto& cap : caps_[kind]) {
    if (!cap.IsButtonCap || cap.ArrayField >= 0 || !Matches(cap, usagePage, linkCollection, 0)) continue;
    pageFound = true;
    if (cap.ReportID != reportId) continue;
    reportFound = true;
    const std::uint32_t firstBit = cap.BytePosition * 8u + cap.BitPosition;
    bool singleSeen = false;
    for (std::uint32_t field = 0; field < cap.ReportCount; ++field) {
      if (!ExtractBits(report, reportLength, firstBit + field * cap.BitSize, 1)) continue;
      if (!cap.IsRange) {
        // Several bits sharing one usage report it once.
        if (!singleSeen) add(cap.UsageMin);
        singleSeen = true;
      } else if (field <= std::uint32_t(cap.UsageMax - cap.UsageMin)) {
        add(static_cast<std::uint16_t>(cap.UsageMin + field));
      }
    }
  }

  for (const auto& array : arrays_) {
    if (array.Kind != kind || (linkCollection != 0 && array.LinkCollection != linkCollection)) continue;
    if (usagePage != 0 && std::none_of(array.Entries.begin(), array.Entries.end(),
                                       [&](const auto& e) { return e.UsagePage == usagePage; }))
      continue;
    pageFound = true;
    if (array.ReportID != reportId) continue;
    reportFound = true;
    for (std::uint32_t field = 0; field < array.ReportCount; ++field) {
      const std::uint32_t raw =
          ExtractBits(report, reportLength, array.FirstBit + field * array.BitSize, array.BitSize);
      const std::int64_t value = array.LogicalMin < 0 ? SignExtend(raw, array.BitSize) : std::int64_t(raw);
      // A selector outside the logical range means no control is active.
      if (value < array.LogicalMin || value > array.LogicalMax) continue;
      std::int64_t index = value - array.LogicalMin;
      for (const auto& entry : array.Entries) {
        const std::int64_t size = std::int64_t(entry.UsageMax) - entry.UsageMin + 1;
        if (index < size) {
          // Usage 0 means "no control" and would end a 0-terminated list.
          const auto usage = static_cast<std::uint16_t>(entry.UsageMin + index);
          if (usage != 0 && (usagePage == 0 || entry.UsagePage == usagePage)) add(usage);
          break;
        }
        index -= size;
      }
    }
  }

  if (!pageFound) return HIDP_STATUS_USAGE_NOT_FOUND;
  if (!reportFound) return HIDP_STATUS_INCOMPATIBLE_REPORT_ID;
  return overflow ? HIDP_STATUS_BUFFER_TOO_SMALL : HIDP_STATUS_SUCCESS;
}

HIDP_STATUS HidPreparsedData::FindValue(HIDP_REPORT_TYPE kind, std::uint16_t usagePage,
                                        std::uint16_t linkCollection, std::uint16_t usage,
                                        const std::uint8_t* report, std::size_t reportLength,
                                        const Cap*& found, std::uint32_t& field) const {
  found = nullptr;
  if (HIDP_STATUS status = CheckReport(kind, report, reportLength); status != HIDP_STATUS_SUCCESS)
    return status;
  bool otherReport = false;
  for (const auto& cap : caps_[kind]) {
    if (cap.IsButtonCap || cap.UsagePage != usagePage || usage < cap.UsageMin || usage > cap.UsageMax)
      continue;
    if (linkCollection != 0 && cap.LinkCollection != linkCollection) continue;
    if (cap.ReportID != report[0]) {
      otherReport = true;
      continue;
    }
    found = &cap;
    field = cap.IsRange ? std::min<std::uint32_t>(usage - cap.UsageMin, cap.ReportCount - 1u) : 0;
    return HIDP_STATUS_SUCCESS;
  }
  return otherReport ? HIDP_STATUS_INCOMPATIBLE_REPORT_ID : HIDP_STATUS_USAGE_NOT_FOUND;
}

HIDP_STATUS HidPreparsedData::GetUsageValue(HIDP_REPORT_TYPE kind, std::uint16_t usagePage,
                                            std::uint16_t linkCollection, std::uint16_t usage,
                                            std::uint32_t& value, const std::uint8_t* report,
                                            std::size_t reportLength) const {
  value = 0;
  const Cap* cap = nullptr;
  std::uint32_t field = 0;
  const HIDP_STATUS status =
      FindValue(kind, usagePage, linkCollection, usage, report, reportLength, cap, field);
  if (status != HIDP_STATUS_SUCCESS) return status;
  value = ExtractBits(report, reportLength, cap->BytePosition * 8u + cap->BitPosition + field * cap->BitSize,
                      cap->BitSize);
  return HIDP_STATUS_SUCCESS;
}

HIDP_STATUS HidPreparsedData::GetScaledUsageValue(HIDP_REPORT_TYPE kind, std::uint16_t usagePage,
                                                  std::uint16_t linkCollection, std::uint16_t usage,
                                                  std::int32_t& value, const std::uint8_t* report,
                                                  std::size_t reportLength) const {
  value = 0;
  const Cap* cap = nullptr;
  std::uint32_t field = 0;
  const HIDP_STATUS status =
      FindValue(kind, usagePage, linkCollection, usage, report, reportLength, cap, field);
  if (status != HIDP_STATUS_SUCCESS) return status;
  const std::uint32_t raw = ExtractBits(
      report, reportLength, cap->BytePosition * 8u + cap->BitPosition + field * cap->BitSize, cap->BitSize);
  const std::int64_t logical = cap->LogicalMin < 0 ? SignExtend(raw, cap->BitSize) : std::int64_t(raw);
  const std::int64_t lmin = cap->LogicalMin, lmax = cap->LogicalMax;
  std::int64_t pmin = cap->PhysicalMin, pmax = cap->PhysicalMax;
  // Physical extents both 0 default to the logical ones (the HID rule).
  if (pmin == 0 && pmax == 0) {
    pmin = lmin;
    pmax = lmax;
  }
  if (lmin >= lmax || pmin > pmax) return HIDP_STATUS_BAD_LOG_PHY_VALUES;
  if (logical < lmin || logical > lmax)
    return cap->HasNull ? HIDP_STATUS_NULL : HIDP_STATUS_VALUE_OUT_OF_RANGE;
  const auto scaled =
      static_cast<std::int64_t>(__int128(logical - lmin) * (pmax - pmin) / (lmax - lmin) + pmin);
  value = static_cast<std::int32_t>(std::clamp<std::int64_t>(scaled, INT32_MIN, INT32_MAX));
  return HIDP_STATUS_SUCCESS;
}

}  // namespace ostrel
