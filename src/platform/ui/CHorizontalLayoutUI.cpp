#include "platform/ui/CHorizontalLayoutUI.h"

#include <algorithm>

#include "platform/ui/LayoutMath.h"

namespace ostrel {

void* CHorizontalLayoutUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("HorizontalLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

SIZE CHorizontalLayoutUI::EstimateSize(SIZE szAvailable) { return CControlUI::EstimateSize(szAvailable); }

void CHorizontalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
  CControlUI::SetPos(rc, bNeedInvalidate);
  for (int pass = 0; pass < 2; ++pass) {
    RECT inner = ContentRect(m_rcItem);
    SIZE avail{inner.right - inner.left, inner.bottom - inner.top};
    std::vector<int> order;
    std::vector<StackItem> stack;
    std::vector<SIZE> estimates;
    for (int i = 0; i < GetCount(); ++i) {
      CControlUI* c = m_items[i];
      if (!c->IsVisible()) continue;
      if (c->IsFloat()) {
        PlaceFloatChild(i);
        continue;
      }
      SIZE sz = c->EstimateSize(avail);
      RECT pad = c->GetPadding();
      order.push_back(i);
      estimates.push_back(sz);
      stack.push_back(StackItem{sz.cx, c->GetMinWidth(), c->GetMaxWidth(), pad.left, pad.right});
    }
    int padding = GetChildPadding();
    std::vector<int> sizes = DistributeStack(stack, avail.cx, padding);
    int extent = StackExtent(stack, sizes, padding);
    bool stretches = std::any_of(stack.begin(), stack.end(), [](const StackItem& s) { return s.fixed <= 0; });
    int x = inner.left - GetScrollPos().cx;
    if (!stretches && extent < avail.cx) {
      if (m_iChildAlign == DT_CENTER) x += (avail.cx - extent) / 2;
      if (m_iChildAlign == DT_RIGHT) x += avail.cx - extent;
    }
    int y0 = inner.top - GetScrollPos().cy;
    int cyNeeded = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
      CControlUI* c = m_items[order[k]];
      RECT pad = c->GetPadding();
      int room = avail.cy - pad.top - pad.bottom;
      int h = estimates[k].cy > 0 ? estimates[k].cy : room;
      h = std::clamp(h, std::max(0, c->GetMinHeight()), std::max(c->GetMinHeight(), c->GetMaxHeight()));
      int y = y0 + pad.top;
      if (m_iChildVAlign == DT_VCENTER) y = y0 + pad.top + (room - h) / 2;
      if (m_iChildVAlign == DT_BOTTOM) y = y0 + avail.cy - pad.bottom - h;
      x += stack[k].padBefore;
      c->SetPos(RECT{x, y, x + sizes[k], y + h}, bNeedInvalidate);
      x += sizes[k] + stack[k].padAfter + padding;
      cyNeeded = std::max<int>(cyNeeded, h + pad.top + pad.bottom);
    }
    if (!ProcessScrollBar(m_rcItem, extent, cyNeeded)) break;
  }
  m_bUpdateNeeded = false;
}

}  // namespace ostrel
