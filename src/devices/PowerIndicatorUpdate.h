#pragma once
// Shows a power status record in a power indicator (the layout
// "XML\CustomControlXML\MpDevicePower.xml"): level text and bar, wireless
// mark, supply state icon, the phone on a charging mouse pad. The indicator
// is found by its children's names, so any container built from that
// layout can be updated.

#include <array>
#include <cstdint>

#include "devicelink/DeviceProtocol.h"

namespace ostrel {

class CControlUI;

class PowerIndicatorUpdate {
 public:
  using Record = std::array<std::uint8_t, kPowerStatusSize>;

  struct PhoneRow {
    std::uint8_t code;
    const char* text;  // language key, also the image's base name
  };
  static constexpr std::array<PhoneRow, 3> kPhoneTypes{{
      {1, "Phone_type_iphone"},
      {2, "Phone_type_samsung"},
      {3, "Phone_type_other"},
  }};
  static constexpr const char* kNoPhone = "Phone_type_no_device";

  // `deviceType` is the indicator's own (its page's); `powerPolling` shows
  // or hides the whole indicator.
  static void Apply(CControlUI* indicator, int deviceType, const Record& record, int powerPolling);
  static const char* PhoneText(std::uint8_t code);
};

}  // namespace ostrel
