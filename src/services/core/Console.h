#pragma once
// The registry of console commands. A command line is the command's name followed by
// arguments separated by blanks; its output goes to a UTF-16 stream.

#include "services/core/UTF16OutputStream.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kivcore::console {

using CommandHandler =
    std::function<void(const std::vector<std::string>& arguments, UTF16OutputStream& out)>;

struct CommandInfo {
  std::string name;
  std::string help;
};

// How long the runs of one command took.
struct CommandTiming {
  std::string name;
  std::uint64_t runs = 0;
  double totalMs = 0;
  double lastMs = 0;
};

// Registers or replaces a command. Built in: "con.help" lists every command, "debug.list"
// the debug database, "debug.set NAME VALUE" changes a value of it, and
// "trace.set CHANNEL LEVEL" a trace level ("*" for the default).
void RegisterCommand(std::string_view name, std::string_view help, CommandHandler handler);
// Returns whether the command was registered.
bool UnregisterCommand(std::string_view name);
bool IsCommandRegistered(std::string_view name);
// Commands sorted by name.
std::vector<CommandInfo> GetCommands();

// What running a command line came to.
enum class CommandOutcome {
  kUnknown,  // the line is empty or names no registered command; nothing was written
  kDone,     // the command ran
  kFailed,   // the command raised: "Error: " and its message were written to out
};

// Runs a command line. Handlers run on the calling thread, outside any lock, so they may
// register and run commands themselves. For a command that raised, failure (when given)
// receives its message.
CommandOutcome RunCommand(std::string_view commandLine, UTF16OutputStream& out, std::string* failure = nullptr);
// RunCommand for callers that only tell known commands from unknown ones: false, writing
// nothing, when the line names no registered command; a command that raised counts as
// known (its message is in out).
bool ExecuteCommand(std::string_view commandLine, UTF16OutputStream& out);

// The commands run so far, by name.
std::vector<CommandTiming> GetCommandTimings();

}  // namespace kivcore::console
