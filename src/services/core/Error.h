#pragma once
// The one exception type of the core library and ThrowError, which raises it.

#include "services/core/Strings.h"

#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace kivcore::config {

class Error : public std::runtime_error {
 public:
  // what() is the English text of key with "@0".."@3" replaced by the values.
  Error(int level, std::string key, int category, int code, int flags,
        std::vector<UTF16String> replacements);

  int Level() const { return level_; }
  int Category() const { return category_; }
  int Code() const { return code_; }
  // How the host should report it (1: show to the user).
  int Flags() const { return flags_; }
  const std::string& Key() const { return key_; }
  const std::vector<UTF16String>& Replacements() const { return replacements_; }
  // The localised message with the replacement values in place.
  UTF16String Message() const;

 private:
  int level_;
  std::string key_;
  int category_;
  int code_;
  int flags_;
  std::vector<UTF16String> replacements_;
};

namespace detail {
inline UTF16String ToReplacement(const UTF16String& s) { return s; }
inline UTF16String ToReplacement(const char16_t* s) { return s; }
inline UTF16String ToReplacement(std::string_view s) { return UTF8to16(s); }
template <typename Number, typename = std::enable_if_t<std::is_arithmetic_v<Number>>>
UTF16String ToReplacement(Number n) {
  return AsciiToUTF16(std::to_string(n));
}
[[noreturn]] void Throw(int level, std::string_view key, int category, int code, int flags,
                        std::vector<UTF16String> replacements);
}  // namespace detail

// Raises Error with up to four replacement values (UTF-16 or UTF-8 text, or numbers).
// Never returns.
template <typename... Values>
[[noreturn]] void ThrowError(int level, std::string_view key, int category, int code, int flags,
                             const Values&... values) {
  static_assert(sizeof...(Values) <= 4, "ThrowError takes at most four replacement values");
  detail::Throw(level, key, category, code, flags, {detail::ToReplacement(values)...});
}

}  // namespace kivcore::config

namespace kivcore::config {

// Category and codes of the errors the core library raises itself.
inline constexpr int kCoreErrorCategory = 100;
enum CoreErrorCode : int {
  kMalformedPropList = 1,
  kCannotReadFile = 2,
  kCannotWriteFile = 3,
};

}  // namespace kivcore::config
