#include "shell/ExternalLauncher.h"

#include <signal.h>
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
  // The program's threads block the termination signals (one thread takes
  // them); a started program must not inherit that mask, or it could not be
  // stopped with SIGTERM or Ctrl+C.
  posix_spawnattr_t attributes;
  if (::posix_spawnattr_init(&attributes) != 0) return false;
  sigset_t none;
  sigemptyset(&none);
  ::posix_spawnattr_setsigmask(&attributes, &none);
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
  pid_t pid = -1;
  const int spawned = ::posix_spawnp(&pid, args[0], nullptr, &attributes, args.data(), environ);
  ::posix_spawnattr_destroy(&attributes);
  if (spawned != 0) return false;
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
