#pragma once
// The arithmetic of stacking layouts, kept apart so it can be checked alone.

#include <vector>

namespace ostrel {

// One child along the stacking axis: fixed size (0 = takes a share of the
// free space), its limits, and the padding before and after it.
struct StackItem {
  int fixed = 0;
  int min = 0;
  int max = 9999;
  int padBefore = 0;
  int padAfter = 0;
};

// Sizes along the axis for `available` pixels with `childPadding` between
// children. Fixed sizes are clamped to their limits; the free space is
// shared evenly by the stretching children, those that hit a limit keep it
// and the rest share again; the rounding remainder goes to the last one.
std::vector<int> DistributeStack(const std::vector<StackItem>& items, int available, int childPadding);

// The space the children take along the axis with the given sizes.
int StackExtent(const std::vector<StackItem>& items, const std::vector<int>& sizes, int childPadding);

}  // namespace ostrel
