#pragma once
// Turns localisation keys into the user's text.
//
// A key has the form "$$$/area/name=English text". The English text after the first "="
// is the default; a translation loaded for "$$$/area/name" replaces it. Text that is not
// a key is returned unchanged.

#include "services/core/Strings.h"

#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace kivcore::config {

class Localizer {
 public:
  static Localizer& Get();

  UTF16String Localize(std::string_view keyOrText) const;
  // The same as UTF-8, for the UI framework's texts.
  UTF8String LocalizeUTF8(std::string_view keyOrText) const { return UTF16to8(Localize(keyOrText)); }
  // English text of a key, without looking at translations.
  static UTF8String EnglishText(std::string_view keyOrText);
  // The part of a key before "=" ("$$$/area/name"); empty for text that is not a key.
  static std::string_view KeyName(std::string_view keyOrText);
  static bool IsKey(std::string_view text);

  // Replaces the text of one key ("$$$/area/name", without "=...").
  void SetTranslation(std::string keyName, UTF16String text);
  void ClearTranslations();

 private:
  Localizer() = default;
  mutable std::mutex mutex_;
  std::map<std::string, UTF16String, std::less<>> translations_;
};

}  // namespace kivcore::config
