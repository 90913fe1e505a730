#pragma once

#include <functional>
#include <memory>
#include <string>

namespace kivscripting {

// The outcome of running a script: its value as text, or the error with the line it
// happened on.
struct ScriptResult {
  bool ok = false;
  std::string value;
  std::string error;
  int line = 0;
};

// A JavaScript engine that offers every class registered with the bridge as a constructor
// (new IndicatorOverlay(...)), their constants as properties of the constructor, and a
// print() function. Script objects live until the engine is destroyed. An error in a script,
// or one a script object raises, ends the script with its message and line; it never
// escapes to the caller. Runs scripts on the thread that made it.
class ScriptEngine {
 public:
  ScriptEngine();
  ~ScriptEngine();
  ScriptEngine(const ScriptEngine&) = delete;
  ScriptEngine& operator=(const ScriptEngine&) = delete;

  ScriptResult Evaluate(const std::string& source, const std::string& fileName = "script");
  // Runs a file; a file that cannot be read is an error at line 0.
  ScriptResult RunFile(const std::string& path);

  // Where print() writes; standard output by default.
  void SetPrintHandler(std::function<void(const std::string&)> handler);
  // The script objects made so far.
  std::size_t GetObjectCount() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace kivscripting
