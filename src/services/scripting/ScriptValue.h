#pragma once

#include "services/core/Strings.h"

#include <variant>

namespace kivscripting {

// A value passed between scripts and script objects: nothing (undefined), a flag, a number
// or a string.
using ScriptValue = std::variant<std::monostate, bool, double, kivcore::UTF16String>;

enum class ScriptValueType { kNone, kBool, kNumber, kInteger, kString };

// The value as text ("" for nothing); numbers without a fraction print as integers.
kivcore::UTF16String ToText(const ScriptValue& value);
// The value as a number (0 for nothing and for text that is no number).
double ToNumber(const ScriptValue& value);

}  // namespace kivscripting
