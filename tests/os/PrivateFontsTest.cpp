#include "platform/os/PrivateFonts.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "support/TestEnvironment.h"

namespace ostrel {
namespace {

namespace fs = std::filesystem;

const char* kSystemFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::set<std::string> ApplicationFontFiles() {
  std::set<std::string> files;
  FcFontSet* set = FcConfigGetFonts(nullptr, FcSetApplication);
  for (int i = 0; set != nullptr && i < set->nfont; ++i) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch) {
      files.insert(reinterpret_cast<const char*>(file));
    }
  }
  return files;
}

TEST(PrivateFonts, AddAndRemoveOnlyTheGivenFont) {
  if (!fs::exists(kSystemFont)) GTEST_SKIP() << "DejaVu fonts not installed";
  test::TempDir dir;
  auto first = (dir.path() / "first.ttf").string();
  auto second = (dir.path() / "second.ttf").string();
  fs::copy_file(kSystemFont, first);
  fs::copy_file(kSystemFont, second);

  auto generation = PrivateFontGeneration();
  PrivateFontHandle a = AddPrivateFont(first);
  PrivateFontHandle b = AddPrivateFont(second);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_NE(a, b);
  EXPECT_GT(PrivateFontGeneration(), generation);
  EXPECT_EQ(ApplicationFontFiles(), (std::set<std::string>{first, second}));

  EXPECT_TRUE(RemovePrivateFont(a));
  EXPECT_EQ(ApplicationFontFiles(), (std::set<std::string>{second}));
  EXPECT_FALSE(RemovePrivateFont(a));
  EXPECT_TRUE(RemovePrivateFont(b));
  EXPECT_TRUE(ApplicationFontFiles().empty());
}

TEST(PrivateFonts, MissingOrBrokenFilesAreSkipped) {
  test::TempDir dir;
  auto broken = (dir.path() / "broken.otf").string();
  std::ofstream(broken) << "this is not a font";
  EXPECT_EQ(AddPrivateFont((dir.path() / "absent.ttf").string()), 0u);
  EXPECT_EQ(AddPrivateFont(broken), 0u);
  EXPECT_TRUE(ApplicationFontFiles().empty());
}

}  // namespace
}  // namespace ostrel
