#pragma once
// The line commands of ostrel-devsim, run against a simulator: press keys,
// switch profiles, set the battery, set faults, plug and unplug devices.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "devsim/Simulator.h"

namespace ostrel::devsim {

class ConsoleCommands {
 public:
  explicit ConsoleCommands(Simulator& simulator) : simulator_(simulator) {}

  // Runs one line and writes its outcome to `out`; false when the line asks
  // to quit. Blank lines and lines starting with '#' do nothing.
  bool Execute(std::string_view line, std::ostream& out);
  static void PrintHelp(std::ostream& out);
  void PrintList(std::ostream& out);

 private:
  using Args = std::vector<std::string>;
  // Takes the device name from the front of `args`; it may be left out
  // while only one device exists.
  SimulatedDevice* TakeDevice(Args& args, std::ostream& out);
  void Fault(SimulatedDevice& device, const Args& args, std::ostream& out);

  Simulator& simulator_;
};

}  // namespace ostrel::devsim
