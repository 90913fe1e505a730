#include "services/core/DebugInfo.h"

#include "services/core/DebugDatabase.h"
#include "services/core/Executors.h"
#include "services/core/Strings.h"

#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <unistd.h>

namespace kivcore::debug {
namespace {

std::string ResidentMemory() {
  std::ifstream statm("/proc/self/statm");
  std::uint64_t size = 0, resident = 0;
  if (!(statm >> size >> resident)) return "unknown";
  return UTF16to8(NumberToMemoryString(resident * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE))));
}

// Set when the library loads, which is about when the program starts.
const auto gStart = std::chrono::steady_clock::now();

std::string Uptime() {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - gStart);
  return std::to_string(seconds.count()) + " s";
}

struct Registry {
  std::mutex mutex;
  std::map<std::string, std::shared_ptr<const DebugInfoProvider>, std::less<>> providers;

  Registry() {
    Add("Process/Resident memory", ResidentMemory);
    Add("Process/Uptime", Uptime);
    Add("Threads/IO-bound executor threads", [] { return std::to_string(threads::GetIOBoundExecutor()->ThreadCount()); });
    Add("Threads/CPU-bound executor threads", [] { return std::to_string(threads::GetCPUBoundExecutor()->ThreadCount()); });
    Add("Debug database/Values", [] { return std::to_string(DebugDatabase::Instance().GetNames().size()); });
  }

  void Add(std::string_view path, DebugInfoProvider provider) {
    providers[std::string(path)] = std::make_shared<const DebugInfoProvider>(std::move(provider));
  }
};

Registry& GetRegistry() {
  static Registry* registry = new Registry;  // lives for the whole process, like the console's
  return *registry;
}

}  // namespace

void RegisterDebugInfo(std::string_view path, DebugInfoProvider provider) {
  Registry& r = GetRegistry();
  std::lock_guard lock(r.mutex);
  r.Add(path, std::move(provider));
}

bool UnregisterDebugInfo(std::string_view path) {
  Registry& r = GetRegistry();
  std::lock_guard lock(r.mutex);
  const auto it = r.providers.find(path);
  if (it == r.providers.end()) return false;
  r.providers.erase(it);
  return true;
}

std::vector<std::string> GetDebugInfoPaths() {
  Registry& r = GetRegistry();
  std::lock_guard lock(r.mutex);
  std::vector<std::string> paths;
  for (const auto& [path, provider] : r.providers) paths.push_back(path);
  return paths;
}

std::optional<std::string> GetDebugInfo(std::string_view path) {
  std::shared_ptr<const DebugInfoProvider> provider;
  {
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    const auto it = r.providers.find(path);
    if (it == r.providers.end()) return std::nullopt;
    provider = it->second;
  }
  return (*provider)();  // outside the lock: a provider may read other registries
}

}  // namespace kivcore::debug
