#pragma once
// The headset's "SystemSetStages" values.

#include <cstdint>

namespace ostrel {

struct HeadsetSettings {
  std::int32_t magicEnable = 0;          // "MagicEnable"
  std::int32_t magicType = 0;            // "MagicType"
  std::int32_t eqType = 0;               // "EqType"
  std::int32_t customEqSelectIndex = 0;  // "CustomEqSeletIndex"
  std::int32_t micInSelect = 0;          // "MicInSelect"
  std::int32_t micInValue = 0;           // "MicInValue"
  std::int32_t micMonitorSelect = 0;     // "MicMoniterSelect"
  std::int32_t micMonitorValue = 0;      // "MicMoniterValue"

  friend bool operator==(const HeadsetSettings&, const HeadsetSettings&) = default;
};

}  // namespace ostrel
