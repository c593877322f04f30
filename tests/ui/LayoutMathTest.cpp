#include <gtest/gtest.h>

#include <cctype>

#include "platform/ui/LayoutMath.h"

namespace ostrel {
namespace {

struct StackCase {
  const char* what;
  std::vector<StackItem> items;
  int available;
  int childPadding;
  std::vector<int> expected;
};

class UiLayoutMath : public ::testing::TestWithParam<StackCase> {};

TEST_P(UiLayoutMath, DistributesSpace) {
  const StackCase& c = GetParam();
  EXPECT_EQ(DistributeStack(c.items, c.available, c.childPadding), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UiLayoutMath,
    ::testing::Values(
        StackCase{"fixed sizes are kept", {{30}, {40}}, 200, 0, {30, 40}},
        StackCase{"one stretch takes the rest", {{30}, {0}}, 200, 0, {30, 170}},
        StackCase{"stretches share evenly, remainder to the last", {{0}, {0}, {0}}, 100, 0, {33, 33, 34}},
        StackCase{"child padding is taken first", {{0}, {0}}, 100, 10, {45, 45}},
        StackCase{"item padding is taken first", {{0, 0, 9999, 5, 5}, {0}}, 100, 0, {45, 45}},
        StackCase{"fixed size clamped by its maximum", {{80, 0, 50}, {0}}, 100, 0, {50, 50}},
        StackCase{"fixed size clamped by its minimum", {{10, 30}, {0}}, 100, 0, {30, 70}},
        StackCase{"a stretch capped by max leaves space to the others",
                  {{0, 0, 20}, {0}, {0}},
                  100,
                  0,
                  {20, 40, 40}},
        StackCase{
            "a stretch held up by min takes from the others", {{0, 60}, {0}, {0}}, 100, 0, {60, 20, 20}},
        StackCase{"no room: stretches get zero, fixed stay", {{80}, {0}, {50}}, 100, 0, {80, 0, 50}},
        StackCase{"no room: a minimum still holds", {{120}, {0, 15}}, 100, 0, {120, 15}},
        StackCase{"nothing to place", {}, 100, 4, {}}),
    [](const auto& info) {
      std::string n;
      for (const char* p = info.param.what; *p; ++p)
        n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return n;
    });

TEST(UiLayoutMathExtent, CountsPaddingBetweenAndAround) {
  std::vector<StackItem> items{{10, 0, 9999, 1, 2}, {20}};
  EXPECT_EQ(StackExtent(items, {10, 20}, 4), 1 + 10 + 2 + 4 + 20);
  EXPECT_EQ(StackExtent({}, {}, 4), 0);
}

}  // namespace
}  // namespace ostrel
