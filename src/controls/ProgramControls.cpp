#include "controls/ProgramControls.h"

#include "controls/CChartViewUI.h"
#include "controls/CCircleProgressUI.h"
#include "controls/CCloudShareListItemUI.h"
#include "controls/CComboEditContainerElementUI.h"
#include "controls/CDeviceKeyButtonUI.h"
#include "controls/CDeviceOptionUI.h"
#include "controls/CHandImgButtonUI.h"
#include "controls/CHandImgSelectButtonUI.h"
#include "controls/CMpDevicePowerUI.h"
#include "controls/CRedioMacroButtonUI.h"
#include "controls/CSelectPanelUI.h"
#include "controls/CWndUI.h"
#include "platform/ui/CControlFactory.h"

namespace ostrel {

namespace {
template <class T>
CControlUI* Create() {
  return new T;
}

constexpr ProgramControlName kNames[] = {
    // Class names.
    {"CCircleProgressUI", &Create<CCircleProgressUI>},
    {"CChartViewUI", &Create<CChartViewUI>},
    {"CWndUI", &Create<CWndUI>},
    {"CSelectPanelUI", &Create<CSelectPanelUI>},
    {"CDeviceKeyButtonUI", &Create<CDeviceKeyButtonUI>},
    {"CCloudShareListItemUI", &Create<CCloudShareListItemUI>},
    {"CDeviceOptionUI", &Create<CDeviceOptionUI>},
    {"CMpDevicePowerUI", &Create<CMpDevicePowerUI>},
    {"CComboEditContainerElementUI", &Create<CComboEditContainerElementUI>},
    {"CHandImgButtonUI", &Create<CHandImgButtonUI>},
    {"CHandImgSelectButtonUI", &Create<CHandImgSelectButtonUI>},
    {"CRedioMacroButtonUI", &Create<CRedioMacroButtonUI>},
    // Element names of the layouts.
    {"CircleProgress", &Create<CCircleProgressUI>},
    {"SelectPanel", &Create<CSelectPanelUI>},
    {"DeviceKeyButton", &Create<CDeviceKeyButtonUI>},
    {"HandImgButton", &Create<CHandImgButtonUI>},
    {"HandImgSelectButton", &Create<CHandImgSelectButtonUI>},
    {"RedioMacroButton", &Create<CRedioMacroButtonUI>},
    {"ComboEditContainerElement", &Create<CComboEditContainerElementUI>},
    {"DeviceOption", &Create<CDeviceOptionUI>},
    {"MpDevicePower", &Create<CMpDevicePowerUI>},
};
}  // namespace

const ProgramControlName* ProgramControlNames(int* count) {
  if (count) *count = static_cast<int>(sizeof(kNames) / sizeof(kNames[0]));
  return kNames;
}

void RegisterProgramControls() {
  CControlFactory* factory = CControlFactory::GetInstance();
  for (const ProgramControlName& entry : kNames) factory->RegistControl(entry.name, entry.create);
}

}  // namespace ostrel
