// What a host finds in the vhid directory: the description files, the
// report descriptors and their collections, the directory itself.
#include <gtest/gtest.h>
#include <json/json.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "DescriptorWalker.h"
#include "devsim/ReportDescriptor.h"
#include "devsim/Simulator.h"
#include "devsim/VhidDirectory.h"
#include "support/TestEnvironment.h"

namespace ostrel::devsim {
namespace {

Json::Value ParseFile(const std::string& path) {
  Json::Value root;
  Json::CharReaderBuilder builder;
  std::istringstream in(ostrel::test::ReadFileBytes(path));
  std::string errors;
  EXPECT_TRUE(Json::parseFromStream(builder, in, &root, &errors)) << errors;
  return root;
}

std::vector<std::uint8_t> ParseHex(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  std::istringstream in(text);
  std::string pair;
  while (in >> pair) bytes.push_back(static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16)));
  return bytes;
}

struct ModelCase {
  const char* model;
  std::uint16_t vendorId;
  std::uint16_t productId;
  int interfaceNumber;
};

void PrintTo(const ModelCase& c, std::ostream* out) { *out << c.model; }

class DevsimDescription : public ::testing::TestWithParam<ModelCase> {};

TEST_P(DevsimDescription, JsonCarriesIdsInterfaceAndDescriptor) {
  const ModelCase& c = GetParam();
  Simulator simulator;
  SimResult result;
  SimulatedDevice* device = simulator.Plug(c.model, {}, &result);
  ASSERT_NE(device, nullptr) << result.message;

  const std::string base = simulator.Directory() + "/" + c.model;
  EXPECT_EQ(device->DescriptionPath(), base + ".json");
  EXPECT_FALSE(std::filesystem::exists(base + ".json.tmp"));
  struct stat info {};
  ASSERT_EQ(::stat((base + ".sock").c_str(), &info), 0);
  EXPECT_TRUE(S_ISSOCK(info.st_mode));

  const Json::Value root = ParseFile(base + ".json");
  EXPECT_EQ(root["vendor_id"].asInt(), c.vendorId);
  EXPECT_EQ(root["product_id"].asInt(), c.productId);
  EXPECT_EQ(root["interface"].asInt(), c.interfaceNumber);
  EXPECT_TRUE(root["version"].isIntegral());
  EXPECT_FALSE(root["name"].asString().empty());
  EXPECT_FALSE(root["serial"].asString().empty());
  const std::string hex = root["report_descriptor"].asString();
  EXPECT_TRUE(std::regex_match(hex, std::regex("[0-9a-f]{2}( [0-9a-f]{2})*")));
  const auto expected = ReportDescriptor::For(device->Model().collections);
  EXPECT_EQ(ParseHex(hex), std::vector<std::uint8_t>(expected.begin(), expected.end()));
}

INSTANTIATE_TEST_SUITE_P(Models, DevsimDescription,
                         ::testing::Values(ModelCase{"keyboard", 0x320F, 0x511E, 1},
                                           ModelCase{"mouse", 0x320F, 0x1000, 1},
                                           ModelCase{"receiver", 0x320F, 0x1001, 1},
                                           ModelCase{"mousepad", 0x320F, 0x2000, 1},
                                           ModelCase{"headset", 0x320F, 0x3000, 3}),
                         [](const auto& info) { return std::string(info.param.model); });

// Keyboard, mouse, pad and receiver: the program looks for the consumer
// collection as the 3rd and the vendor collection as the 4th.
TEST(DevsimDescriptor, FourCollectionLayoutsPutConsumerThirdAndVendorFourth) {
  for (CollectionLayout layout : {CollectionLayout::kKeyboard, CollectionLayout::kMouse}) {
    SCOPED_TRACE(static_cast<int>(layout));
    const test::WalkResult walk = test::WalkDescriptor(ReportDescriptor::For(layout));
    ASSERT_TRUE(walk.wellFormed);
    ASSERT_EQ(walk.collections.size(), 4u);
    EXPECT_EQ(walk.collections[0].usagePage, 0x01);
    EXPECT_EQ(walk.collections[1].usagePage, 0x01);

    const test::TopCollection& consumer = walk.collections[2];
    EXPECT_EQ(consumer.usagePage, 0x0C);
    EXPECT_EQ(consumer.usage, 0x01);
    EXPECT_EQ(consumer.inputBits.count(3), 1u);
    ASSERT_EQ(consumer.inputArrays.size(), 1u);
    const test::ArrayField& array = consumer.inputArrays[0];
    // 0 is outside the range: the release report names no usage.
    EXPECT_GE(array.logicalMinimum, 1);
    EXPECT_LE(array.usageMinimum, 0x0401u);
    EXPECT_GE(array.usageMaximum, 0x06FFu);
    EXPECT_GE(array.logicalMaximum - array.logicalMinimum,
              static_cast<std::int32_t>(array.usageMaximum - array.usageMinimum));

    const test::TopCollection& vendor = walk.collections[3];
    EXPECT_EQ(vendor.usagePage, 0xFF1C);
    EXPECT_EQ(vendor.usage, 0x92);
    ASSERT_EQ(vendor.inputBits.size(), 1u);
    EXPECT_EQ(vendor.inputBits.begin()->first, 4);
    EXPECT_EQ(vendor.InputLength(), 64u);
    EXPECT_EQ(vendor.OutputLength(), 64u);

    // Each collection has report ids of its own.
    std::set<std::uint8_t> ids;
    for (const auto& top : walk.collections) {
      for (const auto& [id, bits] : top.inputBits) EXPECT_TRUE(ids.insert(id).second) << int(id);
    }
  }
}

TEST(DevsimDescriptor, HeadsetHasOneConsumerCollectionWithFramesAndLedReport) {
  const test::WalkResult walk = test::WalkDescriptor(ReportDescriptor::For(CollectionLayout::kHeadset));
  ASSERT_TRUE(walk.wellFormed);
  ASSERT_EQ(walk.collections.size(), 1u);
  const test::TopCollection& top = walk.collections[0];
  EXPECT_EQ(top.usagePage, 0x0C);
  EXPECT_EQ(top.usage, 0x01);
  EXPECT_EQ(top.InputLength(), 64u);
  EXPECT_EQ(top.OutputLength(), 64u);
  ASSERT_EQ(top.outputBits.count(0xFF), 1u);
  EXPECT_EQ(top.outputBits.at(0xFF) / 8 + 1, 17u);  // the LED report with its id byte
  EXPECT_EQ(top.outputBits.at(4) / 8 + 1, 64u);
}

TEST(DevsimDescription, IdsAndNamesCanBeChosenWhenPlugging) {
  Simulator simulator;
  DeviceOptions options;
  options.name = "pad.left_1";
  options.vendorId = 0x1234;
  options.productId = 0xABCD;
  options.serial = "SN42";
  SimResult result;
  ASSERT_NE(simulator.Plug("mousepad", options, &result), nullptr) << result.message;
  const Json::Value root = ParseFile(simulator.Directory() + "/pad.left_1.json");
  EXPECT_EQ(root["vendor_id"].asInt(), 0x1234);
  EXPECT_EQ(root["product_id"].asInt(), 0xABCD);
  EXPECT_EQ(root["serial"].asString(), "SN42");
}

TEST(DevsimDescription, NamesAreMadeUniqueAndCheckedAndModelsKnown) {
  Simulator simulator;
  ASSERT_NE(simulator.Plug("mouse"), nullptr);
  SimulatedDevice* second = simulator.Plug("mouse");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Name(), "mouse-2");
  EXPECT_TRUE(std::filesystem::exists(simulator.Directory() + "/mouse-2.json"));

  SimResult result;
  EXPECT_EQ(simulator.Plug("toaster", {}, &result), nullptr);
  EXPECT_NE(result.message.find("keyboard"), std::string::npos) << "lists the known models";
  DeviceOptions bad;
  bad.name = "my mouse";
  EXPECT_EQ(simulator.Plug("mouse", bad, &result), nullptr);
  EXPECT_FALSE(result.ok);
  DeviceOptions taken;
  taken.name = "mouse";
  EXPECT_EQ(simulator.Plug("keyboard", taken, &result), nullptr);
  EXPECT_FALSE(result.ok);
}

TEST(DevsimDirectory, LivesInRuntimeDirOrTmpAndIsPrivate) {
  const std::string runtime = std::getenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(VhidDirectory::DefaultPath(), runtime + "/ostrel/vhid");
  ::setenv("XDG_RUNTIME_DIR", "", 1);
  EXPECT_EQ(VhidDirectory::DefaultPath(), "/tmp/ostrel-" + std::to_string(::getuid()) + "/vhid");
  ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);

  Simulator simulator;
  ASSERT_NE(simulator.Plug("keyboard"), nullptr);
  for (const std::string& dir : {runtime + "/ostrel", runtime + "/ostrel/vhid"}) {
    struct stat info {};
    ASSERT_EQ(::stat(dir.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u) << dir;
  }
}

TEST(DevsimDirectory, SocketPathTooLongIsAnErrorAndLeavesNothing) {
  const std::string dir = ostrel::test::TestRoot().string() + "/" + std::string(100, 'd');
  Simulator simulator(dir);
  SimResult result;
  EXPECT_EQ(simulator.Plug("mouse", {}, &result), nullptr);
  EXPECT_NE(result.message.find("too long"), std::string::npos) << result.message;
  EXPECT_TRUE(std::filesystem::is_empty(dir));
}

TEST(DevsimDirectory, OpenDirectoryOfOursIsMadePrivate) {
  const std::string dir = ostrel::test::TestRoot().string() + "/shared-vhid";
  ASSERT_EQ(::mkdir(dir.c_str(), 0777), 0);
  ::chmod(dir.c_str(), 0777);
  ASSERT_TRUE(VhidDirectory::Prepare(dir).ok);
  struct stat info {};
  ASSERT_EQ(::stat(dir.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  const std::string file = ostrel::test::TestRoot().string() + "/plain-file";
  { std::ofstream(file) << "x"; }
  EXPECT_FALSE(VhidDirectory::Prepare(file).ok);
}

}  // namespace
}  // namespace ostrel::devsim
