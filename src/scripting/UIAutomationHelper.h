#pragma once

#include "services/core/Strings.h"
#include "services/scripting/ScriptClassDefinition.h"
#include "services/scripting/ScriptObject.h"

namespace kivworkspace::scripting {

// The script class "UIAutomationHelper": runs console commands for scripts.
class UIAutomationHelper : public kivscripting::ScriptObject {
 public:
  // The code of the script exception an unknown or failing command raises.
  static constexpr int kCommandError = 9;
  static constexpr std::uint32_t kRegistrationValue = 16384;

  // Runs the command and returns what it wrote; the text also goes to the console panel,
  // when there is one. An unknown command writes "Command <snippet> unknown!. Try
  // 'con.help'." there and raises ScriptException with code 9 and that text; a command that
  // raises (bad arguments, for instance) raises ScriptException with code 9 and its message.
  kivcore::UTF16String ExecuteConsoleCommand(const kivcore::UTF16String& snippet);

  static kivscripting::ScriptClassDefinition Definition();
};

}  // namespace kivworkspace::scripting
