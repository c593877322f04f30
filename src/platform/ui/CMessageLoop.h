#pragma once
// The process's window system: the table of windows and their state, one
// thread-safe message queue, window timers, registered messages and the
// loop that dispatches them on the UI thread. Worker threads may post and
// send; everything else belongs to the UI thread.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/ui/IWindowBackend.h"
#include "platform/ui/UIDefs.h"

namespace ostrel {

class CWindowWnd;

struct WindowRecord {
  CWindowWnd* wnd = nullptr;
  HWND owner = nullptr;
  std::string title;
  std::string class_name;
  DWORD style = 0;
  DWORD ex_style = 0;
  RECT rect;
  RECT restore_rect;
  bool visible = false;
  bool minimized = false;
  bool maximized = false;
  bool enabled = true;
  bool topmost = false;
  bool paint_pending = false;
  bool destroying = false;
};

class CMessageLoop {
 public:
  static CMessageLoop& Instance();

  // The backend in use; a headless one until another is installed.
  IWindowBackend* Backend() { return backend_.get(); }
  void SetBackend(std::unique_ptr<IWindowBackend> backend);

  // The UI thread is the one that first used the loop; tests may re-attach.
  bool IsUIThread() const { return std::this_thread::get_id() == ui_thread_; }
  void AttachCurrentThread() { ui_thread_ = std::this_thread::get_id(); }

  // Windows.
  HWND CreateWindowHandle(CWindowWnd* wnd, const WindowCreateParams& params);
  bool DestroyWindow(HWND hwnd);
  WindowRecord* Find(HWND hwnd);
  bool IsWindow(HWND hwnd) const { return windows_.count(hwnd) != 0; }
  std::vector<HWND> Windows() const;
  HWND FindWindow(const char* class_name, const char* title) const;
  void SetWindowRect(HWND hwnd, const RECT& rect, bool notify);
  bool ShowWindow(HWND hwnd, int show);
  void InvalidateWindow(HWND hwnd);
  HWND ActiveWindow() const { return active_; }
  void SetActiveWindow(HWND hwnd);
  // Destroys every window and forgets queued messages and timers (tests).
  void Reset();

  // Messages. Post is thread-safe; Send from the UI thread calls the window
  // directly, from another thread it waits until the UI thread handled it
  // (0 when the window goes away first).
  bool Post(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  LRESULT Send(HWND hwnd, UINT message, WPARAM w, LPARAM l);
  void PostQuit(int exit_code);
  UINT RegisterWindowMessage(const std::string& name);
  // Runs before dispatch; returning true swallows the message (the paint
  // managers' pre-message filters).
  void SetPreTranslate(std::function<bool(const MSG&)> hook) { pre_translate_ = std::move(hook); }

  // Window timers (WM_TIMER with the id as wParam).
  UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT period_ms, TIMERPROC proc = nullptr);
  bool KillTimer(HWND hwnd, UINT_PTR id);
  bool HasTimer(HWND hwnd, UINT_PTR id) const;

  // The loop. GetMessage waits; false on WM_QUIT.
  bool GetMessage(MSG* msg);
  LRESULT Dispatch(const MSG& msg);
  int Run();
  // Runs until `hwnd` is destroyed (a modal window); the result is the code
  // its last WM_CLOSE carried in wParam. WM_QUIT ends it too and is kept.
  UINT RunModal(HWND hwnd);
  // Dispatches whatever is due now without waiting; returns how many.
  int PumpPending();
  bool QuitPosted() const { return quit_posted_; }
  int ExitCode() const { return exit_code_; }

  // Milliseconds since the loop started. With the virtual clock (tests)
  // time moves only by AdvanceClock, and an idle loop with timers pending
  // jumps to the next one instead of waiting.
  DWORD GetTickCount() const;
  void UseVirtualClock(bool on);
  bool VirtualClock() const { return virtual_clock_; }
  // Moves the virtual clock on in timer order, dispatching as it goes.
  void AdvanceClock(DWORD ms);

 private:
  CMessageLoop();
  struct Queued {
    MSG msg;
    std::shared_ptr<std::promise<LRESULT>> reply;
    TIMERPROC proc = nullptr;
  };
  struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    std::uint64_t due;
    TIMERPROC proc;
  };
  std::uint64_t Now() const;
  bool TakeReady(Queued* out);
  int NextTimeout() const;
  void DropMessagesFor(HWND hwnd);

  std::unique_ptr<IWindowBackend> backend_;
  std::thread::id ui_thread_;
  std::map<HWND, WindowRecord> windows_;
  std::uintptr_t next_handle_ = 0x100;
  HWND active_ = nullptr;
  std::unordered_map<std::uintptr_t, UINT> close_codes_;

  mutable std::mutex queue_mutex_;
  std::deque<Queued> queue_;
  bool quit_posted_ = false;
  int exit_code_ = 0;
  std::function<bool(const MSG&)> pre_translate_;

  std::vector<Timer> timers_;

  std::mutex registered_mutex_;
  std::unordered_map<std::string, UINT> registered_;
  UINT next_registered_ = kFirstRegisteredMessage;

  std::atomic<bool> virtual_clock_{false};
  // Read by workers that post (the message time); moved only by the UI thread.
  std::atomic<std::uint64_t> virtual_now_{0};
  std::uint64_t start_ms_ = 0;
};

}  // namespace ostrel
