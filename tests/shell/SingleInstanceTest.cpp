// The program itself: a second start wakes the first and exits with 0; the
// first shuts down in order on SIGTERM. With and without a session bus.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

#include "platform/os/DebugLog.h"
#include "support/PrivateSessionBus.h"

extern char** environ;

namespace ostrel {
namespace {

using namespace std::chrono_literals;

pid_t Spawn() {
  char* argv[] = {const_cast<char*>(OSTREL_APP_EXE), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, OSTREL_APP_EXE, nullptr, nullptr, argv, environ) != 0) return -1;
  return pid;
}

// The exit code, or -1 when the process did not end in time (it is killed).
int WaitExit(pid_t pid, std::chrono::milliseconds limit = 10s) {
  auto end = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (std::chrono::steady_clock::now() < end) {
    pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    std::this_thread::sleep_for(20ms);
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

std::string Log() {
  std::ifstream in(DebugLogPath());
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

bool WaitForLog(const std::string& what, int times = 1) {
  for (int i = 0; i < 500; ++i) {
    if (Count(Log(), what) >= times) return true;
    std::this_thread::sleep_for(20ms);
  }
  return false;
}

// The program draws off screen here, whatever display the tests run under.
class NoDisplay {
 public:
  NoDisplay() {
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
  }
};
const NoDisplay kNoDisplay;

void RunSecondStart() {
  pid_t first = Spawn();
  ASSERT_GT(first, 0);
  ASSERT_TRUE(WaitForLog("windowinit")) << Log();
  pid_t second = Spawn();
  ASSERT_GT(second, 0);
  EXPECT_EQ(WaitExit(second), 0);
  // The first one was asked to come to the front, and only one window exists.
  EXPECT_TRUE(WaitForLog("软件标示 ")) << Log();
  EXPECT_EQ(Count(Log(), "InitWindow"), 1);
  kill(first, SIGTERM);
  EXPECT_EQ(WaitExit(first), 0);
  EXPECT_EQ(Count(Log(), "退出测试"), 1) << Log();
}

TEST(SingleInstance, SecondStartWakesTheFirstWithoutASessionBus) {
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
  RunSecondStart();
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

TEST(SingleInstance, SecondStartWakesTheFirstOnTheSessionBus) {
  test::PrivateSessionBus bus;
  ASSERT_TRUE(bus.ok());
  RunSecondStart();
  EXPECT_EQ(Count(Log(), "no session bus"), 0) << Log();
}

TEST(SingleInstance, AfterTheFirstEndsTheNextStartRuns) {
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
  for (int round = 1; round <= 2; ++round) {
    pid_t pid = Spawn();
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(WaitForLog("windowinit", round)) << Log();
    kill(pid, SIGTERM);
    EXPECT_EQ(WaitExit(pid), 0);
  }
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

}  // namespace
}  // namespace ostrel
