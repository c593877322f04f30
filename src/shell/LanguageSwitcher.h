#pragma once
// Switching the interface language for the main window: the fonts of the
// language, the toolkit's language and texts, the stored choice, and a
// redraw of the open windows.

#include <vector>

#include "platform/ui/UIDefs.h"

namespace ostrel {

class CPaintManagerUI;

class LanguageSwitcher {
 public:
  // Sent to the settings and about windows after a switch (wParam 0), and to
  // the main window by the settings window (wParam = the index).
  static constexpr UINT kLanguageMessage = WM_USER + 0x811;

  // Switches to `index`; nothing happens when it is already current. `pm` is
  // the main window's paint manager; `redraw` the other open windows (null
  // or closed handles are skipped). True when a switch took place.
  bool SetLanguage(int index, CPaintManagerUI* pm, const std::vector<HWND>& redraw = {});
  int CurrentIndex() const { return current_; }

 private:
  int current_ = -1;
};

}  // namespace ostrel
