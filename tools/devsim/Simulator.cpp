#include "devsim/Simulator.h"

#include <algorithm>

#include "devsim/ModelCatalogue.h"
#include "devsim/VhidDirectory.h"

namespace ostrel::devsim {

Simulator::Simulator() : Simulator(VhidDirectory::DefaultPath()) {}

Simulator::Simulator(std::string directory) : directory_(std::move(directory)) {
  while (directory_.size() > 1 && directory_.back() == '/') directory_.pop_back();
}

Simulator::~Simulator() { UnplugAll(); }

std::string Simulator::UniqueName(std::string_view base) const {
  auto taken = [&](const std::string& name) {
    return std::any_of(devices_.begin(), devices_.end(), [&](const auto& d) { return d->Name() == name; });
  };
  std::string name(base);
  for (int suffix = 2; taken(name); ++suffix) name = std::string(base) + "-" + std::to_string(suffix);
  return name;
}

SimulatedDevice* Simulator::Plug(std::string_view model, const DeviceOptions& options, SimResult* result) {
  auto fail = [&](std::string text) -> SimulatedDevice* {
    if (result != nullptr) *result = SimResult::Failure(std::move(text));
    return nullptr;
  };
  const ModelInfo* info = ModelCatalogue::Find(model);
  if (info == nullptr) {
    std::string known;
    for (const ModelInfo& m : ModelCatalogue::All())
      known += (known.empty() ? "" : ", ") + std::string(m.name);
    return fail("unknown model \"" + std::string(model) + "\" (known: " + known + ")");
  }
  if (!options.name.empty() && Find(options.name) != nullptr) {
    return fail("a device named \"" + options.name + "\" exists already");
  }
  if (SimResult prepared = VhidDirectory::Prepare(directory_); !prepared) return fail(prepared.message);

  DeviceOptions named = options;
  if (named.name.empty()) named.name = UniqueName(info->name);
  auto device = std::make_unique<SimulatedDevice>(*info, directory_, named);
  if (SimResult plugged = device->Plug(); !plugged) return fail(plugged.message);
  if (result != nullptr) *result = SimResult::Success();
  devices_.push_back(std::move(device));
  return devices_.back().get();
}

SimResult Simulator::Unplug(std::string_view name) {
  SimulatedDevice* device = Find(name);
  if (device == nullptr) return SimResult::Failure("no device named \"" + std::string(name) + "\"");
  device->Unplug();
  return SimResult::Success();
}

SimResult Simulator::Replug(std::string_view name) {
  SimulatedDevice* device = Find(name);
  if (device == nullptr) return SimResult::Failure("no device named \"" + std::string(name) + "\"");
  if (SimResult prepared = VhidDirectory::Prepare(directory_); !prepared) return prepared;
  return device->Replug();
}

SimResult Simulator::Remove(std::string_view name) {
  const auto it =
      std::find_if(devices_.begin(), devices_.end(), [&](const auto& d) { return d->Name() == name; });
  if (it == devices_.end()) return SimResult::Failure("no device named \"" + std::string(name) + "\"");
  (*it)->Unplug();
  devices_.erase(it);
  return SimResult::Success();
}

void Simulator::UnplugAll() {
  for (auto& device : devices_) device->Unplug();
}

SimulatedDevice* Simulator::Find(std::string_view name) {
  for (auto& device : devices_) {
    if (device->Name() == name) return device.get();
  }
  return nullptr;
}

std::vector<SimulatedDevice*> Simulator::Devices() {
  std::vector<SimulatedDevice*> out;
  for (auto& device : devices_) out.push_back(device.get());
  return out;
}

}  // namespace ostrel::devsim
