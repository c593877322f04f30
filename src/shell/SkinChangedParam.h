#pragma once
// What the skin picker tells the main window: a plain colour or a picture.

#include "platform/ui/CDuiString.h"
#include "platform/ui/UIDefs.h"

namespace ostrel {

struct SkinChangedParam {
  bool bColor = false;  // true: plain colour, false: picture
  DWORD bkcolor = 0;    // 0xAARRGGBB
  CDuiString bgimage;   // the picture as the skin knows it
};

}  // namespace ostrel
