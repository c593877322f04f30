#pragma once
// One profile of a device's profile list.

#include <string>

namespace ostrel {

struct ProfileEntry {
  std::string name;  // "profilename"
  std::string uuid;  // "profileUUID": its file is the device folder + uuid + ".Json"

  friend bool operator==(const ProfileEntry&, const ProfileEntry&) = default;
};

}  // namespace ostrel
