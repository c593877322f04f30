#pragma once
// One simulated device: a firmware model served as a virtual HID interface,
// with its fault modes and a record of every report it saw.

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devsim/FaultSettings.h"
#include "devsim/Firmware.h"
#include "devsim/FrameLog.h"
#include "devsim/ModelCatalogue.h"
#include "devsim/SimResult.h"
#include "devsim/VirtualInterface.h"

namespace ostrel::devsim {

struct DeviceOptions {
  std::string name;  // base name in the vhid directory; empty: the model name
  std::optional<std::uint16_t> vendorId;
  std::optional<std::uint16_t> productId;
  std::string productName;  // empty: the model's
  std::string serial;       // empty: one made from the name
  std::chrono::microseconds usbInterval{1000};
  std::size_t logCapacity = 0;  // reports the log keeps (0 = all)
};

class SimulatedDevice {
 public:
  using Clock = VirtualInterface::Clock;

  SimulatedDevice(const ModelInfo& model, std::string directory, DeviceOptions options);
  ~SimulatedDevice();
  SimulatedDevice(const SimulatedDevice&) = delete;
  SimulatedDevice& operator=(const SimulatedDevice&) = delete;

  const std::string& Name() const { return name_; }
  const ModelInfo& Model() const { return model_; }
  const InterfaceDescription& Description() const { return description_; }
  std::string SocketPath() const { return interface_.SocketPath(); }
  std::string DescriptionPath() const { return interface_.DescriptionPath(); }

  // Plugging keeps the firmware state: a replugged device remembers what
  // was written to it, as real flash memory does.
  SimResult Plug();
  void Unplug();
  SimResult Replug();
  bool IsPlugged() const { return interface_.IsPlugged(); }
  std::size_t ConnectionCount() const { return interface_.ConnectionCount(); }

  Firmware& State() { return firmware_; }
  const Firmware& State() const { return firmware_; }
  FrameLog& Log() { return log_; }
  const FrameLog& Log() const { return log_; }

  // Setting faults restarts their frame and reply counts.
  void SetFaults(const FaultSettings& faults);
  FaultSettings Faults() const;
  void ClearFaults() { SetFaults({}); }

  void SetUsbInterval(Clock::duration interval);
  Clock::duration UsbInterval() const { return interface_.Interval(); }

  // Notification reports on the consumer collection (report id 3): the usage,
  // then the release report (no usage). False for the headset (no such
  // collection) and while unplugged.
  bool HasNotifications() const;
  bool SendNotification(std::uint16_t usage);
  // Key events of a device key slot: 0x0500 + slot as the key goes down,
  // 0x0600 + slot as it comes up. PressKey sends both.
  bool SendKeyDown(std::uint8_t slot);
  bool SendKeyUp(std::uint8_t slot);
  bool PressKey(std::uint8_t slot);
  // The user switched the onboard profile on the device: the current profile
  // changes and the device sends 0x0401. False for a profile the model does
  // not have (nothing changes) or when the notification cannot go out.
  bool SwitchProfile(std::uint8_t profile);
  // Any input report, sent as it is to every connection.
  bool SendInputReport(std::vector<std::uint8_t> report);

 private:
  void OnOutputReport(std::uint64_t connection, const std::vector<std::uint8_t>& report);
  void OnCommandFrame(const Frame& request);
  void QueueReply(const Frame& reply, Clock::duration delay);

  const ModelInfo& model_;
  const std::string name_;
  InterfaceDescription description_;
  Firmware firmware_;
  FrameLog log_;
  VirtualInterface interface_;

  mutable std::mutex faultMutex_;
  FaultSettings faults_;
  unsigned framesSinceFaults_ = 0;
  unsigned repliesSinceFaults_ = 0;
  unsigned statusCandidates_ = 0;
};

}  // namespace ostrel::devsim
