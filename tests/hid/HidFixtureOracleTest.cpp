// The parser against what Windows computed for real devices: every
// collection of every recorded interface, every capability field the device
// link and the report decoding rely on.
#include <gtest/gtest.h>

#include <cstdlib>

#include "HidFixtures.h"
#include "platform/hid/HidDescriptorParser.h"

namespace ostrel {
namespace {

using test::WindowsCollection;

void ExpectCollection(const HidPreparsedData& mine, const WindowsCollection& windows) {
  SCOPED_TRACE(windows.name);
  EXPECT_EQ(mine.UsagePage(), windows.usagePage);
  EXPECT_EQ(mine.Usage(), windows.usage);
  HIDP_CAPS caps;
  mine.GetCaps(caps);
  EXPECT_EQ(caps.InputReportByteLength, windows.byteLength[0]);
  EXPECT_EQ(caps.OutputReportByteLength, windows.byteLength[1]);
  EXPECT_EQ(caps.FeatureReportByteLength, windows.byteLength[2]);
  EXPECT_EQ(caps.NumberLinkCollectionNodes, windows.links.size());

  ASSERT_EQ(mine.LinkCollections().size(), windows.links.size());
  for (std::size_t i = 0; i < windows.links.size(); ++i) {
    SCOPED_TRACE("link collection " + std::to_string(i));
    const auto& node = mine.LinkCollections()[i];
    auto get = [&](const char* name) { return test::ParseNumber(windows.links[i].at(name)); };
    EXPECT_EQ(node.LinkUsage, get("LinkUsage"));
    EXPECT_EQ(node.LinkUsagePage, get("LinkUsagePage"));
    EXPECT_EQ(node.Parent, get("Parent"));
    EXPECT_EQ(node.NumberOfChildren, get("NumberOfChildren"));
    EXPECT_EQ(node.NextSibling, get("NextSibling"));
    EXPECT_EQ(node.FirstChild, get("FirstChild"));
    EXPECT_EQ(node.CollectionType, get("CollectionType"));
  }

  std::vector<const HidPreparsedData::Cap*> all;
  for (int kind = 0; kind < kHidReportKinds; ++kind)
    for (const auto& cap : mine.Caps(static_cast<HIDP_REPORT_TYPE>(kind))) all.push_back(&cap);
  ASSERT_EQ(all.size(), windows.caps.size());
  std::size_t index = 0;
  std::array<std::uint32_t, 3> buttons = {}, values = {};
  for (int kind = 0; kind < kHidReportKinds; ++kind) {
    for (const auto& cap : mine.Caps(static_cast<HIDP_REPORT_TYPE>(kind))) {
      const auto& w = windows.caps[index];
      SCOPED_TRACE("cap " + std::to_string(index));
      ++index;
      ASSERT_EQ(w.kind, kind);
      ++(cap.IsButtonCap ? buttons : values)[kind];
      EXPECT_EQ(cap.UsagePage, w.Get("UsagePage"));
      EXPECT_EQ(cap.ReportID, w.Get("ReportID"));
      EXPECT_EQ(cap.BitPosition, w.Get("BitPosition"));
      EXPECT_EQ(cap.BitSize, w.Get("BitSize"));
      EXPECT_EQ(cap.ReportCount, w.Get("ReportCount"));
      EXPECT_EQ(cap.BytePosition, w.Get("BytePosition"));
      EXPECT_EQ(cap.BitCount, w.Get("BitCount"));
      EXPECT_EQ(cap.BitField, w.Get("BitField"));
      EXPECT_EQ(cap.LinkCollection, w.Get("LinkCollection"));
      EXPECT_EQ(cap.LinkUsagePage, w.Get("LinkUsagePage"));
      EXPECT_EQ(cap.LinkUsage, w.Get("LinkUsage"));
      EXPECT_EQ(cap.IsMultipleItemsForArray, w.Get("IsMultipleItemsForArray") != 0);
      EXPECT_EQ(cap.IsButtonCap, w.Get("IsButtonCap") != 0);
      EXPECT_EQ(cap.IsPadding, w.Get("IsPadding") != 0);
      EXPECT_EQ(cap.IsAbsolute, w.Get("IsAbsolute") != 0);
      EXPECT_EQ(cap.IsRange, w.Get("IsRange") != 0);
      if (cap.IsRange) {
        EXPECT_EQ(cap.UsageMin, w.Get("Range.UsageMin"));
        EXPECT_EQ(cap.UsageMax, w.Get("Range.UsageMax"));
        EXPECT_EQ(cap.DataIndexMin, w.Get("Range.DataIndexMin"));
        EXPECT_EQ(cap.DataIndexMax, w.Get("Range.DataIndexMax"));
      } else {
        EXPECT_EQ(cap.UsageMin, w.Get("NotRange.Usage"));
        EXPECT_EQ(cap.DataIndexMin, w.Get("NotRange.DataIndex"));
      }
      if (cap.IsButtonCap) {
        EXPECT_EQ(cap.LogicalMin, w.Get("Button.LogicalMin"));
        EXPECT_EQ(cap.LogicalMax, w.Get("Button.LogicalMax"));
      } else {
        EXPECT_EQ(cap.LogicalMin, w.Get("NotButton.LogicalMin"));
        EXPECT_EQ(cap.LogicalMax, w.Get("NotButton.LogicalMax"));
        EXPECT_EQ(cap.HasNull, w.Get("NotButton.HasNull") != 0);
      }
    }
  }
  EXPECT_EQ(caps.NumberInputButtonCaps, buttons[0]);
  EXPECT_EQ(caps.NumberInputValueCaps, values[0]);
  EXPECT_EQ(caps.NumberOutputButtonCaps, buttons[1]);
  EXPECT_EQ(caps.NumberFeatureValueCaps, values[2]);
}

// Each recorded interface, its collections concatenated in collection order
// as hidraw gives them, splits into the collections Windows saw.
TEST(HidFixtureOracle, EveryRecordedInterfaceMatchesWindows) {
  const auto groups = test::ReadWindowsCapsGroups();
  if (groups.empty())
    GTEST_SKIP() << "fixtures folder absent (OSTREL_SHARED_DIR="
                 << (std::getenv("OSTREL_SHARED_DIR") ? std::getenv("OSTREL_SHARED_DIR") : "") << ")";
  std::size_t collections = 0;
  for (const auto& group : groups) {
    std::vector<std::uint8_t> descriptor;
    for (const auto& c : group) {
      ASSERT_FALSE(c.descriptor.empty()) << c.name;
      descriptor.insert(descriptor.end(), c.descriptor.begin(), c.descriptor.end());
    }
    SCOPED_TRACE(group.front().name);
    std::vector<HidPreparsedData> parsed;
    std::string error;
    ASSERT_TRUE(HidDescriptorParser::Parse(descriptor.data(), descriptor.size(), parsed, &error)) << error;
    ASSERT_EQ(parsed.size(), group.size());
    for (std::size_t i = 0; i < group.size(); ++i) ExpectCollection(parsed[i], group[i]);
    collections += group.size();
  }
  EXPECT_GE(collections, 25u);  // every recorded collection was read
}

}  // namespace
}  // namespace ostrel
