#include "support/PrivateSessionBus.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace ostrel::test {

PrivateSessionBus::PrivateSessionBus() {
  int out[2];
  if (::pipe(out) != 0) return;
  pid_ = ::fork();
  if (pid_ == 0) {
    // A test before this one may have blocked the termination signals (as
    // the program does); the bus must still end on SIGTERM.
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::execlp("dbus-daemon", "dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address=1",
             static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  if (pid_ < 0) {
    ::close(out[0]);
    return;
  }
  std::string line;
  pollfd fd{out[0], POLLIN, 0};
  while (line.find('\n') == std::string::npos && ::poll(&fd, 1, 5000) > 0) {
    char buffer[256];
    ssize_t n = ::read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    line.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(out[0]);
  if (auto end = line.find('\n'); end != std::string::npos) {
    address_ = line.substr(0, end);
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
  }
}

PrivateSessionBus::~PrivateSessionBus() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

}  // namespace ostrel::test
