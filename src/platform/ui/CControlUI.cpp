#include "platform/ui/CControlUI.h"

#include <cairo.h>

#include <cstdlib>
#include <cstring>

#include "platform/os/DebugLog.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"
#include "platform/ui/CResourceManager.h"

namespace ostrel {

namespace {
const CDuiString kEmpty;
}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
  if (m_pManager) m_pManager->ReapObjects(this);
}

void CControlUI::SetName(const char* pstrName) {
  CDuiString old = m_sName;
  m_sName = pstrName ? pstrName : "";
  if (m_pManager && old != m_sName) m_pManager->RenameControl(this, old);
}

void* CControlUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("Control") == 0) return this;
  return nullptr;
}

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

void CControlUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
  m_pManager = pManager;
  m_pParent = pParent;
  if (bInit && m_pParent) Init();
}

CDuiString CControlUI::GetText() const {
  if (!m_bResourceText) return m_sText;
  return CResourceManager::GetInstance()->GetText(m_sText);
}

void CControlUI::SetText(const char* pstrText) {
  CDuiString text(pstrText);
  if (m_sText == text) return;
  m_sText = text;
  Invalidate();
}

void CControlUI::SetResourceText(bool bResource) {
  if (m_bResourceText == bResource) return;
  m_bResourceText = bResource;
  Invalidate();
}

void CControlUI::SetBkColor(DWORD c) {
  if (m_dwBackColor == c) return;
  m_dwBackColor = c;
  Invalidate();
}
void CControlUI::SetBkColor2(DWORD c) {
  if (m_dwBackColor2 == c) return;
  m_dwBackColor2 = c;
  Invalidate();
}
void CControlUI::SetBkColor3(DWORD c) {
  if (m_dwBackColor3 == c) return;
  m_dwBackColor3 = c;
  Invalidate();
}
void CControlUI::SetBkImage(const char* pStrImage) {
  CDuiString image(pStrImage);
  if (m_sBkImage == image) return;
  m_sBkImage = image;
  Invalidate();
}
void CControlUI::SetForeImage(const char* pStrImage) {
  CDuiString image(pStrImage);
  if (m_sForeImage == image) return;
  m_sForeImage = image;
  Invalidate();
}
void CControlUI::SetForeColor(DWORD c) {
  if (m_dwForeColor == c) return;
  m_dwForeColor = c;
  Invalidate();
}
void CControlUI::SetBorderColor(DWORD c) {
  if (m_dwBorderColor == c) return;
  m_dwBorderColor = c;
  Invalidate();
}
void CControlUI::SetFocusBorderColor(DWORD c) {
  if (m_dwFocusBorderColor == c) return;
  m_dwFocusBorderColor = c;
  Invalidate();
}

int CControlUI::GetBorderSize() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_nBorderSize) : m_nBorderSize;
}

void CControlUI::SetBorderSize(int nSize) {
  m_nBorderSize = nSize;
  m_rcBorderSize = RECT{};
  Invalidate();
}

void CControlUI::SetBorderSize(RECT rc) {
  m_rcBorderSize = rc;
  m_nBorderSize = 0;
  Invalidate();
}

SIZE CControlUI::GetBorderRound() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_cxyBorderRound) : m_cxyBorderRound;
}

void CControlUI::SetBorderRound(SIZE cxyRound) {
  m_cxyBorderRound = cxyRound;
  Invalidate();
}

void CControlUI::SetColorHSL(bool bColorHSL) {
  if (m_bColorHSL == bColorHSL) return;
  m_bColorHSL = bColorHSL;
  Invalidate();
}

DWORD CControlUI::GetAdjustColor(DWORD dwColor) const {
  if (!m_bColorHSL || !CPaintManagerUI::IsUseHSL()) return dwColor;
  short H, S, L;
  CPaintManagerUI::GetHSL(&H, &S, &L);
  return CRenderEngine::AdjustColor(dwColor, H, S, L);
}

bool CControlUI::DrawImage(HDC hDC, const char* pStrImage, const char* pStrModify) {
  return CRenderEngine::DrawImageString(hDC, m_pManager, m_rcItem, m_rcPaint, pStrImage, pStrModify);
}

void CControlUI::SetPos(RECT rc, bool bNeedInvalidate) {
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  RECT old = m_rcItem;
  m_rcItem = rc;
  m_bUpdateNeeded = false;
  if (bNeedInvalidate && m_pManager && !EqualRect(old, rc) && IsVisible()) {
    m_pManager->Invalidate(old);
    m_pManager->Invalidate(rc);
  }
}

void CControlUI::Move(SIZE szOffset, bool bNeedInvalidate) {
  RECT rc = m_rcItem;
  OffsetRect(&rc, szOffset.cx, szOffset.cy);
  SetPos(rc, bNeedInvalidate);
}

RECT CControlUI::GetPadding() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_rcPadding) : m_rcPadding;
}

void CControlUI::SetPadding(RECT rcPadding) {
  m_rcPadding = rcPadding;
  NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const { return m_pManager ? m_pManager->GetDPIObj()->Scale(m_cXY) : m_cXY; }

void CControlUI::SetFixedXY(SIZE szXY) {
  m_cXY = szXY;
  m_rcFloat = RECT{szXY.cx, szXY.cy, szXY.cx + m_cxyFixed.cx, szXY.cy + m_cxyFixed.cy};
  NeedParentUpdate();
}

int CControlUI::GetFixedWidth() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_cxyFixed.cx) : m_cxyFixed.cx;
}

void CControlUI::SetFixedWidth(int cx) {
  if (cx < 0) return;
  m_cxyFixed.cx = cx;
  NeedParentUpdate();
}

int CControlUI::GetFixedHeight() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_cxyFixed.cy) : m_cxyFixed.cy;
}

void CControlUI::SetFixedHeight(int cy) {
  if (cy < 0) return;
  m_cxyFixed.cy = cy;
  NeedParentUpdate();
}

int CControlUI::GetMinWidth() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_cxyMin.cx) : m_cxyMin.cx;
}
void CControlUI::SetMinWidth(int cx) {
  if (cx < 0) return;
  m_cxyMin.cx = cx;
  NeedParentUpdate();
}
int CControlUI::GetMaxWidth() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_cxyMax.cx) : m_cxyMax.cx;
}
void CControlUI::SetMaxWidth(int cx) {
  if (cx < 0) return;
  m_cxyMax.cx = cx;
  NeedParentUpdate();
}
int CControlUI::GetMinHeight() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_cxyMin.cy) : m_cxyMin.cy;
}
void CControlUI::SetMinHeight(int cy) {
  if (cy < 0) return;
  m_cxyMin.cy = cy;
  NeedParentUpdate();
}
int CControlUI::GetMaxHeight() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_cxyMax.cy) : m_cxyMax.cy;
}
void CControlUI::SetMaxHeight(int cy) {
  if (cy < 0) return;
  m_cxyMax.cy = cy;
  NeedParentUpdate();
}

void CControlUI::SetFloatPos(RECT rc) {
  m_rcFloat = rc;
  m_cXY = SIZE{rc.left, rc.top};
  m_cxyFixed = SIZE{rc.right - rc.left, rc.bottom - rc.top};
  NeedParentUpdate();
}

SIZE CControlUI::EstimateSize(SIZE) { return SIZE{GetFixedWidth(), GetFixedHeight()}; }

CDuiString CControlUI::GetToolTip() const {
  if (!m_bResourceText || m_sToolTip.IsEmpty()) return m_sToolTip;
  return CResourceManager::GetInstance()->GetText(m_sToolTip);
}

void CControlUI::SetToolTip(const char* pstrText) { m_sToolTip = pstrText; }

void CControlUI::SetVisible(bool bVisible) {
  if (m_bVisible == bVisible) return;
  bool was = IsVisible();
  m_bVisible = bVisible;
  if (m_bFocused && !bVisible && m_pManager) m_pManager->SetFocus(nullptr);
  if (was != IsVisible()) {
    NeedParentUpdate();
    if (m_pManager && m_pParent == nullptr) m_pManager->Invalidate();
  }
}

void CControlUI::SetInternVisible(bool bVisible) {
  m_bInternVisible = bVisible;
  if (!bVisible && m_bFocused && m_pManager) m_pManager->SetFocus(nullptr);
}

void CControlUI::SetEnabled(bool bEnable) {
  if (m_bEnabled == bEnable) return;
  m_bEnabled = bEnable;
  if (!bEnable && m_bFocused && m_pManager) m_pManager->SetFocus(nullptr);
  Invalidate();
}

void CControlUI::SetFocus() {
  if (m_pManager) m_pManager->SetFocus(this);
}

void CControlUI::SetFloat(bool bFloat) {
  if (m_bFloat == bFloat) return;
  m_bFloat = bFloat;
  NeedParentUpdate();
}

const CDuiString& CControlUI::GetVirtualWnd() const {
  if (!m_sVirtualWnd.IsEmpty()) return m_sVirtualWnd;
  return m_pParent ? m_pParent->GetVirtualWnd() : kEmpty;
}

void CControlUI::SetVirtualWnd(const char* pstrValue) { m_sVirtualWnd = pstrValue; }

CControlUI* CControlUI::FindControl(FINDCONTROLPROC Proc, void* pData, UINT uFlags) {
  if ((uFlags & UIFIND_VISIBLE) && !IsVisible()) return nullptr;
  if ((uFlags & UIFIND_ENABLED) && !IsEnabled()) return nullptr;
  if ((uFlags & UIFIND_HITTEST) && (!m_bMouseEnabled || !PtInRect(m_rcItem, *static_cast<POINT*>(pData))))
    return nullptr;
  return Proc(this, pData);
}

void CControlUI::Invalidate() {
  if (!IsVisible() || !m_pManager) return;
  RECT rc = m_rcItem;
  // Only the part the parents show.
  for (CControlUI* p = m_pParent; p; p = p->GetParent()) {
    if (!IntersectRect(&rc, rc, p->GetPos())) return;
  }
  m_pManager->Invalidate(rc);
}

void CControlUI::NeedUpdate() {
  if (!IsVisible()) return;
  m_bUpdateNeeded = true;
  Invalidate();
  if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
  if (m_pParent) {
    m_pParent->NeedUpdate();
    m_pParent->Invalidate();
  } else {
    NeedUpdate();
  }
  if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::Init() {
  // Once per control: rows that move into a drop list are attached again later.
  if (m_bInited) return;
  m_bInited = true;
  DoInit();
}

void CControlUI::Event(TEventUI& event) {
  if (!OnEvent.empty()) {
    auto listeners = OnEvent;
    for (auto& listener : listeners)
      if (!listener(event)) return;
  }
  DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_SETCURSOR:
      return;
    case UIEVENT_SETFOCUS:
      m_bFocused = true;
      Invalidate();
      return;
    case UIEVENT_KILLFOCUS:
      m_bFocused = false;
      Invalidate();
      return;
    case UIEVENT_TIMER:
      if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_TIMER, event.wParam, event.lParam);
      return;
    case UIEVENT_CONTEXTMENU:
      if (IsContextMenuUsed()) {
        if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
        return;
      }
      break;
    default:
      break;
  }
  if (m_pParent) m_pParent->DoEvent(event);
}

void CControlUI::ReportUnknownAttribute(const char* pstrName) const {
  DebugPrintf("ui: unknown attribute '%s' on %s '%s'", pstrName, GetClass(), m_sName.GetData());
}

int CControlUI::ParseCursor(const char* pstrValue) {
  static constexpr struct {
    const char* name;
    int id;
  } kCursors[] = {{"arrow", 32512},    {"ibeam", 32513},  {"wait", 32514},   {"cross", 32515},
                  {"uparrow", 32516},  {"size", 32640},   {"icon", 32641},   {"sizenwse", 32642},
                  {"sizenesw", 32643}, {"sizewe", 32644}, {"sizens", 32645}, {"sizeall", 32646},
                  {"no", 32648},       {"hand", 32649}};
  for (const auto& c : kCursors)
    if (CDuiString(pstrValue).CompareNoCase(c.name) == 0) return c.id;
  return 0;
}

DWORD CControlUI::ParseColor(const char* pstrValue) {
  if (!pstrValue) return 0;
  while (*pstrValue == ' ') ++pstrValue;
  const char* hex = nullptr;
  if (*pstrValue == '#') {
    hex = pstrValue + 1;
  } else if (pstrValue[0] == '0' && (pstrValue[1] == 'x' || pstrValue[1] == 'X')) {
    hex = pstrValue + 2;
  }
  if (!hex) return static_cast<DWORD>(std::strtoul(pstrValue, nullptr, 10));
  char* end = nullptr;
  DWORD v = static_cast<DWORD>(std::strtoul(hex, &end, 16));
  // "#RRGGBB" is an opaque colour.
  if (pstrValue[0] == '#' && end - hex == 6) v |= 0xFF000000;
  return v;
}

RECT CControlUI::ParseRect(const char* pstrValue) {
  RECT rc;
  if (!pstrValue) return rc;
  char* end = nullptr;
  LONG* parts[4] = {&rc.left, &rc.top, &rc.right, &rc.bottom};
  const char* p = pstrValue;
  for (LONG* part : parts) {
    while (*p == ' ' || *p == ',') ++p;
    if (!*p) break;
    *part = static_cast<LONG>(std::strtol(p, &end, 10));
    if (end == p) break;
    p = end;
  }
  return rc;
}

SIZE CControlUI::ParseSize(const char* pstrValue) {
  SIZE s;
  if (!pstrValue) return s;
  char* end = nullptr;
  s.cx = static_cast<LONG>(std::strtol(pstrValue, &end, 10));
  while (*end == ' ' || *end == ',') ++end;
  s.cy = static_cast<LONG>(std::strtol(end, nullptr, 10));
  return s;
}

void CControlUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  const char* v = pstrValue ? pstrValue : "";
  auto is = [&](const char* n) { return name.CompareNoCase(n) == 0; };
  if (is("pos")) {
    RECT rc = ParseRect(v);
    SetFloatPos(rc);
  } else if (is("padding")) {
    SetPadding(ParseRect(v));
  } else if (is("bkcolor") || is("bkcolor1")) {
    SetBkColor(ParseColor(v));
  } else if (is("bkcolor2")) {
    SetBkColor2(ParseColor(v));
  } else if (is("bkcolor3")) {
    SetBkColor3(ParseColor(v));
  } else if (is("forecolor")) {
    SetForeColor(ParseColor(v));
  } else if (is("bordercolor")) {
    SetBorderColor(ParseColor(v));
  } else if (is("focusbordercolor")) {
    SetFocusBorderColor(ParseColor(v));
  } else if (is("colorhsl")) {
    SetColorHSL(ParseBool(v));
  } else if (is("bordersize")) {
    if (std::strchr(v, ',')) {
      SetBorderSize(ParseRect(v));
    } else {
      SetBorderSize(std::atoi(v));
    }
  } else if (is("leftbordersize") || is("topbordersize") || is("rightbordersize") || is("bottombordersize")) {
    RECT rc = m_rcBorderSize;
    int size = std::atoi(v);
    if (is("leftbordersize")) rc.left = size;
    if (is("topbordersize")) rc.top = size;
    if (is("rightbordersize")) rc.right = size;
    if (is("bottombordersize")) rc.bottom = size;
    SetBorderSize(rc);
  } else if (is("borderstyle")) {
    // Solid borders only; dashed styles are drawn solid.
  } else if (is("borderround")) {
    SetBorderRound(ParseSize(v));
  } else if (is("bkimage")) {
    SetBkImage(v);
  } else if (is("foreimage")) {
    SetForeImage(v);
  } else if (is("width")) {
    SetFixedWidth(std::atoi(v));
  } else if (is("height")) {
    SetFixedHeight(std::atoi(v));
  } else if (is("minwidth")) {
    SetMinWidth(std::atoi(v));
  } else if (is("minheight")) {
    SetMinHeight(std::atoi(v));
  } else if (is("maxwidth")) {
    SetMaxWidth(std::atoi(v));
  } else if (is("maxheight")) {
    SetMaxHeight(std::atoi(v));
  } else if (is("name")) {
    SetName(v);
  } else if (is("text")) {
    SetText(v);
  } else if (is("resourcetext")) {
    SetResourceText(ParseBool(v));
  } else if (is("tooltip")) {
    SetToolTip(v);
  } else if (is("tooltipwidth")) {
    SetToolTipWidth(std::atoi(v));
  } else if (is("usertooltiptitle")) {
    SetUserToolTipTitle(v);
  } else if (is("usertooltiptext")) {
    SetUserToolTipText(v);
  } else if (is("userdata")) {
    SetUserData(v);
  } else if (is("tag")) {
    SetTag(static_cast<UINT_PTR>(std::strtoull(v, nullptr, 10)));
  } else if (is("enabled")) {
    SetEnabled(ParseBool(v));
  } else if (is("mouse")) {
    SetMouseEnabled(ParseBool(v));
  } else if (is("keyboard")) {
    SetKeyboardEnabled(ParseBool(v));
  } else if (is("visible")) {
    SetVisible(ParseBool(v));
  } else if (is("float")) {
    SetFloat(ParseBool(v));
  } else if (is("shortcut")) {
    SetShortcut(v[0]);
  } else if (is("menu")) {
    SetContextMenuUsed(ParseBool(v));
  } else if (is("virtualwnd")) {
    SetVirtualWnd(v);
  } else if (is("cursor")) {
    int cursor = ParseCursor(v);
    if (cursor) {
      SetCursor(cursor);
    } else {
      DebugPrintf("ui: unknown cursor '%s' on %s '%s'", v, GetClass(), m_sName.GetData());
    }
  } else if (is("style")) {
    const char* style = m_pManager ? m_pManager->GetStyle(v) : nullptr;
    if (style) {
      ApplyAttributeList(style);
    } else {
      DebugPrintf("ui: unknown style '%s' on %s '%s'", v, GetClass(), m_sName.GetData());
    }
  } else {
    ReportUnknownAttribute(pstrName);
  }
}

CControlUI* CControlUI::ApplyAttributeList(const char* pstrList) {
  if (!pstrList) return this;
  const char* p = pstrList;
  while (*p) {
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
    if (!*p) break;
    const char* nameStart = p;
    while (*p && *p != '=' && *p != ' ') ++p;
    std::string name(nameStart, p);
    while (*p == ' ') ++p;
    if (*p != '=') break;
    ++p;
    while (*p == ' ') ++p;
    char quote = *p;
    if (quote != '"' && quote != '\'') break;
    ++p;
    const char* valueStart = p;
    while (*p && *p != quote) ++p;
    std::string value(valueStart, p);
    if (*p) ++p;
    SetAttribute(name.c_str(), value.c_str());
  }
  return this;
}

bool CControlUI::Paint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) {
  if (pStopControl == this) return false;
  return DoPaint(hDC, rcPaint, pStopControl);
}

bool CControlUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* /*pStopControl*/) {
  if (!IntersectRect(&m_rcPaint, rcPaint, m_rcItem)) return true;
  SIZE round = GetBorderRound();
  bool rounded = round.cx > 0 && round.cy > 0;
  if (rounded) {
    cairo_save(hDC);
    CRenderEngine::ClipRoundRect(hDC, m_rcItem, round.cx, round.cy);
  }
  PaintBkColor(hDC);
  PaintBkImage(hDC);
  PaintStatusImage(hDC);
  PaintForeColor(hDC);
  PaintForeImage(hDC);
  PaintText(hDC);
  if (rounded) cairo_restore(hDC);
  PaintBorder(hDC);
  return true;
}

void CControlUI::PaintBkColor(HDC hDC) {
  if (m_dwBackColor == 0) return;
  if (m_dwBackColor2 != 0) {
    if (m_dwBackColor3 != 0) {
      RECT top = m_rcItem;
      top.bottom = (m_rcItem.top + m_rcItem.bottom) / 2;
      RECT bottom = m_rcItem;
      bottom.top = top.bottom;
      CRenderEngine::DrawGradient(hDC, top, GetAdjustColor(m_dwBackColor), GetAdjustColor(m_dwBackColor2),
                                  true);
      CRenderEngine::DrawGradient(hDC, bottom, GetAdjustColor(m_dwBackColor2), GetAdjustColor(m_dwBackColor3),
                                  true);
    } else {
      CRenderEngine::DrawGradient(hDC, m_rcItem, GetAdjustColor(m_dwBackColor),
                                  GetAdjustColor(m_dwBackColor2), true);
    }
    return;
  }
  CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwBackColor));
}

void CControlUI::PaintBkImage(HDC hDC) {
  if (m_sBkImage.IsEmpty()) return;
  DrawImage(hDC, m_sBkImage);
}

void CControlUI::PaintStatusImage(HDC) {}

void CControlUI::PaintForeColor(HDC hDC) {
  if (m_dwForeColor == 0) return;
  CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwForeColor));
}

void CControlUI::PaintForeImage(HDC hDC) {
  if (m_sForeImage.IsEmpty()) return;
  DrawImage(hDC, m_sForeImage);
}

void CControlUI::PaintText(HDC) {}

void CControlUI::PaintBorder(HDC hDC) {
  DWORD color = (m_bFocused && m_dwFocusBorderColor != 0) ? m_dwFocusBorderColor : m_dwBorderColor;
  if (color == 0) return;
  color = GetAdjustColor(color);
  SIZE round = GetBorderRound();
  int size = GetBorderSize();
  if (size > 0) {
    if (round.cx > 0 || round.cy > 0) {
      CRenderEngine::DrawRoundRect(hDC, m_rcItem, round.cx, round.cy, size, color);
    } else {
      CRenderEngine::DrawRect(hDC, m_rcItem, size, color);
    }
    return;
  }
  RECT sides = m_pManager ? m_pManager->GetDPIObj()->Scale(m_rcBorderSize) : m_rcBorderSize;
  const RECT& r = m_rcItem;
  if (sides.left > 0)
    CRenderEngine::DrawColor(hDC, RECT{r.left, r.top, r.left + sides.left, r.bottom}, color);
  if (sides.top > 0) CRenderEngine::DrawColor(hDC, RECT{r.left, r.top, r.right, r.top + sides.top}, color);
  if (sides.right > 0)
    CRenderEngine::DrawColor(hDC, RECT{r.right - sides.right, r.top, r.right, r.bottom}, color);
  if (sides.bottom > 0)
    CRenderEngine::DrawColor(hDC, RECT{r.left, r.bottom - sides.bottom, r.right, r.bottom}, color);
}

}  // namespace ostrel
