// The line commands of ostrel-devsim.
#include <gtest/gtest.h>

#include <sstream>

#include "DevsimFixture.h"
#include "devsim/ConsoleCommands.h"

namespace ostrel::devsim {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class DevsimConsole : public test::DevsimFixture {
 protected:
  std::string Run(const std::string& line, bool* keepRunning = nullptr) {
    std::ostringstream out;
    const bool keep = console_.Execute(line, out);
    if (keepRunning != nullptr) *keepRunning = keep;
    return out.str();
  }
  ConsoleCommands console_{simulator_};
};

TEST_F(DevsimConsole, CommandsDriveTheDevices) {
  SimulatedDevice* keyboard = PlugAndConnect("keyboard");
  ASSERT_NE(keyboard, nullptr);
  // With one device its name may be left out.
  Run("press 7");
  EXPECT_EQ(client_->Next(), (Bytes{3, 7, 5}));
  EXPECT_EQ(client_->Next(), (Bytes{3, 0, 0}));
  EXPECT_EQ(client_->Next(), (Bytes{3, 7, 6}));
  EXPECT_EQ(client_->Next(), (Bytes{3, 0, 0}));
  Run("notify keyboard 0x0402");
  EXPECT_EQ(client_->Next(), (Bytes{3, 2, 4}));

  Run("plug receiver");
  SimulatedDevice* receiver = simulator_.Find("receiver");
  ASSERT_NE(receiver, nullptr);
  EXPECT_TRUE(receiver->IsPlugged());
  Run("profile keyboard 2");
  EXPECT_EQ(keyboard->State().CurrentProfile(), 2);
  Run("battery receiver 37 1");
  EXPECT_EQ(receiver->State().Power().battery, 37);
  EXPECT_EQ(receiver->State().Power().supply, 1);
  Run("phone receiver 2");
  EXPECT_EQ(receiver->State().Power().phone, 2);
  EXPECT_EQ(receiver->State().Power().battery, 37) << "the rest of the record stays";
  Run("link receiver down");
  EXPECT_FALSE(receiver->State().LinkUp());
  Run("fault receiver status fe 0x06 2");
  EXPECT_EQ(receiver->Faults().statusError, 0xFE);
  EXPECT_EQ(receiver->Faults().statusErrorCommand, 6);
  EXPECT_EQ(receiver->Faults().statusErrorFrame, 2u);
  Run("fault receiver delay 250");
  EXPECT_EQ(receiver->Faults().replyDelay, 250ms);
  EXPECT_EQ(receiver->Faults().statusError, 0xFE) << "faults add up";
  Run("fault receiver clear");
  EXPECT_EQ(receiver->Faults().statusError, 0);

  const std::string list = Run("list");
  EXPECT_NE(list.find("keyboard: keyboard 320f:511e"), std::string::npos) << list;
  EXPECT_NE(list.find("link down"), std::string::npos) << list;

  Run("unplug receiver");
  EXPECT_FALSE(receiver->IsPlugged());
  Run("replug receiver");
  EXPECT_TRUE(receiver->IsPlugged());

  bool keepRunning = true;
  Run("quit", &keepRunning);
  EXPECT_FALSE(keepRunning);
  EXPECT_FALSE(keyboard->IsPlugged());
  EXPECT_FALSE(receiver->IsPlugged());
}

TEST_F(DevsimConsole, TracePrintsEveryReportBothWays) {
  SimulatedDevice* mouse = PlugAndConnect("mouse");
  ASSERT_NE(mouse, nullptr);
  std::ostringstream trace;  // outlives the trace
  console_.Execute("trace on", trace);
  ASSERT_TRUE(client_->Exchange(test::MakeRequest(5, 1, 0)));
  ASSERT_TRUE(mouse->Log().WaitForToHost(1, 2s));
  console_.Execute("trace mouse off", trace);
  ASSERT_TRUE(client_->Exchange(test::MakeRequest(1)));
  const std::string text = trace.str();
  EXPECT_NE(text.find("mouse < 04 06 00 05 01 00 00 00 ..."), std::string::npos) << text;
  EXPECT_NE(text.find("mouse > 04 07 00 05 01 00 00 01 ..."), std::string::npos) << text;
  EXPECT_EQ(text.find("04 01 00 01"), std::string::npos) << "nothing after trace off: " << text;
}

TEST_F(DevsimConsole, BadLinesSayWhatIsWrongAndChangeNothing) {
  ASSERT_NE(PlugAndConnect("mouse"), nullptr);
  ASSERT_NE(simulator_.Plug("keyboard"), nullptr);
  const std::pair<const char*, const char*> cases[] = {
      {"frobnicate", "unknown command"},
      {"press 5", "name the device"},
      {"press mouse x", "SLOT"},
      {"press mouse 256", "SLOT"},
      {"profile mouse 4", "0-3"},
      {"battery mouse 101", "PERCENT"},
      {"link mouse down", "wired"},
      {"fault mouse sideways", "cannot read"},
      {"fault mouse delay", "cannot read"},
      {"fault mouse status 1FF", "cannot read"},
      {"plug toaster", "unknown model"},
      {"interval mouse -3", "MS"},
      {"trace mouse loud", "on or off"},
  };
  for (const auto& [line, expected] : cases) {
    const std::string out = Run(line);
    EXPECT_NE(out.find(expected), std::string::npos) << line << " -> " << out;
  }
  SimulatedDevice* mouse = simulator_.Find("mouse");
  EXPECT_EQ(mouse->State().CurrentProfile(), 0);
  EXPECT_EQ(mouse->State().Power().battery, 100);
  EXPECT_EQ(mouse->Faults().replyDelay, 0ms);
  EXPECT_EQ(mouse->Log().CountToHost(), 0u);
  EXPECT_EQ(Run("# a comment"), "");
  EXPECT_EQ(Run("   "), "");
  EXPECT_NE(Run("help").find("fault DEVICE drop N"), std::string::npos);
}

}  // namespace
}  // namespace ostrel::devsim
