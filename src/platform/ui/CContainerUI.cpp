#include "platform/ui/CContainerUI.h"

#include <cairo.h>

#include <algorithm>
#include <cstdlib>

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/LayoutMath.h"
#include "platform/ui/CScrollBarUI.h"

namespace ostrel {

namespace {
CControlUI* ReapOne(CControlUI* c, void* data) {
  static_cast<CPaintManagerUI*>(data)->ReapObjects(c);
  return nullptr;
}

struct SubName {
  const char* name;
};
CControlUI* MatchName(CControlUI* c, void* data) {
  return c->GetName() == static_cast<SubName*>(data)->name ? c : nullptr;
}

constexpr int kDefaultScrollBarWidth = 8;
}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
  m_bDelayedDestroy = false;
  RemoveAll();
  delete m_pVerticalScrollBar;
  delete m_pHorizontalScrollBar;
}

void* CContainerUI::GetInterface(const char* pstrName) {
  CDuiString name(pstrName);
  if (name.CompareNoCase("IContainer") == 0) return static_cast<IContainerUI*>(this);
  if (name.CompareNoCase("Container") == 0) return this;
  return CControlUI::GetInterface(pstrName);
}

CControlUI* CContainerUI::GetItemAt(int iIndex) const {
  if (iIndex < 0 || iIndex >= GetCount()) return nullptr;
  return m_items[iIndex];
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const {
  auto it = std::find(m_items.begin(), m_items.end(), pControl);
  return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iNewIndex) {
  int old = GetItemIndex(pControl);
  if (old < 0 || iNewIndex < 0 || iNewIndex >= GetCount()) return false;
  m_items.erase(m_items.begin() + old);
  m_items.insert(m_items.begin() + iNewIndex, pControl);
  NeedUpdate();
  return true;
}

bool CContainerUI::Add(CControlUI* pControl) { return AddAt(pControl, GetCount()); }

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex) {
  if (!pControl || iIndex < 0 || iIndex > GetCount()) return false;
  if (GetItemIndex(pControl) >= 0) return false;
  if (m_pManager) {
    m_pManager->InitControls(pControl, this);
  } else {
    pControl->SetManager(nullptr, this, false);
  }
  if (!IsVisible() || !m_bInternVisible) pControl->SetInternVisible(false);
  m_items.insert(m_items.begin() + iIndex, pControl);
  NeedUpdate();
  return true;
}

bool CContainerUI::Remove(CControlUI* pControl, bool bDoNotDestroy) {
  int index = GetItemIndex(pControl);
  if (index < 0) return false;
  return RemoveAt(index, bDoNotDestroy);
}

bool CContainerUI::RemoveAt(int iIndex, bool bDoNotDestroy) {
  CControlUI* c = GetItemAt(iIndex);
  if (!c) return false;
  m_items.erase(m_items.begin() + iIndex);
  if (m_pManager) c->FindControl(ReapOne, m_pManager, UIFIND_ALL);
  if (!bDoNotDestroy && m_bAutoDestroy) {
    if (m_bDelayedDestroy && m_pManager) {
      m_pManager->AddDelayedCleanup(c);
    } else {
      delete c;
    }
  } else {
    c->SetManager(nullptr, nullptr, false);
  }
  NeedUpdate();
  return true;
}

void CContainerUI::RemoveAll() {
  std::vector<CControlUI*> items;
  items.swap(m_items);
  for (CControlUI* c : items) {
    if (m_pManager) c->FindControl(ReapOne, m_pManager, UIFIND_ALL);
    if (m_bAutoDestroy) {
      if (m_bDelayedDestroy && m_pManager) {
        m_pManager->AddDelayedCleanup(c);
      } else {
        delete c;
      }
    } else {
      c->SetManager(nullptr, nullptr, false);
    }
  }
  NeedUpdate();
}

RECT CContainerUI::GetInset() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_rcInset) : m_rcInset;
}

void CContainerUI::SetInset(RECT rcInset) {
  m_rcInset = rcInset;
  NeedUpdate();
}

int CContainerUI::GetChildPadding() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_iChildPadding) : m_iChildPadding;
}

void CContainerUI::SetChildPadding(int iPadding) {
  m_iChildPadding = iPadding;
  NeedUpdate();
}

void CContainerUI::SetChildAlign(UINT iAlign) {
  m_iChildAlign = iAlign;
  NeedUpdate();
}

void CContainerUI::SetChildVAlign(UINT iVAlign) {
  m_iChildVAlign = iVAlign;
  NeedUpdate();
}

void CContainerUI::SetVisible(bool bVisible) {
  if (m_bVisible == bVisible) return;
  CControlUI::SetVisible(bVisible);
  for (CControlUI* c : m_items) c->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool bVisible) {
  CControlUI::SetInternVisible(bVisible);
  for (CControlUI* c : m_items) c->SetInternVisible(IsVisible());
}

void CContainerUI::SetEnabled(bool bEnable) {
  if (m_bEnabled == bEnable) return;
  CControlUI::SetEnabled(bEnable);
  for (CControlUI* c : m_items) c->SetEnabled(bEnable);
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
  for (CControlUI* c : m_items) c->SetManager(pManager, this, bInit);
  if (m_pVerticalScrollBar) m_pVerticalScrollBar->SetManager(pManager, this, bInit);
  if (m_pHorizontalScrollBar) m_pHorizontalScrollBar->SetManager(pManager, this, bInit);
  CControlUI::SetManager(pManager, pParent, bInit);
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC Proc, void* pData, UINT uFlags) {
  if ((uFlags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
  if ((uFlags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
  if ((uFlags & UIFIND_HITTEST) && !PtInRect(m_rcItem, *static_cast<POINT*>(pData))) return nullptr;
  if ((uFlags & UIFIND_UPDATETEST) && IsUpdateNeeded())
    return Proc(this, pData);  // its layout covers the children
  if ((uFlags & UIFIND_HITTEST) && !m_bMouseChildEnabled) {
    return m_bMouseEnabled ? Proc(this, pData) : nullptr;
  }
  if (uFlags & UIFIND_ME_FIRST) {
    if (CControlUI* r = CControlUI::FindControl(Proc, pData, uFlags & ~UIFIND_HITTEST)) {
      if (!(uFlags & UIFIND_HITTEST) || m_bMouseEnabled) return r;
    }
  }
  if (uFlags & UIFIND_HITTEST) {
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
      if (bar && bar->IsVisible())
        if (CControlUI* r = bar->FindControl(Proc, pData, uFlags)) return r;
    }
    // Children outside the inner rectangle are not hit.
    RECT inner = ContentRect(m_rcItem);
    if (!PtInRect(inner, *static_cast<POINT*>(pData))) {
      return m_bMouseEnabled ? Proc(this, pData) : nullptr;
    }
  }
  if (uFlags & UIFIND_TOP_FIRST) {
    for (int i = GetCount() - 1; i >= 0; --i)
      if (CControlUI* r = m_items[i]->FindControl(Proc, pData, uFlags)) return r;
  } else {
    for (CControlUI* c : m_items)
      if (CControlUI* r = c->FindControl(Proc, pData, uFlags)) return r;
  }
  if (!(uFlags & UIFIND_ME_FIRST)) {
    if ((uFlags & UIFIND_HITTEST) && !m_bMouseEnabled) return nullptr;
    return CControlUI::FindControl(Proc, pData, uFlags);
  }
  return nullptr;
}

CControlUI* CContainerUI::FindSubControl(const char* pstrSubControlName) {
  SubName q{pstrSubControlName};
  for (CControlUI* c : m_items)
    if (CControlUI* r = c->FindControl(MatchName, &q, UIFIND_ALL)) return r;
  return nullptr;
}

RECT CContainerUI::ContentRect(RECT rc) const {
  RECT inset = GetInset();
  rc.left += inset.left;
  rc.top += inset.top;
  rc.right -= inset.right;
  rc.bottom -= inset.bottom;
  if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
    rc.right -= m_pVerticalScrollBar->GetFixedWidth();
  if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
    rc.bottom -= m_pHorizontalScrollBar->GetFixedHeight();
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  return rc;
}

void CContainerUI::PlaceFloatChild(int iIndex) {
  CControlUI* c = GetItemAt(iIndex);
  if (!c || !c->IsVisible()) return;
  RECT f = c->GetFloatPos();
  if (m_pManager) f = m_pManager->GetDPIObj()->Scale(f);
  SIZE fixed{c->GetFixedWidth(), c->GetFixedHeight()};
  RECT rc{m_rcItem.left + f.left, m_rcItem.top + f.top, m_rcItem.left + f.left + fixed.cx,
          m_rcItem.top + f.top + fixed.cy};
  c->SetPos(rc, true);
}

void CContainerUI::SetPos(RECT rc, bool bNeedInvalidate) {
  CControlUI::SetPos(rc, bNeedInvalidate);
  if (m_items.empty() && !m_pVerticalScrollBar && !m_pHorizontalScrollBar) return;
  for (int pass = 0; pass < 2; ++pass) {
    RECT inner = ContentRect(m_rcItem);
    SIZE scroll = GetScrollPos();
    int cyNeeded = 0;
    int cxNeeded = 0;
    for (int i = 0; i < GetCount(); ++i) {
      CControlUI* c = m_items[i];
      if (!c->IsVisible()) continue;
      if (c->IsFloat()) {
        PlaceFloatChild(i);
        continue;
      }
      RECT pad = c->GetPadding();
      RECT r{inner.left + pad.left - scroll.cx, inner.top + pad.top - scroll.cy,
             inner.right - pad.right - scroll.cx, inner.bottom - pad.bottom - scroll.cy};
      SIZE sz = c->EstimateSize(SIZE{inner.right - inner.left, inner.bottom - inner.top});
      // A fixed size is honoured inside the inner rectangle, from its top-left.
      if (sz.cx > 0)
        r.right =
            std::min<LONG>(r.right, r.left + std::clamp<int>(sz.cx, c->GetMinWidth(), c->GetMaxWidth()));
      if (sz.cy > 0)
        r.bottom =
            std::min<LONG>(r.bottom, r.top + std::clamp<int>(sz.cy, c->GetMinHeight(), c->GetMaxHeight()));
      c->SetPos(r, bNeedInvalidate);
      cxNeeded = std::max<int>(cxNeeded, r.right - r.left + pad.left + pad.right);
      cyNeeded = std::max<int>(cyNeeded, r.bottom - r.top + pad.top + pad.bottom);
    }
    if (!ProcessScrollBar(m_rcItem, cxNeeded, cyNeeded)) break;
  }
  m_bUpdateNeeded = false;
}

void CContainerUI::Move(SIZE szOffset, bool bNeedInvalidate) {
  CControlUI::Move(szOffset, bNeedInvalidate);
  for (CControlUI* c : m_items) c->Move(szOffset, false);
  for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar})
    if (bar) bar->Move(szOffset, false);
}

bool CContainerUI::ProcessScrollBar(RECT rc, int cxRequired, int cyRequired) {
  bool changed = false;
  RECT inset = GetInset();
  RECT area{rc.left + inset.left, rc.top + inset.top, rc.right - inset.right, rc.bottom - inset.bottom};
  if (m_pVerticalScrollBar) {
    int width = m_pVerticalScrollBar->GetFixedWidth();
    int avail = (area.bottom - area.top) - ((m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
                                                ? m_pHorizontalScrollBar->GetFixedHeight()
                                                : 0);
    bool need = cyRequired > avail;
    if (need != m_pVerticalScrollBar->IsVisible()) {
      m_pVerticalScrollBar->SetVisible(need);
      changed = true;
      if (!need) m_pVerticalScrollBar->SetScrollPos(0, false);
    }
    if (need) {
      m_pVerticalScrollBar->SetScrollRange(cyRequired - avail);
      m_pVerticalScrollBar->SetPos(RECT{area.right - width, area.top, area.right, area.top + avail}, true);
    }
  }
  if (m_pHorizontalScrollBar) {
    int height = m_pHorizontalScrollBar->GetFixedHeight();
    int avail = (area.right - area.left) - ((m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
                                                ? m_pVerticalScrollBar->GetFixedWidth()
                                                : 0);
    bool need = cxRequired > avail;
    if (need != m_pHorizontalScrollBar->IsVisible()) {
      m_pHorizontalScrollBar->SetVisible(need);
      changed = true;
      if (!need) m_pHorizontalScrollBar->SetScrollPos(0, false);
    }
    if (need) {
      m_pHorizontalScrollBar->SetScrollRange(cxRequired - avail);
      m_pHorizontalScrollBar->SetPos(RECT{area.left, area.bottom - height, area.left + avail, area.bottom},
                                     true);
    }
  }
  return changed;
}

SIZE CContainerUI::GetScrollPos() const {
  SIZE s;
  if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible()) s.cy = m_pVerticalScrollBar->GetScrollPos();
  if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
    s.cx = m_pHorizontalScrollBar->GetScrollPos();
  return s;
}

SIZE CContainerUI::GetScrollRange() const {
  SIZE s;
  if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
    s.cy = m_pVerticalScrollBar->GetScrollRange();
  if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
    s.cx = m_pHorizontalScrollBar->GetScrollRange();
  return s;
}

void CContainerUI::SetScrollPos(SIZE szPos) {
  SIZE old = GetScrollPos();
  if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible())
    m_pVerticalScrollBar->SetScrollPos(szPos.cy, false);
  if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible())
    m_pHorizontalScrollBar->SetScrollPos(szPos.cx, false);
  SIZE now = GetScrollPos();
  int dx = now.cx - old.cx;
  int dy = now.cy - old.cy;
  if (dx == 0 && dy == 0) return;
  for (CControlUI* c : m_items) {
    if (!c->IsVisible() || c->IsFloat()) continue;
    c->Move(SIZE{-dx, -dy}, false);
  }
  Invalidate();
  if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_SCROLL, now.cx, now.cy);
}

int CContainerUI::GetScrollStepSize() const {
  int step = m_nScrollStepSize > 0 ? m_nScrollStepSize : 30;
  return m_pManager ? m_pManager->GetDPIObj()->Scale(step) : step;
}

void CContainerUI::LineUp() {
  SIZE s = GetScrollPos();
  s.cy -= GetScrollStepSize();
  SetScrollPos(s);
}
void CContainerUI::LineDown() {
  SIZE s = GetScrollPos();
  s.cy += GetScrollStepSize();
  SetScrollPos(s);
}
void CContainerUI::PageUp() {
  SIZE s = GetScrollPos();
  s.cy -= std::max<int>(1, ContentRect(m_rcItem).bottom - ContentRect(m_rcItem).top);
  SetScrollPos(s);
}
void CContainerUI::PageDown() {
  SIZE s = GetScrollPos();
  s.cy += std::max<int>(1, ContentRect(m_rcItem).bottom - ContentRect(m_rcItem).top);
  SetScrollPos(s);
}
void CContainerUI::HomeUp() {
  SIZE s = GetScrollPos();
  s.cy = 0;
  SetScrollPos(s);
}
void CContainerUI::EndDown() {
  SIZE s = GetScrollPos();
  s.cy = GetScrollRange().cy;
  SetScrollPos(s);
}
void CContainerUI::LineLeft() {
  SIZE s = GetScrollPos();
  s.cx -= GetScrollStepSize();
  SetScrollPos(s);
}
void CContainerUI::LineRight() {
  SIZE s = GetScrollPos();
  s.cx += GetScrollStepSize();
  SetScrollPos(s);
}

void CContainerUI::EnableScrollBar(bool bEnableVertical, bool bEnableHorizontal) {
  if (bEnableVertical && !m_pVerticalScrollBar) {
    m_pVerticalScrollBar = new CScrollBarUI;
    m_pVerticalScrollBar->SetOwner(this);
    m_pVerticalScrollBar->SetManager(m_pManager, this, false);
    m_pVerticalScrollBar->SetFixedWidth(kDefaultScrollBarWidth);
    m_pVerticalScrollBar->SetVisible(false);
  } else if (!bEnableVertical && m_pVerticalScrollBar) {
    delete m_pVerticalScrollBar;
    m_pVerticalScrollBar = nullptr;
  }
  if (bEnableHorizontal && !m_pHorizontalScrollBar) {
    m_pHorizontalScrollBar = new CScrollBarUI;
    m_pHorizontalScrollBar->SetHorizontal(true);
    m_pHorizontalScrollBar->SetOwner(this);
    m_pHorizontalScrollBar->SetManager(m_pManager, this, false);
    m_pHorizontalScrollBar->SetFixedHeight(kDefaultScrollBarWidth);
    m_pHorizontalScrollBar->SetVisible(false);
  } else if (!bEnableHorizontal && m_pHorizontalScrollBar) {
    delete m_pHorizontalScrollBar;
    m_pHorizontalScrollBar = nullptr;
  }
  NeedUpdate();
}

void CContainerUI::DoEvent(TEventUI& event) {
  if (event.Type == UIEVENT_SCROLLWHEEL) {
    bool down = LOWORD(event.wParam) == 1;
    if (m_pVerticalScrollBar && m_pVerticalScrollBar->IsVisible() && m_pVerticalScrollBar->IsEnabled()) {
      SIZE before = GetScrollPos();
      if (down) {
        LineDown();
      } else {
        LineUp();
      }
      SIZE after = GetScrollPos();
      if (before.cy != after.cy) return;  // at an end the wheel goes on to the parent
    } else if (m_pHorizontalScrollBar && m_pHorizontalScrollBar->IsVisible() &&
               m_pHorizontalScrollBar->IsEnabled()) {
      if (down) {
        LineRight();
      } else {
        LineLeft();
      }
      return;
    }
  }
  CControlUI::DoEvent(event);
}

void CContainerUI::PaintChildren(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl, bool* stopped) {
  RECT inner = ContentRect(m_rcItem);
  RECT clip;
  bool anyFloat = false;
  if (IntersectRect(&clip, rcPaint, inner)) {
    cairo_save(hDC);
    cairo_rectangle(hDC, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
    cairo_clip(hDC);
    for (CControlUI* c : m_items) {
      if (!c->IsVisible()) continue;
      if (c->IsFloat()) {
        anyFloat = true;
        continue;
      }
      RECT test;
      if (!IntersectRect(&test, clip, c->GetPos())) continue;
      if (!c->Paint(hDC, clip, pStopControl)) {
        *stopped = true;
        break;
      }
    }
    cairo_restore(hDC);
  } else {
    anyFloat = std::any_of(m_items.begin(), m_items.end(), [](CControlUI* c) { return c->IsFloat(); });
  }
  // Float children may lie over the inset; they are clipped to the container only.
  if (anyFloat && !*stopped) {
    RECT outer;
    if (IntersectRect(&outer, rcPaint, m_rcItem)) {
      for (CControlUI* c : m_items) {
        if (!c->IsVisible() || !c->IsFloat()) continue;
        RECT test;
        if (!IntersectRect(&test, outer, c->GetPos())) continue;
        if (!c->Paint(hDC, outer, pStopControl)) {
          *stopped = true;
          break;
        }
      }
    }
  }
}

bool CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) {
  RECT rcTemp;
  if (!IntersectRect(&rcTemp, rcPaint, m_rcItem)) return true;
  cairo_save(hDC);
  cairo_rectangle(hDC, rcTemp.left, rcTemp.top, rcTemp.right - rcTemp.left, rcTemp.bottom - rcTemp.top);
  cairo_clip(hDC);
  CControlUI::DoPaint(hDC, rcPaint, pStopControl);
  bool stopped = false;
  PaintChildren(hDC, rcTemp, pStopControl, &stopped);
  if (!stopped) {
    for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
      if (bar && bar->IsVisible()) {
        RECT test;
        if (IntersectRect(&test, rcTemp, bar->GetPos()) && !bar->Paint(hDC, rcTemp, pStopControl)) {
          stopped = true;
          break;
        }
      }
    }
  }
  cairo_restore(hDC);
  return !stopped;
}

void CContainerUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  const char* v = pstrValue ? pstrValue : "";
  auto is = [&](const char* n) { return name.CompareNoCase(n) == 0; };
  if (is("inset")) {
    SetInset(ParseRect(v));
  } else if (is("mousechild")) {
    SetMouseChildEnabled(ParseBool(v));
  } else if (is("vscrollbar")) {
    EnableScrollBar(ParseBool(v), m_pHorizontalScrollBar != nullptr);
  } else if (is("hscrollbar")) {
    EnableScrollBar(m_pVerticalScrollBar != nullptr, ParseBool(v));
  } else if (is("vscrollbarstyle")) {
    EnableScrollBar(true, m_pHorizontalScrollBar != nullptr);
    m_pVerticalScrollBar->ApplyAttributeList(v);
  } else if (is("hscrollbarstyle")) {
    EnableScrollBar(m_pVerticalScrollBar != nullptr, true);
    m_pHorizontalScrollBar->ApplyAttributeList(v);
  } else if (is("scrollstepsize")) {
    SetScrollStepSize(std::atoi(v));
  } else if (is("childpadding")) {
    SetChildPadding(std::atoi(v));
  } else if (is("childalign")) {
    CDuiString a(v);
    SetChildAlign(a.CompareNoCase("center") == 0  ? DT_CENTER
                  : a.CompareNoCase("right") == 0 ? DT_RIGHT
                                                  : DT_LEFT);
  } else if (is("childvalign")) {
    CDuiString a(v);
    SetChildVAlign(a.CompareNoCase("vcenter") == 0 || a.CompareNoCase("center") == 0 ? DT_VCENTER
                   : a.CompareNoCase("bottom") == 0                                  ? DT_BOTTOM
                                                                                     : DT_TOP);
  } else {
    CControlUI::SetAttribute(pstrName, pstrValue);
  }
}

void CContainerUI::SetStackPos(RECT rc, bool bNeedInvalidate, bool horizontal) {
  CControlUI::SetPos(rc, bNeedInvalidate);
  // The main axis is the one the children follow each other on.
  auto mainOf = [&](SIZE s) { return horizontal ? s.cx : s.cy; };
  auto crossOf = [&](SIZE s) { return horizontal ? s.cy : s.cx; };
  const UINT mainAlign = horizontal ? m_iChildAlign : m_iChildVAlign;
  const UINT crossAlign = horizontal ? m_iChildVAlign : m_iChildAlign;
  const UINT mainCentre = horizontal ? DT_CENTER : DT_VCENTER;
  const UINT mainEnd = horizontal ? DT_RIGHT : DT_BOTTOM;
  const UINT crossCentre = horizontal ? DT_VCENTER : DT_CENTER;
  const UINT crossEnd = horizontal ? DT_BOTTOM : DT_RIGHT;
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
      stack.push_back(horizontal ? StackItem{sz.cx, c->GetMinWidth(), c->GetMaxWidth(), pad.left, pad.right}
                                 : StackItem{sz.cy, c->GetMinHeight(), c->GetMaxHeight(), pad.top, pad.bottom});
    }
    int padding = GetChildPadding();
    std::vector<int> sizes = DistributeStack(stack, mainOf(avail), padding);
    int extent = StackExtent(stack, sizes, padding);
    bool stretches = std::any_of(stack.begin(), stack.end(), [](const StackItem& s) { return s.fixed <= 0; });
    const SIZE scroll = GetScrollPos();
    int along = (horizontal ? inner.left : inner.top) - mainOf(scroll);
    if (!stretches && extent < mainOf(avail)) {
      if (mainAlign == mainCentre) along += (mainOf(avail) - extent) / 2;
      if (mainAlign == mainEnd) along += mainOf(avail) - extent;
    }
    const int across0 = (horizontal ? inner.top : inner.left) - crossOf(scroll);
    int crossNeeded = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
      CControlUI* c = m_items[order[k]];
      RECT pad = c->GetPadding();
      const int padFrom = horizontal ? pad.top : pad.left;
      const int padTo = horizontal ? pad.bottom : pad.right;
      const int minCross = horizontal ? c->GetMinHeight() : c->GetMinWidth();
      const int maxCross = horizontal ? c->GetMaxHeight() : c->GetMaxWidth();
      int room = crossOf(avail) - padFrom - padTo;
      int length = crossOf(estimates[k]) > 0 ? crossOf(estimates[k]) : room;
      length = std::clamp(length, std::max(0, minCross), std::max(minCross, maxCross));
      int across = across0 + padFrom;
      if (crossAlign == crossCentre) across = across0 + padFrom + (room - length) / 2;
      if (crossAlign == crossEnd) across = across0 + crossOf(avail) - padTo - length;
      along += stack[k].padBefore;
      RECT placed = horizontal ? RECT{along, across, along + sizes[k], across + length}
                               : RECT{across, along, across + length, along + sizes[k]};
      c->SetPos(placed, bNeedInvalidate);
      along += sizes[k] + stack[k].padAfter + padding;
      crossNeeded = std::max<int>(crossNeeded, length + padFrom + padTo);
    }
    if (!(horizontal ? ProcessScrollBar(m_rcItem, extent, crossNeeded)
                     : ProcessScrollBar(m_rcItem, crossNeeded, extent)))
      break;
  }
  m_bUpdateNeeded = false;
}

}  // namespace ostrel
