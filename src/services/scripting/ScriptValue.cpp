#include "services/scripting/ScriptValue.h"

#include <cmath>
#include <cstdio>

namespace kivscripting {

kivcore::UTF16String ToText(const ScriptValue& value) {
  if (const auto* text = std::get_if<kivcore::UTF16String>(&value)) return *text;
  if (const auto* flag = std::get_if<bool>(&value)) return *flag ? u"true" : u"false";
  if (const auto* number = std::get_if<double>(&value)) {
    char buffer[32];
    if (std::nearbyint(*number) == *number && std::fabs(*number) < 1e15) {
      std::snprintf(buffer, sizeof buffer, "%.0f", *number);
    } else {
      std::snprintf(buffer, sizeof buffer, "%g", *number);
    }
    return kivcore::UTF8to16(buffer);
  }
  return {};
}

double ToNumber(const ScriptValue& value) {
  if (const auto* number = std::get_if<double>(&value)) return *number;
  if (const auto* flag = std::get_if<bool>(&value)) return *flag ? 1 : 0;
  if (const auto* text = std::get_if<kivcore::UTF16String>(&value)) {
    return kivcore::StringToNumber<double>(std::u16string_view(*text)).value_or(0);
  }
  return 0;
}

}  // namespace kivscripting
