// Test entry point: every test runs with its own fresh HOME and XDG folders so
// no test reads or writes the developer's real configuration.
#include <gtest/gtest.h>

#include "support/TestEnvironment.h"

#include <cstdlib>

int main(int argc, char** argv) {
  // Where tests find the repository and the shared fixtures; the debug stream
  // stays off the terminal (tests read it through the sink or the file).
  ::setenv("OSTREL_SOURCE_DIR", OSTREL_TEST_SOURCE_DIR, 0);
  ::setenv("OSTREL_SHARED_DIR", OSTREL_TEST_SHARED_DIR, 0);
  ::setenv("OSTREL_QUIET_STDERR", "1", 0);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ostrel::test::FreshFoldersListener);
  return RUN_ALL_TESTS();
}
