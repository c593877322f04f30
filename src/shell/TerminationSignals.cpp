#include "shell/TerminationSignals.h"

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

namespace ostrel {
namespace {

sigset_t Signals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}

}  // namespace

TerminationSignals::~TerminationSignals() { Stop(); }

void TerminationSignals::Block() {
  sigset_t set = Signals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

bool TerminationSignals::Start(std::function<void(int)> onSignal) {
  if (thread_.joinable()) return false;
  sigset_t set = Signals();
  signalFd_ = ::signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (signalFd_ < 0 || wakeFd_ < 0) {
    Stop();
    return false;
  }
  thread_ = std::thread([this, onSignal = std::move(onSignal)] {
    for (;;) {
      pollfd fds[2] = {{signalFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
      if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
      if (fds[1].revents & POLLIN) return;
      signalfd_siginfo info{};
      if ((fds[0].revents & POLLIN) && ::read(signalFd_, &info, sizeof info) == sizeof info && onSignal)
        onSignal(static_cast<int>(info.ssi_signo));
    }
  });
  return true;
}

void TerminationSignals::Stop() {
  if (thread_.joinable()) {
    std::uint64_t one = 1;
    ssize_t ignored = ::write(wakeFd_, &one, sizeof one);
    (void)ignored;
    thread_.join();
  }
  if (signalFd_ >= 0) ::close(signalFd_);
  if (wakeFd_ >= 0) ::close(wakeFd_);
  signalFd_ = wakeFd_ = -1;
}

}  // namespace ostrel
