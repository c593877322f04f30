#pragma once
// Type-tolerant access to JSON members. Profile files come from disk and from
// imports, so any member may hold any type: a value of the wrong type reads
// like a missing one, and nothing here throws.

#include <json/json.h>

#include <cstdint>
#include <string>

namespace ostrel {

class JsonFields {
 public:
  // The member, or null when `object` is no object or lacks it.
  static const Json::Value& Member(const Json::Value& object, const char* key);
  // The element, or null when `array` is no array or is shorter.
  static const Json::Value& Element(const Json::Value& array, Json::ArrayIndex index);

  // Any number or boolean as an integer (reals truncated toward zero); 0 for
  // anything else, also for reals out of range.
  static std::int64_t Integer(const Json::Value& value);
  static std::int64_t IntegerMember(const Json::Value& object, const char* key) {
    return Integer(Member(object, key));
  }
  static bool BoolMember(const Json::Value& object, const char* key) {
    return IntegerMember(object, key) != 0;
  }
  static std::string StringMember(const Json::Value& object, const char* key);

  // Writers: make `parent` an object when it is not, and its member an object
  // (or array) when it is not, then return the member.
  static Json::Value& ObjectMember(Json::Value& parent, const char* key);
  static Json::Value& ArrayMember(Json::Value& parent, const char* key);
  // Make `array` an array when it is not, and its element an object.
  static Json::Value& ObjectElement(Json::Value& array, Json::ArrayIndex index);
  static Json::Value& ArrayElement(Json::Value& array, Json::ArrayIndex index);
};

}  // namespace ostrel
