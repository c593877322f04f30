#pragma once
// Drawing for controls: colours, rectangles, lines, pies, images by their
// description, and text (Pango: any script, alignment, ellipsis, wrapping).
// Colours are 0xAARRGGBB (a layout's "#RRGGBB" is read as opaque); tint
// colours are RGB() values (0x00BBGGRR) as the program passes them.

#include <vector>

#include "platform/ui/CDuiString.h"
#include "platform/ui/UIDefs.h"
#include "platform/ui/UIResources.h"

struct _cairo_surface;

namespace ostrel {

class CPaintManagerUI;

class CRenderEngine {
 public:
  // Loads a PNG from a file; null (and a debug line) when it cannot. The
  // mask colour (0xFFRRGGBB, 0 for none) becomes transparent.
  static TImageInfo* LoadImage(const char* pstrPath, const char* type = nullptr, DWORD mask = 0);
  static void FreeImage(TImageInfo* info);

  // Images. `rcItem` is the control's rectangle (dest and source are
  // relative to it / the image), `rcPaint` the area being repainted. The
  // last three arguments tint the image: with bTint the image's shape is
  // filled with dwTintColor (an RGB() value) at nTintLevel/255 opacity over it.
  static bool DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                              const char* pStrImage, const char* pStrModify = nullptr, DWORD dwTintColor = 0,
                              int nTintLevel = 255, bool bTint = false);
  static bool DrawImageInfo(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                            const TDrawInfo& info, DWORD dwTintColor = 0, int nTintLevel = 255,
                            bool bTint = false);
  // Draws `image` (whole or `rcBmpPart`) into `rc`, nine-grid by `rcCorners`.
  static void DrawImage(HDC hDC, const TImageInfo* image, const RECT& rc, const RECT& rcPaint,
                        const RECT& rcBmpPart, const RECT& rcCorners, BYTE uFade = 255, bool hole = false,
                        bool xtiled = false, bool ytiled = false);

  static void DrawColor(HDC hDC, const RECT& rc, DWORD color);
  static void DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical);
  // A line from (rc.left, rc.top) to (rc.right, rc.bottom).
  static void DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle = 0);
  // An outline of width nSize inside rc.
  static void DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle = 0);
  static void DrawRoundRect(HDC hDC, const RECT& rc, int width, int height, int nSize, DWORD dwPenColor,
                            int nStyle = 0);
  static void FillRoundRect(HDC hDC, const RECT& rc, int width, int height, DWORD dwColor);
  // Narrows the clip to the round rectangle (corner ellipse width × height).
  static void ClipRoundRect(HDC hDC, const RECT& rc, int width, int height);
  // A filled pie inside the ellipse of rc; angles in degrees, clockwise
  // from the positive x axis (screen coordinates).
  static void FillPie(HDC hDC, const RECT& rc, double startAngle, double sweepAngle, DWORD dwColor);

  // Text in rc with DT_* flags; iFont is a font id of pManager (-1 default).
  // With DT_CALCRECT nothing is drawn and rc receives the text's extent.
  static void DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const char* pstrText, DWORD dwTextColor,
                       int iFont, UINT uStyle);
  static SIZE GetTextSize(CPaintManagerUI* pManager, const char* pstrText, int iFont, UINT uStyle,
                          int maxWidth = -1);

  // Text geometry as DrawText lays it out in a box `width` wide (relative
  // to the text's top-left): the caret at a byte index, the byte index at a
  // point, and the rectangles covering bytes [start, end).
  static RECT GetCaretRect(CPaintManagerUI* pManager, const char* pstrText, int iFont, UINT uStyle, int width,
                           int byteIndex);
  static int HitTestText(CPaintManagerUI* pManager, const char* pstrText, int iFont, UINT uStyle, int width,
                         int x, int y);
  static std::vector<RECT> GetSelectionRects(CPaintManagerUI* pManager, const char* pstrText, int iFont,
                                             UINT uStyle, int width, int start, int end);

  static DWORD AdjustColor(DWORD dwColor, short H, short S, short L);
  // Pixels of a surface in place (used for "hsl" images).
  static void AdjustImage(bool bUseHSL, TImageInfo* image, short H, short S, short L);

  static bool SavePng(_cairo_surface* surface, const char* pstrPath);
  // Drops cached text layouts (fonts changed).
  static void ClearTextCache();
};

}  // namespace ostrel
