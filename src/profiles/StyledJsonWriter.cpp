#include "profiles/StyledJsonWriter.h"

namespace ostrel {

std::string StyledJsonWriter::Write(const Json::Value& root) {
  document_.clear();
  addChildValues_ = false;
  indentString_.clear();
  WriteCommentBeforeValue(root);
  WriteValue(root);
  WriteCommentAfterValueOnSameLine(root);
  document_ += '\n';
  std::string result;
  result.swap(document_);
  return result;
}

std::string StyledJsonWriter::QuotedString(const char* text, std::size_t length) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string result;
  result.reserve(length + 2);
  result += '"';
  for (std::size_t i = 0; i < length; ++i) {
    const char c = text[i];
    switch (c) {
      case '"':
        result += "\\\"";
        break;
      case '\\':
        result += "\\\\";
        break;
      case '\b':
        result += "\\b";
        break;
      case '\f':
        result += "\\f";
        break;
      case '\n':
        result += "\\n";
        break;
      case '\r':
        result += "\\r";
        break;
      case '\t':
        result += "\\t";
        break;
      default: {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20) {
          result += "\\u00";
          result += kHex[byte >> 4];
          result += kHex[byte & 0xF];
        } else {
          result += c;
        }
      }
    }
  }
  result += '"';
  return result;
}

void StyledJsonWriter::WriteValue(const Json::Value& value) {
  switch (value.type()) {
    case Json::nullValue:
      PushValue("null");
      break;
    case Json::intValue:
      PushValue(Json::valueToString(value.asLargestInt()));
      break;
    case Json::uintValue:
      PushValue(Json::valueToString(value.asLargestUInt()));
      break;
    case Json::realValue:
      PushValue(Json::valueToString(value.asDouble()));
      break;
    case Json::stringValue: {
      const char* begin = nullptr;
      const char* end = nullptr;
      if (value.getString(&begin, &end))
        PushValue(QuotedString(begin, static_cast<std::size_t>(end - begin)));
      else
        PushValue("");
      break;
    }
    case Json::booleanValue:
      PushValue(Json::valueToString(value.asBool()));
      break;
    case Json::arrayValue:
      WriteArrayValue(value);
      break;
    case Json::objectValue: {
      const Json::Value::Members members = value.getMemberNames();
      if (members.empty()) {
        PushValue("{}");
        break;
      }
      WriteWithIndent("{");
      Indent();
      for (auto it = members.begin();;) {
        const std::string& name = *it;
        const Json::Value& child = *value.find(name.data(), name.data() + name.size());
        WriteCommentBeforeValue(child);
        WriteWithIndent(QuotedString(name.data(), name.size()));
        document_ += " : ";
        WriteValue(child);
        if (++it == members.end()) {
          WriteCommentAfterValueOnSameLine(child);
          break;
        }
        document_ += ',';
        WriteCommentAfterValueOnSameLine(child);
      }
      Unindent();
      WriteWithIndent("}");
      break;
    }
  }
}

void StyledJsonWriter::WriteArrayValue(const Json::Value& value) {
  const unsigned size = value.size();
  if (size == 0) {
    PushValue("[]");
    return;
  }
  if (IsMultilineArray(value)) {
    WriteWithIndent("[");
    Indent();
    const bool hasChildValue = !childValues_.empty();
    for (unsigned index = 0;;) {
      const Json::Value& child = value[index];
      WriteCommentBeforeValue(child);
      if (hasChildValue) {
        WriteWithIndent(childValues_[index]);
      } else {
        WriteIndent();
        WriteValue(child);
      }
      if (++index == size) {
        WriteCommentAfterValueOnSameLine(child);
        break;
      }
      document_ += ',';
      WriteCommentAfterValueOnSameLine(child);
    }
    Unindent();
    WriteWithIndent("]");
  } else {
    document_ += "[ ";
    for (unsigned index = 0; index < size; ++index) {
      if (index > 0) document_ += ", ";
      document_ += childValues_[index];
    }
    document_ += " ]";
  }
}

bool StyledJsonWriter::IsMultilineArray(const Json::Value& value) {
  const unsigned size = value.size();
  bool isMultiLine = size * 3 >= kRightMargin;
  childValues_.clear();
  for (unsigned index = 0; index < size && !isMultiLine; ++index) {
    const Json::Value& child = value[index];
    isMultiLine = (child.isArray() || child.isObject()) && !child.empty();
  }
  if (!isMultiLine) {
    // Render the scalars once to see whether they fit on one line.
    childValues_.reserve(size);
    addChildValues_ = true;
    unsigned lineLength = 4 + (size - 1) * 2;  // "[ " + ", " between + " ]"
    for (unsigned index = 0; index < size; ++index) {
      if (HasCommentForValue(value[index])) isMultiLine = true;
      WriteValue(value[index]);
      lineLength += static_cast<unsigned>(childValues_[index].length());
    }
    addChildValues_ = false;
    isMultiLine = isMultiLine || lineLength >= kRightMargin;
  }
  return isMultiLine;
}

void StyledJsonWriter::PushValue(const std::string& value) {
  if (addChildValues_)
    childValues_.push_back(value);
  else
    document_ += value;
}

void StyledJsonWriter::WriteIndent() {
  if (!document_.empty()) {
    const char last = document_.back();
    if (last == ' ') return;  // already indented
    if (last != '\n') document_ += '\n';
  }
  document_ += indentString_;
}

void StyledJsonWriter::WriteWithIndent(const std::string& value) {
  WriteIndent();
  document_ += value;
}

void StyledJsonWriter::Indent() { indentString_ += std::string(kIndentSize, ' '); }

void StyledJsonWriter::Unindent() { indentString_.resize(indentString_.size() - kIndentSize); }

void StyledJsonWriter::WriteCommentBeforeValue(const Json::Value& root) {
  if (!root.hasComment(Json::commentBefore)) return;
  document_ += '\n';
  WriteIndent();
  const std::string comment = root.getComment(Json::commentBefore);
  for (auto it = comment.begin(); it != comment.end(); ++it) {
    document_ += *it;
    if (*it == '\n' && (it + 1) != comment.end() && *(it + 1) == '/') WriteIndent();
  }
  document_ += '\n';
}

void StyledJsonWriter::WriteCommentAfterValueOnSameLine(const Json::Value& root) {
  if (root.hasComment(Json::commentAfterOnSameLine))
    document_ += " " + root.getComment(Json::commentAfterOnSameLine);
  if (root.hasComment(Json::commentAfter)) {
    document_ += '\n';
    document_ += root.getComment(Json::commentAfter);
    document_ += '\n';
  }
}

bool StyledJsonWriter::HasCommentForValue(const Json::Value& value) {
  return value.hasComment(Json::commentBefore) || value.hasComment(Json::commentAfterOnSameLine) ||
         value.hasComment(Json::commentAfter);
}

}  // namespace ostrel
