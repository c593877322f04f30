#pragma once
// SIGTERM, SIGINT and SIGHUP end the program the way the tray menu's exit
// does: the main window is closed, so workers stop and files are left whole.
// Block() must run before any other thread starts so the signals reach only
// the watching thread.

#include <functional>
#include <thread>

namespace ostrel {

class TerminationSignals {
 public:
  TerminationSignals() = default;
  ~TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  static void Block();
  // `onSignal` runs on the watching thread.
  bool Start(std::function<void(int signal)> onSignal);
  void Stop();

 private:
  int signalFd_ = -1;
  int wakeFd_ = -1;
  std::thread thread_;
};

}  // namespace ostrel
