#pragma once
// A progress ring: the background colour as a full disc, the done part as a
// pie from 90 degrees (6 o'clock, clockwise) in the fore colour, and a white
// disc 10 px inside that leaves a ring.

#include "platform/ui/CProgressUI.h"

namespace ostrel {

class CCircleProgressUI : public CProgressUI {
 public:
  static constexpr double kStartAngle = 90.0;
  static constexpr int kRingWidth = 10;
  static constexpr DWORD kInnerColor = 0xFFFFFFFF;

  CCircleProgressUI() = default;
  ~CCircleProgressUI() override = default;

  const char* GetClass() const override { return "CircleProgress"; }
  void* GetInterface(const char* pstrName) override;
  void PaintBkColor(HDC hDC) override;
  void PaintForeColor(HDC hDC) override;
  // No bar image: the ring is all there is.
  void PaintForeImage(HDC) override {}

  // The done part in whole degrees.
  int SweepDegrees() const;
};

}  // namespace ostrel
