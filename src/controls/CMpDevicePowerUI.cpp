#include "controls/CMpDevicePowerUI.h"

#include <algorithm>

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CProgressUI.h"

namespace ostrel {

namespace {
// Supply state (record byte 1) and link (byte 3) to the bar's visibility
// and the state icon. A state not listed leaves bar and icon as they are.
struct SupplyState {
  std::uint8_t supply;
  int wireless;  // -1: either
  bool barVisible;
  const char* icon;
};
constexpr SupplyState kSupplyStates[] = {
    {0, -1, true, "file='power/powered.png'"},
    {1, 1, false, "file='power/wuxian_powering.png'"},
    {1, 0, true, "file='power/powering.png'"},
    {2, -1, true, "file='power/power.png'"},
};

constexpr CMpDevicePowerUI::PhoneType kPhoneTypes[] = {
    {1, "Phone_type_iphone", "file='power/Phone_type_iphone.png'"},
    {2, "Phone_type_samsung", "file='power/Phone_type_samsung.png'"},
    {3, "Phone_type_other", "file='power/Phone_type_other.png'"},
};
constexpr CMpDevicePowerUI::PhoneType kNoPhone = {0, "Phone_type_no_device",
                                                  "file='power/Phone_type_no_device.png'"};

constexpr int kMouseType = 2;
constexpr int kMousePadType = 3;
}  // namespace

const CMpDevicePowerUI::PhoneType& CMpDevicePowerUI::FindPhoneType(std::uint8_t code) {
  for (const PhoneType& phone : kPhoneTypes)
    if (phone.code == code) return phone;
  return kNoPhone;
}

void* CMpDevicePowerUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("MpDevicePower") == 0) return this;
  return CHorizontalLayoutUI::GetInterface(pstrName);
}

bool CMpDevicePowerUI::Activate() {
  if (!CHorizontalLayoutUI::Activate()) return false;
  if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED);
  return true;
}

CControlUI* CMpDevicePowerUI::Child(const char* name) const {
  return m_pManager ? m_pManager->FindSubControlByName(const_cast<CMpDevicePowerUI*>(this), name) : nullptr;
}

bool CMpDevicePowerUI::UpdatePowerStatus(std::span<const std::uint8_t> record, bool bPowerPolling) {
  if (record.size() < kRecordSize) return false;
  // A level above 100 is a device fault; show it as full rather than "255%".
  int level = std::min<int>(record[kLevelByte], 100);
  bool wireless = record[kWirelessByte] == 1;

  CControlUI* bar = Child("device_Power_progress");
  if (auto* progress = bar ? static_cast<CProgressUI*>(bar->GetInterface("Progress")) : nullptr)
    progress->SetValue(100 - level);
  if (CControlUI* value = Child("device_power_value")) {
    CDuiString text;
    text.Format("%d%s", level, "%");
    value->SetText(text);
  }
  if (m_nType == kMouseType) {
    if (CControlUI* mark = Child("device_wuxian_logo")) mark->SetVisible(wireless);
  }
  for (const SupplyState& state : kSupplyStates) {
    if (state.supply != record[kSupplyByte]) continue;
    if (state.wireless >= 0 && state.wireless != (wireless ? 1 : 0)) continue;
    if (bar) bar->SetVisible(state.barVisible);
    if (CControlUI* icon = Child("device_power_status")) icon->SetBkImage(state.icon);
    break;
  }
  if (m_nType == kMousePadType) {
    const PhoneType& phone = FindPhoneType(record[kPhoneByte]);
    if (CControlUI* icon = Child("device_phone_type")) {
      icon->SetToolTip(phone.text);
      icon->SetBkImage(phone.image);
      icon->SetVisible(true);
    }
  }
  if (CControlUI* layout = Child("device_power_Layout")) layout->SetVisible(bPowerPolling);
  return true;
}

}  // namespace ostrel
