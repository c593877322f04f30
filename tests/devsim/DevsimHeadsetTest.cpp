// The headset: its LED output reports and its answers to frames on its one
// collection.
#include <gtest/gtest.h>

#include "DevsimFixture.h"

namespace ostrel::devsim {
namespace {

using namespace std::chrono_literals;
using test::MakeRequest;
using Bytes = std::vector<std::uint8_t>;

// The twelve reports a host sends for one frame of LED colours: each register
// first to target 0x22, then 0x44; bytes 4-10 carry seven values (registers
// 0xAD-0xAF only six, byte 10 keeps what the previous report had).
std::vector<Bytes> LedReportsFor(const std::vector<LedColour>& leds) {
  const std::pair<std::uint8_t, std::uint8_t> order[] = {
      {0x22, 0xAA}, {0x22, 0xAD}, {0x44, 0xAA}, {0x44, 0xAD}, {0x22, 0xAB}, {0x22, 0xAE},
      {0x44, 0xAB}, {0x44, 0xAE}, {0x22, 0xAC}, {0x22, 0xAF}, {0x44, 0xAC}, {0x44, 0xAF}};
  std::vector<Bytes> reports;
  Bytes report(17, 0);
  report[0] = 0xFF;
  for (const auto& [target, reg] : order) {
    report[1] = target;
    report[2] = reg;
    const int component = (reg - 0xAA) % 3;
    const std::size_t first = reg < 0xAD ? 0 : 7;
    const std::size_t count = reg < 0xAD ? 7 : 6;
    for (std::size_t i = 0; i < count; ++i) {
      const LedColour& c = leds[first + i];
      report[4 + i] = component == 0 ? c.red : component == 1 ? c.green : c.blue;
    }
    reports.push_back(report);
  }
  return reports;
}

class DevsimHeadset : public test::DevsimFixture {
 protected:
  void SetUp() override {
    headset_ = PlugAndConnect("headset");
    ASSERT_NE(headset_, nullptr);
  }
  SimulatedDevice* headset_ = nullptr;
};

TEST_F(DevsimHeadset, RecordsTheLedRegistersOfBothTargets) {
  std::vector<LedColour> leds(13);
  for (std::size_t i = 0; i < leds.size(); ++i) {
    leds[i] = {static_cast<std::uint8_t>(10 + i), static_cast<std::uint8_t>(100 + i),
               static_cast<std::uint8_t>(200 + i)};
  }
  const auto reports = LedReportsFor(leds);
  for (const Bytes& report : reports) ASSERT_TRUE(client_->Send(report));
  // A frame behind them shows when they have all been taken.
  ASSERT_TRUE(client_->Exchange(MakeRequest(1)));

  const HeadsetLedRegisters& registers = headset_->State().HeadsetLeds();
  EXPECT_EQ(registers.Reports(), reports);
  for (std::uint8_t target : {0x22, 0x44}) {
    for (std::size_t led = 0; led < 13; ++led) {
      EXPECT_EQ(registers.Colour(target, led), leds[led]) << int(target) << " LED " << led;
    }
  }
  // Register 0xAD's seventh value is LED 6's red, left over from 0xAA.
  const auto ad = registers.Register(0x22, 0xAD);
  ASSERT_TRUE(ad);
  EXPECT_EQ((*ad)[6], leds[6].red);
  EXPECT_FALSE(registers.Register(0x33, 0xAA));
}

TEST_F(DevsimHeadset, LedReportsItDoesNotKnowChangeNothing) {
  const Bytes bad[] = {
      {0xFF, 0x33, 0xAA, 0, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 0, 0, 0},  // unknown target
      {0xFF, 0x22, 0xB0, 0, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 0, 0, 0},  // unknown register
      {0xFF, 0x22, 0xAA, 0, 1, 2, 3, 4, 5, 6},                       // short
  };
  for (const Bytes& report : bad) ASSERT_TRUE(client_->Send(report));
  // Padded to the collection's 64-byte output length, a report is still taken.
  Bytes padded(64, 0);
  padded[0] = 0xFF;
  padded[1] = 0x44;
  padded[2] = 0xAC;
  padded[4] = 0x99;
  ASSERT_TRUE(client_->Send(padded));
  ASSERT_TRUE(client_->Exchange(MakeRequest(1)));
  const HeadsetLedRegisters& registers = headset_->State().HeadsetLeds();
  ASSERT_EQ(registers.Reports().size(), 1u);
  EXPECT_EQ(registers.Reports()[0].size(), 17u);
  EXPECT_EQ(registers.Colour(0x44, 0), (LedColour{0, 0, 0x99}));
  EXPECT_EQ(registers.Colour(0x22, 0), (LedColour{}));
}

TEST_F(DevsimHeadset, AnswersFramesOnItsOneCollection) {
  ASSERT_TRUE(headset_->State().SetCurrentProfile(1));
  const auto current = client_->ReadArea(5, 0, 1);
  ASSERT_TRUE(current);
  EXPECT_EQ((*current)[0], 1);
  // Profile p is read at p x 46 and written (21 bytes) at p x 64.
  const auto record = client_->ReadArea(5, 46, 46);
  ASSERT_TRUE(record);
  EXPECT_EQ((*record)[3], 2);
  ASSERT_TRUE(client_->WriteArea(6, 64, Bytes(21, 0x42)));
  EXPECT_EQ(headset_->State().Read(MemoryArea::kMemory, 64, 21), Bytes(21, 0x42));
  const auto power = client_->ReadArea(26, 0, 6);
  ASSERT_TRUE(power);
  EXPECT_EQ((*power)[0], 100);
}

}  // namespace
}  // namespace ostrel::devsim
