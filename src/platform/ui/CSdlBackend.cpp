#include "platform/ui/CSdlBackend.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/os/DebugLog.h"
#include "platform/ui/XErrorLogger.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CSdlToolTip.h"
#include "platform/ui/CTrayIcon.h"
#include "platform/ui/CWindowWnd.h"
#include "platform/ui/WindowApi.h"

namespace ostrel {

namespace {

CMessageLoop& Loop() { return CMessageLoop::Instance(); }

// SDL key codes to the virtual keys the controls and the program compare.
struct KeyMapping {
  SDL_Keycode sdl;
  UINT vk;
};
constexpr KeyMapping kKeyMap[] = {
    {SDLK_BACKSPACE, VK_BACK}, {SDLK_TAB, VK_TAB},      {SDLK_RETURN, VK_RETURN}, {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_ESCAPE, VK_ESCAPE},  {SDLK_SPACE, VK_SPACE},  {SDLK_PAGEUP, VK_PRIOR},  {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},        {SDLK_HOME, VK_HOME},    {SDLK_LEFT, VK_LEFT},     {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},    {SDLK_DOWN, VK_DOWN},    {SDLK_DELETE, VK_DELETE}, {SDLK_INSERT, 0x2D},
    {SDLK_LSHIFT, VK_SHIFT},   {SDLK_RSHIFT, VK_SHIFT}, {SDLK_LCTRL, VK_CONTROL}, {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU},      {SDLK_RALT, VK_MENU},    {SDLK_PAUSE, 0x13},       {SDLK_CAPSLOCK, 0x14},
    {SDLK_PRINTSCREEN, 0x2C},  {SDLK_LGUI, 0x5B},       {SDLK_RGUI, 0x5C},        {SDLK_APPLICATION, 0x5D},
    {SDLK_NUMLOCKCLEAR, 0x90}, {SDLK_SCROLLLOCK, 0x91}, {SDLK_KP_MULTIPLY, 0x6A}, {SDLK_KP_PLUS, 0x6B},
    {SDLK_KP_MINUS, 0x6D},     {SDLK_KP_PERIOD, 0x6E},  {SDLK_KP_DIVIDE, 0x6F},   {SDLK_SEMICOLON, 0xBA},
    {SDLK_EQUALS, 0xBB},       {SDLK_COMMA, 0xBC},      {SDLK_MINUS, 0xBD},       {SDLK_PERIOD, 0xBE},
    {SDLK_SLASH, 0xBF},        {SDLK_BACKQUOTE, 0xC0},  {SDLK_LEFTBRACKET, 0xDB}, {SDLK_BACKSLASH, 0xDC},
    {SDLK_RIGHTBRACKET, 0xDD}, {SDLK_QUOTE, 0xDE},
};

// Keys whose character SDL does not deliver as text input.
constexpr UINT kControlCharacters[] = {VK_BACK, VK_TAB, VK_RETURN, VK_ESCAPE};

// The frame's hit-test answers as SDL's.
struct HitMapping {
  LRESULT ht;
  SDL_HitTestResult sdl;
  SDL_SystemCursor cursor;
};
constexpr HitMapping kHitMap[] = {
    {HTCAPTION, SDL_HITTEST_DRAGGABLE, SDL_SYSTEM_CURSOR_ARROW},
    {HTLEFT, SDL_HITTEST_RESIZE_LEFT, SDL_SYSTEM_CURSOR_SIZEWE},
    {HTRIGHT, SDL_HITTEST_RESIZE_RIGHT, SDL_SYSTEM_CURSOR_SIZEWE},
    {HTTOP, SDL_HITTEST_RESIZE_TOP, SDL_SYSTEM_CURSOR_SIZENS},
    {HTBOTTOM, SDL_HITTEST_RESIZE_BOTTOM, SDL_SYSTEM_CURSOR_SIZENS},
    {HTTOPLEFT, SDL_HITTEST_RESIZE_TOPLEFT, SDL_SYSTEM_CURSOR_SIZENWSE},
    {HTBOTTOMRIGHT, SDL_HITTEST_RESIZE_BOTTOMRIGHT, SDL_SYSTEM_CURSOR_SIZENWSE},
    {HTTOPRIGHT, SDL_HITTEST_RESIZE_TOPRIGHT, SDL_SYSTEM_CURSOR_SIZENESW},
    {HTBOTTOMLEFT, SDL_HITTEST_RESIZE_BOTTOMLEFT, SDL_SYSTEM_CURSOR_SIZENESW},
};

constexpr int kAcceptedDpi[] = {48, 72, 96, 120, 144, 168, 192};

// The system cursor ids the controls use, as SDL's shapes.
struct CursorMapping {
  int id;
  SDL_SystemCursor sdl;
};
constexpr CursorMapping kCursorMap[] = {
    {32512, SDL_SYSTEM_CURSOR_ARROW},     {32513, SDL_SYSTEM_CURSOR_IBEAM},
    {32514, SDL_SYSTEM_CURSOR_WAIT},      {32515, SDL_SYSTEM_CURSOR_CROSSHAIR},
    {32516, SDL_SYSTEM_CURSOR_ARROW},     {32640, SDL_SYSTEM_CURSOR_SIZEALL},
    {32641, SDL_SYSTEM_CURSOR_ARROW},     {32642, SDL_SYSTEM_CURSOR_SIZENWSE},
    {32643, SDL_SYSTEM_CURSOR_SIZENESW},  {32644, SDL_SYSTEM_CURSOR_SIZEWE},
    {32645, SDL_SYSTEM_CURSOR_SIZENS},    {32646, SDL_SYSTEM_CURSOR_SIZEALL},
    {32648, SDL_SYSTEM_CURSOR_NO},        {32649, SDL_SYSTEM_CURSOR_HAND},
    {32650, SDL_SYSTEM_CURSOR_WAITARROW},
};

SDL_SystemCursor SystemCursor(int id) {
  for (const CursorMapping& m : kCursorMap)
    if (m.id == id) return m.sdl;
  return SDL_SYSTEM_CURSOR_ARROW;
}

int NearestDpiStep(int dpi) {
  int nearest = kAcceptedDpi[0];
  for (int step : kAcceptedDpi)
    if (std::abs(step - dpi) < std::abs(nearest - dpi)) nearest = step;
  return nearest;
}

UINT VirtualKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return static_cast<UINT>('A' + (key - SDLK_a));
  if (key >= SDLK_0 && key <= SDLK_9) return static_cast<UINT>('0' + (key - SDLK_0));
  if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<UINT>(0x70 + (key - SDLK_F1));
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return static_cast<UINT>(0x61 + (key - SDLK_KP_1));
  if (key == SDLK_KP_0) return 0x60;
  for (const KeyMapping& m : kKeyMap)
    if (m.sdl == key) return m.vk;
  return 0;
}

// Decodes UTF-8 text into code points (malformed bytes are skipped).
template <typename Fn>
void ForEachCodePoint(const char* text, Fn fn) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    std::uint32_t cp = *p;
    int extra = 0;
    if (cp >= 0xF0 && cp < 0xF8) {
      cp &= 0x07;
      extra = 3;
    } else if (cp >= 0xE0) {
      cp &= 0x0F;
      extra = 2;
    } else if (cp >= 0xC0) {
      cp &= 0x1F;
      extra = 1;
    } else if (cp >= 0x80) {
      ++p;
      continue;
    }
    ++p;
    bool ok = true;
    for (int k = 0; k < extra; ++k, ++p) {
      if ((*p & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (*p & 0x3F);
    }
    if (ok) fn(cp);
  }
}

RECT ToRect(const SDL_Rect& r) { return RECT{r.x, r.y, r.x + r.w, r.y + r.h}; }

}  // namespace

void CSdlBackend::PrepareEnvironment() {
  // Software frames only: an accelerated framebuffer loads a GL stack.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  // The toolkit decides when the program ends, not the last window.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // Keeping the screen saver alone also keeps SDL off the bus for inhibiting it.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  // The first click on an inactive window acts, as the program's windows expect.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
  // SDL reaches input methods over the session bus; with no address given,
  // its D-Bus library would launch a bus daemon of its own. Name the bus
  // the user session has (the one the tray icon uses too), or none.
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (address == nullptr || *address == '\0') {
    std::string bus;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
      std::error_code ec;
      std::string path = std::string(runtime) + "/bus";
      if (std::filesystem::is_socket(path, ec)) bus = "unix:path=" + path;
    }
    ::setenv("DBUS_SESSION_BUS_ADDRESS", bus.empty() ? "disabled:" : bus.c_str(), 1);
  }
}

std::unique_ptr<CSdlBackend> CSdlBackend::Create() {
  PrepareEnvironment();
  // Before SDL starts: SDL keeps the handler it finds and puts it back when it
  // closes its display, when the last errors of its windows arrive.
  InstallXErrorLogger();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    DebugPrintf("ui: no display for windows: %s", SDL_GetError());
    return nullptr;
  }
  std::unique_ptr<CSdlBackend> backend(new CSdlBackend());
  backend->wake_event_ = SDL_RegisterEvents(1);
  SDL_StartTextInput();
  backend->CheckDisplays();
  return backend;
}

CSdlBackend::CSdlBackend() : tooltip_(std::make_unique<CSdlToolTip>()) {}

CSdlBackend::~CSdlBackend() {
  tooltip_.reset();
  for (auto& [hwnd, native] : windows_) {
    if (native.frame) cairo_surface_destroy(native.frame);
    if (native.window) SDL_DestroyWindow(native.window);
  }
  windows_.clear();
  for (auto& [shape, cursor] : cursors_) SDL_FreeCursor(cursor);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

CSdlBackend::Native* CSdlBackend::Find(HWND hwnd) {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : &it->second;
}

const CSdlBackend::Native* CSdlBackend::Find(HWND hwnd) const {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : &it->second;
}

SDL_Window* CSdlBackend::NativeWindow(HWND hwnd) const {
  const Native* n = Find(hwnd);
  return n ? n->window : nullptr;
}

HWND CSdlBackend::WindowFromNative(Uint32 window_id) const {
  for (const auto& [hwnd, native] : windows_)
    if (native.window && SDL_GetWindowID(native.window) == window_id) return hwnd;
  return nullptr;
}

bool CSdlBackend::CreateNativeWindow(HWND hwnd, const WindowCreateParams& params) {
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
  bool tool = (params.ex_style & WS_EX_TOOLWINDOW) != 0;
  if (tool) flags |= SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_UTILITY;
  if (params.ex_style & WS_EX_TOPMOST) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  if (params.style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
  int w = std::max<int>(1, params.rect.right - params.rect.left);
  int h = std::max<int>(1, params.rect.bottom - params.rect.top);
  SDL_Window* window = SDL_CreateWindow(params.title.c_str(), params.rect.left, params.rect.top, w, h, flags);
  if (!window) {
    DebugPrintf("ui: window '%s' could not be created: %s", params.title.c_str(), SDL_GetError());
    return false;
  }
  Native& native = windows_[hwnd];
  native.window = window;
  native.tool = tool;
  SDL_SetWindowData(window, "ostrel.hwnd", hwnd);
  SDL_SetWindowHitTest(window, &CSdlBackend::HitTestCallback, this);
  if (const Native* owner = Find(params.owner); owner && owner->window)
    SDL_SetWindowModalFor(window, owner->window);  // transient for its owner
  if (const Display* display = DisplayFor(hwnd)) native.dpi = display->dpi;
  return true;
}

void CSdlBackend::DestroyNativeWindow(HWND hwnd) {
  Native* native = Find(hwnd);
  if (!native) return;
  if (captured_ == hwnd) {
    SDL_CaptureMouse(SDL_FALSE);
    captured_ = nullptr;
  }
  if (mouse_window_ == hwnd) mouse_window_ = nullptr;
  if (native->frame) cairo_surface_destroy(native->frame);
  if (native->window) SDL_DestroyWindow(native->window);
  windows_.erase(hwnd);
}

void CSdlBackend::SetNativeRect(HWND hwnd, const RECT& rect) {
  Native* native = Find(hwnd);
  if (!native || mirroring_) return;
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  SDL_GetWindowPosition(native->window, &x, &y);
  SDL_GetWindowSize(native->window, &w, &h);
  if (x != rect.left || y != rect.top) SDL_SetWindowPosition(native->window, rect.left, rect.top);
  int nw = std::max<int>(1, rect.right - rect.left);
  int nh = std::max<int>(1, rect.bottom - rect.top);
  if (w != nw || h != nh) SDL_SetWindowSize(native->window, nw, nh);
}

void CSdlBackend::ShowNativeWindow(HWND hwnd, int show) {
  Native* native = Find(hwnd);
  if (!native || mirroring_) return;
  SDL_Window* window = native->window;
  ApplyIcon(hwnd, *native);
  switch (show) {
    case SW_HIDE:
      SDL_HideWindow(window);
      return;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      SDL_ShowWindow(window);
      SDL_MinimizeWindow(window);
      return;
    case SW_SHOWNOACTIVATE:
      SDL_ShowWindow(window);
      return;
    default:
      // Maximising is the toolkit's own (the window takes the monitor's
      // rectangle), so a restore only has to undo a minimise here.
      if (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window);
      SDL_ShowWindow(window);
      // Raising asks the window manager to activate it too; forcing the
      // input focus on X fails when the window is not yet viewable.
      SDL_RaiseWindow(window);
      return;
  }
}

void CSdlBackend::ApplyIcon(HWND hwnd, Native& native) {
  WindowRecord* rec = Loop().Find(hwnd);
  UINT icon = rec && rec->wnd ? rec->wnd->GetIcon() : 0;
  if (icon == 0 || icon == native.icon) return;
  native.icon = icon;
  // The same skin image the tray icon uses for that number.
  const TImageInfo* image = CPaintManagerUI::GetImageEx(CTrayIcon::IconImageFor(icon).c_str());
  if (!image || !image->surface) return;
  cairo_surface_flush(image->surface);
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      cairo_image_surface_get_data(image->surface), cairo_image_surface_get_width(image->surface),
      cairo_image_surface_get_height(image->surface), 32, cairo_image_surface_get_stride(image->surface),
      SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return;
  SDL_SetWindowIcon(native.window, surface);
  SDL_FreeSurface(surface);
}

void CSdlBackend::SetNativeTitle(HWND hwnd, const std::string& title) {
  if (Native* native = Find(hwnd)) SDL_SetWindowTitle(native->window, title.c_str());
}

void CSdlBackend::SetNativeTopmost(HWND hwnd, bool topmost) {
  if (Native* native = Find(hwnd)) SDL_SetWindowAlwaysOnTop(native->window, topmost ? SDL_TRUE : SDL_FALSE);
}

void CSdlBackend::BringToFront(HWND hwnd) {
  Native* native = Find(hwnd);
  if (!native) return;
  if (SDL_GetWindowFlags(native->window) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(native->window);
  SDL_RaiseWindow(native->window);
}

void CSdlBackend::Present(HWND hwnd, _cairo_surface* surface, const RECT& dirty) {
  Native* native = Find(hwnd);
  if (!native || !surface) return;
  if (native->frame != surface) {
    cairo_surface_reference(surface);
    if (native->frame) cairo_surface_destroy(native->frame);
    native->frame = surface;
  }
  Blit(hwnd, *native, dirty);
}

void CSdlBackend::Blit(HWND, Native& native, const RECT& dirty) {
  if (!native.frame) return;
  SDL_Surface* target = SDL_GetWindowSurface(native.window);
  if (!target) return;
  cairo_surface_flush(native.frame);
  int fw = cairo_image_surface_get_width(native.frame);
  int fh = cairo_image_surface_get_height(native.frame);
  RECT area;
  if (!IntersectRect(&area, dirty, RECT{0, 0, std::min(fw, target->w), std::min(fh, target->h)})) return;
  SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(cairo_image_surface_get_data(native.frame), fw, fh,
                                                           32, cairo_image_surface_get_stride(native.frame),
                                                           SDL_PIXELFORMAT_ARGB8888);
  if (!source) return;
  SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
  SDL_Rect rect{area.left, area.top, area.right - area.left, area.bottom - area.top};
  SDL_Rect to = rect;
  SDL_BlitSurface(source, &rect, target, &to);
  SDL_FreeSurface(source);
  SDL_UpdateWindowSurfaceRects(native.window, &rect, 1);
  presented_pixels_ += static_cast<long long>(rect.w) * rect.h;
  last_present_ = area;
}

_cairo_surface* CSdlBackend::CaptureWindow(HWND hwnd) const {
  const Native* native = Find(hwnd);
  if (!native) return nullptr;
  SDL_Surface* target = SDL_GetWindowSurface(native->window);
  if (!target) return nullptr;
  cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_RGB24, target->w, target->h);
  cairo_surface_flush(copy);
  SDL_Surface* wrapped =
      SDL_CreateRGBSurfaceWithFormatFrom(cairo_image_surface_get_data(copy), target->w, target->h, 32,
                                         cairo_image_surface_get_stride(copy), SDL_PIXELFORMAT_RGB888);
  if (wrapped) {
    SDL_SetSurfaceBlendMode(target, SDL_BLENDMODE_NONE);
    SDL_BlitSurface(target, nullptr, wrapped, nullptr);
    SDL_FreeSurface(wrapped);
  }
  cairo_surface_mark_dirty(copy);
  return copy;
}

void CSdlBackend::SetMouseCapture(HWND hwnd, bool captured) {
  if (captured) {
    captured_ = hwnd;
    SDL_CaptureMouse(SDL_TRUE);
  } else if (captured_ == hwnd) {
    captured_ = nullptr;
    SDL_CaptureMouse(SDL_FALSE);
  }
}

void CSdlBackend::ShowToolTip(HWND hwnd, const std::string& text, const RECT&) {
  tooltip_->Show(text, GetCursorPos(), GetMonitorRect(hwnd));
}

void CSdlBackend::HideToolTip(HWND) { tooltip_->Hide(); }

POINT CSdlBackend::GetCursorPos() const {
  int x = 0;
  int y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  return POINT{x, y};
}

RECT CSdlBackend::GetMonitorRect(HWND hwnd) const {
  const Display* display = DisplayFor(hwnd);
  return display ? display->bounds : RECT{0, 0, 1024, 768};
}

std::vector<CSdlBackend::Display> CSdlBackend::QueryDisplays() const {
  if (display_source_) return display_source_();
  std::vector<Display> out;
  int count = SDL_GetNumVideoDisplays();
  for (int i = 0; i < count; ++i) {
    SDL_Rect r;
    if (SDL_GetDisplayBounds(i, &r) != 0) continue;
    Display d{ToRect(r), 96};
    float hdpi = 0;
    if (SDL_GetDisplayDPI(i, nullptr, &hdpi, nullptr) == 0 && hdpi > 0)
      d.dpi = static_cast<int>(std::lround(hdpi));
    out.push_back(d);
  }
  return out;
}

const CSdlBackend::Display* CSdlBackend::DisplayFor(HWND hwnd) const {
  if (displays_.empty()) return nullptr;
  WindowRecord* rec = hwnd ? Loop().Find(hwnd) : nullptr;
  if (!rec) return &displays_.front();
  // The monitor holding the window's centre, else the nearest one.
  POINT c{(rec->rect.left + rec->rect.right) / 2, (rec->rect.top + rec->rect.bottom) / 2};
  const Display* best = &displays_.front();
  long long best_distance = -1;
  for (const Display& d : displays_) {
    if (PtInRect(d.bounds, c)) return &d;
    long long dx = std::max<long long>({d.bounds.left - c.x, 0, c.x - d.bounds.right + 1});
    long long dy = std::max<long long>({d.bounds.top - c.y, 0, c.y - d.bounds.bottom + 1});
    long long distance = dx * dx + dy * dy;
    if (best_distance < 0 || distance < best_distance) {
      best = &d;
      best_distance = distance;
    }
  }
  return best;
}

void CSdlBackend::SetDisplaySource(std::function<std::vector<Display>()> source) {
  display_source_ = std::move(source);
  displays_ = QueryDisplays();
  for (auto& [hwnd, native] : windows_)
    if (const Display* d = DisplayFor(hwnd)) native.dpi = d->dpi;
}

void CSdlBackend::SetClipboardText(const std::string& text) { SDL_SetClipboardText(text.c_str()); }

std::string CSdlBackend::GetClipboardText() const {
  char* text = SDL_GetClipboardText();
  std::string out = text ? text : "";
  SDL_free(text);
  return out;
}

void CSdlBackend::WaitForEvents(int timeout_ms) {
  SDL_Event event;
  int got = 0;
  if (timeout_ms < 0) {
    got = SDL_WaitEvent(&event);
  } else if (timeout_ms == 0) {
    got = SDL_PollEvent(&event);
  } else {
    got = SDL_WaitEventTimeout(&event, timeout_ms);
  }
  if (got) {
    Translate(event);
    while (SDL_PollEvent(&event)) Translate(event);
  }
  if (focus_check_) SettleFocus();
  UpdateTextInputRect();
}

void CSdlBackend::UpdateTextInputRect() {
  // Input methods put their candidate list under the focused edit.
  HWND active = Loop().ActiveWindow();
  if (!active || !Find(active)) return;
  for (CPaintManagerUI* pm : CPaintManagerUI::GetPaintManagers()) {
    if (pm->GetPaintWindow() != active) continue;
    CControlUI* focus = pm->GetFocus();
    if (!focus || std::strstr(focus->GetClass(), "Edit") == nullptr) return;
    RECT r = focus->GetPos();
    if (EqualRect(r, text_input_rect_)) return;
    text_input_rect_ = r;
    SDL_Rect rect{r.left, r.top, r.right - r.left, r.bottom - r.top};
    SDL_SetTextInputRect(&rect);
    return;
  }
}

void CSdlBackend::Wake() {
  // The UI thread looks at its queue after every wait, so only other
  // threads need to interrupt one; one pending wake-up is enough.
  if (Loop().IsUIThread()) return;
  if (wake_pending_.exchange(true)) return;
  SDL_Event event;
  SDL_zero(event);
  event.type = wake_event_;
  if (SDL_PushEvent(&event) != 1) wake_pending_ = false;
}

WPARAM CSdlBackend::MouseKeys(Uint32 buttons) const {
  WPARAM keys = 0;
  if (buttons & SDL_BUTTON_LMASK) keys |= MK_LBUTTON;
  if (buttons & SDL_BUTTON_RMASK) keys |= MK_RBUTTON;
  if (buttons & SDL_BUTTON_MMASK) keys |= MK_MBUTTON;
  SDL_Keymod mod = SDL_GetModState();
  if (mod & KMOD_SHIFT) keys |= MK_SHIFT;
  if (mod & KMOD_CTRL) keys |= MK_CONTROL;
  if (mod & KMOD_ALT) keys |= MK_ALT;
  return keys;
}

SDL_HitTestResult CSdlBackend::HitTest(HWND hwnd, POINT client) const {
  WindowRecord* rec = Loop().Find(hwnd);
  if (!rec || !rec->enabled) return SDL_HITTEST_NORMAL;
  LRESULT ht =
      Loop().Send(hwnd, WM_NCHITTEST, 0, MAKELPARAM(client.x + rec->rect.left, client.y + rec->rect.top));
  for (const HitMapping& m : kHitMap)
    if (m.ht == ht) return m.sdl;
  return SDL_HITTEST_NORMAL;
}

SDL_HitTestResult SDLCALL CSdlBackend::HitTestCallback(SDL_Window* window, const SDL_Point* area,
                                                       void* data) {
  auto* self = static_cast<CSdlBackend*>(data);
  HWND hwnd = static_cast<HWND>(SDL_GetWindowData(window, "ostrel.hwnd"));
  if (!hwnd || !area) return SDL_HITTEST_NORMAL;
  return self->HitTest(hwnd, POINT{area->x, area->y});
}

void CSdlBackend::SetCursor(HWND hwnd, int cursorId) {
  Native* native = Find(hwnd);
  if (!native) return;
  native->cursor_id = cursorId;
  if (!native->over_frame) ApplyCursor(SystemCursor(cursorId));
}

void CSdlBackend::UpdateCursor(HWND hwnd, POINT client) {
  Native* native = Find(hwnd);
  WindowRecord* rec = Loop().Find(hwnd);
  if (!native || !rec) return;
  // Over the size box the frame's shape wins; elsewhere the control's.
  SDL_SystemCursor shape = SystemCursor(native->cursor_id);
  native->over_frame = false;
  if (!rec->enabled) {
    shape = SDL_SYSTEM_CURSOR_ARROW;
  } else {
    LRESULT ht =
        Loop().Send(hwnd, WM_NCHITTEST, 0, MAKELPARAM(client.x + rec->rect.left, client.y + rec->rect.top));
    for (const HitMapping& m : kHitMap) {
      if (m.ht == ht && m.ht != HTCAPTION) {
        shape = m.cursor;
        native->over_frame = true;
      }
    }
  }
  ApplyCursor(shape);
}

void CSdlBackend::ApplyCursor(SDL_SystemCursor shape) {
  if (shape == cursor_shape_ && !cursors_.empty()) return;
  cursor_shape_ = shape;
  SDL_Cursor*& cursor = cursors_[shape];
  if (!cursor) cursor = SDL_CreateSystemCursor(shape);
  if (cursor) SDL_SetCursor(cursor);
}

void CSdlBackend::Translate(const SDL_Event& event) {
  if (event.type == wake_event_) {
    wake_pending_ = false;
    return;
  }
  switch (event.type) {
    case SDL_WINDOWEVENT: {
      if (tooltip_->Window() && event.window.windowID == SDL_GetWindowID(tooltip_->Window())) {
        if (event.window.event == SDL_WINDOWEVENT_EXPOSED) tooltip_->Redraw();
        return;
      }
      if (HWND hwnd = WindowFromNative(event.window.windowID)) TranslateWindowEvent(hwnd, event.window);
      return;
    }
    case SDL_MOUSEMOTION: {
      HWND hwnd = WindowFromNative(event.motion.windowID);
      POINT pt{event.motion.x, event.motion.y};
      if (captured_ && captured_ != hwnd) {
        // The captured window gets the moves, in its own coordinates.
        POINT screen = GetCursorPos();
        WindowRecord* rec = Loop().Find(captured_);
        if (!rec) return;
        hwnd = captured_;
        pt = POINT{screen.x - rec->rect.left, screen.y - rec->rect.top};
      }
      if (!hwnd || !IsWindowEnabled(hwnd)) {
        if (hwnd) UpdateCursor(hwnd, pt);
        return;
      }
      mouse_window_ = hwnd;
      Loop().Post(hwnd, WM_MOUSEMOVE, MouseKeys(event.motion.state), MAKELPARAM(pt.x, pt.y));
      UpdateCursor(hwnd, pt);
      return;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      HWND hwnd = captured_ ? captured_ : WindowFromNative(event.button.windowID);
      if (hwnd) TranslateMouseButton(hwnd, event.button);
      return;
    }
    case SDL_MOUSEWHEEL: {
      HWND hwnd = WindowFromNative(event.wheel.windowID);
      if (!hwnd || !IsWindowEnabled(hwnd)) return;
      int steps = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) steps = -steps;
      if (steps == 0) return;
      POINT screen = GetCursorPos();
      WPARAM keys = MouseKeys(SDL_GetMouseState(nullptr, nullptr));
      WPARAM w = (static_cast<WPARAM>(static_cast<std::uint16_t>(steps * 120)) << 16) | (keys & 0xFFFF);
      Loop().Post(hwnd, WM_MOUSEWHEEL, w, MAKELPARAM(screen.x, screen.y));
      return;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      HWND hwnd = WindowFromNative(event.key.windowID);
      if (!hwnd) hwnd = Loop().ActiveWindow();
      if (hwnd) TranslateKey(hwnd, event.key);
      return;
    }
    case SDL_TEXTINPUT: {
      HWND hwnd = WindowFromNative(event.text.windowID);
      if (!hwnd) hwnd = Loop().ActiveWindow();
      if (!hwnd || !IsWindowEnabled(hwnd)) return;
      ForEachCodePoint(event.text.text, [&](std::uint32_t cp) { Loop().Post(hwnd, WM_CHAR, cp, 1); });
      return;
    }
    case SDL_DISPLAYEVENT:
      CheckDisplays();
      return;
    default:
      return;
  }
}

void CSdlBackend::TranslateMouseButton(HWND hwnd, const SDL_MouseButtonEvent& event) {
  WindowRecord* rec = Loop().Find(hwnd);
  if (!rec) return;
  POINT pt{event.x, event.y};
  if (hwnd != WindowFromNative(event.windowID)) {
    POINT screen = GetCursorPos();
    pt = POINT{screen.x - rec->rect.left, screen.y - rec->rect.top};
  }
  if (!rec->enabled) {
    // A window under a modal one: bring the modal one forward instead.
    if (event.type == SDL_MOUSEBUTTONDOWN) {
      for (HWND other : Loop().Windows()) {
        WindowRecord* o = Loop().Find(other);
        if (o && o->owner == hwnd && o->visible && o->enabled) BringToFront(other);
      }
    }
    return;
  }
  bool down = event.type == SDL_MOUSEBUTTONDOWN;
  WPARAM keys = MouseKeys(SDL_GetMouseState(nullptr, nullptr));
  LPARAM at = MAKELPARAM(pt.x, pt.y);
  switch (event.button) {
    case SDL_BUTTON_LEFT:
      if (down) {
        // Every second click of a series is the double click.
        bool dbl = event.clicks >= 2 && event.clicks % 2 == 0;
        Loop().Post(hwnd, dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, keys | MK_LBUTTON, at);
      } else {
        Loop().Post(hwnd, WM_LBUTTONUP, keys & ~MK_LBUTTON, at);
      }
      return;
    case SDL_BUTTON_RIGHT:
      if (down) {
        Loop().Post(hwnd, WM_RBUTTONDOWN, keys | MK_RBUTTON, at);
      } else {
        Loop().Post(hwnd, WM_RBUTTONUP, keys & ~MK_RBUTTON, at);
        POINT screen{pt.x + rec->rect.left, pt.y + rec->rect.top};
        Loop().Post(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(screen.x, screen.y));
      }
      return;
    case SDL_BUTTON_MIDDLE:
      Loop().Post(hwnd, down ? WM_MBUTTONDOWN : WM_MBUTTONUP, down ? keys | MK_MBUTTON : keys & ~MK_MBUTTON,
                  at);
      return;
    default:
      return;
  }
}

void CSdlBackend::TranslateKey(HWND hwnd, const SDL_KeyboardEvent& event) {
  if (!IsWindowEnabled(hwnd)) return;
  UINT vk = VirtualKey(event.keysym.sym);
  if (vk == 0) return;
  bool down = event.type == SDL_KEYDOWN;
  bool alt = (event.keysym.mod & KMOD_LALT) != 0 || vk == VK_MENU;
  UINT message = down ? (alt ? WM_SYSKEYDOWN : WM_KEYDOWN) : (alt ? WM_SYSKEYUP : WM_KEYUP);
  // lParam: repeat count 1, bit 30 previous state, bit 31 transition.
  std::uint32_t flags = 1;
  if (!down) flags |= 0xC0000000u;
  if (down && event.repeat) flags |= 0x40000000u;
  Loop().Post(hwnd, message, vk, static_cast<LPARAM>(flags));
  bool ctrl = (event.keysym.mod & KMOD_CTRL) != 0;
  if (down && !alt && !ctrl &&
      std::find(std::begin(kControlCharacters), std::end(kControlCharacters), vk) !=
          std::end(kControlCharacters))
    Loop().Post(hwnd, WM_CHAR, vk, static_cast<LPARAM>(flags));
}

void CSdlBackend::TranslateWindowEvent(HWND hwnd, const SDL_WindowEvent& event) {
  Native* native = Find(hwnd);
  WindowRecord* rec = Loop().Find(hwnd);
  if (!native || !rec) return;
  switch (event.event) {
    case SDL_WINDOWEVENT_EXPOSED: {
      int w = 0;
      int h = 0;
      SDL_GetWindowSize(native->window, &w, &h);
      Blit(hwnd, *native, RECT{0, 0, w, h});
      return;
    }
    case SDL_WINDOWEVENT_MOVED: {
      RECT r = rec->rect;
      if (r.left == event.data1 && r.top == event.data2) return;
      OffsetRect(&r, event.data1 - r.left, event.data2 - r.top);
      ++mirroring_;
      Loop().SetWindowRect(hwnd, r, true);
      --mirroring_;
      if (Native* again = Find(hwnd)) CheckWindowDpi(hwnd, *again);
      return;
    }
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
      RECT r = rec->rect;
      if (r.right - r.left == event.data1 && r.bottom - r.top == event.data2) return;
      r.right = r.left + event.data1;
      r.bottom = r.top + event.data2;
      ++mirroring_;
      Loop().SetWindowRect(hwnd, r, true);
      --mirroring_;
      return;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
      if (!rec->minimized) {
        ++mirroring_;
        Loop().ShowWindow(hwnd, SW_MINIMIZE);
        --mirroring_;
      }
      return;
    case SDL_WINDOWEVENT_RESTORED:
      if (rec->minimized) {
        ++mirroring_;
        Loop().ShowWindow(hwnd, SW_RESTORE);
        --mirroring_;
      }
      return;
    case SDL_WINDOWEVENT_ENTER:
      mouse_window_ = hwnd;
      return;
    case SDL_WINDOWEVENT_LEAVE:
      if (mouse_window_ == hwnd) mouse_window_ = nullptr;
      if (captured_ != hwnd) Loop().Post(hwnd, WM_MOUSELEAVE, 0, 0);
      return;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      if (Loop().ActiveWindow() == hwnd) return;
      if (rec->enabled) {
        Loop().SetActiveWindow(hwnd);
      } else {
        for (HWND other : Loop().Windows()) {
          WindowRecord* o = Loop().Find(other);
          if (o && o->owner == hwnd && o->visible && o->enabled) BringToFront(other);
        }
      }
      return;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      // Decided once the batch is through: focus may just move to another
      // of the program's windows.
      focus_check_ = true;
      return;
    case SDL_WINDOWEVENT_CLOSE:
      if (rec->enabled) Loop().Post(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED:
      CheckWindowDpi(hwnd, *native);
      return;
    default:
      return;
  }
}

void CSdlBackend::SettleFocus() {
  focus_check_ = false;
  if (SDL_GetKeyboardFocus() != nullptr) return;
  HWND active = Loop().ActiveWindow();
  if (active && Find(active)) Loop().SetActiveWindow(nullptr);
}

void CSdlBackend::CheckDisplays() {
  std::vector<Display> now = QueryDisplays();
  bool first = displays_.empty();
  bool changed = now.size() != displays_.size();
  for (std::size_t i = 0; !changed && i < now.size(); ++i)
    changed = !EqualRect(now[i].bounds, displays_[i].bounds) || now[i].dpi != displays_[i].dpi;
  displays_ = now;
  if (first || !changed || now.empty()) return;
  RECT primary = now.front().bounds;
  for (HWND hwnd : Loop().Windows()) {
    WindowRecord* rec = Loop().Find(hwnd);
    if (!rec || rec->owner) continue;
    Loop().Post(hwnd, WM_DISPLAYCHANGE, 32,
                MAKELPARAM(primary.right - primary.left, primary.bottom - primary.top));
  }
  for (auto& [hwnd, native] : windows_) CheckWindowDpi(hwnd, native);
}

void CSdlBackend::CheckWindowDpi(HWND hwnd, Native& native) {
  const Display* display = DisplayFor(hwnd);
  WindowRecord* rec = Loop().Find(hwnd);
  if (!display || !rec) return;
  // Physical DPI wanders by a few dots between monitors of the same class;
  // the program only tells its fixed steps apart.
  int now = NearestDpiStep(display->dpi);
  int before = NearestDpiStep(native.dpi);
  native.dpi = display->dpi;
  if (now == before) return;
  int w = (rec->rect.right - rec->rect.left) * now / before;
  int h = (rec->rect.bottom - rec->rect.top) * now / before;
  native.suggested = RECT{rec->rect.left, rec->rect.top, rec->rect.left + w, rec->rect.top + h};
  Loop().Post(hwnd, WM_DPICHANGED, MAKELPARAM(now, now), reinterpret_cast<LPARAM>(&native.suggested));
}

}  // namespace ostrel
