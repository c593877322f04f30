#include "platform/ui/LayoutMath.h"

#include <algorithm>

namespace ostrel {

std::vector<int> DistributeStack(const std::vector<StackItem>& items, int available, int childPadding) {
  const int n = static_cast<int>(items.size());
  std::vector<int> sizes(n, 0);
  if (n == 0) return sizes;
  int used = childPadding * (n - 1);
  std::vector<int> stretch;
  for (int i = 0; i < n; ++i) {
    const StackItem& it = items[i];
    int lo = std::max(0, it.min);
    int hi = std::max(lo, it.max);
    used += it.padBefore + it.padAfter;
    if (it.fixed > 0) {
      sizes[i] = std::clamp(it.fixed, lo, hi);
      used += sizes[i];
    } else {
      stretch.push_back(i);
    }
  }
  int remaining = available - used;
  // Children whose limit binds take it and leave the share to the others.
  bool changed = true;
  while (changed && !stretch.empty()) {
    changed = false;
    int share = std::max(0, remaining) / static_cast<int>(stretch.size());
    for (std::size_t k = 0; k < stretch.size(); ++k) {
      const StackItem& it = items[stretch[k]];
      int lo = std::max(0, it.min);
      int hi = std::max(lo, it.max);
      int bound = share < lo ? lo : (share > hi ? hi : -1);
      if (bound >= 0) {
        sizes[stretch[k]] = bound;
        remaining -= bound;
        stretch.erase(stretch.begin() + static_cast<long>(k));
        changed = true;
        break;
      }
    }
  }
  if (!stretch.empty()) {
    int share = std::max(0, remaining) / static_cast<int>(stretch.size());
    int extra = std::max(0, remaining) - share * static_cast<int>(stretch.size());
    for (int idx : stretch) sizes[idx] = share;
    sizes[stretch.back()] += extra;
  }
  return sizes;
}

int StackExtent(const std::vector<StackItem>& items, const std::vector<int>& sizes, int childPadding) {
  if (items.empty()) return 0;
  int total = childPadding * (static_cast<int>(items.size()) - 1);
  for (std::size_t i = 0; i < items.size(); ++i) total += items[i].padBefore + items[i].padAfter + sizes[i];
  return total;
}

}  // namespace ostrel
