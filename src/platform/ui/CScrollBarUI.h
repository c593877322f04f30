#pragma once
// A scroll bar owned by a container (or standing alone): a track and a
// thumb that can be dragged; clicks on the track page, the wheel steps.

#include "platform/ui/CControlUI.h"

namespace ostrel {

class CContainerUI;

class CScrollBarUI : public CControlUI {
 public:
  CScrollBarUI();
  const char* GetClass() const override { return "ScrollBarUI"; }
  void* GetInterface(const char* pstrName) override;

  CContainerUI* GetOwner() const { return m_pOwner; }
  void SetOwner(CContainerUI* pOwner) { m_pOwner = pOwner; }
  bool IsHorizontal() const { return m_bHorizontal; }
  void SetHorizontal(bool bHorizontal = true);
  int GetScrollRange() const { return m_nRange; }
  void SetScrollRange(int nRange);
  int GetScrollPos() const { return m_nScrollPos; }
  void SetScrollPos(int nPos, bool bTriggerEvent = true);
  int GetLineSize() const;
  void SetLineSize(int nSize) { m_nLineSize = nSize; }
  // The thumb's rectangle in window coordinates.
  RECT GetThumbRect() const;

  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  void PaintBkColor(HDC hDC) override;
  void PaintStatusImage(HDC hDC) override;

 private:
  CContainerUI* m_pOwner = nullptr;
  bool m_bHorizontal = false;
  int m_nRange = 100;
  int m_nScrollPos = 0;
  int m_nLineSize = 8;
  int m_nLastScrollPos = 0;
  POINT m_ptLastMouse;
  bool m_bDragging = false;
  UINT m_uThumbState = 0;
  DWORD m_dwThumbColor = 0xFF30353D;
  DWORD m_dwThumbHotColor = 0xFF0099FF;
  CDuiString m_sThumbNormalImage;
  CDuiString m_sThumbHotImage;
  CDuiString m_sThumbPushedImage;
  CDuiString m_sRailImage;
};

}  // namespace ostrel
