#pragma once
#include "platform/ui/UIDefs.h"

namespace ostrel {

// Scaling of layout pixels (laid out at 96 DPI) to device pixels.
class CDPI {
 public:
  static constexpr int kDefaultDPI = 96;

  int GetDPI() const { return dpi_; }
  // Accepts 48 ... 480; other values are ignored (false).
  bool SetDPI(int dpi);
  // Percent of the layout size (100 at 96 DPI, 150 at 144 DPI).
  int GetScale() const { return dpi_ * 100 / kDefaultDPI; }

  int Scale(int value) const;
  RECT Scale(RECT rect) const;
  void Scale(RECT* rect) const { *rect = Scale(*rect); }
  SIZE Scale(SIZE size) const;
  void Scale(SIZE* size) const { *size = Scale(*size); }
  POINT Scale(POINT point) const;
  // Device pixels back to layout pixels.
  int ScaleBack(int value) const;

 private:
  int dpi_ = kDefaultDPI;
};

}  // namespace ostrel
