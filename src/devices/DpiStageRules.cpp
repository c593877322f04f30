#include "devices/DpiStageRules.h"

#include <algorithm>
#include <climits>

namespace ostrel {

int DpiStageRules::EditValue(std::string_view text, const DpiLimits& limits) {
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<long long>(value * 10 + (c - '0'), INT_MAX);
  }
  return std::max(static_cast<int>(value), limits.lowestDpi);
}

std::optional<int> DpiStageRules::StepsFromDpi(int dpi, const DpiLimits& limits) {
  if (limits.step <= 0) return std::nullopt;
  return ClampSteps(std::max(dpi, 0) / limits.step, limits);
}

int DpiStageRules::ClampSteps(int steps, const DpiLimits& limits) {
  steps = std::max(steps, 0);
  if (limits.highestSteps > 0) steps = std::min(steps, limits.highestSteps);
  return std::min(steps, 0xFFFF);
}

std::string DpiStageRules::DpiText(int steps, const DpiLimits& limits) {
  return std::to_string(static_cast<long long>(steps) * limits.step);
}

int DpiStageRules::ClampMirror(int value) { return std::clamp(value, kMirrorLowest, kMirrorHighest); }

}  // namespace ostrel
