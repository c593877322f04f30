#include "devicelink/DeviceScanner.h"

#include "devicelink/HidLink.h"
#include "platform/os/DebugLog.h"

namespace ostrel {

namespace {

bool EnumerateHidInterfaces(std::vector<std::string>& paths) {
  HidLink link;
  if (!link.Enumerate()) return false;
  while (const char* path = link.NextPath()) paths.emplace_back(path);
  link.FreePaths();
  return true;
}

}  // namespace

DeviceScanner::DeviceScanner(DeviceSlotList& slots) : slots_(slots), enumerate_(EnumerateHidInterfaces) {}

DeviceScanner::~DeviceScanner() { Stop(); }

void DeviceScanner::SetCallbacks(SlotCallback arrived, SlotCallback removed,
                                 FirstScanCallback firstScanDone) {
  arrived_ = std::move(arrived);
  removed_ = std::move(removed);
  firstScanDone_ = std::move(firstScanDone);
}

void DeviceScanner::SetEnumerateFunction(EnumerateFunction enumerate) {
  enumerate_ = enumerate ? std::move(enumerate) : EnumerateFunction(EnumerateHidInterfaces);
}

void DeviceScanner::Start() {
  worker_.Start([this](const StopEvent& stop) { Run(stop); });
}

WorkerThread::StopResult DeviceScanner::Stop(std::chrono::milliseconds bound) { return worker_.Stop(bound); }

void DeviceScanner::Run(const StopEvent& stop) {
  for (;;) {
    if (stop.Wait(kStopPoll)) break;
    ScanOnce();
    // The pause waits on the stop event, so a stop ends it at once.
    if (stop.Wait(kCyclePause)) break;
  }
  OutputDebugString("抓取设备线程设定退出");
}

void DeviceScanner::ScanOnce() {
  ++cycles_;
  if (slots_.HasFreeSlot()) {
    std::vector<std::string> paths;
    if (enumerate_(paths)) {
      ClaimPresentInterfaces(paths);
      if (!firstPassDone_) {
        firstPassDone_ = true;
        if (firstScanDone_) firstScanDone_();
      }
    } else {
      // A failed listing is tried again next cycle; ending the thread here
      // would stop all discovery and removal until the program restarts.
      OutputDebugString("枚举设备失败，下个周期重试");
    }
  }
  TestClaimedSlots();
}

void DeviceScanner::ClaimPresentInterfaces(const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    const DevicePathIds ids = DeviceCatalogue::ParsePath(path);
    if (!DeviceCatalogue::HasRowFor(ids) || !slots_.HasFreeSlotFor(ids)) continue;
    HidLink link;
    // Attributes or capabilities that cannot be read: skipped, tried again next cycle.
    if (!link.Open(path, true, false, true, false)) continue;
    const HIDD_ATTRIBUTES& attributes = link.Attributes();
    const HIDP_CAPS& caps = link.Caps();
    if (DeviceCatalogue::FindRow(attributes.VendorID, attributes.ProductID, ids.interfaceNumber,
                                 ids.collectionNumber, caps.UsagePage, caps.Usage) >= 0) {
      const auto slot = slots_.Claim(attributes.VendorID, attributes.ProductID, ids.interfaceNumber,
                                     ids.collectionNumber, caps.UsagePage, caps.Usage, path);
      if (slot && arrived_) arrived_(*slot);
    }
    link.Close();
  }
}

void DeviceScanner::TestClaimedSlots() {
  for (const auto& [index, path] : slots_.Claimed()) {
    if (HidLink::PathExists(path)) continue;
    slots_.Free(index);
    if (removed_) removed_(index);
  }
}

}  // namespace ostrel
