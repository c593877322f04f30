#pragma once
#include "platform/ui/CListElementUI.h"

namespace ostrel {

// A row that shows one text with the owner's row font, padding and colours.
class CListLabelElementUI : public CListElementUI {
 public:
  CListLabelElementUI();
  const char* GetClass() const override { return "ListLabelElementUI"; }
  void* GetInterface(const char* pstrName) override;
  SIZE EstimateSize(SIZE szAvailable) override;
  bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) override;
  void DrawItemText(HDC hDC, const RECT& rcItem) override;
};

}  // namespace ostrel
