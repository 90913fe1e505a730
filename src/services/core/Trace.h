#pragma once
// Diagnostic trace on named channels.
//
// Each channel has a level (0: off). A message of level L is written when 1 <= L <= the
// channel's level, as one line "<thread id> <channel> <level> message". Levels start from
// the environment variable KIV_TRACE ("DownloadManager=5,Threads=1"; "*=N" sets the default
// of every channel) and can be changed at run time.

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace kivcore::debug {

bool TraceEnabled(std::string_view channel, int level);
void Trace(std::string_view channel, int level, std::string_view message);

void SetTraceLevel(std::string_view channel, int level);
int GetTraceLevel(std::string_view channel);
// The channels with a level of their own, by name, and "*" for the default of the others.
std::map<std::string, int> GetTraceLevels();
// Reads settings of the KIV_TRACE form; returns false (and changes nothing) when malformed.
bool ConfigureTrace(std::string_view settings);

// Where lines go (without their line end); null restores standard error.
using TraceSink = std::function<void(const std::string& line)>;
void SetTraceSink(TraceSink sink);

std::string FormatTraceLine(std::string_view channel, int level, std::string_view message);

}  // namespace kivcore::debug
