#pragma once
// Starts other programs without waiting for them: the browser for a web
// address, the desktop's keyboard or mouse settings. A short-lived thread
// reaps each child so none is left a zombie. A started program begins with
// no signal blocked, whatever this thread blocks.

#include <string>
#include <vector>

namespace ostrel {

class ExternalLauncher {
 public:
  // True when the program could be started (not whether it succeeded).
  static bool Start(const std::vector<std::string>& argv);
  // Tries each command line in order until one starts.
  static bool StartFirstAvailable(const std::vector<std::vector<std::string>>& choices);
  static bool OpenUrl(const std::string& url);
};

}  // namespace ostrel
