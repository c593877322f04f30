#pragma once
// The toolkit's string: UTF-8 text with the few operations UI code needs.
// Everything else is done on std::string (str()).

#include <string>
#include <string_view>

namespace ostrel {

class CDuiString {
 public:
  CDuiString() = default;
  CDuiString(const char* text) : text_(text ? text : "") {}  // NOLINT: implicit on purpose
  CDuiString(const char* text, int length);
  CDuiString(std::string text) : text_(std::move(text)) {}  // NOLINT
  CDuiString(std::string_view text) : text_(text) {}        // NOLINT
  CDuiString(char ch, int count = 1) : text_(count > 0 ? count : 0, ch) {}

  int GetLength() const { return static_cast<int>(text_.size()); }
  bool IsEmpty() const { return text_.empty(); }
  void Empty() { text_.clear(); }
  char GetAt(int index) const;
  const char* GetData() const { return text_.c_str(); }
  const std::string& str() const { return text_; }
  std::string& str() { return text_; }
  operator const char*() const { return text_.c_str(); }  // NOLINT: the program passes strings as C text

  void Append(std::string_view text) { text_.append(text); }
  void Assign(std::string_view text) { text_.assign(text); }
  CDuiString& operator+=(std::string_view text) {
    text_.append(text);
    return *this;
  }
  CDuiString& operator+=(const CDuiString& text) {
    text_.append(text.text_);
    return *this;
  }
  CDuiString& operator+=(const char* text) {
    if (text) text_.append(text);
    return *this;
  }
  CDuiString& operator+=(char ch) {
    text_.push_back(ch);
    return *this;
  }
  friend CDuiString operator+(const CDuiString& a, std::string_view b) {
    return CDuiString(a.text_ + std::string(b));
  }
  friend CDuiString operator+(const CDuiString& a, const char* b) {
    return CDuiString(a.text_ + (b ? b : ""));
  }
  friend CDuiString operator+(const char* a, const CDuiString& b) {
    return CDuiString(std::string(a ? a : "") + b.text_);
  }
  friend CDuiString operator+(const CDuiString& a, const CDuiString& b) {
    return CDuiString(a.text_ + b.text_);
  }

  // Comparisons: Compare is byte-wise; CompareNoCase folds ASCII letters
  // (control names and attribute values are ASCII).
  int Compare(std::string_view other) const;
  int CompareNoCase(std::string_view other) const;
  friend bool operator==(const CDuiString& a, const CDuiString& b) { return a.text_ == b.text_; }
  friend bool operator==(const CDuiString& a, const char* b) { return a.text_ == (b ? b : ""); }
  friend bool operator==(const CDuiString& a, std::string_view b) { return a.text_ == b; }
  friend bool operator==(const CDuiString& a, const std::string& b) { return a.text_ == b; }
  friend bool operator<(const CDuiString& a, const CDuiString& b) { return a.text_ < b.text_; }

  void MakeUpper();
  void MakeLower();

  // Byte positions; -1 when not found.
  int Find(char ch, int start = 0) const;
  int Find(std::string_view text, int start = 0) const;
  int ReverseFind(char ch) const;
  int Replace(std::string_view from, std::string_view to);

  CDuiString Left(int length) const;
  CDuiString Mid(int start, int length = -1) const;
  CDuiString Right(int length) const;

  // printf-style; replaces the content.
  int Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  int SmallFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Decimal (or "0x"/"#" hexadecimal) value; `fallback` when the text is not a number.
  int ToInt(int fallback = 0) const;
  static bool ParseInt(std::string_view text, int* value);

 private:
  std::string text_;
};

}  // namespace ostrel

template <>
struct std::hash<ostrel::CDuiString> {
  std::size_t operator()(const ostrel::CDuiString& s) const noexcept {
    return std::hash<std::string>()(s.str());
  }
};
