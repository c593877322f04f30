#include "ScriptedPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "VendorInterface.h"

namespace ostrel::test {
namespace {

// One vendor collection: 63 data bytes each way after report id 4.
constexpr std::uint8_t kDescriptor[] = {
    0x06, 0x1C, 0xFF,  // usage page 0xFF1C
    0x09, 0x92,        // usage 0x92
    0xA1, 0x01,        // collection (application)
    0x85, 0x04,        //   report id 4
    0x15, 0x00,        //   logical minimum 0
    0x26, 0xFF, 0x00,  //   logical maximum 255
    0x75, 0x08,        //   report size 8
    0x95, 0x3F,        //   report count 63
    0x09, 0x01,        //   usage 1
    0x81, 0x02,        //   input (data, variable, absolute)
    0x09, 0x01,        //   usage 1
    0x91, 0x02,        //   output (data, variable, absolute)
    0xC0,              // end collection
};

constexpr std::size_t kMemorySize = 0x10000 + 64;

std::uint8_t MemoryIdFor(std::uint8_t command) {
  switch (command) {
    case 6:
      return 5;
    case 9:
      return 7;
    case 11:
      return 10;
    default:
      return command;
  }
}

bool IsWrite(std::uint8_t command) {
  switch (command) {
    case 6:
    case 9:
    case 11:
    case 18:
    case 21:
    case 23:
      return true;
    default:
      return false;
  }
}

}  // namespace

ScriptedPeer::ScriptedPeer(std::string name, std::uint16_t vendorId, std::uint16_t productId)
    : name_(std::move(name)), vendorId_(vendorId), productId_(productId) {
  script_ = [this](const Bytes& request, int) { return std::vector<PeerReply>{MemoryReply(request)}; };
}

ScriptedPeer::~ScriptedPeer() { Unplug(); }

std::string ScriptedPeer::Directory() const {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return std::string(runtime != nullptr ? runtime : "/tmp") + "/ostrel/vhid";
}

void ScriptedPeer::SetScript(PeerScript script) {
  std::lock_guard<std::mutex> lock(mutex_);
  script_ = std::move(script);
}

bool ScriptedPeer::Plug() {
  if (thread_.joinable()) return true;
  namespace fs = std::filesystem;
  const std::string dir = Directory();
  std::error_code ec;
  fs::create_directories(dir, ec);
  ::chmod((fs::path(dir).parent_path()).c_str(), 0700);
  ::chmod(dir.c_str(), 0700);

  const std::string socketPath = dir + "/" + name_ + ".sock";
  ::unlink(socketPath.c_str());
  listenFd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (listenFd_ < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (socketPath.size() >= sizeof(address.sun_path)) return false;
  std::strcpy(address.sun_path, socketPath.c_str());
  if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(listenFd_, 8) != 0) {
    ::close(listenFd_);
    listenFd_ = -1;
    return false;
  }

  std::string hex;
  for (std::uint8_t b : kDescriptor) {
    char text[4];
    std::snprintf(text, sizeof(text), "%02x", b);
    if (!hex.empty()) hex += ' ';
    hex += text;
  }
  const std::string json = dir + "/" + name_ + ".json";
  {
    std::ofstream out(json + ".tmp");
    out << "{\"vendor_id\": " << vendorId_ << ", \"product_id\": " << productId_
        << ", \"version\": 256, \"interface\": 1, \"report_descriptor\": \"" << hex
        << "\", \"name\": \"Scripted peer\"}\n";
  }
  fs::rename(json + ".tmp", json, ec);

  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  stop_ = false;
  thread_ = std::thread([this] { Serve(); });
  return !ec;
}

void ScriptedPeer::Unplug() {
  if (!thread_.joinable()) return;
  const std::string dir = Directory();
  ::unlink((dir + "/" + name_ + ".json").c_str());
  ::unlink((dir + "/" + name_ + ".sock").c_str());
  stop_ = true;
  std::uint64_t one = 1;
  [[maybe_unused]] auto written = ::write(wakeFd_, &one, sizeof(one));
  thread_.join();
  std::lock_guard<std::mutex> lock(mutex_);
  for (int fd : connections_) ::close(fd);
  connections_.clear();
  pending_.clear();
  ::close(listenFd_);
  ::close(wakeFd_);
  listenFd_ = wakeFd_ = -1;
}

std::string ScriptedPeer::FindPath() const { return FindVendorInterface(vendorId_, productId_); }

Bytes ScriptedPeer::Memory(std::uint8_t commandId, std::uint16_t address, std::size_t length) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto& memory = memory_[commandId];
  memory.resize(kMemorySize);
  return Bytes(memory.begin() + address, memory.begin() + address + length);
}

void ScriptedPeer::SetMemory(std::uint8_t commandId, std::uint16_t address, const Bytes& bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto& memory = memory_[commandId];
  memory.resize(kMemorySize);
  std::copy(bytes.begin(), bytes.end(), memory.begin() + address);
}

std::vector<Bytes> ScriptedPeer::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

bool ScriptedPeer::WaitForRequests(std::size_t count, int timeoutMs) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [&] { return requests_.size() >= count; });
}

Bytes ScriptedPeer::ReplyTo(const Bytes& request, std::uint8_t status, const Bytes& data) {
  Bytes reply(64, 0);
  reply[0] = 4;
  for (std::size_t i = 3; i < 7 && i < request.size(); ++i) reply[i] = request[i];
  reply[7] = status;
  std::copy_n(data.begin(), std::min<std::size_t>(data.size(), 56), reply.begin() + 8);
  return reply;
}

PeerReply ScriptedPeer::MemoryReply(const Bytes& request) {
  if (request.size() < 8) return {};
  const std::uint8_t command = request[3];
  const std::size_t length = std::min<std::size_t>(request[4], 56);
  const std::uint16_t address = static_cast<std::uint16_t>(request[5] | (request[6] << 8));
  const std::uint8_t memoryId = MemoryIdFor(command);
  if (command == 0xAA) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (memory_.find(memoryId) == memory_.end()) {
      memory_[memoryId].resize(kMemorySize);
      memory_[memoryId][0] = 0xFF;  // link up
    }
  }
  if (IsWrite(command)) {
    SetMemory(memoryId, address,
              Bytes(request.begin() + 8, request.begin() + 8 + std::min(length, request.size() - 8)));
    return {ReplyTo(request, 1)};
  }
  const std::size_t readLength = (command == 0xAA || length == 0) ? 56 : length;
  return {ReplyTo(request, 1, Memory(memoryId, address, readLength))};
}

void ScriptedPeer::Handle(int fd, const Bytes& request) {
  PeerScript script;
  int index;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
    index = static_cast<int>(requests_.size()) - 1;
    script = script_;
  }
  changed_.notify_all();
  const auto now = std::chrono::steady_clock::now();
  std::vector<PeerReply> replies = script(request, index);
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& reply : replies) {
    pending_.push_back({fd, Pending{now + std::chrono::milliseconds(reply.delayMs), std::move(reply.bytes)}});
  }
}

void ScriptedPeer::Serve() {
  while (!stop_) {
    std::vector<pollfd> fds{{listenFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    int timeoutMs = -1;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (int fd : connections_) fds.push_back({fd, POLLIN, 0});
      const auto now = std::chrono::steady_clock::now();
      for (const auto& [fd, item] : pending_) {
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(item.due - now).count();
        const int ms = static_cast<int>(std::max<long long>(0, wait));
        timeoutMs = timeoutMs < 0 ? ms : std::min(timeoutMs, ms);
      }
    }
    ::poll(fds.data(), fds.size(), timeoutMs);
    if (stop_) break;

    if (fds[0].revents & POLLIN) {
      const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (fd >= 0) {
        std::lock_guard<std::mutex> lock(mutex_);
        connections_.push_back(fd);
      }
    }
    for (std::size_t i = 2; i < fds.size(); ++i) {
      if (fds[i].revents == 0) continue;
      std::uint8_t buffer[1024];
      const ssize_t n = ::recv(fds[i].fd, buffer, sizeof(buffer), 0);
      if (n <= 0) {
        std::lock_guard<std::mutex> lock(mutex_);
        ::close(fds[i].fd);
        connections_.erase(std::remove(connections_.begin(), connections_.end(), fds[i].fd),
                           connections_.end());
        pending_.erase(std::remove_if(pending_.begin(), pending_.end(),
                                      [&](const auto& p) { return p.first == fds[i].fd; }),
                       pending_.end());
        continue;
      }
      Handle(fds[i].fd, Bytes(buffer, buffer + n));
    }

    std::lock_guard<std::mutex> lock(mutex_);
    const auto now = std::chrono::steady_clock::now();
    // Keep the order of replies that fall due together.
    std::stable_sort(pending_.begin(), pending_.end(),
                     [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
    auto it = pending_.begin();
    for (; it != pending_.end() && it->second.due <= now; ++it) {
      ::send(it->first, it->second.bytes.data(), it->second.bytes.size(), MSG_NOSIGNAL);
    }
    pending_.erase(pending_.begin(), it);
  }
}

}  // namespace ostrel::test
