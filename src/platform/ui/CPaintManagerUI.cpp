#include "platform/ui/CPaintManagerUI.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>

#include "platform/os/DebugLog.h"
#include "platform/os/SpecialFolders.h"
#include "platform/ui/CControlUI.h"
#include "platform/ui/CMessageLoop.h"
#include "platform/ui/CRenderEngine.h"
#include "platform/ui/CResourceManager.h"
#include "platform/ui/WindowApi.h"

namespace ostrel {

void* CPaintManagerUI::s_hInstance = nullptr;
CDuiString CPaintManagerUI::s_resourcePath;
int CPaintManagerUI::s_resourceType = 1;
bool CPaintManagerUI::s_bUseHSL = false;
short CPaintManagerUI::s_H = 180;
short CPaintManagerUI::s_S = 100;
short CPaintManagerUI::s_L = 100;

namespace {

constexpr double kHalfPi = 1.57079632679489661923;

// Window timer ids of the paint manager itself, far above control timers.
constexpr UINT_PTR kHoverTimerId = 0x7FFF0001;
// Posted to run queued asynchronous notifications; a registered number so
// it never meets a message of the program's own.
UINT AsyncNotifyMessage() {
  static const UINT number = CMessageLoop::Instance().RegisterWindowMessage("ostrel.ui.async-notify");
  return number;
}

std::vector<CPaintManagerUI*>& Managers() {
  static std::vector<CPaintManagerUI*> managers;
  return managers;
}

struct SharedResources {
  std::map<int, TFontInfo> fonts;
  TFontInfo defaultFont;
  bool hasDefaultFont = false;
  std::map<CDuiString, CDuiString> defaultAttrs;
  std::map<CDuiString, CDuiString> styles;
  std::unordered_map<std::string, TImageInfo*> images;
  std::unordered_map<std::string, TDrawInfo> drawInfos;
};

SharedResources& Shared() {
  static SharedResources* shared = new SharedResources();  // lives for the whole process
  return *shared;
}

CControlUI* FindByPoint(CControlUI* c, void* data) {
  const POINT* pt = static_cast<const POINT*>(data);
  return PtInRect(c->GetPos(), *pt) ? c : nullptr;
}

struct NameQuery {
  const char* name;
};
CControlUI* FindByName(CControlUI* c, void* data) {
  return c->GetName() == static_cast<NameQuery*>(data)->name ? c : nullptr;
}

struct ClassQuery {
  const char* cls;
  int index;
  std::vector<CControlUI*>* all;
};
CControlUI* FindByClass(CControlUI* c, void* data) {
  auto* q = static_cast<ClassQuery*>(data);
  if (CDuiString(c->GetClass()).CompareNoCase(q->cls) != 0) return nullptr;
  if (q->all) {
    q->all->push_back(c);
    return nullptr;
  }
  return q->index-- == 0 ? c : nullptr;
}

struct NameMapFill {
  std::unordered_map<CDuiString, CControlUI*>* names;
};
CControlUI* AddToNameMap(CControlUI* c, void* data) {
  auto* fill = static_cast<NameMapFill*>(data);
  CDuiString name = c->GetName();
  if (!name.IsEmpty()) fill->names->emplace(name, c);
  return nullptr;
}

struct CollectAll {
  std::vector<CControlUI*>* out;
};
CControlUI* Collect(CControlUI* c, void* data) {
  static_cast<CollectAll*>(data)->out->push_back(c);
  return nullptr;
}

CControlUI* FindUpdateNeeded(CControlUI* c, void* data) {
  if (c->IsUpdateNeeded()) static_cast<std::vector<CControlUI*>*>(data)->push_back(c);
  return nullptr;
}

std::string ImageKey(const char* bitmap, const char* type, DWORD mask, bool hsl) {
  std::string key(bitmap ? bitmap : "");
  key += '|';
  key += type ? type : "";
  key += '|';
  key += std::to_string(mask);
  if (hsl) key += "|hsl";
  return key;
}

}  // namespace

CPaintManagerUI::CPaintManagerUI() { Managers().push_back(this); }

CPaintManagerUI::~CPaintManagerUI() {
  RemoveAllTimers();
  for (CControlUI* c : m_delayedCleanup) delete c;
  m_delayedCleanup.clear();
  CControlUI* root = m_pRoot;
  m_pRoot = nullptr;
  delete root;
  for (auto& [id, desc] : m_fontCache) pango_font_description_free(desc);
  if (!m_fontCache.empty()) CRenderEngine::ClearTextCache();
  if (m_frame) cairo_surface_destroy(m_frame);
  auto& all = Managers();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

void CPaintManagerUI::Init(HWND hWnd, const char* pstrName) {
  m_hWndPaint = hWnd;
  m_sName = pstrName ? pstrName : "";
  static bool hooked = false;
  if (!hooked) {
    hooked = true;
    CMessageLoop::Instance().SetPreTranslate([](const MSG& msg) { return TranslateMessage(&msg); });
  }
}

CDuiString CPaintManagerUI::GetInstancePath() { return CDuiString(ProgramFolder()); }

void CPaintManagerUI::SetResourcePath(const char* pStrPath) {
  std::string path = ToNativePath(pStrPath ? pStrPath : "");
  if (!path.empty() && path.back() != '/') path += '/';
  s_resourcePath = path;
}

CDuiString CPaintManagerUI::ResolveResourceFile(const char* pstrName) {
  std::string name = ToNativePath(pstrName ? pstrName : "");
  if (name.empty() || name.front() == '/') return CDuiString(name);
  return CDuiString(s_resourcePath.str() + name);
}

std::vector<CPaintManagerUI*> CPaintManagerUI::GetPaintManagers() { return Managers(); }

CPaintManagerUI* CPaintManagerUI::GetPaintManager(const char* pstrName) {
  for (CPaintManagerUI* pm : Managers())
    if (pm->m_sName == pstrName) return pm;
  return nullptr;
}

SIZE CPaintManagerUI::GetClientSize() const {
  RECT rc{};
  if (!ostrel::GetClientRect(m_hWndPaint, &rc)) return SIZE{};
  return SIZE{rc.right, rc.bottom};
}

SIZE CPaintManagerUI::GetInitSize() const { return m_dpi.Scale(m_szInitWindow); }

void CPaintManagerUI::SetInitSize(int cx, int cy) {
  m_szInitWindow = SIZE{cx, cy};
  if (!m_pRoot && m_hWndPaint) {
    SIZE s = GetInitSize();
    ostrel::SetWindowPos(m_hWndPaint, nullptr, 0, 0, s.cx, s.cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
}

RECT CPaintManagerUI::GetSizeBox() const { return m_dpi.Scale(m_rcSizeBox); }
RECT CPaintManagerUI::GetCaptionRect() const { return m_dpi.Scale(m_rcCaption); }
SIZE CPaintManagerUI::GetRoundCorner() const { return m_dpi.Scale(m_szRoundCorner); }
SIZE CPaintManagerUI::GetMinInfo() const { return m_dpi.Scale(m_szMinWindow); }
SIZE CPaintManagerUI::GetMaxInfo() const { return m_dpi.Scale(m_szMaxWindow); }

void CPaintManagerUI::SetDPI(int iDPI) {
  int old = m_dpi.GetDPI();
  if (old == iDPI || !m_dpi.SetDPI(iDPI)) return;
  ResetDPIAssets();
  if (m_hWndPaint) {
    RECT rc{};
    ostrel::GetWindowRect(m_hWndPaint, &rc);
    int w = (rc.right - rc.left) * iDPI / old;
    int h = (rc.bottom - rc.top) * iDPI / old;
    ostrel::SetWindowPos(m_hWndPaint, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
  if (m_pRoot) m_pRoot->NeedUpdate();
  NeedUpdate();
  Invalidate();
}

void CPaintManagerUI::SetAllDPI(int iDPI) {
  for (CPaintManagerUI* pm : Managers()) pm->SetDPI(iDPI);
}

void CPaintManagerUI::ResetDPIAssets() {
  for (auto& [id, desc] : m_fontCache) pango_font_description_free(desc);
  m_fontCache.clear();
  CRenderEngine::ClearTextCache();
  if (m_pRoot) m_pRoot->NeedUpdate();
  Invalidate();
}

void CPaintManagerUI::SetHSL(bool bUseHSL, short H, short S, short L) {
  if (s_bUseHSL == bUseHSL && s_H == H && s_S == S && s_L == L) return;
  s_bUseHSL = bUseHSL;
  s_H = std::clamp<short>(H, 0, 360);
  s_S = std::clamp<short>(S, 0, 200);
  s_L = std::clamp<short>(L, 0, 200);
  // Adjusted images are made again with the new values.
  auto& images = Shared().images;
  for (auto it = images.begin(); it != images.end();) {
    if (it->first.size() > 4 && it->first.compare(it->first.size() - 4, 4, "|hsl") == 0) {
      CRenderEngine::FreeImage(it->second);
      it = images.erase(it);
    } else {
      ++it;
    }
  }
  for (CPaintManagerUI* pm : Managers()) pm->Invalidate();
}

void CPaintManagerUI::GetHSL(short* H, short* S, short* L) {
  if (H) *H = s_H;
  if (S) *S = s_S;
  if (L) *L = s_L;
}

void CPaintManagerUI::SetDefaultFont(const char* pStrFontName, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic, bool bShared) {
  TFontInfo f{pStrFontName ? pStrFontName : "", nSize > 0 ? nSize : 12, bBold, bUnderline, bItalic};
  if (bShared) {
    Shared().defaultFont = f;
    Shared().hasDefaultFont = true;
    for (CPaintManagerUI* pm : Managers()) pm->ResetDPIAssets();
  } else {
    m_defaultFont = f;
    m_bHasDefaultFont = true;
    ResetDPIAssets();
  }
}

bool CPaintManagerUI::AddFont(int id, const char* pStrFontName, int nSize, bool bBold, bool bUnderline,
                              bool bItalic, bool bShared) {
  TFontInfo f{pStrFontName ? pStrFontName : "", nSize > 0 ? nSize : 12, bBold, bUnderline, bItalic};
  if (bShared) {
    Shared().fonts[id] = f;
    for (CPaintManagerUI* pm : Managers()) pm->ResetDPIAssets();
  } else {
    m_fonts[id] = f;
    ResetDPIAssets();
  }
  return true;
}

bool CPaintManagerUI::RemoveFont(int id, bool bShared) {
  bool removed = bShared ? Shared().fonts.erase(id) > 0 : m_fonts.erase(id) > 0;
  if (removed) {
    if (bShared) {
      for (CPaintManagerUI* pm : Managers()) pm->ResetDPIAssets();
    } else {
      ResetDPIAssets();
    }
  }
  return removed;
}

void CPaintManagerUI::RemoveAllFonts(bool bShared) {
  if (bShared) {
    Shared().fonts.clear();
    for (CPaintManagerUI* pm : Managers()) pm->ResetDPIAssets();
  } else {
    m_fonts.clear();
    ResetDPIAssets();
  }
}

const TFontInfo* CPaintManagerUI::GetFontInfo(int id) const {
  if (id >= 0) {
    auto it = m_fonts.find(id);
    if (it != m_fonts.end()) return &it->second;
    auto sit = Shared().fonts.find(id);
    if (sit != Shared().fonts.end()) return &sit->second;
  }
  return GetDefaultFontInfo();
}

const TFontInfo* CPaintManagerUI::GetDefaultFontInfo() const {
  static const TFontInfo builtin{"", 12, false, false, false};
  if (m_bHasDefaultFont) return &m_defaultFont;
  if (Shared().hasDefaultFont) return &Shared().defaultFont;
  return &builtin;
}

_PangoFontDescription* CPaintManagerUI::GetFontDescription(int id) {
  const TFontInfo* info = GetFontInfo(id);
  // Ids that fall back to the default share one description.
  int key = (info == GetDefaultFontInfo()) ? -1 : id;
  auto it = m_fontCache.find(key);
  if (it != m_fontCache.end()) return it->second;
  PangoFontDescription* desc = pango_font_description_new();
  // The named face first; fontconfig supplies glyphs it lacks (CJK, Thai).
  std::string family = info->sFontName.str();
  family += family.empty() ? "DejaVu Sans" : ",DejaVu Sans";
  pango_font_description_set_family(desc, family.c_str());
  pango_font_description_set_absolute_size(desc, static_cast<double>(m_dpi.Scale(info->iSize)) * PANGO_SCALE);
  pango_font_description_set_weight(desc, info->bBold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(desc, info->bItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  m_fontCache[key] = desc;
  return desc;
}

const TImageInfo* CPaintManagerUI::GetImageEx(const char* bitmap, const char* type, DWORD mask,
                                              bool bUseHSL) {
  if (!bitmap || !*bitmap) return nullptr;
  bool hsl = bUseHSL && s_bUseHSL;
  std::string key = ImageKey(bitmap, type, mask, hsl);
  auto& images = Shared().images;
  auto it = images.find(key);
  if (it != images.end()) return it->second;
  CDuiString name = bitmap;
  CDuiString mapped = CResourceManager::GetInstance()->GetImagePath(bitmap);
  if (!mapped.IsEmpty()) name = mapped;
  CDuiString path = ResolveResourceFile(name);
  TImageInfo* info = CRenderEngine::LoadImage(path, type, mask);
  if (info && hsl) CRenderEngine::AdjustImage(true, info, s_H, s_S, s_L);
  images[key] = info;  // a failure is remembered too: no retry on every paint
  return info;
}

void CPaintManagerUI::RemoveImage(const char* bitmap) {
  auto& images = Shared().images;
  std::string prefix = std::string(bitmap ? bitmap : "") + "|";
  for (auto it = images.begin(); it != images.end();) {
    if (it->first.compare(0, prefix.size(), prefix) == 0) {
      CRenderEngine::FreeImage(it->second);
      it = images.erase(it);
    } else {
      ++it;
    }
  }
}

void CPaintManagerUI::RemoveAllImages() {
  for (auto& [k, info] : Shared().images) CRenderEngine::FreeImage(info);
  Shared().images.clear();
  for (CPaintManagerUI* pm : Managers()) pm->Invalidate();
}

const TDrawInfo& CPaintManagerUI::GetDrawInfo(const char* image, const char* modify) {
  std::string key(image ? image : "");
  if (modify && *modify) {
    key += '\x1e';
    key += modify;
  }
  auto& infos = Shared().drawInfos;
  auto it = infos.find(key);
  if (it != infos.end()) return it->second;
  if (infos.size() > 20000) infos.clear();  // descriptions built on the fly must not grow without end
  return infos.emplace(key, TDrawInfo::Parse(image, modify)).first->second;
}

void CPaintManagerUI::AddDefaultAttributeList(const char* pStrControlName, const char* pStrControlAttrList,
                                              bool bShared) {
  auto& map = bShared ? Shared().defaultAttrs : m_defaultAttrs;
  map[pStrControlName] = pStrControlAttrList ? pStrControlAttrList : "";
}

const char* CPaintManagerUI::GetDefaultAttributeList(const char* pStrControlName) const {
  auto it = m_defaultAttrs.find(pStrControlName);
  if (it != m_defaultAttrs.end()) return it->second;
  auto sit = Shared().defaultAttrs.find(pStrControlName);
  if (sit != Shared().defaultAttrs.end()) return sit->second;
  return nullptr;
}

bool CPaintManagerUI::RemoveDefaultAttributeList(const char* pStrControlName, bool bShared) {
  auto& map = bShared ? Shared().defaultAttrs : m_defaultAttrs;
  return map.erase(pStrControlName) > 0;
}

void CPaintManagerUI::RemoveAllDefaultAttributeList(bool bShared) {
  (bShared ? Shared().defaultAttrs : m_defaultAttrs).clear();
}

void CPaintManagerUI::AddStyle(const char* pName, const char* pStyle, bool bShared) {
  auto& map = bShared ? Shared().styles : m_styles;
  map[pName] = pStyle ? pStyle : "";
}

const char* CPaintManagerUI::GetStyle(const char* pName) const {
  auto it = m_styles.find(pName);
  if (it != m_styles.end()) return it->second;
  auto sit = Shared().styles.find(pName);
  if (sit != Shared().styles.end()) return sit->second;
  return nullptr;
}

bool CPaintManagerUI::RemoveStyle(const char* pName, bool bShared) {
  return (bShared ? Shared().styles : m_styles).erase(pName) > 0;
}

void CPaintManagerUI::RemoveAllStyle(bool bShared) { (bShared ? Shared().styles : m_styles).clear(); }

void CPaintManagerUI::AddWindowCustomAttribute(const char* pstrName, const char* pstrAttr) {
  m_customAttrs[pstrName] = pstrAttr ? pstrAttr : "";
}

const char* CPaintManagerUI::GetWindowCustomAttribute(const char* pstrName) const {
  auto it = m_customAttrs.find(pstrName);
  return it == m_customAttrs.end() ? nullptr : it->second.GetData();
}

bool CPaintManagerUI::AttachDialog(CControlUI* pControl) {
  if (!pControl) return false;
  SetFocus(nullptr);
  m_pEventKey = m_pEventHover = m_pEventClick = nullptr;
  if (m_pRoot && m_pRoot != pControl) {
    CControlUI* old = m_pRoot;
    m_pRoot = nullptr;
    delete old;
  }
  m_pRoot = pControl;
  m_bUpdateNeeded = true;
  m_bFirstLayout = true;
  return InitControls(pControl);
}

bool CPaintManagerUI::InitControls(CControlUI* pControl, CControlUI* pParent) {
  if (!pControl) return false;
  pControl->SetManager(this, pParent ? pParent : pControl->GetParent(), true);
  NameMapFill fill{&m_names};
  pControl->FindControl(AddToNameMap, &fill, UIFIND_ALL);
  return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* pControl) {
  if (!pControl) return;
  if (pControl == m_pEventKey) m_pEventKey = nullptr;
  if (pControl == m_pEventHover) m_pEventHover = nullptr;
  if (pControl == m_pEventClick) m_pEventClick = nullptr;
  if (pControl == m_pFocus) m_pFocus = nullptr;
  if (pControl == m_pToolTipControl) m_pToolTipControl = nullptr;
  KillTimer(pControl);
  CDuiString name = pControl->GetName();
  if (!name.IsEmpty()) {
    auto it = m_names.find(name);
    if (it != m_names.end() && it->second == pControl) m_names.erase(it);
  }
  for (auto& [group, members] : m_groups)
    members.erase(std::remove(members.begin(), members.end(), pControl), members.end());
  m_asyncNotify.erase(std::remove_if(m_asyncNotify.begin(), m_asyncNotify.end(),
                                     [&](const TNotifyUI& n) { return n.pSender == pControl; }),
                      m_asyncNotify.end());
  if (pControl == m_pRoot) m_pRoot = nullptr;
}

void CPaintManagerUI::RenameControl(CControlUI* pControl, const CDuiString& oldName) {
  if (!oldName.IsEmpty()) {
    auto it = m_names.find(oldName);
    if (it != m_names.end() && it->second == pControl) m_names.erase(it);
  }
  CDuiString name = pControl->GetName();
  if (!name.IsEmpty()) m_names.emplace(name, pControl);
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* pControl) {
  if (!pControl) return;
  pControl->SetManager(this, nullptr, false);
  m_delayedCleanup.push_back(pControl);
  ostrel::PostMessage(m_hWndPaint, AsyncNotifyMessage(), 0, 0);
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
  if (!m_pRoot) return nullptr;
  return m_pRoot->FindControl(FindByPoint, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindControl(const char* pstrName) const {
  if (!pstrName) return nullptr;
  auto it = m_names.find(CDuiString(pstrName));
  return it == m_names.end() ? nullptr : it->second;
}

CControlUI* CPaintManagerUI::FindSubControlByPoint(CControlUI* pParent, POINT pt) const {
  if (!pParent) pParent = m_pRoot;
  if (!pParent) return nullptr;
  return pParent->FindControl(FindByPoint, &pt, UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* pParent, const char* pstrName) const {
  if (!pParent) pParent = m_pRoot;
  if (!pParent || !pstrName) return nullptr;
  NameQuery q{pstrName};
  return pParent->FindControl(FindByName, &q, UIFIND_ALL);
}

CControlUI* CPaintManagerUI::FindSubControlByClass(CControlUI* pParent, const char* pstrClass, int iIndex) {
  if (!pParent) pParent = m_pRoot;
  if (!pParent || !pstrClass) return nullptr;
  ClassQuery q{pstrClass, iIndex, nullptr};
  return pParent->FindControl(FindByClass, &q, UIFIND_ALL);
}

std::vector<CControlUI*> CPaintManagerUI::FindSubControlsByClass(CControlUI* pParent, const char* pstrClass) {
  std::vector<CControlUI*> out;
  if (!pParent) pParent = m_pRoot;
  if (!pParent || !pstrClass) return out;
  ClassQuery q{pstrClass, 0, &out};
  pParent->FindControl(FindByClass, &q, UIFIND_ALL);
  return out;
}

bool CPaintManagerUI::AddOptionGroup(const char* pStrGroupName, CControlUI* pControl) {
  auto& members = m_groups[pStrGroupName];
  if (std::find(members.begin(), members.end(), pControl) != members.end()) return false;
  members.push_back(pControl);
  return true;
}

const std::vector<CControlUI*>* CPaintManagerUI::GetOptionGroup(const char* pStrGroupName) const {
  auto it = m_groups.find(pStrGroupName);
  return it == m_groups.end() ? nullptr : &it->second;
}

void CPaintManagerUI::RemoveOptionGroup(const char* pStrGroupName, CControlUI* pControl) {
  auto it = m_groups.find(pStrGroupName);
  if (it == m_groups.end()) return;
  auto& members = it->second;
  members.erase(std::remove(members.begin(), members.end(), pControl), members.end());
  if (members.empty()) m_groups.erase(it);
}

void CPaintManagerUI::RemoveAllOptionGroups() { m_groups.clear(); }

void CPaintManagerUI::SetFocus(CControlUI* pControl, bool) {
  if (pControl == m_pFocus) return;
  if (pControl && (pControl->GetManager() != this || !pControl->IsVisible() || !pControl->IsEnabled()))
    return;
  if (m_pFocus) {
    CControlUI* old = m_pFocus;
    TEventUI event;
    event.Type = UIEVENT_KILLFOCUS;
    event.pSender = pControl;
    event.dwTimestamp = ostrel::GetTickCount();
    old->Event(event);
    if (m_pFocus == old) {
      m_pFocus = nullptr;
      SendNotify(old, DUI_MSGTYPE_KILLFOCUS);
    }
  }
  if (!pControl || pControl->GetManager() != this) return;
  m_pFocus = pControl;
  TEventUI event;
  event.Type = UIEVENT_SETFOCUS;
  event.pSender = pControl;
  event.dwTimestamp = ostrel::GetTickCount();
  pControl->Event(event);
  if (m_pFocus == pControl) SendNotify(pControl, DUI_MSGTYPE_SETFOCUS);
}

bool CPaintManagerUI::SetNextTabControl(bool bForward) {
  if (!m_pRoot) return false;
  std::vector<CControlUI*> all;
  CollectAll collect{&all};
  m_pRoot->FindControl(Collect, &collect, UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
  std::vector<CControlUI*> stops;
  for (CControlUI* c : all)
    if ((c->GetControlFlags() & UIFLAG_TABSTOP) && c->IsKeyboardEnabled()) stops.push_back(c);
  if (stops.empty()) return false;
  auto it = std::find(stops.begin(), stops.end(), m_pFocus);
  std::size_t next;
  if (it == stops.end()) {
    next = bForward ? 0 : stops.size() - 1;
  } else {
    std::size_t i = static_cast<std::size_t>(it - stops.begin());
    next = bForward ? (i + 1) % stops.size() : (i + stops.size() - 1) % stops.size();
  }
  SetFocus(stops[next]);
  return true;
}

void CPaintManagerUI::SetCapture() {
  CMessageLoop::Instance().Backend()->SetMouseCapture(m_hWndPaint, true);
  m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture() {
  CMessageLoop::Instance().Backend()->SetMouseCapture(m_hWndPaint, false);
  m_bMouseCapture = false;
}

bool CPaintManagerUI::SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse) {
  if (!pControl || !m_hWndPaint) return false;
  for (TimerInfo& t : m_timers) {
    if (t.pSender == pControl && t.nId == nTimerID) {
      return CMessageLoop::Instance().SetTimer(m_hWndPaint, t.uWinTimer, uElapse) != 0;
    }
  }
  UINT win = m_uNextTimerId++;
  if (m_uNextTimerId >= 0x7FFF0000) m_uNextTimerId = 0x1000;
  if (!CMessageLoop::Instance().SetTimer(m_hWndPaint, win, uElapse)) return false;
  m_timers.push_back(TimerInfo{pControl, nTimerID, win});
  return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* pControl, UINT nTimerID) {
  for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
    if (it->pSender == pControl && it->nId == nTimerID) {
      CMessageLoop::Instance().KillTimer(m_hWndPaint, it->uWinTimer);
      m_timers.erase(it);
      return true;
    }
  }
  return false;
}

void CPaintManagerUI::KillTimer(CControlUI* pControl) {
  for (auto it = m_timers.begin(); it != m_timers.end();) {
    if (it->pSender == pControl) {
      CMessageLoop::Instance().KillTimer(m_hWndPaint, it->uWinTimer);
      it = m_timers.erase(it);
    } else {
      ++it;
    }
  }
}

void CPaintManagerUI::RemoveAllTimers() {
  for (TimerInfo& t : m_timers) CMessageLoop::Instance().KillTimer(m_hWndPaint, t.uWinTimer);
  m_timers.clear();
}

bool CPaintManagerUI::HasTimer(CControlUI* pControl, UINT nTimerID) const {
  return std::any_of(m_timers.begin(), m_timers.end(),
                     [&](const TimerInfo& t) { return t.pSender == pControl && t.nId == nTimerID; });
}

bool CPaintManagerUI::AddNotifier(INotifyUI* pNotifier) {
  if (!pNotifier || std::find(m_notifiers.begin(), m_notifiers.end(), pNotifier) != m_notifiers.end())
    return false;
  m_notifiers.push_back(pNotifier);
  return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* pNotifier) {
  auto it = std::find(m_notifiers.begin(), m_notifiers.end(), pNotifier);
  if (it == m_notifiers.end()) return false;
  m_notifiers.erase(it);
  return true;
}

void CPaintManagerUI::SendNotify(CControlUI* pControl, const char* pstrMessage, WPARAM wParam, LPARAM lParam,
                                 bool bAsync) {
  TNotifyUI msg;
  msg.pSender = pControl;
  msg.sType = pstrMessage;
  msg.wParam = wParam;
  msg.lParam = lParam;
  SendNotify(msg, bAsync);
}

void CPaintManagerUI::SendNotify(TNotifyUI& Msg, bool bAsync) {
  Msg.ptMouse = m_ptLastMousePos;
  Msg.dwTimestamp = ostrel::GetTickCount();
  if (Msg.pSender && Msg.sVirtualWnd.IsEmpty()) Msg.sVirtualWnd = Msg.pSender->GetVirtualWnd();
  if (bAsync) {
    m_asyncNotify.push_back(Msg);
    ostrel::PostMessage(m_hWndPaint, AsyncNotifyMessage(), 0, 0);
    return;
  }
  if (Msg.pSender) {
    // Listeners of the control first; a false answer keeps the window from seeing it.
    auto listeners = Msg.pSender->OnNotify;
    for (auto& listener : listeners)
      if (!listener(Msg)) return;
  }
  auto notifiers = m_notifiers;  // a handler may add or remove notifiers
  for (INotifyUI* n : notifiers)
    if (std::find(m_notifiers.begin(), m_notifiers.end(), n) != m_notifiers.end()) n->Notify(Msg);
}

void CPaintManagerUI::ProcessAsyncNotify() {
  for (CControlUI* c : m_delayedCleanup) delete c;
  m_delayedCleanup.clear();
  std::vector<TNotifyUI> pending;
  pending.swap(m_asyncNotify);
  for (TNotifyUI& msg : pending) {
    if (msg.pSender) {
      auto listeners = msg.pSender->OnNotify;
      bool stop = false;
      for (auto& listener : listeners)
        if (!listener(msg)) stop = true;
      if (stop) continue;
    }
    auto notifiers = m_notifiers;
    for (INotifyUI* n : notifiers) n->Notify(msg);
  }
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* pFilter) {
  if (!pFilter || std::find(m_preFilters.begin(), m_preFilters.end(), pFilter) != m_preFilters.end())
    return false;
  m_preFilters.push_back(pFilter);
  return true;
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* pFilter) {
  auto it = std::find(m_preFilters.begin(), m_preFilters.end(), pFilter);
  if (it == m_preFilters.end()) return false;
  m_preFilters.erase(it);
  return true;
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* pFilter) {
  if (!pFilter || std::find(m_filters.begin(), m_filters.end(), pFilter) != m_filters.end()) return false;
  m_filters.push_back(pFilter);
  return true;
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* pFilter) {
  auto it = std::find(m_filters.begin(), m_filters.end(), pFilter);
  if (it == m_filters.end()) return false;
  m_filters.erase(it);
  return true;
}

void CPaintManagerUI::Invalidate() {
  SIZE s = GetClientSize();
  m_dirty.clear();
  m_dirty.push_back(RECT{0, 0, s.cx, s.cy});
  if (m_hWndPaint) CMessageLoop::Instance().InvalidateWindow(m_hWndPaint);
}

void CPaintManagerUI::Invalidate(const RECT& rcItem) {
  if (IsRectEmpty(rcItem)) return;
  SIZE s = GetClientSize();
  RECT r;
  if (!IntersectRect(&r, rcItem, RECT{0, 0, s.cx, s.cy})) return;
  // Merge with a rectangle it touches; keep the list short.
  for (RECT& d : m_dirty) {
    RECT i;
    if (IntersectRect(&i, d, r) || EqualRect(d, r)) {
      UnionRect(&d, d, r);
      if (m_hWndPaint) CMessageLoop::Instance().InvalidateWindow(m_hWndPaint);
      return;
    }
  }
  m_dirty.push_back(r);
  if (m_dirty.size() > 64) {
    RECT all = m_dirty.front();
    for (const RECT& d : m_dirty) UnionRect(&all, all, d);
    m_dirty.assign(1, all);
  }
  if (m_hWndPaint) CMessageLoop::Instance().InvalidateWindow(m_hWndPaint);
}

void CPaintManagerUI::EnsureFrame() {
  SIZE s = GetClientSize();
  if (s.cx <= 0 || s.cy <= 0) return;
  if (m_frame && cairo_image_surface_get_width(m_frame) == s.cx &&
      cairo_image_surface_get_height(m_frame) == s.cy)
    return;
  if (m_frame) cairo_surface_destroy(m_frame);
  m_frame = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, s.cx, s.cy);
  m_dirty.assign(1, RECT{0, 0, s.cx, s.cy});
}

void CPaintManagerUI::Paint() {
  if (!m_pRoot) return;
  EnsureFrame();
  if (!m_frame) return;
  SIZE s = GetClientSize();
  RECT client{0, 0, s.cx, s.cy};
  for (int pass = 0; pass < 4 && (m_bUpdateNeeded || m_bFirstLayout); ++pass) {
    m_bUpdateNeeded = false;
    if (m_pRoot->IsUpdateNeeded() || !EqualRect(m_pRoot->GetPos(), client)) {
      m_pRoot->SetPos(client, true);
      m_dirty.assign(1, client);
    } else {
      std::vector<CControlUI*> needing;
      m_pRoot->FindControl(FindUpdateNeeded, &needing, UIFIND_VISIBLE | UIFIND_ME_FIRST | UIFIND_UPDATETEST);
      for (CControlUI* c : needing) c->SetPos(c->GetPos(), true);
    }
    if (m_bFirstLayout) {
      m_bFirstLayout = false;
      SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWINIT, 0, 0, false);
      if (!m_pRoot) return;
    }
  }
  if (m_dirty.empty()) return;
  std::vector<RECT> dirty;
  dirty.swap(m_dirty);
  cairo_t* cr = cairo_create(m_frame);
  SIZE round = GetRoundCorner();
  RECT presented{};
  for (const RECT& d : dirty) {
    RECT r;
    if (!IntersectRect(&r, d, client)) continue;
    cairo_save(cr);
    cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    if (round.cx > 0 && round.cy > 0) {
      // The window's corners stay transparent.
      double rx = round.cx / 2.0;
      double ry = round.cy / 2.0;
      double w = client.right;
      double h = client.bottom;
      cairo_new_path(cr);
      const double corners[4][4] = {{w - rx, ry, -kHalfPi, 0},
                                    {w - rx, h - ry, 0, kHalfPi},
                                    {rx, h - ry, kHalfPi, 2 * kHalfPi},
                                    {rx, ry, 2 * kHalfPi, 3 * kHalfPi}};
      for (const auto& c : corners) {
        cairo_save(cr);
        cairo_translate(cr, c[0], c[1]);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, c[2], c[3]);
        cairo_restore(cr);
      }
      cairo_close_path(cr);
      cairo_clip(cr);
    }
    m_pRoot->Paint(cr, r, nullptr);
    cairo_restore(cr);
    UnionRect(&presented, presented, r);
  }
  cairo_destroy(cr);
  cairo_surface_flush(m_frame);
  if (m_hWndPaint && !IsRectEmpty(presented))
    CMessageLoop::Instance().Backend()->Present(m_hWndPaint, m_frame, presented);
}

_cairo_surface* CPaintManagerUI::RenderToImage() {
  EnsureFrame();
  SIZE s = GetClientSize();
  m_dirty.assign(1, RECT{0, 0, s.cx, s.cy});
  Paint();
  return m_frame;
}

bool CPaintManagerUI::SaveImage(const char* pstrPath) {
  if (!m_frame) RenderToImage();
  return CRenderEngine::SavePng(m_frame, pstrPath);
}

DWORD CPaintManagerUI::GetPixel(int x, int y) const {
  if (!m_frame) return 0;
  int w = cairo_image_surface_get_width(m_frame);
  int h = cairo_image_surface_get_height(m_frame);
  if (x < 0 || y < 0 || x >= w || y >= h) return 0;
  cairo_surface_flush(m_frame);
  const unsigned char* data = cairo_image_surface_get_data(m_frame);
  int stride = cairo_image_surface_get_stride(m_frame);
  std::uint32_t px = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
  DWORD a = px >> 24;
  if (a == 0) return 0;
  if (a == 255) return px;
  DWORD r = ((px >> 16) & 0xFF) * 255 / a;
  DWORD g = ((px >> 8) & 0xFF) * 255 / a;
  DWORD b = (px & 0xFF) * 255 / a;
  return (a << 24) | (r << 16) | (g << 8) | b;
}

WORD CPaintManagerUI::KeyState(WPARAM mouseKeys) const {
  WORD state =
      static_cast<WORD>(mouseKeys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_SHIFT | MK_CONTROL | MK_ALT));
  if (m_bCtrl) state |= MK_CONTROL;
  if (m_bShift) state |= MK_SHIFT;
  if (m_bAlt) state |= MK_ALT;
  return state;
}

void CPaintManagerUI::UpdateHover(CControlUI* pNewHover, POINT pt, WPARAM wParam) {
  TEventUI event;
  event.ptMouse = pt;
  event.wParam = wParam;
  event.wKeyState = KeyState(wParam);
  event.dwTimestamp = ostrel::GetTickCount();
  if (pNewHover != m_pEventHover && m_pEventHover) {
    CControlUI* old = m_pEventHover;
    m_pEventHover = nullptr;
    event.Type = UIEVENT_MOUSELEAVE;
    event.pSender = old;
    old->Event(event);
    if (m_pToolTipControl) {
      m_pToolTipControl = nullptr;
      CMessageLoop::Instance().Backend()->HideToolTip(m_hWndPaint);
    }
  }
  if (pNewHover != m_pEventHover && pNewHover) {
    event.Type = UIEVENT_MOUSEENTER;
    event.pSender = pNewHover;
    m_pEventHover = pNewHover;
    pNewHover->Event(event);
  }
}

void CPaintManagerUI::ShowToolTipFor(CControlUI* pControl) {
  if (!pControl) return;
  CDuiString tip = pControl->GetToolTip();
  if (tip.IsEmpty() && !pControl->GetUserToolTipText().IsEmpty()) {
    tip = pControl->GetUserToolTipTitle();
    if (!tip.IsEmpty()) tip += "\n";
    tip += pControl->GetUserToolTipText();
  }
  if (tip.IsEmpty()) return;
  m_pToolTipControl = pControl;
  CMessageLoop::Instance().Backend()->ShowToolTip(m_hWndPaint, tip.str(), pControl->GetPos());
}

bool CPaintManagerUI::TranslateMessage(const MSG* pMsg) {
  if (!pMsg || !pMsg->hwnd) return false;
  for (CPaintManagerUI* pm : Managers()) {
    if (pm->m_hWndPaint != pMsg->hwnd) continue;
    LRESULT lRes = 0;
    return pm->PreMessageHandler(pMsg->message, pMsg->wParam, pMsg->lParam, lRes);
  }
  return false;
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
  auto filters = m_preFilters;
  for (IMessageFilterUI* f : filters) {
    bool handled = false;
    LRESULT r = f->MessageHandler(uMsg, wParam, lParam, handled);
    if (handled) {
      lRes = r;
      return true;
    }
  }
  return false;
}

void CPaintManagerUI::MessageLoop() { CMessageLoop::Instance().Run(); }

void CPaintManagerUI::Term() {
  for (auto& [k, info] : Shared().images) CRenderEngine::FreeImage(info);
  Shared().images.clear();
  Shared().drawInfos.clear();
  CRenderEngine::ClearTextCache();
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
  if (!m_hWndPaint) return false;
  {
    auto filters = m_filters;
    for (IMessageFilterUI* f : filters) {
      bool handled = false;
      LRESULT r = f->MessageHandler(uMsg, wParam, lParam, handled);
      if (handled) {
        lRes = r;
        return true;
      }
    }
  }
  if (uMsg == AsyncNotifyMessage()) {
    ProcessAsyncNotify();
    return true;
  }
  switch (uMsg) {
    case WM_PAINT:
      Paint();
      lRes = 0;
      return true;
    case WM_SIZE:
      if (m_pFocus) {
        TEventUI event;
        event.Type = UIEVENT_WINDOWSIZE;
        event.pSender = m_pFocus;
        event.dwTimestamp = ostrel::GetTickCount();
        m_pFocus->Event(event);
      }
      if (m_pRoot) {
        m_pRoot->NeedUpdate();
        SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWSIZE, 0, 0, true);
      }
      Invalidate();
      return false;
    case WM_TIMER: {
      if (wParam == kHoverTimerId) {
        CMessageLoop::Instance().KillTimer(m_hWndPaint, kHoverTimerId);
        ostrel::PostMessage(m_hWndPaint, WM_MOUSEHOVER, 0,
                            MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
        return true;
      }
      for (const TimerInfo& t : m_timers) {
        if (t.uWinTimer != wParam) continue;
        TEventUI event;
        event.Type = UIEVENT_TIMER;
        event.pSender = t.pSender;
        event.dwTimestamp = ostrel::GetTickCount();
        event.ptMouse = m_ptLastMousePos;
        event.wParam = t.nId;
        event.lParam = lParam;
        t.pSender->Event(event);
        return true;
      }
      return false;
    }
    case WM_MOUSEHOVER: {
      POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      CControlUI* hover = FindControl(pt);
      if (hover && hover->GetManager() == this) {
        TEventUI event;
        event.Type = UIEVENT_MOUSEHOVER;
        event.pSender = hover;
        event.ptMouse = pt;
        event.dwTimestamp = ostrel::GetTickCount();
        hover->Event(event);
        if (m_pToolTipControl != hover) ShowToolTipFor(hover);
      }
      return false;  // windows see it too
    }
    case WM_MOUSELEAVE: {
      m_bMouseTracking = false;
      CMessageLoop::Instance().KillTimer(m_hWndPaint, kHoverTimerId);
      if (m_pToolTipControl) {
        m_pToolTipControl = nullptr;
        CMessageLoop::Instance().Backend()->HideToolTip(m_hWndPaint);
      }
      if (!m_pEventClick) UpdateHover(nullptr, m_ptLastMousePos, 0);
      return false;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
      if (!ostrel::IsWindowEnabled(m_hWndPaint)) return false;  // a modal window owns the input
      DispatchMouse(uMsg, wParam, lParam);
      return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      if (wParam == VK_CONTROL) m_bCtrl = true;
      if (wParam == VK_SHIFT) m_bShift = true;
      if (wParam == VK_MENU) m_bAlt = true;
      if (!m_pFocus) return false;
      if (wParam == VK_TAB && !(m_pFocus->GetControlFlags() & UIFLAG_WANTRETURN)) {
        SetNextTabControl(!m_bShift);
        return true;
      }
      TEventUI event;
      event.Type = UIEVENT_KEYDOWN;
      event.pSender = m_pFocus;
      event.chKey = static_cast<char32_t>(wParam);
      event.wParam = wParam;
      event.lParam = lParam;
      event.wKeyState = KeyState();
      event.dwTimestamp = ostrel::GetTickCount();
      m_pEventKey = m_pFocus;
      m_pFocus->Event(event);
      return false;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      if (wParam == VK_CONTROL) m_bCtrl = false;
      if (wParam == VK_SHIFT) m_bShift = false;
      if (wParam == VK_MENU) m_bAlt = false;
      if (!m_pEventKey) return false;
      TEventUI event;
      event.Type = UIEVENT_KEYUP;
      event.pSender = m_pEventKey;
      event.chKey = static_cast<char32_t>(wParam);
      event.wParam = wParam;
      event.lParam = lParam;
      event.wKeyState = KeyState();
      event.dwTimestamp = ostrel::GetTickCount();
      m_pEventKey->Event(event);
      m_pEventKey = nullptr;
      return false;
    }
    case WM_CHAR: {
      if (!m_pFocus) return false;
      TEventUI event;
      event.Type = UIEVENT_CHAR;
      event.pSender = m_pFocus;
      event.chKey = static_cast<char32_t>(wParam);
      event.wParam = wParam;
      event.lParam = lParam;
      event.wKeyState = KeyState();
      event.dwTimestamp = ostrel::GetTickCount();
      m_pFocus->Event(event);
      return false;
    }
    case WM_KILLFOCUS:
    case WM_ACTIVATE:
      if (uMsg == WM_KILLFOCUS || LOWORD(wParam) == WA_INACTIVE) {
        m_bCtrl = m_bShift = m_bAlt = false;
        if (m_bMouseCapture) ReleaseCapture();
      }
      return false;
    case WM_CLOSE:
      // Leave the controls in a clean state before the window goes.
      if (m_pEventHover) {
        TEventUI event;
        event.Type = UIEVENT_MOUSELEAVE;
        event.pSender = m_pEventHover;
        event.ptMouse = m_ptLastMousePos;
        event.dwTimestamp = ostrel::GetTickCount();
        CControlUI* hover = m_pEventHover;
        m_pEventHover = nullptr;
        hover->Event(event);
      }
      if (m_pEventClick) {
        TEventUI event;
        event.Type = UIEVENT_BUTTONUP;
        event.pSender = m_pEventClick;
        event.ptMouse = POINT{-1, -1};
        event.dwTimestamp = ostrel::GetTickCount();
        CControlUI* click = m_pEventClick;
        m_pEventClick = nullptr;
        click->Event(event);
      }
      SetFocus(nullptr);
      return false;
    default:
      return false;
  }
}

void CPaintManagerUI::DispatchMouse(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (uMsg == WM_CONTEXTMENU || uMsg == WM_MOUSEWHEEL) ostrel::ScreenToClient(m_hWndPaint, &pt);
  TEventUI event;
  event.ptMouse = pt;
  event.wParam = wParam;
  event.lParam = lParam;
  event.wKeyState = KeyState(uMsg == WM_MOUSEWHEEL ? LOWORD(wParam) : wParam);
  event.dwTimestamp = ostrel::GetTickCount();
  switch (uMsg) {
    case WM_MOUSEMOVE: {
      bool moved = pt.x != m_ptLastMousePos.x || pt.y != m_ptLastMousePos.y;
      m_ptLastMousePos = pt;
      m_bMouseTracking = true;
      if (moved) CMessageLoop::Instance().SetTimer(m_hWndPaint, kHoverTimerId, kToolTipDelayMs);
      CControlUI* hover = FindControl(pt);
      if (hover && hover->GetManager() != this) return;
      UpdateHover(hover, pt, wParam);
      {
        CControlUI* shape = m_pEventClick ? m_pEventClick : hover;
        int cursor = shape && shape->IsEnabled() ? shape->GetCursor() : 32512;
        if (cursor != m_nCursor) {
          m_nCursor = cursor;
          CMessageLoop::Instance().Backend()->SetCursor(m_hWndPaint, cursor);
        }
      }
      event.Type = UIEVENT_MOUSEMOVE;
      if (m_pEventClick) {
        event.pSender = m_pEventClick;
        m_pEventClick->Event(event);
      } else if (m_pEventHover) {
        event.pSender = m_pEventHover;
        m_pEventHover->Event(event);
      }
      return;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      m_ptLastMousePos = pt;
      CControlUI* control = FindControl(pt);
      if (!control || control->GetManager() != this) return;
      m_pEventClick = control;
      SetFocus(control);
      SetCapture();
      if (m_pEventClick != control) return;  // focus handling removed it
      event.Type = uMsg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_DBLCLICK;
      event.pSender = control;
      control->Event(event);
      return;
    }
    case WM_LBUTTONUP: {
      m_ptLastMousePos = pt;
      if (m_bMouseCapture) ReleaseCapture();
      CControlUI* control = m_pEventClick;
      m_pEventClick = nullptr;
      if (!control) return;
      event.Type = UIEVENT_BUTTONUP;
      event.pSender = control;
      control->Event(event);
      return;
    }
    case WM_RBUTTONDOWN: {
      m_ptLastMousePos = pt;
      CControlUI* control = FindControl(pt);
      if (!control || control->GetManager() != this) return;
      SetFocus(control);
      event.Type = UIEVENT_RBUTTONDOWN;
      event.pSender = control;
      control->Event(event);
      m_pEventClick = nullptr;
      return;
    }
    case WM_RBUTTONUP: {
      CControlUI* control = FindControl(pt);
      if (!control || control->GetManager() != this) return;
      event.Type = UIEVENT_RBUTTONUP;
      event.pSender = control;
      control->Event(event);
      return;
    }
    case WM_CONTEXTMENU: {
      CControlUI* control = FindControl(pt);
      if (!control || control->GetManager() != this) return;
      event.Type = UIEVENT_CONTEXTMENU;
      event.pSender = control;
      event.lParam = reinterpret_cast<LPARAM>(control);
      control->Event(event);
      return;
    }
    case WM_MOUSEWHEEL: {
      CControlUI* control = FindControl(pt);
      if (!control || control->GetManager() != this) return;
      int delta = static_cast<std::int16_t>(HIWORD(wParam));
      event.Type = UIEVENT_SCROLLWHEEL;
      event.pSender = control;
      event.wParam = static_cast<WPARAM>(MAKELPARAM(delta < 0 ? 1 : 0, 0));  // SB_LINEDOWN : SB_LINEUP
      event.lParam = lParam;
      control->Event(event);
      return;
    }
    default:
      return;
  }
}

}  // namespace ostrel
