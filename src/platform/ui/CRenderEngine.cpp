#include "platform/ui/CRenderEngine.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <list>
#include <unordered_map>

#include "platform/os/DebugLog.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/PrivateFontSync.h"

namespace ostrel {

namespace {
constexpr double kPi = 3.14159265358979323846;

void SetSourceArgb(cairo_t* cr, DWORD c) {
  cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                        ((c >> 24) & 0xFF) / 255.0);
}

RECT Clip(const RECT& a, const RECT& b) {
  RECT r;
  IntersectRect(&r, a, b);
  return r;
}

// Text layouts are kept: labels repaint the same texts every frame.
class TextLayoutCache {
 public:
  static TextLayoutCache& Get() {
    static TextLayoutCache cache;
    return cache;
  }
  PangoLayout* Layout(const char* text, PangoFontDescription* font, bool underline, int width, UINT style) {
    if (SyncPrivateFonts()) DropContext();
    std::string key;
    key.reserve(64);
    key.append(text);
    key.push_back('\x1f');
    key.append(std::to_string(reinterpret_cast<std::uintptr_t>(font)));
    key.push_back(':');
    key.append(std::to_string(width));
    key.push_back(':');
    key.append(
        std::to_string(style & (DT_WORDBREAK | DT_SINGLELINE | DT_END_ELLIPSIS | DT_CENTER | DT_RIGHT)));
    key.push_back(underline ? 'u' : '-');
    auto it = map_.find(key);
    if (it != map_.end()) {
      order_.splice(order_.begin(), order_, it->second.pos);
      return it->second.layout;
    }
    PangoLayout* layout = pango_layout_new(Context());
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, text, -1);
    if (underline) {
      PangoAttrList* attrs = pango_attr_list_new();
      pango_attr_list_insert(attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
      pango_layout_set_attributes(layout, attrs);
      pango_attr_list_unref(attrs);
    }
    if (style & DT_WORDBREAK) {
      if (width > 0) pango_layout_set_width(layout, width * PANGO_SCALE);
      pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
      pango_layout_set_alignment(layout, (style & DT_CENTER)  ? PANGO_ALIGN_CENTER
                                         : (style & DT_RIGHT) ? PANGO_ALIGN_RIGHT
                                                              : PANGO_ALIGN_LEFT);
      if ((style & DT_END_ELLIPSIS) && width > 0) pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
    } else {
      if (style & DT_SINGLELINE) pango_layout_set_single_paragraph_mode(layout, TRUE);
      if ((style & DT_END_ELLIPSIS) && width > 0) {
        pango_layout_set_width(layout, width * PANGO_SCALE);
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
      }
    }
    order_.push_front(key);
    map_[key] = Entry{layout, order_.begin()};
    if (map_.size() > kCapacity) {
      auto last = map_.find(order_.back());
      g_object_unref(last->second.layout);
      map_.erase(last);
      order_.pop_back();
    }
    return layout;
  }
  void Clear() {
    for (auto& [k, e] : map_) g_object_unref(e.layout);
    map_.clear();
    order_.clear();
  }
  // The font map changed: layouts and the context were made with the old one.
  void DropContext() {
    Clear();
    if (context_) g_object_unref(context_);
    context_ = nullptr;
  }

 private:
  static constexpr std::size_t kCapacity = 2048;
  struct Entry {
    PangoLayout* layout;
    std::list<std::string>::iterator pos;
  };
  PangoContext* Context() {
    if (!context_) {
      context_ = pango_font_map_create_context(pango_cairo_font_map_get_default());
      cairo_font_options_t* options = cairo_font_options_create();
      cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
      cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
      pango_cairo_context_set_font_options(context_, options);
      cairo_font_options_destroy(options);
    }
    return context_;
  }
  PangoContext* context_ = nullptr;
  std::unordered_map<std::string, Entry> map_;
  std::list<std::string> order_;
};

// One piece of an image: source rectangle of the surface into a destination.
void DrawPiece(cairo_t* cr, cairo_surface_t* surface, const RECT& wantedSrc, const RECT& wantedDst,
               const RECT& paint, double alpha, bool xtiled, bool ytiled, const DWORD* tint, double tintAlpha) {
  // A source reaching outside the picture (a layout's "source" attribute) is
  // cut to the picture, and the destination shrinks in proportion: pixman
  // must never sample outside the surface.
  RECT src = wantedSrc;
  RECT dst = wantedDst;
  const RECT bounds{0, 0, cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)};
  const RECT cut = Clip(wantedSrc, bounds);
  if (IsRectEmpty(cut)) return;
  if (cut.left != src.left || cut.top != src.top || cut.right != src.right || cut.bottom != src.bottom) {
    const double fx = static_cast<double>(wantedDst.right - wantedDst.left) / (wantedSrc.right - wantedSrc.left);
    const double fy = static_cast<double>(wantedDst.bottom - wantedDst.top) / (wantedSrc.bottom - wantedSrc.top);
    dst.left = wantedDst.left + static_cast<LONG>((cut.left - wantedSrc.left) * fx);
    dst.top = wantedDst.top + static_cast<LONG>((cut.top - wantedSrc.top) * fy);
    dst.right = wantedDst.right - static_cast<LONG>((wantedSrc.right - cut.right) * fx);
    dst.bottom = wantedDst.bottom - static_cast<LONG>((wantedSrc.bottom - cut.bottom) * fy);
    src = cut;
  }
  RECT visible = Clip(dst, paint);
  if (IsRectEmpty(visible) || IsRectEmpty(src)) return;
  int sw = src.right - src.left;
  int sh = src.bottom - src.top;
  int dw = dst.right - dst.left;
  int dh = dst.bottom - dst.top;
  cairo_save(cr);
  cairo_rectangle(cr, visible.left, visible.top, visible.right - visible.left, visible.bottom - visible.top);
  cairo_clip(cr);
  // A part of a larger image is sampled as a surface of its own, so that
  // scaling never blends in the pixels around it.
  bool whole = src.left == 0 && src.top == 0 && sw == cairo_image_surface_get_width(surface) &&
               sh == cairo_image_surface_get_height(surface);
  cairo_surface_t* part = whole ? cairo_surface_reference(surface)
                                : cairo_surface_create_for_rectangle(surface, src.left, src.top, sw, sh);
  RECT local{0, 0, sw, sh};
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(part);
  cairo_matrix_t m;
  double sx = (xtiled ? 1.0 : static_cast<double>(sw) / dw);
  double sy = (ytiled ? 1.0 : static_cast<double>(sh) / dh);
  cairo_matrix_init_scale(&m, sx, sy);
  cairo_matrix_translate(&m, -dst.left, -dst.top);
  cairo_pattern_set_matrix(pattern, &m);
  (void)local;
  bool exact = (sw == dw || xtiled) && (sh == dh || ytiled);
  cairo_pattern_set_filter(pattern, exact ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
  bool tiled = xtiled || ytiled;
  if (tiled) {
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pattern, exact ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_rectangle(cr, dst.left, dst.top, dw, dh);
    cairo_clip(cr);
  } else {
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_rectangle(cr, dst.left, dst.top, dw, dh);
    cairo_clip(cr);
  }
  cairo_set_source(cr, pattern);
  if (alpha >= 1.0) {
    cairo_paint(cr);
  } else {
    cairo_paint_with_alpha(cr, alpha);
  }
  if (tint) {
    DWORD c = *tint;  // RGB(): red in the low byte
    cairo_set_source_rgba(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, ((c >> 16) & 0xFF) / 255.0,
                          tintAlpha * alpha);
    cairo_mask(cr, pattern);
  }
  cairo_pattern_destroy(pattern);
  cairo_surface_destroy(part);
  cairo_restore(cr);
}

void RoundRectPath(cairo_t* cr, double x, double y, double w, double h, double rx, double ry) {
  rx = std::min(rx, w / 2);
  ry = std::min(ry, h / 2);
  if (rx <= 0 || ry <= 0) {
    cairo_rectangle(cr, x, y, w, h);
    return;
  }
  cairo_new_sub_path(cr);
  cairo_save(cr);
  cairo_translate(cr, x + w - rx, y + ry);
  cairo_scale(cr, rx, ry);
  cairo_arc(cr, 0, 0, 1, -kPi / 2, 0);
  cairo_restore(cr);
  cairo_save(cr);
  cairo_translate(cr, x + w - rx, y + h - ry);
  cairo_scale(cr, rx, ry);
  cairo_arc(cr, 0, 0, 1, 0, kPi / 2);
  cairo_restore(cr);
  cairo_save(cr);
  cairo_translate(cr, x + rx, y + h - ry);
  cairo_scale(cr, rx, ry);
  cairo_arc(cr, 0, 0, 1, kPi / 2, kPi);
  cairo_restore(cr);
  cairo_save(cr);
  cairo_translate(cr, x + rx, y + ry);
  cairo_scale(cr, rx, ry);
  cairo_arc(cr, 0, 0, 1, kPi, 3 * kPi / 2);
  cairo_restore(cr);
  cairo_close_path(cr);
}

void SetDash(cairo_t* cr, int style, int size) {
  // 0 solid, 1 dash, 2 dot (as the pen styles).
  if (style == 1) {
    double d[] = {3.0 * size, 1.0 * size};
    cairo_set_dash(cr, d, 2, 0);
  } else if (style == 2) {
    double d[] = {1.0 * size, 1.0 * size};
    cairo_set_dash(cr, d, 2, 0);
  }
}

// HSL helpers on 0..1 values.
void RgbToHsl(double r, double g, double b, double* h, double* s, double* l) {
  double mx = std::max({r, g, b});
  double mn = std::min({r, g, b});
  *l = (mx + mn) / 2;
  if (mx == mn) {
    *h = 0;
    *s = 0;
    return;
  }
  double d = mx - mn;
  *s = *l > 0.5 ? d / (2 - mx - mn) : d / (mx + mn);
  if (mx == r) {
    *h = (g - b) / d + (g < b ? 6 : 0);
  } else if (mx == g) {
    *h = (b - r) / d + 2;
  } else {
    *h = (r - g) / d + 4;
  }
  *h /= 6;
}

double HueToRgb(double p, double q, double t) {
  if (t < 0) t += 1;
  if (t > 1) t -= 1;
  if (t < 1.0 / 6) return p + (q - p) * 6 * t;
  if (t < 1.0 / 2) return q;
  if (t < 2.0 / 3) return p + (q - p) * (2.0 / 3 - t) * 6;
  return p;
}

void HslToRgb(double h, double s, double l, double* r, double* g, double* b) {
  if (s == 0) {
    *r = *g = *b = l;
    return;
  }
  double q = l < 0.5 ? l * (1 + s) : l + s - l * s;
  double p = 2 * l - q;
  *r = HueToRgb(p, q, h + 1.0 / 3);
  *g = HueToRgb(p, q, h);
  *b = HueToRgb(p, q, h - 1.0 / 3);
}

}  // namespace

TImageInfo* CRenderEngine::LoadImage(const char* pstrPath, const char* type, DWORD mask) {
  if (!pstrPath || !*pstrPath) return nullptr;
  cairo_surface_t* loaded = cairo_image_surface_create_from_png(pstrPath);
  if (cairo_surface_status(loaded) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(loaded);
    DebugPrintf("ui: cannot load image '%s'", pstrPath);
    return nullptr;
  }
  // Always keep ARGB32 so masks and tints see an alpha channel.
  int w = cairo_image_surface_get_width(loaded);
  int h = cairo_image_surface_get_height(loaded);
  bool alpha = cairo_image_surface_get_format(loaded) == CAIRO_FORMAT_ARGB32;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_surface(cr, loaded, 0, 0);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_destroy(loaded);
  cairo_surface_flush(surface);
  if (mask != 0) {
    unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    DWORD key = mask & 0x00FFFFFF;
    for (int y = 0; y < h; ++y) {
      auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
      for (int x = 0; x < w; ++x)
        if ((row[x] >> 24) == 0xFF && (row[x] & 0x00FFFFFF) == key) row[x] = 0;
    }
    cairo_surface_mark_dirty(surface);
    alpha = true;
  }
  auto* info = new TImageInfo;
  info->surface = surface;
  info->nX = w;
  info->nY = h;
  info->bAlpha = alpha;
  info->dwMask = mask;
  info->sResType = type ? type : "";
  info->sPath = pstrPath;
  return info;
}

void CRenderEngine::FreeImage(TImageInfo* info) {
  if (!info) return;
  if (info->surface) cairo_surface_destroy(info->surface);
  delete info;
}

void CRenderEngine::DrawImage(HDC hDC, const TImageInfo* image, const RECT& rc, const RECT& rcPaint,
                              const RECT& rcBmpPart, const RECT& rcCorners, BYTE uFade, bool hole,
                              bool xtiled, bool ytiled) {
  if (!hDC || !image || !image->surface) return;
  double alpha = uFade / 255.0;
  RECT src = rcBmpPart;
  if (IsRectEmpty(src)) src = RECT{0, 0, image->nX, image->nY};
  const RECT& c = rcCorners;
  if (c.left == 0 && c.top == 0 && c.right == 0 && c.bottom == 0) {
    DrawPiece(hDC, image->surface, src, rc, rcPaint, alpha, xtiled, ytiled, nullptr, 0);
    return;
  }
  // Nine pieces: corners keep their size, edges stretch one way, the middle both.
  LONG sx[4] = {src.left, src.left + c.left, src.right - c.right, src.right};
  LONG sy[4] = {src.top, src.top + c.top, src.bottom - c.bottom, src.bottom};
  LONG dx[4] = {rc.left, rc.left + c.left, rc.right - c.right, rc.right};
  LONG dy[4] = {rc.top, rc.top + c.top, rc.bottom - c.bottom, rc.bottom};
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      if (hole && row == 1 && col == 1) continue;
      RECT s{sx[col], sy[row], sx[col + 1], sy[row + 1]};
      RECT d{dx[col], dy[row], dx[col + 1], dy[row + 1]};
      bool middle = row == 1 && col == 1;
      DrawPiece(hDC, image->surface, s, d, rcPaint, alpha, middle && xtiled, middle && ytiled, nullptr, 0);
    }
  }
}

bool CRenderEngine::DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem,
                                    const RECT& rcPaint, const char* pStrImage, const char* pStrModify,
                                    DWORD dwTintColor, int nTintLevel, bool bTint) {
  if (!pStrImage || !*pStrImage) return false;
  const TDrawInfo& info = CPaintManagerUI::GetDrawInfo(pStrImage, pStrModify);
  return DrawImageInfo(hDC, pManager, rcItem, rcPaint, info, dwTintColor, nTintLevel, bTint);
}

bool CRenderEngine::DrawImageInfo(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem, const RECT& rcPaint,
                                  const TDrawInfo& info, DWORD dwTintColor, int nTintLevel, bool bTint) {
  if (!hDC || info.sImageName.IsEmpty()) return false;
  const TImageInfo* image =
      CPaintManagerUI::GetImageEx(info.sImageName, info.sResType, info.dwMask, info.bHSL);
  if (!image) return false;
  const CDPI* dpi = pManager ? pManager->GetDPIObj() : nullptr;
  RECT dest = rcItem;
  if (info.bDest) {
    RECT d = dpi ? dpi->Scale(info.rcDest) : info.rcDest;
    dest = RECT{rcItem.left + d.left, rcItem.top + d.top, rcItem.left + d.right, rcItem.top + d.bottom};
    if (dest.right > rcItem.right) dest.right = rcItem.right;
    if (dest.bottom > rcItem.bottom) dest.bottom = rcItem.bottom;
  }
  if (IsRectEmpty(dest)) return false;
  RECT test;
  if (!IntersectRect(&test, dest, rcPaint)) return true;
  RECT src = info.bSource ? info.rcSource : RECT{0, 0, image->nX, image->nY};
  if (src.right > image->nX) src.right = image->nX;
  if (src.bottom > image->nY) src.bottom = image->nY;
  RECT corner = dpi ? dpi->Scale(info.rcCorner) : info.rcCorner;
  if (!bTint) {
    DrawImage(hDC, image, dest, rcPaint, src, corner, info.uFade, info.bHole, info.bTiledX, info.bTiledY);
    return true;
  }
  // A tinted image shows the tint colour in the image's shape.
  double alpha = info.uFade / 255.0;
  double tintAlpha = std::clamp(nTintLevel, 0, 255) / 255.0;
  DrawPiece(hDC, image->surface, src, dest, rcPaint, alpha, info.bTiledX, info.bTiledY, &dwTintColor,
            tintAlpha);
  return true;
}

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color) {
  if (!hDC || (color >> 24) == 0 || IsRectEmpty(rc)) return;
  SetSourceArgb(hDC, color);
  cairo_rectangle(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
  cairo_fill(hDC);
}

void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD dwFirst, DWORD dwSecond, bool bVertical) {
  if (!hDC || IsRectEmpty(rc)) return;
  cairo_pattern_t* p = bVertical ? cairo_pattern_create_linear(0, rc.top, 0, rc.bottom)
                                 : cairo_pattern_create_linear(rc.left, 0, rc.right, 0);
  auto stop = [&](double at, DWORD c) {
    cairo_pattern_add_color_stop_rgba(p, at, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                                      (c & 0xFF) / 255.0, ((c >> 24) & 0xFF) / 255.0);
  };
  stop(0, dwFirst);
  stop(1, dwSecond);
  cairo_set_source(hDC, p);
  cairo_rectangle(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
  cairo_fill(hDC);
  cairo_pattern_destroy(p);
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle) {
  if (!hDC || nSize <= 0) return;
  cairo_save(hDC);
  SetSourceArgb(hDC, dwPenColor);
  cairo_set_line_width(hDC, nSize);
  SetDash(hDC, nStyle, nSize);
  // Half-pixel offsets keep odd-width horizontal and vertical lines crisp.
  double off = (nSize % 2) ? 0.5 : 0.0;
  double x1 = rc.left + (rc.left == rc.right ? off : 0);
  double x2 = rc.right + (rc.left == rc.right ? off : 0);
  double y1 = rc.top + (rc.top == rc.bottom ? off : 0);
  double y2 = rc.bottom + (rc.top == rc.bottom ? off : 0);
  cairo_move_to(hDC, x1, y1);
  cairo_line_to(hDC, x2, y2);
  cairo_stroke(hDC);
  cairo_restore(hDC);
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor, int nStyle) {
  if (!hDC || nSize <= 0 || IsRectEmpty(rc)) return;
  cairo_save(hDC);
  SetSourceArgb(hDC, dwPenColor);
  cairo_set_line_width(hDC, nSize);
  SetDash(hDC, nStyle, nSize);
  double h = nSize / 2.0;
  cairo_rectangle(hDC, rc.left + h, rc.top + h, rc.right - rc.left - nSize, rc.bottom - rc.top - nSize);
  cairo_stroke(hDC);
  cairo_restore(hDC);
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int width, int height, int nSize, DWORD dwPenColor,
                                  int nStyle) {
  if (!hDC || nSize <= 0 || IsRectEmpty(rc)) return;
  cairo_save(hDC);
  SetSourceArgb(hDC, dwPenColor);
  cairo_set_line_width(hDC, nSize);
  SetDash(hDC, nStyle, nSize);
  double h = nSize / 2.0;
  RoundRectPath(hDC, rc.left + h, rc.top + h, rc.right - rc.left - nSize, rc.bottom - rc.top - nSize,
                width / 2.0, height / 2.0);
  cairo_stroke(hDC);
  cairo_restore(hDC);
}

void CRenderEngine::ClipRoundRect(HDC hDC, const RECT& rc, int width, int height) {
  if (!hDC) return;
  cairo_new_path(hDC);
  RoundRectPath(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, width / 2.0, height / 2.0);
  cairo_clip(hDC);
}

void CRenderEngine::FillRoundRect(HDC hDC, const RECT& rc, int width, int height, DWORD dwColor) {
  if (!hDC || IsRectEmpty(rc) || (dwColor >> 24) == 0) return;
  SetSourceArgb(hDC, dwColor);
  RoundRectPath(hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, width / 2.0, height / 2.0);
  cairo_fill(hDC);
}

void CRenderEngine::FillPie(HDC hDC, const RECT& rc, double startAngle, double sweepAngle, DWORD dwColor) {
  if (!hDC || IsRectEmpty(rc) || sweepAngle == 0) return;
  double w = rc.right - rc.left;
  double h = rc.bottom - rc.top;
  cairo_save(hDC);
  cairo_translate(hDC, rc.left + w / 2, rc.top + h / 2);
  cairo_scale(hDC, w / 2, h / 2);
  double a0 = startAngle * kPi / 180.0;
  double a1 = (startAngle + sweepAngle) * kPi / 180.0;
  if (std::fabs(sweepAngle) >= 360.0) {
    cairo_arc(hDC, 0, 0, 1, 0, 2 * kPi);
  } else {
    cairo_move_to(hDC, 0, 0);
    if (sweepAngle > 0) {
      cairo_arc(hDC, 0, 0, 1, a0, a1);
    } else {
      cairo_arc_negative(hDC, 0, 0, 1, a0, a1);
    }
    cairo_close_path(hDC);
  }
  cairo_restore(hDC);
  SetSourceArgb(hDC, dwColor);
  cairo_fill(hDC);
}

void CRenderEngine::DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, const char* pstrText,
                             DWORD dwTextColor, int iFont, UINT uStyle) {
  if (!pManager || !pstrText) return;
  if (!*pstrText) {
    if (uStyle & DT_CALCRECT) {
      rc.right = rc.left;
      rc.bottom = rc.top;
    }
    return;
  }
  PangoFontDescription* font = pManager->GetFontDescription(iFont);
  const TFontInfo* info = pManager->GetFontInfo(iFont);
  bool underline = info && info->bUnderline;
  int width = rc.right - rc.left;
  if (uStyle & DT_CALCRECT) {
    int wrapWidth = (uStyle & DT_WORDBREAK) ? width : -1;
    PangoLayout* layout =
        TextLayoutCache::Get().Layout(pstrText, font, underline, wrapWidth, uStyle & ~DT_END_ELLIPSIS);
    int tw = 0;
    int th = 0;
    pango_layout_get_pixel_size(layout, &tw, &th);
    rc.right = rc.left + tw;
    rc.bottom = rc.top + th;
    return;
  }
  if (!hDC || width <= 0 || rc.bottom <= rc.top) return;
  PangoLayout* layout = TextLayoutCache::Get().Layout(pstrText, font, underline, width, uStyle);
  PangoRectangle logical;
  pango_layout_get_pixel_extents(layout, nullptr, &logical);
  double x = rc.left;
  if (!(uStyle & DT_WORDBREAK)) {
    int tw = logical.width;
    if (uStyle & DT_CENTER) {
      x = rc.left + (width - tw) / 2.0;
    } else if (uStyle & DT_RIGHT) {
      x = rc.right - tw;
    }
    x -= logical.x;
  }
  int th = logical.height;
  double y = rc.top;
  if (uStyle & DT_VCENTER) {
    y = rc.top + ((rc.bottom - rc.top) - th) / 2.0;
  } else if (uStyle & DT_BOTTOM) {
    y = rc.bottom - th;
  }
  cairo_save(hDC);
  cairo_rectangle(hDC, rc.left, rc.top, width, rc.bottom - rc.top);
  cairo_clip(hDC);
  SetSourceArgb(hDC, dwTextColor);
  cairo_move_to(hDC, std::round(x), std::round(y));
  pango_cairo_show_layout(hDC, layout);
  cairo_restore(hDC);
}

SIZE CRenderEngine::GetTextSize(CPaintManagerUI* pManager, const char* pstrText, int iFont, UINT uStyle,
                                int maxWidth) {
  RECT rc{0, 0, maxWidth > 0 ? maxWidth : 0, 0};
  DrawText(nullptr, pManager, rc, pstrText, 0, iFont,
           (uStyle | DT_CALCRECT) & ~(maxWidth > 0 ? 0 : DT_WORDBREAK));
  return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

namespace {
PangoLayout* EditLayout(CPaintManagerUI* pManager, const char* text, int iFont, UINT uStyle, int width) {
  PangoFontDescription* font = pManager->GetFontDescription(iFont);
  const TFontInfo* info = pManager->GetFontInfo(iFont);
  int w = (uStyle & DT_WORDBREAK) ? width : -1;
  return TextLayoutCache::Get().Layout(text ? text : "", font, info && info->bUnderline, w,
                                       uStyle & ~(DT_END_ELLIPSIS | DT_CENTER | DT_RIGHT));
}
}  // namespace

RECT CRenderEngine::GetCaretRect(CPaintManagerUI* pManager, const char* pstrText, int iFont, UINT uStyle,
                                 int width, int byteIndex) {
  if (!pManager) return RECT{};
  PangoLayout* layout = EditLayout(pManager, pstrText, iFont, uStyle, width);
  int length = static_cast<int>(std::strlen(pstrText ? pstrText : ""));
  PangoRectangle pos;
  pango_layout_index_to_pos(layout, std::clamp(byteIndex, 0, length), &pos);
  int x = PANGO_PIXELS(pos.x);
  int y = PANGO_PIXELS(pos.y);
  int h = std::max(1, PANGO_PIXELS(pos.height));
  return RECT{x, y, x + 1, y + h};
}

int CRenderEngine::HitTestText(CPaintManagerUI* pManager, const char* pstrText, int iFont, UINT uStyle,
                               int width, int x, int y) {
  if (!pManager) return 0;
  PangoLayout* layout = EditLayout(pManager, pstrText, iFont, uStyle, width);
  int index = 0;
  int trailing = 0;
  pango_layout_xy_to_index(layout, x * PANGO_SCALE, y * PANGO_SCALE, &index, &trailing);
  const char* text = pango_layout_get_text(layout);
  const char* p = text + index;
  // Past the middle of a character: the caret goes after it.
  while (trailing-- > 0 && *p) p = g_utf8_next_char(p);
  return static_cast<int>(p - text);
}

std::vector<RECT> CRenderEngine::GetSelectionRects(CPaintManagerUI* pManager, const char* pstrText, int iFont,
                                                   UINT uStyle, int width, int start, int end) {
  std::vector<RECT> out;
  if (!pManager || start >= end) return out;
  PangoLayout* layout = EditLayout(pManager, pstrText, iFont, uStyle, width);
  PangoLayoutIter* iter = pango_layout_get_iter(layout);
  do {
    PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
    int lineStart = line->start_index;
    int lineEnd = line->start_index + line->length;
    if (lineEnd < start || lineStart > end) continue;
    int* ranges = nullptr;
    int count = 0;
    pango_layout_line_get_x_ranges(line, std::max(start, lineStart), std::min(end, lineEnd), &ranges, &count);
    PangoRectangle logical;
    pango_layout_iter_get_line_extents(iter, nullptr, &logical);
    for (int i = 0; i < count; ++i) {
      out.push_back(RECT{PANGO_PIXELS(ranges[2 * i]), PANGO_PIXELS(logical.y),
                         PANGO_PIXELS(ranges[2 * i + 1]), PANGO_PIXELS(logical.y + logical.height)});
    }
    g_free(ranges);
  } while (pango_layout_iter_next_line(iter));
  pango_layout_iter_free(iter);
  return out;
}

DWORD CRenderEngine::AdjustColor(DWORD dwColor, short H, short S, short L) {
  if (H == 180 && S == 100 && L == 100) return dwColor;
  double r = ((dwColor >> 16) & 0xFF) / 255.0;
  double g = ((dwColor >> 8) & 0xFF) / 255.0;
  double b = (dwColor & 0xFF) / 255.0;
  double h, s, l;
  RgbToHsl(r, g, b, &h, &s, &l);
  h += (H - 180) / 360.0;
  if (h < 0) h += 1;
  if (h >= 1) h -= 1;
  s = std::clamp(s * S / 100.0, 0.0, 1.0);
  l = std::clamp(l * L / 100.0, 0.0, 1.0);
  HslToRgb(h, s, l, &r, &g, &b);
  auto byte = [](double v) { return static_cast<DWORD>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
  return (dwColor & 0xFF000000) | (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

void CRenderEngine::AdjustImage(bool bUseHSL, TImageInfo* image, short H, short S, short L) {
  if (!bUseHSL || !image || !image->surface) return;
  cairo_surface_flush(image->surface);
  unsigned char* data = cairo_image_surface_get_data(image->surface);
  int stride = cairo_image_surface_get_stride(image->surface);
  for (int y = 0; y < image->nY; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
    for (int x = 0; x < image->nX; ++x) {
      DWORD px = row[x];
      DWORD a = px >> 24;
      if (a == 0) continue;
      // Un-premultiply, adjust, premultiply again.
      DWORD r = ((px >> 16) & 0xFF) * 255 / a;
      DWORD g = ((px >> 8) & 0xFF) * 255 / a;
      DWORD b = (px & 0xFF) * 255 / a;
      DWORD adj = AdjustColor(0xFF000000 | (r << 16) | (g << 8) | b, H, S, L);
      r = ((adj >> 16) & 0xFF) * a / 255;
      g = ((adj >> 8) & 0xFF) * a / 255;
      b = (adj & 0xFF) * a / 255;
      row[x] = (a << 24) | (r << 16) | (g << 8) | b;
    }
  }
  cairo_surface_mark_dirty(image->surface);
}

bool CRenderEngine::SavePng(_cairo_surface* surface, const char* pstrPath) {
  if (!surface || !pstrPath) return false;
  cairo_surface_flush(surface);
  return cairo_surface_write_to_png(surface, pstrPath) == CAIRO_STATUS_SUCCESS;
}

void CRenderEngine::ClearTextCache() { TextLayoutCache::Get().Clear(); }

}  // namespace ostrel
