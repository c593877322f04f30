#include "shell/RegisteredMessages.h"

#include "platform/ui/WindowApi.h"

namespace ostrel {

UINT RegisteredMessages::RegisterInstanceMessage() {
  s_instance = RegisterWindowMessage(kInstanceName);
  return s_instance;
}

void RegisteredMessages::RegisterApplicationMessages() {
  s_updateProgress = RegisterWindowMessage(kUpdateProgressName);
  s_lightState = RegisterWindowMessage(kLightStateName);
  s_lightControlRequest = RegisterWindowMessage(kLightControlRequestName);
  s_deviceTableRequest = RegisterWindowMessage(kDeviceTableRequestName);
}

}  // namespace ostrel
