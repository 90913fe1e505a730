#include "TempDir.h"

#include "services/core/Error.h"
#include "services/core/File.h"
#include "services/core/PropList.h"
#include "services/core/PropListUtils.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

using namespace kivcore;
using proplist::utils::LoadPropList;
using proplist::utils::ReadPropList;
using proplist::utils::SavePropList;
using VT = PropList::ValueType;

namespace {

// Arbitrary bytes, including NUL and bytes that are not UTF-8, now and then.
std::string RandomBytes(std::mt19937& rng) {
  std::uniform_int_distribution<int> len(0, 12), byte(0, 255), pick(0, 3);
  std::string s;
  const int n = len(rng);
  for (int i = 0; i < n; ++i) s.push_back(static_cast<char>(pick(rng) ? 32 + byte(rng) % 95 : byte(rng)));
  return s;
}

// Arbitrary code units, unpaired surrogates included.
UTF16String RandomUnits(std::mt19937& rng) {
  std::uniform_int_distribution<int> len(0, 12);
  std::uniform_int_distribution<std::uint32_t> unit(0, 0xFFFF);
  UTF16String s;
  const int n = len(rng);
  for (int i = 0; i < n; ++i) s.push_back(static_cast<char16_t>(unit(rng)));
  return s;
}

// A random list holding every value type, with sub-lists down to the given depth.
PropList RandomList(std::mt19937& rng, int depth) {
  PropList list;
  std::uniform_int_distribution<int> count(0, 14), type(0, 11);
  std::uniform_int_distribution<std::uint32_t> bits;
  const int n = count(rng);
  for (int i = 0; i < n; ++i) {
    const std::string key = RandomBytes(rng) + std::to_string(i);
    switch (type(rng)) {
      case 0: list.SetValue(key, std::string_view(RandomBytes(rng))); break;
      case 1: list.SetValue(key, std::u16string_view(RandomUnits(rng))); break;
      case 2: list.SetValue(key, bits(rng) % 2 == 0); break;
      case 3: list.SetValue(key, static_cast<std::int32_t>(bits(rng))); break;
      case 4: list.SetValue(key, bits(rng)); break;
      case 5: list.SetValue(key, std::bit_cast<float>(bits(rng))); break;
      case 6: {
        list.SetValue(key, Rect{static_cast<int>(bits(rng)), -3, static_cast<int>(bits(rng)), 0});
        break;
      }
      case 7: list.SetValue(key, PropList::IntList{static_cast<std::int32_t>(bits(rng)), 0, -1}); break;
      case 8: list.SetValue(key, PropList::BoolList(bits(rng) % 5, true)); break;
      case 9: list.SetValue(key, PropList::StringList{RandomBytes(rng), "", RandomBytes(rng)}); break;
      case 10: list.SetValue(key, PropList::TextList{RandomUnits(rng), u"", RandomUnits(rng)}); break;
      default:
        if (depth > 0) list.NewSubList(key) = RandomList(rng, depth - 1);
        break;
    }
  }
  return list;
}

}  // namespace

TEST(PropList, TypedValuesAndStoredType) {
  PropList list;
  list.SetValue("KIV_Wrkspce", "1.2");
  list.SetValue("UserName", u"Colour \U0001F3A8");
  list.SetValue("Orient", true);
  list.SetValue("CurrTab", std::int32_t{-2});
  list.SetValue("ShowCmd", std::uint32_t{3});
  list.SetValue("Place", 0.5f);
  list.SetValue("SzPos", PropList::IntList{10, 20, 800, 600});
  list.NewSubList("Splitter").SetValue("Sub1Vis", false);

  EXPECT_EQ(list.GetValueType("KIV_Wrkspce"), VT::String);
  EXPECT_EQ(list.GetValueType("UserName"), VT::Text);
  EXPECT_EQ(list.GetValueType("Orient"), VT::Bool);
  EXPECT_EQ(list.GetValueType("CurrTab"), VT::Int);
  EXPECT_EQ(list.GetValueType("ShowCmd"), VT::Flags);
  EXPECT_EQ(list.GetValueType("Place"), VT::Float);
  EXPECT_EQ(list.GetValueType("SzPos"), VT::IntList);
  EXPECT_EQ(list.GetValueType("Splitter"), VT::SubList);
  EXPECT_EQ(list.GetValueType("Missing"), VT::None);

  // Reading as another type fails and leaves the output alone; no silent conversion.
  std::int32_t asInt = 77;
  EXPECT_FALSE(list.GetValue("ShowCmd", asInt));
  EXPECT_EQ(asInt, 77);
  std::string asString;
  EXPECT_FALSE(list.GetValue("UserName", asString));
  EXPECT_TRUE(list.GetValue("KIV_Wrkspce", asString));
  EXPECT_EQ(asString, "1.2");
  EXPECT_EQ(list.GetSubList("Orient"), nullptr);

  // Setting an existing key replaces the value and its type, keeping its position.
  list.SetValue("Orient", "text now");
  EXPECT_EQ(list.GetValueType("Orient"), VT::String);
  EXPECT_EQ(list.GetKeys()[2], "Orient");
  EXPECT_TRUE(list.RemoveValue("Orient"));
  EXPECT_FALSE(list.RemoveValue("Orient"));
  EXPECT_EQ(list.Size(), 7u);
}

TEST(PropList, CopiesAreDeep) {
  PropList a;
  a.NewSubList("Sub1").SetValue("Vis", true);
  PropList b = a;
  b.GetSubList("Sub1")->SetValue("Vis", false);
  bool vis = false;
  ASSERT_TRUE(a.GetSubList("Sub1")->GetValue("Vis", vis));
  EXPECT_TRUE(vis);
  EXPECT_FALSE(a == b);
}

TEST(PropListXML, EveryTypeRoundTripsExactly) {
  PropList list;
  list.SetValue("empty string", "");
  list.SetValue("spaces", "  leading and trailing  ");
  list.SetValue("markup", "<a href=\"x\">&amp;</a>\t\r\n'");
  list.SetValue("nul", std::string_view("a\0b", 3));
  list.SetValue("latin1", "caf\xe9");
  list.SetValue("text", u"\u00e9\U0001F3AC\n");
  list.SetValue("lone surrogate", std::u16string_view(u"a\xD800"));
  list.SetValue("empty text", u"");
  list.SetValue("min int", std::numeric_limits<std::int32_t>::min());
  list.SetValue("max flags", std::numeric_limits<std::uint32_t>::max());
  list.SetValue("third", 1.0f / 3.0f);
  list.SetValue("denormal", std::numeric_limits<float>::denorm_min());
  list.SetValue("negative zero", -0.0f);
  list.SetValue("infinity", -std::numeric_limits<float>::infinity());
  list.SetValue("nan payload", std::bit_cast<float>(0x7fc12345u));
  list.SetValue("rect", Rect{-5, 7, 0, 1920});
  list.SetValue("empty ints", PropList::IntList{});
  list.SetValue("bools", PropList::BoolList{true, false, true});
  list.SetValue("strings", PropList::StringList{"", "Timeline", " x "});
  list.SetValue("paths", PropList::TextList{u"/home/\u00e9dith/Workspace 1.xml", u"", u"\xd800 lone"});
  list.SetValue("no paths", PropList::TextList{});
  list.NewSubList("empty sub");

  const PropList back = ReadPropList(list.OutputAsXMLFragment());
  EXPECT_TRUE(back == list) << list.OutputAsXMLFragment();
  float nan = 0;
  ASSERT_TRUE(back.GetValue("nan payload", nan));
  EXPECT_EQ(std::bit_cast<std::uint32_t>(nan), 0x7fc12345u);
  EXPECT_EQ(back.GetKeys(), list.GetKeys());
}

TEST(PropListXML, RandomListsRoundTripThroughTextAndFiles) {
  kivtest::TempDir dir;
  const filesupport::File file(dir / "list.xml");
  std::mt19937 rng(20261206);
  for (int i = 0; i < 300; ++i) {
    const PropList list = RandomList(rng, 3);
    const std::string xml = list.OutputAsXMLFragment();
    ASSERT_TRUE(ReadPropList(xml) == list) << "seed step " << i << ": " << xml;
    if (i % 10 == 0) {
      SavePropList(list, file);
      ASSERT_TRUE(LoadPropList(file) == list) << "seed step " << i;
    }
  }
}

TEST(PropListXML, MalformedInputGivesAClearError) {
  const std::string good = [] {
    PropList list;
    list.SetValue("Name", "Cut");
    list.NewSubList("Splitter").SetValue("Place", 0.25f);
    return list.OutputAsXMLFragment();
  }();
  // Every truncation of a good document is rejected with a message, never a crash.
  for (std::size_t n = 0; n < good.size(); ++n) {
    try {
      ReadPropList(good.substr(0, n));
      ADD_FAILURE() << "accepted a truncated document: " << good.substr(0, n);
    } catch (const config::Error& e) {
      EXPECT_EQ(e.Category(), config::kCoreErrorCategory);
      EXPECT_EQ(e.Code(), config::kMalformedPropList);
      EXPECT_NE(std::string(e.what()).find("The property list is not valid: "), std::string::npos);
    }
  }
  const std::pair<const char*, const char*> cases[] = {
      {"<other/>", "not <proplist>"},
      {"<proplist><int k=\"a\" v=\"12x\"/></proplist>", "\"12x\" is not a valid number"},
      {"<proplist><int k=\"a\" v=\"4294967296\"/></proplist>", "not a valid number"},
      {"<proplist><bool k=\"a\" v=\"yes\"/></proplist>", "not true or false"},
      {"<proplist><rect k=\"a\" v=\"1 2 3\"/></proplist>", "four numbers"},
      {"<proplist><double k=\"a\" v=\"1\"/></proplist>", "unknown value type <double>"},
      {"<proplist><int v=\"1\"/></proplist>", "has no key"},
      {"<proplist><int k=\"a\"/></proplist>", "has no value"},
      {"<proplist><int k=\"a\" v=\"1\"/><bool k=\"a\" v=\"true\"/></proplist>", "appears twice"},
      {"<proplist><string k=\"a\" vhex=\"4g\"/></proplist>", "bad hex digits"},
      {"<proplist>stray</proplist>", "unexpected text"},
      {"<proplist><texts k=\"a\"><s v=\"x\"/></texts></proplist>", "unexpected content"},
      {"<proplist><texts k=\"a\"><t vhex=\"004100\"/></texts></proplist>", "odd number of bytes"},
  };
  for (const auto& [xml, why] : cases) {
    try {
      ReadPropList(xml);
      ADD_FAILURE() << "accepted " << xml;
    } catch (const config::Error& e) {
      EXPECT_NE(std::string(e.what()).find(why), std::string::npos) << e.what();
    }
  }
}

TEST(PropListXML, FileErrorsNameTheFile) {
  kivtest::TempDir dir;
  const filesupport::File missing(dir / "missing.xml");
  try {
    LoadPropList(missing);
    FAIL() << "loaded a missing file";
  } catch (const config::Error& e) {
    EXPECT_NE(std::string(e.what()).find("missing.xml"), std::string::npos);
    EXPECT_NE(std::string(e.what()).find("No such file"), std::string::npos);
  }
}
