#pragma once
// A scripted virtual HID interface for the channel tests: serves one vendor
// collection (usage page 0xFF1C, usage 0x92, 64-byte reports with id 4) on
// $XDG_RUNTIME_DIR/ostrel/vhid/<name>.sock and answers every received frame
// as its script says, so exact fault sequences can be played.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace ostrel::test {

using Bytes = std::vector<std::uint8_t>;

struct PeerReply {
  Bytes bytes;
  int delayMs = 0;  // sent this long after the request arrived
};

// Given the request and its index (0 for the first frame received), the
// replies to send; none means the device stays silent.
using PeerScript = std::function<std::vector<PeerReply>(const Bytes& request, int index)>;

class ScriptedPeer {
 public:
  explicit ScriptedPeer(std::string name = "channel0", std::uint16_t vendorId = 0x320F,
                        std::uint16_t productId = 0x1000);
  ~ScriptedPeer();
  ScriptedPeer(const ScriptedPeer&) = delete;
  ScriptedPeer& operator=(const ScriptedPeer&) = delete;

  void SetScript(PeerScript script);
  // Creates the socket and description; false when that fails.
  bool Plug();
  // Deletes description and socket, then drops every connection.
  void Unplug();

  // The path the program's enumeration gives this interface ("" if none).
  std::string FindPath() const;

  Bytes Memory(std::uint8_t commandId, std::uint16_t address, std::size_t length);
  void SetMemory(std::uint8_t commandId, std::uint16_t address, const Bytes& bytes);

  std::vector<Bytes> Requests();
  bool WaitForRequests(std::size_t count, int timeoutMs);

  // The answer of a well-behaved device: the memory model below with status 1.
  PeerReply MemoryReply(const Bytes& request);
  // A reply header for `request` with the given status and data from byte 8.
  static Bytes ReplyTo(const Bytes& request, std::uint8_t status, const Bytes& data = {});

 private:
  struct Pending {
    std::chrono::steady_clock::time_point due;
    Bytes bytes;
  };

  void Serve();
  void Handle(int fd, const Bytes& request);
  std::string Directory() const;

  std::string name_;
  std::uint16_t vendorId_;
  std::uint16_t productId_;

  std::mutex mutex_;
  std::condition_variable changed_;
  PeerScript script_;
  std::vector<Bytes> requests_;
  std::map<std::uint8_t, std::vector<std::uint8_t>> memory_;
  std::vector<int> connections_;
  std::vector<std::pair<int, Pending>> pending_;

  int listenFd_ = -1;
  int wakeFd_ = -1;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace ostrel::test
