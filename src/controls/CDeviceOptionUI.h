#pragma once
// One entry of the device list: the option "device_select" that shows the
// device's page, the check box "synchro_device_select" that adds the device
// to lighting synchronisation, and the label "device_select_name". The
// option's icons follow the device type and role, and switch to the synchro
// pair while the check box is set.

#include <functional>

#include "platform/ui/CHorizontalLayoutUI.h"

namespace ostrel {

class CCheckBoxUI;
class CLabelUI;
class CMpDevicePowerUI;
class COptionUI;

class CDeviceOptionUI : public CHorizontalLayoutUI {
 public:
  // Icon base and tool-tip key of a device type; role -1 matches any role.
  struct DeviceIcon {
    int type;
    int role;
    const char* base;
    const char* toolTip;
  };
  static const DeviceIcon kUnknownIcon;
  static constexpr const char* kIconFolder = "common/device_ico/";
  // The name of the selected entry is shown in the accent colour.
  static constexpr DWORD kNameColor = 0xFF9AA3AD;
  static constexpr DWORD kSelectedNameColor = 0xFF0099FF;

  CDeviceOptionUI() = default;
  ~CDeviceOptionUI() override = default;

  const char* GetClass() const override { return "DeviceOption"; }
  void* GetInterface(const char* pstrName) override;
  void DoInit() override;
  bool Activate() override;
  void DoEvent(TEventUI& event) override;
  bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) override;

  // The children by name (null until the entry is in a window).
  COptionUI* GetSelectOption() const { return m_pSelect; }
  CCheckBoxUI* GetSynchroCheck() const { return m_pSynchro; }
  CLabelUI* GetNameLabel() const { return m_pName; }

  // The icon row for a device type and role; null when the type is known
  // but the role is not (the entry then keeps its icons).
  static const DeviceIcon* FindIcon(int type, int role);
  void SetDeviceType(int type, int role);
  int GetDeviceType() const { return m_nType; }
  int GetDeviceRole() const { return m_nRole; }
  // "<folder><base>_normal.png" ... as the option draws them.
  const CDuiString& GetNormalIcon() const { return m_sNormalIcon; }
  const CDuiString& GetSelectedIcon() const { return m_sSelectedIcon; }
  const CDuiString& GetSynchroNormalIcon() const { return m_sSynchroNormalIcon; }
  const CDuiString& GetSynchroSelectedIcon() const { return m_sSynchroSelectedIcon; }

  // The option selects page `index` of the tab layout `tabLayout`; entries
  // of one list share the option group `group`.
  void SetTabBinding(const char* tabLayout, int index, const char* group);
  CDuiString GetBindTabLayoutName() const;
  int GetBindTabIndex() const;
  // The power indicator's container and the indicator's index in it (-1: hide it).
  void SetPowerIndex(const char* layoutName, int index);
  const CDuiString& GetPowerLayoutName() const { return m_sPowerLayout; }
  int GetPowerIndex() const { return m_nPowerIndex; }

  void SetDeviceName(const char* name);
  void SetSynchroVisible(bool bVisible);
  bool IsDeviceSelected() const;
  bool IsSynchroSelected() const;
  // Sets the check box quietly (no "selectchanged") and shows the matching icons.
  void SetSynchroSelected(bool bSelected);
  void SelectDevice(bool bTriggerEvent = true);

  // The page this entry stands for and its power indicator (not owned).
  void SetPage(CControlUI* pPage) { m_pPage = pPage; }
  CControlUI* GetPage() const { return m_pPage; }
  void SetPowerUI(CMpDevicePowerUI* pPower) { m_pPower = pPower; }
  CMpDevicePowerUI* GetPowerUI() const { return m_pPower; }
  // Connected devices are the visible entries.
  void SetConnected(bool bConnected);
  bool IsConnected() const { return m_bConnected; }

  // The page's timers (1000-1005) run on this entry. Each is killed when it
  // fires, then handed to the handler, which re-arms what it needs.
  using TimerHandler = std::function<void(UINT nTimerId)>;
  void SetTimerHandler(TimerHandler handler) { m_timerHandler = std::move(handler); }
  static constexpr UINT kFirstPageTimer = 1000;
  static constexpr UINT kLastPageTimer = 1005;

 private:
  void FindChildren();
  void ApplyIcons();

  COptionUI* m_pSelect = nullptr;
  CCheckBoxUI* m_pSynchro = nullptr;
  CLabelUI* m_pName = nullptr;
  CControlUI* m_pPage = nullptr;
  CMpDevicePowerUI* m_pPower = nullptr;
  int m_nType = 0;
  int m_nRole = 0;
  bool m_bConnected = false;
  CDuiString m_sPowerLayout;
  int m_nPowerIndex = -1;
  CDuiString m_sToolTip;
  CDuiString m_sNormalIcon;
  CDuiString m_sSelectedIcon;
  CDuiString m_sSynchroNormalIcon;
  CDuiString m_sSynchroSelectedIcon;
  // Binding asked for before the children existed.
  CDuiString m_sBindTab;
  int m_nBindIndex = -1;
  CDuiString m_sGroup;
  CDuiString m_sDeviceName;
  bool m_bSynchroVisible = true;
  TimerHandler m_timerHandler;
};

}  // namespace ostrel
