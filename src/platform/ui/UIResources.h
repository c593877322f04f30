#pragma once
// Records of fonts and images held by the paint managers.

#include "platform/ui/CDuiString.h"
#include "platform/ui/UIDefs.h"

struct _cairo_surface;
struct _PangoFontDescription;

namespace ostrel {

// A font as a layout or the program declares it (sizes in layout pixels).
struct TFontInfo {
  CDuiString sFontName;
  int iSize = 12;
  bool bBold = false;
  bool bUnderline = false;
  bool bItalic = false;
};

// A decoded image: premultiplied ARGB pixels in a Cairo surface.
struct TImageInfo {
  _cairo_surface* surface = nullptr;
  int nX = 0;
  int nY = 0;
  bool bAlpha = false;
  DWORD dwMask = 0;
  CDuiString sResType;
  CDuiString sPath;
};

// A parsed image description: "file='a.png' source='0,0,8,8' corner='2,2,2,2' ..."
// or just a file name.
struct TDrawInfo {
  CDuiString sDrawString;
  CDuiString sImageName;
  CDuiString sResType;
  bool bFromRes = false;
  RECT rcDest;
  bool bDest = false;
  RECT rcSource;
  bool bSource = false;
  RECT rcCorner;
  DWORD dwMask = 0;
  BYTE uFade = 255;
  bool bHole = false;
  bool bTiledX = false;
  bool bTiledY = false;
  bool bHSL = false;

  // Parses `image` and then `modify` (whose keys override).
  static TDrawInfo Parse(const char* image, const char* modify = nullptr);
};

}  // namespace ostrel
