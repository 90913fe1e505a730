#pragma once

namespace kivworkspace::sharedui {

// The console commands that show the core library's threading services at work, each
// recording what its threads do in ThreadActivity:
//   thread.mainthreadnotify [N]   N posts to the I/O-bound executor that each notify the
//                                 main thread
//   thread.mainthreadcpu          the calling thread blocks 25 times on a closed gate,
//                                 1 to 1.25 s each
//   thread.executecpubound        25 tasks on all processors, the caller waiting
//   thread.executecpuboundasync   the same, started from a worker
//   thread.subexecutor [N]        25 tasks on a sub-executor of N threads of the CPU-bound
//                                 executor
// Results that come later reach the console panel, when there is one. The commands are
// registered while any object of this class exists.
class ThreadPanelCommands {
 public:
  static constexpr int kTaskCount = 25;

  ThreadPanelCommands();
  ~ThreadPanelCommands();
  ThreadPanelCommands(const ThreadPanelCommands&) = delete;
  ThreadPanelCommands& operator=(const ThreadPanelCommands&) = delete;
};

}  // namespace kivworkspace::sharedui
