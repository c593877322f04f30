#pragma once
// Single instance without a session bus: an abstract Unix socket named
// after the user's runtime folder. The kernel releases it with the process,
// so a crashed first instance never blocks the next start. A second start
// connects and writes one wake-up line; the first posts InstanceMessage.

#include <atomic>
#include <string>
#include <thread>

#include "platform/ui/UIDefs.h"

namespace ostrel {

class InstanceSocket {
 public:
  enum class Claim { First, Second, Failed };

  InstanceSocket();
  ~InstanceSocket();
  InstanceSocket(const InstanceSocket&) = delete;
  InstanceSocket& operator=(const InstanceSocket&) = delete;

  // The abstract name (without its leading zero byte).
  static std::string SocketName();

  Claim Open();
  // Second instance: writes "wake <wParam> <lParam>".
  bool WakeFirstInstance(WPARAM wParam, LPARAM lParam);
  // First instance: accepts wake-ups on a thread until Close.
  bool Start();
  void Close();
  void SetTarget(HWND hwnd) { target_.store(hwnd); }

 private:
  void Run();

  int listenFd_ = -1;
  int wakeFd_ = -1;
  std::atomic<HWND> target_{nullptr};
  std::thread thread_;
};

}  // namespace ostrel
