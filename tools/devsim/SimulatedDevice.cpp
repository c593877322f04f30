#include "devsim/SimulatedDevice.h"

#include <algorithm>
#include <cstdio>

#include "devsim/CommandFrame.h"
#include "devsim/ReportDescriptor.h"

namespace ostrel::devsim {
namespace {

InterfaceDescription MakeDescription(const ModelInfo& model, const std::string& name,
                                     const DeviceOptions& options) {
  InterfaceDescription description;
  description.vendorId = options.vendorId.value_or(model.vendorId);
  description.productId = options.productId.value_or(model.productId);
  description.version = model.version;
  description.interfaceNumber = model.interfaceNumber;
  const auto descriptor = ReportDescriptor::For(model.collections);
  description.reportDescriptor.assign(descriptor.begin(), descriptor.end());
  description.name = options.productName.empty() ? std::string(model.productName) : options.productName;
  description.serial = options.serial.empty() ? "DEVSIM-" + name : options.serial;
  return description;
}

}  // namespace

SimulatedDevice::SimulatedDevice(const ModelInfo& model, std::string directory, DeviceOptions options)
    : model_(model),
      name_(options.name.empty() ? std::string(model.name) : options.name),
      description_(MakeDescription(model, name_, options)),
      firmware_(model),
      interface_(std::move(directory), name_) {
  interface_.SetInterval(options.usbInterval);
  log_.SetCapacity(options.logCapacity);
}

SimulatedDevice::~SimulatedDevice() { interface_.Unplug(); }

SimResult SimulatedDevice::Plug() {
  return interface_.Plug(
      description_,
      [this](std::uint64_t connection, const std::vector<std::uint8_t>& report) {
        OnOutputReport(connection, report);
      },
      [this](const std::vector<std::uint8_t>& report) {
        log_.Add({LoggedReport::Direction::kToHost, 0, Clock::now(), report});
      });
}

void SimulatedDevice::Unplug() { interface_.Unplug(); }

SimResult SimulatedDevice::Replug() {
  interface_.Unplug();
  return Plug();
}

void SimulatedDevice::SetFaults(const FaultSettings& faults) {
  std::lock_guard lock(faultMutex_);
  faults_ = faults;
  framesSinceFaults_ = 0;
  repliesSinceFaults_ = 0;
  statusCandidates_ = 0;
}

FaultSettings SimulatedDevice::Faults() const {
  std::lock_guard lock(faultMutex_);
  return faults_;
}

void SimulatedDevice::SetUsbInterval(Clock::duration interval) { interface_.SetInterval(interval); }

bool SimulatedDevice::HasNotifications() const { return model_.collections != CollectionLayout::kHeadset; }

bool SimulatedDevice::SendNotification(std::uint16_t usage) {
  if (!HasNotifications() || !IsPlugged()) return false;
  const std::vector<std::uint8_t> pressed = {kConsumerReportId, static_cast<std::uint8_t>(usage & 0xFF),
                                             static_cast<std::uint8_t>(usage >> 8)};
  const std::vector<std::uint8_t> released = {kConsumerReportId, 0, 0};
  return interface_.Send(pressed) && interface_.Send(released);
}

bool SimulatedDevice::SendKeyDown(std::uint8_t slot) { return SendNotification(kUsageKeyEvent1 + slot); }
bool SimulatedDevice::SendKeyUp(std::uint8_t slot) { return SendNotification(kUsageKeyEvent2 + slot); }
bool SimulatedDevice::PressKey(std::uint8_t slot) { return SendKeyDown(slot) && SendKeyUp(slot); }

bool SimulatedDevice::SwitchProfile(std::uint8_t profile) {
  if (!firmware_.SetCurrentProfile(profile)) return false;
  // The headset has no notification collection: the host finds out by reading.
  if (!HasNotifications()) return true;
  return SendNotification(kUsageProfileChanged);
}

bool SimulatedDevice::SendInputReport(std::vector<std::uint8_t> report) {
  if (report.empty()) return false;
  return interface_.Send(std::move(report));
}

void SimulatedDevice::OnOutputReport(std::uint64_t connection, const std::vector<std::uint8_t>& report) {
  log_.Add({LoggedReport::Direction::kFromHost, connection, Clock::now(), report});
  if (report.empty()) return;
  if (report[0] == kVendorReportId) {
    // A frame is always the whole 64-byte report; anything else is not a
    // frame this firmware understands and is dropped.
    if (report.size() != kFrameSize) return;
    Frame request;
    std::copy(report.begin(), report.end(), request.begin());
    OnCommandFrame(request);
    return;
  }
  if (report[0] == kHeadsetLedReportId) firmware_.HandleLedReport(report);
  // Other output reports (keyboard LEDs and the like) change nothing here.
}

void SimulatedDevice::QueueReply(const Frame& reply, Clock::duration delay) {
  interface_.Send(std::vector<std::uint8_t>(reply.begin(), reply.end()), delay);
}

void SimulatedDevice::OnCommandFrame(const Frame& request) {
  FaultSettings faults;
  bool forceStatus = false;
  {
    std::lock_guard lock(faultMutex_);
    faults = faults_;
    ++framesSinceFaults_;
    if (faults.unplugAfterFrames != 0 && framesSinceFaults_ == faults.unplugAfterFrames) {
      // Gone in the middle of the transfer: this frame is never answered.
      interface_.UnplugFromServerThread();
      return;
    }
    if (faults.silent) return;
    if (faults.statusError != 0 &&
        (faults.statusErrorCommand == 0 || faults.statusErrorCommand == CommandFrame::Command(request))) {
      ++statusCandidates_;
      forceStatus = faults.statusErrorFrame == 0 || statusCandidates_ == faults.statusErrorFrame;
    }
  }

  const Frame reply =
      forceStatus ? Firmware::Refusal(request, faults.statusError) : firmware_.HandleCommand(request);

  bool dropped = false;
  {
    std::lock_guard lock(faultMutex_);
    ++repliesSinceFaults_;
    dropped = faults.dropEvery != 0 && repliesSinceFaults_ % faults.dropEvery == 0;
  }
  const Clock::duration delay = interface_.Interval() + faults.replyDelay;
  if (faults.otherIdFirst) {
    // A stale reply of another command, as a device with a reply still in
    // its buffer would send. It comes even when the real one is lost.
    Frame stale = reply;
    stale[kCommandByte] = static_cast<std::uint8_t>(reply[kCommandByte] ^ 0x80);
    CommandFrame::StoreChecksum(stale);
    QueueReply(stale, delay);
  }
  if (!dropped) QueueReply(reply, delay);
}

}  // namespace ostrel::devsim
