#include "shell/SleepWatcher.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/os/DebugLog.h"
#include "platform/ui/WindowApi.h"

namespace ostrel {

struct SleepWatcherCallbacks {
  static int OnPrepareForSleep(sd_bus_message* m, void* userdata, sd_bus_error*) {
    int sleeping = 0;
    if (sd_bus_message_read(m, "b", &sleeping) < 0) return 0;
    auto* self = static_cast<SleepWatcher*>(userdata);
    HWND target = self->target_.load();
    DebugPrintf("logind: PrepareForSleep %d", sleeping);
    if (target) PostMessage(target, WM_POWERBROADCAST, sleeping ? PBT_APMSUSPEND : PBT_APMRESUMEAUTOMATIC, 0);
    return 0;
  }
};

SleepWatcher::SleepWatcher() = default;

SleepWatcher::~SleepWatcher() { Stop(); }

bool SleepWatcher::Start(HWND target, Bus which) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (bus_) return true;
  target_ = target;
  int r = which == Bus::System ? sd_bus_open_system(&bus_) : sd_bus_open_user(&bus_);
  if (r < 0) {
    bus_ = nullptr;
    DebugPrintf("logind: no system bus, suspend is not watched (%s)", std::strerror(-r));
    return false;
  }
  r = sd_bus_match_signal(bus_, &matchSlot_, "org.freedesktop.login1", "/org/freedesktop/login1",
                          "org.freedesktop.login1.Manager", "PrepareForSleep",
                          SleepWatcherCallbacks::OnPrepareForSleep, this);
  wakeFd_ = r < 0 ? -1 : ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (r < 0 || wakeFd_ < 0) {
    DebugPrintf("logind: cannot watch PrepareForSleep (%s)", std::strerror(r < 0 ? -r : errno));
    sd_bus_slot_unref(matchSlot_);
    matchSlot_ = nullptr;
    sd_bus_flush_close_unref(bus_);
    bus_ = nullptr;
    return false;
  }
  thread_ = std::thread([this] { Run(); });
  return true;
}

void SleepWatcher::Run() {
  for (;;) {
    int fd;
    short events;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      while (sd_bus_process(bus_, nullptr) > 0) {
      }
      fd = sd_bus_get_fd(bus_);
      events = static_cast<short>(sd_bus_get_events(bus_));
    }
    if (fd < 0) return;
    pollfd fds[2] = {{fd, events, 0}, {wakeFd_, POLLIN, 0}};
    // The bus has no calls of ours pending, so no time-out matters here.
    int n = ::poll(fds, 2, -1);
    if (n < 0 && errno != EINTR) return;
    if (fds[1].revents & POLLIN) return;
    if (fds[0].revents & (POLLERR | POLLHUP)) return;
  }
}

void SleepWatcher::Stop() {
  if (thread_.joinable()) {
    std::uint64_t one = 1;
    ssize_t ignored = ::write(wakeFd_, &one, sizeof one);
    (void)ignored;
    thread_.join();
  }
  std::lock_guard<std::mutex> lock(mutex_);
  if (wakeFd_ >= 0) ::close(wakeFd_);
  wakeFd_ = -1;
  if (matchSlot_) sd_bus_slot_unref(matchSlot_);
  matchSlot_ = nullptr;
  if (bus_) sd_bus_flush_close_unref(bus_);
  bus_ = nullptr;
}

}  // namespace ostrel
