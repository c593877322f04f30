#pragma once
// The program's questions and notices, shown modal in the message window.

#include "platform/ui/UIDefs.h"

namespace ostrel {

// Shows `text` (a language key when `isResource`) under `title` (the
// layout's title when empty) with button style 0 (confirm) or 1 (confirm
// and cancel). Returns 1 for confirm, 0 for cancel, the close button or a
// window that could not be shown.
int ShowMessageBox(HWND owner, const char* title, const char* text, int dpi, bool isResource, int style);

}  // namespace ostrel
