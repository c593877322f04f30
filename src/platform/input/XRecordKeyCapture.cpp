#include "platform/input/XRecordKeyCapture.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/input/KeyRecordMapper.h"
#include "platform/os/DebugLog.h"

namespace ostrel {

namespace {

Display* OpenDisplay(const std::string& name) { return XOpenDisplay(name.empty() ? nullptr : name.c_str()); }

void Intercept(XPointer closure, XRecordInterceptData* recorded) {
  XRecordKeyCapture::OnIntercept(closure, recorded);
}

bool HasRecord(Display* display) {
  int major = 0;
  int minor = 0;
  return XRecordQueryVersion(display, &major, &minor) != 0;
}

}  // namespace

// The control connection creates and ends the recording context; the data
// connection receives the recorded events and is used by the thread only.
struct XRecordKeyCapture::Connection {
  Display* control = nullptr;
  Display* data = nullptr;
  XRecordContext context = 0;
  int stopEvent = -1;

  ~Connection() {
    if (context != 0 && control != nullptr) {
      XRecordDisableContext(control, context);
      XRecordFreeContext(control, context);
      XSync(control, False);
    }
    if (data != nullptr) XCloseDisplay(data);
    if (control != nullptr) XCloseDisplay(control);
    if (stopEvent >= 0) close(stopEvent);
  }
};

XRecordKeyCapture::XRecordKeyCapture() = default;

XRecordKeyCapture::~XRecordKeyCapture() { Stop(); }

bool XRecordKeyCapture::IsAvailable(const std::string& display) {
  Display* control = OpenDisplay(display);
  if (control == nullptr) return false;
  const bool available = HasRecord(control);
  XCloseDisplay(control);
  return available;
}

XRecordKeyCapture::StartResult XRecordKeyCapture::Start(Handler handler, const std::string& display) {
  std::lock_guard<std::mutex> lock(lifecycle_);
  if (connection_) return StartResult::kAlreadyRunning;

  auto connection = std::make_unique<Connection>();
  connection->control = OpenDisplay(display);
  if (connection->control == nullptr || !HasRecord(connection->control)) {
    OutputDebugString("key capture: no X server with the RECORD extension");
    return StartResult::kNotAvailable;
  }
  connection->data = OpenDisplay(display);
  connection->stopEvent = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (connection->data == nullptr || connection->stopEvent < 0) {
    OutputDebugString("key capture: cannot open the data connection");
    return StartResult::kNotAvailable;
  }

  XRecordRange* range = XRecordAllocRange();
  if (range == nullptr) return StartResult::kNotAvailable;
  range->device_events.first = KeyPress;
  range->device_events.last = KeyRelease;
  XRecordClientSpec clients = XRecordAllClients;
  connection->context = XRecordCreateContext(connection->control, 0, &clients, 1, &range, 1);
  XFree(range);
  if (connection->context == 0) {
    OutputDebugString("key capture: the server refused the recording context");
    return StartResult::kNotAvailable;
  }
  // The context must exist on the server before the data connection
  // enables it.
  XSync(connection->control, False);

  handler_ = std::move(handler);
  connection_ = std::move(connection);
  started_.store(false);
  running_.store(true);
  thread_ = std::thread([this] { Run(); });

  // Wait for the server to start recording, so that every key pressed
  // after Start returns is seen.
  std::unique_lock<std::mutex> wait(startMutex_);
  startChanged_.wait_for(wait, std::chrono::milliseconds(kStartTimeoutMs),
                         [this] { return started_.load() || !running_.load(); });
  if (started_.load()) return StartResult::kStarted;
  wait.unlock();
  OutputDebugString("key capture: the server did not start recording");
  StopLocked();
  return StartResult::kNotAvailable;
}

void XRecordKeyCapture::OnIntercept(char* closure, void* recorded) {
  auto* intercepted = static_cast<XRecordInterceptData*>(recorded);
  auto* self = reinterpret_cast<XRecordKeyCapture*>(closure);
  if (intercepted->category == XRecordStartOfData) {
    {
      std::lock_guard<std::mutex> lock(self->startMutex_);
      self->started_.store(true);
    }
    self->startChanged_.notify_all();
  } else if (intercepted->category == XRecordFromServer && intercepted->data_len > 0) {
    const unsigned char* bytes = intercepted->data;
    const int type = bytes[0] & 0x7F;
    if (type == KeyPress || type == KeyRelease) {
      auto event = KeyRecordMapper::FromXKeycode(bytes[1], type == KeyPress,
                                                 static_cast<std::uint32_t>(intercepted->server_time));
      if (event && self->handler_) self->handler_(*event);
    }
  }
  XRecordFreeData(intercepted);
}

void XRecordKeyCapture::Run() {
  Connection& c = *connection_;
  if (XRecordEnableContextAsync(c.data, c.context, &Intercept, reinterpret_cast<XPointer>(this)) == 0) {
    OutputDebugString("key capture: cannot enable the recording context");
  } else {
    pollfd fds[2] = {{ConnectionNumber(c.data), POLLIN, 0}, {c.stopEvent, POLLIN, 0}};
    for (;;) {
      // Replies already read into Xlib's buffer are handled before waiting.
      XRecordProcessReplies(c.data);
      fds[0].revents = fds[1].revents = 0;
      const int ready = poll(fds, 2, -1);
      if (ready < 0) {
        if (errno == EINTR) continue;
        break;
      }
      if (fds[1].revents != 0) break;
      if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) {
        OutputDebugString("key capture: the X connection closed");
        break;
      }
    }
  }
  {
    std::lock_guard<std::mutex> lock(startMutex_);
    running_.store(false);
  }
  startChanged_.notify_all();
}

void XRecordKeyCapture::Stop() {
  std::lock_guard<std::mutex> lock(lifecycle_);
  StopLocked();
}

void XRecordKeyCapture::StopLocked() {
  if (!connection_) return;
  const std::uint64_t one = 1;
  if (write(connection_->stopEvent, &one, sizeof one) < 0) {
    OutputDebugString("key capture: cannot signal the capture thread");
  }
  if (thread_.joinable()) thread_.join();
  connection_.reset();  // disables the context, closes both connections
  handler_ = nullptr;
  running_.store(false);
}

}  // namespace ostrel
