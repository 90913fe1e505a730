#pragma once
// What the request layer needs to know about URLs: whether one can be requested at all,
// and where a redirect's Location (absolute or relative) points.

#include <optional>
#include <string>
#include <string_view>

namespace kivnet::http {

// Why url cannot be requested ("malformed URL", "unsupported scheme 'ftp'"), or nullopt
// for an absolute http:// or https:// URL.
std::optional<std::string> URLProblem(std::string_view url);

// reference (absolute, or relative such as "/file", "../b" or "//host/x") resolved against
// base; nullopt when base or reference cannot be parsed.
std::optional<std::string> ResolveURL(std::string_view base, std::string_view reference);

// The name a download of url is saved under: the last segment of its path, without query
// or fragment; "index.html" when the path names no file.
std::string FileNameFromURL(std::string_view url);

}  // namespace kivnet::http
