#pragma once
// What an operation of the profile list did, for the panel to show.

#include <string>

namespace ostrel {

struct ProfileOpResult {
  enum class Status {
    kDone,     // the operation happened
    kRefused,  // not allowed now (a limit, nothing selected, the last profile)
    kIgnored,  // the input was not usable (an import that is not a profile)
    kFailed,   // a file could not be written; nothing was changed
  };

  Status status = Status::kRefused;
  int index = -1;              // the entry added or changed, or the selection now
  std::string name;            // that entry's name
  bool reloadProfile = false;  // the active profile changed: the page reloads it
  std::string message;         // language text key to show, empty for none

  bool done() const { return status == Status::kDone; }
};

}  // namespace ostrel
