// The ostrel-devsim program, run as a child process: devices from its
// command line, commands from its standard input, a clean unplug on a signal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>

#include "VhidClient.h"
#include "support/TestEnvironment.h"

namespace ostrel::devsim {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class DevsimProgram : public ::testing::Test {
 protected:
  void SetUp() override { directory_ = ostrel::test::TestRoot().string() + "/vhid"; }

  void TearDown() override {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (input_ >= 0) ::close(input_);
  }

  void Start(std::vector<std::string> arguments) {
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    pid_ = ::fork();
    ASSERT_GE(pid_, 0);
    if (pid_ == 0) {
      ::dup2(pipeFds[0], STDIN_FILENO);
      ::close(pipeFds[0]);
      ::close(pipeFds[1]);
      const int null = ::open("/dev/null", O_WRONLY);
      if (null < 0 || ::dup2(null, STDOUT_FILENO) < 0) _exit(126);
      std::vector<std::string> all = {OSTREL_DEVSIM_PROGRAM, "--dir", directory_};
      all.insert(all.end(), arguments.begin(), arguments.end());
      std::vector<char*> argv;
      for (std::string& a : all) argv.push_back(a.data());
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      _exit(127);
    }
    ::close(pipeFds[0]);
    input_ = pipeFds[1];
  }

  bool WaitForFile(const std::string& path, bool present) {
    for (int i = 0; i < 500; ++i) {
      if (std::filesystem::exists(path) == present) return true;
      std::this_thread::sleep_for(10ms);
    }
    return false;
  }

  void Type(const std::string& line) {
    ASSERT_EQ(::write(input_, line.data(), line.size()), static_cast<ssize_t>(line.size()));
  }

  // The exit status, or -1 when the program does not end in time.
  int WaitForExit() {
    for (int i = 0; i < 500; ++i) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(10ms);
    }
    return -1;
  }

  std::string directory_;
  pid_t pid_ = -1;
  int input_ = -1;
};

TEST_F(DevsimProgram, ServesTheNamedModelsTakesCommandsAndUnplugsOnSigterm) {
  Start({"keyboard", "mousepad:1234:abcd=pad"});
  ASSERT_TRUE(WaitForFile(directory_ + "/keyboard.json", true));
  ASSERT_TRUE(WaitForFile(directory_ + "/pad.json", true));
  EXPECT_NE(ostrel::test::ReadFileBytes(directory_ + "/pad.json").find("43981"), std::string::npos)
      << "product id 0xabcd";

  test::VhidClient client(directory_ + "/keyboard.sock");
  ASSERT_TRUE(client.Connected());
  ASSERT_TRUE(client.Exchange(test::MakeRequest(1)));  // served, and the connection is known
  Type("press keyboard 3\n");
  EXPECT_EQ(client.Next(), (Bytes{3, 3, 5}));

  ASSERT_EQ(::kill(pid_, SIGTERM), 0);
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_TRUE(client.WaitForClose());
  EXPECT_FALSE(std::filesystem::exists(directory_ + "/keyboard.json"));
  EXPECT_FALSE(std::filesystem::exists(directory_ + "/keyboard.sock"));
  EXPECT_FALSE(std::filesystem::exists(directory_ + "/pad.sock"));
}

TEST_F(DevsimProgram, KeepsServingAfterInputEndsAndQuitsOnSigint) {
  Start({"mouse"});
  ASSERT_TRUE(WaitForFile(directory_ + "/mouse.json", true));
  Type("battery 12\n");
  ::close(input_);
  input_ = -1;
  test::VhidClient client(directory_ + "/mouse.sock");
  ASSERT_TRUE(client.Connected());
  // The command before the end of input was carried out.
  Bytes power;
  for (int i = 0; i < 100 && power.empty(); ++i) {
    auto read = client.ReadArea(26, 0, 1);
    if (read && (*read)[0] == 12)
      power = *read;
    else
      std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(power, Bytes{12});
  ASSERT_EQ(::kill(pid_, SIGINT), 0);
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_FALSE(std::filesystem::exists(directory_ + "/mouse.json"));
}

TEST_F(DevsimProgram, QuitUnplugsAndBadArgumentsAreRefused) {
  Start({"headset"});
  ASSERT_TRUE(WaitForFile(directory_ + "/headset.json", true));
  Type("quit\n");
  EXPECT_EQ(WaitForExit(), 0);
  EXPECT_FALSE(std::filesystem::exists(directory_ + "/headset.json"));

  Start({"toaster"});
  EXPECT_EQ(WaitForExit(), 1);
  Start({"mouse:12"});
  EXPECT_EQ(WaitForExit(), 2);
}

}  // namespace
}  // namespace ostrel::devsim
