#include "services/core/ImmutableString.h"
#include "services/core/Strings.h"

#include <gtest/gtest.h>

#include <random>

using namespace kivcore;

namespace {

// A random string of valid code points, a third of them outside the BMP.
UTF16String RandomValidUTF16(std::mt19937& rng, std::size_t length) {
  std::uniform_int_distribution<int> kind(0, 2);
  std::uniform_int_distribution<std::uint32_t> bmp(1, 0xD7FF);
  std::uniform_int_distribution<std::uint32_t> astral(0x10000, 0x10FFFF);
  UTF16String s;
  for (std::size_t i = 0; i < length; ++i) {
    if (kind(rng) == 0) {
      const std::uint32_t cp = astral(rng) - 0x10000;
      s.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      s.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      s.push_back(static_cast<char16_t>(bmp(rng)));
    }
  }
  return s;
}

}  // namespace

TEST(UTFConversion, RandomValidTextRoundTrips) {
  std::mt19937 rng(1234);
  for (int i = 0; i < 500; ++i) {
    const UTF16String text = RandomValidUTF16(rng, i % 40);
    const std::string utf8 = UTF16to8(text);
    ASSERT_TRUE(IsValidUTF8(utf8));
    ASSERT_EQ(UTF8to16(utf8), text);
  }
}

TEST(UTFConversion, KnownEncodings) {
  EXPECT_EQ(UTF16to8(u"\u00e9\u20ac\U0001F3AC"), "\xc3\xa9\xe2\x82\xac\xf0\x9f\x8e\xac");
  EXPECT_EQ(UTF8to16("Timeline"), u"Timeline");
  EXPECT_EQ(AsciiToUTF16("Cut"), u"Cut");
}

TEST(UTFConversion, InvalidInputIsReplacedNotThrown) {
  // A lone high surrogate, a lone low surrogate, and a high one at the end.
  EXPECT_EQ(UTF16to8(std::u16string(u"a\xD800" u"b")), "a\xef\xbf\xbd" "b");
  EXPECT_EQ(UTF16to8(std::u16string(u"\xDC00")), "\xef\xbf\xbd");
  EXPECT_EQ(UTF16to8(std::u16string(u"x\xD83C")), "x\xef\xbf\xbd");
  // Truncated sequence, stray continuation byte, overlong form (one bad sequence).
  EXPECT_EQ(UTF8to16("a\xe2\x82"), u"a\uFFFD");
  EXPECT_EQ(UTF8to16("\x80z"), u"\uFFFDz");
  EXPECT_EQ(UTF8to16("\xc0\xaf"), u"\uFFFD");
  EXPECT_EQ(AsciiToUTF16("a\xff"), u"a\uFFFD");
  EXPECT_FALSE(IsValidUTF16(std::u16string(u"\xDC00\xD800")));
}

TEST(ReplaceInString, ReplacesEachPlaceholderOnce) {
  EXPECT_EQ(ReplaceInString(u"Reset \"@0\"...", {u"Cut"}), u"Reset \"Cut\"...");
  EXPECT_EQ(ReplaceInString(u"@1 before @0, @1 again", {u"a", u"b"}), u"b before a, b again");
  // A value holding a placeholder is not expanded again.
  EXPECT_EQ(ReplaceInString(u"@0 @1", {u"@1", u"x"}), u"@1 x");
  // Placeholders without a value, a lone "@" and "@" at the end stay as they are.
  EXPECT_EQ(ReplaceInString(u"@0 @5 @ mail@", {u"v"}), u"v @5 @ mail@");
  EXPECT_EQ(ReplaceInString(std::string_view("size @0"), {std::string("12")}), "size 12");
}

TEST(TruncateUIStringInMiddle, KeepsLengthAndPlacesEllipsis) {
  EXPECT_EQ(TruncateUIStringInMiddle(u"short", 10, 0.25f), u"short");
  EXPECT_EQ(TruncateUIStringInMiddle(u"abcdefghijklmnopqrstuvwxyz", 9, 0.25f), u"ab\u2026uvwxyz");
  EXPECT_EQ(TruncateUIStringInMiddle(u"abcdefghijklmnopqrstuvwxyz", 9, 0.5f), u"abcd\u2026wxyz");
  EXPECT_EQ(TruncateUIStringInMiddle(u"abcdefghijklmnopqrstuvwxyz", 1, 0.5f), u"\u2026");
  EXPECT_EQ(TruncateUIStringInMiddle(u"abc", 0, 0.5f), u"");
  std::mt19937 rng(7);
  for (int i = 0; i < 300; ++i) {
    const UTF16String text = RandomValidUTF16(rng, 30);
    const std::size_t max = 1 + i % 25;
    const UTF16String cut = TruncateUIStringInMiddle(text, max, (i % 5) / 4.0f);
    ASSERT_LE(cut.size(), max);
    ASSERT_TRUE(IsValidUTF16(cut)) << "a surrogate pair was split";
  }
}

TEST(NumberToMemoryString, ReadableUnits) {
  EXPECT_EQ(NumberToMemoryString(0), u"0 bytes");
  EXPECT_EQ(NumberToMemoryString(1), u"1 byte");
  EXPECT_EQ(NumberToMemoryString(1023), u"1023 bytes");
  EXPECT_EQ(NumberToMemoryString(1536), u"1.50 KB");
  EXPECT_EQ(NumberToMemoryString(20ull << 20), u"20.0 MB");
  EXPECT_EQ(NumberToMemoryString(300ull << 30), u"300 GB");
  EXPECT_EQ(NumberToMemoryString(UINT64_MAX), u"16.0 EB");
}

TEST(StringToNumber, AcceptsOnlyWholeValidNumbers) {
  EXPECT_EQ(StringToNumber<int>("-42"), -42);
  EXPECT_EQ(StringToNumber<std::uint64_t>(u"18446744073709551615"), UINT64_MAX);
  EXPECT_EQ(StringToNumber<double>("0.25"), 0.25);
  EXPECT_FALSE(StringToNumber<int>(""));
  EXPECT_FALSE(StringToNumber<int>("12a"));
  EXPECT_FALSE(StringToNumber<int>(" 12"));
  EXPECT_FALSE(StringToNumber<int>("2147483648"));
  EXPECT_FALSE(StringToNumber<std::uint32_t>("-1"));
  EXPECT_FALSE(StringToNumber<int>(u"\uff11"));  // a full-width digit is not a digit here
}

TEST(ImmutableString, SharesAndCompares) {
  static const char kStatic[] = "Content-Length";
  const ImmutableString s = ImmutableString::CreateStatic(kStatic);
  EXPECT_EQ(s.c_str(), kStatic);  // used in place, not copied
  std::string source = "ETag";
  const ImmutableString d = ImmutableString::CreateDynamic(source);
  source = "changed";
  const ImmutableString copy = d;
  EXPECT_EQ(copy.view(), "ETag");
  EXPECT_EQ(copy.c_str(), d.c_str());  // copies share one buffer
  EXPECT_LT(s, d);
  EXPECT_EQ(ImmutableString::CreateDynamic("ETag"), d);
  EXPECT_STREQ(ImmutableString().c_str(), "");
}
