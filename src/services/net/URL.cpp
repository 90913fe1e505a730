#include "services/net/URL.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace kivnet::http {
namespace {

struct URLHandleDeleter {
  void operator()(CURLU* u) const { curl_url_cleanup(u); }
};
using URLHandle = std::unique_ptr<CURLU, URLHandleDeleter>;

// Schemes libcurl does not know are parsed too, so that they can be named in the error.
constexpr unsigned kParseFlags = CURLU_NON_SUPPORT_SCHEME;

std::optional<std::string> Part(CURLU* u, CURLUPart part) {
  char* text = nullptr;
  if (curl_url_get(u, part, &text, 0) != CURLUE_OK || !text) return std::nullopt;
  std::string out(text);
  curl_free(text);
  return out;
}

}  // namespace

std::optional<std::string> URLProblem(std::string_view url) {
  URLHandle u(curl_url());
  if (!u) return "out of memory";
  // curl_url_set wants a NUL-terminated string.
  if (url.empty() || curl_url_set(u.get(), CURLUPART_URL, std::string(url).c_str(), kParseFlags) != CURLUE_OK) {
    return std::string("malformed URL");
  }
  std::string scheme = Part(u.get(), CURLUPART_SCHEME).value_or("");
  std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (scheme != "http" && scheme != "https") return "unsupported scheme '" + scheme + "'";
  if (Part(u.get(), CURLUPART_HOST).value_or("").empty()) return std::string("malformed URL");
  return std::nullopt;
}

std::optional<std::string> ResolveURL(std::string_view base, std::string_view reference) {
  URLHandle u(curl_url());
  if (!u) return std::nullopt;
  if (curl_url_set(u.get(), CURLUPART_URL, std::string(base).c_str(), kParseFlags) != CURLUE_OK) return std::nullopt;
  // Setting a URL on a handle that holds one resolves it as a reference to the old one.
  if (curl_url_set(u.get(), CURLUPART_URL, std::string(reference).c_str(), kParseFlags) != CURLUE_OK) {
    return std::nullopt;
  }
  return Part(u.get(), CURLUPART_URL);
}

std::string FileNameFromURL(std::string_view url) {
  const std::string_view path = url.substr(0, url.find_first_of("?#"));
  const auto slash = path.find_last_of('/');
  std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
  const auto scheme = url.find("://");
  if (name.empty() || (scheme != std::string_view::npos && slash <= scheme + 2)) name = "index.html";
  return name;
}

}  // namespace kivnet::http
