#include "sharedui/ThreadPanelCommands.h"

#include "services/core/Console.h"
#include "services/core/DelayScale.h"
#include "services/core/Executors.h"
#include "services/core/Gate.h"
#include "services/core/MainThread.h"
#include "sharedui/ConsolePanel.h"
#include "sharedui/ThreadActivity.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace kivworkspace::sharedui {
namespace {

using kivcore::UTF16OutputStream;
using Arguments = std::vector<std::string>;

// An optional count argument, at least 1.
std::size_t CountArgument(const Arguments& args) {
  if (args.empty()) return 1;
  const auto n = kivcore::StringToNumber<int>(args[0]);
  if (!n || *n < 1) throw std::invalid_argument("the count must be a whole number of 1 or more, not " + args[0]);
  return std::size_t(*n);
}

// Tells the console panel, if one is open, on the main thread.
void Report(std::string line) {
  kivcore::threads::AsyncCallFromMainThread([line = std::move(line)] {
    if (ConsolePanel* console = ConsolePanel::GetInstance()) console->Echo(kivcore::UTF8to16(line));
  });
}

// Work that keeps a processor busy for about the given time.
void BusyWork(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  volatile double sink = 0;
  while (std::chrono::steady_clock::now() < end) {
    for (int i = 1; i < 1000; ++i) sink = sink + std::sqrt(double(i));
  }
}

std::chrono::milliseconds Scaled(int ms) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(kivcore::threads::ScaledDelay(ms));
}

void RunCPUBoundTasks() {
  kivcore::threads::ExecuteCPUBoundTaskOnAllProcessors(ThreadPanelCommands::kTaskCount, [](std::size_t i) {
    auto span = ThreadActivity::Get().Record("CPU-bound task " + std::to_string(i + 1));
    BusyWork(Scaled(20));
  });
}

void MainThreadNotify(const Arguments& args, UTF16OutputStream& out) {
  const std::size_t count = CountArgument(args);
  for (std::size_t i = 1; i <= count; ++i) {
    kivcore::threads::GetIOBoundExecutor()->CallAsynchronously([i, count] {
      {
        auto span = ThreadActivity::Get().Record("worker " + std::to_string(i));
        BusyWork(Scaled(5));
      }
      kivcore::threads::AsyncCallFromMainThread([i, count] {
        auto span = ThreadActivity::Get().Record("main thread notified " + std::to_string(i));
        if (ConsolePanel* console = ConsolePanel::GetInstance())
          console->Echo(kivcore::UTF8to16("main thread notified (" + std::to_string(i) + " of " + std::to_string(count) + ")"));
      });
    });
  }
  out.WriteLine("posted " + std::to_string(count) + " notification(s) through the I/O-bound executor");
}

void MainThreadCPU(const Arguments&, UTF16OutputStream& out) {
  std::mt19937 random(std::random_device{}());
  kivcore::threads::Gate closed;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < ThreadPanelCommands::kTaskCount; ++i) {
    auto span = ThreadActivity::Get().Record("blocked on a closed gate");
    closed.PassThrough(Scaled(1000 + int(random() % 251)).count());
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  out.WriteLine("the calling thread was blocked for " + std::to_string(ms.count()) + " ms");
}

void ExecuteCPUBound(const Arguments&, UTF16OutputStream& out) {
  const auto start = std::chrono::steady_clock::now();
  RunCPUBoundTasks();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  out.WriteLine(std::to_string(ThreadPanelCommands::kTaskCount) + " tasks on all processors took " + std::to_string(ms.count()) +
                " ms");
}

void ExecuteCPUBoundAsync(const Arguments&, UTF16OutputStream& out) {
  kivcore::threads::GetIOBoundExecutor()->CallAsynchronously([] {
    RunCPUBoundTasks();
    Report("thread.executecpuboundasync: " + std::to_string(ThreadPanelCommands::kTaskCount) + " tasks done");
  });
  out.WriteLine("started " + std::to_string(ThreadPanelCommands::kTaskCount) + " tasks on all processors");
}

void SubExecutor(const Arguments& args, UTF16OutputStream& out) {
  const std::size_t threads = CountArgument(args);
  auto sub = kivcore::threads::CreateSubExecutor(kivcore::threads::GetCPUBoundExecutor(), threads);
  auto left = std::make_shared<std::atomic<int>>(ThreadPanelCommands::kTaskCount);
  for (int i = 1; i <= ThreadPanelCommands::kTaskCount; ++i) {
    // Each task holds the sub-executor until it ran, so it outlives this command.
    sub->CallAsynchronously([i, left, sub, threads] {
      {
        auto span = ThreadActivity::Get().Record("sub-executor task " + std::to_string(i));
        BusyWork(Scaled(10));
      }
      if (left->fetch_sub(1) == 1)
        Report("thread.subexecutor: " + std::to_string(ThreadPanelCommands::kTaskCount) + " tasks done on " +
               std::to_string(threads) + " thread(s)");
    });
  }
  out.WriteLine("started " + std::to_string(ThreadPanelCommands::kTaskCount) + " tasks on a sub-executor of " +
                std::to_string(threads) + " thread(s)");
}

struct ThreadCommand {
  const char* name;
  const char* help;
  kivcore::console::CommandHandler handler;
};

const std::vector<ThreadCommand>& Commands() {
  static const std::vector<ThreadCommand> commands = {
      {"thread.mainthreadnotify", "Demonstrates the use of CallAsynchronously and AsyncCallFromMainThread", MainThreadNotify},
      {"thread.mainthreadcpu", "Demonstrates the main thread blocking for a lot of work", MainThreadCPU},
      {"thread.executecpubound", "Demonstrates the use of ExecuteCPUBound on the main thread", ExecuteCPUBound},
      {"thread.executecpuboundasync", "Demonstrates the use of ExecuteCPUBound, asynchronously", ExecuteCPUBoundAsync},
      {"thread.subexecutor", "Demonstrates the use of a SubExecutor", SubExecutor},
  };
  return commands;
}

// Registrations alive: a host may make a new one (a new workspace's creators) before it
// ends the old one, and the commands must stay.
int gRegistrations = 0;

}  // namespace

ThreadPanelCommands::ThreadPanelCommands() {
  if (gRegistrations++ > 0) return;
  for (const ThreadCommand& c : Commands()) kivcore::console::RegisterCommand(c.name, c.help, c.handler);
}

ThreadPanelCommands::~ThreadPanelCommands() {
  if (--gRegistrations > 0) return;
  for (const ThreadCommand& c : Commands()) kivcore::console::UnregisterCommand(c.name);
}

}  // namespace kivworkspace::sharedui
