#pragma once
// A set of simulated devices plugged into one vhid directory. The library
// entry point for tests and the program.
//
//   Simulator simulator;                       // $XDG_RUNTIME_DIR/ostrel/vhid
//   SimulatedDevice* keyboard = simulator.Plug("keyboard");
//   keyboard->State().CurrentProfile();  keyboard->Log().CommandFrames();
//   simulator.Unplug("keyboard");  simulator.Replug("keyboard");

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "devsim/SimResult.h"
#include "devsim/SimulatedDevice.h"

namespace ostrel::devsim {

class Simulator {
 public:
  Simulator();  // the default vhid directory
  explicit Simulator(std::string directory);
  ~Simulator();  // unplugs every device
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;

  const std::string& Directory() const { return directory_; }

  // Creates a device of the named model and plugs it in. The name defaults
  // to the model name, made unique with "-2", "-3" ... Null on failure, with
  // the reason in `result` when given.
  SimulatedDevice* Plug(std::string_view model, const DeviceOptions& options = {},
                        SimResult* result = nullptr);

  // The device keeps its state while unplugged and can be plugged in again.
  SimResult Unplug(std::string_view name);
  SimResult Replug(std::string_view name);
  // Unplugs and forgets the device.
  SimResult Remove(std::string_view name);
  void UnplugAll();

  SimulatedDevice* Find(std::string_view name);
  std::vector<SimulatedDevice*> Devices();

 private:
  std::string UniqueName(std::string_view base) const;

  std::string directory_;
  std::vector<std::unique_ptr<SimulatedDevice>> devices_;
};

}  // namespace ostrel::devsim
