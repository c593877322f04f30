#pragma once
// Key capture from the X server: every key press and release of the
// session, read with the RECORD extension on a thread of its own over its
// own two display connections, delivered as keyboard records. Events reach
// the handler on the capture thread; a handler that touches the UI posts
// them to the window thread.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/input/KeyboardHookRecord.h"

namespace ostrel {

class XRecordKeyCapture {
 public:
  using Handler = std::function<void(const KeyHookEvent& event)>;

  enum class StartResult {
    kStarted,
    kAlreadyRunning,  // the running capture keeps its handler
    kNotAvailable,    // no X server, or one without the RECORD extension
  };

  XRecordKeyCapture();
  ~XRecordKeyCapture();  // stops the capture
  XRecordKeyCapture(const XRecordKeyCapture&) = delete;
  XRecordKeyCapture& operator=(const XRecordKeyCapture&) = delete;

  // `display`: the X display name; empty means $DISPLAY. Returns once the
  // server records for us, so that no key pressed after Start is missed.
  StartResult Start(Handler handler, const std::string& display = {});
  // Ends the capture and waits for its thread; no handler call follows.
  // Harmless when not running.
  void Stop();
  bool IsRunning() const { return running_.load() && started_.load(); }

  // Whether a capture could start on this display.
  static bool IsAvailable(const std::string& display = {});

  // The X library's callback for recorded data (an XRecordInterceptData);
  // `closure` is the capture.
  static void OnIntercept(char* closure, void* intercepted);

 private:
  struct Connection;
  void Run();
  void StopLocked();

  static constexpr int kStartTimeoutMs = 3000;

  std::mutex lifecycle_;  // Start and Stop from any thread
  std::unique_ptr<Connection> connection_;
  std::thread thread_;
  std::atomic<bool> running_{false};
  std::atomic<bool> started_{false};
  std::mutex startMutex_;
  std::condition_variable startChanged_;
  Handler handler_;
};

}  // namespace ostrel
