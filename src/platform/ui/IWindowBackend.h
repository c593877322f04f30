#pragma once
// The seam between the toolkit and the windowing system. The toolkit keeps
// every window's state (rectangle, visibility, owner) itself and tells the
// backend what changed; the backend shows native windows, presents frames,
// and turns native input into posted window messages. The headless backend
// (tests, rendering to images) and the SDL backend implement it.

#include <string>

#include "platform/ui/UIDefs.h"

struct _cairo_surface;

namespace ostrel {

struct WindowCreateParams {
  HWND owner = nullptr;
  std::string title;
  std::string class_name;
  DWORD style = 0;
  DWORD ex_style = 0;
  RECT rect;
};

class IWindowBackend {
 public:
  virtual ~IWindowBackend() = default;

  virtual bool CreateNativeWindow(HWND hwnd, const WindowCreateParams& params) = 0;
  virtual void DestroyNativeWindow(HWND hwnd) = 0;
  // Rectangle in screen coordinates; the client area is the whole window.
  virtual void SetNativeRect(HWND hwnd, const RECT& rect) = 0;
  // show: SW_HIDE, SW_SHOW, SW_MINIMIZE, SW_MAXIMIZE or SW_RESTORE.
  virtual void ShowNativeWindow(HWND hwnd, int show) = 0;
  virtual void SetNativeTitle(HWND hwnd, const std::string& title) = 0;
  virtual void SetNativeTopmost(HWND hwnd, bool topmost) = 0;
  virtual void BringToFront(HWND hwnd) = 0;
  // A finished frame: `surface` holds the whole client area, `dirty` the part that changed.
  virtual void Present(HWND hwnd, _cairo_surface* surface, const RECT& dirty) = 0;
  virtual void SetMouseCapture(HWND hwnd, bool captured) = 0;
  // The pointer shape over the window: a system cursor id (IDC_ARROW 32512,
  // IDC_IBEAM 32513, IDC_HAND 32649 ...).
  virtual void SetCursor(HWND hwnd, int cursorId) = 0;
  virtual void ShowToolTip(HWND hwnd, const std::string& text, const RECT& around) = 0;
  virtual void HideToolTip(HWND hwnd) = 0;
  virtual POINT GetCursorPos() const = 0;
  // The rectangle of the monitor a window is on (or the primary one).
  virtual RECT GetMonitorRect(HWND hwnd) const = 0;
  // The clipboard's text (UTF-8).
  virtual void SetClipboardText(const std::string& text) = 0;
  virtual std::string GetClipboardText() const = 0;

  // Called by the UI thread when it has nothing to do: wait up to
  // `timeout_ms` (-1: no limit) for native events, post what arrives, and
  // return. Wake() (any thread) ends a wait early.
  virtual void WaitForEvents(int timeout_ms) = 0;
  virtual void Wake() = 0;
};

}  // namespace ostrel
