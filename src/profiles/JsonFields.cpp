#include "profiles/JsonFields.h"

#include <cmath>
#include <cstring>

namespace ostrel {

const Json::Value& JsonFields::Member(const Json::Value& object, const char* key) {
  if (!object.isObject()) return Json::Value::nullSingleton();
  const Json::Value* member = object.find(key, key + std::strlen(key));
  return member ? *member : Json::Value::nullSingleton();
}

const Json::Value& JsonFields::Element(const Json::Value& array, Json::ArrayIndex index) {
  if (!array.isArray() || index >= array.size()) return Json::Value::nullSingleton();
  return array[index];
}

std::int64_t JsonFields::Integer(const Json::Value& value) {
  if (value.isBool()) return value.asBool() ? 1 : 0;
  if (value.isInt64()) return value.asInt64();
  if (value.isUInt64()) return static_cast<std::int64_t>(value.asUInt64());
  if (value.isDouble()) {
    const double real = value.asDouble();
    // Beyond +-2^63 the conversion is undefined; such a value is garbage anyway.
    if (!std::isfinite(real) || std::fabs(real) >= 9.2e18) return 0;
    return static_cast<std::int64_t>(real);
  }
  return 0;
}

std::string JsonFields::StringMember(const Json::Value& object, const char* key) {
  const Json::Value& member = Member(object, key);
  return member.isString() ? member.asString() : std::string();
}

Json::Value& JsonFields::ObjectMember(Json::Value& parent, const char* key) {
  if (!parent.isObject()) parent = Json::Value(Json::objectValue);
  Json::Value& member = parent[key];
  if (!member.isObject()) member = Json::Value(Json::objectValue);
  return member;
}

Json::Value& JsonFields::ArrayMember(Json::Value& parent, const char* key) {
  if (!parent.isObject()) parent = Json::Value(Json::objectValue);
  Json::Value& member = parent[key];
  if (!member.isArray()) member = Json::Value(Json::arrayValue);
  return member;
}

Json::Value& JsonFields::ObjectElement(Json::Value& array, Json::ArrayIndex index) {
  if (!array.isArray()) array = Json::Value(Json::arrayValue);
  Json::Value& element = array[index];
  if (!element.isObject()) element = Json::Value(Json::objectValue);
  return element;
}

Json::Value& JsonFields::ArrayElement(Json::Value& array, Json::ArrayIndex index) {
  if (!array.isArray()) array = Json::Value(Json::arrayValue);
  Json::Value& element = array[index];
  if (!element.isArray()) element = Json::Value(Json::arrayValue);
  return element;
}

}  // namespace ostrel
