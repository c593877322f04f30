#pragma once
// The power indicator of a device in the device strip: battery level as text
// and bar, supply state icon, the wireless mark of a mouse on a receiver
// and, for a charging mouse pad, the kind of phone lying on it. Built from
// "XML\CustomControlXML\MpDevicePower.xml"; updated from the device's
// 6-byte power status record.

#include <cstdint>
#include <span>

#include "platform/ui/CHorizontalLayoutUI.h"

namespace ostrel {

class CLabelUI;
class CProgressUI;

class CMpDevicePowerUI : public CHorizontalLayoutUI {
 public:
  static constexpr std::size_t kRecordSize = 6;
  // Record bytes.
  static constexpr std::size_t kLevelByte = 0;
  static constexpr std::size_t kSupplyByte = 1;
  static constexpr std::size_t kWirelessByte = 3;
  static constexpr std::size_t kPhoneByte = 5;

  CMpDevicePowerUI() = default;
  ~CMpDevicePowerUI() override = default;

  const char* GetClass() const override { return "MpDevicePower"; }
  void* GetInterface(const char* pstrName) override;
  bool Activate() override;

  void SetDeviceType(int type, int role) {
    m_nType = type;
    m_nRole = role;
  }
  int GetDeviceType() const { return m_nType; }
  int GetDeviceRole() const { return m_nRole; }

  // Shows a power status record (byte 3 already set by the page to its
  // wireless flag). `bPowerPolling` is the page's setting: without it the
  // whole indicator stays hidden. A record shorter than 6 bytes is ignored.
  // False when nothing was shown.
  bool UpdatePowerStatus(std::span<const std::uint8_t> record, bool bPowerPolling);

  // The phone text key and image of record byte 5.
  struct PhoneType {
    std::uint8_t code;
    const char* text;
    const char* image;
  };
  static const PhoneType& FindPhoneType(std::uint8_t code);

 private:
  CControlUI* Child(const char* name) const;

  int m_nType = 0;
  int m_nRole = 0;
};

}  // namespace ostrel
