#pragma once
// The window backend on a real display: one SDL window per toolkit window,
// drawn in software (the paint manager's Cairo frame is copied into the
// window surface, only the changed rectangles), native input turned into the
// toolkit's window messages, and one wait for SDL events and the toolkit's
// queue together (posting from any thread pushes an SDL wake-up event).
//
// SDL runs with framebuffer acceleration off and without a D-Bus connection
// it could start a daemon for (see PrepareEnvironment).

#include <SDL2/SDL.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/IWindowBackend.h"

namespace ostrel {

class CSdlToolTip;

class CSdlBackend : public IWindowBackend {
 public:
  // Initialises SDL's video; null (with a debug line) when there is no
  // display or SDL cannot start.
  static std::unique_ptr<CSdlBackend> Create();
  // Sets the hints and the environment SDL must start with. Create() calls
  // it; it is public so that a program can call it before any thread runs.
  static void PrepareEnvironment();
  ~CSdlBackend() override;

  bool CreateNativeWindow(HWND hwnd, const WindowCreateParams& params) override;
  void DestroyNativeWindow(HWND hwnd) override;
  void SetNativeRect(HWND hwnd, const RECT& rect) override;
  void ShowNativeWindow(HWND hwnd, int show) override;
  void SetNativeTitle(HWND hwnd, const std::string& title) override;
  void SetNativeTopmost(HWND hwnd, bool topmost) override;
  void BringToFront(HWND hwnd) override;
  void Present(HWND hwnd, _cairo_surface* surface, const RECT& dirty) override;
  void SetMouseCapture(HWND hwnd, bool captured) override;
  void SetCursor(HWND hwnd, int cursorId) override;
  void ShowToolTip(HWND hwnd, const std::string& text, const RECT& around) override;
  void HideToolTip(HWND hwnd) override;
  POINT GetCursorPos() const override;
  RECT GetMonitorRect(HWND hwnd) const override;
  void SetClipboardText(const std::string& text) override;
  std::string GetClipboardText() const override;
  void WaitForEvents(int timeout_ms) override;
  void Wake() override;

  // Native state, for checks and screenshots.
  SDL_Window* NativeWindow(HWND hwnd) const;
  HWND WindowFromNative(Uint32 window_id) const;
  // What the window shows now (a copy of its surface), or null.
  _cairo_surface* CaptureWindow(HWND hwnd) const;
  // The pixels presented in total and in the last frame (dirty-rectangle checks).
  long long PresentedPixels() const { return presented_pixels_; }
  RECT LastPresentedRect() const { return last_present_; }
  const CSdlToolTip& ToolTip() const { return *tooltip_; }
  // The pointer shape chosen for the last mouse move.
  SDL_SystemCursor CurrentCursor() const { return cursor_shape_; }
  // Frame hit test of a window at client coordinates (caption, size box).
  SDL_HitTestResult HitTest(HWND hwnd, POINT client) const;
  // Turns one SDL event into window messages (also used by tests).
  void Translate(const SDL_Event& event);

  // One monitor: its rectangle on the desktop and its dots per inch.
  struct Display {
    RECT bounds;
    int dpi = 96;
  };
  // Where the monitors come from (SDL unless a test gives its own); read
  // again on every display event.
  void SetDisplaySource(std::function<std::vector<Display>()> source);
  const std::vector<Display>& Displays() const { return displays_; }

 private:
  struct Native {
    SDL_Window* window = nullptr;
    _cairo_surface* frame = nullptr;  // last presented frame, for exposes
    bool tool = false;
    int dpi = 96;
    int cursor_id = 32512;  // the paint manager's choice (IDC_ARROW)
    bool over_frame = false;
    UINT icon = 0;     // the window icon's resource number once applied
    RECT suggested{};  // WM_DPICHANGED's lParam points here
  };
  CSdlBackend();
  Native* Find(HWND hwnd);
  const Native* Find(HWND hwnd) const;
  void Blit(HWND hwnd, Native& native, const RECT& dirty);
  void TranslateWindowEvent(HWND hwnd, const SDL_WindowEvent& event);
  void TranslateMouseButton(HWND hwnd, const SDL_MouseButtonEvent& event);
  void TranslateKey(HWND hwnd, const SDL_KeyboardEvent& event);
  void UpdateCursor(HWND hwnd, POINT client);
  void ApplyCursor(SDL_SystemCursor shape);
  std::vector<Display> QueryDisplays() const;
  const Display* DisplayFor(HWND hwnd) const;
  void CheckDisplays();
  void CheckWindowDpi(HWND hwnd, Native& native);
  void SettleFocus();
  void ApplyIcon(HWND hwnd, Native& native);
  void UpdateTextInputRect();
  WPARAM MouseKeys(Uint32 buttons) const;
  static SDL_HitTestResult SDLCALL HitTestCallback(SDL_Window* window, const SDL_Point* area, void* data);

  std::map<HWND, Native> windows_;
  std::unique_ptr<CSdlToolTip> tooltip_;
  Uint32 wake_event_ = 0;
  std::atomic<bool> wake_pending_{false};
  // While mirroring a change the window system made (move, resize,
  // minimise), the toolkit's echo of it is not sent back.
  int mirroring_ = 0;
  bool focus_check_ = false;
  HWND captured_ = nullptr;
  HWND mouse_window_ = nullptr;
  RECT text_input_rect_{};  // where input methods place their candidates
  SDL_SystemCursor cursor_shape_ = SDL_SYSTEM_CURSOR_ARROW;
  std::map<int, SDL_Cursor*> cursors_;
  std::function<std::vector<Display>()> display_source_;
  std::vector<Display> displays_;
  long long presented_pixels_ = 0;
  RECT last_present_{};
};

}  // namespace ostrel
