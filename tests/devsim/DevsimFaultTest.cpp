// The fault modes: what a host sees when a device misbehaves.
#include <gtest/gtest.h>

#include <filesystem>

#include "DevsimFixture.h"

namespace ostrel::devsim {
namespace {

using namespace std::chrono_literals;
using test::MakeRequest;

class DevsimFaults : public test::DevsimFixture {
 protected:
  void SetUp() override {
    mouse_ = PlugAndConnect("mouse");
    ASSERT_NE(mouse_, nullptr);
  }
  SimulatedDevice* mouse_ = nullptr;
};

TEST_F(DevsimFaults, SilentDeviceRecordsButNeitherAnswersNorActs) {
  FaultSettings faults;
  faults.silent = true;
  mouse_->SetFaults(faults);
  ASSERT_TRUE(client_->Send(MakeRequest(6, 1, 300, std::vector<std::uint8_t>{0x5A})));
  ASSERT_TRUE(mouse_->Log().WaitForFromHost(1, 2s));
  EXPECT_FALSE(client_->NextFrame(100ms));
  EXPECT_EQ(mouse_->State().Read(MemoryArea::kMemory, 300, 1)[0], 0);

  mouse_->ClearFaults();
  const auto reply = client_->Exchange(MakeRequest(5, 1, 300));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[8], 0);
}

TEST_F(DevsimFaults, SlowRepliesComeAfterTheDelay) {
  FaultSettings faults;
  faults.replyDelay = 150ms;
  mouse_->SetFaults(faults);
  const auto start = std::chrono::steady_clock::now();
  const auto reply = client_->Exchange(MakeRequest(3, 34, 0));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[3], 3);
  EXPECT_GE(elapsed, 150ms);
}

TEST_F(DevsimFaults, OtherCommandIdComesFirst) {
  FaultSettings faults;
  faults.otherIdFirst = true;
  mouse_->SetFaults(faults);
  ASSERT_TRUE(client_->Send(MakeRequest(5, 1, 0)));
  const auto stale = client_->NextFrame();
  const auto real = client_->NextFrame();
  ASSERT_TRUE(stale && real);
  EXPECT_NE((*stale)[3], 5);
  EXPECT_EQ((*real)[3], 5);
  EXPECT_NE((*real)[7], 0xFF);
}

TEST_F(DevsimFaults, OtherCommandIdAndThenNothing) {
  FaultSettings faults;
  faults.otherIdFirst = true;
  faults.dropEvery = 1;
  mouse_->SetFaults(faults);
  ASSERT_TRUE(client_->Send(MakeRequest(3, 34, 0)));
  const auto stale = client_->NextFrame();
  ASSERT_TRUE(stale);
  EXPECT_NE((*stale)[3], 3);
  EXPECT_FALSE(client_->NextFrame(100ms));
}

TEST_F(DevsimFaults, StatusErrorOnTheSecondFrameOfAWriteRefusesOnlyThatFrame) {
  FaultSettings faults;
  faults.statusError = 0xFE;
  faults.statusErrorCommand = 6;
  faults.statusErrorFrame = 2;
  mouse_->SetFaults(faults);
  // Another command in between does not count.
  const auto info = client_->Exchange(MakeRequest(3, 34, 0));
  ASSERT_TRUE(info);
  EXPECT_NE((*info)[7], 0xFE);

  std::vector<std::uint8_t> record(66, 0x77);
  std::uint8_t status = 0;
  EXPECT_FALSE(client_->WriteArea(6, 128, record, &status));
  EXPECT_EQ(status, 0xFE);
  const auto memory = mouse_->State().Read(MemoryArea::kMemory, 128, 66);
  EXPECT_TRUE(std::all_of(memory.begin(), memory.begin() + 56, [](auto b) { return b == 0x77; }))
      << "the first frame stays written";
  EXPECT_NE(memory[56], 0x77) << "the refused frame is not carried out";

  // Every frame of every command.
  faults = {};
  faults.statusError = 0xFF;
  mouse_->SetFaults(faults);
  for (std::uint8_t command : {1, 3, 0xAA}) {
    const auto reply = client_->Exchange(MakeRequest(command));
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[3], command);
    EXPECT_EQ((*reply)[7], 0xFF);
  }
}

TEST_F(DevsimFaults, EveryThirdReplyIsLostButCarriedOut) {
  FaultSettings faults;
  faults.dropEvery = 3;
  mouse_->SetFaults(faults);
  std::vector<int> answered;
  for (int i = 1; i <= 7; ++i) {
    const std::uint16_t address = static_cast<std::uint16_t>(300 + i);
    ASSERT_TRUE(
        client_->Send(MakeRequest(6, 1, address, std::vector<std::uint8_t>{static_cast<std::uint8_t>(i)})));
    ASSERT_TRUE(mouse_->Log().WaitForFromHost(static_cast<std::size_t>(i), 2s));
    if (i % 3 == 0) continue;
    // A reply that should have been dropped would arrive here instead.
    const auto reply = client_->NextFrame();
    ASSERT_TRUE(reply);
    answered.push_back((*reply)[5] | ((*reply)[6] << 8));
  }
  EXPECT_EQ(answered, (std::vector<int>{301, 302, 304, 305, 307}));
  EXPECT_EQ(mouse_->State().Read(MemoryArea::kMemory, 303, 1)[0], 3);
  EXPECT_EQ(mouse_->State().Read(MemoryArea::kMemory, 306, 1)[0], 6);
}

TEST_F(DevsimFaults, UnplugInTheMiddleOfATransfer) {
  FaultSettings faults;
  faults.unplugAfterFrames = 2;
  mouse_->SetFaults(faults);
  const auto before = mouse_->State().Read(MemoryArea::kMemory, 128, 66);
  std::vector<std::uint8_t> record(66, 0x33);
  EXPECT_FALSE(client_->WriteArea(6, 128, record));
  EXPECT_TRUE(client_->WaitForClose());
  EXPECT_FALSE(std::filesystem::exists(mouse_->DescriptionPath()));
  EXPECT_FALSE(std::filesystem::exists(mouse_->SocketPath()));
  EXPECT_FALSE(mouse_->IsPlugged());
  EXPECT_EQ(mouse_->Log().ReplyFrames().size(), 1u) << "only the first frame was answered";
  const auto after = mouse_->State().Read(MemoryArea::kMemory, 128, 66);
  EXPECT_TRUE(std::all_of(after.begin(), after.begin() + 56, [](auto b) { return b == 0x33; }));
  EXPECT_TRUE(std::equal(after.begin() + 56, after.end(), before.begin() + 56))
      << "the second frame never landed";

  // Plugged in again, it answers (the fault stays set but counts afresh).
  mouse_->ClearFaults();
  ASSERT_TRUE(mouse_->Replug().ok);
  test::VhidClient again(mouse_->SocketPath());
  ASSERT_TRUE(again.Connected());
  const auto reply = again.Exchange(MakeRequest(5, 1, 128));
  ASSERT_TRUE(reply);
  EXPECT_EQ((*reply)[8], 0x33);
}

}  // namespace
}  // namespace ostrel::devsim
