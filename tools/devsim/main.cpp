// ostrel-devsim: plugs simulated Tavix devices into the vhid directory and
// takes line commands from standard input until "quit", SIGINT or SIGTERM.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "devsim/ConsoleCommands.h"
#include "devsim/ModelCatalogue.h"
#include "devsim/Simulator.h"

namespace {

using ostrel::devsim::ConsoleCommands;
using ostrel::devsim::DeviceOptions;
using ostrel::devsim::ModelCatalogue;
using ostrel::devsim::SimResult;
using ostrel::devsim::Simulator;

// Reports kept per device: a simulator left running for a demo streams
// lighting frames all the time.
constexpr std::size_t kLogCapacity = 10000;

void PrintUsage(std::ostream& out) {
  out << "Usage: ostrel-devsim [--dir DIR] [--interval MS] MODEL[:VID:PID][=NAME] ...\n"
         "Plugs simulated devices into the vhid directory (default $XDG_RUNTIME_DIR/ostrel/vhid).\n"
         "Models:";
  for (const auto& model : ModelCatalogue::All()) out << " " << model.name;
  out << "\nExample: ostrel-devsim keyboard mouse mousepad:320f:2001=pad\n\n";
  ConsoleCommands::PrintHelp(out);
}

struct DeviceArgument {
  std::string model;
  DeviceOptions options;
};

// MODEL[:VID:PID][=NAME], ids in hex.
bool ParseDevice(const std::string& text, DeviceArgument& device) {
  std::string rest = text;
  if (const auto equals = rest.find('='); equals != std::string::npos) {
    device.options.name = rest.substr(equals + 1);
    rest.resize(equals);
  }
  const auto colon = rest.find(':');
  device.model = rest.substr(0, colon);
  if (colon == std::string::npos) return !device.model.empty();
  const std::string ids = rest.substr(colon + 1);
  const auto second = ids.find(':');
  if (second == std::string::npos) return false;
  char* end = nullptr;
  // The texts stay alive while `end` points into them.
  const std::string vidText = ids.substr(0, second);
  const unsigned long vid = std::strtoul(vidText.c_str(), &end, 16);
  if (*end != '\0' || vid > 0xFFFF || vidText.empty()) return false;
  const std::string pidText = ids.substr(second + 1);
  const unsigned long pid = std::strtoul(pidText.c_str(), &end, 16);
  if (*end != '\0' || pid > 0xFFFF || pidText.empty()) return false;
  device.options.vendorId = static_cast<std::uint16_t>(vid);
  device.options.productId = static_cast<std::uint16_t>(pid);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string directory;
  long intervalMs = 1;
  std::vector<DeviceArgument> devices;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") {
      PrintUsage(std::cout);
      return 0;
    }
    if ((arg == "--dir" || arg == "--interval") && i + 1 < argc) {
      const std::string value = argv[++i];
      if (arg == "--dir") {
        directory = value;
      } else {
        char* end = nullptr;
        intervalMs = std::strtol(value.c_str(), &end, 10);
        if (*end != '\0' || intervalMs < 0 || intervalMs > 10000) {
          std::cerr << "ostrel-devsim: --interval takes milliseconds (0-10000)\n";
          return 2;
        }
      }
      continue;
    }
    DeviceArgument device;
    if (arg.starts_with("-") || !ParseDevice(arg, device)) {
      std::cerr << "ostrel-devsim: cannot read \"" << arg << "\"\n";
      PrintUsage(std::cerr);
      return 2;
    }
    devices.push_back(device);
  }

  // The signals are taken through a descriptor; block them before any server
  // thread starts so that none of them receives one.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC);
  if (signalFd < 0) {
    std::cerr << "ostrel-devsim: signalfd: " << std::strerror(errno) << "\n";
    return 1;
  }
  ::signal(SIGPIPE, SIG_IGN);

  Simulator simulator = directory.empty() ? Simulator() : Simulator(directory);
  for (DeviceArgument& device : devices) {
    device.options.usbInterval = std::chrono::milliseconds(intervalMs);
    device.options.logCapacity = kLogCapacity;
    SimResult result;
    if (auto* plugged = simulator.Plug(device.model, device.options, &result)) {
      std::cout << plugged->Name() << ": plugged in at " << plugged->SocketPath() << "\n";
    } else {
      std::cerr << "ostrel-devsim: " << result.message << "\n";
      return 1;
    }
  }
  if (devices.empty()) std::cout << "no devices yet; \"plug MODEL\" adds one\n";
  std::cout << "vhid directory: " << simulator.Directory() << "\n";
  ConsoleCommands::PrintHelp(std::cout);
  std::cout << std::flush;

  DeviceOptions defaults;
  defaults.usbInterval = std::chrono::milliseconds(intervalMs);
  defaults.logCapacity = kLogCapacity;
  ConsoleCommands console(simulator, defaults);
  const bool interactive = ::isatty(STDIN_FILENO);
  bool inputOpen = true;
  std::string pending;
  auto prompt = [&] {
    if (interactive) std::cout << "> " << std::flush;
  };
  prompt();
  while (true) {
    pollfd fds[2] = {{signalFd, POLLIN, 0}, {inputOpen ? STDIN_FILENO : -1, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    if (fds[0].revents & POLLIN) {
      signalfd_siginfo info{};
      [[maybe_unused]] const ssize_t got = ::read(signalFd, &info, sizeof info);
      std::cout << "\n" << strsignal(static_cast<int>(info.ssi_signo)) << ": unplugging everything\n";
      break;
    }
    if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
      char buffer[4096];
      const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
      if (n <= 0) {
        // Started without a terminal (a demo script): keep serving.
        inputOpen = false;
        std::cout << "standard input closed; serving until SIGINT or SIGTERM\n" << std::flush;
        continue;
      }
      pending.append(buffer, static_cast<std::size_t>(n));
      bool keepRunning = true;
      for (std::size_t end; keepRunning && (end = pending.find('\n')) != std::string::npos;) {
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        keepRunning = console.Execute(line, std::cout);
        if (keepRunning) prompt();
      }
      std::cout << std::flush;
      if (!keepRunning) break;
    }
  }
  simulator.UnplugAll();
  ::close(signalFd);
  return 0;
}
