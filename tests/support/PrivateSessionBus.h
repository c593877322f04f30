#pragma once
// A private D-Bus session bus for one test: starts its own dbus-daemon and
// points DBUS_SESSION_BUS_ADDRESS at it; stops it on destruction.

#include <string>
#include <sys/types.h>

namespace ostrel::test {

class PrivateSessionBus {
 public:
  PrivateSessionBus();
  ~PrivateSessionBus();
  PrivateSessionBus(const PrivateSessionBus&) = delete;
  PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

  bool ok() const { return !address_.empty(); }
  const std::string& address() const { return address_; }

 private:
  pid_t pid_ = -1;
  std::string address_;
};

}  // namespace ostrel::test
