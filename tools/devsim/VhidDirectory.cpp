#include "devsim/VhidDirectory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/os/KnownFolders.h"

namespace ostrel::devsim {

std::string VhidDirectory::DefaultPath() {
  std::string runtime = ostrel::RuntimeDir();
  if (runtime.empty()) return "/tmp/ostrel-" + std::to_string(::getuid()) + "/vhid";
  if (runtime.back() != '/') runtime += '/';
  return runtime + "ostrel/vhid";
}

SimResult VhidDirectory::Prepare(const std::string& path) {
  if (path.empty()) return SimResult::Failure("no vhid directory given");
  // Create each missing component in turn (mkdir -p with mode 0700).
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      return SimResult::Failure("cannot create " + part + ": " + std::strerror(errno));
    }
    if (slash == std::string::npos) break;
  }
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    return SimResult::Failure(path + " is not a directory");
  }
  if (info.st_uid != ::getuid()) return SimResult::Failure(path + " belongs to another user");
  if ((info.st_mode & 0077) != 0 && ::chmod(path.c_str(), 0700) != 0) {
    return SimResult::Failure("cannot make " + path + " private: " + std::strerror(errno));
  }
  return SimResult::Success();
}

}  // namespace ostrel::devsim
