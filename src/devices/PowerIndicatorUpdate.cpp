#include "devices/PowerIndicatorUpdate.h"

#include "platform/ui/CControlUI.h"
#include "platform/ui/CProgressUI.h"

namespace ostrel {

namespace {

CControlUI* FindChild(CControlUI* root, const char* name) {
  struct Query {
    const char* name;
  } query{name};
  return root->FindControl(
      [](CControlUI* control, void* data) -> CControlUI* {
        return control->GetName() == static_cast<Query*>(data)->name ? control : nullptr;
      },
      &query, UIFIND_ALL);
}

}  // namespace

const char* PowerIndicatorUpdate::PhoneText(std::uint8_t code) {
  for (const PhoneRow& row : kPhoneTypes)
    if (row.code == code) return row.text;
  return kNoPhone;
}

void PowerIndicatorUpdate::Apply(CControlUI* indicator, int deviceType, const Record& record, int powerPolling) {
  if (!indicator) return;
  const int level = record[0];
  const bool wireless = record[kPowerWirelessByte] == 1;
  CControlUI* bar = FindChild(indicator, "device_Power_progress");
  if (bar) {
    if (auto* progress = static_cast<CProgressUI*>(bar->GetInterface("Progress"))) progress->SetValue(100 - level);
  }
  if (CControlUI* value = FindChild(indicator, "device_power_value")) {
    CDuiString text;
    text.Format("%d%s", level, "%");
    value->SetText(text);
  }
  if (deviceType == kDeviceMouse) {
    if (CControlUI* logo = FindChild(indicator, "device_wuxian_logo")) logo->SetVisible(wireless);
  }
  CControlUI* status = FindChild(indicator, "device_power_status");
  const char* icon = nullptr;
  bool barVisible = true;
  switch (record[1]) {
    case 0:
      icon = "file='power/powered.png'";
      break;
    case 1:
      if (wireless) {
        barVisible = false;
        icon = "file='power/wuxian_powering.png'";
      } else {
        icon = "file='power/powering.png'";
      }
      break;
    case 2:
      icon = "file='power/power.png'";
      break;
    default:
      break;  // an unknown state leaves bar and icon as they are
  }
  if (icon) {
    if (bar) bar->SetVisible(barVisible);
    if (status) status->SetBkImage(icon);
  }
  if (deviceType == kDeviceMousePad) {
    if (CControlUI* phone = FindChild(indicator, "device_phone_type")) {
      const char* text = PhoneText(record[5]);
      phone->SetToolTip(text);
      CDuiString image;
      image.Format("file='power/%s.png'", text);
      phone->SetBkImage(image);
    }
  }
  if (CControlUI* whole = FindChild(indicator, "device_power_Layout")) whole->SetVisible(powerPolling != 0);
}

}  // namespace ostrel
