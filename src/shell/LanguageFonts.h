#pragma once
// The fonts that go with a language: one table of ids and sizes, the face
// chosen by the language index. Every layout names fonts only by id.

#include <optional>
#include <string>

namespace ostrel {

class CPaintManagerUI;

struct LanguageFont {
  int id;  // -1 is the default font
  int size;
  bool bold;
  bool underline;
};

class LanguageFonts {
 public:
  static constexpr LanguageFont kFonts[] = {
      {-1, 12, false, false}, {0, 15, false, false}, {1, 14, false, true},  {2, 18, false, false},
      {3, 30, false, false},  {4, 16, false, false}, {5, 20, false, false}, {6, 22, false, false},
      {7, 14, false, false},  {8, 12, false, false}, {9, 11, false, false}, {10, 10, false, false},
      {11, 28, false, false}, {50, 18, true, false},
  };

  // The face of a language index; nothing for indexes that keep the fonts
  // of the language before.
  static std::optional<std::string> FaceFor(int languageIndex);
  // Replaces every font of `pm` (its own and the shared ones) with the
  // table in `face`, all shared.
  static void Apply(CPaintManagerUI* pm, const std::string& face);
};

}  // namespace ostrel
