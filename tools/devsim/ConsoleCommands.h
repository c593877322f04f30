#pragma once
// The line commands of ostrel-devsim, run against a simulator: press keys,
// switch profiles, set the battery, set faults, plug and unplug devices.

#include <mutex>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "devsim/Simulator.h"

namespace ostrel::devsim {

class ConsoleCommands {
 public:
  // `defaults` are the options of the devices the "plug" command adds.
  explicit ConsoleCommands(Simulator& simulator, DeviceOptions defaults = {})
      : simulator_(simulator), defaults_(std::move(defaults)) {}
  ~ConsoleCommands();  // stops every trace
  ConsoleCommands(const ConsoleCommands&) = delete;
  ConsoleCommands& operator=(const ConsoleCommands&) = delete;

  // Runs one line and writes its outcome to `out`; false when the line asks
  // to quit. Blank lines and lines starting with '#' do nothing. Traces
  // switched on by the line print to `out` too, so it must outlive them.
  bool Execute(std::string_view line, std::ostream& out);
  static void PrintHelp(std::ostream& out);
  void PrintList(std::ostream& out);

 private:
  using Args = std::vector<std::string>;
  // Takes the device name from the front of `args`; it may be left out
  // while only one device exists.
  SimulatedDevice* TakeDevice(Args& args, std::ostream& out);
  void Fault(SimulatedDevice& device, const Args& args, std::ostream& out);
  void Trace(SimulatedDevice& device, const Args& args, std::ostream& out, std::ostream& traceOut);
  bool Run(std::string_view line, std::ostream& out, std::ostream& traceOut);

  Simulator& simulator_;
  const DeviceOptions defaults_;
  // Traces print from the devices' server threads while commands print from
  // the caller's: one line at a time.
  std::mutex outputMutex_;
};

}  // namespace ostrel::devsim
