#pragma once
// A private X server for one test: Xvfb on a free display (it picks the
// number itself), stopped on destruction. ok() is false when Xvfb is not
// installed or does not come up within a few seconds; tests then skip.

#include <sys/types.h>

#include <string>

namespace ostrel::test {

class XvfbServer {
 public:
  explicit XvfbServer(const char* screen = "1280x800x24");
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool ok() const { return !display_.empty(); }
  // ":N"; also exported as DISPLAY while the server runs.
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

}  // namespace ostrel::test
