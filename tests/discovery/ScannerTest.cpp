// The scanning thread end to end: simulated devices in the test's private
// vhid directory, a headless main window receiving 3090, 3091 and the
// first-scan message.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>

#include "DeviceHostFixture.h"
#include "VirtualHidServer.h"
#include "devsim/ReportDescriptor.h"
#include "devsim/Simulator.h"
#include "platform/ui/CTabLayoutUI.h"

namespace ostrel::test {
namespace {

using std::chrono::milliseconds;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

constexpr UINT kArrived = DevicePageHost::kDeviceArrivedMessage;
constexpr UINT kRemoved = DevicePageHost::kDeviceRemovedMessage;

// Four top-level collections, all on the consumer page: collection 3 looks
// like the notification interface, collection 4 is no vendor collection.
std::vector<std::uint8_t> AllConsumerDescriptor() {
  std::vector<std::uint8_t> bytes;
  for (std::uint8_t id = 1; id <= 4; ++id) {
    const std::uint8_t collection[] = {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, id,   0x15, 0x00, 0x26,
                                       0xFF, 0x00, 0x75, 0x08, 0x95, 0x01, 0x09, 0x01, 0x81, 0x02, 0xC0};
    bytes.insert(bytes.end(), std::begin(collection), std::end(collection));
  }
  return bytes;
}

class ScannerTest : public DeviceHostFixture {
 protected:
  void Start() {
    CreateWindow();
    window->host.StartScanning();
  }
  bool FirstScanSeen() { return window->Count(window->host.FirstScanMessage()) > 0; }
  devsim::Simulator simulator;
};

TEST_F(ScannerTest, KeyboardClaimsItsTwoSlotsAndConnectsItsPage) {
  ASSERT_NE(simulator.Plug("keyboard"), nullptr);
  Start();
  ASSERT_TRUE(PumpUntil([&] { return window->Count(kArrived) == 2; }, milliseconds(3000)));
  // Collection 3 (notification, slot 1) comes before collection 4 (command, slot 0).
  EXPECT_THAT(window->Slots(kArrived), ElementsAre(1u, 0u));
  EXPECT_EQ(window->host.Slots().Slot(0).connected, 1);
  EXPECT_EQ(window->host.Slots().Slot(1).connected, 1);
  EXPECT_EQ(CountLines("添加一个键盘设备"), 2);
  TestDevicePage* keyboard = PageOfType(1);
  ASSERT_NE(keyboard, nullptr);
  EXPECT_TRUE(keyboard->CommandChannel().IsConnected());
  EXPECT_TRUE(keyboard->NotificationChannel().IsConnected());
  EXPECT_EQ(window->host.CurrentPage(), keyboard);
  EXPECT_FALSE(window->GetPaintManager()->FindControl("No_device_Link")->IsVisible());
  // The mouse page stays disconnected.
  EXPECT_FALSE(PageOfType(2)->CommandChannel().IsConnected());
}

struct UnclaimedCase {
  const char* what;
  std::uint8_t interfaceNumber;
  bool allConsumer;
  bool notificationSlotClaimed;
};

TEST_F(ScannerTest, InterfacesThatDoNotMatchAllSixValuesStayUnclaimed) {
  const UnclaimedCase cases[] = {
      {"keyboard ids on interface 2", 2, false, false},
      {"collection 4 on the consumer page", 1, true, true},
  };
  VirtualHidServer server(VirtualHidServer::DefaultDirectory());
  int plugged = 0;
  for (const UnclaimedCase& c : cases) {
    VirtualDescription description;
    description.interfaceNumber = c.interfaceNumber;
    if (c.allConsumer) {
      description.descriptor = AllConsumerDescriptor();
    } else {
      const auto keyboard = devsim::ReportDescriptor::For(devsim::CollectionLayout::kKeyboard);
      description.descriptor.assign(keyboard.begin(), keyboard.end());
    }
    const std::string name = "case" + std::to_string(plugged++);
    ASSERT_TRUE(server.Plug(name, description)) << c.what;
    if (!window) Start();
    // Several complete cycles.
    PumpFor(milliseconds(350));
    EXPECT_EQ(window->host.Slots().Slot(0).connected, 0) << c.what;
    EXPECT_EQ(window->host.Slots().Slot(1).connected, c.notificationSlotClaimed ? 1 : 0) << c.what;
    EXPECT_FALSE(PageOfType(1)->CommandChannel().IsConnected()) << c.what;
    server.Unplug(name);
    PumpUntil([&] { return window->host.Slots().Claimed().empty(); }, milliseconds(1000));
  }
}

TEST_F(ScannerTest, UnplugFreesEachSlotAndReplugClaimsTheSameSlots) {
  ASSERT_NE(simulator.Plug("keyboard"), nullptr);
  Start();
  ASSERT_TRUE(PumpUntil([&] { return window->Count(kArrived) == 2; }, milliseconds(3000)));
  ASSERT_TRUE(simulator.Unplug("keyboard").ok);
  // Within a few cycles.
  ASSERT_TRUE(PumpUntil([&] { return window->Count(kRemoved) == 2; }, milliseconds(1000)));
  EXPECT_THAT(window->Slots(kRemoved), UnorderedElementsAre(0u, 1u));
  EXPECT_TRUE(window->host.Slots().Claimed().empty());
  EXPECT_EQ(CountLines("删除一个键盘设备"), 2);
  TestDevicePage* keyboard = PageOfType(1);
  EXPECT_FALSE(keyboard->CommandChannel().IsConnected());
  EXPECT_FALSE(keyboard->NotificationReaderRunning());
  EXPECT_EQ(window->host.CurrentPage(), nullptr);
  EXPECT_TRUE(window->GetPaintManager()->FindControl("No_device_Link")->IsVisible());

  ASSERT_TRUE(simulator.Replug("keyboard").ok);
  ASSERT_TRUE(PumpUntil([&] { return window->Count(kArrived) == 4; }, milliseconds(3000)));
  const auto arrived = window->Slots(kArrived);
  EXPECT_THAT(std::vector<WPARAM>(arrived.begin() + 2, arrived.end()), ElementsAre(1u, 0u));
  EXPECT_TRUE(keyboard->CommandChannel().IsConnected());
}

TEST_F(ScannerTest, SecondIdenticalKeyboardIsIgnoredUntilTheFirstLeaves) {
  ASSERT_NE(simulator.Plug("keyboard"), nullptr);
  devsim::DeviceOptions second;
  second.name = "second";
  ASSERT_NE(simulator.Plug("keyboard", second), nullptr);
  Start();
  ASSERT_TRUE(PumpUntil([&] { return window->Count(kArrived) == 2; }, milliseconds(3000)));
  PumpFor(milliseconds(350));
  EXPECT_EQ(window->Count(kArrived), 2);
  const std::string firstPath = window->host.Slots().Slot(0).path;
  // Once the first one leaves, its slots go to the second.
  ASSERT_TRUE(simulator.Unplug(firstPath.find("#second#") != std::string::npos ? "second" : "keyboard").ok);
  ASSERT_TRUE(PumpUntil([&] { return window->Count(kArrived) == 4; }, milliseconds(3000)));
  EXPECT_EQ(window->Count(kRemoved), 2);
  EXPECT_NE(window->host.Slots().Slot(0).path, firstPath);
}

TEST_F(ScannerTest, FirstScanMessageIsPostedOnceEvenWithNothingAttached) {
  Start();
  ASSERT_TRUE(PumpUntil([&] { return FirstScanSeen(); }, milliseconds(2000)));
  PumpFor(milliseconds(450));
  EXPECT_EQ(window->Count(window->host.FirstScanMessage()), 1);
  EXPECT_EQ(window->Count(kArrived), 0);
  EXPECT_GE(window->host.Scanner().Cycles(), 3u);
}

TEST_F(ScannerTest, FailedEnumerationIsRetriedNextCycle) {
  ASSERT_NE(simulator.Plug("keyboard"), nullptr);
  CreateWindow();
  std::atomic<int> failures{0};
  window->host.Scanner().SetEnumerateFunction([&failures](std::vector<std::string>& paths) {
    if (failures < 3) {
      ++failures;
      return false;
    }
    HidLink link;
    link.Enumerate();
    while (const char* path = link.NextPath()) paths.emplace_back(path);
    return true;
  });
  window->host.StartScanning();
  ASSERT_TRUE(PumpUntil([&] { return window->Count(kArrived) == 2; }, milliseconds(3000)));
  EXPECT_EQ(failures.load(), 3);
  EXPECT_EQ(CountLines("枚举设备失败，下个周期重试"), 3);
  // The first complete pass is the first successful one.
  ASSERT_TRUE(PumpUntil([&] { return FirstScanSeen(); }, milliseconds(1000)));
  EXPECT_EQ(window->Count(window->host.FirstScanMessage()), 1);
  EXPECT_TRUE(window->host.Scanner().IsRunning());
}

TEST_F(ScannerTest, RemovingTheSelectedDeviceSelectsAnotherConnectedOne) {
  ASSERT_NE(simulator.Plug("keyboard"), nullptr);
  ASSERT_NE(simulator.Plug("mouse"), nullptr);
  CreateWindow();
  std::vector<CZantroveUSBDevice*> hidden;
  window->host.SetSelectedEntryHiding([&](CZantroveUSBDevice* page) { hidden.push_back(page); });
  window->host.StartScanning();
  ASSERT_TRUE(PumpUntil([&] { return window->Count(kArrived) == 4; }, milliseconds(3000)));
  CZantroveUSBDevice* first = window->host.CurrentPage();
  ASSERT_NE(first, nullptr);
  CZantroveUSBDevice* other = first == PageOfType(1) ? static_cast<CZantroveUSBDevice*>(PageOfType(2))
                                                     : static_cast<CZantroveUSBDevice*>(PageOfType(1));
  ASSERT_TRUE(simulator.Unplug(first == PageOfType(1) ? "keyboard" : "mouse").ok);
  ASSERT_TRUE(PumpUntil([&] { return window->Count(kRemoved) == 2; }, milliseconds(1000)));
  EXPECT_EQ(hidden, std::vector<CZantroveUSBDevice*>{first});
  EXPECT_EQ(window->host.CurrentPage(), other);
  EXPECT_FALSE(window->GetPaintManager()->FindControl("No_device_Link")->IsVisible());
  auto* deviceSwitch = static_cast<CTabLayoutUI*>(
      window->GetPaintManager()->FindControl("device_switch")->GetInterface("TabLayout"));
  EXPECT_EQ(deviceSwitch->GetCurSel(), window->host.EntryOf(other)->pageIndex);
}

TEST_F(ScannerTest, StoppingEndsTheScannerWithItsTexts) {
  ASSERT_NE(simulator.Plug("mouse"), nullptr);
  Start();
  ASSERT_TRUE(PumpUntil([&] { return window->Count(kArrived) == 2; }, milliseconds(3000)));
  EXPECT_THAT(window->Slots(kArrived), ElementsAre(3u, 2u));
  window->host.StopWorkers();
  EXPECT_FALSE(window->host.Scanner().IsRunning());
  EXPECT_TRUE(SawLine("抓取设备线程设定退出"));
  EXPECT_TRUE(SawLine("同步灯光线程设定退出"));
  EXPECT_TRUE(SawLine("MS设备同步线程设定退出"));
  EXPECT_TRUE(SawLine("线程退出：：对象处于激发状态"));
  EXPECT_FALSE(SawLine("超时"));
}

}  // namespace
}  // namespace ostrel::test
