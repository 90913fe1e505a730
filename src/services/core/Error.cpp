#include "services/core/Error.h"

#include "services/core/Localizer.h"

namespace kivcore::config {
namespace {

std::string EnglishMessage(std::string_view key, const std::vector<UTF16String>& replacements) {
  std::vector<UTF8String> values;
  values.reserve(replacements.size());
  for (const auto& r : replacements) values.push_back(UTF16to8(r));
  return ReplaceInString(Localizer::EnglishText(key), values);
}

}  // namespace

Error::Error(int level, std::string key, int category, int code, int flags,
             std::vector<UTF16String> replacements)
    : std::runtime_error(EnglishMessage(key, replacements)),
      level_(level),
      key_(std::move(key)),
      category_(category),
      code_(code),
      flags_(flags),
      replacements_(std::move(replacements)) {}

UTF16String Error::Message() const {
  return ReplaceInString(Localizer::Get().Localize(key_), replacements_);
}

namespace detail {
void Throw(int level, std::string_view key, int category, int code, int flags,
           std::vector<UTF16String> replacements) {
  throw Error(level, std::string(key), category, code, flags, std::move(replacements));
}
}  // namespace detail

}  // namespace kivcore::config
