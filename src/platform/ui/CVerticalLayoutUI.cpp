#include "platform/ui/CVerticalLayoutUI.h"

#include <algorithm>

#include "platform/ui/LayoutMath.h"

namespace ostrel {

void* CVerticalLayoutUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("VerticalLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

SIZE CVerticalLayoutUI::EstimateSize(SIZE szAvailable) { return CControlUI::EstimateSize(szAvailable); }

void CVerticalLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
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
      stack.push_back(StackItem{sz.cy, c->GetMinHeight(), c->GetMaxHeight(), pad.top, pad.bottom});
    }
    int padding = GetChildPadding();
    std::vector<int> sizes = DistributeStack(stack, avail.cy, padding);
    int extent = StackExtent(stack, sizes, padding);
    bool stretches = std::any_of(stack.begin(), stack.end(), [](const StackItem& s) { return s.fixed <= 0; });
    int y = inner.top - GetScrollPos().cy;
    if (!stretches && extent < avail.cy) {
      if (m_iChildVAlign == DT_VCENTER) y += (avail.cy - extent) / 2;
      if (m_iChildVAlign == DT_BOTTOM) y += avail.cy - extent;
    }
    int x0 = inner.left - GetScrollPos().cx;
    int cxNeeded = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
      CControlUI* c = m_items[order[k]];
      RECT pad = c->GetPadding();
      int room = avail.cx - pad.left - pad.right;
      int w = estimates[k].cx > 0 ? estimates[k].cx : room;
      w = std::clamp(w, std::max(0, c->GetMinWidth()), std::max(c->GetMinWidth(), c->GetMaxWidth()));
      int x = x0 + pad.left;
      if (m_iChildAlign == DT_CENTER) x = x0 + pad.left + (room - w) / 2;
      if (m_iChildAlign == DT_RIGHT) x = x0 + avail.cx - pad.right - w;
      y += stack[k].padBefore;
      c->SetPos(RECT{x, y, x + w, y + sizes[k]}, bNeedInvalidate);
      y += sizes[k] + stack[k].padAfter + padding;
      cxNeeded = std::max<int>(cxNeeded, w + pad.left + pad.right);
    }
    if (!ProcessScrollBar(m_rcItem, cxNeeded, extent)) break;
  }
  m_bUpdateNeeded = false;
}

}  // namespace ostrel
