#pragma once
// A hidden window that carries the device workers' requests to the window
// thread: a worker posts, the window thread runs the handler. Control
// timers may only be armed on the window thread, so a notification reader
// asking for a profile re-read goes through here.

#include <atomic>
#include <functional>

#include "platform/ui/CWindowWnd.h"

namespace ostrel {

class DeviceWorkerWindow : public CWindowWnd {
 public:
  // Runs on the window thread for each posted request.
  using Handler = std::function<void(WPARAM wParam, LPARAM lParam)>;
  static constexpr UINT kRequestMessage = WM_USER + 0x900;

  explicit DeviceWorkerWindow(Handler handler) : handler_(std::move(handler)) {}
  ~DeviceWorkerWindow() override;

  bool CreateHidden();
  void DestroyHidden();
  // Thread-safe; false when the window is gone.
  bool PostRequest(WPARAM wParam, LPARAM lParam) const;

 protected:
  const char* GetWindowClassName() const override { return "OstrelDeviceWorkers"; }
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  void OnFinalMessage(HWND) override {}

 private:
  Handler handler_;
  // What workers post to; cleared before the window goes.
  std::atomic<HWND> target_{nullptr};
};

}  // namespace ostrel
