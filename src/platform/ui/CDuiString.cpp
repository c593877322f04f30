#include "platform/ui/CDuiString.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace ostrel {

namespace {
char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int VFormat(std::string* out, const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  char small[256];
  int needed = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (needed < 0) {
    out->clear();
    return 0;
  }
  if (needed < static_cast<int>(sizeof small)) {
    out->assign(small, needed);
    return needed;
  }
  std::vector<char> big(needed + 1);
  std::vsnprintf(big.data(), big.size(), format, args);
  out->assign(big.data(), needed);
  return needed;
}
}  // namespace

CDuiString::CDuiString(const char* text, int length) {
  if (!text) return;
  if (length < 0) {
    text_ = text;
  } else {
    text_.assign(text, length);
  }
}

char CDuiString::GetAt(int index) const {
  if (index < 0 || index >= GetLength()) return '\0';
  return text_[index];
}

int CDuiString::Compare(std::string_view other) const {
  int c = std::string_view(text_).compare(other);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CDuiString::CompareNoCase(std::string_view other) const {
  std::size_t n = std::min(text_.size(), other.size());
  for (std::size_t i = 0; i < n; ++i) {
    char a = FoldAscii(text_[i]);
    char b = FoldAscii(other[i]);
    if (a != b) return static_cast<unsigned char>(a) < static_cast<unsigned char>(b) ? -1 : 1;
  }
  if (text_.size() == other.size()) return 0;
  return text_.size() < other.size() ? -1 : 1;
}

void CDuiString::MakeUpper() {
  for (char& c : text_)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

void CDuiString::MakeLower() {
  for (char& c : text_) c = FoldAscii(c);
}

int CDuiString::Find(char ch, int start) const {
  if (start < 0 || start > GetLength()) return -1;
  auto pos = text_.find(ch, start);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CDuiString::Find(std::string_view text, int start) const {
  if (start < 0 || start > GetLength()) return -1;
  auto pos = text_.find(text, start);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CDuiString::ReverseFind(char ch) const {
  auto pos = text_.rfind(ch);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CDuiString::Replace(std::string_view from, std::string_view to) {
  if (from.empty()) return 0;
  int count = 0;
  std::size_t pos = 0;
  while ((pos = text_.find(from, pos)) != std::string::npos) {
    text_.replace(pos, from.size(), to);
    pos += to.size();
    ++count;
  }
  return count;
}

CDuiString CDuiString::Left(int length) const {
  if (length <= 0) return {};
  return CDuiString(text_.substr(0, length));
}

CDuiString CDuiString::Mid(int start, int length) const {
  if (start < 0) start = 0;
  if (start >= GetLength()) return {};
  if (length < 0) return CDuiString(text_.substr(start));
  return CDuiString(text_.substr(start, length));
}

CDuiString CDuiString::Right(int length) const {
  if (length <= 0) return {};
  if (length >= GetLength()) return *this;
  return CDuiString(text_.substr(text_.size() - length));
}

int CDuiString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = VFormat(&text_, format, args);
  va_end(args);
  return n;
}

int CDuiString::SmallFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = VFormat(&text_, format, args);
  va_end(args);
  return n;
}

bool CDuiString::ParseInt(std::string_view text, int* value) {
  std::string s(text);
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  if (i == s.size()) return false;
  int base = 10;
  std::size_t start = i;
  bool negative = false;
  if (s[i] == '-' || s[i] == '+') {
    negative = s[i] == '-';
    ++i;
  }
  if (s[i] == '#') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == s.size()) return false;
  char* end = nullptr;
  unsigned long long v = std::strtoull(s.c_str() + i, &end, base);
  if (end == s.c_str() + i) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0') return false;
  (void)start;
  long long signed_value = negative ? -static_cast<long long>(v) : static_cast<long long>(v);
  *value = static_cast<int>(static_cast<unsigned int>(signed_value));
  return true;
}

int CDuiString::ToInt(int fallback) const {
  int v = 0;
  return ParseInt(text_, &v) ? v : fallback;
}

}  // namespace ostrel
