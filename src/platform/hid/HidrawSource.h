#pragma once
// The system's hidraw nodes: /sys/class/hidraw/hidrawN describes each one
// (report descriptor, ids, USB interface and release number), /dev/hidrawN
// opens it. Both roots can be moved so tests can build a fake tree.

#include <string>
#include <vector>

#include "platform/hid/HidInterface.h"

namespace ostrel {

class HidrawSource {
 public:
  HidrawSource(std::string sysfsRoot, std::string devRoot);

  // Every node whose description can be read, in node number order.
  std::vector<HidInterface> List() const;
  // The current description of one node ("hidraw3").
  bool Find(const std::string& name, HidInterface& out) const;

  static bool ValidName(const std::string& name);

 private:
  std::string sysfsRoot_;
  std::string devRoot_;
};

}  // namespace ostrel
