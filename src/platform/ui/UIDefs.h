#pragma once
// Basic types, message numbers and flags of the toolkit. The numbers are the
// Windows ones, so the program's handlers read as written for Windows
// ("WM_USER + 0x812", "SC_RESTORE", ...).

#include <cstdint>
#include <string>

struct _cairo;

namespace ostrel {

using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using WORD = std::uint16_t;
using BYTE = std::uint8_t;
using BOOL = int;
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
using LONG = std::int32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;

// Window handles are opaque ids handed out by the message loop.
struct OpaqueWindow;
using HWND = OpaqueWindow*;
// Drawing goes to a Cairo context.
using HDC = _cairo*;

struct POINT {
  LONG x = 0;
  LONG y = 0;
};

struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
};

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};

// Rectangle helpers with the Windows semantics (right/bottom exclusive).
inline bool IsRectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
inline bool PtInRect(const RECT& r, POINT p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}
bool IntersectRect(RECT* out, const RECT& a, const RECT& b);
void UnionRect(RECT* out, const RECT& a, const RECT& b);
inline bool EqualRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void OffsetRect(RECT* r, int dx, int dy) {
  r->left += dx;
  r->right += dx;
  r->top += dy;
  r->bottom += dy;
}

constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr int GET_X_LPARAM(LPARAM l) {
  return static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(l)));
}
constexpr int GET_Y_LPARAM(LPARAM l) {
  return static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(l)));
}
constexpr LPARAM MAKELPARAM(int lo, int hi) {
  return static_cast<LPARAM>((static_cast<std::uint32_t>(lo) & 0xFFFF) |
                             ((static_cast<std::uint32_t>(hi) & 0xFFFF) << 16));
}
constexpr DWORD RGB(int r, int g, int b) {
  return static_cast<DWORD>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Called instead of posting WM_TIMER when a timer is set with one.
using TIMERPROC = void (*)(HWND hwnd, UINT message, UINT_PTR id, DWORD time);

// A message as the loop carries it.
struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
};

struct COPYDATASTRUCT {
  std::uintptr_t dwData = 0;
  DWORD cbData = 0;
  void* lpData = nullptr;
};

struct MINMAXINFO {
  POINT ptReserved;
  POINT ptMaxSize;
  POINT ptMaxPosition;
  POINT ptMinTrackSize;
  POINT ptMaxTrackSize;
};

// Window messages.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_COPYDATA = 0x004A;
constexpr UINT WM_CONTEXTMENU = 0x007B;
constexpr UINT WM_DISPLAYCHANGE = 0x007E;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_NCCALCSIZE = 0x0083;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_NCPAINT = 0x0085;
constexpr UINT WM_NCACTIVATE = 0x0086;
constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr UINT WM_NCLBUTTONUP = 0x00A2;
constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_POWERBROADCAST = 0x0218;
constexpr UINT WM_MOUSEHOVER = 0x02A1;
constexpr UINT WM_MOUSELEAVE = 0x02A3;
constexpr UINT WM_DPICHANGED = 0x02E0;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;
// Registered window messages are numbered from here.
constexpr UINT kFirstRegisteredMessage = 0xC000;

// WM_SYSCOMMAND commands.
constexpr WPARAM SC_SIZE = 0xF000;
constexpr WPARAM SC_MOVE = 0xF010;
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_KEYMENU = 0xF100;
constexpr WPARAM SC_RESTORE = 0xF120;

// WM_ACTIVATE states.
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;

// WM_POWERBROADCAST events.
constexpr WPARAM PBT_APMSUSPEND = 4;
constexpr WPARAM PBT_APMRESUMEAUTOMATIC = 18;

// WM_NCHITTEST answers.
constexpr LRESULT HTNOWHERE = 0;
constexpr LRESULT HTCLIENT = 1;
constexpr LRESULT HTCAPTION = 2;
constexpr LRESULT HTLEFT = 10;
constexpr LRESULT HTRIGHT = 11;
constexpr LRESULT HTTOP = 12;
constexpr LRESULT HTTOPLEFT = 13;
constexpr LRESULT HTTOPRIGHT = 14;
constexpr LRESULT HTBOTTOM = 15;
constexpr LRESULT HTBOTTOMLEFT = 16;
constexpr LRESULT HTBOTTOMRIGHT = 17;

// Mouse key state in wParam of mouse messages.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;
// Not a Windows bit: Alt held during a mouse message.
constexpr WPARAM MK_ALT = 0x0020;

// Virtual key codes.
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_F4 = 0x73;

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;

// SetWindowPos flags and special "insert after" handles.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2));

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;
constexpr UINT CS_DBLCLKS = 0x0008;

// Text drawing flags (DrawText style).
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_END_ELLIPSIS = 0x8000;

// Control states (GetButtonState / m_uButtonState).
constexpr UINT UISTATE_FOCUSED = 0x00000001;
constexpr UINT UISTATE_SELECTED = 0x00000002;
constexpr UINT UISTATE_DISABLED = 0x00000004;
constexpr UINT UISTATE_HOT = 0x00000008;
constexpr UINT UISTATE_PUSHED = 0x00000010;
constexpr UINT UISTATE_READONLY = 0x00000020;
constexpr UINT UISTATE_CAPTURED = 0x00000040;

// Control flags (GetControlFlags).
constexpr UINT UIFLAG_TABSTOP = 0x00000001;
constexpr UINT UIFLAG_SETCURSOR = 0x00000002;
constexpr UINT UIFLAG_WANTRETURN = 0x00000004;

// FindControl flags.
constexpr UINT UIFIND_ALL = 0x00000000;
constexpr UINT UIFIND_VISIBLE = 0x00000001;
constexpr UINT UIFIND_ENABLED = 0x00000002;
constexpr UINT UIFIND_HITTEST = 0x00000004;
constexpr UINT UIFIND_UPDATETEST = 0x00000008;
constexpr UINT UIFIND_TOP_FIRST = 0x00000010;
constexpr UINT UIFIND_ME_FIRST = 0x80000000;

// Event kinds delivered to CControlUI::DoEvent. Mouse events lie between
// UIEVENT__MOUSEBEGIN and UIEVENT__MOUSEEND, key events between the key
// markers.
enum UIEVENT_TYPE {
  UIEVENT__FIRST = 1,
  UIEVENT__KEYBEGIN,
  UIEVENT_KEYDOWN,
  UIEVENT_KEYUP,
  UIEVENT_CHAR,
  UIEVENT_SYSKEY,
  UIEVENT__KEYEND,
  UIEVENT__MOUSEBEGIN,
  UIEVENT_MOUSEMOVE,
  UIEVENT_MOUSELEAVE,
  UIEVENT_MOUSEENTER,
  UIEVENT_MOUSEHOVER,
  UIEVENT_BUTTONDOWN,
  UIEVENT_BUTTONUP,
  UIEVENT_RBUTTONDOWN,
  UIEVENT_RBUTTONUP,
  UIEVENT_DBLCLICK,
  UIEVENT_CONTEXTMENU,
  UIEVENT_SCROLLWHEEL,
  UIEVENT__MOUSEEND,
  UIEVENT_KILLFOCUS,
  UIEVENT_SETFOCUS,
  UIEVENT_WINDOWSIZE,
  UIEVENT_SETCURSOR,
  UIEVENT_TIMER,
  UIEVENT__LAST,
};

}  // namespace ostrel
