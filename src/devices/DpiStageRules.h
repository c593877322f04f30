#pragma once
// The rules of a mouse's DPI values: the page shows DPI, the device counts
// steps of its DPI step (device information byte 11) between the lowest DPI
// and the highest number of steps the device reports.

#include <optional>
#include <string>
#include <string_view>

namespace ostrel {

struct DpiLimits {
  int step = 0;          // DPI per step; 0 until the device was read
  int highestSteps = 0;  // 0: not known, no upper limit applied
  int lowestDpi = 0;

  // The highest value an edit may hold (0 when not known).
  int HighestDpi() const { return step * highestSteps; }
};

class DpiStageRules {
 public:
  // `stageEditValue`: the decimal value of an edit's text (empty counts as
  // 0; digits after the first non-digit are ignored; huge values stop at
  // the largest int), raised to the lowest DPI.
  static int EditValue(std::string_view text, const DpiLimits& limits);
  // Steps for a DPI value: rounded down to whole steps and kept within the
  // device's highest steps. No value while the step is unknown (0): the
  // page then keeps what the stage holds.
  static std::optional<int> StepsFromDpi(int dpi, const DpiLimits& limits);
  // A slider value kept within 0 ... highest steps (when known).
  static int ClampSteps(int steps, const DpiLimits& limits);
  // What the edit shows for `steps`.
  static std::string DpiText(int steps, const DpiLimits& limits);

  // The alternative controls mirror a value within this range.
  static constexpr int kMirrorLowest = 200;
  static constexpr int kMirrorHighest = 6500;
  static int ClampMirror(int value);
};

}  // namespace ostrel
