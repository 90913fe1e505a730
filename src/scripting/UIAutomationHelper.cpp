#include "scripting/UIAutomationHelper.h"

#include "services/core/Console.h"
#include "services/core/MainThread.h"
#include "services/core/UTF16OutputStream.h"
#include "services/scripting/ScriptException.h"
#include "sharedui/ConsolePanel.h"

namespace kivworkspace::scripting {

kivcore::UTF16String UIAutomationHelper::ExecuteConsoleCommand(const kivcore::UTF16String& snippet) {
  using kivcore::console::CommandOutcome;
  kivcore::UTF16StringOutputStream out;
  std::string failure;
  const CommandOutcome outcome = kivcore::console::RunCommand(kivcore::UTF16to8(snippet), out, &failure);
  if (outcome == CommandOutcome::kUnknown) out.WriteLine(u"Command " + snippet + u" unknown!. Try 'con.help'.");
  const kivcore::UTF16String result = out.Text();
  // The console panel is the UI thread's.
  const auto echo = [result] {
    if (sharedui::ConsolePanel* console = sharedui::ConsolePanel::GetInstance()) {
      console->Out().Write(std::u16string_view(result));
      console->Out().Flush();
    }
  };
  if (kivcore::threads::IsMainThread()) {
    echo();
  } else {
    kivcore::threads::AsyncCallFromMainThread(echo);
  }
  if (outcome == CommandOutcome::kUnknown) throw kivscripting::ScriptException(kCommandError, kivcore::UTF16to8(result));
  if (outcome == CommandOutcome::kFailed) throw kivscripting::ScriptException(kCommandError, failure);
  return result;
}

kivscripting::ScriptClassDefinition UIAutomationHelper::Definition() {
  using kivscripting::ScriptValue;
  kivscripting::ScriptClassDefinition c;
  c.name = "UIAutomationHelper";
  c.registrationValue = kRegistrationValue;
  c.factory = [](const std::vector<ScriptValue>&) -> kivscripting::ScriptObjectPtr { return new UIAutomationHelper; };
  c.methods = {{"executeConsoleCommand", "Execute console command", 0x200000,
                {{"snippet", kivscripting::ScriptValueType::kString, kivcore::UTF16String(), std::nullopt}},
                kivscripting::ScriptValueType::kString,
                [](kivscripting::ScriptObject& o, const std::vector<ScriptValue>& args) -> ScriptValue {
                  return static_cast<UIAutomationHelper&>(o).ExecuteConsoleCommand(kivscripting::ToText(args[0]));
                }}};
  return c;
}

}  // namespace kivworkspace::scripting
