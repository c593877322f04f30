// What the page host builds at start-up, before any device arrives.

#include <gtest/gtest.h>

#include "DeviceHostFixture.h"
#include "controls/CDeviceOptionUI.h"
#include "controls/CMpDevicePowerUI.h"
#include "devicelink/DeviceCatalogue.h"
#include "platform/ui/CCheckBoxUI.h"
#include "platform/ui/CPaintManagerUI.h"

namespace ostrel::test {
namespace {

using DiscoveryTest = DeviceHostFixture;

TEST_F(DiscoveryTest, EveryModelGetsAHiddenEntryADisconnectedPageAndAPowerIndicator) {
  CreateWindow();
  const auto& entries = window->host.Entries();
  ASSERT_EQ(entries.size(), kModelTable.size());
  ASSERT_EQ(window->host.Pages().size(), kModelTable.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const auto& e = entries[i];
    const ModelTableRow& model = kModelTable[i];
    const PageTypeRow& type = kPageTypeTable[i];
    SCOPED_TRACE(model.modelName);
    EXPECT_FALSE(e.entry->IsConnected());
    EXPECT_FALSE(e.entry->IsVisible());
    EXPECT_FALSE(e.entry->GetSynchroCheck()->IsVisible());
    EXPECT_EQ(e.entry->GetBindTabLayoutName(), "device_switch");
    EXPECT_EQ(e.entry->GetBindTabIndex(), e.pageIndex);
    EXPECT_EQ(e.entry->GetPowerIndex(), e.powerIndex);
    EXPECT_EQ(e.entry->GetDeviceType(), model.deviceType);
    EXPECT_EQ(e.entry->GetNameLabel()->GetText(), model.modelName);
    EXPECT_EQ(e.entry->GetPage(), e.page);
    EXPECT_EQ(e.powerIndicator->GetDeviceType(), model.deviceType);
    EXPECT_EQ(e.page->GetDeviceOption(), e.entry);
    EXPECT_EQ(e.page->GetPowerIndicator(), e.powerIndicator);
    EXPECT_FALSE(e.page->CommandChannel().IsConnected());
    EXPECT_EQ(e.page->GetDeviceType(), model.deviceType);
    EXPECT_EQ(e.page->GetModelNumber(), model.modelNumber);
    EXPECT_EQ(e.page->GetModelName(), model.modelName);
    EXPECT_EQ(e.page->GetKeyCount(), type.keyCount);
    EXPECT_EQ(e.page->GetLedCount(), type.ledCount);
    EXPECT_EQ(e.page->GetLayoutName(), type.pageLayout);
    EXPECT_EQ(e.page->GetLightPrefix(), type.lightingPrefix);
    // The page layouts of the test skin bind every key and LED button.
    int keys = 0, leds = 0;
    for (auto* k : e.page->KeyButtons()) keys += k != nullptr;
    for (auto* l : e.page->LedButtons()) leds += l != nullptr;
    EXPECT_EQ(keys, type.keyCount);
    EXPECT_EQ(leds, type.ledCount);
  }
  EXPECT_EQ(window->host.CurrentPage(), nullptr);
}

TEST_F(DiscoveryTest, CreateFailsWithoutTheWindowsContainers) {
  CPaintManagerUI pm;
  DevicePageHost host;
  EXPECT_FALSE(host.Create(pm, nullptr, ""));
  EXPECT_TRUE(host.Pages().empty());
  EXPECT_TRUE(SawLine("device_switch"));
}

TEST_F(DiscoveryTest, ArrivalOfAnUnknownOrFreedSlotChangesNothing) {
  CreateWindow();
  // Out of the list, and a slot the scanner has not claimed (empty path).
  window->host.OnDeviceArrived(99);
  window->host.OnDeviceArrived(0);
  window->host.OnDeviceRemoved(99);
  for (const auto& e : window->host.Entries()) {
    EXPECT_FALSE(e.entry->IsConnected());
    EXPECT_FALSE(e.page->CommandChannel().IsConnected());
  }
}

}  // namespace
}  // namespace ostrel::test
