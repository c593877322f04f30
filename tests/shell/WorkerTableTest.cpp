#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

#include "platform/os/DebugLog.h"
#include "shell/WorkerTable.h"

namespace ostrel {
namespace {

using namespace std::chrono_literals;

TEST(ShellWorkerTable, StopEndsCooperativeWorkers) {
  WorkerTable table;
  std::atomic<int> ended{0};
  for (int slot : {0, 2, 8})
    ASSERT_TRUE(table.Start(slot, [&](const WorkerTable::Stop& stop) {
      while (!stop.WaitFor(5ms)) {
      }
      ++ended;
    }));
  EXPECT_FALSE(table.Start(0, [](const WorkerTable::Stop&) {}));  // slot taken
  EXPECT_FALSE(table.Start(WorkerTable::kSlots, [](const WorkerTable::Stop&) {}));
  EXPECT_TRUE(table.IsRunning(2));
  EXPECT_EQ(table.StopAll(), 0);
  EXPECT_EQ(ended.load(), 3);
  EXPECT_FALSE(table.IsRunning(2));
}

TEST(ShellWorkerTable, AWorkerThatOverrunsIsReportedAndLeftBehind) {
  std::vector<std::string> lines;
  SetDebugSink([&](std::string_view l) { lines.emplace_back(l); });
  WorkerTable table;
  auto release = std::make_shared<std::atomic<bool>>(false);
  ASSERT_TRUE(table.Start(5, [release](const WorkerTable::Stop&) {
    while (!*release) std::this_thread::sleep_for(1ms);
  }));
  EXPECT_EQ(table.StopAll(20ms), 1);
  SetDebugSink({});
  *release = true;
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "所有对象处于非激发状态，超时");
  std::this_thread::sleep_for(10ms);  // let the detached worker finish
}

}  // namespace
}  // namespace ostrel
