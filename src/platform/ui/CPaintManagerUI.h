#pragma once
// One window's toolkit state: its control tree, the name map, focus,
// capture and hot control, notifications, control timers, option groups,
// fonts, default attributes and styles, DPI, dirty rectangles and the
// offscreen frame the tree is painted into. Process-wide: the resource path,
// shared fonts, styles and images, the colour adjustment and the message loop.

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/CDPI.h"
#include "platform/ui/CDuiString.h"
#include "platform/ui/IMessageFilterUI.h"
#include "platform/ui/INotifyUI.h"
#include "platform/ui/UIDefs.h"
#include "platform/ui/UIEvents.h"
#include "platform/ui/UIResources.h"

struct _cairo_surface;
struct _PangoFontDescription;

namespace ostrel {

class CControlUI;

class CPaintManagerUI {
 public:
  CPaintManagerUI();
  ~CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

  void Init(HWND hWnd, const char* pstrName = nullptr);
  HWND GetPaintWindow() const { return m_hWndPaint; }
  const CDuiString& GetName() const { return m_sName; }

  // Process-wide settings.
  static void SetInstance(void* hInst) { s_hInstance = hInst; }
  static void* GetInstance() { return s_hInstance; }
  // The program folder (with trailing separator).
  static CDuiString GetInstancePath();
  static const CDuiString& GetResourcePath() { return s_resourcePath; }
  // Accepts backslash paths; a trailing separator is added when missing.
  static void SetResourcePath(const char* pStrPath);
  static int GetResourceType() { return s_resourceType; }
  static void SetResourceType(int nType) { s_resourceType = nType; }
  // A resource file name as a native path (absolute names stay as they are).
  static CDuiString ResolveResourceFile(const char* pstrName);
  static std::vector<CPaintManagerUI*> GetPaintManagers();
  static CPaintManagerUI* GetPaintManager(const char* pstrName);

  // Window geometry the layout declares.
  SIZE GetClientSize() const;
  SIZE GetInitSize() const;
  void SetInitSize(int cx, int cy);
  RECT GetSizeBox() const;
  void SetSizeBox(RECT rcSizeBox) { m_rcSizeBox = rcSizeBox; }
  RECT GetCaptionRect() const;
  void SetCaptionRect(RECT rcCaption) { m_rcCaption = rcCaption; }
  SIZE GetRoundCorner() const;
  void SetRoundCorner(int cx, int cy) { m_szRoundCorner = SIZE{cx, cy}; }
  SIZE GetMinInfo() const;
  void SetMinInfo(int cx, int cy) { m_szMinWindow = SIZE{cx, cy}; }
  SIZE GetMaxInfo() const;
  void SetMaxInfo(int cx, int cy) { m_szMaxWindow = SIZE{cx, cy}; }
  POINT GetMousePos() const { return m_ptLastMousePos; }
  // Text colours of labels that set none ("defaultfontcolor", "disabledfontcolor").
  DWORD GetDefaultFontColor() const { return m_dwDefaultFontColor; }
  void SetDefaultFontColor(DWORD dwColor) { m_dwDefaultFontColor = dwColor; }
  DWORD GetDefaultDisabledColor() const { return m_dwDefaultDisabledColor; }
  void SetDefaultDisabledColor(DWORD dwColor) { m_dwDefaultDisabledColor = dwColor; }
  void SetBackgroundTransparent(bool b) { m_bLayered = b; }
  bool IsBackgroundTransparent() const { return m_bLayered; }

  // DPI. SetDPI rescales this window (size, fonts, layout); SetAllDPI does
  // it for every window; ResetDPIAssets drops fonts and images made for the
  // old DPI.
  CDPI* GetDPIObj() { return &m_dpi; }
  const CDPI* GetDPIObj() const { return &m_dpi; }
  void SetDPI(int iDPI);
  static void SetAllDPI(int iDPI);
  void ResetDPIAssets();

  // Hue (0-360), saturation and lightness (0-200, 100 = unchanged) applied
  // to controls with "colorhsl" and images with "hsl='true'".
  static void SetHSL(bool bUseHSL, short H, short S, short L);
  static void GetHSL(short* H, short* S, short* L);
  static bool IsUseHSL() { return s_bUseHSL; }

  // Fonts by id. Shared fonts serve every window; a window's own font wins.
  // Id -1 (or an unknown id) is the default font.
  void SetDefaultFont(const char* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic,
                      bool bShared = false);
  bool AddFont(int id, const char* pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic,
               bool bShared = false);
  bool RemoveFont(int id, bool bShared = false);
  void RemoveAllFonts(bool bShared = false);
  const TFontInfo* GetFontInfo(int id) const;
  const TFontInfo* GetDefaultFontInfo() const;
  // The Pango description of font `id` at this window's DPI (cached).
  _PangoFontDescription* GetFontDescription(int id);

  // Images (process-wide cache). Null when the file cannot be loaded; the
  // failure is remembered until the cache is cleared.
  static const TImageInfo* GetImageEx(const char* bitmap, const char* type = nullptr, DWORD mask = 0,
                                      bool bUseHSL = false);
  const TImageInfo* GetImage(const char* bitmap) { return GetImageEx(bitmap); }
  static void RemoveImage(const char* bitmap);
  static void RemoveAllImages();
  // Image descriptions are parsed once.
  static const TDrawInfo& GetDrawInfo(const char* image, const char* modify = nullptr);

  // Attribute lists applied to every control of a class before its own attributes.
  void AddDefaultAttributeList(const char* pStrControlName, const char* pStrControlAttrList,
                               bool bShared = false);
  const char* GetDefaultAttributeList(const char* pStrControlName) const;
  bool RemoveDefaultAttributeList(const char* pStrControlName, bool bShared = false);
  void RemoveAllDefaultAttributeList(bool bShared = false);
  // Named attribute lists used by the "style" attribute.
  void AddStyle(const char* pName, const char* pStyle, bool bShared = false);
  const char* GetStyle(const char* pName) const;
  bool RemoveStyle(const char* pName, bool bShared = false);
  void RemoveAllStyle(bool bShared = false);
  void AddWindowCustomAttribute(const char* pstrName, const char* pstrAttr);
  const char* GetWindowCustomAttribute(const char* pstrName) const;

  // The tree.
  bool AttachDialog(CControlUI* pControl);
  CControlUI* GetRoot() const { return m_pRoot; }
  bool InitControls(CControlUI* pControl, CControlUI* pParent = nullptr);
  // Forgets a control that leaves the tree (name map, focus, timers, groups).
  void ReapObjects(CControlUI* pControl);
  void RenameControl(CControlUI* pControl, const CDuiString& oldName);
  void AddDelayedCleanup(CControlUI* pControl);

  CControlUI* FindControl(POINT pt) const;
  CControlUI* FindControl(const char* pstrName) const;
  CControlUI* FindSubControlByPoint(CControlUI* pParent, POINT pt) const;
  CControlUI* FindSubControlByName(CControlUI* pParent, const char* pstrName) const;
  CControlUI* FindSubControlByClass(CControlUI* pParent, const char* pstrClass, int iIndex = 0);
  std::vector<CControlUI*> FindSubControlsByClass(CControlUI* pParent, const char* pstrClass);

  // Option groups.
  bool AddOptionGroup(const char* pStrGroupName, CControlUI* pControl);
  const std::vector<CControlUI*>* GetOptionGroup(const char* pStrGroupName) const;
  void RemoveOptionGroup(const char* pStrGroupName, CControlUI* pControl);
  void RemoveAllOptionGroups();

  // Focus, capture, hot control.
  CControlUI* GetFocus() const { return m_pFocus; }
  void SetFocus(CControlUI* pControl, bool bFocusWnd = true);
  bool SetNextTabControl(bool bForward = true);
  void SetCapture();
  void ReleaseCapture();
  bool IsCaptured() const { return m_bMouseCapture; }
  CControlUI* GetHotControl() const { return m_pEventHover; }
  CControlUI* GetPushedControl() const { return m_pEventClick; }

  // Control timers: each arrives as UIEVENT_TIMER at the control, which
  // raises a "timer" notification (wParam = the timer id).
  bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
  bool KillTimer(CControlUI* pControl, UINT nTimerID);
  void KillTimer(CControlUI* pControl);
  void RemoveAllTimers();
  bool HasTimer(CControlUI* pControl, UINT nTimerID) const;

  // Notifications.
  bool AddNotifier(INotifyUI* pControl);
  bool RemoveNotifier(INotifyUI* pControl);
  void SendNotify(TNotifyUI& Msg, bool bAsync = false);
  void SendNotify(CControlUI* pControl, const char* pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0,
                  bool bAsync = false);
  bool AddPreMessageFilter(IMessageFilterUI* pFilter);
  bool RemovePreMessageFilter(IMessageFilterUI* pFilter);
  bool AddMessageFilter(IMessageFilterUI* pFilter);
  bool RemoveMessageFilter(IMessageFilterUI* pFilter);

  // Invalidation and layout.
  bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
  void NeedUpdate() { m_bUpdateNeeded = true; }
  void Invalidate();
  void Invalidate(const RECT& rcItem);
  const std::vector<RECT>& GetDirtyRects() const { return m_dirty; }
  // Lays out and paints what is dirty into the frame, then presents it.
  void Paint();

  // The frame (headless rendering). RenderToImage lays out and paints the
  // whole window; GetPixel reads 0xAARRGGBB of the last frame.
  _cairo_surface* RenderToImage();
  _cairo_surface* GetFrame() const { return m_frame; }
  bool SaveImage(const char* pstrPath);
  DWORD GetPixel(int x, int y) const;

  // The window message handling of the toolkit. True when handled.
  bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
  bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
  static void MessageLoop();
  static bool TranslateMessage(const MSG* pMsg);
  static void Term();
  // Gives back a record the toolkit handed out in a message (a MenuCmd).
  static void DeletePtr(void* ptr);

  // Tool tips show after the pointer rests this long.
  static constexpr UINT kToolTipDelayMs = 400;

 private:
  struct TimerInfo {
    CControlUI* pSender;
    UINT nId;
    UINT uWinTimer;
  };
  void DispatchMouse(UINT uMsg, WPARAM wParam, LPARAM lParam);
  void UpdateHover(CControlUI* pNewHover, POINT pt, WPARAM wParam);
  void ShowToolTipFor(CControlUI* pControl);
  void EnsureFrame();
  void ProcessAsyncNotify();
  WORD KeyState(WPARAM mouseKeys = 0) const;

  HWND m_hWndPaint = nullptr;
  CDuiString m_sName;
  CControlUI* m_pRoot = nullptr;
  CControlUI* m_pFocus = nullptr;
  CControlUI* m_pEventHover = nullptr;
  CControlUI* m_pEventClick = nullptr;
  CControlUI* m_pEventKey = nullptr;
  CControlUI* m_pToolTipControl = nullptr;
  bool m_bMouseCapture = false;
  bool m_bMouseTracking = false;
  bool m_bUpdateNeeded = false;
  bool m_bFocusNeeded = false;
  bool m_bFirstLayout = true;
  bool m_bLayered = false;
  bool m_bCtrl = false;
  bool m_bShift = false;
  bool m_bAlt = false;
  int m_nCursor = 32512;
  POINT m_ptLastMousePos{-1, -1};
  SIZE m_szInitWindow;
  SIZE m_szMinWindow;
  SIZE m_szMaxWindow;
  SIZE m_szRoundCorner;
  RECT m_rcSizeBox;
  RECT m_rcCaption;
  CDPI m_dpi;
  DWORD m_dwDefaultFontColor = 0xFFFFFFFF;
  DWORD m_dwDefaultDisabledColor = 0xFF666666;
  std::unordered_map<CDuiString, CControlUI*> m_names;
  std::map<CDuiString, std::vector<CControlUI*>> m_groups;
  std::vector<TimerInfo> m_timers;
  UINT m_uNextTimerId = 0x1000;
  std::vector<INotifyUI*> m_notifiers;
  std::vector<IMessageFilterUI*> m_preFilters;
  std::vector<IMessageFilterUI*> m_filters;
  std::vector<TNotifyUI> m_asyncNotify;
  std::vector<CControlUI*> m_delayedCleanup;
  std::map<int, TFontInfo> m_fonts;
  TFontInfo m_defaultFont;
  bool m_bHasDefaultFont = false;
  std::map<int, _PangoFontDescription*> m_fontCache;
  std::map<CDuiString, CDuiString> m_defaultAttrs;
  std::map<CDuiString, CDuiString> m_styles;
  std::map<CDuiString, CDuiString> m_customAttrs;
  std::vector<RECT> m_dirty;
  _cairo_surface* m_frame = nullptr;

  static void* s_hInstance;
  static CDuiString s_resourcePath;
  static int s_resourceType;
  static bool s_bUseHSL;
  static short s_H;
  static short s_S;
  static short s_L;
};

}  // namespace ostrel
