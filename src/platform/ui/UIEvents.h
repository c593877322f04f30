#pragma once
// The two records that travel through the toolkit: an input or state event
// delivered to one control (TEventUI), and a notification a control raises
// for the window (TNotifyUI).

#include "platform/ui/CDuiString.h"
#include "platform/ui/UIDefs.h"

namespace ostrel {

class CControlUI;

struct TEventUI {
  int Type = 0;  // UIEVENT_*
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse;
  char32_t chKey = 0;  // UIEVENT_CHAR: the code point; key events: the virtual key
  WORD wKeyState = 0;  // MK_* bits
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

struct TNotifyUI {
  CDuiString sType;
  CDuiString sVirtualWnd;
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// Notification types the toolkit raises.
inline constexpr const char* DUI_MSGTYPE_CLICK = "click";
inline constexpr const char* DUI_MSGTYPE_SELECTCHANGED = "selectchanged";
inline constexpr const char* DUI_MSGTYPE_ITEMSELECT = "itemselect";
inline constexpr const char* DUI_MSGTYPE_ITEMCLICK = "itemclick";
inline constexpr const char* DUI_MSGTYPE_ITEMACTIVATE = "itemactivate";
inline constexpr const char* DUI_MSGTYPE_WINDOWINIT = "windowinit";
inline constexpr const char* DUI_MSGTYPE_WINDOWSIZE = "windowsize";
inline constexpr const char* DUI_MSGTYPE_TIMER = "timer";
inline constexpr const char* DUI_MSGTYPE_RETURN = "return";
inline constexpr const char* DUI_MSGTYPE_SETFOCUS = "setfocus";
inline constexpr const char* DUI_MSGTYPE_KILLFOCUS = "killfocus";
inline constexpr const char* DUI_MSGTYPE_TEXTCHANGED = "textchanged";
inline constexpr const char* DUI_MSGTYPE_VALUECHANGED = "valuechanged";
inline constexpr const char* DUI_MSGTYPE_MOVEVALUECHANGED = "movevaluechanged";
inline constexpr const char* DUI_MSGTYPE_COLORCHANGED = "colorchanged";
inline constexpr const char* DUI_MSGTYPE_MENU = "menu";
inline constexpr const char* DUI_MSGTYPE_DBCLICK = "dbclick";
inline constexpr const char* DUI_MSGTYPE_TABSELECT = "tabselect";
inline constexpr const char* DUI_MSGTYPE_DROPDOWN = "dropdown";
inline constexpr const char* DUI_MSGTYPE_SCROLL = "scroll";

}  // namespace ostrel
