#pragma once
// The record a menu hands to the window that opened it with WM_MENUCLICK
// (wParam). It is fixed-size, so the receiver can copy it and give it back
// with CPaintManagerUI::DeletePtr before acting on it.

#include "platform/ui/UIDefs.h"

namespace ostrel {

// WM_USER + 0x79: a menu item was chosen.
constexpr UINT WM_MENUCLICK = WM_USER + 0x79;

struct MenuCmd {
  char szName[256] = {};
  char szUserData[1024] = {};
  char szText[1024] = {};
  BOOL bChecked = FALSE;
};

// A record filled from the item's texts (cut to the fields' sizes); release
// it with CPaintManagerUI::DeletePtr.
MenuCmd* NewMenuCmd(const char* name, const char* userData, const char* text, bool checked);

}  // namespace ostrel
