#pragma once
// The process-wide window messages shared with other programs. Every window
// that compares against them reads the numbers kept here; 0 means the
// message is not registered yet.

#include "platform/ui/UIDefs.h"

namespace ostrel {

class RegisteredMessages {
 public:
  static constexpr const char* kInstanceName = "Kestrane";
  static constexpr const char* kUpdateProgressName = "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}";
  static constexpr const char* kLightStateName = "{4695579F-999A-41d4-9FAF-EFFCE93EBF16}";
  static constexpr const char* kLightControlRequestName = "{4695579F-999A-41d4-9FAF-EFFCE93EBF17}";
  static constexpr const char* kDeviceTableRequestName = "{4695579F-999A-41d4-9FAF-EFFCE93EBF18}";

  // Registered first, before the single-instance decision.
  static UINT RegisterInstanceMessage();
  // The four of the first instance, in this order.
  static void RegisterApplicationMessages();

  static UINT InstanceMessage() { return s_instance; }
  static UINT UpdateProgressMessage() { return s_updateProgress; }
  static UINT LightStateMessage() { return s_lightState; }
  static UINT LightControlRequestMessage() { return s_lightControlRequest; }
  static UINT DeviceTableRequestMessage() { return s_deviceTableRequest; }

 private:
  static inline UINT s_instance = 0;
  static inline UINT s_updateProgress = 0;
  static inline UINT s_lightState = 0;
  static inline UINT s_lightControlRequest = 0;
  static inline UINT s_deviceTableRequest = 0;
};

}  // namespace ostrel
