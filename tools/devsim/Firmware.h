#pragma once
// The firmware model of one device: its memory areas and the answer to each
// command frame, as the real device gives it. Thread-safe: the device's
// server thread runs the commands, tests inspect and set the state.

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "devsim/HeadsetLedRegisters.h"
#include "devsim/ModelCatalogue.h"
#include "devsim/Protocol.h"

namespace ostrel::devsim {

// The address spaces the commands reach.
enum class MemoryArea : std::uint8_t {
  kDeviceInfo,     // command 3: the 34-byte device information record
  kMemory,         // commands 5, 6: current profile at 0, onboard profile records
  kKeyMap,         // commands 7, 9: key count x 3 bytes
  kKeyAttributes,  // command 27: one LED number per key slot (0xFF = no LED)
  kLedBank,        // commands 10, 11: bank 0, 512 bytes, 3 bytes per LED
  kLiveFrame,      // command 18: the frame the host streams, 512 bytes
  kMacro,          // command 21: macro units x 128 bytes
  kShoot,          // command 23: the shooting image area
  kPower,          // command 26: the power status record
};

struct PowerStatus {
  std::uint8_t battery = 100;  // percent
  std::uint8_t supply = 2;     // 0 on battery, 1 charging, 2 powered by the cable
  std::uint8_t phone = 0;      // mouse pad: 1 iPhone, 2 Samsung, 3 other, 0 none
};

class Firmware {
 public:
  static constexpr std::size_t kLedBankSize = 512;
  static constexpr std::size_t kPowerRecordSize = 8;

  explicit Firmware(const ModelInfo& model);

  const ModelInfo& Model() const { return model_; }

  // The reply to one command frame (report id 4, 64 bytes).
  Frame HandleCommand(const Frame& request);
  // The reply a device gives when it refuses a request with this status.
  static Frame Refusal(const Frame& request, std::uint8_t status);
  // The headset's 17-byte LED output report; false for other models and for
  // reports the headset does not understand.
  bool HandleLedReport(std::span<const std::uint8_t> report);

  // State, for tests and the console. Reads outside an area return what
  // lies inside; writes outside it fail and change nothing.
  std::size_t AreaSize(MemoryArea area) const;
  std::vector<std::uint8_t> Read(MemoryArea area, std::size_t address, std::size_t length) const;
  std::vector<std::uint8_t> Contents(MemoryArea area) const;
  bool Write(MemoryArea area, std::size_t address, std::span<const std::uint8_t> bytes);
  // Gives an area another size (new bytes are 0), for devices unlike the
  // model: more keys, a smaller macro area. The device information record
  // keeps its 34 bytes; addresses are 16-bit, so 65536 is the most.
  bool Resize(MemoryArea area, std::size_t size);

  std::uint8_t CurrentProfile() const;
  bool SetCurrentProfile(std::uint8_t profile);  // false beyond the model's profile count

  PowerStatus Power() const;
  void SetPower(const PowerStatus& power);

  // Receiver models: whether the mouse is in reach of its receiver.
  bool LinkUp() const;
  void SetLinkUp(bool up);

  bool ConfigOpen() const;  // between BeginConfig and EndConfig
  unsigned HostLightingStarts() const;
  unsigned CommandCount(std::uint8_t command) const;

  const HeadsetLedRegisters& HeadsetLeds() const { return headsetLeds_; }
  HeadsetLedRegisters& HeadsetLeds() { return headsetLeds_; }

  // Back to the state the device leaves the factory with.
  void Reset();

 private:
  std::vector<std::uint8_t>& AreaBytes(MemoryArea area);
  const std::vector<std::uint8_t>& AreaBytes(MemoryArea area) const;
  void FillDeviceInfo();
  void FillProfiles();
  void FillKeys();
  void StorePower();

  const ModelInfo& model_;
  mutable std::mutex mutex_;
  std::vector<std::uint8_t> deviceInfo_;
  std::vector<std::uint8_t> memory_;
  std::vector<std::uint8_t> keyMap_;
  std::vector<std::uint8_t> keyAttributes_;
  std::vector<std::uint8_t> ledBank_;
  std::vector<std::uint8_t> liveFrame_;
  std::vector<std::uint8_t> macro_;
  std::vector<std::uint8_t> shoot_;
  std::vector<std::uint8_t> power_;
  PowerStatus powerStatus_;
  bool linkUp_ = true;
  bool configOpen_ = false;
  unsigned hostLightingStarts_ = 0;
  std::map<std::uint8_t, unsigned> commandCounts_;
  HeadsetLedRegisters headsetLeds_;
};

}  // namespace ostrel::devsim
