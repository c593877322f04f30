#pragma once
// The base of every control: identity (name, text, user data), state
// (visible, enabled, focus), geometry (fixed, min and max sizes, padding,
// float position), the look shared by all controls (background colours and
// image, fore image, border) and the paint and event entry points that
// containers and the paint manager call.
//
// Sizes given by attributes are layout pixels; the getters return device
// pixels at the window's DPI.

#include <functional>
#include <vector>

#include "platform/ui/CDuiString.h"
#include "platform/ui/UIDefs.h"
#include "platform/ui/UIEvents.h"

namespace ostrel {

class CPaintManagerUI;
class CControlUI;

using FINDCONTROLPROC = CControlUI* (*)(CControlUI*, void*);

class CControlUI {
 public:
  CControlUI();
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  virtual CDuiString GetName() const { return m_sName; }
  virtual void SetName(const char* pstrName);
  virtual const char* GetClass() const { return "ControlUI"; }
  // "Control" answers for every control; subclasses add their own names.
  virtual void* GetInterface(const char* pstrName);
  virtual UINT GetControlFlags() const { return 0; }
  virtual bool Activate();
  virtual CPaintManagerUI* GetManager() const { return m_pManager; }
  virtual void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true);
  virtual CControlUI* GetParent() const { return m_pParent; }

  // Text. With the resource-text flag the text is a language key and
  // GetText answers the key's text in the current language.
  virtual CDuiString GetText() const;
  virtual void SetText(const char* pstrText);
  CDuiString GetRawText() const { return m_sText; }
  bool IsResourceText() const { return m_bResourceText; }
  void SetResourceText(bool bResource);

  // Look.
  DWORD GetBkColor() const { return m_dwBackColor; }
  void SetBkColor(DWORD dwBackColor);
  DWORD GetBkColor2() const { return m_dwBackColor2; }
  void SetBkColor2(DWORD dwBackColor);
  DWORD GetBkColor3() const { return m_dwBackColor3; }
  void SetBkColor3(DWORD dwBackColor);
  const CDuiString& GetBkImage() const { return m_sBkImage; }
  void SetBkImage(const char* pStrImage);
  const CDuiString& GetForeImage() const { return m_sForeImage; }
  void SetForeImage(const char* pStrImage);
  DWORD GetForeColor() const { return m_dwForeColor; }
  void SetForeColor(DWORD dwForeColor);
  DWORD GetBorderColor() const { return m_dwBorderColor; }
  void SetBorderColor(DWORD dwBorderColor);
  DWORD GetFocusBorderColor() const { return m_dwFocusBorderColor; }
  void SetFocusBorderColor(DWORD dwBorderColor);
  int GetBorderSize() const;
  void SetBorderSize(int nSize);
  void SetBorderSize(RECT rc);
  SIZE GetBorderRound() const;
  void SetBorderRound(SIZE cxyRound);
  bool IsColorHSL() const { return m_bColorHSL; }
  void SetColorHSL(bool bColorHSL);
  // The colour after the window's hue/saturation/lightness setting, for
  // controls that take part in it ("colorhsl").
  DWORD GetAdjustColor(DWORD dwColor) const;
  bool DrawImage(HDC hDC, const char* pStrImage, const char* pStrModify = nullptr);

  // Geometry.
  virtual const RECT& GetPos() const { return m_rcItem; }
  virtual void SetPos(RECT rc, bool bNeedInvalidate = true);
  virtual void Move(SIZE szOffset, bool bNeedInvalidate = true);
  int GetWidth() const { return m_rcItem.right - m_rcItem.left; }
  int GetHeight() const { return m_rcItem.bottom - m_rcItem.top; }
  int GetX() const { return m_rcItem.left; }
  int GetY() const { return m_rcItem.top; }
  virtual RECT GetPadding() const;
  virtual void SetPadding(RECT rcPadding);
  virtual SIZE GetFixedXY() const;
  virtual void SetFixedXY(SIZE szXY);
  virtual int GetFixedWidth() const;
  virtual void SetFixedWidth(int cx);
  virtual int GetFixedHeight() const;
  virtual void SetFixedHeight(int cy);
  virtual int GetMinWidth() const;
  virtual void SetMinWidth(int cx);
  virtual int GetMaxWidth() const;
  virtual void SetMaxWidth(int cx);
  virtual int GetMinHeight() const;
  virtual void SetMinHeight(int cy);
  virtual int GetMaxHeight() const;
  virtual void SetMaxHeight(int cy);
  // Float position in layout pixels relative to the parent's top-left.
  RECT GetFloatPos() const { return m_rcFloat; }
  virtual void SetFloatPos(RECT rc);
  // The size a layout should give this control when it has `szAvailable`.
  virtual SIZE EstimateSize(SIZE szAvailable);

  // Tool tips: the plain one, and the two-part "user" tip (title and text).
  virtual CDuiString GetToolTip() const;
  virtual void SetToolTip(const char* pstrText);
  const CDuiString& GetUserToolTipTitle() const { return m_sUserToolTipTitle; }
  void SetUserToolTipTitle(const char* pstrText) { m_sUserToolTipTitle = pstrText; }
  const CDuiString& GetUserToolTipText() const { return m_sUserToolTipText; }
  void SetUserToolTipText(const char* pstrText) { m_sUserToolTipText = pstrText; }
  void SetToolTipWidth(int nWidth) { m_nTooltipWidth = nWidth; }
  int GetToolTipWidth() const { return m_nTooltipWidth; }

  // The pointer shape over the control (a system cursor id, 32512 = arrow);
  // "cursor" takes the names arrow, ibeam, wait, cross, uparrow, size, icon,
  // sizenwse, sizenesw, sizewe, sizens, sizeall, no, hand.
  virtual int GetCursor() const { return m_nCursor; }
  void SetCursor(int nCursor) { m_nCursor = nCursor; }
  static int ParseCursor(const char* pstrValue);

  char GetShortcut() const { return m_chShortcut; }
  void SetShortcut(char ch) { m_chShortcut = ch; }
  bool IsContextMenuUsed() const { return m_bMenuUsed; }
  void SetContextMenuUsed(bool bMenuUsed) { m_bMenuUsed = bMenuUsed; }

  const CDuiString& GetUserData() const { return m_sUserData; }
  void SetUserData(const char* pstrText) { m_sUserData = pstrText; }
  UINT_PTR GetTag() const { return m_pTag; }
  void SetTag(UINT_PTR pTag) { m_pTag = pTag; }

  // State.
  virtual bool IsVisible() const { return m_bVisible && m_bInternVisible; }
  virtual void SetVisible(bool bVisible = true);
  // Set by a parent that hides its children (tab layouts, hidden parents).
  virtual void SetInternVisible(bool bVisible = true);
  virtual bool IsEnabled() const { return m_bEnabled; }
  virtual void SetEnabled(bool bEnable = true);
  virtual bool IsMouseEnabled() const { return m_bMouseEnabled; }
  virtual void SetMouseEnabled(bool bEnable = true) { m_bMouseEnabled = bEnable; }
  virtual bool IsKeyboardEnabled() const { return m_bKeyboardEnabled; }
  virtual void SetKeyboardEnabled(bool bEnable = true) { m_bKeyboardEnabled = bEnable; }
  virtual bool IsFocused() const { return m_bFocused; }
  virtual void SetFocus();
  virtual bool IsFloat() const { return m_bFloat; }
  virtual void SetFloat(bool bFloat = true);

  const CDuiString& GetVirtualWnd() const;
  void SetVirtualWnd(const char* pstrValue);

  virtual CControlUI* FindControl(FINDCONTROLPROC Proc, void* pData, UINT uFlags);

  void Invalidate();
  bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
  void NeedUpdate();
  void NeedParentUpdate();

  virtual void Init();
  virtual void DoInit() {}

  // Events: OnEvent listeners see them first; returning false stops them.
  virtual void Event(TEventUI& event);
  virtual void DoEvent(TEventUI& event);
  std::vector<std::function<bool(TEventUI&)>> OnEvent;
  std::vector<std::function<bool(TNotifyUI&)>> OnNotify;

  // Attributes from layouts. Unknown names are reported on the debug stream.
  virtual void SetAttribute(const char* pstrName, const char* pstrValue);
  // `name="value" name2="value2"` (single or double quotes).
  CControlUI* ApplyAttributeList(const char* pstrList);

  // Painting. DoPaint returns false once pStopControl was painted.
  virtual bool Paint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl = nullptr);
  virtual bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl);
  virtual void PaintBkColor(HDC hDC);
  virtual void PaintBkImage(HDC hDC);
  virtual void PaintStatusImage(HDC hDC);
  virtual void PaintForeColor(HDC hDC);
  virtual void PaintForeImage(HDC hDC);
  virtual void PaintText(HDC hDC);
  virtual void PaintBorder(HDC hDC);
  virtual void DoPostPaint(HDC, const RECT&) {}

  // Attribute value helpers shared by all controls.
  static DWORD ParseColor(const char* pstrValue);
  static RECT ParseRect(const char* pstrValue);
  static SIZE ParseSize(const char* pstrValue);
  static bool ParseBool(const char* pstrValue) { return CDuiString(pstrValue).CompareNoCase("true") == 0; }

 protected:
  // Reports an attribute nobody understood.
  void ReportUnknownAttribute(const char* pstrName) const;

  CPaintManagerUI* m_pManager = nullptr;
  CControlUI* m_pParent = nullptr;
  CDuiString m_sName;
  CDuiString m_sText;
  CDuiString m_sToolTip;
  CDuiString m_sUserToolTipTitle;
  CDuiString m_sUserToolTipText;
  CDuiString m_sUserData;
  CDuiString m_sVirtualWnd;
  CDuiString m_sBkImage;
  CDuiString m_sForeImage;
  UINT_PTR m_pTag = 0;
  bool m_bUpdateNeeded = true;
  bool m_bMenuUsed = false;
  bool m_bVisible = true;
  bool m_bInternVisible = true;
  bool m_bEnabled = true;
  bool m_bMouseEnabled = true;
  bool m_bKeyboardEnabled = true;
  bool m_bFocused = false;
  bool m_bFloat = false;
  bool m_bSetPos = false;
  bool m_bColorHSL = false;
  bool m_bResourceText = false;
  bool m_bInited = false;
  char m_chShortcut = 0;
  int m_nTooltipWidth = 300;
  int m_nCursor = 32512;
  RECT m_rcItem;
  RECT m_rcPadding;
  RECT m_rcFloat;
  RECT m_rcPaint;
  SIZE m_cXY;
  SIZE m_cxyFixed;
  SIZE m_cxyMin;
  SIZE m_cxyMax{9999, 9999};
  DWORD m_dwBackColor = 0;
  DWORD m_dwBackColor2 = 0;
  DWORD m_dwBackColor3 = 0;
  DWORD m_dwForeColor = 0;
  DWORD m_dwBorderColor = 0;
  DWORD m_dwFocusBorderColor = 0;
  int m_nBorderSize = 0;
  RECT m_rcBorderSize;
  SIZE m_cxyBorderRound;
};

// `control` as the class whose interface name is `interfaceName`; null when
// there is no control or it is not one.
template <typename T>
T* As(CControlUI* control, const char* interfaceName) {
  return control ? static_cast<T*>(control->GetInterface(interfaceName)) : nullptr;
}

}  // namespace ostrel
