#pragma once

#include "services/core/Strings.h"
#include "services/scripting/ScriptClassDefinition.h"
#include "services/scripting/ScriptObject.h"

namespace kivworkspace::scripting {

// The script class "UIAutomationHelper": runs console commands for scripts.
class UIAutomationHelper : public kivscripting::ScriptObject {
 public:
  static constexpr int kUnknownCommandError = 9;
  static constexpr std::uint32_t kRegistrationValue = 16384;

  // Runs the command and returns what it wrote; the text also goes to the console panel,
  // when there is one. An unknown command writes "Command <snippet> unknown!. Try
  // 'con.help'." there and raises ScriptException with code 9.
  kivcore::UTF16String ExecuteConsoleCommand(const kivcore::UTF16String& snippet);

  static kivscripting::ScriptClassDefinition Definition();
};

}  // namespace kivworkspace::scripting
