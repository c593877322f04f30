#pragma once
// A button that shows a window onto a larger picture; dragging with the
// button held moves the picture inside the window, never past its edges.

#include "platform/ui/CButtonUI.h"

namespace ostrel {

class CHandImgSelectButtonUI : public CButtonUI {
 public:
  CHandImgSelectButtonUI() = default;
  ~CHandImgSelectButtonUI() override = default;

  const char* GetClass() const override { return "HandImgSelectButton"; }
  void* GetInterface(const char* pstrName) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  void PaintStatusImage(HDC hDC) override;
  void SetPos(RECT rc, bool bNeedInvalidate = true) override;

  // The picture's file name (relative to the skin folder or absolute).
  void SetHandImage(const char* pStrImage);
  const CDuiString& GetHandImage() const { return m_sHandImage; }
  // What is drawn: the file, with the visible part as "source" when the
  // picture is larger than the button.
  const CDuiString& GetDrawString() const { return m_sDrawString; }
  // The visible part in picture pixels.
  RECT GetSourceRect() const { return m_rcSource; }
  SIZE GetPictureSize() const { return SIZE{m_nPictureWidth, m_nPictureHeight}; }
  bool IsDragging() const { return m_bDragging; }

 private:
  void RebuildDrawString();
  // The window's size in picture pixels: the button's, at most the picture's.
  SIZE WindowSize() const;

  CDuiString m_sHandImage;
  CDuiString m_sDrawString;
  int m_nPictureWidth = 0;
  int m_nPictureHeight = 0;
  bool m_bLarger = false;
  RECT m_rcSource;
  POINT m_ptLast;
  bool m_bDragging = false;
};

}  // namespace ostrel
