#pragma once
// The program's conversation with other programs on the D-Bus session bus:
// owning the well-known name decides the single instance, a second start
// calls the first one's Activate, companions ask for the lighting and for
// the device table, and the lighting state goes out as a signal. Incoming
// calls become messages posted to the target window. docs/ipc.md lists the
// names and signatures.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "platform/ui/UIDefs.h"

struct sd_bus;
struct sd_bus_slot;

namespace ostrel {

class ShellBus {
 public:
  static constexpr const char* kServiceName = "org.kestrane.Kestrane";
  static constexpr const char* kObjectPath = "/org/kestrane/Kestrane";
  static constexpr const char* kInterface = "org.kestrane.Kestrane";
  static constexpr const char* kCompanionName = "org.kestrane.DodoVeru";
  static constexpr const char* kCompanionPath = "/org/kestrane/DodoVeru";
  static constexpr const char* kCompanionInterface = "org.kestrane.DodoVeru";

  enum class Claim { First, Second, NoBus };

  ShellBus();
  ~ShellBus();
  ShellBus(const ShellBus&) = delete;
  ShellBus& operator=(const ShellBus&) = delete;

  // Connects to the session bus and asks for the service name.
  Claim Open();
  // Second instance: asks the running one to come to the front.
  bool WakeFirstInstance(WPARAM wParam, LPARAM lParam);
  // First instance: serves calls on a thread of its own until Close.
  bool Start();
  void Close();
  bool IsServing() const { return thread_.joinable(); }

  // Incoming calls are posted to this window (dropped while it is null).
  void SetTarget(HWND hwnd) { target_.store(hwnd); }
  HWND Target() const { return target_.load(); }

  bool BroadcastLightState(WPARAM wParam, LPARAM lParam);
  // The 1024-byte table block to the companion; false when no bus. Whether
  // the companion is there shows only in the debug output (it may not be).
  bool SendDeviceTable(HWND sender, const std::uint8_t* block, std::size_t length);

 private:
  friend struct ShellBusCallbacks;
  void Run();
  void WakeThread();
  void PostToTarget(UINT message, WPARAM wParam, LPARAM lParam);

  std::recursive_mutex mutex_;  // guards the bus
  sd_bus* bus_ = nullptr;
  sd_bus_slot* objectSlot_ = nullptr;
  std::atomic<HWND> target_{nullptr};
  std::atomic<bool> stop_{false};
  int wakeFd_ = -1;
  std::thread thread_;
};

}  // namespace ostrel
