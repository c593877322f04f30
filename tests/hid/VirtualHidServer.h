#pragma once
// A tiny stand-in for the device simulator: virtual HID interfaces in a
// directory (N.sock listening, N.json describing it), and the device side
// of their connections.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace ostrel::test {

struct VirtualDescription {
  std::uint16_t vendorId = 0x320F;
  std::uint16_t productId = 0x511E;
  std::uint16_t version = 0x0102;
  std::uint8_t interfaceNumber = 1;
  std::vector<std::uint8_t> descriptor;
  std::string Json() const;
};

std::string HexBytes(const std::vector<std::uint8_t>& bytes);

class VirtualHidServer {
 public:
  // Creates the directory (mode 0700) when it is missing.
  explicit VirtualHidServer(std::filesystem::path directory);
  ~VirtualHidServer();
  VirtualHidServer(const VirtualHidServer&) = delete;
  VirtualHidServer& operator=(const VirtualHidServer&) = delete;

  // The program's own default directory for the current test.
  static std::filesystem::path DefaultDirectory();

  const std::filesystem::path& Directory() const { return directory_; }
  bool Plug(const std::string& name, const VirtualDescription& description);
  // A socket with an arbitrary description text (for invalid descriptions).
  bool PlugRaw(const std::string& name, const std::string& json);
  // Removes the description, then the socket, then closes every connection.
  void Unplug(const std::string& name);

  // Accepts connections until `count` are open (bounded wait).
  bool Accept(const std::string& name, std::size_t count);
  std::size_t Connections(const std::string& name) const;
  // One input report to every connection.
  bool SendToAll(const std::string& name, const std::vector<std::uint8_t>& packet);
  bool Send(const std::string& name, std::size_t connection, const std::vector<std::uint8_t>& packet);
  // The next packet a connection received, waiting up to timeoutMs.
  bool Receive(const std::string& name, std::size_t connection, std::vector<std::uint8_t>& packet,
               int timeoutMs = 2000);

 private:
  struct Interface {
    int listener = -1;
    std::vector<int> connections;
  };
  std::filesystem::path directory_;
  std::map<std::string, Interface> interfaces_;
};

}  // namespace ostrel::test
