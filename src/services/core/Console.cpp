#include "services/core/Console.h"

#include "services/core/DebugDatabase.h"
#include "services/core/Strings.h"
#include "services/core/Trace.h"

#include <chrono>
#include <optional>
#include <stdexcept>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>

namespace kivcore::console {
namespace {

struct Command {
  std::string help;
  std::shared_ptr<const CommandHandler> handler;
};

struct Registry {
  std::mutex mutex;
  std::map<std::string, Command, std::less<>> commands;
  std::map<std::string, CommandTiming, std::less<>> timings;

  void Add(std::string name, std::string help, CommandHandler handler) {
    commands[std::move(name)] = Command{std::move(help), std::make_shared<const CommandHandler>(std::move(handler))};
  }
};

void ListCommands(const std::vector<std::string>&, UTF16OutputStream& out) {
  for (const CommandInfo& c : GetCommands()) out.WriteLine(c.name + " - " + c.help);
}

void ListDebugValues(const std::vector<std::string>&, UTF16OutputStream& out) {
  auto& db = debug::DebugDatabase::Instance();
  for (const std::string& name : db.GetNames()) {
    if (const auto entry = db.FindEntry(name)) out.WriteLine(name + " = " + debug::DebugDatabase::ToText(entry->value));
  }
}

void SetDebugValue(const std::vector<std::string>& args, UTF16OutputStream& out) {
  if (args.size() != 2) throw std::invalid_argument("usage: debug.set NAME VALUE");
  if (!debug::DebugDatabase::Instance().SetEntryFromText(args[0], args[1]))
    throw std::invalid_argument("no debug value " + args[0] + " takes " + args[1]);
  out.WriteLine(args[0] + " = " + args[1]);
}

void SetTraceLevel(const std::vector<std::string>& args, UTF16OutputStream& out) {
  const auto level = args.size() == 2 ? StringToNumber<int>(args[1]) : std::nullopt;
  if (!level || *level < 0) throw std::invalid_argument("usage: trace.set CHANNEL LEVEL (LEVEL 0 or more)");
  if (args[0] == "*") {
    debug::ConfigureTrace("*=" + args[1]);
  } else {
    debug::SetTraceLevel(args[0], *level);
  }
  out.WriteLine(args[0] + " traces up to level " + args[1]);
}

Registry& GetRegistry() {
  static Registry* registry = [] {
    auto* r = new Registry;  // lives for the whole process: commands may run at exit
    r->Add("con.help", "Lists the console commands", ListCommands);
    r->Add("debug.list", "Lists the debug database's values", ListDebugValues);
    r->Add("debug.set", "Sets a debug database value: debug.set NAME VALUE", SetDebugValue);
    r->Add("trace.set", "Sets a trace channel's level: trace.set CHANNEL LEVEL", SetTraceLevel);
    return r;
  }();
  return *registry;
}

void RecordTiming(const std::string& name, double ms) {
  Registry& r = GetRegistry();
  std::lock_guard lock(r.mutex);
  CommandTiming& t = r.timings[name];
  t.name = name;
  ++t.runs;
  t.totalMs += ms;
  t.lastMs = ms;
}

std::vector<std::string> SplitWords(std::string_view line) {
  std::istringstream in{std::string(line)};
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(std::move(w));
  return words;
}

}  // namespace

void RegisterCommand(std::string_view name, std::string_view help, CommandHandler handler) {
  Registry& r = GetRegistry();
  std::lock_guard lock(r.mutex);
  r.Add(std::string(name), std::string(help), std::move(handler));
}

bool UnregisterCommand(std::string_view name) {
  Registry& r = GetRegistry();
  std::lock_guard lock(r.mutex);
  const auto it = r.commands.find(name);
  if (it == r.commands.end()) return false;
  r.commands.erase(it);
  return true;
}

bool IsCommandRegistered(std::string_view name) {
  Registry& r = GetRegistry();
  std::lock_guard lock(r.mutex);
  return r.commands.find(name) != r.commands.end();
}

std::vector<CommandInfo> GetCommands() {
  Registry& r = GetRegistry();
  std::lock_guard lock(r.mutex);
  std::vector<CommandInfo> list;
  for (const auto& [name, command] : r.commands) list.push_back({name, command.help});
  return list;
}

CommandOutcome RunCommand(std::string_view commandLine, UTF16OutputStream& out, std::string* failure) {
  std::vector<std::string> words = SplitWords(commandLine);
  if (words.empty()) return CommandOutcome::kUnknown;
  std::shared_ptr<const CommandHandler> handler;
  {
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    const auto it = r.commands.find(words.front());
    if (it == r.commands.end()) return CommandOutcome::kUnknown;
    handler = it->second.handler;
  }
  const std::string name = std::move(words.front());
  words.erase(words.begin());
  const auto start = std::chrono::steady_clock::now();
  CommandOutcome outcome = CommandOutcome::kDone;
  try {
    (*handler)(words, out);
  } catch (const std::exception& e) {
    out.WriteLine(std::string("Error: ") + e.what());
    if (failure) *failure = e.what();
    outcome = CommandOutcome::kFailed;
  }
  RecordTiming(name, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  return outcome;
}

bool ExecuteCommand(std::string_view commandLine, UTF16OutputStream& out) {
  return RunCommand(commandLine, out) != CommandOutcome::kUnknown;
}

std::vector<CommandTiming> GetCommandTimings() {
  Registry& r = GetRegistry();
  std::lock_guard lock(r.mutex);
  std::vector<CommandTiming> list;
  for (const auto& [name, timing] : r.timings) list.push_back(timing);
  return list;
}

}  // namespace kivcore::console
