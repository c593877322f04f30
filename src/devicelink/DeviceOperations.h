#pragma once
// The command sequences a device page runs on its command channel: reading
// the device and its current onboard profile, writing key map, profile
// record, macros, shooting data and colours, the preview stream, the power
// status and host lighting. Each returns 1 or the code of the command that
// ended it; a mouse on a wireless receiver (long time-out channel) asks
// QueryLink before every command, and a false answer ends the sequence with
// 0. What was read is kept here for the page. Not locked: the page's window
// thread runs the sequences; the channel serialises the frames.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "devicelink/DeviceChannel.h"
#include "devicelink/DeviceInfo.h"
#include "devicelink/DeviceProtocol.h"

namespace ostrel {

class DeviceOperations {
 public:
  DeviceOperations(DeviceChannel& channel, int deviceType);

  int DeviceType() const { return deviceType_; }

  // BeginConfig, ReadDeviceInfo, then for mouse and keyboard the key map
  // (block length = key count x 3; a refused length ends the read with 0,
  // without EndConfig) and for the keyboard the key attributes; EndConfig.
  // A headset has nothing to read on this channel: 0, nothing sent.
  int ReadDevice();
  // Clears the paused flag; reads the current profile index and that
  // profile's record, and for a keyboard in per-key colour mode the colours.
  int ReadCurrentProfile();
  // ReadDeviceInfo alone (the macro and shooting downloads start with it).
  int RefreshDeviceInfo();

  // ReadDeviceInfo, BeginConfig, WriteKeyMap(block 0), EndConfig. The block
  // is the key map read last by ReadDevice, overlaid with `keyMap`; before
  // any key map was read nothing is written (0).
  int WriteKeyMap(std::span<const std::uint8_t> keyMap);
  // BeginConfig, WriteMemory of the device type's record at its address,
  // EndConfig. A shorter record is sent padded with zeros.
  int WriteProfileRecord(int profile, std::span<const std::uint8_t> record);
  // The same, running `whileSettling` (the caller's own work, such as saving
  // the file the record came from) exactly once: in the pause the device
  // needs between the record's last frame and EndConfig, or, when the
  // sequence ends before that, at its end. EndConfig then waits only what
  // is left of the pause.
  int WriteProfileRecord(int profile, std::span<const std::uint8_t> record,
                         const std::function<void()>& whileSettling);
  // BeginConfig, WriteMacroData / WriteShootData, EndConfig: all three are
  // sent whatever the answers (only a false QueryLink stops); the result is
  // the first failure. The caller keeps the image within Info().MacroAreaBytes().
  int WriteMacros(std::span<const std::uint8_t> image);
  int WriteShootingData(std::span<const std::uint8_t> image);
  // WriteLedColours of bank 0 (512 bytes); a failure pauses 200 ms.
  int WritePerKeyColours(std::span<const std::uint8_t, kLedBankSize> colours);
  // StreamLedFrame of LED count x 3 bytes; a failure pauses 200 ms.
  int PushPreviewFrame(std::span<const std::uint8_t> frame);
  // ReadPowerStatus 6 bytes at 0; byte 3 becomes the wireless flag.
  int ReadPowerStatus();
  // StartHostLighting: only the keyboard runs host lighting; other types
  // need nothing (1, nothing sent).
  int StartHostLighting();

  // Results of the last successful reads.
  const DeviceInfo& Info() const { return info_; }
  std::span<const std::uint8_t> KeyMap() const { return {keyMap_.data(), keyMapLength_}; }
  std::span<const std::uint8_t> KeyAttributes() const { return {keyAttributes_.data(), keyAttributeCount_}; }
  int ProfileIndex() const { return profileIndex_; }
  std::span<const std::uint8_t> ProfileRecord() const {
    return {profileRecord_.data(), profileRecordLength_};
  }
  std::span<const std::uint8_t> LedColours() const { return {ledColours_.data(), ledColourLength_}; }
  const std::array<std::uint8_t, kPowerStatusSize>& PowerStatus() const { return powerStatus_; }

 private:
  // False when a wireless link is down; always true on a wired channel.
  bool LinkUp();
  int WriteImage(std::span<const std::uint8_t> image, bool shooting);

  DeviceChannel& channel_;
  int deviceType_;

  DeviceInfo info_;
  std::array<std::uint8_t, kMaxBlockLength> keyMap_{};
  std::size_t keyMapLength_ = 0;
  bool keyMapRead_ = false;
  std::array<std::uint8_t, kMaxBlockLength / kBytesPerKey> keyAttributes_{};
  std::size_t keyAttributeCount_ = 0;
  int profileIndex_ = 0;
  std::array<std::uint8_t, kMaxProfileRecord> profileRecord_{};
  std::size_t profileRecordLength_ = 0;
  std::array<std::uint8_t, kLedBankSize> ledColours_{};
  std::size_t ledColourLength_ = 0;
  std::array<std::uint8_t, kPowerStatusSize> powerStatus_{};
};

}  // namespace ostrel
