#include "services/core/Strings.h"

#include <utf8cpp/utf8.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace kivcore {
namespace {

constexpr char16_t kReplacementChar = 0xFFFD;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Replaces every unpaired surrogate so that the text can be encoded as UTF-8.
UTF16String RepairUTF16(std::u16string_view in) {
  UTF16String out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    const char16_t c = in[i];
    if (IsHighSurrogate(c) && i + 1 < in.size() && IsLowSurrogate(in[i + 1])) {
      out.push_back(c);
      out.push_back(in[++i]);
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      out.push_back(kReplacementChar);
    } else {
      out.push_back(c);
    }
  }
  return out;
}

template <typename Char>
std::basic_string<Char> ReplacePlaceholders(std::basic_string_view<Char> text,
                                            const std::vector<std::basic_string<Char>>& values) {
  std::basic_string<Char> out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == Char('@') && i + 1 < text.size() && text[i + 1] >= Char('0') &&
        text[i + 1] <= Char('9')) {
      const auto index = static_cast<std::size_t>(text[i + 1] - Char('0'));
      if (index < values.size()) {
        out += values[index];
        ++i;
        continue;
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

// Moves a cut index off the second half of a surrogate pair.
std::size_t AvoidSplittingPair(std::u16string_view text, std::size_t index, bool moveLeft) {
  if (index > 0 && index < text.size() && IsLowSurrogate(text[index]) &&
      IsHighSurrogate(text[index - 1])) {
    return moveLeft ? index - 1 : index + 1;
  }
  return index;
}

}  // namespace

UTF16String UTF8to16(std::string_view utf8) {
  std::string valid;
  if (!utf8::is_valid(utf8.begin(), utf8.end())) {
    utf8::replace_invalid(utf8.begin(), utf8.end(), std::back_inserter(valid));
    utf8 = valid;
  }
  UTF16String out;
  out.reserve(utf8.size());
  utf8::unchecked::utf8to16(utf8.begin(), utf8.end(), std::back_inserter(out));
  return out;
}

UTF8String UTF16to8(std::u16string_view utf16) {
  UTF16String repaired;
  if (!IsValidUTF16(utf16)) {
    repaired = RepairUTF16(utf16);
    utf16 = repaired;
  }
  UTF8String out;
  out.reserve(utf16.size());
  utf8::unchecked::utf16to8(utf16.begin(), utf16.end(), std::back_inserter(out));
  return out;
}

UTF16String AsciiToUTF16(std::string_view ascii) {
  UTF16String out;
  out.reserve(ascii.size());
  for (const char c : ascii) {
    const auto byte = static_cast<unsigned char>(c);
    out.push_back(byte < 0x80 ? char16_t(byte) : kReplacementChar);
  }
  return out;
}

bool IsValidUTF16(std::u16string_view utf16) {
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    if (IsHighSurrogate(utf16[i])) {
      if (i + 1 >= utf16.size() || !IsLowSurrogate(utf16[i + 1])) return false;
      ++i;
    } else if (IsLowSurrogate(utf16[i])) {
      return false;
    }
  }
  return true;
}

bool IsValidUTF8(std::string_view utf8) { return utf8::is_valid(utf8.begin(), utf8.end()); }

UTF16String ReplaceInString(std::u16string_view text, const std::vector<UTF16String>& values) {
  return ReplacePlaceholders(text, values);
}

UTF8String ReplaceInString(std::string_view text, const std::vector<UTF8String>& values) {
  return ReplacePlaceholders(text, values);
}

UTF16String TruncateUIStringInMiddle(std::u16string_view text, std::size_t maxLength,
                                     float position) {
  if (text.size() <= maxLength) return UTF16String(text);
  if (maxLength == 0) return {};
  const std::size_t room = maxLength - 1;  // one unit for the ellipsis
  const float clamped = std::clamp(position, 0.0f, 1.0f);
  std::size_t head = static_cast<std::size_t>(std::lround(static_cast<float>(room) * clamped));
  std::size_t tail = room - head;
  head = AvoidSplittingPair(text, head, /*moveLeft=*/true);
  std::size_t tailStart = AvoidSplittingPair(text, text.size() - tail, /*moveLeft=*/false);
  UTF16String out(text.substr(0, head));
  out.push_back(u'\u2026');
  out.append(text.substr(tailStart));
  return out;
}

UTF16String NumberToMemoryString(std::uint64_t bytes) {
  if (bytes < 1024) {
    return AsciiToUTF16(std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes"));
  }
  static constexpr const char* kUnits[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
  double value = static_cast<double>(bytes) / 1024.0;
  std::size_t unit = 0;
  while (value >= 1024.0 && unit + 1 < std::size(kUnits)) {
    value /= 1024.0;
    ++unit;
  }
  // Three significant digits: 1.50, 15.0, 150.
  const int decimals = value < 10.0 ? 2 : value < 100.0 ? 1 : 0;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.*f %s", decimals, value, kUnits[unit]);
  return AsciiToUTF16(buffer);
}

template <typename Number>
std::optional<Number> StringToNumber(std::string_view text) {
  Number value{};
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if constexpr (std::is_unsigned_v<Number>) {
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  const auto [end, ec] = std::from_chars(first, last, value);
  if (text.empty() || ec != std::errc() || end != last) return std::nullopt;
  return value;
}

template <typename Number>
std::optional<Number> StringToNumber(std::u16string_view text) {
  std::string narrow;
  narrow.reserve(text.size());
  for (const char16_t c : text) {
    if (c > 0x7F) return std::nullopt;
    narrow.push_back(static_cast<char>(c));
  }
  return StringToNumber<Number>(std::string_view(narrow));
}

#define KIV_INSTANTIATE_STRING_TO_NUMBER(T)                                 \
  template std::optional<T> StringToNumber<T>(std::string_view);           \
  template std::optional<T> StringToNumber<T>(std::u16string_view);
KIV_INSTANTIATE_STRING_TO_NUMBER(std::int32_t)
KIV_INSTANTIATE_STRING_TO_NUMBER(std::uint32_t)
KIV_INSTANTIATE_STRING_TO_NUMBER(std::int64_t)
KIV_INSTANTIATE_STRING_TO_NUMBER(std::uint64_t)
KIV_INSTANTIATE_STRING_TO_NUMBER(float)
KIV_INSTANTIATE_STRING_TO_NUMBER(double)
#undef KIV_INSTANTIATE_STRING_TO_NUMBER

}  // namespace kivcore
