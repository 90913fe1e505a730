#pragma once
// String types of the core library and the conversions and helpers around them.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivcore {

// User-visible text, names and file paths.
using UTF16String = std::u16string;
// Keys, tab types and JSON text.
using UTF8String = std::string;

// Conversions never throw: malformed input becomes U+FFFD for each bad sequence.
UTF16String UTF8to16(std::string_view utf8);
UTF8String UTF16to8(std::u16string_view utf16);
// Widens 7-bit text; a byte above 0x7F becomes U+FFFD.
UTF16String AsciiToUTF16(std::string_view ascii);

// True when the text has no unpaired surrogate.
bool IsValidUTF16(std::u16string_view utf16);
bool IsValidUTF8(std::string_view utf8);

// Replaces "@0" ... "@9" by values[0] ... values[9] in one pass: a value that itself
// contains "@1" is not replaced again, and a placeholder without a value stays as it is.
UTF16String ReplaceInString(std::u16string_view text, const std::vector<UTF16String>& values);
UTF8String ReplaceInString(std::string_view text, const std::vector<UTF8String>& values);

// Shortens text to at most maxLength UTF-16 units by putting an ellipsis (U+2026) in place
// of the middle. position (0..1) is where the ellipsis sits: 0.25 keeps a quarter of the
// room for the head and the rest for the tail. Surrogate pairs are never split.
UTF16String TruncateUIStringInMiddle(std::u16string_view text, std::size_t maxLength,
                                     float position);

// A byte count as readable text: "0 bytes", "1 byte", "1023 bytes", "1.5 KB", "20.0 MB",
// "1.00 GB" (binary multiples; three significant digits from KB on).
UTF16String NumberToMemoryString(std::uint64_t bytes);

// Parses the whole of text as a number; no blanks, no trailing characters, no overflow.
template <typename Number>
std::optional<Number> StringToNumber(std::string_view text);
template <typename Number>
std::optional<Number> StringToNumber(std::u16string_view text);

}  // namespace kivcore
