// Every registered name builds its class from a layout.

#include <string>
#include <vector>

#include "ControlsTestWindow.h"
#include "controls/ProgramControls.h"
#include "platform/ui/CContainerUI.h"
#include "platform/ui/CControlFactory.h"
#include "platform/ui/CDialogBuilder.h"

namespace ostrel::test {
namespace {

class ControlsFactory : public ControlsTest {};

TEST_F(ControlsFactory, EveryRegisteredNameBuildsItsClassFromALayout) {
  struct Case {
    const char* element;
    const char* className;
  };
  const Case cases[] = {
      {"CCircleProgressUI", "CircleProgress"},
      {"CChartViewUI", "ControlUI"},
      {"CWndUI", "Wnd"},
      {"CSelectPanelUI", "SelectPanel"},
      {"CDeviceKeyButtonUI", "DeviceKeyButton"},
      {"CCloudShareListItemUI", "CloudShareListItemUI"},
      {"CDeviceOptionUI", "DeviceOption"},
      {"CMpDevicePowerUI", "MpDevicePower"},
      {"CComboEditContainerElementUI", "ComboEditContainerElement"},
      {"CHandImgButtonUI", "HandImgButton"},
      {"CHandImgSelectButtonUI", "HandImgSelectButton"},
      {"CRedioMacroButtonUI", "RedioMacroButton"},
      {"CircleProgress", "CircleProgress"},
      {"SelectPanel", "SelectPanel"},
      {"DeviceKeyButton", "DeviceKeyButton"},
      {"HandImgButton", "HandImgButton"},
      {"HandImgSelectButton", "HandImgSelectButton"},
      {"RedioMacroButton", "RedioMacroButton"},
      {"ComboEditContainerElement", "ComboEditContainerElement"},
      {"DeviceOption", "DeviceOption"},
      {"MpDevicePower", "MpDevicePower"},
  };
  int count = 0;
  ProgramControlNames(&count);
  EXPECT_EQ(count, static_cast<int>(std::size(cases))) << "a registered name without a case here";
  for (const Case& c : cases) {
    EXPECT_TRUE(CControlFactory::GetInstance()->IsRegistered(c.element)) << c.element;
    std::string xml = std::string("<Window size=\"100,100\"><VerticalLayout><") + c.element +
                      " name=\"made\"/></VerticalLayout></Window>";
    ControlsTestWindow w(xml);
    ASSERT_NE(w.CreateShown(), nullptr) << c.element;
    CControlUI* made = w.Find("made");
    ASSERT_NE(made, nullptr) << c.element;
    EXPECT_STREQ(made->GetClass(), c.className) << c.element;
    w.Close();
    Pump();
  }
}

TEST_F(ControlsFactory, TheEntryLayoutsBuildTheirControlsWithTheirNamedChildren) {
  struct Case {
    const char* layout;
    const char* className;
    std::vector<const char*> children;
  };
  const Case cases[] = {
      {"XML\\CustomControlXML\\DeviceOption.xml",
       "DeviceOption",
       {"device_select", "synchro_device_select", "device_select_name"}},
      {"XML\\CustomControlXML\\MpDevicePower.xml",
       "MpDevicePower",
       {"device_power_Layout", "device_power_value", "device_wuxian_logo", "device_Power_progress",
        "device_power_status", "device_phone_type"}},
      {"XML\\CustomControlXML\\ComboEditElementItem.xml", "HorizontalLayoutUI", {"combo_edit_item_text"}},
  };
  for (const Case& c : cases) {
    ControlsTestWindow w(
        std::string("<Window size=\"300,100\"><VerticalLayout name=\"holder\"><Include source=\"") +
        c.layout + "\"/></VerticalLayout></Window>");
    ASSERT_NE(w.CreateShown(), nullptr) << c.layout;
    auto* holder = static_cast<CContainerUI*>(w.Find("holder"));
    ASSERT_EQ(holder->GetCount(), 1) << c.layout;
    EXPECT_STREQ(holder->GetItemAt(0)->GetClass(), c.className) << c.layout;
    for (const char* child : c.children) EXPECT_NE(w.Find(child), nullptr) << c.layout << ": " << child;
    w.GetPaintManager()->RenderToImage();
    // Every attribute and image of the layout is understood and found.
    for (const std::string& line : debugLines) ADD_FAILURE() << c.layout << ": " << line;
    debugLines.clear();
    w.Close();
    Pump();
  }
}

}  // namespace
}  // namespace ostrel::test
