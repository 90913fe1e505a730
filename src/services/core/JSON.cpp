#include "services/core/JSON.h"

#include <boost/json/parse.hpp>
#include <boost/json/serialize.hpp>

namespace kivcore::utility {
namespace {

template <typename Number>
std::optional<Number> GetNumberInObject(const JSONObject& object, std::string_view key) {
  const JSONValue* v = object.if_contains(key);
  if (!v) return std::nullopt;
  boost::json::error_code ec;
  const auto n = v->to_number<Number>(ec);
  if (ec) return std::nullopt;
  return n;
}

}  // namespace

std::string GetJSONUTF8String(const JSONValue& value) { return boost::json::serialize(value); }

std::optional<JSONValue> JSONParse(std::string_view text, std::string* error) {
  boost::json::error_code ec;
  JSONValue value = boost::json::parse(text, ec);
  if (ec) {
    if (error) *error = ec.message();
    return std::nullopt;
  }
  return value;
}

bool ObjectHasProperty(const JSONObject& object, std::string_view key) {
  return object.contains(key);
}

const JSONValue* GetVariantInObject(const JSONObject& object, std::string_view key) {
  return object.if_contains(key);
}

std::optional<std::string> GetStringInObject(const JSONObject& object, std::string_view key) {
  const JSONValue* v = object.if_contains(key);
  if (!v || !v->is_string()) return std::nullopt;
  return std::string(v->get_string());
}

std::optional<std::int64_t> GetInt64InObject(const JSONObject& object, std::string_view key) {
  return GetNumberInObject<std::int64_t>(object, key);
}

std::optional<std::uint64_t> GetUInt64InObject(const JSONObject& object, std::string_view key) {
  return GetNumberInObject<std::uint64_t>(object, key);
}

std::optional<bool> GetBoolInObject(const JSONObject& object, std::string_view key) {
  const JSONValue* v = object.if_contains(key);
  if (!v || !v->is_bool()) return std::nullopt;
  return v->get_bool();
}

}  // namespace kivcore::utility
