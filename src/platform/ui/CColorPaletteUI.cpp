#include "platform/ui/CColorPaletteUI.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"

namespace ostrel {

namespace {
constexpr int kGap = 4;

// h 0-359, s and l 0-1.
DWORD HslToArgb(double h, double s, double l) {
  double c = (1 - std::fabs(2 * l - 1)) * s;
  double hp = h / 60.0;
  double x = c * (1 - std::fabs(std::fmod(hp, 2.0) - 1));
  double r = 0, g = 0, b = 0;
  if (hp < 1) {
    r = c, g = x;
  } else if (hp < 2) {
    r = x, g = c;
  } else if (hp < 3) {
    g = c, b = x;
  } else if (hp < 4) {
    g = x, b = c;
  } else if (hp < 5) {
    r = x, b = c;
  } else {
    r = c, b = x;
  }
  double m = l - c / 2;
  auto byte = [](double v) { return static_cast<DWORD>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  return 0xFF000000 | (byte(r + m) << 16) | (byte(g + m) << 8) | byte(b + m);
}

// The palette's own scales: lightness 0-200 maps to 1..0 (top bright), saturation 0-200 to 0..1.
DWORD PaletteColor(int h, int s, int b) { return HslToArgb(h % 360, s / 200.0, 1.0 - b / 200.0); }
}  // namespace

CColorPaletteUI::CColorPaletteUI() = default;

CColorPaletteUI::~CColorPaletteUI() {
  if (m_field) cairo_surface_destroy(m_field);
}

void* CColorPaletteUI::GetInterface(const char* pstrName) {
  if (CDuiString(pstrName).CompareNoCase("ColorPalette") == 0) return this;
  return CControlUI::GetInterface(pstrName);
}

DWORD CColorPaletteUI::GetSelectColor() const { return PaletteColor(m_nCurH, m_nCurS, m_nCurB); }

void CColorPaletteUI::SetSelectColor(DWORD dwColor) {
  double r = ((dwColor >> 16) & 0xFF) / 255.0;
  double g = ((dwColor >> 8) & 0xFF) / 255.0;
  double b = (dwColor & 0xFF) / 255.0;
  double mx = std::max({r, g, b});
  double mn = std::min({r, g, b});
  double l = (mx + mn) / 2;
  double d = mx - mn;
  double h = 0;
  double s = 0;
  if (d > 0) {
    s = d / (1 - std::fabs(2 * l - 1));
    if (mx == r) {
      h = 60 * std::fmod((g - b) / d, 6.0);
    } else if (mx == g) {
      h = 60 * ((b - r) / d + 2);
    } else {
      h = 60 * ((r - g) / d + 4);
    }
    if (h < 0) h += 360;
  }
  m_nCurH = static_cast<int>(std::lround(h)) % 360;
  m_nCurS = std::clamp(static_cast<int>(std::lround(s * 200)), 0, 200);
  m_nCurB = std::clamp(static_cast<int>(std::lround((1 - l) * 200)), 0, 200);
  Invalidate();
}

int CColorPaletteUI::GetPalletHeight() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_nPalletHeight) : m_nPalletHeight;
}
void CColorPaletteUI::SetPalletHeight(int nHeight) {
  m_nPalletHeight = nHeight;
  NeedUpdate();
}
int CColorPaletteUI::GetBarHeight() const {
  return m_pManager ? m_pManager->GetDPIObj()->Scale(m_nBarHeight) : m_nBarHeight;
}
void CColorPaletteUI::SetBarHeight(int nHeight) {
  m_nBarHeight = nHeight;
  NeedUpdate();
}
void CColorPaletteUI::SetThumbImage(const char* pszImage) {
  m_sThumbImage = pszImage;
  Invalidate();
}

RECT CColorPaletteUI::FieldRect() const {
  int field = GetPalletHeight();
  int bottom = field > 0 ? m_rcItem.top + field : m_rcItem.bottom - GetBarHeight() - kGap;
  return RECT{m_rcItem.left, m_rcItem.top, m_rcItem.right, std::max<LONG>(m_rcItem.top, bottom)};
}

RECT CColorPaletteUI::BarRect() const {
  RECT f = FieldRect();
  return RECT{m_rcItem.left, f.bottom + kGap, m_rcItem.right,
              std::min<LONG>(m_rcItem.bottom, f.bottom + kGap + GetBarHeight())};
}

void CColorPaletteUI::SetPos(RECT rc, bool bNeedInvalidate) {
  CControlUI::SetPos(rc, bNeedInvalidate);
  m_nFieldS = -1;  // size changed: draw the field again
}

void CColorPaletteUI::RebuildField() {
  RECT f = FieldRect();
  int w = f.right - f.left;
  int h = f.bottom - f.top;
  if (w <= 0 || h <= 0) return;
  if (m_field &&
      (cairo_image_surface_get_width(m_field) != w || cairo_image_surface_get_height(m_field) != h)) {
    cairo_surface_destroy(m_field);
    m_field = nullptr;
  }
  if (!m_field) m_field = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_surface_flush(m_field);
  unsigned char* data = cairo_image_surface_get_data(m_field);
  int stride = cairo_image_surface_get_stride(m_field);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
    int b = h > 1 ? y * 200 / (h - 1) : 100;
    for (int x = 0; x < w; ++x)
      row[x] = GetAdjustColor(PaletteColor(w > 1 ? x * 359 / (w - 1) : 0, m_nCurS, b));
  }
  cairo_surface_mark_dirty(m_field);
  m_nFieldS = m_nCurS;
}

void CColorPaletteUI::PickAt(POINT pt, bool notify) {
  DWORD before = GetSelectColor();
  if (m_drag == Drag::Field) {
    RECT f = FieldRect();
    int w = std::max<int>(1, f.right - f.left - 1);
    int h = std::max<int>(1, f.bottom - f.top - 1);
    m_nCurH = std::clamp<int>((pt.x - f.left) * 359 / w, 0, 359);
    m_nCurB = std::clamp<int>((pt.y - f.top) * 200 / h, 0, 200);
  } else if (m_drag == Drag::Bar) {
    RECT b = BarRect();
    int w = std::max<int>(1, b.right - b.left - 1);
    m_nCurS = std::clamp<int>((pt.x - b.left) * 200 / w, 0, 200);
  }
  Invalidate();
  DWORD after = GetSelectColor();
  if (notify && after != before && m_pManager)
    m_pManager->SendNotify(this, DUI_MSGTYPE_COLORCHANGED, after, 0);
}

void CColorPaletteUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
      if (!IsEnabled()) return;
      if (PtInRect(FieldRect(), event.ptMouse)) {
        m_drag = Drag::Field;
      } else if (PtInRect(BarRect(), event.ptMouse)) {
        m_drag = Drag::Bar;
      } else {
        return;
      }
      PickAt(event.ptMouse, true);
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_drag != Drag::None) PickAt(event.ptMouse, true);
      return;
    case UIEVENT_BUTTONUP:
      m_drag = Drag::None;
      return;
    default:
      CControlUI::DoEvent(event);
  }
}

void CColorPaletteUI::PaintBkColor(HDC hDC) {
  CControlUI::PaintBkColor(hDC);
  if (m_nFieldS != m_nCurS || !m_field) RebuildField();
  RECT f = FieldRect();
  if (m_field) {
    cairo_save(hDC);
    cairo_rectangle(hDC, f.left, f.top, f.right - f.left, f.bottom - f.top);
    cairo_clip(hDC);
    cairo_set_source_surface(hDC, m_field, f.left, f.top);
    cairo_paint(hDC);
    cairo_restore(hDC);
  }
  // The bar runs from grey to the full colour of the chosen hue and lightness.
  RECT b = BarRect();
  CRenderEngine::DrawGradient(hDC, b, GetAdjustColor(PaletteColor(m_nCurH, 0, m_nCurB)),
                              GetAdjustColor(PaletteColor(m_nCurH, 200, m_nCurB)), false);
}

void CColorPaletteUI::PaintStatusImage(HDC hDC) {
  RECT f = FieldRect();
  RECT b = BarRect();
  int fw = std::max<int>(1, f.right - f.left - 1);
  int fh = std::max<int>(1, f.bottom - f.top - 1);
  POINT field{f.left + m_nCurH * fw / 359, f.top + m_nCurB * fh / 200};
  POINT bar{b.left + m_nCurS * std::max<int>(1, b.right - b.left - 1) / 200, (b.top + b.bottom) / 2};
  int r = m_pManager ? m_pManager->GetDPIObj()->Scale(5) : 5;
  for (POINT p : {field, bar}) {
    RECT thumb{p.x - r, p.y - r, p.x + r, p.y + r};
    if (!m_sThumbImage.IsEmpty()) {
      CRenderEngine::DrawImageString(hDC, m_pManager, thumb, m_rcPaint, m_sThumbImage);
    } else {
      CRenderEngine::DrawRoundRect(hDC, thumb, 2 * r, 2 * r, 2, 0xFFFFFFFF);
    }
  }
}

void CColorPaletteUI::SetAttribute(const char* pstrName, const char* pstrValue) {
  CDuiString name(pstrName);
  const char* v = pstrValue ? pstrValue : "";
  if (name.CompareNoCase("palletheight") == 0) {
    SetPalletHeight(std::atoi(v));
  } else if (name.CompareNoCase("barheight") == 0) {
    SetBarHeight(std::atoi(v));
  } else if (name.CompareNoCase("thumbimage") == 0) {
    SetThumbImage(v);
  } else if (name.CompareNoCase("selectcolor") == 0) {
    SetSelectColor(ParseColor(v));
  } else {
    CControlUI::SetAttribute(pstrName, pstrValue);
  }
}

}  // namespace ostrel
