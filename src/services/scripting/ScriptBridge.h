#pragma once

#include "services/scripting/ScriptClassDefinition.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kivscripting {

// The classes scripts can use. Libraries register theirs when they load; every script
// engine made afterwards offers them.
class ScriptBridge {
 public:
  static ScriptBridge& Get();

  // Registers a class, replacing one of the same name.
  void RegisterClass(ScriptClassDefinition definition);
  std::shared_ptr<const ScriptClassDefinition> FindClass(const std::string& name) const;
  std::vector<std::shared_ptr<const ScriptClassDefinition>> GetClasses() const;

  // Checks arguments against parameters: leaves out trailing ones are filled with their
  // defaults, numbers are checked against ranges and integers. Throws ScriptException
  // (code 1) with the reason.
  static std::vector<ScriptValue> CheckArguments(const std::string& what, const std::vector<ScriptParameter>& parameters,
                                                 std::vector<ScriptValue> arguments);

 private:
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<const ScriptClassDefinition>> classes_;
};

}  // namespace kivscripting
