#pragma once
// A window backend without a display: windows exist only as state, frames
// stay in the paint managers' surfaces (CPaintManagerUI::RenderToImage), and
// input is injected at client coordinates as the same window messages a real
// backend would post, so it passes through the normal dispatch.

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "platform/ui/IWindowBackend.h"

namespace ostrel {

class CHeadlessBackend : public IWindowBackend {
 public:
  explicit CHeadlessBackend(RECT monitor = {0, 0, 1920, 1080});

  bool CreateNativeWindow(HWND hwnd, const WindowCreateParams& params) override;
  void DestroyNativeWindow(HWND hwnd) override;
  void SetNativeRect(HWND hwnd, const RECT& rect) override;
  void ShowNativeWindow(HWND hwnd, int show) override;
  void SetNativeTitle(HWND hwnd, const std::string& title) override;
  void SetNativeTopmost(HWND hwnd, bool topmost) override;
  void BringToFront(HWND hwnd) override;
  void Present(HWND hwnd, _cairo_surface* surface, const RECT& dirty) override;
  void SetMouseCapture(HWND hwnd, bool captured) override;
  void SetCursor(HWND, int cursorId) override { cursor_id_ = cursorId; }
  int CursorId() const { return cursor_id_; }
  void ShowToolTip(HWND hwnd, const std::string& text, const RECT& around) override;
  void HideToolTip(HWND hwnd) override;
  POINT GetCursorPos() const override { return cursor_; }
  RECT GetMonitorRect(HWND hwnd) const override;
  void SetClipboardText(const std::string& text) override { clipboard_ = text; }
  std::string GetClipboardText() const override { return clipboard_; }
  void WaitForEvents(int timeout_ms) override;
  void Wake() override;

  void SetMonitorRect(const RECT& rect) { monitor_ = rect; }

  // When the loop would wait, the idle handler may inject more input; it
  // returns false when it has nothing left (then the loop waits normally).
  void SetIdleHandler(std::function<bool()> handler) { idle_ = std::move(handler); }

  // Synthetic input at client coordinates of `hwnd`, posted to the queue.
  // Modifier keys (MK_CONTROL, MK_SHIFT) go into the mouse messages' wParam.
  void MouseMove(HWND hwnd, int x, int y, WPARAM keys = 0);
  void MouseDown(HWND hwnd, int x, int y, WPARAM keys = 0);
  void MouseUp(HWND hwnd, int x, int y, WPARAM keys = 0);
  void Click(HWND hwnd, int x, int y, WPARAM keys = 0);
  void DoubleClick(HWND hwnd, int x, int y, WPARAM keys = 0);
  void RightClick(HWND hwnd, int x, int y);
  void Wheel(HWND hwnd, int x, int y, int delta);
  void KeyDown(HWND hwnd, UINT vk);
  void KeyUp(HWND hwnd, UINT vk);
  void KeyPress(HWND hwnd, UINT vk);
  // Types UTF-8 text as WM_CHAR messages, one per code point.
  void TypeText(HWND hwnd, const std::string& text);

  // Any other message as the native side would post it (WM_MOUSELEAVE ...).
  void PostInput(HWND hwnd, UINT message, WPARAM w, LPARAM l);

  // What the headless "screen" shows.
  const std::string& ToolTipText() const { return tooltip_; }
  HWND CapturedWindow() const { return captured_; }
  HWND ForegroundWindow() const { return foreground_; }
  int PresentCount() const { return presents_; }
  RECT LastPresentedRect() const { return last_dirty_; }

 private:
  RECT monitor_;
  POINT cursor_;
  HWND captured_ = nullptr;
  HWND foreground_ = nullptr;
  std::string tooltip_;
  std::string clipboard_;
  int cursor_id_ = 32512;
  int presents_ = 0;
  RECT last_dirty_;
  std::function<bool()> idle_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool woken_ = false;
};

}  // namespace ostrel
