#pragma once
// JSON values on Boost.JSON. Objects keep their keys in insertion order, so records
// written from code come out with their keys in the order they were put in.

#include <boost/json/value.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kivcore::utility {

using JSONValue = boost::json::value;
using JSONObject = boost::json::object;
using JSONArray = boost::json::array;

// Compact UTF-8 text of a value.
std::string GetJSONUTF8String(const JSONValue& value);

// Parses text; on failure returns nothing and, when error is given, says why and where.
std::optional<JSONValue> JSONParse(std::string_view text, std::string* error = nullptr);

bool ObjectHasProperty(const JSONObject& object, std::string_view key);
// The value under key, or null when the key is missing.
const JSONValue* GetVariantInObject(const JSONObject& object, std::string_view key);

// Typed reads of one property: nothing when the key is missing or holds another type.
// Integers are accepted from any JSON number that holds the value exactly.
std::optional<std::string> GetStringInObject(const JSONObject& object, std::string_view key);
std::optional<std::int64_t> GetInt64InObject(const JSONObject& object, std::string_view key);
std::optional<std::uint64_t> GetUInt64InObject(const JSONObject& object, std::string_view key);
std::optional<bool> GetBoolInObject(const JSONObject& object, std::string_view key);

}  // namespace kivcore::utility
