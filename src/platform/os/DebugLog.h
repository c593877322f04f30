#pragma once
// The program's debug output stream. Every line goes to standard error and is
// appended, UTF-8, to $XDG_STATE_HOME/Kestrane/debug.log (rotated to
// debug.log.1 at 4 MiB). Thread-safe: each call writes whole lines.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ostrel {

// Writes one line (a trailing newline is added when missing; embedded
// newlines split the text into several lines written together).
void OutputDebugString(std::string_view text);

// printf-style convenience over OutputDebugString.
void DebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A frame exchange is logged as its title ("命令" for a request, "返回" for a
// reply) on a line of its own, then bytes 0-31 and 32-63 as two lines.
void LogFrame(std::string_view title, const std::uint8_t* frame, std::size_t length);

// One line of 32 bytes in the frame dump layout: four groups of four bytes
// separated by three blanks, then four groups separated by two blanks.
// Missing bytes (past `length`) are shown as 00.
std::string FormatFrameLine(const std::uint8_t* bytes, std::size_t length);

// The file the stream appends to (resolved from the environment on each call).
std::string DebugLogPath();

// Tests observe the stream: the sink receives every line (without newline)
// in addition to the normal outputs. Pass an empty function to remove it.
using DebugSink = std::function<void(std::string_view line)>;
void SetDebugSink(DebugSink sink);

// Standard error output can be silenced (the file is still written).
void SetDebugToStderr(bool enabled);

}  // namespace ostrel
