#pragma once
// A control that shows one text: font, colours, alignment (DT_* flags),
// text padding, end ellipsis and wrapping; optionally sized to its text.

#include "platform/ui/CControlUI.h"

namespace ostrel {

class CLabelUI : public CControlUI {
 public:
  CLabelUI();
  const char* GetClass() const override { return "LabelUI"; }
  void* GetInterface(const char* pstrName) override;

  void SetText(const char* pstrText) override;
  UINT GetTextStyle() const { return m_uTextStyle; }
  void SetTextStyle(UINT uStyle);
  DWORD GetTextColor() const { return m_dwTextColor; }
  void SetTextColor(DWORD dwTextColor);
  DWORD GetDisabledTextColor() const { return m_dwDisabledTextColor; }
  void SetDisabledTextColor(DWORD dwTextColor);
  int GetFont() const { return m_iFont; }
  void SetFont(int index);
  RECT GetTextPadding() const;
  void SetTextPadding(RECT rc);
  bool IsShowHtml() const { return m_bShowHtml; }
  void SetShowHtml(bool bShowHtml = true);
  bool GetAutoCalcWidth() const { return m_bAutoCalcWidth; }
  void SetAutoCalcWidth(bool bAutoCalcWidth);
  bool GetAutoCalcHeight() const { return m_bAutoCalcHeight; }
  void SetAutoCalcHeight(bool bAutoCalcHeight);

  SIZE EstimateSize(SIZE szAvailable) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;
  void PaintText(HDC hDC) override;

 protected:
  // The colour for the current state (0 falls back to the window's default).
  DWORD ResolveTextColor(DWORD dwColor) const;
  // The text as drawn: markup removed when "showhtml" is on.
  CDuiString DisplayText() const;
  void DrawLabelText(HDC hDC, DWORD dwColor);

  UINT m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
  DWORD m_dwTextColor = 0;
  DWORD m_dwDisabledTextColor = 0;
  int m_iFont = -1;
  RECT m_rcTextPadding;
  bool m_bShowHtml = false;
  bool m_bAutoCalcWidth = false;
  bool m_bAutoCalcHeight = false;
};

}  // namespace ostrel
