#include "platform/os/DebugLog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

#include "support/TestEnvironment.h"

namespace ostrel {
namespace {

TEST(DebugLog, FrameLineUsesThreeThenTwoBlankGroups) {
  std::uint8_t bytes[32];
  for (int i = 0; i < 32; ++i) bytes[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(FormatFrameLine(bytes, 32),
            "00 01 02 03   04 05 06 07   08 09 0a 0b   0c 0d 0e 0f  "
            "10 11 12 13  14 15 16 17  18 19 1a 1b  1c 1d 1e 1f");
}

TEST(DebugLog, FrameIsTitleThenTwoLines) {
  std::vector<std::string> lines;
  SetDebugSink([&](std::string_view line) { lines.emplace_back(line); });
  std::uint8_t frame[64] = {0x04, 0x01, 0x00, 0x01};
  frame[63] = 0xAB;
  LogFrame("命令", frame, sizeof frame);
  SetDebugSink({});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "命令");
  EXPECT_EQ(lines[1].substr(0, 11), "04 01 00 01");
  EXPECT_EQ(lines[2].substr(lines[2].size() - 2), "ab");
}

TEST(DebugLog, WritesUtf8LinesToStateFolder) {
  SetDebugToStderr(false);
  OutputDebugString("返回 ok");
  DebugPrintf("value %d", 42);
  SetDebugToStderr(true);
  auto path = test::TestRoot() / "state" / "Kestrane" / "debug.log";
  EXPECT_EQ(DebugLogPath(), path.string());
  EXPECT_EQ(test::ReadFileBytes(path), "返回 ok\nvalue 42\n");
}

TEST(DebugLog, RotatesPastFourMegabytes) {
  SetDebugToStderr(false);
  auto path = std::filesystem::path(DebugLogPath());
  std::filesystem::create_directories(path.parent_path());
  {
    std::ofstream big(path, std::ios::binary);
    big << std::string(4u * 1024u * 1024u - 4, 'x');
  }
  OutputDebugString("next");
  SetDebugToStderr(true);
  EXPECT_EQ(test::ReadFileBytes(path), "next\n");
  EXPECT_EQ(std::filesystem::file_size(path.string() + ".1"), 4u * 1024u * 1024u - 4);
}

TEST(DebugLog, ConcurrentWritersKeepWholeLines) {
  SetDebugToStderr(false);
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([t] {
      for (int i = 0; i < 200; ++i) DebugPrintf("writer %d line %03d %s", t, i, std::string(40, 'a' + t).c_str());
    });
  }
  for (auto& w : writers) w.join();
  SetDebugToStderr(true);
  std::istringstream in(test::ReadFileBytes(DebugLogPath()));
  std::string line;
  int count = 0;
  while (std::getline(in, line)) {
    ++count;
    ASSERT_EQ(line.size(), std::string("writer 0 line 000 ").size() + 40) << line;
    char letter = line[line.size() - 1];
    EXPECT_EQ(line.substr(line.size() - 40), std::string(40, letter));
    EXPECT_EQ(line[7] - '0', letter - 'a');
  }
  EXPECT_EQ(count, 800);
}

}  // namespace
}  // namespace ostrel
