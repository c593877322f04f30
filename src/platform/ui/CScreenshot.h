#pragma once
// Pictures of the program's windows as PNG files, for checks and for the
// documentation. SaveWindow takes what a window shows now. For scripts,
// ArmFromEnvironment reads OSTREL_SCREENSHOT (the PNG to write),
// OSTREL_SCREENSHOT_DELAY (milliseconds after arming, default 1000) and
// OSTREL_SCREENSHOT_QUIT (1: end the message loop afterwards): once the
// delay is over, the active window (or the first visible top-level one) is
// saved. A hidden helper window carries the timer.

#include <string>

#include "platform/ui/CWindowWnd.h"

namespace ostrel {

class CScreenshot : public CWindowWnd {
 public:
  // What `hwnd` shows: the native window's pixels on a display, else the
  // paint manager's frame. False (with a debug line) when there is nothing
  // to save or the file cannot be written.
  static bool SaveWindow(HWND hwnd, const char* path);
  // True when OSTREL_SCREENSHOT asked for a picture and the helper runs.
  static bool ArmFromEnvironment();
  // The same without the environment (tests, the program's own use).
  static bool Arm(const std::string& path, int delayMs, bool quitAfter);

 protected:
  const char* GetWindowClassName() const override { return "ScreenshotWnd"; }
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  void OnFinalMessage(HWND hWnd) override;

 private:
  CScreenshot() = default;
  HWND Target() const;
  void Finish();

  std::string path_;
  DWORD due_ = 0;
  DWORD give_up_ = 0;
  bool quit_ = false;
};

}  // namespace ostrel
