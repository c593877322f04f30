#pragma once
// A row that holds controls of its own (a horizontal layout), selected and
// activated like a label row.

#include "platform/ui/CHorizontalLayoutUI.h"
#include "platform/ui/ListItemControl.h"

namespace ostrel {

class CListContainerElementUI : public ListItemControl<CHorizontalLayoutUI> {
 public:
  const char* GetClass() const override { return "ListContainerElementUI"; }
  void* GetInterface(const char* pstrName) override;
  SIZE EstimateSize(SIZE szAvailable) override;
  bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) override;
  void DrawItemText(HDC, const RECT&) override {}

 protected:
  // Timers and the context menu become notifications of the row.
  bool HandleOwnEvent(TEventUI& event) override;
};

}  // namespace ostrel
