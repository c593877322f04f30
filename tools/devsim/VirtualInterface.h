#pragma once
// One virtual USB HID interface in a vhid directory: a listening
// SOCK_SEQPACKET socket N.sock and its description N.json. A server thread
// per interface waits in poll() for connections, output reports and input
// reports due to be sent; every input report goes to every open connection,
// one transfer per USB interval.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "devsim/SimResult.h"

namespace ostrel::devsim {

struct InterfaceDescription {
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t version = 0;
  std::uint8_t interfaceNumber = 0;
  std::vector<std::uint8_t> reportDescriptor;
  std::string name;    // optional product name
  std::string serial;  // optional serial number
};

class VirtualInterface {
 public:
  using Clock = std::chrono::steady_clock;
  // Called on the server thread for each output report from a connection.
  using OutputHandler =
      std::function<void(std::uint64_t connection, const std::vector<std::uint8_t>& report)>;
  // Called on the server thread for each input report as it goes out.
  using SentObserver = std::function<void(const std::vector<std::uint8_t>& report)>;

  VirtualInterface(std::string directory, std::string baseName);
  ~VirtualInterface();
  VirtualInterface(const VirtualInterface&) = delete;
  VirtualInterface& operator=(const VirtualInterface&) = delete;

  // Base names may hold letters, digits, '-', '_' and '.'.
  static bool IsValidBaseName(const std::string& name);
  static std::string DescriptionJson(const InterfaceDescription& description);

  std::string SocketPath() const;
  std::string DescriptionPath() const;

  // Listens on N.sock, then writes N.json (via N.json.tmp and a rename) and
  // starts serving.
  SimResult Plug(const InterfaceDescription& description, OutputHandler onOutput, SentObserver onSent);
  // Deletes N.json, then N.sock, then closes every connection. Not from the
  // server thread (see UnplugFromServerThread). Safe when not plugged.
  void Unplug();
  // For handlers running on the server thread: the same steps, done as soon
  // as the handler returns; nothing more is sent.
  void UnplugFromServerThread();
  bool IsPlugged() const;

  // Queues an input report to go out no earlier than `delay` from now and at
  // least one USB interval after the previous one. False when unplugged.
  bool Send(std::vector<std::uint8_t> report, Clock::duration delay = Clock::duration::zero());
  void SetInterval(Clock::duration interval);
  Clock::duration Interval() const;
  std::size_t ConnectionCount() const;
  // Input reports not delivered to a connection whose socket buffer was full.
  std::size_t DroppedDeliveries() const;

 private:
  struct Connection {
    int fd;
    std::uint64_t id;
  };

  void Run();
  void Wake();
  void RemoveEntries();
  void AcceptPending(std::vector<Connection>& connections);
  void ReadConnection(Connection& connection, bool& closed);
  void SendDue(std::vector<Connection>& connections, Clock::time_point now);
  void CloseSockets(std::vector<Connection>& connections);

  const std::string directory_;
  const std::string baseName_;
  OutputHandler onOutput_;
  SentObserver onSent_;

  mutable std::mutex mutex_;  // guards queue_, nextSend_, interval_, thread_ start/stop
  std::multimap<Clock::time_point, std::vector<std::uint8_t>> queue_;
  Clock::time_point nextSend_{};
  Clock::duration interval_ = std::chrono::milliseconds(1);

  std::thread thread_;
  int listenFd_ = -1;
  int wakeFd_ = -1;
  std::atomic<bool> running_{false};
  std::atomic<bool> stopRequested_{false};
  std::atomic<bool> unplugRequested_{false};
  std::atomic<std::size_t> connectionCount_{0};
  std::atomic<std::size_t> droppedDeliveries_{0};
  std::uint64_t nextConnectionId_ = 1;
};

}  // namespace ostrel::devsim
