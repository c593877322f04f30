#include "platform/hid/HidDescriptorParser.h"

#include <algorithm>
#include <array>
#include <optional>

namespace ostrel {

namespace {

// Item tags of the short item format, by item type.
enum MainTag : std::uint8_t {
  kInput = 0x8,
  kOutput = 0x9,
  kCollection = 0xA,
  kFeature = 0xB,
  kEndCollection = 0xC
};
enum GlobalTag : std::uint8_t {
  kUsagePage = 0x0,
  kLogicalMinimum = 0x1,
  kLogicalMaximum = 0x2,
  kPhysicalMinimum = 0x3,
  kPhysicalMaximum = 0x4,
  kUnitExponent = 0x5,
  kUnit = 0x6,
  kReportSize = 0x7,
  kReportId = 0x8,
  kReportCount = 0x9,
  kPush = 0xA,
  kPop = 0xB,
};
enum LocalTag : std::uint8_t { kUsage = 0x0, kUsageMinimum = 0x1, kUsageMaximum = 0x2, kDelimiter = 0xA };
enum ItemType : std::uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };

constexpr std::array<std::uint8_t, 4> kDataSizes = {0, 1, 2, 4};
constexpr std::uint8_t kLongItemPrefix = 0xFE;
constexpr std::uint32_t kMaxDataIndex = 0xFFFF;

struct GlobalState {
  std::uint16_t usagePage = 0;
  std::int32_t logicalMin = 0, logicalMax = 0;
  std::int32_t physicalMin = 0, physicalMax = 0;
  std::uint32_t unitExp = 0, unit = 0;
  std::uint32_t reportSize = 0, reportCount = 0;
  std::uint8_t reportId = 0;
};

struct UsageEntry {
  std::uint16_t page = 0;
  std::uint16_t min = 0, max = 0;
  bool isRange = false;
  std::uint32_t Size() const { return isRange ? std::uint32_t(max - min) + 1 : 1; }
};

struct LocalState {
  std::vector<UsageEntry> usages;
  std::optional<std::pair<std::uint16_t, std::uint16_t>> rangeMin, rangeMax;  // (page, usage)
  bool inDelimiter = false;
  bool delimiterTaken = false;
  void Clear() { *this = LocalState(); }
};

// The collection being read, with its per-report bit counters.
struct OpenCollection {
  HidPreparsedData data;
  std::array<std::uint32_t, kHidReportKinds> nextDataIndex = {};
  std::array<std::array<std::uint32_t, 256>, kHidReportKinds> bits = {};
  std::array<std::array<bool, 256>, kHidReportKinds> used = {};
};

}  // namespace

// The reading state of one descriptor (kept out of the public header).
class HidDescriptorReader {
 public:
  HidDescriptorReader(std::vector<HidPreparsedData>& out, std::string& error) : out_(out), error_(error) {}

  bool Run(const std::uint8_t* data, std::size_t size);

 private:
  bool Fail(const char* why) {
    error_ = why;
    return false;
  }
  bool Main(std::uint8_t tag, std::uint32_t value);
  bool Global(std::uint8_t tag, std::uint32_t value, std::int32_t signedValue, std::size_t size);
  bool Local(std::uint8_t tag, std::uint32_t value, std::size_t size);
  bool Field(HIDP_REPORT_TYPE kind, std::uint32_t flags);
  bool AddVariableCaps(HIDP_REPORT_TYPE kind, std::uint32_t flags, std::uint32_t firstBit);
  bool AddArrayCaps(HIDP_REPORT_TYPE kind, std::uint32_t flags, std::uint32_t firstBit);
  bool TakeDataIndices(HIDP_REPORT_TYPE kind, std::uint32_t count, std::uint16_t& first);
  void FillLink(HidPreparsedData::Cap& cap) const;
  void AddUsage(const UsageEntry& entry);
  void Finish(OpenCollection& collection);

  std::vector<HidPreparsedData>& out_;
  std::string& error_;
  GlobalState global_;
  std::vector<GlobalState> stack_;
  LocalState local_;
  std::optional<OpenCollection> current_;
  std::vector<std::uint16_t> linkStack_;  // link collection indices, innermost last
  bool usesReportIds_ = false;
};

bool HidDescriptorReader::Run(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size == 0) return Fail("empty descriptor");
  if (size > HidDescriptorParser::kMaxDescriptorSize) return Fail("descriptor too long");
  std::size_t pos = 0;
  while (pos < size) {
    const std::uint8_t prefix = data[pos];
    if (prefix == kLongItemPrefix) {
      // Long items carry no meaning for reports; they are skipped whole.
      if (pos + 3 > size) return Fail("truncated long item");
      const std::size_t length = data[pos + 1];
      if (pos + 3 + length > size) return Fail("truncated long item");
      pos += 3 + length;
      continue;
    }
    const std::size_t length = kDataSizes[prefix & 0x3];
    if (pos + 1 + length > size) return Fail("truncated item");
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < length; ++i) value |= std::uint32_t(data[pos + 1 + i]) << (8 * i);
    std::int32_t signedValue = static_cast<std::int32_t>(value);
    if (length == 1) signedValue = static_cast<std::int8_t>(value);
    if (length == 2) signedValue = static_cast<std::int16_t>(value);
    const std::uint8_t type = (prefix >> 2) & 0x3;
    const std::uint8_t tag = prefix >> 4;
    pos += 1 + length;
    bool ok = true;
    switch (type) {
      case kMain:
        ok = Main(tag, value);
        break;
      case kGlobal:
        ok = Global(tag, value, signedValue, length);
        break;
      case kLocal:
        ok = Local(tag, value, length);
        break;
      default:
        break;  // reserved item type: nothing to learn from it
    }
    if (!ok) return false;
  }
  if (current_) return Fail("collection not closed");
  if (local_.inDelimiter) return Fail("delimiter not closed");
  if (out_.empty()) return Fail("no top-level collection");
  for (auto& collection : out_) collection.usesReportIds_ = usesReportIds_;
  return true;
}

bool HidDescriptorReader::Main(std::uint8_t tag, std::uint32_t value) {
  if (local_.inDelimiter) return Fail("main item inside a delimiter set");
  switch (tag) {
    case kInput:
      return Field(HidP_Input, value);
    case kOutput:
      return Field(HidP_Output, value);
    case kFeature:
      return Field(HidP_Feature, value);
    case kCollection: {
      if (linkStack_.size() >= HidDescriptorParser::kMaxCollectionDepth)
        return Fail("collections nested too deep");
      HIDP_LINK_COLLECTION_NODE node;
      node.LinkUsagePage = global_.usagePage;
      if (!local_.usages.empty()) {
        node.LinkUsagePage = local_.usages.front().page;
        node.LinkUsage = local_.usages.front().min;
      }
      node.CollectionType = static_cast<std::uint8_t>(value);
      if (!current_) {
        current_.emplace();
        current_->data.usagePage_ = node.LinkUsagePage;
        current_->data.usage_ = node.LinkUsage;
        current_->data.links_.push_back(node);
        linkStack_.assign(1, 0);
      } else {
        auto& links = current_->data.links_;
        if (links.size() >= 0xFFFF) return Fail("too many collections");
        const auto index = static_cast<std::uint16_t>(links.size());
        auto& parent = links[linkStack_.back()];
        node.Parent = linkStack_.back();
        node.NextSibling = parent.FirstChild;
        parent.FirstChild = index;
        ++parent.NumberOfChildren;
        links.push_back(node);
        linkStack_.push_back(index);
      }
      local_.Clear();
      return true;
    }
    case kEndCollection:
      if (!current_ || linkStack_.empty()) return Fail("end collection without collection");
      linkStack_.pop_back();
      if (linkStack_.empty()) {
        Finish(*current_);
        current_.reset();
      }
      local_.Clear();
      return true;
    default:
      local_.Clear();
      return true;
  }
}

bool HidDescriptorReader::Global(std::uint8_t tag, std::uint32_t value, std::int32_t signedValue,
                                 std::size_t size) {
  switch (tag) {
    case kUsagePage:
      global_.usagePage = static_cast<std::uint16_t>(value);
      break;
    case kLogicalMinimum:
      global_.logicalMin = signedValue;
      break;
    case kLogicalMaximum:
      global_.logicalMax = signedValue;
      break;
    case kPhysicalMinimum:
      global_.physicalMin = signedValue;
      break;
    case kPhysicalMaximum:
      global_.physicalMax = signedValue;
      break;
    case kUnitExponent:
      global_.unitExp = value;
      break;
    case kUnit:
      global_.unit = value;
      break;
    case kReportSize:
      global_.reportSize = value;
      break;
    case kReportCount:
      global_.reportCount = value;
      break;
    case kReportId:
      if (size == 0 || value == 0 || value > 0xFF) return Fail("bad report id");
      global_.reportId = static_cast<std::uint8_t>(value);
      usesReportIds_ = true;
      break;
    case kPush:
      if (stack_.size() >= HidDescriptorParser::kMaxGlobalStack) return Fail("push too deep");
      stack_.push_back(global_);
      break;
    case kPop:
      if (stack_.empty()) return Fail("pop without push");
      global_ = stack_.back();
      stack_.pop_back();
      break;
    default:
      break;
  }
  return true;
}

void HidDescriptorReader::AddUsage(const UsageEntry& entry) {
  // Inside a delimiter set the usages are alternatives of one control; the
  // first (preferred) one is the one reported.
  if (local_.inDelimiter) {
    if (local_.delimiterTaken) return;
    local_.delimiterTaken = true;
  }
  local_.usages.push_back(entry);
}

bool HidDescriptorReader::Local(std::uint8_t tag, std::uint32_t value, std::size_t size) {
  const std::uint16_t page = size == 4 ? static_cast<std::uint16_t>(value >> 16) : global_.usagePage;
  const auto id = static_cast<std::uint16_t>(value & 0xFFFF);
  switch (tag) {
    case kUsage:
      AddUsage({page, id, id, false});
      break;
    case kUsageMinimum:
      local_.rangeMin = std::make_pair(page, id);
      break;
    case kUsageMaximum:
      local_.rangeMax = std::make_pair(page, id);
      break;
    case kDelimiter:
      if (value == 1) {
        if (local_.inDelimiter) return Fail("nested delimiter");
        local_.inDelimiter = true;
        local_.delimiterTaken = false;
      } else if (value == 0) {
        if (!local_.inDelimiter) return Fail("delimiter close without open");
        local_.inDelimiter = false;
      } else {
        return Fail("bad delimiter");
      }
      break;
    default:
      break;
  }
  if (local_.rangeMin && local_.rangeMax) {
    std::uint16_t low = local_.rangeMin->second, high = local_.rangeMax->second;
    if (low > high) std::swap(low, high);
    AddUsage({local_.rangeMin->first, low, high, true});
    local_.rangeMin.reset();
    local_.rangeMax.reset();
  }
  return true;
}

bool HidDescriptorReader::TakeDataIndices(HIDP_REPORT_TYPE kind, std::uint32_t count, std::uint16_t& first) {
  auto& next = current_->nextDataIndex[kind];
  if (next + count > kMaxDataIndex) return Fail("too many data indices");
  first = static_cast<std::uint16_t>(next);
  next += count;
  return true;
}

void HidDescriptorReader::FillLink(HidPreparsedData::Cap& cap) const {
  cap.LinkCollection = linkStack_.back();
  const auto& node = current_->data.links_[cap.LinkCollection];
  cap.LinkUsagePage = node.LinkUsagePage;
  cap.LinkUsage = node.LinkUsage;
}

bool HidDescriptorReader::Field(HIDP_REPORT_TYPE kind, std::uint32_t flags) {
  if (!current_) return Fail("main item outside a collection");
  const std::uint8_t id = global_.reportId;
  const std::uint64_t bits = std::uint64_t(global_.reportSize) * global_.reportCount;
  auto& offset = current_->bits[kind][id];
  // The report id byte comes first, whether or not the interface numbers its reports.
  if (8 + std::uint64_t(offset) + bits > HidDescriptorParser::kMaxReportBytes * 8)
    return Fail("report too long");
  if (global_.reportCount > 0xFFFF || global_.reportSize > 0xFFFF) return Fail("field too large");
  const std::uint32_t firstBit = 8 + offset;
  offset += static_cast<std::uint32_t>(bits);
  current_->used[kind][id] = true;

  const bool isConstant = flags & 0x1;
  const bool isVariable = flags & 0x2;
  // Constant fields are padding unless a variable one names a real usage.
  const bool padding =
      isConstant &&
      (!isVariable || std::all_of(local_.usages.begin(), local_.usages.end(),
                                  [](const UsageEntry& u) { return !u.isRange && u.min == 0; }));
  bool ok = true;
  if (bits != 0 && !padding) {
    // A data field without a usage still occupies its bits and is reported
    // under usage 0 of the current page.
    if (local_.usages.empty()) local_.usages.push_back({global_.usagePage, 0, 0, false});
    if (isVariable) {
      ok = AddVariableCaps(kind, flags, firstBit);
    } else {
      ok = AddArrayCaps(kind, flags, firstBit);
    }
  }
  local_.Clear();
  return ok;
}

bool HidDescriptorReader::AddVariableCaps(HIDP_REPORT_TYPE kind, std::uint32_t flags,
                                          std::uint32_t firstBit) {
  // Each usage takes as many fields as it names; the last one takes the rest.
  // Usages beyond the report count name nothing.
  struct Assignment {
    const UsageEntry* entry;
    std::uint32_t firstField, fields;
  };
  std::vector<Assignment> assignments;
  const std::uint32_t count = global_.reportCount;
  std::uint32_t field = 0;
  const auto& usages = local_.usages;
  for (std::size_t i = 0; i < usages.size() && field < count; ++i) {
    std::uint32_t take = std::min(usages[i].Size(), count - field);
    if (i + 1 == usages.size()) take = count - field;
    assignments.push_back({&usages[i], field, take});
    field += take;
  }
  const bool isButton = global_.reportSize == 1;
  auto& caps = current_->data.caps_[kind];
  // The capabilities of one item are listed last usage first.
  for (auto it = assignments.rbegin(); it != assignments.rend(); ++it) {
    HidPreparsedData::Cap cap;
    const UsageEntry& entry = *it->entry;
    const std::uint32_t bit = firstBit + it->firstField * global_.reportSize;
    cap.UsagePage = entry.page;
    cap.ReportID = global_.reportId;
    cap.BytePosition = static_cast<std::uint16_t>(bit / 8);
    cap.BitPosition = static_cast<std::uint8_t>(bit % 8);
    cap.BitSize = static_cast<std::uint16_t>(global_.reportSize);
    cap.ReportCount = static_cast<std::uint16_t>(it->fields);
    cap.BitCount = global_.reportSize * it->fields;
    cap.BitField = static_cast<std::uint16_t>(flags & 0x1FF);
    FillLink(cap);
    cap.IsButtonCap = isButton;
    cap.IsPadding = flags & 0x1;
    cap.IsAbsolute = !(flags & 0x4);
    cap.HasNull = flags & 0x40;
    cap.IsRange = entry.isRange;
    cap.UsageMin = entry.min;
    cap.UsageMax = entry.max;
    if (entry.isRange && it->fields < entry.Size())
      cap.UsageMax = static_cast<std::uint16_t>(entry.min + it->fields - 1);
    const std::uint32_t indices = cap.IsRange ? std::uint32_t(cap.UsageMax - cap.UsageMin) + 1 : 1;
    if (!TakeDataIndices(kind, indices, cap.DataIndexMin)) return false;
    cap.DataIndexMax = static_cast<std::uint16_t>(cap.DataIndexMin + indices - 1);
    if (!isButton) {
      cap.LogicalMin = global_.logicalMin;
      cap.LogicalMax = global_.logicalMax;
      cap.PhysicalMin = global_.physicalMin;
      cap.PhysicalMax = global_.physicalMax;
      cap.Units = global_.unit;
      cap.UnitsExp = global_.unitExp;
    }
    caps.push_back(cap);
  }
  return true;
}

bool HidDescriptorReader::AddArrayCaps(HIDP_REPORT_TYPE kind, std::uint32_t flags, std::uint32_t firstBit) {
  auto& data = current_->data;
  HidPreparsedData::ArrayField array;
  array.Kind = kind;
  array.ReportID = global_.reportId;
  array.FirstBit = firstBit;
  array.BitSize = static_cast<std::uint16_t>(global_.reportSize);
  array.ReportCount = static_cast<std::uint16_t>(global_.reportCount);
  array.LogicalMin = global_.logicalMin;
  array.LogicalMax = global_.logicalMax;
  array.LinkCollection = linkStack_.back();
  const auto& usages = local_.usages;
  // Data indices follow the declaration order, the capabilities are listed
  // last usage first; all but the first usage are marked as further items
  // of the same array.
  std::vector<std::uint16_t> firstIndex(usages.size());
  for (std::size_t i = 0; i < usages.size(); ++i) {
    array.Entries.push_back({usages[i].page, usages[i].min, usages[i].max});
    if (!TakeDataIndices(kind, usages[i].Size(), firstIndex[i])) return false;
  }
  const auto arrayIndex = static_cast<std::int32_t>(data.arrays_.size());
  for (std::size_t n = usages.size(); n-- > 0;) {
    HidPreparsedData::Cap cap;
    cap.UsagePage = usages[n].page;
    cap.ReportID = global_.reportId;
    cap.BytePosition = static_cast<std::uint16_t>(firstBit / 8);
    cap.BitPosition = static_cast<std::uint8_t>(firstBit % 8);
    cap.BitSize = array.BitSize;
    cap.ReportCount = array.ReportCount;
    cap.BitCount = global_.reportSize * global_.reportCount;
    cap.BitField = static_cast<std::uint16_t>(flags & 0x1FF);
    FillLink(cap);
    cap.IsMultipleItemsForArray = n != 0;
    cap.IsButtonCap = true;
    cap.IsPadding = flags & 0x1;
    cap.IsAbsolute = !(flags & 0x4);
    cap.HasNull = flags & 0x40;
    cap.IsRange = usages[n].isRange;
    cap.UsageMin = usages[n].min;
    cap.UsageMax = usages[n].max;
    cap.DataIndexMin = firstIndex[n];
    cap.DataIndexMax = static_cast<std::uint16_t>(firstIndex[n] + usages[n].Size() - 1);
    cap.LogicalMin = global_.logicalMin;
    cap.LogicalMax = global_.logicalMax;
    cap.ArrayField = arrayIndex;
    data.caps_[kind].push_back(cap);
  }
  data.arrays_.push_back(std::move(array));
  return true;
}

void HidDescriptorReader::Finish(OpenCollection& collection) {
  auto& data = collection.data;
  for (int kind = 0; kind < kHidReportKinds; ++kind) {
    std::uint16_t longest = 0;
    for (int id = 0; id < 256; ++id) {
      if (!collection.used[kind][id]) continue;
      const auto length = static_cast<std::uint16_t>(1 + (collection.bits[kind][id] + 7) / 8);
      data.reportLength_[kind][id] = length;
      longest = std::max(longest, length);
    }
    data.byteLength_[kind] = longest;
    data.dataIndices_[kind] = static_cast<std::uint16_t>(collection.nextDataIndex[kind]);
  }
  out_.push_back(std::move(data));
}

bool HidDescriptorParser::Parse(const std::uint8_t* data, std::size_t size,
                                std::vector<HidPreparsedData>& collections, std::string* error) {
  collections.clear();
  std::string reason;
  HidDescriptorReader reader(collections, reason);
  const bool ok = reader.Run(data, size);
  if (!ok) collections.clear();
  if (error) *error = reason;
  return ok;
}

}  // namespace ostrel
