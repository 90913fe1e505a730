#include "services/core/Localizer.h"

namespace kivcore::config {
namespace {
constexpr std::string_view kKeyPrefix = "$$$/";
}

Localizer& Localizer::Get() {
  static Localizer instance;
  return instance;
}

bool Localizer::IsKey(std::string_view text) {
  return text.starts_with(kKeyPrefix) && text.find('=') != std::string_view::npos;
}

std::string_view Localizer::KeyName(std::string_view keyOrText) {
  return IsKey(keyOrText) ? keyOrText.substr(0, keyOrText.find('=')) : std::string_view();
}

UTF8String Localizer::EnglishText(std::string_view keyOrText) {
  if (!IsKey(keyOrText)) return UTF8String(keyOrText);
  return UTF8String(keyOrText.substr(keyOrText.find('=') + 1));
}

UTF16String Localizer::Localize(std::string_view keyOrText) const {
  if (const std::string_view name = KeyName(keyOrText); !name.empty()) {
    std::lock_guard lock(mutex_);
    if (auto it = translations_.find(name); it != translations_.end()) return it->second;
  }
  return UTF8to16(EnglishText(keyOrText));
}

void Localizer::SetTranslation(std::string keyName, UTF16String text) {
  std::lock_guard lock(mutex_);
  translations_[std::move(keyName)] = std::move(text);
}

void Localizer::ClearTranslations() {
  std::lock_guard lock(mutex_);
  translations_.clear();
}

}  // namespace kivcore::config
