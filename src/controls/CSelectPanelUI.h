#pragma once
// The panel under a device picture's key buttons. Pressing on the panel and
// dragging spans a rectangle; on release every "DeviceKeyButton" child is
// selected exactly when it overlaps the rectangle, and "click_select_end"
// tells the window. A press and release without a move changes nothing.

#include "platform/ui/CVerticalLayoutUI.h"

namespace ostrel {

class CSelectPanelUI : public CVerticalLayoutUI {
 public:
  static constexpr DWORD kFillColor = 0x460099FF;
  static constexpr DWORD kBorderColor = 0xFF0099FF;
  static constexpr int kBorderSize = 2;

  CSelectPanelUI() = default;
  ~CSelectPanelUI() override = default;

  const char* GetClass() const override { return "SelectPanel"; }
  void* GetInterface(const char* pstrName) override;
  void DoEvent(TEventUI& event) override;
  bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* pStopControl) override;

  bool IsPressed() const { return m_bPressed; }
  bool IsSelecting() const { return m_bSelecting; }
  RECT GetSelectionRect() const { return m_rcSelection; }

 private:
  void ApplySelection();

  bool m_bPressed = false;
  bool m_bSelecting = false;
  POINT m_ptStart;
  POINT m_ptCurrent;
  RECT m_rcSelection;
};

}  // namespace ostrel
