#pragma once
// Live values of the running program, each read by a provider when asked, under a path
// of names separated by '/' ("Process/Resident memory"). The debug monitor shows them as a
// tree and refreshes the rows that are open.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kivcore::debug {

using DebugInfoProvider = std::function<std::string()>;

// Registers or replaces the provider of a path. Built in: the process's resident memory
// and uptime, the executors' thread counts and the number of debug database values.
void RegisterDebugInfo(std::string_view path, DebugInfoProvider provider);
bool UnregisterDebugInfo(std::string_view path);
// The registered paths, sorted.
std::vector<std::string> GetDebugInfoPaths();
// The current value of a path; nothing when no provider is registered there.
std::optional<std::string> GetDebugInfo(std::string_view path);

}  // namespace kivcore::debug
