#include "platform/ui/TListInfoUI.h"

#include <cstdlib>

#include "platform/ui/CControlUI.h"

namespace ostrel {

bool TListInfoUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  CDuiString value(pstrValue);
  auto is = [&](const char* n) { return name.CompareNoCase(n) == 0; };
  if (is("itemfont")) {
    nFont = std::atoi(value);
  } else if (is("itemalign")) {
    uTextStyle &= ~(DT_CENTER | DT_RIGHT);
    if (value.Find("center") >= 0) uTextStyle |= DT_CENTER;
    if (value.Find("right") >= 0) uTextStyle |= DT_RIGHT;
  } else if (is("itemendellipsis")) {
    uTextStyle =
        CControlUI::ParseBool(value) ? (uTextStyle | DT_END_ELLIPSIS) : (uTextStyle & ~DT_END_ELLIPSIS);
  } else if (is("itemtextpadding")) {
    rcTextPadding = CControlUI::ParseRect(value);
  } else if (is("itemtextcolor")) {
    dwTextColor = CControlUI::ParseColor(value);
  } else if (is("itembkcolor")) {
    dwBkColor = CControlUI::ParseColor(value);
  } else if (is("itembkimage")) {
    sBkImage = value;
  } else if (is("itemaltbk")) {
    bAlternateBk = CControlUI::ParseBool(value);
  } else if (is("itemselectedtextcolor")) {
    dwSelectedTextColor = CControlUI::ParseColor(value);
  } else if (is("itemselectedbkcolor")) {
    dwSelectedBkColor = CControlUI::ParseColor(value);
  } else if (is("itemselectedimage")) {
    sSelectedImage = value;
  } else if (is("itemhottextcolor")) {
    dwHotTextColor = CControlUI::ParseColor(value);
  } else if (is("itemhotbkcolor")) {
    dwHotBkColor = CControlUI::ParseColor(value);
  } else if (is("itemhotimage")) {
    sHotImage = value;
  } else if (is("itemdisabledtextcolor")) {
    dwDisabledTextColor = CControlUI::ParseColor(value);
  } else if (is("itemdisabledbkcolor")) {
    dwDisabledBkColor = CControlUI::ParseColor(value);
  } else if (is("itemdisabledimage")) {
    sDisabledImage = value;
  } else if (is("itemlinecolor")) {
    dwLineColor = CControlUI::ParseColor(value);
  } else if (is("itemshowhtml")) {
    bShowHtml = CControlUI::ParseBool(value);
  } else {
    return false;
  }
  return true;
}

}  // namespace ostrel
