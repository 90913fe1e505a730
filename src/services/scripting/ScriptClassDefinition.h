#pragma once

#include "services/scripting/ScriptObject.h"
#include "services/scripting/ScriptValue.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kivscripting {

struct ScriptParameter {
  std::string name;
  ScriptValueType type = ScriptValueType::kString;
  ScriptValue defaultValue;  // used when the script leaves the parameter out
  std::optional<std::pair<double, double>> range{};  // numbers outside it are refused
};

struct ScriptMethod {
  using Invoke = std::function<ScriptValue(ScriptObject&, const std::vector<ScriptValue>&)>;
  std::string name;
  std::string description;
  std::uint32_t itemFlags = 0;
  std::vector<ScriptParameter> parameters;
  ScriptValueType returnType = ScriptValueType::kNone;
  Invoke invoke;
};

struct ScriptConstant {
  std::string name;
  double value = 0;
  std::string description;
};

// A class scripts can construct: its name, constructor, methods and constants. The
// factory receives the constructor's arguments, already checked against its parameters and
// completed with their defaults.
struct ScriptClassDefinition {
  using Factory = std::function<ScriptObjectPtr(const std::vector<ScriptValue>&)>;
  std::string name;
  std::string description;
  std::string constructorDescription;
  std::vector<ScriptParameter> constructorParameters;
  std::vector<ScriptMethod> methods;
  std::vector<ScriptConstant> constants;
  std::uint32_t registrationValue = 0;
  Factory factory;

  const ScriptMethod* FindMethod(const std::string& methodName) const;
};

}  // namespace kivscripting
