#include "platform/os/DebugLog.h"

#include "platform/os/KnownFolders.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <unistd.h>

namespace ostrel {
namespace {

constexpr std::uintmax_t kRotateSize = 4u * 1024u * 1024u;

std::mutex& StreamMutex() {
  static std::mutex m;
  return m;
}

DebugSink& Sink() {
  static DebugSink sink;
  return sink;
}

bool& ToStderr() {
  static bool enabled = std::getenv("OSTREL_QUIET_STDERR") == nullptr;
  return enabled;
}

// The open log file, kept between lines; reopened when the path changes (the
// environment moved it) and after rotation.
struct LogFile {
  std::string path;
  FILE* file = nullptr;
  std::uintmax_t size = 0;

  void Close() {
    if (file != nullptr) std::fclose(file);
    file = nullptr;
  }

  bool OpenFor(const std::string& wanted) {
    if (file != nullptr && wanted == path) return true;
    Close();
    path = wanted;
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) return false;
    size = fs::file_size(path, ec);
    if (ec) size = 0;
    return true;
  }
};

LogFile& TheLogFile() {
  static LogFile log;
  return log;
}

void AppendToFile(const std::string& path, const std::string& text) {
  LogFile& log = TheLogFile();
  if (!log.OpenFor(path)) return;
  if (log.size + text.size() > kRotateSize) {
    log.Close();
    std::error_code ec;
    std::filesystem::rename(path, path + ".1", ec);
    if (!log.OpenFor(path)) return;
  }
  std::fwrite(text.data(), 1, text.size(), log.file);
  std::fflush(log.file);
  log.size += text.size();
}

}  // namespace

std::string DebugLogPath() {
  return StateHome() + "Kestrane/debug.log";
}

void OutputDebugString(std::string_view text) {
  std::string lines(text);
  if (lines.empty() || lines.back() != '\n') lines.push_back('\n');

  std::lock_guard<std::mutex> lock(StreamMutex());
  if (ToStderr()) {
    // One write call so lines of other processes sharing the terminal do not interleave.
    ssize_t ignored = ::write(STDERR_FILENO, lines.data(), lines.size());
    (void)ignored;
  }
  AppendToFile(DebugLogPath(), lines);
  if (Sink()) {
    std::size_t start = 0;
    while (start < lines.size()) {
      std::size_t end = lines.find('\n', start);
      Sink()(std::string_view(lines).substr(start, end - start));
      start = end + 1;
    }
  }
}

void DebugPrintf(const char* format, ...) {
  char stack[512];
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int needed = std::vsnprintf(stack, sizeof stack, format, args);
  va_end(args);
  if (needed < 0) {
    va_end(copy);
    return;
  }
  if (static_cast<std::size_t>(needed) < sizeof stack) {
    va_end(copy);
    OutputDebugString(std::string_view(stack, static_cast<std::size_t>(needed)));
    return;
  }
  std::string big(static_cast<std::size_t>(needed) + 1, '\0');
  std::vsnprintf(big.data(), big.size(), format, copy);
  va_end(copy);
  big.resize(static_cast<std::size_t>(needed));
  OutputDebugString(big);
}

std::string FormatFrameLine(const std::uint8_t* bytes, std::size_t length) {
  static const char* hex = "0123456789abcdef";
  std::string line;
  line.reserve(32 * 3 + 16);
  for (std::size_t i = 0; i < 32; ++i) {
    if (i > 0) {
      if (i % 4 == 0) line += (i < 16) ? "   " : "  ";
      else line += ' ';
    }
    std::uint8_t b = (bytes != nullptr && i < length) ? bytes[i] : 0;
    line += hex[b >> 4];
    line += hex[b & 0x0F];
  }
  return line;
}

void LogFrame(std::string_view title, const std::uint8_t* frame, std::size_t length) {
  std::string text(title);
  text += '\n';
  text += FormatFrameLine(frame, length);
  text += '\n';
  text += FormatFrameLine(length > 32 ? frame + 32 : nullptr, length > 32 ? length - 32 : 0);
  OutputDebugString(text);
}

void SetDebugSink(DebugSink sink) {
  std::lock_guard<std::mutex> lock(StreamMutex());
  Sink() = std::move(sink);
}

void SetDebugToStderr(bool enabled) {
  std::lock_guard<std::mutex> lock(StreamMutex());
  ToStderr() = enabled;
}

}  // namespace ostrel
