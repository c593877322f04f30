#pragma once
// How a list (or a combo's drop list) draws its rows, shared by all rows.

#include "platform/ui/CDuiString.h"
#include "platform/ui/UIDefs.h"

namespace ostrel {

struct TListInfoUI {
  int nFont = -1;
  UINT uTextStyle = DT_VCENTER | DT_SINGLELINE;
  RECT rcTextPadding{4, 0, 4, 0};
  DWORD dwTextColor = 0;
  DWORD dwBkColor = 0;
  CDuiString sBkImage;
  bool bAlternateBk = false;
  DWORD dwSelectedTextColor = 0;
  DWORD dwSelectedBkColor = 0xFF0099FF;
  CDuiString sSelectedImage;
  DWORD dwHotTextColor = 0;
  DWORD dwHotBkColor = 0xFF30353D;
  CDuiString sHotImage;
  DWORD dwDisabledTextColor = 0xFF666666;
  DWORD dwDisabledBkColor = 0;
  CDuiString sDisabledImage;
  DWORD dwLineColor = 0;
  bool bShowHtml = false;

  // The "item..." attributes of lists and combos; false for other names.
  bool SetAttribute(const char* pstrName, const char* pstrValue);
};

}  // namespace ostrel
