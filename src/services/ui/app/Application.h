#pragma once

#include <memory>

namespace kivui {

// The UI of a program: the window system's application object, the dark style, and the
// core library's main-thread queue driven by its event loop. One per process, made on the
// main thread before any node.
class Application {
 public:
  // Uses `platform` (such as "offscreen") unless QT_QPA_PLATFORM says otherwise.
  Application(int& argc, char** argv, const char* platform = nullptr);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Runs the event loop until Quit.
  int Run();
  static void Quit(int code = 0);
  // Handles pending events (for up to maxMs milliseconds of waiting when above 0).
  static void ProcessEvents(int maxMs = 0);
  static bool Exists();
  // Gives the native controls (text fields, trees, scroll bars, message boxes) the current
  // theme's colours and the UI font again, after either changed.
  static void ApplyTheme();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Sounds the system's alert (type 48 is the exclamation). Counted, so tests can see it.
void MessageBeep(int type);
int GetMessageBeepCount();

}  // namespace kivui
