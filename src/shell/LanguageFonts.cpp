#include "shell/LanguageFonts.h"

#include "platform/ui/CPaintManagerUI.h"

namespace ostrel {

std::optional<std::string> LanguageFonts::FaceFor(int languageIndex) {
  switch (languageIndex) {
    case 0:
      return std::string("宋体");
    case 1:
    case 2:
      return std::string("Helvetica");
    default:
      return std::nullopt;
  }
}

void LanguageFonts::Apply(CPaintManagerUI* pm, const std::string& face) {
  if (!pm) return;
  pm->RemoveAllFonts(true);
  pm->RemoveAllFonts(false);
  for (const LanguageFont& f : kFonts) {
    if (f.id < 0) {
      pm->SetDefaultFont(face.c_str(), f.size, f.bold, f.underline, false, true);
    } else {
      pm->AddFont(f.id, face.c_str(), f.size, f.bold, f.underline, false, true);
    }
  }
}

}  // namespace ostrel
