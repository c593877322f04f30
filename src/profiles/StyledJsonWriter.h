#pragma once
// Renders a JSON value in the styled layout of JsonCpp's StyledWriter
// (3-space indentation, one member per line, short scalar arrays on one line
// up to a right margin of 74, comments kept), but with non-ASCII text as raw
// UTF-8 instead of \u escapes, as the program's files have always been written.

#include <json/json.h>

#include <string>
#include <vector>

namespace ostrel {

class StyledJsonWriter {
 public:
  // The document with a '\n' after the last line (line ends are '\n').
  std::string Write(const Json::Value& root);

  // One string as a JSON literal: quotes, the usual escapes, other control
  // characters as \u00xx, everything else byte for byte.
  static std::string QuotedString(const char* text, std::size_t length);

 private:
  void WriteValue(const Json::Value& value);
  void WriteArrayValue(const Json::Value& value);
  bool IsMultilineArray(const Json::Value& value);
  void PushValue(const std::string& value);
  void WriteIndent();
  void WriteWithIndent(const std::string& value);
  void Indent();
  void Unindent();
  void WriteCommentBeforeValue(const Json::Value& root);
  void WriteCommentAfterValueOnSameLine(const Json::Value& root);
  static bool HasCommentForValue(const Json::Value& value);

  static constexpr unsigned kRightMargin = 74;
  static constexpr unsigned kIndentSize = 3;

  std::vector<std::string> childValues_;
  std::string document_;
  std::string indentString_;
  bool addChildValues_ = false;
};

}  // namespace ostrel
