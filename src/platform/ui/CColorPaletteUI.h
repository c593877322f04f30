#pragma once
// A colour picker: a field of hues (across) and lightness (down) and a bar
// of saturation under it. Picking raises "colorchanged" with the colour
// (0xFFRRGGBB) in wParam; GetSelectColor answers the same.

#include "platform/ui/CControlUI.h"

struct _cairo_surface;

namespace ostrel {

class CColorPaletteUI : public CControlUI {
 public:
  CColorPaletteUI();
  ~CColorPaletteUI() override;
  const char* GetClass() const override { return "ColorPaletteUI"; }
  void* GetInterface(const char* pstrName) override;

  DWORD GetSelectColor() const;
  void SetSelectColor(DWORD dwColor);
  int GetPalletHeight() const;
  void SetPalletHeight(int nHeight);
  int GetBarHeight() const;
  void SetBarHeight(int nHeight);
  void SetThumbImage(const char* pszImage);

  void SetPos(RECT rc, bool bNeedInvalidate = true) override;
  void DoEvent(TEventUI& event) override;
  void PaintBkColor(HDC hDC) override;
  void PaintStatusImage(HDC hDC) override;
  void SetAttribute(const char* pstrName, const char* pstrValue) override;

 private:
  enum class Drag { None, Field, Bar };
  RECT FieldRect() const;
  RECT BarRect() const;
  void PickAt(POINT pt, bool notify);
  void RebuildField();

  // Hue 0-359, saturation and lightness 0-200 (100 = the hue's full colour).
  int m_nCurH = 180;
  int m_nCurS = 200;
  int m_nCurB = 100;
  int m_nPalletHeight = 0;
  int m_nBarHeight = 10;
  Drag m_drag = Drag::None;
  CDuiString m_sThumbImage;
  _cairo_surface* m_field = nullptr;
  int m_nFieldS = -1;
};

}  // namespace ostrel
