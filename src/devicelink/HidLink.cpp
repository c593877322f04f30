#include "devicelink/HidLink.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <set>

#include "platform/hid/HidDevice.h"
#include "platform/hid/HidDevicePath.h"
#include "platform/hid/HidPlatform.h"
#include "platform/os/DebugLog.h"

namespace ostrel {

namespace {

// Discovery tries a matching interface again every cycle; an interface that
// cannot be opened (typically for want of permission) is logged once per
// reason, not ten times a second.
bool FirstFailure(const std::string& path, const std::string& error) {
  static std::mutex mutex;
  static std::set<std::string> seen;
  std::lock_guard<std::mutex> lock(mutex);
  if (seen.size() > 1024) seen.clear();
  return seen.insert(path + '\n' + error).second;
}

}  // namespace

HidLink::HidLink() {
  abortEvent_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (abortEvent_ < 0) OutputDebugString("HID: no abort event, blocked reads end only by their time-out");
}

HidLink::~HidLink() {
  Close();
  FreePaths();
  if (abortEvent_ >= 0) close(abortEvent_);
}

bool HidLink::Enumerate() {
  FreePaths();
  paths_ = HidPlatform().Enumerate();
  cursor_ = 0;
  return true;
}

const char* HidLink::NextPath() {
  if (cursor_ >= paths_.size()) return nullptr;
  return paths_[cursor_++].c_str();
}

void HidLink::FreePaths() {
  paths_.clear();
  paths_.shrink_to_fit();
  cursor_ = 0;
}

bool HidLink::Open(const std::string& path, bool read, bool write, bool overlapped, bool exclusive) {
  read_ = read;
  write_ = write;
  overlapped_ = overlapped;
  // Sharing has no counterpart on hidraw: every open of a node gets its own
  // copy of each input report, as every handle does on the original platform.
  exclusive_ = exclusive;
  Close();
  path_ = path;
  std::string error;
  std::unique_ptr<HidDevice> device = HidPlatform().Open(path, read, write, &error);
  if (!device) {
    if (FirstFailure(path, error)) DebugPrintf("HID: cannot open %s: %s", path.c_str(), error.c_str());
    return false;
  }
  // Described before it is published, so no other thread ever sees a
  // half-described link.
  if (!Describe(*device)) {
    DebugPrintf("HID: cannot describe %s", path.c_str());
    FreeOpenData();
    return false;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  device_ = std::move(device);
  return true;
}

bool HidLink::Describe(const HidDevice& device) {
  const HidPreparsedData& preparsed = device.Preparsed();
  attributes_ = device.Attributes();
  preparsed.GetCaps(caps_);
  const std::array<std::uint16_t, kHidReportKinds> lengths = {
      caps_.InputReportByteLength, caps_.OutputReportByteLength, caps_.FeatureReportByteLength};
  const std::array<std::uint16_t, kHidReportKinds> buttonCounts = {
      caps_.NumberInputButtonCaps, caps_.NumberOutputButtonCaps, caps_.NumberFeatureButtonCaps};
  const std::array<std::uint16_t, kHidReportKinds> valueCounts = {
      caps_.NumberInputValueCaps, caps_.NumberOutputValueCaps, caps_.NumberFeatureValueCaps};
  std::size_t usageEntries = 0;
  for (int k = 0; k < kHidReportKinds; ++k) {
    const auto kind = static_cast<HIDP_REPORT_TYPE>(k);
    PerKind& data = perKind_[k];
    data.report.assign(lengths[k], 0);
    if (buttonCounts[k] > 0 &&
        preparsed.GetSpecificButtonCaps(kind, 0, 0, 0, data.buttonCaps) != HIDP_STATUS_SUCCESS)
      return false;
    if (valueCounts[k] > 0 &&
        preparsed.GetSpecificValueCaps(kind, 0, 0, 0, data.valueCaps) != HIDP_STATUS_SUCCESS)
      return false;

    std::size_t values = 0;
    for (const auto& cap : data.valueCaps)
      values += cap.IsRange ? std::size_t(cap.Range.UsageMax - cap.Range.UsageMin) + 1 : 1;
    const std::size_t itemCount = data.buttonCaps.size() + values;
    data.items.assign(itemCount, HidDataItem());
    std::size_t next = 0;
    for (const auto& cap : data.buttonCaps) {
      if (next >= itemCount) break;
      HidDataItem& item = data.items[next++];
      item.IsButtonData = true;
      item.UsagePage = cap.UsagePage;
      item.ReportID = cap.ReportID;
      item.ButtonData.UsageMin = cap.IsRange ? cap.Range.UsageMin : cap.NotRange.Usage;
      item.ButtonData.UsageMax = cap.IsRange ? cap.Range.UsageMax : cap.NotRange.Usage;
      item.ButtonData.MaxUsageLength = preparsed.MaxUsageListLength(kind, cap.UsagePage);
      usageEntries += item.ButtonData.MaxUsageLength;
      if (usageEntries > kMaxUsageListEntries) {
        DebugPrintf("HID: %s asks for too many usages", path_.c_str());
        return false;
      }
      item.ButtonData.Usages.assign(item.ButtonData.MaxUsageLength, 0);
    }
    for (const auto& cap : data.valueCaps) {
      const std::uint32_t first = cap.IsRange ? cap.Range.UsageMin : cap.NotRange.Usage;
      const std::uint32_t last = cap.IsRange ? cap.Range.UsageMax : cap.NotRange.Usage;
      for (std::uint32_t usage = first; usage <= last && next < itemCount; ++usage) {
        HidDataItem& item = data.items[next++];
        item.IsButtonData = false;
        item.UsagePage = cap.UsagePage;
        item.ReportID = cap.ReportID;
        item.ValueData.Usage = static_cast<std::uint16_t>(usage);
      }
    }
  }
  interfaceNumber_ = HidDevicePath::HexAfter(path_, "&mi_");
  collectionNumber_ = HidDevicePath::HexAfter(path_, "&col");
  return true;
}

void HidLink::FreeOpenData() {
  for (PerKind& data : perKind_) data = PerKind();
  caps_ = HIDP_CAPS();
  attributes_ = HIDD_ATTRIBUTES();
}

void HidLink::Close() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!device_) {
    FreeOpenData();
    return;
  }
  closing_ = true;
  if (active_ > 0) {
    // Release the blocked transfer, then wait until it has left the device:
    // only then may the handle and the buffers go.
    if (abortEvent_ >= 0) {
      const std::uint64_t one = 1;
      [[maybe_unused]] ssize_t n = write(abortEvent_, &one, sizeof one);
    }
    idle_.wait(lock, [this] { return active_ == 0; });
    if (abortEvent_ >= 0) {
      std::uint64_t drained = 0;
      [[maybe_unused]] ssize_t n = read(abortEvent_, &drained, sizeof drained);
    }
  }
  device_.reset();
  FreeOpenData();
  closing_ = false;
}

bool HidLink::IsOpen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return device_ != nullptr;
}

HidDevice* HidLink::BeginTransfer(Transfer transfer) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!device_ || closing_) return nullptr;
  ++active_;
  if (transfer == Transfer::kRead) readInProgress_ = true;
  if (transfer == Transfer::kWrite) writeInProgress_ = true;
  return device_.get();
}

void HidLink::EndTransfer(Transfer transfer) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (transfer == Transfer::kRead) readInProgress_ = false;
  if (transfer == Transfer::kWrite) writeInProgress_ = false;
  --active_;
  idle_.notify_all();
}

bool HidLink::Read(std::uint32_t count, std::uint8_t* buffer, std::uint32_t timeoutMs,
                   std::uint32_t* outCount) {
  if (outCount) *outCount = 0;
  HidDevice* device = BeginTransfer(Transfer::kRead);
  if (!device) return false;
  std::uint32_t transferred = 0;
  const HidDevice::Result result = device->Read(buffer, count, timeoutMs, abortEvent_, transferred);
  EndTransfer(Transfer::kRead);
  if (result != HidDevice::Result::kOk) return false;
  if (outCount) *outCount = transferred;
  return true;
}

bool HidLink::Write(std::uint32_t count, const std::uint8_t* buffer, std::uint32_t timeoutMs,
                    std::uint32_t* outCount) {
  if (outCount) *outCount = 0;
  HidDevice* device = BeginTransfer(Transfer::kWrite);
  if (!device) return false;
  std::uint32_t transferred = 0;
  const HidDevice::Result result = device->Write(buffer, count, timeoutMs, abortEvent_, transferred);
  EndTransfer(Transfer::kWrite);
  if (result != HidDevice::Result::kOk) return false;
  if (outCount) *outCount = transferred;
  return true;
}

bool HidLink::SetOutputReport(const std::uint8_t* report, std::uint32_t length) {
  HidDevice* device = BeginTransfer(Transfer::kWrite);
  if (!device) return false;
  const bool ok = device->SetOutputReport(report, length) == HidDevice::Result::kOk;
  EndTransfer(Transfer::kWrite);
  return ok;
}

bool HidLink::UnpackInputReport(const std::uint8_t* report, std::uint32_t length, HIDP_REPORT_TYPE kind,
                                std::vector<HidDataItem>& items) {
  if (report == nullptr || length == 0) return false;
  // Counted as a transfer so that a Close on another thread waits for it.
  HidDevice* device = BeginTransfer(Transfer::kDecode);
  if (!device) return false;
  const HidPreparsedData& preparsed = device->Preparsed();
  const std::uint8_t reportId = report[0];
  bool ok = true;
  for (HidDataItem& item : items) {
    if (item.ReportID != reportId) continue;
    if (item.IsButtonData) {
      auto& usages = item.ButtonData.Usages;
      const std::uint32_t room =
          static_cast<std::uint32_t>(std::min<std::size_t>(usages.size(), item.ButtonData.MaxUsageLength));
      std::uint32_t found = room;
      item.Status = preparsed.GetUsages(kind, item.UsagePage, 0, usages.data(), found, report, length);
      // Keep the usages of this item's own range, packed to the front.
      std::uint32_t kept = 0;
      for (std::uint32_t i = 0; i < found; ++i)
        if (usages[i] >= item.ButtonData.UsageMin && usages[i] <= item.ButtonData.UsageMax)
          usages[kept++] = usages[i];
      if (kept < room) usages[kept] = 0;
    } else {
      item.Status = preparsed.GetUsageValue(kind, item.UsagePage, 0, item.ValueData.Usage,
                                            item.ValueData.Value, report, length);
      if (item.Status != HIDP_STATUS_SUCCESS) {
        ok = false;
        break;
      }
      item.Status = preparsed.GetScaledUsageValue(kind, item.UsagePage, 0, item.ValueData.Usage,
                                                  item.ValueData.ScaledValue, report, length);
    }
    item.IsDataSet = true;
  }
  EndTransfer(Transfer::kDecode);
  return ok;
}

const HIDD_ATTRIBUTES& HidLink::Attributes() const { return attributes_; }
const HIDP_CAPS& HidLink::Caps() const { return caps_; }
std::uint32_t HidLink::InterfaceNumber() const { return interfaceNumber_; }
std::uint32_t HidLink::CollectionNumber() const { return collectionNumber_; }
const std::string& HidLink::Path() const { return path_; }
std::vector<std::uint8_t>& HidLink::InputReportBuffer() { return perKind_[HidP_Input].report; }
std::vector<HidDataItem>& HidLink::InputItems() { return perKind_[HidP_Input].items; }

const std::vector<HIDP_BUTTON_CAPS>& HidLink::ButtonCaps(HIDP_REPORT_TYPE kind) const {
  return perKind_[kind].buttonCaps;
}
const std::vector<HIDP_VALUE_CAPS>& HidLink::ValueCaps(HIDP_REPORT_TYPE kind) const {
  return perKind_[kind].valueCaps;
}
std::vector<HidDataItem>& HidLink::Items(HIDP_REPORT_TYPE kind) { return perKind_[kind].items; }

bool HidLink::PathExists(const std::string& path) { return HidPlatform().Exists(path); }

}  // namespace ostrel
