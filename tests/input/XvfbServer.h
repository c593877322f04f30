#pragma once
// A private X server for a test: Xvfb on a display number it picks itself,
// stopped with the object. Empty display when Xvfb cannot start.

#include <sys/types.h>

#include <string>

namespace ostrel::test {

class XvfbServer {
 public:
  XvfbServer();
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  const std::string& Display() const { return display_; }  // ":N"
  // Runs xdotool with these arguments on the display; true on exit code 0.
  bool XdoTool(const std::string& arguments) const;

 private:
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace ostrel::test
