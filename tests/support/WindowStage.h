#pragma once
// The window thread of a test that runs the program's windows: a fresh
// message loop on this thread with a headless backend, and a skin folder's
// resources loaded with the program's messages and controls registered, as
// the program does before its first window.

#include <string>

#include "platform/ui/WindowApi.h"

namespace ostrel {
class CHeadlessBackend;
}

namespace ostrel::test {

class WindowStage {
 public:
  // Sets the stage; false when the skin folder's "res.xml" could not be
  // loaded. `virtualClock`: the loop's timers run on a clock the test moves.
  bool Begin(const std::string& skinFolder, bool virtualClock);
  // Destroys `window` if it is still there and takes the stage down again.
  void End(HWND window);

  // The backend Begin installed (the loop owns it).
  CHeadlessBackend& Headless() const { return *headless_; }

 private:
  CHeadlessBackend* headless_ = nullptr;
};

}  // namespace ostrel::test
