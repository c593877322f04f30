// Test entry point: every test runs with its own fresh HOME and XDG folders so
// no test reads or writes the developer's real configuration.
#include <gtest/gtest.h>

#include "support/TestEnvironment.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ostrel::test::FreshFoldersListener);
  return RUN_ALL_TESTS();
}
