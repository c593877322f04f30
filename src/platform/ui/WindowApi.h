#pragma once
// The window functions the program calls by their Windows names, served by
// the toolkit's own window table and message loop (CMessageLoop).

#include <string>

#include "platform/ui/UIDefs.h"

namespace ostrel {

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Same name, same number; numbers start at 0xC000. Thread-safe.
UINT RegisterWindowMessage(const char* name);
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// With a procedure, the procedure is called when the timer is due instead of
// WM_TIMER reaching the window.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr);
bool KillTimer(HWND hwnd, UINT_PTR id);
DWORD GetTickCount();

bool IsWindow(HWND hwnd);
bool IsWindowVisible(HWND hwnd);
bool IsIconic(HWND hwnd);
bool IsZoomed(HWND hwnd);
bool IsWindowEnabled(HWND hwnd);
bool EnableWindow(HWND hwnd, bool enable);
bool ShowWindow(HWND hwnd, int show);
bool DestroyWindow(HWND hwnd);
bool GetWindowRect(HWND hwnd, RECT* rect);
bool GetClientRect(HWND hwnd, RECT* rect);
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool MoveWindow(HWND hwnd, int x, int y, int cx, int cy, bool repaint = true);
bool InvalidateRect(HWND hwnd, const RECT* rect, bool erase = false);
bool SetWindowText(HWND hwnd, const char* text);
std::string GetWindowText(HWND hwnd);
HWND GetWindowOwner(HWND hwnd);
HWND FindWindow(const char* className, const char* title);
bool SetForegroundWindow(HWND hwnd);
HWND GetActiveWindow();
bool GetCursorPos(POINT* point);
bool ScreenToClient(HWND hwnd, POINT* point);
bool ClientToScreen(HWND hwnd, POINT* point);
// The monitor nearest the window (MonitorFromWindow + rcMonitor).
RECT GetMonitorRect(HWND hwnd);
DWORD GetWindowStyle(HWND hwnd);
void SetWindowStyle(HWND hwnd, DWORD style);

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
int GetSystemMetrics(int index);

}  // namespace ostrel
