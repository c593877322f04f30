#include "XvfbServer.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace ostrel::test {

XvfbServer::XvfbServer() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    // The server writes the display number it took to the pipe.
    if (fds[1] == 3) {
      fcntl(3, F_SETFD, 0);
    } else {
      dup2(fds[1], 3);
    }
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, 2), dup2(null, 1);
    execlp("Xvfb", "Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-noreset", "-screen", "0", "640x480x24",
           nullptr);
    _exit(127);
  }
  close(fds[1]);
  if (pid_ < 0) {
    close(fds[0]);
    return;
  }
  std::string number;
  pollfd pfd{fds[0], POLLIN, 0};
  while (poll(&pfd, 1, 10000) > 0) {
    char c;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) return;
  // The display number is written once the server accepts connections;
  // -noreset keeps it from restarting when this probe disconnects.
  if (::Display* probe = XOpenDisplay((":" + number).c_str())) {
    XCloseDisplay(probe);
    display_ = ":" + number;
  }
}

XvfbServer::~XvfbServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
}

bool XvfbServer::XdoTool(const std::string& arguments) const {
  if (display_.empty()) return false;
  const std::string command = "DISPLAY=" + display_ + " xdotool " + arguments + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

}  // namespace ostrel::test
