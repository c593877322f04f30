#include "platform/ui/CSdlToolTip.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>

namespace ostrel {

namespace {
// The skin's raised-control background, border and text colours.
constexpr double kBackground[3] = {0x26 / 255.0, 0x2A / 255.0, 0x31 / 255.0};
constexpr double kBorder[3] = {0x2F / 255.0, 0x34 / 255.0, 0x3C / 255.0};
constexpr int kPadding = 6;
constexpr int kOffsetBelowPointer = 20;
constexpr const char* kFont = "Sans 9";

PangoLayout* MakeLayout(cairo_t* cr, const std::string& text) {
  PangoLayout* layout = pango_cairo_create_layout(cr);
  PangoFontDescription* font = pango_font_description_from_string(kFont);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  pango_layout_set_text(layout, text.c_str(), -1);
  pango_layout_set_width(layout, 400 * PANGO_SCALE);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  return layout;
}
}  // namespace

CSdlToolTip::~CSdlToolTip() {
  if (window_) SDL_DestroyWindow(window_);
}

void CSdlToolTip::Show(const std::string& text, POINT anchor, const RECT& monitor) {
  text_ = text;
  // Measure on a scratch surface first: the window takes the text's size.
  cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  cairo_t* cr = cairo_create(scratch);
  PangoLayout* layout = MakeLayout(cr, text);
  int tw = 0;
  int th = 0;
  pango_layout_get_pixel_size(layout, &tw, &th);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_destroy(scratch);
  int w = tw + 2 * kPadding;
  int h = th + 2 * kPadding;
  int x = anchor.x;
  int y = anchor.y + kOffsetBelowPointer;
  if (x + w > monitor.right) x = std::max<int>(monitor.left, monitor.right - w);
  if (y + h > monitor.bottom) y = std::max<int>(monitor.top, anchor.y - h - 4);
  if (!window_) {
    window_ = SDL_CreateWindow("", x, y, w, h,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_TOOLTIP |
                                   SDL_WINDOW_SKIP_TASKBAR | SDL_WINDOW_ALWAYS_ON_TOP);
    if (!window_) return;
  } else {
    SDL_SetWindowPosition(window_, x, y);
    SDL_SetWindowSize(window_, w, h);
  }
  SDL_ShowWindow(window_);
  visible_ = true;
  Paint();
}

void CSdlToolTip::Hide() {
  if (window_ && visible_) SDL_HideWindow(window_);
  visible_ = false;
  text_.clear();
}

void CSdlToolTip::Redraw() {
  if (visible_) Paint();
}

void CSdlToolTip::Paint() {
  SDL_Surface* target = SDL_GetWindowSurface(window_);
  if (!target) return;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, target->w, target->h);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, kBackground[0], kBackground[1], kBackground[2]);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, kBorder[0], kBorder[1], kBorder[2]);
  cairo_rectangle(cr, 0.5, 0.5, target->w - 1, target->h - 1);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_move_to(cr, kPadding, kPadding);
  PangoLayout* layout = MakeLayout(cr, text_);
  pango_cairo_show_layout(cr, layout);
  g_object_unref(layout);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  SDL_Surface* source =
      SDL_CreateRGBSurfaceWithFormatFrom(cairo_image_surface_get_data(surface), target->w, target->h, 32,
                                         cairo_image_surface_get_stride(surface), SDL_PIXELFORMAT_RGB888);
  if (source) {
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    SDL_BlitSurface(source, nullptr, target, nullptr);
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurface(window_);
  }
  cairo_surface_destroy(surface);
}

}  // namespace ostrel
