#include "profiles/AtomicFile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "platform/os/DebugLog.h"

namespace ostrel {
namespace {

std::string TempPathFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  static thread_local std::mt19937 random{std::random_device{}()};
  const auto slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  char suffix[64];
  std::snprintf(suffix, sizeof suffix, "%d-%u-%08x", static_cast<int>(::getpid()), counter++,
                static_cast<unsigned>(random()));
  return folder + std::string(AtomicFile::kTempMarker) + name + "." + suffix;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

int AtomicFile::RemoveStaleTemporaries(const std::string& folder) {
  int removed = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(kTempMarker, 0) != 0) continue;
    // ".ostrel-tmp-<file>.<pid>-<n>-<random>"
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || dot < kTempMarker.size()) continue;
    const long pid = std::strtol(name.c_str() + dot + 1, nullptr, 10);
    if (pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;  // its writer may still run
    std::error_code removeError;
    if (std::filesystem::remove(entry.path(), removeError)) ++removed;
  }
  return removed;
}

bool AtomicFile::Write(const std::string& linkOrPath, std::string_view bytes) {
  if (linkOrPath.empty()) return false;
  // A symbolic link (a config folder kept elsewhere) stays a link: the file it
  // points to is replaced.
  std::string path = linkOrPath;
  std::error_code linkError;
  if (std::filesystem::is_symlink(linkOrPath, linkError)) {
    const auto target = std::filesystem::weakly_canonical(linkOrPath, linkError);
    if (!linkError) path = target.string();
  }
  struct stat old {};
  const bool hadOld = ::stat(path.c_str(), &old) == 0;
  if (hadOld && !S_ISREG(old.st_mode)) {
    DebugPrintf("WriteJson: not a regular file: %s", path.c_str());
    return false;
  }
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 8 && fd < 0; ++attempt) {
    temp = TempPathFor(path);
    // 0666 under the user's umask, like any newly created file.
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    DebugPrintf("WriteJson: cannot create %s (errno %d)", temp.c_str(), errno);
    return false;
  }
  bool ok = WriteAll(fd, bytes);
  if (ok && hadOld) ok = ::fchmod(fd, old.st_mode & 07777) == 0;  // keep the user's permissions
  if (ok) ok = ::fsync(fd) == 0;
  const int writeErrno = errno;
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) {
    DebugPrintf("WriteJson: cannot write %s (errno %d)", path.c_str(), errno ? errno : writeErrno);
    ::unlink(temp.c_str());
    return false;
  }
  // The folder is not synced: until the journal commits the rename, a crash
  // brings back the old file, complete. Syncing it costs a journal commit
  // (about 10 ms) on every user change.
  return true;
}

}  // namespace ostrel
