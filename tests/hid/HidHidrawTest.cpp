// The hidraw source on a fake sysfs tree: ids, interface and release
// numbers, per-collection paths, and reads from a node (a FIFO stands in for
// /dev/hidrawN: the test writes what the kernel would deliver).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "HidTestDescriptors.h"
#include "devicelink/HidLink.h"
#include "platform/hid/HidPlatform.h"
#include "platform/hid/HidrawSource.h"
#include "support/TestEnvironment.h"

#ifdef OSTREL_HID_HAVE_FUSE
#include <future>

#include "FuseHidrawNode.h"
#endif

namespace ostrel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct FakeNode {
  std::string name;     // hidrawN
  std::string hidName;  // BBBB:VVVV:PPPP.NNNN
  unsigned bus = 3;
  std::uint16_t vendor = 0, product = 0;
  int interfaceNumber = -1;  // no USB interface directory when negative
  std::uint16_t release = 0;
  Bytes descriptor;
};

// /sys/devices/.../usb1/1-N/1-N:1.I/HID/hidraw/hidrawN, linked from
// /sys/class/hidraw/hidrawN, and /dev/hidrawN as a FIFO.
class FakeSysfs {
 public:
  FakeSysfs() : root_(test::TestRoot() / "fake") {
    fs::create_directories(Sys() / "class" / "hidraw");
    fs::create_directories(Dev());
  }
  fs::path Sys() const { return root_ / "sys"; }
  fs::path Dev() const { return root_ / "dev"; }

  void Add(const FakeNode& node) {
    static int port = 0;
    const std::string usbDevice = "1-" + std::to_string(++port);
    fs::path parent = Sys() / "devices" / "usb1" / usbDevice;
    fs::create_directories(parent);
    Write(parent / "bcdDevice", Hex4(node.release));
    if (node.interfaceNumber >= 0) {
      parent /= usbDevice + ":1." + std::to_string(node.interfaceNumber);
      fs::create_directories(parent);
      char number[8];
      std::snprintf(number, sizeof number, "%02x\n", node.interfaceNumber);
      Write(parent / "bInterfaceNumber", number);
    }
    const fs::path hid = parent / node.hidName;
    fs::create_directories(hid / "hidraw" / node.name);
    fs::create_directory_symlink("../..", hid / "hidraw" / node.name / "device");
    std::ofstream(hid / "report_descriptor", std::ios::binary)
        .write(reinterpret_cast<const char*>(node.descriptor.data()),
               std::streamsize(node.descriptor.size()));
    char id[64];
    std::snprintf(id, sizeof id, "HID_ID=%04X:%08X:%08X\n", node.bus, node.vendor, node.product);
    Write(hid / "uevent", std::string("DRIVER=hid-generic\n") + id + "HID_NAME=Tavix Test\nHID_UNIQ=\n");
    fs::create_directory_symlink(hid / "hidraw" / node.name, Sys() / "class" / "hidraw" / node.name);
    ASSERT_EQ(mkfifo((Dev() / node.name).c_str(), 0600), 0);
  }

  // The node now belongs to another HID device (a replug took the number).
  void Retarget(const std::string& name, const std::string& newHidName) {
    const fs::path link = Sys() / "class" / "hidraw" / name;
    const fs::path oldHid = fs::canonical(link / "device");
    const fs::path newHid = oldHid.parent_path() / newHidName;
    fs::rename(oldHid, newHid);
    fs::remove(link);
    fs::create_directory_symlink(newHid / "hidraw" / name, link);
  }

  void Remove(const std::string& name) {
    fs::remove(Sys() / "class" / "hidraw" / name);
    fs::remove(Dev() / name);
  }

 private:
  static std::string Hex4(std::uint16_t v) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x\n", v);
    return text;
  }
  static void Write(const fs::path& file, const std::string& text) { std::ofstream(file) << text; }
  fs::path root_;
};

class HidHidraw : public ::testing::Test {
 protected:
  void SetUp() override {
    sysfs_ = std::make_unique<FakeSysfs>();
    HidPlatform::SetRootsForTesting(sysfs_->Sys().string(), sysfs_->Dev().string());
  }
  void TearDown() override {
    for (int fd : writers_) close(fd);
    HidPlatform::SetRootsForTesting("", "");
  }

  void AddStandardNodes() {
    sysfs_->Add({"hidraw0", "0003:320F:511E.0001", 3, 0x320F, 0x511E, 1, 0x0105, test::kKeyboardInterface});
    sysfs_->Add({"hidraw10", "0003:320F:1000.0004", 3, 0x320F, 0x1000, 0, 0x0200, test::kMouse});
    sysfs_->Add({"hidraw2", "0005:046D:B010.0002", 5, 0x046D, 0xB010, -1, 0, test::kBootKeyboard});
    sysfs_->Add({"hidraw3", "0003:1234:5678.0003", 3, 0x1234, 0x5678, 0, 0, {0xA1, 0x01}});  // unreadable
  }

  std::vector<std::string> Enumerate() {
    HidLink link;
    std::vector<std::string> paths;
    EXPECT_TRUE(link.Enumerate());
    while (const char* path = link.NextPath()) paths.push_back(path);
    return paths;
  }

  // The kernel's side of a node: what it writes, the link reads.
  int Writer(const std::string& name) {
    const int fd = open((sysfs_->Dev() / name).c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    EXPECT_GE(fd, 0);
    writers_.push_back(fd);
    return fd;
  }

  std::unique_ptr<FakeSysfs> sysfs_;
  std::vector<int> writers_;
};

TEST_F(HidHidraw, EnumeratesEveryCollectionOfEveryReadableNode) {
  AddStandardNodes();
  const std::vector<std::string> expected = {
      "hidraw#vid_320f&pid_511e&mi_01&col01#hidraw0#0003:320F:511E.0001",
      "hidraw#vid_320f&pid_511e&mi_01&col02#hidraw0#0003:320F:511E.0001",
      "hidraw#vid_046d&pid_b010#hidraw2#0005:046D:B010.0002",  // Bluetooth: no USB interface
      "hidraw#vid_320f&pid_1000&mi_00#hidraw10#0003:320F:1000.0004",
  };
  EXPECT_EQ(Enumerate(), expected);

  HidInterface iface;
  ASSERT_TRUE(HidrawSource(sysfs_->Sys().string(), sysfs_->Dev().string()).Find("hidraw0", iface));
  EXPECT_EQ(iface.version, 0x0105);
  EXPECT_EQ(iface.interfaceNumber, 1);
  EXPECT_EQ(iface.productName, "Tavix Test");
  EXPECT_EQ(iface.node, (sysfs_->Dev() / "hidraw0").string());
  EXPECT_FALSE(HidrawSource(sysfs_->Sys().string(), sysfs_->Dev().string()).Find("../hidraw0", iface));
}

TEST_F(HidHidraw, MissingSysfsMeansNoDevices) {
  HidPlatform::SetRootsForTesting((test::TestRoot() / "nowhere").string(), "/nonexistent");
  EXPECT_TRUE(Enumerate().empty());
}

TEST_F(HidHidraw, OpenDescribesTheCollectionAndReadsOnlyItsReports) {
  AddStandardNodes();
  const auto paths = Enumerate();
  HidLink vendor;
  ASSERT_TRUE(vendor.Open(paths[1], true, false, true, false));
  EXPECT_EQ(vendor.Attributes().VendorID, 0x320F);
  EXPECT_EQ(vendor.Attributes().ProductID, 0x511E);
  EXPECT_EQ(vendor.Attributes().VersionNumber, 0x0105);
  EXPECT_EQ(vendor.Caps().UsagePage, 0xFF1C);
  EXPECT_EQ(vendor.Caps().InputReportByteLength, 64);
  EXPECT_EQ(vendor.InterfaceNumber(), 1u);
  EXPECT_EQ(vendor.CollectionNumber(), 2u);

  const int kernel = Writer("hidraw0");
  const Bytes consumer = {0x03, 0xE9, 0x00, 0x00, 0x00};
  ASSERT_EQ(write(kernel, consumer.data(), consumer.size()), 5);
  Bytes buffer(64);
  std::uint32_t got = 0;
  // The consumer report is another collection's: nothing for this handle.
  EXPECT_FALSE(vendor.Read(64, buffer.data(), 50, &got));
  Bytes reply(64, 0x42);
  reply[0] = 4;
  ASSERT_EQ(write(kernel, reply.data(), reply.size()), 64);
  ASSERT_TRUE(vendor.Read(64, buffer.data(), 1000, &got));
  EXPECT_EQ(got, 64u);
  EXPECT_EQ(buffer, reply);

  // The kernel closing the node (unplug) fails the next read at once.
  close(kernel);
  writers_.clear();
  EXPECT_FALSE(vendor.Read(64, buffer.data(), HidLink::kInfinite, &got));
  EXPECT_EQ(got, 0u);
}

TEST_F(HidHidraw, UnnumberedNodeReportsGetIdZero) {
  AddStandardNodes();
  const auto paths = Enumerate();
  HidLink mouse;
  ASSERT_TRUE(mouse.Open(paths[3], true, false, true, false));
  EXPECT_EQ(mouse.CollectionNumber(), 0u);
  EXPECT_EQ(mouse.InterfaceNumber(), 0u);
  const int kernel = Writer("hidraw10");
  const Bytes data = {0x01, 0xFE, 0x02, 0x10};  // hidraw gives the data alone
  ASSERT_EQ(write(kernel, data.data(), data.size()), 4);
  Bytes buffer(8, 0xEE);
  std::uint32_t got = 0;
  ASSERT_TRUE(mouse.Read(8, buffer.data(), 1000, &got));
  EXPECT_EQ(got, 5u);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 5), (Bytes{0x00, 0x01, 0xFE, 0x02, 0x10}));
}

TEST_F(HidHidraw, ExistenceTestNoticesRemovalAndANewDevice) {
  AddStandardNodes();
  const auto paths = Enumerate();
  EXPECT_TRUE(HidLink::PathExists(paths[0]));
  EXPECT_TRUE(HidLink::PathExists(paths[3]));
  // hidraw0 now belongs to another device of the same model.
  sysfs_->Retarget("hidraw0", "0003:320F:511E.0009");
  EXPECT_FALSE(HidLink::PathExists(paths[0]));
  EXPECT_FALSE(HidLink::PathExists(paths[1]));
  HidLink link;
  EXPECT_FALSE(link.Open(paths[0], true, false, true, false));
  EXPECT_NE(Enumerate()[0], paths[0]);
  // The node is gone altogether.
  sysfs_->Remove("hidraw10");
  EXPECT_FALSE(HidLink::PathExists(paths[3]));
  EXPECT_EQ(Enumerate().size(), 3u);
}

#ifdef OSTREL_HID_HAVE_FUSE
// A node that behaves like the kernel's: one report per read, poll, and
// failures after an unplug. Skipped where FUSE cannot be mounted.
TEST_F(HidHidraw, EndToEndThroughAFuseNode) {
  sysfs_->Add({"hidraw0", "0003:320F:511E.0001", 3, 0x320F, 0x511E, 1, 0x0105, test::kKeyboardInterface});
  const fs::path devRoot = test::TestRoot() / "fusedev";
  test::FuseHidrawNode node(devRoot, "hidraw0");
  std::string why;
  if (!node.Start(&why)) GTEST_SKIP() << why;
  HidPlatform::SetRootsForTesting(sysfs_->Sys().string(), devRoot.string());

  const auto paths = Enumerate();
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_TRUE(HidLink::PathExists(paths[1]));
  HidLink vendor;
  ASSERT_TRUE(vendor.Open(paths[1], true, true, true, false));

  Bytes frame(64, 0);
  frame[0] = 4;
  frame[3] = 0x01;
  std::uint32_t count = 0;
  ASSERT_TRUE(vendor.Write(64, frame.data(), 1000, &count));
  // A node that does not take the SET_REPORT request gets the report written.
  frame[3] = 0x02;
  ASSERT_TRUE(vendor.SetOutputReport(frame.data(), 64));
  const auto written = node.Written();
  ASSERT_EQ(written.size(), 2u);
  EXPECT_EQ(written[1], frame);
  frame[3] = 0x01;
  EXPECT_EQ(written[0], frame);

  Bytes reply(64, 0x11);
  reply[0] = 4;
  node.PushInput({0x03, 0xE9, 0x00, 0x00, 0x00});
  node.PushInput(reply);
  Bytes buffer(64);
  ASSERT_TRUE(vendor.Read(64, buffer.data(), 2000, &count));
  EXPECT_EQ(buffer, reply);

  // A read waiting with no time-out ends when the device goes away.
  auto reader = std::async(std::launch::async,
                           [&] { return vendor.Read(64, buffer.data(), HidLink::kInfinite, &count); });
  EXPECT_EQ(reader.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
  node.Unplug();
  const bool released = reader.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
  if (!released) vendor.Close();  // do not leave the reader blocked behind a failed test
  ASSERT_TRUE(released);
  EXPECT_FALSE(reader.get());
  EXPECT_FALSE(vendor.Write(64, frame.data(), 1000, &count));
  vendor.Close();
  node.Stop();
}
#endif

}  // namespace
}  // namespace ostrel
