// Key capture from a private X server, keys pressed with xdotool.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <iterator>
#include <mutex>
#include <vector>

#include "XvfbServer.h"
#include "devices/KeyAssignment.h"
#include "platform/input/XRecordKeyCapture.h"

namespace ostrel {
namespace {

using namespace std::chrono_literals;

// Collects what the capture thread delivers.
class Recorder {
 public:
  void Add(const KeyHookEvent& event) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      events_.push_back(event);
    }
    changed_.notify_all();
  }
  bool WaitFor(std::size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, 10s, [&] { return events_.size() >= count; });
  }
  std::vector<KeyHookEvent> Events() {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<KeyHookEvent> events_;
};

class InputXRecordCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    if (server_.Display().empty()) GTEST_SKIP() << "Xvfb cannot start here";
    if (!XRecordKeyCapture::IsAvailable(server_.Display())) GTEST_SKIP() << "the X server has no RECORD";
    if (!server_.XdoTool("version")) GTEST_SKIP() << "xdotool is not installed";
  }
  XRecordKeyCapture::StartResult Start() {
    return capture_.Start([this](const KeyHookEvent& e) { recorder_.Add(e); }, server_.Display());
  }

  test::XvfbServer server_;
  XRecordKeyCapture capture_;
  Recorder recorder_;
};

// xdotool also holds the left Ctrl for a right Ctrl keysym; the records
// asked for must come in order, other keys may come between.
TEST_F(InputXRecordCapture, PressesAndReleasesArriveAsHookRecords) {
  ASSERT_EQ(Start(), XRecordKeyCapture::StartResult::kStarted);
  EXPECT_TRUE(capture_.IsRunning());
  ASSERT_TRUE(server_.XdoTool("key --delay 0 Control_R KP_Enter Return a"));
  struct Expected {
    std::uint32_t message, vk, scan, flags;
  };
  const Expected expected[] = {
      {WM_KEYDOWN, 0xA3, 0x1D, LLKHF_EXTENDED},
      {WM_KEYUP, 0xA3, 0x1D, LLKHF_EXTENDED | LLKHF_UP},
      {WM_KEYDOWN, 0x0D, 0x1C, LLKHF_EXTENDED},
      {WM_KEYUP, 0x0D, 0x1C, LLKHF_EXTENDED | LLKHF_UP},
      {WM_KEYDOWN, 0x0D, 0x1C, 0},
      {WM_KEYUP, 0x0D, 0x1C, LLKHF_UP},
      {WM_KEYDOWN, 'A', 0x1E, 0},
      {WM_KEYUP, 'A', 0x1E, LLKHF_UP},
  };
  ASSERT_TRUE(recorder_.WaitFor(std::size(expected)));
  // The last record ends the sequence: wait until it is there.
  auto complete = [&] {
    const auto events = recorder_.Events();
    return !events.empty() && events.back().record.vkCode == 'A' && !events.back().IsPress();
  };
  for (std::size_t n = std::size(expected); !complete() && recorder_.WaitFor(n + 1); ++n) {
  }
  const auto events = recorder_.Events();
  std::size_t next = 0;
  for (const KeyHookEvent& e : events) {
    if (next < std::size(expected) && e.message == expected[next].message &&
        e.record.vkCode == expected[next].vk && e.record.scanCode == expected[next].scan &&
        e.record.flags == expected[next].flags) {
      ++next;
    }
  }
  EXPECT_EQ(next, std::size(expected)) << "records seen: " << events.size();
}

// The whole path of the key field: right Ctrl, then C, from the server.
TEST_F(InputXRecordCapture, CapturedKeysReachTheKeyField) {
  ASSERT_EQ(Start(), XRecordKeyCapture::StartResult::kStarted);
  ASSERT_TRUE(server_.XdoTool("keydown Control_R key c keyup Control_R key b"));
  // B's release comes last; what came before is complete by then.
  for (std::size_t n = 1;; ++n) {
    ASSERT_TRUE(recorder_.WaitFor(n));
    const auto last = recorder_.Events().back();
    if (last.record.vkCode == 'B' && !last.IsPress()) break;
  }
  capture_.Stop();

  KeyAssignment field;
  field.setAssignment({MakeAction(0x20, 0, 0x29), MakeAction(0x20, 0, 0x29)});
  int option = kNoModifierOption;
  std::vector<KeyAction> stored;
  for (const KeyHookEvent& event : recorder_.Events()) {
    if (event.record.vkCode == 'B') break;
    const KeyCaptureResult result = field.CaptureKey(event, option);
    if (!result.handled) continue;
    option = result.modifierOption;
    stored.push_back(result.entry.current);
  }
  // Right Ctrl is stored as itself, then C with the Ctrl option.
  ASSERT_FALSE(stored.empty());
  EXPECT_NE(std::find(stored.begin(), stored.end(), MakeAction(0x20, 0x10, 0)), stored.end());
  EXPECT_EQ(stored.back(), MakeAction(0x20, 0x01, 0x06));
  EXPECT_EQ(option, 1);
}

TEST_F(InputXRecordCapture, StopEndsDeliveryAndCaptureRestarts) {
  ASSERT_EQ(Start(), XRecordKeyCapture::StartResult::kStarted);
  EXPECT_EQ(Start(), XRecordKeyCapture::StartResult::kAlreadyRunning);
  ASSERT_TRUE(server_.XdoTool("key b"));
  ASSERT_TRUE(recorder_.WaitFor(2));
  capture_.Stop();
  EXPECT_FALSE(capture_.IsRunning());
  capture_.Stop();  // a second stop is harmless

  // Keys pressed while stopped are not delivered; a new start sees the next.
  ASSERT_TRUE(server_.XdoTool("key x"));
  ASSERT_EQ(Start(), XRecordKeyCapture::StartResult::kStarted);
  ASSERT_TRUE(server_.XdoTool("key z"));
  ASSERT_TRUE(recorder_.WaitFor(4));
  const auto events = recorder_.Events();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[2].record.vkCode, static_cast<std::uint32_t>('Z'));
}

// A held key repeats as further presses and ends with one release, as the
// hook reports it (the macro recorder drops the repeats).
TEST_F(InputXRecordCapture, HeldKeyRepeatsPressesOnly) {
  ASSERT_EQ(Start(), XRecordKeyCapture::StartResult::kStarted);
  ASSERT_TRUE(server_.XdoTool("keydown q sleep 1 keyup q"));
  for (std::size_t n = 1;; ++n) {
    ASSERT_TRUE(recorder_.WaitFor(n));
    if (!recorder_.Events().back().IsPress()) break;
  }
  const auto events = recorder_.Events();
  for (std::size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(events[i].record.vkCode, static_cast<std::uint32_t>('Q'));
    EXPECT_EQ(events[i].IsPress(), i + 1 < events.size()) << i;
  }
}

TEST(InputXRecordCaptureWithoutServer, ReportsNotAvailable) {
  XRecordKeyCapture capture;
  // A display number nothing listens on.
  EXPECT_FALSE(XRecordKeyCapture::IsAvailable(":65000"));
  EXPECT_EQ(capture.Start([](const KeyHookEvent&) {}, ":65000"),
            XRecordKeyCapture::StartResult::kNotAvailable);
  EXPECT_FALSE(capture.IsRunning());
  capture.Stop();

  // No display at all: the session has no X server.
  unsetenv("DISPLAY");
  EXPECT_EQ(capture.Start([](const KeyHookEvent&) {}), XRecordKeyCapture::StartResult::kNotAvailable);
}

}  // namespace
}  // namespace ostrel
