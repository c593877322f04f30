#pragma once
// The program's notification-area icon. On Linux it is a StatusNotifierItem
// on the session bus (os/StatusNotifierItem); its clicks arrive at the
// receiving window as the callback message (WM_USER + 1 unless given), with
// wParam the icon's id and lParam the mouse message: WM_LBUTTONUP for the
// primary click, WM_RBUTTONUP for the context click, WM_MBUTTONUP for the
// secondary one. Without a session bus or a tray host there is no icon and
// no error; a host that appears later shows it.

#include <memory>
#include <string>

#include "platform/ui/CDuiString.h"
#include "platform/ui/UIDefs.h"

namespace ostrel {

class StatusNotifierItem;

constexpr UINT UIMSG_TRAYICON = WM_USER + 1;

class CTrayIcon {
 public:
  CTrayIcon();
  ~CTrayIcon();
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;

  // The icon is the skin image whose index id is the resource number
  // ("107" for 107), else the image file "icon_<number>.png".
  void CreateTrayIcon(HWND hWndRecv, UINT uIconIDResource, const char* pszToolTipText = nullptr,
                      UINT uMessage = UIMSG_TRAYICON);
  // Same with a skin image name.
  void CreateTrayIcon(HWND hWndRecv, const char* pszIconImage, const char* pszToolTipText = nullptr,
                      UINT uMessage = UIMSG_TRAYICON, UINT uId = 0);
  void DeleteTrayIcon();
  bool SetTooltipText(const char* pszToolTipText);
  CDuiString GetTooltipText() const { return CDuiString(m_sToolTip); }
  bool SetIcon(const char* pszIconImage);
  bool SetIcon(UINT uIconIDResource);
  // True while the icon exists on the bus (shown once a host takes it).
  bool IsCreated() const;
  // True once a tray host accepted it.
  bool IsVisible() const;
  UINT GetCallbackMessage() const { return m_uMessage; }
  // The item's bus name (tests, diagnostics); empty without an icon.
  std::string ServiceName() const;

  // The image name a resource number stands for.
  static std::string IconImageFor(UINT uIconIDResource);

 private:
  std::unique_ptr<StatusNotifierItem> m_item;
  HWND m_hWnd = nullptr;
  UINT m_uMessage = UIMSG_TRAYICON;
  UINT m_uId = 0;
  std::string m_sToolTip;
};

}  // namespace ostrel
