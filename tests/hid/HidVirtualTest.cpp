// Virtual interfaces end to end through HidLink: listing and the directory
// rules, per-collection reads and writes, unplugging, time-outs and Close
// releasing a blocked read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <map>
#include <set>
#include <thread>

#include "HidTestDescriptors.h"
#include "VirtualHidServer.h"
#include "devicelink/HidLink.h"
#include "platform/hid/HidDevicePath.h"
#include "platform/hid/HidPlatform.h"
#include "platform/hid/VirtualHidSource.h"
#include "platform/os/DebugLog.h"
#include "support/TestEnvironment.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;
using test::VirtualDescription;
using test::VirtualHidServer;
using Bytes = std::vector<std::uint8_t>;

// Keeps the tests off the machine's real hidraw nodes.
class HidVirtual : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_ = test::TestRoot() / "no-sysfs";
    HidPlatform::SetRootsForTesting(fake_.string(), fake_.string());
  }
  void TearDown() override { HidPlatform::SetRootsForTesting("", ""); }

  static std::vector<std::string> AllPaths(HidLink& link) {
    std::vector<std::string> paths;
    EXPECT_TRUE(link.Enumerate());
    while (const char* path = link.NextPath()) paths.push_back(path);
    return paths;
  }

  static VirtualDescription Keyboard() {
    VirtualDescription d;
    d.descriptor = test::kKeyboardInterface;
    return d;
  }

  fs::path fake_;
};

TEST_F(HidVirtual, ListsOneSoundPathPerCollection) {
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  ASSERT_TRUE(server.Plug("kbd", Keyboard()));
  VirtualDescription mouse;
  mouse.productId = 0x1000;
  mouse.interfaceNumber = 0;
  mouse.descriptor = test::kMouse;
  ASSERT_TRUE(server.Plug("mouse", mouse));

  HidLink link;
  const auto paths = AllPaths(link);
  ASSERT_EQ(paths.size(), 3u);
  EXPECT_EQ(paths[0].rfind("vhid#vid_320f&pid_511e&mi_01&col01#kbd#", 0), 0u) << paths[0];
  EXPECT_EQ(paths[1].rfind("vhid#vid_320f&pid_511e&mi_01&col02#kbd#", 0), 0u) << paths[1];
  EXPECT_EQ(paths[2].rfind("vhid#vid_320f&pid_1000&mi_00#mouse#", 0), 0u) << paths[2];
  EXPECT_EQ(link.NextPath(), nullptr);
  link.FreePaths();
  EXPECT_EQ(link.NextPath(), nullptr);
}

TEST_F(HidVirtual, InvalidDescriptionsAreInvisible) {
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  ASSERT_TRUE(server.Plug("good", Keyboard()));
  const std::string hex = test::HexBytes(test::kMouse);
  struct Case {
    const char* name;
    std::string json;
  };
  const std::vector<Case> cases = {
      {"not-json", "{ vendor_id: 1"},
      {"not-object", "[1, 2]"},
      {"no-version",
       R"({"vendor_id": 1, "product_id": 2, "interface": 0, "report_descriptor": ")" + hex + "\"}"},
      {"vendor-too-big",
       R"({"vendor_id": 70000, "product_id": 2, "version": 1, "interface": 0, "report_descriptor": ")" + hex +
           "\"}"},
      {"negative",
       R"({"vendor_id": -1, "product_id": 2, "version": 1, "interface": 0, "report_descriptor": ")" + hex +
           "\"}"},
      {"interface-too-big",
       R"({"vendor_id": 1, "product_id": 2, "version": 1, "interface": 256, "report_descriptor": ")" + hex +
           "\"}"},
      {"id-as-text",
       R"({"vendor_id": "1", "product_id": 2, "version": 1, "interface": 0, "report_descriptor": ")" + hex +
           "\"}"},
      {"hex-without-spaces",
       R"({"vendor_id": 1, "product_id": 2, "version": 1, "interface": 0, "report_descriptor": "0501"})"},
      {"hex-double-space",
       R"({"vendor_id": 1, "product_id": 2, "version": 1, "interface": 0, "report_descriptor": "05  01"})"},
      {"hex-not-hex",
       R"({"vendor_id": 1, "product_id": 2, "version": 1, "interface": 0, "report_descriptor": "zz 01"})"},
      {"descriptor-malformed",
       R"({"vendor_id": 1, "product_id": 2, "version": 1, "interface": 0, "report_descriptor": "a1 01"})"},
      {"bad name!",
       R"({"vendor_id": 1, "product_id": 2, "version": 1, "interface": 0, "report_descriptor": ")" + hex +
           "\"}"},
  };
  for (const auto& c : cases) ASSERT_TRUE(server.PlugRaw(c.name, c.json)) << c.name;
  // A pipe in place of a description is not read (it would block).
  ASSERT_TRUE(server.PlugRaw("piped", "{}"));
  fs::remove(server.Directory() / "piped.json");
  ASSERT_EQ(mkfifo((server.Directory() / "piped.json").c_str(), 0600), 0);
  // A description without its socket is not an interface either.
  {
    std::ofstream orphan(server.Directory() / "orphan.json");
    orphan << Keyboard().Json();
  }
  HidLink link;
  const auto paths = AllPaths(link);
  ASSERT_EQ(paths.size(), 2u);
  for (const auto& path : paths) EXPECT_NE(path.find("#good#"), std::string::npos) << path;
  // Unknown keys are ignored.
  HidInterface iface;
  EXPECT_TRUE(VirtualHidSource::ParseDescription(
      R"({"vendor_id": 1, "product_id": 2, "version": 3, "interface": 4, "extra": [1], "report_descriptor": "a1 01 c0"})",
      iface));
  EXPECT_EQ(iface.descriptor, (Bytes{0xA1, 0x01, 0xC0}));
}

TEST_F(HidVirtual, DirectoryMustBePrivateAndOurs) {
  HidLink link;
  EXPECT_TRUE(AllPaths(link).empty());  // no directory: no virtual devices, not a failure

  struct Case {
    const char* name;
    mode_t mode;
    bool listed;
  };
  const std::vector<Case> cases = {
      {"private", 0700, true},
      {"group-writable", 0770, false},
      {"others-writable", 0703, false},
      {"readable-by-others", 0755, true},
  };
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  ASSERT_TRUE(server.Plug("kbd", Keyboard()));
  for (const auto& c : cases) {
    ASSERT_EQ(chmod(server.Directory().c_str(), c.mode), 0);
    EXPECT_EQ(AllPaths(link).size(), c.listed ? 2u : 0u) << c.name;
  }
  chmod(server.Directory().c_str(), 0700);

  // A link in place of the directory is not followed.
  const fs::path real = server.Directory();
  const fs::path moved = real.parent_path() / "elsewhere";
  fs::rename(real, moved);
  fs::create_directory_symlink(moved, real);
  EXPECT_TRUE(AllPaths(link).empty());
  fs::remove(real);
  fs::rename(moved, real);
  EXPECT_EQ(AllPaths(link).size(), 2u);
}

TEST_F(HidVirtual, DefaultDirectoryFollowsTheRuntimeFolder) {
  const std::string runtime = std::getenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(VirtualHidSource::DefaultDirectory(), runtime + "/ostrel/vhid/");
  setenv("XDG_RUNTIME_DIR", "", 1);
  EXPECT_EQ(VirtualHidSource::DefaultDirectory(), "/tmp/ostrel-" + std::to_string(getuid()) + "/vhid/");
  unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(VirtualHidSource::DefaultDirectory(), "/tmp/ostrel-" + std::to_string(getuid()) + "/vhid/");
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
}

TEST_F(HidVirtual, EachCollectionReadsItsOwnReportsAndWritesAtTheRealLength) {
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  ASSERT_TRUE(server.Plug("kbd", Keyboard()));
  HidLink enumerator;
  const auto paths = AllPaths(enumerator);
  ASSERT_EQ(paths.size(), 2u);

  HidLink consumer, vendor;
  ASSERT_TRUE(consumer.Open(paths[0], true, true, true, false));
  ASSERT_TRUE(vendor.Open(paths[1], true, true, true, false));
  ASSERT_TRUE(server.Accept("kbd", 2));
  EXPECT_EQ(vendor.Attributes().VendorID, 0x320F);
  EXPECT_EQ(vendor.Attributes().ProductID, 0x511E);
  EXPECT_EQ(vendor.Attributes().VersionNumber, 0x0102);
  EXPECT_EQ(vendor.Caps().UsagePage, 0xFF1C);
  EXPECT_EQ(vendor.Caps().Usage, 0x92);
  EXPECT_EQ(vendor.InterfaceNumber(), 1u);
  EXPECT_EQ(vendor.CollectionNumber(), 2u);
  EXPECT_EQ(consumer.CollectionNumber(), 1u);
  EXPECT_EQ(vendor.InputReportBuffer().size(), 64u);

  // Output: 64 bytes with id 4, whatever the caller's buffer size.
  Bytes frame(65, 0);
  frame[0] = 4;
  frame[3] = 0x81;
  std::uint32_t written = 0;
  ASSERT_TRUE(vendor.Write(65, frame.data(), 1000, &written));
  EXPECT_EQ(written, 65u);
  Bytes packet;
  ASSERT_TRUE(server.Receive("kbd", 1, packet));
  ASSERT_EQ(packet.size(), 64u);
  EXPECT_EQ(packet[0], 4);
  EXPECT_EQ(packet[3], 0x81);
  // The same report as a SET_REPORT request.
  frame[3] = 0x82;
  ASSERT_TRUE(vendor.SetOutputReport(frame.data(), 64));
  ASSERT_TRUE(server.Receive("kbd", 1, packet));
  ASSERT_EQ(packet.size(), 64u);
  EXPECT_EQ(packet[3], 0x82);
  // A report this collection has no output for is refused, and said once.
  std::vector<std::string> lines;
  SetDebugSink([&](std::string_view line) { lines.emplace_back(line); });
  frame[0] = 3;
  EXPECT_FALSE(vendor.Write(64, frame.data(), 1000, &written));
  EXPECT_EQ(written, 0u);
  EXPECT_FALSE(vendor.Write(64, frame.data(), 1000, &written));
  SetDebugSink({});
  EXPECT_EQ(
      std::count_if(lines.begin(), lines.end(),
                    [](const std::string& l) { return l.find("no output report 3") != std::string::npos; }),
      1);

  // Input: the consumer report goes only to the consumer handle, the reply
  // only to the vendor handle.
  ASSERT_TRUE(server.SendToAll("kbd", {0x03, 0xE9, 0x00, 0x00, 0x00}));
  Bytes reply(64, 0x55);
  reply[0] = 4;
  ASSERT_TRUE(server.SendToAll("kbd", reply));
  Bytes buffer(64, 0xEE);
  std::uint32_t got = 0;
  ASSERT_TRUE(vendor.Read(64, buffer.data(), 1000, &got));
  EXPECT_EQ(got, 64u);
  EXPECT_EQ(buffer, reply);
  Bytes consumerBuffer(5, 0xEE);
  ASSERT_TRUE(consumer.Read(5, consumerBuffer.data(), 1000, &got));
  EXPECT_EQ(consumerBuffer, (Bytes{0x03, 0xE9, 0x00, 0x00, 0x00}));
  // The reply was not queued for the consumer handle.
  EXPECT_FALSE(consumer.Read(5, consumerBuffer.data(), 50, &got));
  // A buffer smaller than the collection's report is refused.
  ASSERT_TRUE(server.SendToAll("kbd", reply));
  EXPECT_FALSE(vendor.Read(63, buffer.data(), 1000, &got));
}

TEST_F(HidVirtual, UnnumberedReportsArriveWithIdZeroAndPadding) {
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  VirtualDescription mouse;
  mouse.descriptor = test::kMouse;
  ASSERT_TRUE(server.Plug("mouse", mouse));
  HidLink link;
  const auto paths = AllPaths(link);
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(paths[0].find("&col"), std::string::npos);
  ASSERT_TRUE(link.Open(paths[0], true, false, true, false));
  EXPECT_EQ(link.CollectionNumber(), 0u);
  ASSERT_TRUE(server.Accept("mouse", 1));
  ASSERT_TRUE(server.SendToAll("mouse", {0x05, 0xFF, 0x05}));  // short: Z left out
  Bytes buffer(5, 0xEE);
  std::uint32_t got = 0;
  ASSERT_TRUE(link.Read(5, buffer.data(), 1000, &got));
  EXPECT_EQ(got, 5u);
  EXPECT_EQ(buffer, (Bytes{0x00, 0x05, 0xFF, 0x05, 0x00}));

  // Decoded into the link's items: buttons 1 and 3, X -1, Y 5, Z 0.
  ASSERT_EQ(link.InputItems().size(), 4u);
  ASSERT_TRUE(link.UnpackInputReport(buffer.data(), got, HidP_Input, link.InputItems()));
  const auto& items = link.InputItems();
  EXPECT_TRUE(items[0].IsButtonData);
  EXPECT_TRUE(items[0].IsDataSet);
  ASSERT_EQ(items[0].ButtonData.Usages.size(), 5u);
  EXPECT_EQ(items[0].ButtonData.Usages[0], 1);
  EXPECT_EQ(items[0].ButtonData.Usages[1], 3);
  EXPECT_EQ(items[0].ButtonData.Usages[2], 0);
  std::map<std::uint16_t, std::pair<std::uint32_t, std::int32_t>> values;
  for (const auto& item : items)
    if (!item.IsButtonData) values[item.ValueData.Usage] = {item.ValueData.Value, item.ValueData.ScaledValue};
  EXPECT_EQ(values[0x30], std::make_pair(0xFFu, -1));
  EXPECT_EQ(values[0x31], std::make_pair(0x05u, 5));
  EXPECT_EQ(values[0x32], std::make_pair(0x00u, 0));
  // A report of another length cannot be decoded.
  EXPECT_FALSE(link.UnpackInputReport(buffer.data(), 4, HidP_Input, link.InputItems()));
}

TEST_F(HidVirtual, ValueRangeGivesOneItemPerUsage) {
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  VirtualDescription d;
  // X..Z as one range of three 8-bit values.
  d.descriptor = {0x05, 0x01, 0x09, 0x04, 0xA1, 0x01, 0x19, 0x30, 0x29, 0x32, 0x15,
                  0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x03, 0x81, 0x02, 0xC0};
  ASSERT_TRUE(server.Plug("stick", d));
  HidLink link;
  const auto paths = AllPaths(link);
  ASSERT_EQ(paths.size(), 1u);
  ASSERT_TRUE(link.Open(paths[0], true, false, true, false));
  ASSERT_EQ(link.ValueCaps(HidP_Input).size(), 1u);
  EXPECT_TRUE(link.ValueCaps(HidP_Input)[0].IsRange);
  ASSERT_EQ(link.InputItems().size(), 3u);
  const Bytes report = {0x00, 10, 20, 30};
  ASSERT_TRUE(link.UnpackInputReport(report.data(), 4, HidP_Input, link.InputItems()));
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(link.InputItems()[i].ValueData.Usage, 0x30 + i);
    EXPECT_EQ(link.InputItems()[i].ValueData.Value, 10u * (i + 1));
  }
}

TEST_F(HidVirtual, UnplugFailsOpenTransfersAndTheExistenceTest) {
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  ASSERT_TRUE(server.Plug("kbd", Keyboard()));
  HidLink link;
  auto paths = AllPaths(link);
  ASSERT_EQ(paths.size(), 2u);
  const std::string vendorPath = paths[1];
  EXPECT_TRUE(HidLink::PathExists(vendorPath));
  ASSERT_TRUE(link.Open(vendorPath, true, true, true, false));
  ASSERT_TRUE(server.Accept("kbd", 1));

  server.Unplug("kbd");
  Bytes buffer(64);
  std::uint32_t got = 7;
  EXPECT_FALSE(link.Read(64, buffer.data(), HidLink::kInfinite, &got));
  EXPECT_EQ(got, 0u);
  buffer[0] = 4;
  EXPECT_FALSE(link.Write(64, buffer.data(), 1000, &got));
  EXPECT_FALSE(HidLink::PathExists(vendorPath));
  EXPECT_TRUE(AllPaths(link).empty());

  // The name taken by another device: the old path names nothing.
  VirtualDescription other = Keyboard();
  other.productId = 0x1000;
  ASSERT_TRUE(server.Plug("kbd", other));
  EXPECT_FALSE(HidLink::PathExists(vendorPath));
  EXPECT_FALSE(link.Open(vendorPath, true, true, true, false));
  EXPECT_FALSE(link.IsOpen());
  server.Unplug("kbd");

  // The same device plugged in again is found and opens.
  ASSERT_TRUE(server.Plug("kbd", Keyboard()));
  paths = AllPaths(link);
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_TRUE(HidLink::PathExists(paths[1]));
  EXPECT_TRUE(link.Open(paths[1], true, true, true, false));
}

TEST_F(HidVirtual, CloseReleasesAnInfiniteReadAtOnce) {
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  ASSERT_TRUE(server.Plug("kbd", Keyboard()));
  HidLink link;
  const auto paths = AllPaths(link);
  ASSERT_TRUE(link.Open(paths[1], true, true, true, false));
  Bytes buffer(64);
  std::uint32_t got = 9;
  auto reader =
      std::async(std::launch::async, [&] { return link.Read(64, buffer.data(), HidLink::kInfinite, &got); });
  // Let the reader block (nothing is ever sent), then close from this thread.
  EXPECT_EQ(reader.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
  link.Close();
  ASSERT_EQ(reader.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_FALSE(reader.get());
  EXPECT_EQ(got, 0u);
  EXPECT_FALSE(link.IsOpen());
  EXPECT_TRUE(link.InputItems().empty());
  // The abort does not linger: the reopened link waits again.
  ASSERT_TRUE(link.Open(paths[1], true, true, true, false));
  EXPECT_FALSE(link.Read(64, buffer.data(), 30, &got));
  ASSERT_TRUE(server.Accept("kbd", 2));
  Bytes reply(64, 1);
  reply[0] = 4;
  ASSERT_TRUE(server.Send("kbd", 1, reply));
  EXPECT_TRUE(link.Read(64, buffer.data(), 1000, &got));
}

TEST_F(HidVirtual, ReadTimeOutGivesFalseAndNoBytes) {
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  ASSERT_TRUE(server.Plug("kbd", Keyboard()));
  HidLink link;
  const auto paths = AllPaths(link);
  ASSERT_TRUE(link.Open(paths[1], true, true, true, false));
  Bytes buffer(64, 0xAB);
  std::uint32_t got = 77;
  EXPECT_FALSE(link.Read(64, buffer.data(), 20, &got));
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(buffer, Bytes(64, 0xAB));
  // A zero time-out only looks.
  EXPECT_FALSE(link.Read(64, buffer.data(), 0, &got));

  // Nothing stays pending after a time-out: a report that arrives later is
  // not written into the (now freed) buffer of the timed-out read but
  // delivered whole to the next one.
  ASSERT_TRUE(server.Accept("kbd", 1));
  auto released = std::make_unique<Bytes>(64, 0);
  EXPECT_FALSE(link.Read(64, released->data(), 10, &got));
  released.reset();
  Bytes reply(64, 0x3C);
  reply[0] = 4;
  ASSERT_TRUE(server.Send("kbd", 0, reply));
  Bytes fresh(64, 0);
  ASSERT_TRUE(link.Read(64, fresh.data(), 1000, &got));
  EXPECT_EQ(fresh, reply);

  // Not open: false at once.
  link.Close();
  EXPECT_FALSE(link.Read(64, buffer.data(), HidLink::kInfinite, &got));
  EXPECT_FALSE(link.Write(64, buffer.data(), HidLink::kInfinite, &got));
}

// 201 button capabilities of one page, each with a usage list as long as
// every usage the page can report (8200): more than a link may allocate.
TEST_F(HidVirtual, RefusesCollectionsAskingForHugeUsageLists) {
  VirtualDescription d;
  d.descriptor = {0x05, 0x09, 0x09, 0x01, 0xA1, 0x01, 0x15, 0x01, 0x26, 0xFF, 0x00, 0x19, 0x01, 0x29, 0xFF,
                  0x75, 0x08, 0x96, 0x40, 0x1F, 0x81, 0x00, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0xC8};
  for (int usage = 1; usage <= 200; ++usage) {
    d.descriptor.push_back(0x09);
    d.descriptor.push_back(static_cast<std::uint8_t>(usage));
  }
  d.descriptor.insert(d.descriptor.end(), {0x81, 0x02, 0xC0});
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  ASSERT_TRUE(server.Plug("greedy", d));
  HidLink link;
  const auto paths = AllPaths(link);
  ASSERT_EQ(paths.size(), 1u);
  std::vector<std::string> lines;
  SetDebugSink([&](std::string_view line) { lines.emplace_back(line); });
  EXPECT_FALSE(link.Open(paths[0], true, false, true, false));
  SetDebugSink({});
  EXPECT_FALSE(link.IsOpen());
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
    return l.find("too many usages") != std::string::npos;
  }));
}

TEST_F(HidVirtual, EnumeratesManyInterfaces) {
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  VirtualDescription mouse;
  mouse.descriptor = test::kMouse;
  constexpr int kCount = 40;  // past 8, 16 and 32
  for (int i = 0; i < kCount; ++i) ASSERT_TRUE(server.Plug("m" + std::to_string(i), mouse));
  HidLink link;
  const auto paths = AllPaths(link);
  EXPECT_EQ(paths.size(), std::size_t(kCount));
  EXPECT_EQ(std::set<std::string>(paths.begin(), paths.end()).size(), std::size_t(kCount));
}

TEST_F(HidVirtual, OpenFailuresLeaveTheLinkClosed) {
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  ASSERT_TRUE(server.Plug("kbd", Keyboard()));
  HidLink link;
  const auto paths = AllPaths(link);
  ASSERT_TRUE(link.Open(paths[0], true, true, true, false));
  const std::vector<std::string> bad = {
      "",
      "garbage",
      "vhid#vid_320f&pid_511e&mi_01&col03" + paths[0].substr(paths[0].find("#kbd#")),  // no third collection
      "vhid#vid_320f&pid_511e&mi_01" + paths[0].substr(paths[0].find("#kbd#")),        // "&col" needed
      "vhid#vid_320f&pid_511f&mi_01&col01" + paths[0].substr(paths[0].find("#kbd#")),  // other product
      "vhid#vid_320f&pid_511e&mi_01&col01#kbd#1",                                      // other identity
      "vhid#vid_320f&pid_511e&mi_01&col01#../kbd#1",
      "hidraw#vid_320f&pid_511e&mi_01&col01#hidraw0#x",
  };
  for (const auto& path : bad) {
    EXPECT_FALSE(link.Open(path, true, true, true, false)) << path;
    EXPECT_FALSE(link.IsOpen()) << path;
    EXPECT_EQ(link.Caps().InputReportByteLength, 0) << path;
    EXPECT_FALSE(HidLink::PathExists(path)) << path;
  }
  // Discovery retries every cycle; the failure is logged once.
  std::vector<std::string> lines;
  SetDebugSink([&](std::string_view line) { lines.emplace_back(line); });
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(link.Open("vhid#vid_1&pid_2#never#1", true, true, true, false));
  SetDebugSink({});
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.find("#never#") != std::string::npos; }),
            1);

  // The description turns unreadable after the listing: the interface
  // cannot be described, so it is not opened.
  std::ofstream(server.Directory() / "kbd.json")
      << R"({"vendor_id": 12815, "product_id": 20766, "version": 1,)"
      << R"( "interface": 1, "report_descriptor": "a1 01"})";
  EXPECT_FALSE(link.Open(paths[0], true, true, true, false));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_TRUE(link.InputItems().empty());
}

TEST(HidPath, InterfaceAndCollectionNumbers) {
  struct Case {
    const char* path;
    std::uint32_t interfaceNumber, collectionNumber;
  };
  const std::vector<Case> cases = {
      {"hidraw#vid_320f&pid_511e#hidraw0#x", 0, 0},
      {"hidraw#vid_320f&pid_511e&mi_01&col04#hidraw0#x", 1, 4},
      {"HIDRAW#VID_320F&PID_511E&MI_01&COL04#HIDRAW0#X", 1, 4},
      {"\\\\?\\hid#vid_046d&pid_c52f&mi_01&col02#8&28ca146b&0&0001#{4d1e55b2}", 1, 2},
      {"vhid#vid_320f&pid_511e&mi_0a&col1f#kbd#1", 10, 31},
      {"vhid#vid_320f&pid_511e&mi_&col#kbd#1", 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HidDevicePath::HexAfter(c.path, "&mi_"), c.interfaceNumber) << c.path;
    EXPECT_EQ(HidDevicePath::HexAfter(c.path, "&col"), c.collectionNumber) << c.path;
  }
  HidDevicePath::Parts parts;
  ASSERT_TRUE(HidDevicePath::Parse("vhid#vid_320f&pid_511e&mi_01&col04#kbd#123", parts));
  EXPECT_EQ(parts.source, HidSourceKind::Virtual);
  EXPECT_EQ(parts.vendorId, 0x320F);
  EXPECT_EQ(parts.productId, 0x511E);
  EXPECT_EQ(parts.interfaceNumber, 1u);
  EXPECT_EQ(parts.collectionNumber, 4u);
  EXPECT_EQ(parts.name, "kbd");
  EXPECT_EQ(parts.identity, "123");
  EXPECT_FALSE(HidDevicePath::Parse("usb#vid_320f&pid_511e#kbd#1", parts));
  EXPECT_FALSE(HidDevicePath::Parse("vhid#vid_320f#kbd#1", parts));
}

TEST_F(HidVirtual, OpenedLinkTakesNumbersFromItsPath) {
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  VirtualDescription d = Keyboard();
  d.interfaceNumber = 0x0A;
  ASSERT_TRUE(server.Plug("kbd", d));
  HidLink link;
  const auto paths = AllPaths(link);
  ASSERT_EQ(paths.size(), 2u);
  ASSERT_TRUE(link.Open(paths[1], true, false, true, false));
  EXPECT_EQ(link.InterfaceNumber(), 10u);
  EXPECT_EQ(link.CollectionNumber(), 2u);
  EXPECT_EQ(link.Path(), paths[1]);
}

}  // namespace
}  // namespace ostrel
