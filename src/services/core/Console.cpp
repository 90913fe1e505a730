#include "services/core/Console.h"

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
};

void ListCommands(const std::vector<std::string>&, UTF16OutputStream& out) {
  for (const CommandInfo& c : GetCommands()) out.WriteLine(c.name + " - " + c.help);
}

Registry& GetRegistry() {
  static Registry* registry = [] {
    auto* r = new Registry;  // lives for the whole process: commands may run at exit
    r->commands.emplace("con.help", Command{"Lists the console commands",
                                            std::make_shared<const CommandHandler>(ListCommands)});
    return r;
  }();
  return *registry;
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
  r.commands[std::string(name)] =
      Command{std::string(help), std::make_shared<const CommandHandler>(std::move(handler))};
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

bool ExecuteCommand(std::string_view commandLine, UTF16OutputStream& out) {
  std::vector<std::string> words = SplitWords(commandLine);
  if (words.empty()) return false;
  std::shared_ptr<const CommandHandler> handler;
  {
    Registry& r = GetRegistry();
    std::lock_guard lock(r.mutex);
    const auto it = r.commands.find(words.front());
    if (it == r.commands.end()) return false;
    handler = it->second.handler;
  }
  words.erase(words.begin());
  try {
    (*handler)(words, out);
  } catch (const std::exception& e) {
    out.WriteLine(std::string("Error: ") + e.what());
  }
  return true;
}

}  // namespace kivcore::console
