#pragma once
// kivstudio's scripts: a script engine offering the library's script objects, and the
// console command "app.quit" that ends kivstudio (a script's last line, for instance).

#include <memory>
#include <string>

namespace kivscripting {
class ScriptEngine;
}

namespace kivstudio {

class StudioScript {
 public:
  StudioScript();
  ~StudioScript();

  // Runs a script file. An error is reported on standard error and in the console panel as
  // "FILE:LINE: message"; returns whether the script ran to its end.
  bool RunFile(const std::string& path);
  // Runs script text (the tour's).
  bool Run(const std::string& source, const std::string& name);

 private:
  std::unique_ptr<kivscripting::ScriptEngine> engine_;
};

}  // namespace kivstudio
