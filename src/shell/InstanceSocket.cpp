#include "shell/InstanceSocket.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/os/DebugLog.h"
#include "platform/os/KnownFolders.h"
#include "platform/ui/WindowApi.h"
#include "shell/RegisteredMessages.h"

namespace ostrel {
namespace {

constexpr int kReadTimeoutMs = 500;

socklen_t FillAddress(sockaddr_un* address, const std::string& name) {
  std::memset(address, 0, sizeof *address);
  address->sun_family = AF_UNIX;
  std::size_t n = std::min(name.size(), sizeof address->sun_path - 1);
  std::memcpy(address->sun_path + 1, name.data(), n);
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
}

}  // namespace

InstanceSocket::InstanceSocket() = default;

InstanceSocket::~InstanceSocket() { Close(); }

std::string InstanceSocket::SocketName() {
  std::string runtime = RuntimeDir();
  if (runtime.empty()) runtime = "uid-" + std::to_string(::getuid());
  return "Kestrane:" + runtime;
}

InstanceSocket::Claim InstanceSocket::Open() {
  if (listenFd_ >= 0) return Claim::First;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return Claim::Failed;
  sockaddr_un address;
  socklen_t length = FillAddress(&address, SocketName());
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 && ::listen(fd, 4) == 0) {
    listenFd_ = fd;
    return Claim::First;
  }
  int error = errno;
  ::close(fd);
  if (error == EADDRINUSE) return Claim::Second;
  DebugPrintf("instance socket: %s", std::strerror(error));
  return Claim::Failed;
}

bool InstanceSocket::WakeFirstInstance(WPARAM wParam, LPARAM lParam) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address;
  socklen_t length = FillAddress(&address, SocketName());
  bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
  if (ok) {
    char line[64];
    int n = std::snprintf(line, sizeof line, "wake %ld %ld\n", static_cast<long>(wParam),
                          static_cast<long>(lParam));
    ok = ::send(fd, line, static_cast<std::size_t>(n), MSG_NOSIGNAL) == n;
  }
  ::close(fd);
  return ok;
}

bool InstanceSocket::Start() {
  if (listenFd_ < 0 || thread_.joinable()) return false;
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd_ < 0) return false;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void InstanceSocket::Run() {
  for (;;) {
    pollfd fds[2] = {{listenFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    int n = ::poll(fds, 2, -1);
    if (n < 0 && errno != EINTR) return;
    if (fds[1].revents & POLLIN) return;
    if (!(fds[0].revents & POLLIN)) continue;
    int client = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    // A client that connects and says nothing must not hold up the next one.
    char line[64] = {};
    std::size_t used = 0;
    while (used < sizeof line - 1) {
      pollfd in{client, POLLIN, 0};
      if (::poll(&in, 1, kReadTimeoutMs) <= 0) break;
      ssize_t got = ::recv(client, line + used, sizeof line - 1 - used, 0);
      if (got <= 0) break;
      used += static_cast<std::size_t>(got);
      if (std::memchr(line, '\n', used)) break;
    }
    ::close(client);
    long w = 0;
    long l = 0;
    HWND target = target_.load();
    if (std::sscanf(line, "wake %ld %ld", &w, &l) == 2 && target) {
      PostMessage(target, RegisteredMessages::InstanceMessage(), static_cast<WPARAM>(w),
                  static_cast<LPARAM>(l));
    }
  }
}

void InstanceSocket::Close() {
  if (thread_.joinable()) {
    std::uint64_t one = 1;
    ssize_t ignored = ::write(wakeFd_, &one, sizeof one);
    (void)ignored;
    thread_.join();
  }
  if (wakeFd_ >= 0) ::close(wakeFd_);
  wakeFd_ = -1;
  if (listenFd_ >= 0) ::close(listenFd_);
  listenFd_ = -1;
}

}  // namespace ostrel
