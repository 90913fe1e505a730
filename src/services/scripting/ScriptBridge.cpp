#include "services/scripting/ScriptBridge.h"

#include "services/scripting/ScriptException.h"

#include <algorithm>
#include <cmath>

namespace kivscripting {

const ScriptMethod* ScriptClassDefinition::FindMethod(const std::string& methodName) const {
  const auto it = std::find_if(methods.begin(), methods.end(), [&](const ScriptMethod& m) { return m.name == methodName; });
  return it == methods.end() ? nullptr : &*it;
}

ScriptBridge& ScriptBridge::Get() {
  static ScriptBridge* bridge = new ScriptBridge;  // registrars may run in any order at load
  return *bridge;
}

void ScriptBridge::RegisterClass(ScriptClassDefinition definition) {
  auto shared = std::make_shared<const ScriptClassDefinition>(std::move(definition));
  std::lock_guard lock(mutex_);
  const auto it = std::find_if(classes_.begin(), classes_.end(), [&](const auto& c) { return c->name == shared->name; });
  if (it != classes_.end()) {
    *it = std::move(shared);
  } else {
    classes_.push_back(std::move(shared));
  }
}

std::shared_ptr<const ScriptClassDefinition> ScriptBridge::FindClass(const std::string& name) const {
  std::lock_guard lock(mutex_);
  const auto it = std::find_if(classes_.begin(), classes_.end(), [&](const auto& c) { return c->name == name; });
  return it == classes_.end() ? nullptr : *it;
}

std::vector<std::shared_ptr<const ScriptClassDefinition>> ScriptBridge::GetClasses() const {
  std::lock_guard lock(mutex_);
  return classes_;
}

std::vector<ScriptValue> ScriptBridge::CheckArguments(const std::string& what, const std::vector<ScriptParameter>& parameters,
                                                      std::vector<ScriptValue> arguments) {
  if (arguments.size() > parameters.size())
    throw ScriptException(1, what + " takes " + std::to_string(parameters.size()) + " argument(s), not " +
                                 std::to_string(arguments.size()));
  arguments.resize(parameters.size());
  for (std::size_t i = 0; i < parameters.size(); ++i) {
    const ScriptParameter& p = parameters[i];
    ScriptValue& value = arguments[i];
    if (std::holds_alternative<std::monostate>(value)) value = p.defaultValue;
    if (std::holds_alternative<std::monostate>(value)) continue;
    switch (p.type) {
      case ScriptValueType::kString:
        value = ToText(value);
        break;
      case ScriptValueType::kBool:
        value = ToNumber(value) != 0;
        break;
      case ScriptValueType::kNumber:
      case ScriptValueType::kInteger: {
        const double number = ToNumber(value);
        if (p.type == ScriptValueType::kInteger && std::nearbyint(number) != number)
          throw ScriptException(1, what + ": " + p.name + " must be a whole number");
        if (p.range && (number < p.range->first || number > p.range->second))
          throw ScriptException(1, what + ": " + p.name + " must be from " + kivcore::UTF16to8(ToText(p.range->first)) +
                                       " to " + kivcore::UTF16to8(ToText(p.range->second)));
        value = number;
        break;
      }
      case ScriptValueType::kNone:
        break;
    }
  }
  return arguments;
}

}  // namespace kivscripting
