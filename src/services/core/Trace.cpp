#include "services/core/Trace.h"

#include "services/core/Strings.h"
#include "services/core/ThreadID.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

namespace kivcore::debug {
namespace {

struct TraceState {
  std::mutex mutex;
  std::map<std::string, int, std::less<>> levels;
  int defaultLevel = 0;
  TraceSink sink;

  TraceState() {
    if (const char* env = std::getenv("KIV_TRACE")) Configure(env);
  }

  int LevelOf(std::string_view channel) const {
    const auto it = levels.find(channel);
    return it == levels.end() ? defaultLevel : it->second;
  }

  // Parses "name=level,name=level"; applies nothing unless all of it is valid.
  bool Configure(std::string_view settings) {
    std::vector<std::pair<std::string, int>> parsed;
    while (!settings.empty()) {
      const std::size_t comma = settings.find(',');
      const std::string_view item = settings.substr(0, comma);
      settings = comma == std::string_view::npos ? std::string_view() : settings.substr(comma + 1);
      if (item.empty()) continue;
      const std::size_t eq = item.find('=');
      if (eq == std::string_view::npos || eq == 0) return false;
      const auto level = StringToNumber<int>(item.substr(eq + 1));
      if (!level || *level < 0) return false;
      parsed.emplace_back(std::string(item.substr(0, eq)), *level);
    }
    for (auto& [name, level] : parsed) {
      if (name == "*") {
        defaultLevel = level;
      } else {
        levels[name] = level;
      }
    }
    return true;
  }
};

TraceState& State() {
  static TraceState state;
  return state;
}

}  // namespace

std::string FormatTraceLine(std::string_view channel, int level, std::string_view message) {
  std::string line = "<" + std::to_string(threads::GetCurrentThreadID()) + "> <";
  line.append(channel);
  line += "> <" + std::to_string(level) + "> ";
  line.append(message);
  return line;
}

bool TraceEnabled(std::string_view channel, int level) {
  TraceState& state = State();
  std::lock_guard lock(state.mutex);
  return level >= 1 && level <= state.LevelOf(channel);
}

void Trace(std::string_view channel, int level, std::string_view message) {
  if (!TraceEnabled(channel, level)) return;
  const std::string line = FormatTraceLine(channel, level, message);
  TraceState& state = State();
  std::lock_guard lock(state.mutex);
  if (state.sink) {
    state.sink(line);
  } else {
    std::fprintf(stderr, "%s\n", line.c_str());
  }
}

void SetTraceLevel(std::string_view channel, int level) {
  TraceState& state = State();
  std::lock_guard lock(state.mutex);
  state.levels[std::string(channel)] = level;
}

int GetTraceLevel(std::string_view channel) {
  TraceState& state = State();
  std::lock_guard lock(state.mutex);
  return state.LevelOf(channel);
}

std::map<std::string, int> GetTraceLevels() {
  TraceState& state = State();
  std::lock_guard lock(state.mutex);
  std::map<std::string, int> levels(state.levels.begin(), state.levels.end());
  levels["*"] = state.defaultLevel;
  return levels;
}

bool ConfigureTrace(std::string_view settings) {
  TraceState& state = State();
  std::lock_guard lock(state.mutex);
  return state.Configure(settings);
}

void SetTraceSink(TraceSink sink) {
  TraceState& state = State();
  std::lock_guard lock(state.mutex);
  state.sink = std::move(sink);
}

}  // namespace kivcore::debug
