#include "services/net/Response.h"

#include <boost/algorithm/string/predicate.hpp>

namespace kivnet {

std::optional<std::string> Response::GetHeader(std::string_view name) const {
  for (const auto& [key, value] : headers_) {
    if (boost::algorithm::iequals(key, name)) return value;
  }
  return std::nullopt;
}

std::string Response::GetHeaderText() const {
  std::string text;
  for (const auto& [key, value] : headers_) text += key + ": " + value + "\r\n";
  return text;
}

}  // namespace kivnet
