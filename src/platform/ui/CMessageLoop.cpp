#include "platform/ui/CMessageLoop.h"

#include <algorithm>
#include <chrono>

#include "platform/os/DebugLog.h"
#include "platform/ui/CHeadlessBackend.h"
#include "platform/ui/CWindowWnd.h"
#include "platform/ui/WindowApi.h"

namespace ostrel {

namespace {
std::uint64_t SteadyMs() {
  using namespace std::chrono;
  return static_cast<std::uint64_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
// Guards PumpPending against timers that are always due.
constexpr int kMaxPumpSteps = 100000;
}  // namespace

bool IntersectRect(RECT* out, const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (IsRectEmpty(r)) {
    *out = RECT{};
    return false;
  }
  *out = r;
  return true;
}

void UnionRect(RECT* out, const RECT& a, const RECT& b) {
  if (IsRectEmpty(a)) {
    *out = b;
    return;
  }
  if (IsRectEmpty(b)) {
    *out = a;
    return;
  }
  *out = RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

CMessageLoop& CMessageLoop::Instance() {
  static CMessageLoop* loop = new CMessageLoop();  // lives for the whole process
  return *loop;
}

CMessageLoop::CMessageLoop()
    : backend_(std::make_unique<CHeadlessBackend>()),
      ui_thread_(std::this_thread::get_id()),
      start_ms_(SteadyMs()) {}

void CMessageLoop::SetBackend(std::unique_ptr<IWindowBackend> backend) {
  if (backend) backend_ = std::move(backend);
}

std::uint64_t CMessageLoop::Now() const {
  return virtual_clock_ ? virtual_now_.load() : SteadyMs() - start_ms_;
}

DWORD CMessageLoop::GetTickCount() const { return static_cast<DWORD>(Now()); }

void CMessageLoop::UseVirtualClock(bool on) {
  if (on == virtual_clock_) return;
  std::uint64_t now = Now();
  virtual_clock_ = on;
  if (on) {
    virtual_now_ = now;
  } else {
    start_ms_ = SteadyMs() - now;
  }
}

HWND CMessageLoop::CreateWindowHandle(CWindowWnd* wnd, const WindowCreateParams& params) {
  HWND hwnd = reinterpret_cast<HWND>(next_handle_);
  next_handle_ += 0x10;
  WindowRecord& rec = windows_[hwnd];
  rec.wnd = wnd;
  rec.owner = params.owner;
  rec.title = params.title;
  rec.class_name = params.class_name;
  rec.style = params.style & ~WS_VISIBLE;
  rec.ex_style = params.ex_style;
  rec.rect = params.rect;
  rec.restore_rect = params.rect;
  rec.topmost = (params.ex_style & WS_EX_TOPMOST) != 0;
  if (!backend_->CreateNativeWindow(hwnd, params)) {
    windows_.erase(hwnd);
    OutputDebugString("ui: the window backend refused to create a window");
    return nullptr;
  }
  return hwnd;
}

WindowRecord* CMessageLoop::Find(HWND hwnd) {
  auto it = windows_.find(hwnd);
  return it == windows_.end() ? nullptr : &it->second;
}

std::vector<HWND> CMessageLoop::Windows() const {
  std::vector<HWND> out;
  for (const auto& [h, rec] : windows_) out.push_back(h);
  return out;
}

HWND CMessageLoop::FindWindow(const char* class_name, const char* title) const {
  for (const auto& [h, rec] : windows_) {
    if (rec.destroying) continue;
    if (class_name && *class_name && rec.class_name != class_name) continue;
    if (title && rec.title != title) continue;
    return h;
  }
  return nullptr;
}

bool CMessageLoop::DestroyWindow(HWND hwnd) {
  WindowRecord* rec = Find(hwnd);
  if (!rec || rec->destroying) return false;
  rec->destroying = true;
  // Owned windows go first, as on Windows.
  for (HWND other : Windows()) {
    WindowRecord* o = Find(other);
    if (o && o->owner == hwnd) DestroyWindow(other);
  }
  rec = Find(hwnd);
  if (rec->visible) backend_->ShowNativeWindow(hwnd, SW_HIDE);
  rec->visible = false;
  Send(hwnd, WM_DESTROY, 0, 0);
  timers_.erase(
      std::remove_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
      timers_.end());
  CWindowWnd* wnd = Find(hwnd)->wnd;
  if (wnd) wnd->WindowProcedure(WM_NCDESTROY, 0, 0);
  backend_->DestroyNativeWindow(hwnd);
  windows_.erase(hwnd);
  if (active_ == hwnd) active_ = nullptr;
  DropMessagesFor(hwnd);
  return true;
}

void CMessageLoop::DropMessagesFor(HWND hwnd) {
  std::deque<Queued> dropped;
  {
    std::lock_guard<std::mutex> lock(queue_mutex_);
    auto keep = std::stable_partition(queue_.begin(), queue_.end(),
                                      [&](const Queued& q) { return q.msg.hwnd != hwnd; });
    dropped.assign(std::make_move_iterator(keep), std::make_move_iterator(queue_.end()));
    queue_.erase(keep, queue_.end());
  }
  for (auto& q : dropped)
    if (q.reply) q.reply->set_value(0);
}

void CMessageLoop::Reset() {
  for (HWND h : Windows()) {
    WindowRecord* rec = Find(h);
    if (rec && !rec->owner) DestroyWindow(h);
  }
  for (HWND h : Windows()) DestroyWindow(h);
  std::deque<Queued> dropped;
  {
    std::lock_guard<std::mutex> lock(queue_mutex_);
    dropped.swap(queue_);
    quit_posted_ = false;
    exit_code_ = 0;
  }
  for (auto& q : dropped)
    if (q.reply) q.reply->set_value(0);
  timers_.clear();
  close_codes_.clear();
  active_ = nullptr;
}

void CMessageLoop::SetWindowRect(HWND hwnd, const RECT& rect, bool notify) {
  WindowRecord* rec = Find(hwnd);
  if (!rec) return;
  RECT old = rec->rect;
  rec->rect = rect;
  if (!rec->maximized && !rec->minimized) rec->restore_rect = rect;
  backend_->SetNativeRect(hwnd, rect);
  if (!notify) return;
  if (old.left != rect.left || old.top != rect.top) Send(hwnd, WM_MOVE, 0, MAKELPARAM(rect.left, rect.top));
  int w = rect.right - rect.left;
  int h = rect.bottom - rect.top;
  if (old.right - old.left != w || old.bottom - old.top != h) {
    WindowRecord* again = Find(hwnd);
    WPARAM kind = again && again->maximized ? 2 : 0;
    Send(hwnd, WM_SIZE, kind, MAKELPARAM(w, h));
  }
}

bool CMessageLoop::ShowWindow(HWND hwnd, int show) {
  WindowRecord* rec = Find(hwnd);
  if (!rec) return false;
  bool was_visible = rec->visible;
  switch (show) {
    case SW_HIDE:
      rec->visible = false;
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      rec->visible = true;
      rec->minimized = true;
      break;
    case SW_MAXIMIZE: {
      rec->visible = true;
      rec->minimized = false;
      if (!rec->maximized) {
        rec->restore_rect = rec->rect;
        rec->maximized = true;
        SetWindowRect(hwnd, backend_->GetMonitorRect(hwnd), true);
      }
      break;
    }
    case SW_RESTORE:
    case SW_SHOWNORMAL:
      rec->visible = true;
      if (rec->minimized) {
        rec->minimized = false;
      } else if (rec->maximized) {
        rec->maximized = false;
        SetWindowRect(hwnd, rec->restore_rect, true);
      }
      break;
    default:
      rec->visible = true;
      break;
  }
  rec = Find(hwnd);
  if (!rec) return was_visible;
  if (show != SW_HIDE && show != SW_SHOWNOACTIVATE && !rec->minimized) SetActiveWindow(hwnd);
  backend_->ShowNativeWindow(hwnd, show);
  if (was_visible != rec->visible) Send(hwnd, WM_SHOWWINDOW, rec->visible ? 1 : 0, 0);
  if (rec->visible) InvalidateWindow(hwnd);
  return was_visible;
}

void CMessageLoop::SetActiveWindow(HWND hwnd) {
  if (active_ == hwnd) return;
  HWND old = active_;
  active_ = hwnd;
  if (old && IsWindow(old)) Send(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
  if (hwnd && IsWindow(hwnd)) Send(hwnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
}

void CMessageLoop::InvalidateWindow(HWND hwnd) {
  WindowRecord* rec = Find(hwnd);
  if (rec) rec->paint_pending = true;
}

bool CMessageLoop::Post(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  {
    std::lock_guard<std::mutex> lock(queue_mutex_);
    queue_.push_back(Queued{MSG{hwnd, message, w, l, GetTickCount()}, nullptr});
  }
  backend_->Wake();
  return true;
}

LRESULT CMessageLoop::Send(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (IsUIThread()) {
    WindowRecord* rec = Find(hwnd);
    if (!rec || !rec->wnd) return 0;
    return rec->wnd->WindowProcedure(message, w, l);
  }
  auto reply = std::make_shared<std::promise<LRESULT>>();
  std::future<LRESULT> result = reply->get_future();
  {
    std::lock_guard<std::mutex> lock(queue_mutex_);
    // Sent messages go before posted ones, as on Windows.
    auto pos = std::find_if(queue_.begin(), queue_.end(), [](const Queued& q) { return !q.reply; });
    queue_.insert(pos, Queued{MSG{hwnd, message, w, l, GetTickCount()}, reply});
  }
  backend_->Wake();
  return result.get();
}

void CMessageLoop::PostQuit(int exit_code) {
  {
    std::lock_guard<std::mutex> lock(queue_mutex_);
    quit_posted_ = true;
    exit_code_ = exit_code;
  }
  backend_->Wake();
}

UINT CMessageLoop::RegisterWindowMessage(const std::string& name) {
  if (name.empty()) return 0;
  std::lock_guard<std::mutex> lock(registered_mutex_);
  auto it = registered_.find(name);
  if (it != registered_.end()) return it->second;
  if (next_registered_ > 0xFFFF) return 0;
  UINT number = next_registered_++;
  registered_[name] = number;
  return number;
}

UINT_PTR CMessageLoop::SetTimer(HWND hwnd, UINT_PTR id, UINT period_ms, TIMERPROC proc) {
  if (hwnd && !IsWindow(hwnd)) return 0;
  UINT period = std::max<UINT>(period_ms, 1);
  std::uint64_t due = Now() + period;
  for (Timer& t : timers_) {
    if (t.hwnd == hwnd && t.id == id) {
      t.period = period;
      t.due = due;
      t.proc = proc;
      return id == 0 ? 1 : id;
    }
  }
  timers_.push_back(Timer{hwnd, id, period, due, proc});
  return id == 0 ? 1 : id;
}

bool CMessageLoop::KillTimer(HWND hwnd, UINT_PTR id) {
  auto it = std::find_if(timers_.begin(), timers_.end(),
                         [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

bool CMessageLoop::HasTimer(HWND hwnd, UINT_PTR id) const {
  return std::any_of(timers_.begin(), timers_.end(),
                     [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
}

bool CMessageLoop::TakeReady(Queued* out) {
  {
    std::lock_guard<std::mutex> lock(queue_mutex_);
    if (!queue_.empty()) {
      *out = std::move(queue_.front());
      queue_.pop_front();
      return true;
    }
    if (quit_posted_) {
      quit_posted_ = false;
      *out = Queued{MSG{nullptr, WM_QUIT, static_cast<WPARAM>(exit_code_), 0, GetTickCount()}, nullptr};
      return true;
    }
  }
  for (auto& [h, rec] : windows_) {
    if (rec.paint_pending && rec.visible && !rec.minimized) {
      rec.paint_pending = false;
      *out = Queued{MSG{h, WM_PAINT, 0, 0, GetTickCount()}, nullptr};
      return true;
    }
  }
  std::uint64_t now = Now();
  Timer* earliest = nullptr;
  for (Timer& t : timers_)
    if (t.due <= now && (!earliest || t.due < earliest->due)) earliest = &t;
  if (earliest) {
    earliest->due = now + earliest->period;
    *out = Queued{MSG{earliest->hwnd, WM_TIMER, earliest->id, 0, GetTickCount()}, nullptr, earliest->proc};
    return true;
  }
  return false;
}

int CMessageLoop::NextTimeout() const {
  if (timers_.empty()) return -1;
  std::uint64_t now = Now();
  std::uint64_t due = timers_.front().due;
  for (const Timer& t : timers_) due = std::min(due, t.due);
  return due <= now ? 0 : static_cast<int>(std::min<std::uint64_t>(due - now, 0x7FFFFFFF));
}

bool CMessageLoop::GetMessage(MSG* msg) {
  Queued q;
  for (;;) {
    if (TakeReady(&q)) break;
    int timeout = NextTimeout();
    if (virtual_clock_ && timeout > 0) {
      // Let the backend offer input first; with none, jump to the next timer.
      backend_->WaitForEvents(0);
      if (TakeReady(&q)) break;
      virtual_now_ += static_cast<std::uint64_t>(timeout);
      continue;
    }
    backend_->WaitForEvents(timeout);
  }
  if (q.reply) {
    // A cross-thread SendMessage: answer it here and look for the next one.
    WindowRecord* rec = Find(q.msg.hwnd);
    LRESULT r = (rec && rec->wnd) ? rec->wnd->WindowProcedure(q.msg.message, q.msg.wParam, q.msg.lParam) : 0;
    q.reply->set_value(r);
    *msg = MSG{q.msg.hwnd, WM_NULL, 0, 0, q.msg.time};
    return true;
  }
  if (q.proc) {
    q.proc(q.msg.hwnd, WM_TIMER, q.msg.wParam, q.msg.time);
    *msg = MSG{q.msg.hwnd, WM_NULL, 0, 0, q.msg.time};
    return true;
  }
  *msg = q.msg;
  return msg->message != WM_QUIT;
}

LRESULT CMessageLoop::Dispatch(const MSG& msg) {
  if (msg.message == WM_NULL) return 0;
  if (pre_translate_ && pre_translate_(msg)) return 0;
  if (msg.message == WM_CLOSE && msg.hwnd)
    close_codes_[reinterpret_cast<std::uintptr_t>(msg.hwnd)] = static_cast<UINT>(msg.wParam);
  WindowRecord* rec = Find(msg.hwnd);
  if (!rec || !rec->wnd) return 0;
  // Pressing a button in a window makes it the active one, as on a desktop.
  if ((msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN) &&
      active_ != msg.hwnd && !(rec->ex_style & WS_EX_NOACTIVATE) && rec->enabled) {
    SetActiveWindow(msg.hwnd);
    rec = Find(msg.hwnd);
    if (!rec || !rec->wnd) return 0;
  }
  if (msg.message == WM_TIMER && !HasTimer(msg.hwnd, msg.wParam)) return 0;  // killed meanwhile
  return rec->wnd->WindowProcedure(msg.message, msg.wParam, msg.lParam);
}

int CMessageLoop::Run() {
  MSG msg;
  while (GetMessage(&msg)) Dispatch(msg);
  return static_cast<int>(msg.wParam);
}

UINT CMessageLoop::RunModal(HWND hwnd) {
  auto key = reinterpret_cast<std::uintptr_t>(hwnd);
  close_codes_.erase(key);
  WindowRecord* rec = Find(hwnd);
  HWND owner = rec ? rec->owner : nullptr;
  WindowRecord* owner_rec = Find(owner);
  bool owner_was_enabled = owner_rec && owner_rec->enabled;
  if (owner_rec) owner_rec->enabled = false;
  MSG msg;
  while (IsWindow(hwnd)) {
    if (!GetMessage(&msg)) {
      PostQuit(static_cast<int>(msg.wParam));  // the outer loop must see it too
      break;
    }
    Dispatch(msg);
  }
  if (IsWindow(owner)) {
    Find(owner)->enabled = owner_was_enabled;
    SetActiveWindow(owner);
  }
  UINT code = 0;
  auto it = close_codes_.find(key);
  if (it != close_codes_.end()) {
    code = it->second;
    close_codes_.erase(it);
  }
  return code;
}

int CMessageLoop::PumpPending() {
  int count = 0;
  Queued q;
  backend_->WaitForEvents(0);
  for (int step = 0; step < kMaxPumpSteps; ++step) {
    {
      std::lock_guard<std::mutex> lock(queue_mutex_);
      // WM_QUIT stays pending for the real loop.
      if (queue_.empty() && quit_posted_) break;
    }
    if (!TakeReady(&q)) {
      backend_->WaitForEvents(0);
      if (!TakeReady(&q)) break;
    }
    ++count;
    if (q.reply) {
      WindowRecord* rec = Find(q.msg.hwnd);
      LRESULT r =
          (rec && rec->wnd) ? rec->wnd->WindowProcedure(q.msg.message, q.msg.wParam, q.msg.lParam) : 0;
      q.reply->set_value(r);
      continue;
    }
    if (q.proc) {
      q.proc(q.msg.hwnd, WM_TIMER, q.msg.wParam, q.msg.time);
      continue;
    }
    Dispatch(q.msg);
  }
  return count;
}

void CMessageLoop::AdvanceClock(DWORD ms) {
  if (!virtual_clock_) return;
  std::uint64_t target = virtual_now_ + ms;
  PumpPending();
  for (;;) {
    std::uint64_t next = target;
    for (const Timer& t : timers_) next = std::min(next, std::max(t.due, virtual_now_.load()));
    virtual_now_ = next;
    PumpPending();
    if (next >= target) break;
  }
}

}  // namespace ostrel
