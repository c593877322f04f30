#include "VirtualHidServer.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace ostrel::test {

namespace fs = std::filesystem;

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  char two[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(two, sizeof two, "%02x", bytes[i]);
    if (i) text += ' ';
    text += two;
  }
  return text;
}

std::string VirtualDescription::Json() const {
  return "{\n  \"vendor_id\": " + std::to_string(vendorId) +
         ",\n  \"product_id\": " + std::to_string(productId) +
         ",\n  \"version\": " + std::to_string(version) +
         ",\n  \"interface\": " + std::to_string(interfaceNumber) +
         ",\n  \"name\": \"Test device\",\n  \"report_descriptor\": \"" + HexBytes(descriptor) + "\"\n}\n";
}

VirtualHidServer::VirtualHidServer(fs::path directory) : directory_(std::move(directory)) {
  std::error_code ec;
  fs::create_directories(directory_, ec);
  chmod(directory_.c_str(), 0700);
}

VirtualHidServer::~VirtualHidServer() {
  while (!interfaces_.empty()) Unplug(interfaces_.begin()->first);
}

fs::path VirtualHidServer::DefaultDirectory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return fs::path(runtime ? runtime : "/tmp") / "ostrel" / "vhid";
}

bool VirtualHidServer::PlugRaw(const std::string& name, const std::string& json) {
  const fs::path socketPath = directory_ / (name + ".sock");
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (socketPath.string().size() >= sizeof address.sun_path) return false;
  std::strcpy(address.sun_path, socketPath.c_str());
  const int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  unlink(socketPath.c_str());
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 16) != 0) {
    close(fd);
    return false;
  }
  interfaces_[name].listener = fd;
  // Written aside and renamed, as the simulator does.
  const fs::path temporary = directory_ / (name + ".json.tmp");
  {
    std::ofstream out(temporary, std::ios::binary);
    out << json;
  }
  std::error_code ec;
  fs::rename(temporary, directory_ / (name + ".json"), ec);
  return !ec;
}

bool VirtualHidServer::Plug(const std::string& name, const VirtualDescription& description) {
  return PlugRaw(name, description.Json());
}

void VirtualHidServer::Unplug(const std::string& name) {
  std::error_code ec;
  fs::remove(directory_ / (name + ".json"), ec);
  fs::remove(directory_ / (name + ".sock"), ec);
  auto it = interfaces_.find(name);
  if (it == interfaces_.end()) return;
  for (int fd : it->second.connections) close(fd);
  if (it->second.listener >= 0) close(it->second.listener);
  interfaces_.erase(it);
}

bool VirtualHidServer::Accept(const std::string& name, std::size_t count) {
  auto it = interfaces_.find(name);
  if (it == interfaces_.end()) return false;
  Interface& iface = it->second;
  for (int waits = 0; iface.connections.size() < count && waits < 200; ++waits) {
    pollfd p = {iface.listener, POLLIN, 0};
    if (poll(&p, 1, 10) > 0) {
      const int fd = accept4(iface.listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd >= 0) iface.connections.push_back(fd);
    }
  }
  return iface.connections.size() >= count;
}

std::size_t VirtualHidServer::Connections(const std::string& name) const {
  auto it = interfaces_.find(name);
  return it == interfaces_.end() ? 0 : it->second.connections.size();
}

bool VirtualHidServer::SendToAll(const std::string& name, const std::vector<std::uint8_t>& packet) {
  auto it = interfaces_.find(name);
  if (it == interfaces_.end()) return false;
  for (int fd : it->second.connections)
    if (send(fd, packet.data(), packet.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(packet.size()))
      return false;
  return true;
}

bool VirtualHidServer::Send(const std::string& name, std::size_t connection,
                            const std::vector<std::uint8_t>& packet) {
  auto it = interfaces_.find(name);
  if (it == interfaces_.end() || connection >= it->second.connections.size()) return false;
  return send(it->second.connections[connection], packet.data(), packet.size(), MSG_NOSIGNAL) ==
         static_cast<ssize_t>(packet.size());
}

bool VirtualHidServer::Receive(const std::string& name, std::size_t connection,
                               std::vector<std::uint8_t>& packet, int timeoutMs) {
  auto it = interfaces_.find(name);
  if (it == interfaces_.end() || connection >= it->second.connections.size()) return false;
  const int fd = it->second.connections[connection];
  pollfd p = {fd, POLLIN, 0};
  if (poll(&p, 1, timeoutMs) <= 0) return false;
  packet.resize(20000);
  const ssize_t got = recv(fd, packet.data(), packet.size(), 0);
  if (got < 0) return false;
  packet.resize(static_cast<std::size_t>(got));
  return true;
}

}  // namespace ostrel::test
