#include "StudioScript.h"

#include "scripting/ScriptObjects.h"
#include "services/core/Console.h"
#include "services/scripting/ScriptEngine.h"
#include "services/ui/app/Application.h"
#include "sharedui/ConsolePanel.h"

#include <cstdio>

namespace kivstudio {
namespace {

// Prints a line on the stream and in the console panel, if one is open.
void Tell(std::FILE* stream, const std::string& line) {
  std::fprintf(stream, "%s\n", line.c_str());
  std::fflush(stream);
  if (auto* console = kivworkspace::sharedui::ConsolePanel::GetInstance()) console->Echo(kivcore::UTF8to16(line));
}

bool Report(const kivscripting::ScriptResult& result, const std::string& name) {
  if (!result.ok) Tell(stderr, "kivstudio: " + name + ":" + std::to_string(result.line) + ": " + result.error);
  return result.ok;
}

}  // namespace

StudioScript::StudioScript() {
  kivworkspace::scripting::RegisterScriptObjects();
  kivcore::console::RegisterCommand("app.quit", "Quits kivstudio", [](const auto&, auto& out) {
    out.WriteLine("quitting");
    kivui::Application::Quit();
  });
  engine_ = std::make_unique<kivscripting::ScriptEngine>();
  engine_->SetPrintHandler([](const std::string& line) { Tell(stdout, line); });
}

StudioScript::~StudioScript() {
  kivworkspace::scripting::ReleaseIndicatorOverlays();
  engine_.reset();
  kivcore::console::UnregisterCommand("app.quit");
}

bool StudioScript::RunFile(const std::string& path) { return Report(engine_->RunFile(path), path); }

bool StudioScript::Run(const std::string& source, const std::string& name) { return Report(engine_->Evaluate(source, name), name); }

}  // namespace kivstudio
