#include "platform/ui/CDPI.h"

namespace ostrel {

bool CDPI::SetDPI(int dpi) {
  if (dpi < 48 || dpi > 480) return false;
  dpi_ = dpi;
  return true;
}

int CDPI::Scale(int value) const {
  if (dpi_ == kDefaultDPI) return value;
  // Rounded to nearest, symmetric for negative values.
  long long v = static_cast<long long>(value) * dpi_;
  return static_cast<int>(v >= 0 ? (v + kDefaultDPI / 2) / kDefaultDPI
                                 : -((-v + kDefaultDPI / 2) / kDefaultDPI));
}

RECT CDPI::Scale(RECT r) const { return RECT{Scale(r.left), Scale(r.top), Scale(r.right), Scale(r.bottom)}; }
SIZE CDPI::Scale(SIZE s) const { return SIZE{Scale(s.cx), Scale(s.cy)}; }
POINT CDPI::Scale(POINT p) const { return POINT{Scale(p.x), Scale(p.y)}; }

int CDPI::ScaleBack(int value) const {
  if (dpi_ == kDefaultDPI) return value;
  long long v = static_cast<long long>(value) * kDefaultDPI;
  return static_cast<int>(v >= 0 ? (v + dpi_ / 2) / dpi_ : -((-v + dpi_ / 2) / dpi_));
}

}  // namespace ostrel
