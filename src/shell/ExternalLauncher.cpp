#include "shell/ExternalLauncher.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

#include "platform/os/DebugLog.h"

extern char** environ;

namespace ostrel {

bool ExternalLauncher::Start(const std::vector<std::string>& argv) {
  if (argv.empty()) return false;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  if (::posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return false;
  std::thread([pid] {
    int status = 0;
    ::waitpid(pid, &status, 0);
  }).detach();
  return true;
}

bool ExternalLauncher::StartFirstAvailable(const std::vector<std::vector<std::string>>& choices) {
  for (const auto& argv : choices)
    if (Start(argv)) return true;
  return false;
}

bool ExternalLauncher::OpenUrl(const std::string& url) {
  bool ok = Start({"xdg-open", url});
  if (!ok) DebugPrintf("cannot open %s: xdg-open is missing", url.c_str());
  return ok;
}

}  // namespace ostrel
