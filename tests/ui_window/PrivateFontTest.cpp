// Text in a face that only a private font provides: the text renderer
// picks it up when the font is registered and drops it when it goes.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/os/PrivateFonts.h"
#include "platform/ui/CPaintManagerUI.h"
#include "platform/ui/CRenderEngine.h"
#include "support/TestEnvironment.h"

namespace ostrel::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSource = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";
constexpr const char* kPrivateFamily = "Ostrel Test Mono";  // as long as "DejaVu Sans Mono"

// A copy of a monospaced system font whose family names are renamed in
// place, so that the face exists only in this file.
std::string RenamedFont(const fs::path& dir) {
  std::ifstream in(kSource, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto replaceAll = [&](const std::string& from, const std::string& to) {
    for (std::size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + to.size()))
      bytes.replace(at, from.size(), to);
  };
  auto utf16 = [](const std::string& s) {
    std::string out;
    for (char c : s) {
      out.push_back('\0');
      out.push_back(c);
    }
    return out;
  };
  replaceAll("DejaVu Sans Mono", kPrivateFamily);
  replaceAll(utf16("DejaVu Sans Mono"), utf16(kPrivateFamily));
  fs::path out = dir / "OstrelTestMono.ttf";
  std::ofstream(out, std::ios::binary) << bytes;
  return out.string();
}

TEST(WindowFonts, TextInAPrivateFaceRendersInItOnceRegistered) {
  if (!fs::exists(kSource)) GTEST_SKIP() << "DejaVu Sans Mono not installed";
  TempDir dir;
  std::string file = RenamedFont(dir.path());
  CPaintManagerUI pm;
  pm.AddFont(1, kPrivateFamily, 16, false, false, false);
  pm.AddFont(2, "DejaVu Sans Mono", 16, false, false, false);
  const char* text = "iiiiiiiiii";
  auto width = [&](int font) { return CRenderEngine::GetTextSize(&pm, text, font, DT_SINGLELINE).cx; };

  int mono = width(2);
  int fallback = width(1);
  ASSERT_LT(fallback, mono) << "the fallback face is expected to be proportional";

  PrivateFontHandle handle = AddPrivateFont(file);
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(width(1), mono);

  ASSERT_TRUE(RemovePrivateFont(handle));
  EXPECT_EQ(width(1), fallback);
}

TEST(WindowFonts, ABrokenFontFileChangesNothing) {
  TempDir dir;
  fs::path broken = dir.path() / "broken.ttf";
  std::ofstream(broken) << "not a font at all";
  CPaintManagerUI pm;
  pm.AddFont(1, "Sans", 16, false, false, false);
  int before = CRenderEngine::GetTextSize(&pm, "Kestrane", 1, DT_SINGLELINE).cx;
  EXPECT_EQ(AddPrivateFont(broken.string()), 0u);
  EXPECT_EQ(AddPrivateFont((dir.path() / "absent.ttf").string()), 0u);
  EXPECT_EQ(CRenderEngine::GetTextSize(&pm, "Kestrane", 1, DT_SINGLELINE).cx, before);
  EXPECT_GT(before, 0);
}

}  // namespace
}  // namespace ostrel::test
