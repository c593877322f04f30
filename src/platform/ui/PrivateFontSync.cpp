#include "platform/ui/PrivateFontSync.h"

#include <pango/pangocairo.h>

#include <cstdint>

#include "platform/os/PrivateFonts.h"

namespace ostrel {

bool SyncPrivateFonts() {
  static std::uint64_t seen = 0;
  std::uint64_t now = PrivateFontGeneration();
  if (now == seen) return false;
  seen = now;
  // A new map reads fontconfig's current configuration, application fonts
  // included; the old one goes once its last context is gone.
  PangoFontMap* fresh = pango_cairo_font_map_new();
  pango_cairo_font_map_set_default(PANGO_CAIRO_FONT_MAP(fresh));
  g_object_unref(fresh);
  return true;
}

}  // namespace ostrel
