#pragma once
// A control with children. The plain container gives every child the whole
// inner rectangle (inside the inset); the layouts arrange them. Children
// are owned and deleted with the container unless removed with
// bDoNotDestroy. Float children are placed by their "pos" relative to the
// container's top-left corner.

#include <vector>

#include "platform/ui/CControlUI.h"
#include "platform/ui/IContainerUI.h"

namespace ostrel {

class CScrollBarUI;

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  CContainerUI();
  ~CContainerUI() override;

  const char* GetClass() const override { return "ContainerUI"; }
  void* GetInterface(const char* pstrName) override;

  CControlUI* GetItemAt(int iIndex) const override;
  int GetItemIndex(CControlUI* pControl) const override;
  bool SetItemIndex(CControlUI* pControl, int iNewIndex) override;
  int GetCount() const override { return static_cast<int>(m_items.size()); }
  bool Add(CControlUI* pControl) override;
  bool AddAt(CControlUI* pControl, int iIndex) override;
  bool Remove(CControlUI* pControl, bool bDoNotDestroy = false) override;
  bool RemoveAt(int iIndex, bool bDoNotDestroy = false) override;
  void RemoveAll() override;

  bool IsAutoDestroy() const { return m_bAutoDestroy; }
  void SetAutoDestroy(bool bAuto) { m_bAutoDestroy = bAuto; }
  bool IsDelayedDestroy() const { return m_bDelayedDestroy; }
  void SetDelayedDestroy(bool bDelayed) { m_bDelayedDestroy = bDelayed; }
  RECT GetInset() const;
  void SetInset(RECT rcInset);
  int GetChildPadding() const;
  void SetChildPadding(int iPadding);
  UINT GetChildAlign() const { return m_iChildAlign; }
  void SetChildAlign(UINT iAlign);
  UINT GetChildVAlign() const { return m_iChildVAlign; }
  void SetChildVAlign(UINT iVAlign);
  bool IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
  void SetMouseChildEnabled(bool bEnable = true) { m_bMouseChildEnabled = bEnable; }

  void SetVisible(bool bVisible = true) override;
  void SetInternVisible(bool bVisible = true) override;
  void SetEnabled(bool bEnable = true) override;
  void SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit = true) override;
  CControlUI* FindControl(FINDCONTROLPROC Proc, void* pData, UINT uFlags) override;
  CControlUI* FindSubControl(const char* pstrSubControlName);
  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
  void Move(SIZE szOffset, bool bNeedInvalidate = true) override;
  void DoEvent(TEventUI& event) override;
  bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;

  // Scrolling. Positions are in device pixels.
  SIZE GetScrollPos() const;
  SIZE GetScrollRange() const;
  virtual void SetScrollPos(SIZE szPos);
  void LineUp();
  void LineDown();
  void PageUp();
  void PageDown();
  void HomeUp();
  void EndDown();
  void LineLeft();
  void LineRight();
  void EnableScrollBar(bool bEnableVertical = true, bool bEnableHorizontal = false);
  CScrollBarUI* GetVerticalScrollBar() const { return m_pVerticalScrollBar; }
  CScrollBarUI* GetHorizontalScrollBar() const { return m_pHorizontalScrollBar; }
  int GetScrollStepSize() const;
  void SetScrollStepSize(int nSize) { m_nScrollStepSize = nSize; }

 protected:
  // The inner rectangle for children: inset removed, visible scroll bars removed.
  RECT ContentRect(RECT rc) const;
  // Places float child iIndex from its "pos".
  void PlaceFloatChild(int iIndex);
  // Shows or hides the scroll bars for the space the children need and
  // places them; true when a bar's visibility changed (lay out again).
  bool ProcessScrollBar(RECT rc, int cxRequired, int cyRequired);
  // Lays the children out one after another along one axis (horizontal or
  // vertical layouts): fixed, stretching and min/max sizes on the main axis,
  // alignment and padding on both, floating children at their own place.
  void SetStackPos(RECT rc, bool bNeedInvalidate, bool horizontal);
  void PaintChildren(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl, bool* stopped);

  std::vector<CControlUI*> m_items;
  RECT m_rcInset;
  int m_iChildPadding = 0;
  UINT m_iChildAlign = DT_LEFT;
  UINT m_iChildVAlign = DT_TOP;
  bool m_bAutoDestroy = true;
  bool m_bDelayedDestroy = true;
  bool m_bMouseChildEnabled = true;
  int m_nScrollStepSize = 0;
  CScrollBarUI* m_pVerticalScrollBar = nullptr;
  CScrollBarUI* m_pHorizontalScrollBar = nullptr;
  bool m_bInLayout = false;
};

}  // namespace ostrel
