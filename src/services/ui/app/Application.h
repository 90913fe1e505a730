#pragma once

#include <memory>

namespace kivui {

// The UI of a program: the window system's application object, the dark style, and the
// core library's main-thread queue driven by its event loop. One per process, made on the
// main thread before any node.
//
// A host that makes its own QApplication does not need one: AttachToHostApplication gives
// the library what it needs of that application and leaves its style, palette and font
// alone. Making an Application after the host's QApplication uses that application but
// gives it the library's dark style and palette.
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
  // For a host that made its own QApplication (and no Application): runs the core
  // library's main-thread queue in that application's event loop and ends input captures
  // when another program is activated, as an Application does, without touching the
  // application's style, palette or font. Call on the main thread once the QApplication
  // exists; calling it again does nothing more. Throws std::logic_error without one.
  static void AttachToHostApplication();
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
