// Programs the window starts (the browser, the desktop's settings).
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "shell/ExternalLauncher.h"

namespace ostrel {
namespace {

// A child of this process running `command`, or 0.
pid_t ChildRunning(const std::string& command) {
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string pid, comm, state;
    pid_t parent = 0;
    if (stat >> pid >> comm >> state >> parent && parent == ::getpid() && comm == "(" + command + ")")
      return static_cast<pid_t>(std::stol(pid));
  }
  return 0;
}

// The signals a process blocks, as /proc shows them ("SigBlk:" in hex).
std::string BlockedSignals(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("SigBlk:", 0) == 0) return line.substr(line.find_first_not_of(" \t", 7));
  return {};
}

// The program blocks SIGTERM, SIGINT and SIGHUP in all its threads; what it
// starts must still end on them.
TEST(ExternalLauncher, AStartedProgramBlocksNoSignal) {
  sigset_t blocked, previous;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGTERM);
  sigaddset(&blocked, SIGINT);
  sigaddset(&blocked, SIGHUP);
  ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &blocked, &previous), 0);
  const bool started = ExternalLauncher::Start({"sleep", "30"});
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  ASSERT_TRUE(started);

  pid_t child = 0;
  std::string mask;
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < limit) {
    if ((child = ChildRunning("sleep")) != 0 && !(mask = BlockedSignals(child)).empty()) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_NE(child, 0);
  EXPECT_EQ(mask.find_first_not_of('0'), std::string::npos) << mask;
  ::kill(child, SIGTERM);
}

TEST(ExternalLauncher, AMissingProgramIsNotStarted) {
  EXPECT_FALSE(ExternalLauncher::Start({"ostrel-no-such-program-here"}));
  EXPECT_FALSE(ExternalLauncher::Start({}));
}

}  // namespace
}  // namespace ostrel
