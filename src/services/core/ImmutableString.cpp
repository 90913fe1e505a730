#include "services/core/ImmutableString.h"

namespace kivcore {

ImmutableString ImmutableString::CreateStatic(const char* text) {
  ImmutableString s;
  s.view_ = text ? std::string_view(text) : std::string_view();
  return s;
}

ImmutableString ImmutableString::CreateDynamic(std::string_view text) {
  ImmutableString s;
  s.owned_ = std::make_shared<const std::string>(text);
  s.view_ = *s.owned_;
  return s;
}

}  // namespace kivcore
