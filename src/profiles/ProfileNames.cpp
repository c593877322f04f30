#include "profiles/ProfileNames.h"

#include <locale.h>
#include <wctype.h>

#include <cstdint>

namespace ostrel {
namespace {

// Decodes one UTF-8 sequence at `pos`; an invalid byte stands for itself
// (mapped above the Unicode range so it only ever equals the same byte).
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  int length = 0;
  char32_t cp = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    cp = lead & 0x07;
  } else {
    ++pos;
    return 0x110000 + lead;
  }
  if (pos + length > text.size()) {
    ++pos;
    return 0x110000 + lead;
  }
  for (int i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return 0x110000 + lead;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  pos += length;
  return cp;
}

locale_t Utf8Locale() {
  static const locale_t locale = [] {
    locale_t l = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return l;
  }();
  return locale;
}

char32_t Fold(char32_t cp) {
  if (cp < 0x80) return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
  if (cp > 0x10FFFF) return cp;
  const locale_t locale = Utf8Locale();
  if (locale == static_cast<locale_t>(0)) return cp;
  return static_cast<char32_t>(::towlower_l(static_cast<wint_t>(cp), locale));
}

bool IsSpace(char32_t cp) {
  if (cp < 0x80) return cp == ' ' || (cp >= '\t' && cp <= '\r');
  if (cp == 0xA0 || cp == 0x3000 || cp == 0xFEFF) return true;
  const locale_t locale = Utf8Locale();
  return cp <= 0x10FFFF && locale != static_cast<locale_t>(0) &&
         ::iswspace_l(static_cast<wint_t>(cp), locale);
}

}  // namespace

bool ProfileNames::EqualsIgnoreCase(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size())
    if (Fold(NextCodePoint(a, i)) != Fold(NextCodePoint(b, j))) return false;
  return i == a.size() && j == b.size();
}

bool ProfileNames::Contains(const std::vector<std::string>& names, std::string_view name) {
  for (const std::string& existing : names)
    if (EqualsIgnoreCase(existing, name)) return true;
  return false;
}

bool ProfileNames::IsBlank(std::string_view name) {
  for (std::size_t pos = 0; pos < name.size();)
    if (!IsSpace(NextCodePoint(name, pos))) return false;
  return true;
}

std::string ProfileNames::NewProfileName(const std::vector<std::string>& names) {
  for (std::size_t n = 1;; ++n) {
    std::string candidate = "profile" + std::to_string(n);
    if (!Contains(names, candidate)) return candidate;
  }
}

std::string ProfileNames::CopyName(const std::vector<std::string>& names, const std::string& source) {
  std::string candidate = source + " copy";
  while (Contains(names, candidate)) candidate += " copy";
  return candidate;
}

std::string ProfileNames::ImportName(const std::vector<std::string>& names, const std::string& title) {
  std::string candidate = title;
  for (int counter = 1; Contains(names, candidate); ++counter)
    candidate += "(" + std::to_string(counter) + ")";
  return candidate;
}

}  // namespace ostrel
