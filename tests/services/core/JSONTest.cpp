#include "services/core/JSON.h"

#include <gtest/gtest.h>

using namespace kivcore::utility;

TEST(JSON, KeysKeepInsertionOrderAndLargeNumbersSurvive) {
  JSONObject record;
  record["mUrl"] = "http://127.0.0.1/f";
  record["mHeaders"] = JSONArray{JSONArray{"Accept", "*/*"}};
  record["mSize"] = std::int64_t{5'000'000'000};
  record["mChunks"] = JSONArray{JSONObject{{"mStartByte", std::uint64_t{UINT64_MAX}},
                                           {"mComplete", true}}};
  const std::string text = GetJSONUTF8String(record);
  EXPECT_EQ(text,
            "{\"mUrl\":\"http://127.0.0.1/f\",\"mHeaders\":[[\"Accept\",\"*/*\"]],"
            "\"mSize\":5000000000,\"mChunks\":[{\"mStartByte\":18446744073709551615,"
            "\"mComplete\":true}]}");

  const auto parsed = JSONParse(text);
  ASSERT_TRUE(parsed && parsed->is_object());
  const JSONObject& obj = parsed->as_object();
  EXPECT_TRUE(ObjectHasProperty(obj, "mSize"));
  EXPECT_FALSE(ObjectHasProperty(obj, "mETag"));
  EXPECT_EQ(GetInt64InObject(obj, "mSize"), 5'000'000'000);
  EXPECT_EQ(GetStringInObject(obj, "mUrl"), "http://127.0.0.1/f");
  EXPECT_FALSE(GetStringInObject(obj, "mSize"));  // wrong type
  const JSONObject& chunk = GetVariantInObject(obj, "mChunks")->as_array()[0].as_object();
  EXPECT_EQ(GetUInt64InObject(chunk, "mStartByte"), UINT64_MAX);
  EXPECT_FALSE(GetInt64InObject(chunk, "mStartByte"));  // does not fit
  EXPECT_EQ(GetBoolInObject(chunk, "mComplete"), true);
  EXPECT_EQ(GetVariantInObject(obj, "none"), nullptr);
}

TEST(JSON, ParseErrorsAreReported) {
  std::string error;
  EXPECT_FALSE(JSONParse("{\"mUrl\": ", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(JSONParse("{} trailing"));
  EXPECT_FALSE(JSONParse(""));
}
