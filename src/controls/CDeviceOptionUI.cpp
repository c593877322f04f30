#include "controls/CDeviceOptionUI.h"

#include "platform/ui/CCheckBoxUI.h"
#include "platform/ui/CLabelUI.h"
#include "platform/ui/COptionUI.h"
#include "platform/ui/CPaintManagerUI.h"

namespace ostrel {

namespace {
constexpr int kAnyRole = -1;
constexpr CDeviceOptionUI::DeviceIcon kDeviceIcons[] = {
    {1, kAnyRole, "kb_device", "kb_device_name_text"},
    {2, kAnyRole, "ms_device", "ms_device_name_text"},
    {3, 0, "hard_mp_device", "hard_mp_device_name_text"},
    {3, 1, "soft_mp_device", "soft_mp_device_name_text"},
    {4, kAnyRole, "hd_device", "hd_device_name_text"},
    {7, kAnyRole, "hd_device", "hd_device_name_text"},
    {5, kAnyRole, "hub_device", "hub_device_name_text"},
};
}  // namespace

const CDeviceOptionUI::DeviceIcon CDeviceOptionUI::kUnknownIcon = {0, kAnyRole, "unknow_device",
                                                                   "unknow_device_name_text"};

const CDeviceOptionUI::DeviceIcon* CDeviceOptionUI::FindIcon(int type, int role) {
  bool typeKnown = false;
  for (const DeviceIcon& icon : kDeviceIcons) {
    if (icon.type != type) continue;
    typeKnown = true;
    if (icon.role == kAnyRole || icon.role == role) return &icon;
  }
  return typeKnown ? nullptr : &kUnknownIcon;
}

void* CDeviceOptionUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("DeviceOption") == 0) return this;
  return CHorizontalLayoutUI::GetInterface(pstrName);
}

void CDeviceOptionUI::FindChildren() {
  auto find = [this](const char* name) -> CControlUI* {
    return m_pManager ? m_pManager->FindSubControlByName(this, name) : nullptr;
  };
  CControlUI* select = find("device_select");
  CControlUI* synchro = find("synchro_device_select");
  CControlUI* label = find("device_select_name");
  m_pSelect = select ? static_cast<COptionUI*>(select->GetInterface("Option")) : nullptr;
  m_pSynchro = synchro ? static_cast<CCheckBoxUI*>(synchro->GetInterface("CheckBox")) : nullptr;
  m_pName = label ? static_cast<CLabelUI*>(label->GetInterface("Label")) : nullptr;
}

void CDeviceOptionUI::DoInit() {
  FindChildren();
  if (m_sNormalIcon.IsEmpty()) {
    m_nType = 0;
    m_sToolTip = kUnknownIcon.toolTip;
    CDuiString base = CDuiString(kIconFolder) + kUnknownIcon.base;
    m_sNormalIcon = base + "_normal.png";
    m_sSelectedIcon = base + "_selected.png";
    m_sSynchroNormalIcon = base + "_synchro_normal.png";
    m_sSynchroSelectedIcon = base + "_synchro_selected.png";
  }
  if (m_pSynchro) {
    // The icons follow the check box whoever sets it.
    m_pSynchro->OnNotify.push_back([this](TNotifyUI& msg) {
      if (msg.sType == DUI_MSGTYPE_SELECTCHANGED) ApplyIcons();
      return true;
    });
    m_pSynchro->SetVisible(m_bSynchroVisible);
  }
  if (!m_sBindTab.IsEmpty() || !m_sGroup.IsEmpty()) SetTabBinding(m_sBindTab, m_nBindIndex, m_sGroup);
  if (!m_sDeviceName.IsEmpty()) SetDeviceName(m_sDeviceName);
  ApplyIcons();
}

void CDeviceOptionUI::SetDeviceType(int type, int role) {
  m_nType = type;
  m_nRole = role;
  const DeviceIcon* icon = FindIcon(type, role);
  if (!icon) return;
  CDuiString base = CDuiString(kIconFolder) + icon->base;
  m_sNormalIcon = base + "_normal.png";
  m_sSelectedIcon = base + "_selected.png";
  m_sSynchroNormalIcon = base + "_synchro_normal.png";
  m_sSynchroSelectedIcon = base + "_synchro_selected.png";
  m_sToolTip = icon->toolTip;
  ApplyIcons();
}

void CDeviceOptionUI::ApplyIcons() {
  if (!m_pSelect) return;
  bool synchro = IsSynchroSelected();
  m_pSelect->SetNormalImage(synchro ? m_sSynchroNormalIcon : m_sNormalIcon);
  m_pSelect->SetSelectedImage(synchro ? m_sSynchroSelectedIcon : m_sSelectedIcon);
  m_pSelect->SetResourceText(true);
  m_pSelect->SetToolTip(m_sToolTip);
}

void CDeviceOptionUI::SetTabBinding(const char* tabLayout, int index, const char* group) {
  m_sBindTab = tabLayout ? tabLayout : "";
  m_nBindIndex = index;
  m_sGroup = group ? group : "";
  if (!m_pSelect) return;
  m_pSelect->BindTabLayoutName(m_sBindTab);
  m_pSelect->BindTabIndex(index);
  m_pSelect->SetGroup(m_sGroup.IsEmpty() ? nullptr : m_sGroup.GetData());
}

CDuiString CDeviceOptionUI::GetBindTabLayoutName() const {
  return m_pSelect ? m_pSelect->GetBindTabLayoutName() : m_sBindTab;
}

int CDeviceOptionUI::GetBindTabIndex() const {
  return m_pSelect ? m_pSelect->GetBindTabLayoutIndex() : m_nBindIndex;
}

void CDeviceOptionUI::SetPowerIndex(const char* layoutName, int index) {
  m_sPowerLayout = layoutName ? layoutName : "";
  m_nPowerIndex = index;
}

void CDeviceOptionUI::SetDeviceName(const char* name) {
  m_sDeviceName = name ? name : "";
  if (m_pName) m_pName->SetText(m_sDeviceName);
}

void CDeviceOptionUI::SetSynchroVisible(bool bVisible) {
  m_bSynchroVisible = bVisible;
  if (m_pSynchro) m_pSynchro->SetVisible(bVisible);
}

bool CDeviceOptionUI::IsDeviceSelected() const { return m_pSelect && m_pSelect->IsSelected(); }

bool CDeviceOptionUI::IsSynchroSelected() const { return m_pSynchro && m_pSynchro->IsSelected(); }

void CDeviceOptionUI::SetSynchroSelected(bool bSelected) {
  if (m_pSynchro) m_pSynchro->SetCheck(bSelected, false);
  ApplyIcons();
}

void CDeviceOptionUI::SelectDevice(bool bTriggerEvent) {
  if (!m_pSelect) return;
  m_pSelect->Selected(true, bTriggerEvent);
  m_pSelect->BindTriggerTabSel();
}

void CDeviceOptionUI::SetConnected(bool bConnected) {
  m_bConnected = bConnected;
  SetVisible(bConnected);
}

bool CDeviceOptionUI::Activate() {
  if (!CHorizontalLayoutUI::Activate()) return false;
  if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED);
  return true;
}

bool CDeviceOptionUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) {
  // Options of a group are unselected quietly, so the name's colour is
  // settled when the entry is drawn rather than on a notification.
  if (m_pName) {
    DWORD color = IsDeviceSelected() ? kSelectedNameColor : kNameColor;
    if (m_pName->GetTextColor() != color) m_pName->SetTextColor(color);
  }
  return CHorizontalLayoutUI::DoPaint(hDC, rcPaint, pStopControl);
}

void CDeviceOptionUI::DoEvent(TEventUI& event) {
  if (event.Type == UIEVENT_TIMER && event.wParam >= kFirstPageTimer && event.wParam <= kLastPageTimer) {
    UINT id = static_cast<UINT>(event.wParam);
    if (m_pManager) m_pManager->KillTimer(this, id);
    if (m_timerHandler) {
      m_timerHandler(id);
      return;
    }
  }
  CHorizontalLayoutUI::DoEvent(event);
}

}  // namespace ostrel
