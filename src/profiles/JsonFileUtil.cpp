#include "profiles/JsonFileUtil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <mutex>

#include "platform/os/DebugLog.h"
#include "profiles/AtomicFile.h"
#include "profiles/ProfileIdGenerator.h"
#include "profiles/StyledJsonWriter.h"

namespace ostrel {
namespace {

// Reads the whole file; sets `error` to the errno of the failure (0 on success).
std::string ReadWhole(const std::string& path, int& error) {
  error = 0;
  // Non-blocking, so that a FIFO chosen in a file dialog cannot hang the program;
  // anything but a regular file is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = errno;
    return {};
  }
  std::string bytes;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = errno ? errno : EINVAL;
    ::close(fd);
    return {};
  }
  if (static_cast<std::size_t>(info.st_size) > JsonFileUtil::kMaxFileSize) {
    error = EFBIG;
    ::close(fd);
    return {};
  }
  bytes.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  for (;;) {
    if (done == bytes.size()) bytes.resize(bytes.size() + 4096);  // the file may have grown
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0) {
      if (errno == EINTR) continue;
      error = errno;
      ::close(fd);
      return {};
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
    if (done > JsonFileUtil::kMaxFileSize) {
      error = EFBIG;
      ::close(fd);
      return {};
    }
  }
  ::close(fd);
  bytes.resize(done);
  return bytes;
}

}  // namespace

std::string JsonFileUtil::readjsonFile(const std::string& path) {
  int error = 0;
  std::string bytes = ReadWhole(path, error);
  DebugPrintf("readjsonFile 错误吗：：%d\n", error);
  if (bytes.empty()) OutputDebugString(path);
  return bytes;
}

Json::Value JsonFileUtil::ParseJson(std::string_view text) {
  // Editors on other systems like to start UTF-8 files with a byte order mark.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (text.empty()) return Json::Value();
  Json::Value root;
  try {
    Json::Reader reader(Json::Features::all());
    if (!reader.parse(text.data(), text.data() + text.size(), root, true)) return Json::Value();
  } catch (const std::exception&) {
    // The reader throws on nesting deeper than its stack limit.
    return Json::Value();
  }
  return root;
}

Json::Value JsonFileUtil::ReadJson(const std::string& path) { return ParseJson(readjsonFile(path)); }

std::string JsonFileUtil::RenderJson(const Json::Value& value) {
  StyledJsonWriter writer;
  const std::string text = writer.Write(value) + "\n";
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  return bytes;
}

bool JsonFileUtil::WriteJson(const std::string& path, const Json::Value& value) {
  return AtomicFile::Write(path, RenderJson(value));
}

std::string JsonFileUtil::NewProfileId() {
  static std::mutex mutex;
  static ProfileIdGenerator generator;
  std::lock_guard<std::mutex> lock(mutex);
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return generator.Next(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

bool JsonFileUtil::IsValidId(std::string_view id) {
  if (id.empty() || id.size() > kMaxIdLength) return false;
  for (const char c : id)
    if (!((c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

std::string JsonFileUtil::FileTitle(const std::string& path) {
  const auto slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  const auto dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return name;
}

}  // namespace ostrel
