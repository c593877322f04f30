#include "platform/ui/CTileLayoutUI.h"

#include <algorithm>
#include <cstdlib>

#include "platform/ui/CPaintManagerUI.h"

namespace ostrel {

void* CTileLayoutUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("TileLayout") == 0) return this;
  return CContainerUI::GetInterface(pstrName);
}

void CTileLayoutUI::SetColumns(int nCols) {
  if (nCols <= 0) return;
  m_nColumns = nCols;
  NeedUpdate();
}

SIZE CTileLayoutUI::GetItemSize() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_szItem) : m_szItem;
}

void CTileLayoutUI::SetItemSize(SIZE szItem) {
  m_szItem = szItem;
  NeedUpdate();
}

void CTileLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
  CControlUI::SetPos(rc, bNeedInvalidate);
  for (int pass = 0; pass < 2; ++pass) {
    RECT inner = ContentRect(m_rcItem);
    int width = inner.right - inner.left;
    int padding = GetChildPadding();
    SIZE item = GetItemSize();
    int columns = m_nColumns;
    if (item.cx > 0) columns = std::max(1, (width + padding) / (item.cx + padding));
    int cellWidth = item.cx > 0 ? item.cx : std::max(0, (width - padding * (columns - 1)) / columns);
    SIZE scroll = GetScrollPos();
    int y = inner.top - scroll.cy;
    int col = 0;
    int rowHeight = 0;
    std::vector<int> row;
    auto flushRow = [&]() {
      y += rowHeight + padding;
      rowHeight = 0;
      col = 0;
    };
    int cyNeeded = 0;
    for (int i = 0; i < GetCount(); ++i) {
      CControlUI* c = m_items[i];
      if (!c->IsVisible()) continue;
      if (c->IsFloat()) {
        PlaceFloatChild(i);
        continue;
      }
      RECT pad = c->GetPadding();
      SIZE sz = c->EstimateSize(SIZE{cellWidth, inner.bottom - inner.top});
      int h = item.cy > 0 ? item.cy : (sz.cy > 0 ? sz.cy + pad.top + pad.bottom : cellWidth);
      int x = inner.left - scroll.cx + col * (cellWidth + padding);
      int w = sz.cx > 0 ? std::min<int>(sz.cx, cellWidth - pad.left - pad.right)
                        : cellWidth - pad.left - pad.right;
      int ch = sz.cy > 0 ? std::min<int>(sz.cy, h - pad.top - pad.bottom) : h - pad.top - pad.bottom;
      c->SetPos(RECT{x + pad.left, y + pad.top, x + pad.left + std::max(0, w), y + pad.top + std::max(0, ch)},
                bNeedInvalidate);
      rowHeight = std::max(rowHeight, h);
      cyNeeded = y + rowHeight - (inner.top - scroll.cy);
      if (++col >= columns) flushRow();
    }
    if (!ProcessScrollBar(m_rcItem, 0, cyNeeded)) break;
  }
  m_bUpdateNeeded = false;
}

void CTileLayoutUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  if (name.CompareNoCase("columns") == 0) {
    SetColumns(std::atoi(pstrValue ? pstrValue : "1"));
  } else if (name.CompareNoCase("itemsize") == 0) {
    SetItemSize(ParseSize(pstrValue));
  } else {
    CContainerUI::SetAttribute(pstrName, pstrValue);
  }
}

}  // namespace ostrel
