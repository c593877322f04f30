#pragma once
// The process from start to exit: private fonts, the single-instance
// decision, the toolkit's resources and control classes, the registered
// messages, the main window and its message loop, then everything undone in
// reverse order. Every way out answers 0.

#include <functional>
#include <string>

namespace ostrel {

class CMainWnd;

class ShellApplication {
 public:
  struct Options {
    // Runs once the main window exists, before the loop (tests, tools).
    std::function<void(CMainWnd& window)> onStarted;
    // Real windows when a display is there (else the headless backend).
    bool useDisplay = true;
    // Watch logind on the system bus for suspend and resume.
    bool watchSleep = true;
  };

  // The fonts of the "Font" folder, in loading order.
  static constexpr const char* kFontFiles[] = {"Font\\Simplified_Chinese.ttf", "Font\\Harrowen-Regular.otf",
                                               "Font\\NotoSansThai-Regular.ttf",
                                               "Font\\NotoSansCJKtc-Regular.otf", "Font\\Helvetica.ttf"};

  static int Run(const Options& options);
  // The 23 control classes the skin names; the result is how many were registered.
  static int RegisterControls();
};

}  // namespace ostrel
