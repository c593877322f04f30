#include "devsim/VirtualInterface.h"

#include <json/json.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "devsim/ReportDescriptor.h"

namespace ostrel::devsim {
namespace {

constexpr std::size_t kMaxReportSize = 4096;

bool FillAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// A socket file left behind by a simulator that died is replaced; one that
// still accepts connections belongs to a running simulator.
bool SocketInUse(const sockaddr_un& address) {
  const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

std::string ErrnoText(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

VirtualInterface::VirtualInterface(std::string directory, std::string baseName)
    : directory_(std::move(directory)), baseName_(std::move(baseName)) {}

VirtualInterface::~VirtualInterface() { Unplug(); }

bool VirtualInterface::IsValidBaseName(const std::string& name) {
  if (name.empty()) return false;
  for (const char c : name) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                    c == '_' || c == '.';
    if (!ok) return false;
  }
  return true;
}

std::string VirtualInterface::DescriptionJson(const InterfaceDescription& description) {
  Json::Value root(Json::objectValue);
  root["vendor_id"] = description.vendorId;
  root["product_id"] = description.productId;
  root["version"] = description.version;
  root["interface"] = description.interfaceNumber;
  root["report_descriptor"] = ReportDescriptor::ToHex(description.reportDescriptor);
  if (!description.name.empty()) root["name"] = description.name;
  if (!description.serial.empty()) root["serial"] = description.serial;
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "  ";
  return Json::writeString(builder, root) + "\n";
}

std::string VirtualInterface::SocketPath() const { return directory_ + "/" + baseName_ + ".sock"; }
std::string VirtualInterface::DescriptionPath() const { return directory_ + "/" + baseName_ + ".json"; }

SimResult VirtualInterface::Plug(const InterfaceDescription& description, OutputHandler onOutput,
                                 SentObserver onSent) {
  if (running_) return SimResult::Failure(baseName_ + " is already plugged in");
  // A server thread that unplugged on its own has ended; collect it.
  if (thread_.joinable()) {
    thread_.join();
    if (wakeFd_ >= 0) ::close(wakeFd_);
    wakeFd_ = -1;
  }
  if (!IsValidBaseName(baseName_)) {
    return SimResult::Failure("\"" + baseName_ + "\" is not a valid interface name (letters, digits, - _ .)");
  }
  sockaddr_un address{};
  if (!FillAddress(SocketPath(), address)) {
    return SimResult::Failure(SocketPath() + " is too long for a socket path");
  }
  // Entries of a name whose socket still answers belong to a running
  // simulator. Entries whose socket does not (a simulator that was killed)
  // are removed, in the order of an unplug.
  struct stat info {};
  if (::lstat(SocketPath().c_str(), &info) == 0) {
    if (!S_ISSOCK(info.st_mode)) return SimResult::Failure(SocketPath() + " exists and is not a socket");
    if (SocketInUse(address)) return SimResult::Failure(SocketPath() + " is served by another simulator");
  }
  ::unlink(DescriptionPath().c_str());
  ::unlink(SocketPath().c_str());

  // Whatever was set up goes again when a later step fails.
  auto abandon = [this](std::string text) {
    if (listenFd_ >= 0) ::close(listenFd_);
    if (wakeFd_ >= 0) ::close(wakeFd_);
    listenFd_ = wakeFd_ = -1;
    ::unlink(SocketPath().c_str());
    return SimResult::Failure(std::move(text));
  };
  listenFd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (listenFd_ < 0) return SimResult::Failure(ErrnoText("socket"));
  if (::bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listenFd_, SOMAXCONN) != 0) {
    return abandon(ErrnoText(("listening on " + SocketPath()).c_str()));
  }
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd_ < 0) return abandon(ErrnoText("eventfd"));

  // The description appears only once the socket listens, and whole.
  const std::string temporary = DescriptionPath() + ".tmp";
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  out << DescriptionJson(description);
  out.close();
  if (!out || std::rename(temporary.c_str(), DescriptionPath().c_str()) != 0) {
    ::unlink(temporary.c_str());
    return abandon("cannot write " + DescriptionPath());
  }

  onOutput_ = std::move(onOutput);
  onSent_ = std::move(onSent);
  {
    std::lock_guard lock(mutex_);
    queue_.clear();
    nextSend_ = Clock::time_point{};
  }
  stopRequested_ = false;
  unplugRequested_ = false;
  running_ = true;
  thread_ = std::thread(&VirtualInterface::Run, this);
  return SimResult::Success();
}

void VirtualInterface::RemoveEntries() {
  ::unlink(DescriptionPath().c_str());
  ::unlink(SocketPath().c_str());
}

void VirtualInterface::Unplug() {
  if (!thread_.joinable()) return;
  if (std::this_thread::get_id() == thread_.get_id()) {
    UnplugFromServerThread();
    return;
  }
  // The thread may have unplugged on its own already; then its entries are
  // gone and must not be touched again (the name may be plugged elsewhere).
  if (running_) RemoveEntries();
  stopRequested_ = true;
  Wake();
  thread_.join();
  if (wakeFd_ >= 0) ::close(wakeFd_);
  wakeFd_ = -1;
}

void VirtualInterface::UnplugFromServerThread() {
  unplugRequested_ = true;
  Wake();
}

bool VirtualInterface::IsPlugged() const { return running_ && !unplugRequested_ && !stopRequested_; }

void VirtualInterface::Wake() {
  if (wakeFd_ < 0) return;
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
}

bool VirtualInterface::Send(std::vector<std::uint8_t> report, Clock::duration delay) {
  if (!IsPlugged()) return false;
  {
    std::lock_guard lock(mutex_);
    queue_.emplace(Clock::now() + delay, std::move(report));
  }
  Wake();
  return true;
}

void VirtualInterface::SetInterval(Clock::duration interval) {
  std::lock_guard lock(mutex_);
  interval_ = interval < Clock::duration::zero() ? Clock::duration::zero() : interval;
}

VirtualInterface::Clock::duration VirtualInterface::Interval() const {
  std::lock_guard lock(mutex_);
  return interval_;
}

std::size_t VirtualInterface::ConnectionCount() const { return connectionCount_; }
std::size_t VirtualInterface::DroppedDeliveries() const { return droppedDeliveries_; }

void VirtualInterface::ReadConnection(Connection& connection, bool& closed) {
  std::vector<std::uint8_t> buffer(kMaxReportSize);
  while (!unplugRequested_) {
    const ssize_t received = ::recv(connection.fd, buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC);
    if (received == 0) {
      closed = true;
      return;
    }
    if (received < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) closed = true;
      return;
    }
    // Longer than any report of these devices: not a report, dropped.
    if (static_cast<std::size_t>(received) > buffer.size()) continue;
    std::vector<std::uint8_t> report(buffer.begin(), buffer.begin() + received);
    if (onOutput_) onOutput_(connection.id, report);
  }
}

void VirtualInterface::AcceptPending(std::vector<Connection>& connections) {
  while (true) {
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) break;
    connections.push_back({fd, nextConnectionId_++});
  }
  connectionCount_ = connections.size();
}

void VirtualInterface::SendDue(std::vector<Connection>& connections, Clock::time_point now) {
  std::unique_lock lock(mutex_);
  // A host whose connect() has returned has opened the device: it gets the
  // report even when this thread has not seen the connection yet.
  if (!queue_.empty() && queue_.begin()->first <= now && nextSend_ <= now) AcceptPending(connections);
  while (!queue_.empty() && queue_.begin()->first <= now && nextSend_ <= now) {
    std::vector<std::uint8_t> report = std::move(queue_.begin()->second);
    queue_.erase(queue_.begin());
    nextSend_ = now + interval_;
    lock.unlock();
    // Recorded first, so that whoever reads the report finds it in the log.
    if (onSent_) onSent_(report);
    // Like hidraw, every open connection gets its own copy of the report.
    for (Connection& connection : connections) {
      const ssize_t sent = ::send(connection.fd, report.data(), report.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
      if (sent < 0) ++droppedDeliveries_;
    }
    lock.lock();
  }
}

void VirtualInterface::CloseSockets(std::vector<Connection>& connections) {
  for (Connection& connection : connections) ::close(connection.fd);
  connections.clear();
  connectionCount_ = 0;
  if (listenFd_ >= 0) ::close(listenFd_);
  listenFd_ = -1;
}

void VirtualInterface::Run() {
  // A host controller polls the interrupt pipe on the bus's own schedule:
  // a report due at the next interval goes out then, not up to the
  // scheduler's default 50 us slack later.
  ::prctl(PR_SET_TIMERSLACK, 1UL);
  std::vector<Connection> connections;
  std::vector<pollfd> fds;
  while (!stopRequested_) {
    if (unplugRequested_) {
      RemoveEntries();
      break;
    }
    fds.clear();
    fds.push_back({wakeFd_, POLLIN, 0});
    fds.push_back({listenFd_, POLLIN, 0});
    for (const Connection& connection : connections) fds.push_back({connection.fd, POLLIN, 0});

    timespec timeout{};
    timespec* timeoutPointer = nullptr;
    {
      std::lock_guard lock(mutex_);
      if (!queue_.empty()) {
        const auto due = std::max(queue_.begin()->first, nextSend_);
        const auto wait = std::max(Clock::duration::zero(), due - Clock::now());
        const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
        timeout.tv_sec = static_cast<time_t>(nanoseconds / 1'000'000'000);
        timeout.tv_nsec = static_cast<long>(nanoseconds % 1'000'000'000);
        timeoutPointer = &timeout;
      }
    }
    const int ready = ::ppoll(fds.data(), fds.size(), timeoutPointer, nullptr);
    if (ready < 0 && errno != EINTR) break;

    if (fds[0].revents & POLLIN) {
      std::uint64_t count = 0;
      [[maybe_unused]] const ssize_t drained = ::read(wakeFd_, &count, sizeof count);
    }
    if (stopRequested_) break;

    if (fds[1].revents & POLLIN) AcceptPending(connections);

    // Only the connections that were polled; new ones are read next round.
    std::vector<std::uint64_t> closedIds;
    for (std::size_t i = 2; i < fds.size() && !unplugRequested_; ++i) {
      if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
      bool closed = false;
      ReadConnection(connections[i - 2], closed);
      if (closed) closedIds.push_back(connections[i - 2].id);
    }
    for (const std::uint64_t id : closedIds) {
      for (auto it = connections.begin(); it != connections.end(); ++it) {
        if (it->id == id) {
          ::close(it->fd);
          connections.erase(it);
          break;
        }
      }
    }
    connectionCount_ = connections.size();

    if (unplugRequested_) {
      RemoveEntries();
      break;
    }
    SendDue(connections, Clock::now());
  }
  CloseSockets(connections);
  {
    std::lock_guard lock(mutex_);
    queue_.clear();
  }
  running_ = false;
}

}  // namespace ostrel::devsim
